#include "solver/mpm.h"

namespace MPM {

void Tmpm::_steuerung() {}

} // namespace MPM
