#include <algorithm>
#include <cstring>
#include <ostream>
#include <vector>

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

// The longest subset of a record a laid-out transfer sums on the stack.
constexpr int maxwerte = 160;

template <class T> bool bitgleich(const T* a, const T* b, std::size_t n) {
  return n == 0 || std::memcmp(a, b, sizeof(T) * n) == 0;
}

// The same kind, sources and value weights, and with `bG` the same
// gradients: the same sums, bit for bit.
bool gleiche_gewichte(const TAnsatz* a, const TAnsatz* b, bool bG) {
  return a && b && a->ans == b->ans && a->stuetzpu == b->stuetzpu && a->L.n == b->L.n &&
         bitgleich(a->L.data, b->L.data, static_cast<std::size_t>(a->L.n)) &&
         (!bG || (a->G.zeilen == b->G.zeilen && a->G.spalten == b->G.spalten &&
                  bitgleich(a->G.data, b->G.data, static_cast<std::size_t>(a->G.anzahl()))));
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
      if (gleiche_gewichte(a, b, false) && a->ans == ANSATZ_ELE && p->_ansatz(OBJTYP_KNO) == a &&
          m->_ansatz(OBJTYP_KNO) == b)
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

const Tmpm::TPaare& Tmpm::paare() {
  TPaare& p = paare_;
  if (p.bgueltig && p.stand == Nansatzaenderungen && p.Nipu == ipu.size() && p.Nmpu == mpu.size()) return p;
  const std::vector<TObjbasis*>& ipus = ipu.liste();
  const std::vector<TObjbasis*>& mpus = mpu.liste();
  p.ansaetze.clear();
  p.bpaarweise = ipus.size() == mpus.size();
  for (std::size_t i = 0; p.bpaarweise && i < ipus.size(); ++i) {
    const TPunkt* ip = PU_Z(ipus[i]);
    const TPunkt* m = PU_Z(mpus[i]);
    if (ip->objtyp != OBJTYP_IPU || m->objtyp != OBJTYP_MPU || ip->zustgeber != m || m->zustgeber) {
      p.bpaarweise = false;
      break;
    }
    TAnsatz* a = IPU_Z(ipus[i])->ans_kno;
    TAnsatz* b = MPU_Z(mpus[i])->ans_kno;
    p.ansaetze.push_back(gleiche_gewichte(a, b, true) ? b : a);
  }
  if (!p.bpaarweise) p.ansaetze.clear();
  p.stand = Nansatzaenderungen;
  p.Nipu = ipus.size();
  p.Nmpu = mpus.size();
  p.bgueltig = true;
  return p;
}

Tmpm::TPlan& Tmpm::plan(OBJTYP quelle, OBJTYP ziel) {
  auto it = std::find_if(plaene_.begin(), plaene_.end(),
                         [&](const TPlan& p) { return p.quelle == quelle && p.ziel == ziel; });
  if (it == plaene_.end()) {
    plaene_.emplace_back();
    it = plaene_.end() - 1;
    it->quelle = quelle;
    it->ziel = ziel;
  }
  TPlan& p = *it;
  const Tobjcont* reg = _objcont(ziel);
  const std::size_t Nziele = reg ? reg->size() : 0;
  if (p.bgueltig && p.stand == Nansatzaenderungen && p.Nziele == Nziele) return p;
  p.ziele.clear();
  p.stelle.clear();
  p.L.clear();
  const TZustgroe::TLage lage;
  if (reg) {
    // Sized once: a plan stays for as long as the model's points.
    std::size_t Nterme = 0;
    for (TObjbasis* obj : reg->liste())
      if (TAnsatz* const* platz = ansatzplatz(PU_Z(obj), quelle))
        Nterme += *platz ? (*platz)->stuetzpu.size() : 0;
    p.ziele.reserve(Nziele);
    p.stelle.reserve(Nterme);
    p.L.reserve(Nterme);
  }
  // A source's place is its place in its registry, found by its number.
  const Tobjcont* qreg = _objcont(quelle);
  const std::vector<TObjbasis*>* qliste = qreg ? &qreg->liste() : nullptr;
  p.punkte.assign(qliste ? qliste->size() : 0, nullptr);
  p.bloecke.assign(p.punkte.size(), nullptr);
  const auto stelle = [&](const TPunkt* q) {
    if (!qliste || qliste->empty()) return -1;
    // Numbers without gaps put a point at its number's distance from the first.
    const long direkt = static_cast<long>(q->num) - static_cast<long>(qliste->front()->num);
    if (direkt >= 0 && direkt < static_cast<long>(qliste->size()) && (*qliste)[direkt] == q)
      return static_cast<int>(direkt);
    const auto pos = std::lower_bound(qliste->begin(), qliste->end(), q->num,
                                      [](const TObjbasis* o, unsigned int num) { return o->num < num; });
    return pos != qliste->end() && *pos == q ? static_cast<int>(pos - qliste->begin()) : -1;
  };
  if (reg)
    for (TObjbasis* obj : reg->liste()) {
      TPlan::TZiel z{PU_Z(obj), nullptr, 0, -1};
      TAnsatz* const* platz = ansatzplatz(z.punkt, quelle);
      TAnsatz* a = platz ? *platz : nullptr;
      if (a && a->ans != ANSATZ_KOPIEREN && !a->stuetzpu.empty() && z.punkt->_ansatz(quelle) == a) {
        TZustgroe& heimat = a->heimatpu->_zg();
        double* const* bloecke = a->_quellbloecke();
        if (bloecke && heimat.alle.n == lage.ende) {
          z.erste = static_cast<int>(p.stelle.size());
          bool bgefunden = true;
          for (int k = 0; k < a->_Np() && k < a->L.n; ++k) {
            const int s = stelle(a->stuetzpu[k]);
            bgefunden = s >= 0;
            if (!bgefunden) break;
            p.punkte[s] = a->stuetzpu[k];
            p.bloecke[s] = bloecke[k];
            p.stelle.push_back(s);
            p.L.push_back(a->L[k]);
          }
          if (bgefunden) {
            z.block = heimat.alle.data;
            z.anzahl = static_cast<int>(p.stelle.size()) - z.erste;
          } else {
            p.stelle.resize(z.erste);
            p.L.resize(z.erste);
            z.erste = 0;
          }
        }
      }
      p.ziele.push_back(z);
    }
  p.aktiv.assign(p.punkte.size(), 0);
  p.stand = Nansatzaenderungen;
  p.Nziele = Nziele;
  p.bgueltig = true;
  return p;
}

bool Tmpm::_transfer(OBJTYP quellot, OBJTYP zielot, ZUSTGROE uegroe) {
  bool bzwillinge = false;
  return uebertragen(quellot, zielot, uegroe, nullptr, bzwillinge);
}

bool Tmpm::uebertragen(OBJTYP quellot, OBJTYP zielot, ZUSTGROE uegroe, const TUebertragung* zwillinge,
                       bool& bzwillinge) {
  bzwillinge = false;
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
  int strecke = 0, n = 0;
  // Nodes take few but long sums, whose source blocks cost more than the
  // approximations: they go through theirs.
  if (!TZustgroe::_strecke(uegroe, lage, strecke, n) || n > maxwerte || zielot == OBJTYP_KNO) {
    const std::vector<TObjbasis*>& liste = ziele->liste();
    for (std::size_t i = 0; i < liste.size(); ++i) {
      vorausladen(liste, i, quellot, von, bis, zielot == OBJTYP_KNO);
      bearbeiten(liste[i]);
    }
    return true;
  }
  // The sums of TAnsatz::_zg over the laid-out sources, in their order. A
  // target takes little work: its point and block are fetched far ahead.
  TPlan& pl = plan(quellot, zielot);
  const std::size_t Nziele = pl.ziele.size();
  if (zwillinge && zwillinge->ziele.size() != Nziele) zwillinge = nullptr;
  bzwillinge = zwillinge != nullptr;
  for (std::size_t q = 0; q < pl.punkte.size(); ++q)
    pl.aktiv[q] = pl.punkte[q] && pl.punkte[q]->status == OBJSTATUS_AKTIV;
  const auto summieren = [&](const TPlan::TZiel& z) {
    if (z.anzahl < 0) return bearbeiten(z.punkt);
    if (z.punkt->objtyp != zielot || z.punkt->status != OBJSTATUS_AKTIV) return;
    double summe[maxwerte];
    std::fill(summe, summe + n, 0.0);
    for (int q = z.erste; q < z.erste + z.anzahl; ++q) {
      const int s = pl.stelle[q];
      if (pl.aktiv[s]) TVM::vielfaches_addieren(summe, pl.bloecke[s] + strecke, pl.L[q], n);
    }
    std::copy(summe, summe + n, z.block + strecke);
  };
  for (std::size_t i = 0; i < Nziele; ++i) {
    if (i + 24 < Nziele) {
      // A point's first members may straddle two lines.
      const char* o = reinterpret_cast<const char*>(pl.ziele[i + 24].punkt);
      TVM::vorholen(o);
      TVM::vorholen(o + 39);
      if (zwillinge) {
        const char* z = reinterpret_cast<const char*>(zwillinge->ziele[i + 24].first);
        TVM::vorholen(z);
        TVM::vorholen(z + 39);
      }
    }
    if (i + 16 < Nziele) {
      const TPlan::TZiel& v = pl.ziele[i + 16];
      if (v.block) {
        for (int k = von; k < bis; k += 8)
          TVM::vorholen(v.block + k);
        TVM::vorholen(v.block + bis - 1);
      }
      for (int q = v.erste; q < v.erste + v.anzahl; ++q) {
        const double* b = pl.bloecke[pl.stelle[q]];
        for (int k = von; k < bis; k += 8)
          TVM::vorholen(b + k);
        TVM::vorholen(b + bis - 1);
      }
    }
    summieren(pl.ziele[i]);
    if (zwillinge) zwilling_bearbeiten(zwillinge->ziele[i]);
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
  if (stw._ANSATZ(OBJTYP_KNO, OBJTYP_IPU) != ANSATZ_ELE) {
    _transfer(OBJTYP_KNO, OBJTYP_MPU, ZUSTGROE_VERSCHIEBUNG);
    _transfer(OBJTYP_KNO, OBJTYP_IPU, ZUSTGROE_VERSCHIEBUNG);
    return true;
  }
  // Integration points at the places of their material points go in the same
  // walk, each right after its material point, whose record it writes.
  const TUebertragung& u = zwillingsziele();
  bool bzwillinge = false;
  uebertragen(OBJTYP_KNO, OBJTYP_MPU, ZUSTGROE_VERSCHIEBUNG, paare().bpaarweise ? &u : nullptr, bzwillinge);
  if (bzwillinge) return true;
  for (std::size_t i = 0; i < u.ziele.size(); ++i) {
    if (i + 8 < u.ziele.size()) {
      TVM::vorholen(u.ziele[i + 8].first);
      if (u.ziele[i + 8].second) TVM::vorholen(u.ziele[i + 8].second);
    }
    zwilling_bearbeiten(u.ziele[i]);
  }
  return true;
}

// An integration point whose record a material point provides, with the same
// approximation from the nodes, gets its values with that material point when
// it is active.
void Tmpm::zwilling_bearbeiten(const std::pair<TObjbasis*, TObjbasis*>& ziel) {
  TPunkt* p = PU_Z(ziel.first);
  const TObjbasis* m = ziel.second;
  if (p->objtyp != OBJTYP_IPU || p->status != OBJSTATUS_AKTIV) return;
  if (m && m->status == OBJSTATUS_AKTIV) return;
  if (TAnsatz* a = p->_ansatz(OBJTYP_KNO)) a->_zg(ZUSTGROE_VERSCHIEBUNG);
}

} // namespace MPM
