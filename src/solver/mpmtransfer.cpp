#include <ostream>

#include "approx/mpmans.h"
#include "frame/meldung.h"
#include "frame/mpmextern.h"
#include "model/mpmobjkno.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"

namespace MPM {

bool Tmpm::_transfer(OBJTYP quellot, OBJTYP zielot, ZUSTGROE uegroe) {
  const ANSATZ ansatz = stw._ANSATZ(quellot, zielot);
  Tobjcont* ziele = _objcont(zielot);
  if (ansatz == ANSATZ_UNBEKANNT || uegroe == ZUSTGROE_UNBEKANNT || !ziele) {
    *konsaus << "FEHLER in <Tmpm::_transfer(OBJTYP quellot, OBJTYP zielot, ZUSTGROE uegroe)>:\n"
             << "quellot=" << str_OBJTYP(quellot) << ", zielot=" << str_OBJTYP(zielot)
             << ", uegroe=" << str_ZUSTGROE(uegroe) << ", ansatz=" << str_ANSATZ(ansatz) << "\n"
             << std::flush;
    abbruch();
    // Going on: without an approximation nothing can be carried.
    return false;
  }
  for (TObjbasis* obj : ziele->liste()) {
    TPunkt* p = PU_Z(obj);
    if (p->objtyp != zielot || p->status != OBJSTATUS_AKTIV) continue;
    if (zielot == OBJTYP_KNO) {
      const TKnoten* kn = KNO_Z(p);
      if (!kn->mpu_auf && kn->elemente.empty()) continue;
    }
    if (TAnsatz* a = p->_ansatz(quellot)) a->_zg(uegroe);
  }
  return true;
}

bool Tmpm::_transfer_knou_zu_sys() {
  TSystem& s = *sys;
  for (TVM::VekR* v : {&s.U, &s.Ut, &s.Utt, &s.U_n, &s.Ut_n, &s.Utt_n})
    v->init(s.N, nullptr);
  for (TObjbasis* obj : knou.liste()) {
    const TKnoten* kn = KNO_Z(obj);
    if (kn->status != OBJSTATUS_AKTIV) continue;
    const TZustgroe& z = kn->zust;
    for (int k = 0; k < kn->sysposfhg.n; ++k) {
      const int p = kn->sysposfhg[k];
      if (p < 0 || p >= s.N) continue;
      s.U[p] = z.u[k];
      s.Ut[p] = z.ut[k];
      s.Utt[p] = z.utt[k];
      s.U_n[p] = z.u_n[k];
      s.Ut_n[p] = z.ut_n[k];
      s.Utt_n[p] = z.utt_n[k];
    }
  }
  return true;
}

bool Tmpm::_transfer_sys_zu_knou() {
  const TSystem& s = *sys;
  for (TObjbasis* obj : knou.liste()) {
    TKnoten* kn = KNO_Z(obj);
    if (kn->status != OBJSTATUS_AKTIV) continue;
    TZustgroe& z = kn->zust;
    z.u.init(-1, nullptr);
    z.ut.init(-1, nullptr);
    z.utt.init(-1, nullptr);
    for (int k = 0; k < kn->sysposfhg.n && k < z.u.n; ++k) {
      const int p = kn->sysposfhg[k];
      if (p < 0 || p >= s.N) continue;
      z.u[k] = s.U[p];
      z.ut[k] = s.Ut[p];
      z.utt[k] = s.Utt[p];
    }
  }
  return true;
}

bool Tmpm::_transfer_ergebnisse() {
  _transfer_sys_zu_knou();
  _transfer(OBJTYP_MPU, OBJTYP_KNO, ZUSTGROE_SEKUNDAER);
  _transfer(OBJTYP_KNO, OBJTYP_MPU, ZUSTGROE_VERSCHIEBUNG);
  _transfer(OBJTYP_KNO, OBJTYP_IPU, ZUSTGROE_VERSCHIEBUNG);
  return true;
}

} // namespace MPM
