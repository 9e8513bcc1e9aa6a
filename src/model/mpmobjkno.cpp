#include "model/mpmobjkno.h"

#include <memory>
#include <ostream>

#include "frame/meldung.h"
#include "frame/mix.h"
#include "frame/mpmextern.h"
#include "model/mpmobjipu.h"
#include "model/mpmobjmpu.h"

namespace MPM {

TKnoten::TKnoten(TModell* m, int n, OBJTYP e, double vol, const TVM::VekR& x, const TVM::VekR& u,
                 const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z, int farbnr)
    : TPunkt(m, OBJTYP_KNO, e, n, vol, x, u, ut, utt, z, farbnr), sysposfhg(dim1, -1) {
  ans_mpu = ansatz_anlegen(OBJTYP_MPU, mpm->stw.ansatz_pu_zu_knou);
  if (mpm->stw.ansatz_knou_zu_pu == ANSATZ_WOLKEN) ans_kno = ansatz_anlegen(OBJTYP_KNO, ANSATZ_WOLKEN);
}

TAnsatz* TKnoten::_ansatz(OBJTYP stuetzot) {
  switch (stuetzot) {
  case OBJTYP_MPU:
    return ans_mpu;
  case OBJTYP_KNO:
    return ans_kno;
  default:
    return nullptr;
  }
}

TPunkt* TKnoten::_pu(OBJTYP ot) {
  switch (ot) {
  case OBJTYP_MPU:
    return mpu_auf;
  case OBJTYP_IPU:
    return ipu_auf;
  default:
    *konsaus << "FEHLER in <TKnoten::_pu(OBJTYP ot)>\n" << std::flush;
    abbruch();
    return nullptr;
  }
}

void TKnoten::_loeschen() {
  sysposkno = -1;
  sysposfhg.init(dim1, nullptr, -1);
  TPunkt::_loeschen();
}

void TKnoten::_text(std::ostream& os) const {
  TPunkt::_text(os);
  os << ", bknox=" << _str(bknox, 1) << ", bknou=" << _str(bknou, 1);
}

TVM::VekR& TKnoten::systemwerte(const TVM::VekR& global, TVM::VekR& f) const {
  f.init(dim1, nullptr);
  for (int i = 0; i < dim1 && i < sysposfhg.n; ++i) {
    const int pos = sysposfhg[i];
    if (pos >= 0 && pos < global.n) f[i] = global[pos];
  }
  return f;
}

TVM::VekR& TKnoten::_f(TVM::VekR& f) const {
  return systemwerte(mpm->_system()->R, f);
}
TVM::VekR& TKnoten::_fint(TVM::VekR& f) const {
  return systemwerte(mpm->_system()->fint, f);
}
TVM::VekR& TKnoten::_fc(TVM::VekR& f) const {
  return systemwerte(mpm->_system()->kontaktanzeiger, f);
}
TVM::VekR& TKnoten::_fckon(TVM::VekR& f) const {
  return systemwerte(mpm->_system()->fckon, f);
}
TVM::VekR& TKnoten::_fext(TVM::VekR& f) const {
  return systemwerte(mpm->_system()->fext, f);
}
TVM::VekR& TKnoten::_fm(TVM::VekR& f) const {
  return systemwerte(mpm->_system()->fm, f);
}
TVM::VekR& TKnoten::_fa(TVM::VekR& f) const {
  return systemwerte(mpm->_system()->G, f);
}
TVM::VekR& TKnoten::_fstraf(TVM::VekR& f) const {
  return systemwerte(mpm->_system()->fstraf, f);
}

TKnoten* kno_erzeugen(TModell* mpm, int num, int matnum, double vol, const TVM::VekR& x, const TVM::VekR& u,
                      const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z, int farbe) {
  if (num >= 0 && mpm->kno.suchen(num)) {
    *pcf << mpm->_str_eindatpos() << "\n"
         << "Knoten bereits vorhanden: " << num << "\n";
    return nullptr;
  }
  if (mpm->stw.bmpuaufkno && !mpm->mat.suchen(matnum)) {
    *pcf << mpm->_str_eindatpos() << "\n"
         << "Materialnummer nicht vorhanden: " << matnum << "\n";
    return nullptr;
  }
  TKnoten* kn = mpm->_anlegen<TKnoten>(mpm, num, OBJTYP_KNO, vol, x, u, ut, utt, z, farbe);
  mpm->kno.einfuegen(static_cast<int>(kn->num), kn);

  TMaterialpunkt* mp = nullptr;
  if (mpm->stw.bmpuaufkno) {
    mp = mpm->_anlegen<TMaterialpunkt>(mpm, -1, OBJTYP_KNO, matnum, vol, x, u, ut, utt, z, farbe);
    mpm->mpu.einfuegen(static_cast<int>(mp->num), mp);
    kn->mpu_auf = mp;
    mp->kno_auf = kn;
    mp->zustgeber = kn;
  }
  if (mpm->stw.bipuaufkno) {
    TIntegrationspunkt* ip =
        mpm->_anlegen<TIntegrationspunkt>(mpm, -1, OBJTYP_KNO, vol, x, u, ut, utt, z, farbe, kn);
    mpm->ipu.einfuegen(static_cast<int>(ip->num), ip);
    kn->ipu_auf = ip;
    ip->kno_auf = kn;
    if (mp) {
      mp->ipu_auf = ip;
      ip->mpu_auf = mp;
    }
  }
  return kn;
}

} // namespace MPM
