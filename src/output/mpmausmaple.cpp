// Maple data file: one record per data output of a completed step with the
// material points, the nodes and the elements.

#include <sstream>
#include <string>

#include "model/mpmobjele.h"
#include "model/mpmobjpunkt.h"
#include "output/mpmaus.h"
#include "solver/mpm.h"

namespace MPM {

namespace {
const char* status(const TObjbasis& o) {
  return o.status == OBJSTATUS_AKTIV ? "1" : "0";
}
} // namespace

bool Tmpm::_ausgabe_maple(ZEITPU z) {
  if (!bausdat_maple || z != ZEITPU_ZEITSCHRITTENDE) return true;
  TVektorformat format(0);
  std::ostringstream s;
  s << _str(tt, 10) << " " << _str(t, 10, false) << "\n";
  s << mpu.size() << "\n";
  for (const auto& e : mpu) {
    TPunkt* p = PU_Z(e.second);
    const TZustgroe& zg = p->_zg();
    s << p->num << " " << p->_x(KONFIGUR_MOMKONF) << " " << zg.ut << " " << tensorkomponenten(zg.eps) << " "
      << tensorkomponenten(zg.sig) << " " << status(*p) << "\n";
  }
  s << kno.size() << "\n";
  for (const auto& e : kno)
    s << e.second->num << " " << _str(PU_Z(e.second)->x0, 10) << " " << status(*e.second) << "\n";
  // The elements: their status, then their node lists.
  s << ele.size() << "\n";
  for (const auto& e : ele)
    s << status(*e.second) << "\n";
  for (const auto& e : ele) {
    TElement* el = ELE_Z(e.second);
    s << el->_Nkno(KNOTYP_KNOTEN);
    for (const TPunkt* k : el->kno)
      s << " " << k->num;
    s << "\n";
  }
  anhaengen(DATEI_MPL, s.str());
  return true;
}

} // namespace MPM
