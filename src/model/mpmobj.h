#pragma once
// All model object classes.

#include "model/mpmobjbas.h"
#include "model/mpmobjipu.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmpu.h"
#include "model/mpmobjpunkt.h"
