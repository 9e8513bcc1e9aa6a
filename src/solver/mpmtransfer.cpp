#include <cstring>
#include <ostream>

#include "approx/mpmans.h"
#include "frame/meldung.h"
#include "frame/mpmextern.h"
#include "model/mpmobjipu.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmpu.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"

namespace MPM {

namespace {
// The member that holds the approximation of a point from points of type
// `quelle`, or null; found without reading beyond the point's first line.
TAnsatz* const* ansatzplatz(TPunkt* p, OBJTYP quelle) {
  switch (p->objtyp) {
  case OBJTYP_MPU:
    return quelle == OBJTYP_KNO ? &MPU_Z(p)->ans_kno : nullptr;
  case OBJTYP_IPU:
    return quelle == OBJTYP_KNO ? &IPU_Z(p)->ans_kno : quelle == OBJTYP_MPU ? &IPU_Z(p)->ans_mpu : nullptr;
  case OBJTYP_KNO:
    return quelle == OBJTYP_MPU ? &KNO_Z(p)->ans_mpu : quelle == OBJTYP_KNO ? &KNO_Z(p)->ans_kno : nullptr;
  default:
    return nullptr;
  }
}
} // namespace

// Each stage fetches what the next one reads, so that a point's data has
// arrived when the pass reaches it.
void Tmpm::vorausladen(const std::vector<TObjbasis*>& liste, std::size_t i, OBJTYP quelle, int von, int bis,
                       bool bquellen) {
  const std::size_t n = liste.size();
  if (i + 16 < n) {
    // An object's first members may straddle two lines.
    const char* o = reinterpret_cast<const char*>(liste[i + 16]);
    TVM::vorholen(o);
    TVM::vorholen(o + 63);
  }
  if (i + 8 < n) {
    TPunkt* p = PU_Z(liste[i + 8]);
    if (TAnsatz* const* a = ansatzplatz(p, quelle)) TVM::vorholen(a);
    if (p->objtyp == OBJTYP_MPU) TVM::vorholen(&MPU_Z(p)->material);
    const TPunkt* geber = p->zustgeber ? p->zustgeber : p;
    TVM::vorholen(&geber->zust.alle);
  }
  if (i + 4 < n) {
    TPunkt* p = PU_Z(liste[i + 4]);
    TAnsatz* const* a = ansatzplatz(p, quelle);
    if (a && *a) (*a)->_vorladen(0);
    const double* block = p->_zg().alle.data;
    for (int k = von; k < bis; k += 8)
      TVM::vorholen(block + k);
  }
  if (i + 2 < n) {
    TAnsatz* const* a = ansatzplatz(PU_Z(liste[i + 2]), quelle);
    if (a && *a) (*a)->_vorladen(1);
  }
  if (bquellen && i + 1 < n) {
    TAnsatz* const* a = ansatzplatz(PU_Z(liste[i + 1]), quelle);
    if (a && *a) (*a)->_vorladen(2, von, bis);
  }
}

const Tmpm::TUebertragung& Tmpm::kopierziele(OBJTYP quelle, OBJTYP ziel) {
  TUebertragung& u = kopieren_;
  const Tobjcont* reg = _objcont(ziel);
  const std::size_t Nziele = reg ? reg->size() : 0;
  if (u.bgueltig && u.stand == Nansatzaenderungen && u.Nziele == Nziele && kopieren_quelle_ == quelle &&
      kopieren_ziel_ == ziel)
    return u;
  u.ziele.clear();
  if (reg)
    for (TObjbasis* obj : reg->liste()) {
      TPunkt* p = PU_Z(obj);
      TAnsatz* const* platz = ansatzplatz(p, quelle);
      // Only a point whose approximation is its own member, as `_ansatz` gives it, is left out.
      if (platz && *platz && (*platz)->_ohne_wirkung() && p->_ansatz(quelle) == *platz) continue;
      u.ziele.emplace_back(obj, nullptr);
    }
  u.stand = Nansatzaenderungen;
  u.Nziele = Nziele;
  u.bgueltig = true;
  kopieren_quelle_ = quelle;
  kopieren_ziel_ = ziel;
  return u;
}

const Tmpm::TUebertragung& Tmpm::zwillingsziele() {
  TUebertragung& u = zwillinge_;
  if (u.bgueltig && u.stand == Nansatzaenderungen && u.Nziele == ipu.size() && u.Nquellen == mpu.size())
    return u;
  u.ziele.clear();
  for (TObjbasis* obj : ipu.liste()) {
    TObjbasis* partner = nullptr;
    TPunkt* p = PU_Z(obj);
    TPunkt* m = p->zustgeber;
    // Both write the material point's own record.
    if (p->objtyp == OBJTYP_IPU && m && m->objtyp == OBJTYP_MPU && !m->zustgeber) {
      TAnsatz* a = IPU_Z(p)->ans_kno;
      TAnsatz* b = MPU_Z(m)->ans_kno;
      // The same kind, sources and weights: the same sums, bit for bit.
      if (a && b && a->ans == ANSATZ_ELE && b->ans == ANSATZ_ELE && p->_ansatz(OBJTYP_KNO) == a &&
          m->_ansatz(OBJTYP_KNO) == b && a->stuetzpu == b->stuetzpu && a->L.n == b->L.n &&
          (a->L.n == 0 ||
           std::memcmp(a->L.data, b->L.data, sizeof(double) * static_cast<std::size_t>(a->L.n)) == 0))
        partner = m;
    }
    u.ziele.emplace_back(obj, partner);
  }
  u.stand = Nansatzaenderungen;
  u.Nziele = ipu.size();
  u.Nquellen = mpu.size();
  u.bgueltig = true;
  return u;
}

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
  const auto bearbeiten = [&](TObjbasis* obj) {
    TPunkt* p = PU_Z(obj);
    if (p->objtyp != zielot || p->status != OBJSTATUS_AKTIV) return;
    if (zielot == OBJTYP_KNO) {
      const TKnoten* kn = KNO_Z(p);
      if (!kn->mpu_auf && kn->elemente.empty()) return;
    }
    if (TAnsatz* a = p->_ansatz(quellot)) a->_zg(uegroe);
  };
  // The stretch of the records that the transfer reads and writes.
  const TZustgroe::TLage lage;
  const int von = uegroe == ZUSTGROE_SEKUNDAER ? lage.z : 0;
  const int bis = uegroe == ZUSTGROE_SEKUNDAER ? lage.u_n
                  : uegroe == ZUSTGROE_ALLE    ? lage.ende
                  : uegroe == ZUSTGROE_PRIMAER ? lage.z_n
                                               : lage.z;
  // A copy onto records that are the sources' own changes nothing: only
  // the other targets are visited.
  if (ansatz == ANSATZ_KOPIEREN) {
    const TUebertragung& u = kopierziele(quellot, zielot);
    for (const auto& [obj, partner] : u.ziele) {
      (void)partner;
      bearbeiten(obj);
    }
    return true;
  }
  const std::vector<TObjbasis*>& liste = ziele->liste();
  for (std::size_t i = 0; i < liste.size(); ++i) {
    vorausladen(liste, i, quellot, von, bis, zielot == OBJTYP_KNO);
    bearbeiten(liste[i]);
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
  if (bknoten_sekundaer) _transfer(OBJTYP_MPU, OBJTYP_KNO, ZUSTGROE_SEKUNDAER);
  _transfer(OBJTYP_KNO, OBJTYP_MPU, ZUSTGROE_VERSCHIEBUNG);
  // An integration point whose record a material point provides, with the
  // same approximation from the nodes, got its values just now when that
  // material point is active.
  if (stw._ANSATZ(OBJTYP_KNO, OBJTYP_IPU) == ANSATZ_ELE) {
    const TUebertragung& u = zwillingsziele();
    for (std::size_t i = 0; i < u.ziele.size(); ++i) {
      if (i + 8 < u.ziele.size()) {
        TVM::vorholen(u.ziele[i + 8].first);
        if (u.ziele[i + 8].second) TVM::vorholen(u.ziele[i + 8].second);
      }
      TPunkt* p = PU_Z(u.ziele[i].first);
      const TObjbasis* m = u.ziele[i].second;
      if (p->objtyp != OBJTYP_IPU || p->status != OBJSTATUS_AKTIV) continue;
      if (m && m->status == OBJSTATUS_AKTIV) continue;
      if (TAnsatz* a = p->_ansatz(OBJTYP_KNO)) a->_zg(ZUSTGROE_VERSCHIEBUNG);
    }
    return true;
  }
  _transfer(OBJTYP_KNO, OBJTYP_IPU, ZUSTGROE_VERSCHIEBUNG);
  return true;
}

} // namespace MPM
