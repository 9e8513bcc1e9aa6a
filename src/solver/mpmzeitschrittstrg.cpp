#include <cmath>
#include <ostream>
#include <utility>
#include <vector>

#include "approx/mpmans.h"
#include "frame/meldung.h"
#include "frame/mpmextern.h"
#include "model/mpmobjipu.h"
#include "model/mpmobjmpu.h"
#include "model/mpmobjpunkt.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"

namespace MPM {

int Tmpm::_zeitschrittsteuerung() {
  *konsaus << "Zeitschritte\n" << std::flush;
  jjges = 0;
  iiges = 0;
  zsges = 0;
  bgrundschritt = true;
  bwiederholung = false;
  return stw.bzstrg ? zeitschleife_mit_steuerung() : zeitschleife_ohne_steuerung();
}

int Tmpm::zeitschleife_ohne_steuerung() {
  const long long ende = static_cast<long long>(stw.tta) + stw.Nt;
  for (long long schritt = stw.tta; schritt < ende; ++schritt) {
    tt = static_cast<int>(schritt);
    t_n = stw.ta + static_cast<double>(schritt - stw.tta) * stw.dt;
    dt = stw.dt;
    t = t_n + dt;
    if (!_zeitschritt()) {
      *konsaus << "Keine Konvergenz und keine Zeitschrittsteuerung -> Abbruch\n" << std::flush;
      abbruch();
    }
    ++zsges;
  }
  bfertig = true;
  return 1;
}

// A mixed-radix counter over the refinement levels: level i counts steps of
// length dt / q^i, and q steps of one level make one step of the level above.
int Tmpm::zeitschleife_mit_steuerung() {
  const int L = static_cast<int>(stw.zstrg_Nstufen);
  const long long q = stw.zstrg_Nteile;
  std::vector<long long> zaehler(L + 1, 0);
  std::vector<double> dtstufe(L + 1);
  zaehler[0] = stw.tta;
  for (int i = 0; i <= L; ++i)
    dtstufe[i] = stw.dt / std::pow(static_cast<double>(q), i);
  Stufe = 0;
  bgrundschritt = true;
  bwiederholung = false;

  const long long ende = static_cast<long long>(stw.tta) + stw.Nt;
  while (zaehler[0] < ende) {
    tt = static_cast<int>(zaehler[0]);
    t_n = stw.ta;
    for (int i = 0; i <= L; ++i)
      t_n += static_cast<double>(zaehler[i]) * dtstufe[i];
    dt = dtstufe[Stufe];
    t = t_n + dt;
    const bool erfolg = _zeitschritt();
    bgrundschritt = false;

    if (!erfolg) {
      *konsaus << "Zeitschrittverkleinerung\n" << std::flush;
      bwiederholung = true;
      if (Stufe < L) {
        ++Stufe;
        zaehler[Stufe] = 0;
      } else {
        // Finer steps are not allowed: going on repeats the step at the finest level.
        *konsaus << "Keine Konvergenz trotz Zeitschrittverkleinerung\n" << std::flush;
        abbruch();
      }
      continue;
    }

    ++zsges;
    ++zaehler[Stufe];
    bwiederholung = false;
    t_n = t;
    int k = Stufe;
    while (k > 0 && zaehler[k] == q) {
      zaehler[k] = 0;
      ++zaehler[k - 1];
      --k;
    }
    if (k == 0) bgrundschritt = true;
    if (k < Stufe) {
      *konsaus << "Zeitschrittvergroesserung\n" << std::flush;
      --Stufe;
    }
  }
  bfertig = true;
  return 1;
}

bool Tmpm::kontakt_zu_grob() const {
  return bkont && dt > stw.dtkontakt;
}

bool Tmpm::_zeitschritt() {
  _bausgabe();
  _ausgabe(ZEITPU_ZEITSCHRITTANFANG);
  stw._init_zeitschrittparam(dt);
  _netz_init_mpu();
  // Points that moved against the nodes need approximations from the nodes
  // now around them (their element's, or those whose clouds hold them), and
  // the nodes approximations from the points now around them.
  if (stw.konfigur == KONFIGUR_MOMKONF || _punkte_wandern()) _L_G();
  _netz_init_knou_ipu();
  if (stw.zeitschrittverf == ZEITSCHRITTVERF_EXPLIZIT) return zeitschritt_explizit();

  _kraftrbs();
  bkonv = false;
  jj = 0;
  while (!(bkonv && jj > 1)) {
    _ausgabe(ZEITPU_ITERATIONSSCHRITTANFANG);
    _verschiebungsrbs();
    _kontakt_geometrie();
    if (kontakt_zu_grob()) return _zeitschrittfehler();
    _kontakt_bedingungen();
    if (stw.konfigur == KONFIGUR_MOMKONF) _L_G();
    if (!_verzerrungen_material_beitraege()) return _zeitschrittfehler();
    if (!_U_Ut_Utt()) return _zeitschrittfehler();
    // The nodes' secondary quantities of an iteration that is not the last
    // are overwritten by the next one, and nothing reads them in between;
    // only node clouds take their shape from them.
    bknoten_sekundaer = (bkonv && jj >= 1) || stw.ansatz_knou_zu_pu == ANSATZ_WOLKEN;
    _transfer_ergebnisse();
    bknoten_sekundaer = true;
    if (stw.konfigur == KONFIGUR_MOMKONF && stw.ansatz_knou_zu_pu == ANSATZ_WOLKEN) _verzerrungen_knou();
    _kontakt_kontrolle(true);
    if (kontakt_zu_grob()) return _zeitschrittfehler();
    _ausgabe(ZEITPU_ITERATIONSSCHRITTENDE);
    ++jj;
    ++jjges;
  }
  _ausgabe(ZEITPU_ZEITSCHRITTENDE);
  _umspeichern(RICHTUNG_VORWAERTS);
  return true;
}

bool Tmpm::zeitschritt_explizit() {
  *konsaus << "FEHLER: explizites Zeitschrittverfahren nicht getestet!\n" << std::flush;
  abbruch();
  _kraftrbs();
  _verschiebungsrbs();
  _kontakt_geometrie();
  if (!_kontakt_kontrolle(false)) return _zeitschrittfehler();
  _kontakt_bedingungen();
  if (stw.konfigur == KONFIGUR_MOMKONF) _L_G();
  if (!_verzerrungen_mpu()) return _zeitschrittfehler();
  if (!_z_CT_DT_sigma_mpu()) return _zeitschrittfehler();
  _transfer(OBJTYP_MPU, OBJTYP_IPU, ZUSTGROE_SEKUNDAER);
  _M_Fm_KT_Fint();
  _U_Ut_Utt();
  _transfer_ergebnisse();
  if (stw.konfigur == KONFIGUR_MOMKONF && stw.ansatz_knou_zu_pu == ANSATZ_WOLKEN) _verzerrungen_knou();
  _ausgabe(ZEITPU_ZEITSCHRITTENDE);
  _umspeichern(RICHTUNG_VORWAERTS);
  return true;
}

bool Tmpm::_umspeichern(RICHTUNG r) {
  // Each point's own record: the motion at its start and end, the internal
  // variables between.
  const TZustgroe::TLage lage;
  for (const Tobjcont* reg : {&mpu, &ipu, &kno}) {
    const std::vector<TObjbasis*>& liste = reg->liste();
    for (std::size_t i = 0; i < liste.size(); ++i) {
      if (i + 8 < liste.size()) {
        const TPunkt* p = PU_Z(liste[i + 8]);
        TVM::vorholen(p);
        TVM::vorholen(&p->zust.alle);
      }
      if (i + 4 < liste.size()) {
        const TVM::VekR& alle = PU_Z(liste[i + 4])->zust.alle;
        if (alle.n == lage.ende)
          for (int k : {lage.u, lage.z_n, lage.u_n})
            TVM::vorholen(alle.data + k);
      }
      PU_Z(liste[i])->_umspeichern(r);
    }
  }
  sys->_umspeichern(r);
  return true;
}

namespace {
// The material iteration of a pass: the simulation's scratch, every step
// written to the convergence table and counted.
TMatitkontext matitkontext(Tmpm& m) {
  TMatitkontext kontext;
  kontext.dt = m.dt;
  kontext.rz = &m.arbeit.rz;
  kontext.rzinv = &m.arbeit.rzinv;
  kontext.schritt = [&m](TMaterialpunkt& mp) {
    m._ausgabe_dat_konvilok(ZEITPU_ZEITSCHRITTENDE, &mp);
    ++m.iiges;
  };
  return kontext;
}

// The material iteration of one point; its failure leaves the equilibrium
// iteration unconverged.
bool iterieren(Tmpm& m, TObjbasis* obj, TMatitkontext& kontext) {
  const bool bok = MPU_Z(obj)->materialiteration(kontext);
  m.binel = kontext.binel;
  if (!bok) m.bmatkonv = m.bkonv = false;
  return bok;
}
} // namespace

// The material-point registry may also hold sources; only active material
// points are iterated, and the pass ends with the first failure.
bool Tmpm::_z_CT_DT_sigma_mpu() {
  binel = false;
  TMatitkontext kontext = matitkontext(*this);
  const TZustgroe::TLage lage;
  const std::vector<TObjbasis*>& liste = mpu.liste();
  for (std::size_t i = 0; i < liste.size(); ++i) {
    vorausladen(liste, i, OBJTYP_UNBEKANNT, lage.z, lage.ende);
    TObjbasis* obj = liste[i];
    if (obj->objtyp != OBJTYP_MPU || obj->status != OBJSTATUS_AKTIV) continue;
    if (!iterieren(*this, obj, kontext)) return false;
  }
  bmatkonv = true;
  return true;
}

// Small strains in the reference configuration fail only where an
// approximation is broken (a structure fault); the points before it have then
// already been through the material law, which the separate passes would not
// have reached.
bool Tmpm::_verzerrungen_und_material_mpu() {
  if (stw.verzerr != VERZERR_KLNVERZ || stw.konfigur != KONFIGUR_REFKONF)
    return _verzerrungen_mpu() && _z_CT_DT_sigma_mpu();
  return punktgang(false);
}

bool Tmpm::_ein_gang() {
  // A walk that fails leaves what it has assembled incomplete; the mass
  // matrix, which a stop still reports, is assembled by the passes.
  return stw.verzerr == VERZERR_KLNVERZ && stw.konfigur == KONFIGUR_REFKONF &&
         stw._ANSATZ(OBJTYP_MPU, OBJTYP_IPU) == ANSATZ_KOPIEREN && paare().bpaarweise &&
         kopierziele(OBJTYP_MPU, OBJTYP_IPU).ziele.empty() && (!stw.bmassen || massenstand() == massenstand_);
}

bool Tmpm::_verzerrungen_material_beitraege() {
  if (_ein_gang()) return punktgang(true);
  if (!_verzerrungen_und_material_mpu()) return false;
  _transfer(OBJTYP_MPU, OBJTYP_IPU, ZUSTGROE_SEKUNDAER);
  _M_Fm_KT_Fint();
  return true;
}

bool Tmpm::punktgang(bool bbeitraege) {
  binel = false;
  TMatitkontext kontext = matitkontext(*this);
  const TZustgroe::TLage lage;
  const std::vector<TObjbasis*>& liste = mpu.liste();
  const std::vector<TObjbasis*>* ipus = bbeitraege ? &ipu.liste() : nullptr;
  const bool bM = bbeitraege && beitraege_beginnen(fm_gang_, fint_gang_);
  // As in the passes one after the other: every strain is formed, and the
  // material law stops at a failed strain or at its own first failure; the
  // contributions stop with it, since the step then fails.
  bool bverzerrt = true, bmaterial = true;
  for (std::size_t i = 0; i < liste.size(); ++i) {
    vorausladen(liste, i, OBJTYP_KNO, lage.z, lage.ende);
    if (ipus && i + 8 < ipus->size()) {
      // What the contribution reads of an integration point: its first line.
      const char* o = reinterpret_cast<const char*>((*ipus)[i + 8]);
      TVM::vorholen(o);
      TVM::vorholen(o + 63);
    }
    TObjbasis* obj = liste[i];
    if (obj->status == OBJSTATUS_AKTIV) {
      if (TAnsatz* a = PU_Z(obj)->_ansatz(OBJTYP_KNO)) bverzerrt = a->_verzerrungen() && bverzerrt;
      if (bverzerrt && bmaterial && obj->objtyp == OBJTYP_MPU) bmaterial = iterieren(*this, obj, kontext);
    }
    if (ipus && bverzerrt && bmaterial)
      beitrag_addieren(IPU_Z((*ipus)[i]), paare_.ansaetze[i], bM, fm_gang_, fint_gang_);
  }
  if (!bverzerrt || !bmaterial) return false;
  if (bbeitraege) {
    std::swap(sys->fm, fm_gang_);
    std::swap(sys->fint, fint_gang_);
  }
  bmatkonv = true;
  return true;
}

bool Tmpm::_zeitschrittfehler() {
  // A step refused after a converged iteration (contact with too long a step) is no converged step.
  bkonv = false;
  _ausgabe(ZEITPU_ZEITSCHRITTENDE);
  _umspeichern(RICHTUNG_RUECKWAERTS);
  return false;
}

} // namespace MPM
