#pragma once
// Element types: a pair of shape-function families on one reference shape
// and an integration rule, both from the element library's registries.

#include <iosfwd>

#include "element/eledefs.h"
#include "element/eleipu.h"
#include "element/eletyp.h"
#include "model/mpmobjbas.h"

namespace MPM {

class TElementtyp : public TObjbasis {
public:
  TElementtyp(TModell* mpm, int num, ELE::FORM form, ELE::ANSFUNK x, ELE::ANSFUNK u, ELE::IPU ipu, int Nipu,
              int farbe);

  const ELETYP::Tdataset* eletyp = nullptr; // registry entries, not owned
  const ELEIPU::Tdataset* integ = nullptr;
};

std::ostream& operator<<(std::ostream& os, const TElementtyp& typ);

inline TElementtyp* ELETYP_Z(TObjbasis* obj) {
  return static_cast<TElementtyp*>(obj);
}

// Checks the choice against the element library; null after an error-log message.
TElementtyp* eletyp_erzeugen(TModell* mpm, int num, ELE::FORM form, ELE::ANSFUNK x, ELE::ANSFUNK u,
                             ELE::IPU ipu, int Nipu, int farbe);

} // namespace MPM
