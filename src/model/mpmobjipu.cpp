#include "model/mpmobjipu.h"

#include <ostream>

#include "frame/meldung.h"
#include "frame/mpmextern.h"

namespace MPM {

TIntegrationspunkt::TIntegrationspunkt(TModell* m, int n, OBJTYP e, double vol, const TVM::VekR& x,
                                       const TVM::VekR& u, const TVM::VekR& ut, const TVM::VekR& utt,
                                       const TVM::VekR& z, int farbnr, TPunkt* geber)
    : TPunkt(m, OBJTYP_IPU, e, n, vol, x, u, ut, utt, z, farbnr, geber) {
  ans_kno = ansatz_anlegen(OBJTYP_KNO, mpm->stw.ansatz_knou_zu_pu);
  ans_mpu = ansatz_anlegen(OBJTYP_MPU, mpm->stw.ansatz_mpu_zu_ipu);
}

TAnsatz* TIntegrationspunkt::_ansatz(OBJTYP stuetzot) {
  TAnsatz* ans = stuetzot == OBJTYP_MPU ? ans_mpu : stuetzot == OBJTYP_KNO ? ans_kno : nullptr;
  if (!ans) {
    *konsaus << "FEHLER in TIntegrationspunkt::_ansatz(OBJTYP stuetzot), stuetzot=" << str_OBJTYP(stuetzot)
             << ": ans=NULL\n"
             << std::flush;
    abbruch();
  }
  return ans;
}

TPunkt* TIntegrationspunkt::_pu(OBJTYP ot) {
  switch (ot) {
  case OBJTYP_MPU:
    return mpu_auf;
  case OBJTYP_KNO:
    return kno_auf;
  default:
    *konsaus << "FEHLER in TIntegrationspunkt::_pu(OBJTYP ot)\n" << std::flush;
    abbruch();
    return nullptr;
  }
}

} // namespace MPM
