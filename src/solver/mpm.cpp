#include "solver/mpm.h"

#include <algorithm>
#include <ostream>

#include "approx/mpmans.h"
#include "frame/mpmextern.h"
#include "input/dateinaus.h"
#include "model/mpmobjpunkt.h"
#include "solver/mpmobjsys.h"

namespace MPM {

Tmpm::Tmpm() : sys(std::make_unique<TSystem>(this)) {}

Tmpm::~Tmpm() = default;

bool Tmpm::_steuerung() {
  try {
    _ausgabe(ZEITPU_ANFANG);
    _eingabe_start();
    _netza();
    _netz_init_mpu();
    _L_G();
    if (stw.uebertragrichtstart == UEBERTRAGRICHTSTART_KNO_ZU_MPU) {
      _transfer(OBJTYP_KNO, OBJTYP_MPU, ZUSTGROE_PRIMAER);
    } else {
      _transfer(OBJTYP_MPU, OBJTYP_KNO, ZUSTGROE_PRIMAER);
    }
    _transfer_knou_zu_sys();
    _umspeichern(RICHTUNG_VORWAERTS);
    if (stw.bstartbeschl && stw.bmassen) _startbeschleunigung();
    _ausgabe(ZEITPU_STARTWERTE);
    _zeitschrittsteuerung();
  } catch (int) {
    _ausgabe(ZEITPU_ABBRUCH);
    throw 1;
  }
  _ausgabe(ZEITPU_ENDE);
  return true;
}

// Runs after the start state is stored: the material pass at dt = 0 starts
// from it, so the internal variables stay and the stresses are those of the
// start strains.
bool Tmpm::_startbeschleunigung() {
  TSystem& s = *sys;
  t_n = t = stw.bzstrg ? stw.ta + stw.tta * stw.dt : stw.ta;
  dt = 0.0;
  _kraftrbs();
  _verschiebungsrbs();
  bool ok = _verzerrungen_mpu() && _z_CT_DT_sigma_mpu();
  if (ok) {
    _transfer(OBJTYP_MPU, OBJTYP_IPU, ZUSTGROE_SEKUNDAER);
    _M_Fm_KT_Fint();
    TVM::VekR rechts = s.fext;
    rechts -= s.fint;
    rechts += s.fstraf;
    TVM::VekR utt = s.Utt;
    ok = s._loesen_masse(stw.gleichloes_bil, rechts, utt);
    if (ok) s.Utt = utt;
  }
  if (!ok) {
    const char* text = "FEHLER in <bool Tmpm::_startbeschleunigung()>: M utt = fext - fint nicht loesbar, "
                       "die Startbeschleunigungen der Eingabe bleiben\n";
    *pcf << text << std::flush;
    *konsaus << text << std::flush;
    return false;
  }
  _transfer_sys_zu_knou();
  // Material and integration points take the accelerations of their nodes;
  // their displacements and velocities stay as they are.
  for (Tobjcont* reg : {&mpu, &ipu})
    for (const auto& eintrag : *reg) {
      TPunkt* p = PU_Z(eintrag.second);
      if (p->status != OBJSTATUS_AKTIV || (p->objtyp != OBJTYP_MPU && p->objtyp != OBJTYP_IPU)) continue;
      const TAnsatz* a = p->_ansatz(OBJTYP_KNO);
      if (!a) continue;
      TVM::VekR summe(p->_zg().utt.n);
      for (int k = 0; k < a->_Np() && k < a->L.n; ++k) {
        const TPunkt* q = a->stuetzpu[k];
        if (q->status != OBJSTATUS_AKTIV || q->_zg().utt.n != summe.n) continue;
        for (int i = 0; i < summe.n; ++i)
          summe[i] += a->L[k] * q->_zg().utt[i];
      }
      if (a->_Np() > 0) p->_zg().utt = summe;
    }
  _umspeichern(RICHTUNG_VORWAERTS);
  return true;
}

TSystembasis* Tmpm::_system() {
  return sys.get();
}

TAnsatz* Tmpm::_ansatz_anlegen(TPunkt* heimatpu, OBJTYP heimatOT, OBJTYP stuetzOT, ANSATZ art) {
  return _ansatz_erzeugen(this, heimatpu, heimatOT, stuetzOT, art);
}

bool Tmpm::_xi_setzen(TAnsatz* a, const TVM::VekR& xi) {
  return MPM::_xi_setzen(a, xi);
}

} // namespace MPM
