// Mesh and point setup of the simulation object: element neighbourhoods,
// nodal volumes, location of material points in elements, emission by
// sources, and the building of every approximation.

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "approx/mpmans.h"
#include "approx/wolken.h"
#include "element/eletyp.h"
#include "frame/meldung.h"
#include "frame/mpmextern.h"
#include "input/mpmdimensionen.h"
#include "model/mpmobjele.h"
#include "model/mpmobjeletyp.h"
#include "model/mpmobjipu.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"

namespace MPM {

using TVM::MatR;
using TVM::VekR;

namespace {

void fehlerabbruch(const std::string& text) {
  *konsaus << text << std::flush;
  abbruch();
}

bool aktiv(const TObjbasis* obj) {
  return obj->status == OBJSTATUS_AKTIV;
}

// Axis-aligned box around an element's geometry nodes (columns of Xx). Order-1
// geometry lies in the convex hull of its nodes; curved geometry may bulge
// beyond its nodes, so its box is widened by a quarter of its extent. A small
// relative margin keeps points on the boundary inside.
struct TBox {
  VekR min, max;

  explicit TBox(const MatR& Xx, bool bgekruemmt) : min(Xx.zeilen), max(Xx.zeilen) {
    for (int c = 0; c < Xx.zeilen; ++c) {
      double a = Xx.spalten > 0 ? Xx[c][0] : 0.0, b = a;
      for (int k = 1; k < Xx.spalten; ++k) {
        a = std::min(a, Xx[c][k]);
        b = std::max(b, Xx[c][k]);
      }
      const double rand =
          (bgekruemmt ? 0.25 : 1e-10) * (b - a) + 1e-14 * std::max(std::fabs(a), std::fabs(b));
      min[c] = a - rand;
      max[c] = b + rand;
    }
  }
  bool enthaelt(const VekR& x) const {
    if (x.n != min.n) return false;
    for (int c = 0; c < x.n; ++c)
      if (!(x[c] >= min[c] && x[c] <= max[c])) return false;
    return true;
  }
};

// The points of a list in the bins of a regular grid over the first two
// coordinates of their positions: a superset of the points inside any box,
// each bin's points in list order.
struct TPunktgitter {
  int d = 0, n[2] = {1, 1};
  double min[2] = {0.0, 0.0}, max[2] = {0.0, 0.0}, h[2] = {1.0, 1.0};
  std::vector<int> anfang, punkte; // per bin its first entry in `punkte`, and the end

  // The position of point i at orte[d1 * i] to orte[d1 * i + d1 - 1]; points
  // whose position is not finite stay out.
  TPunktgitter(const std::vector<double>& orte, int d1) : d(std::min(d1, 2)) {
    const std::size_t Npunkte = d1 > 0 ? orte.size() / d1 : 0;
    const auto endlich = [&](std::size_t i) {
      return std::all_of(orte.begin() + d1 * i, orte.begin() + d1 * (i + 1),
                         [](double v) { return std::isfinite(v); });
    };
    bool berste = true;
    for (std::size_t i = 0; i < Npunkte; ++i) {
      if (!endlich(i)) continue;
      const double* p = orte.data() + d1 * i;
      for (int c = 0; c < d; ++c) {
        min[c] = berste ? p[c] : std::min(min[c], p[c]);
        max[c] = berste ? p[c] : std::max(max[c], p[c]);
      }
      berste = false;
    }
    // About two points per bin, the bins as square as the extent allows.
    const double Nbins = std::max(1.0, static_cast<double>(Npunkte) / 2.0);
    double flaeche = 1.0;
    int Nbreit = 0;
    for (int c = 0; c < d; ++c)
      if (max[c] > min[c]) {
        flaeche *= max[c] - min[c];
        ++Nbreit;
      }
    const double kante = Nbreit > 0 ? std::pow(flaeche / Nbins, 1.0 / Nbreit) : 1.0;
    // Extents beyond the range of doubles leave one bin in that direction.
    for (int c = 0; c < d; ++c) {
      const double breite = max[c] - min[c];
      double t = 1.0;
      if (std::isfinite(breite) && breite > 0.0 && std::isfinite(kante) && kante > 0.0)
        t = std::ceil(breite / kante);
      n[c] = static_cast<int>(std::max(1.0, std::min(t, Nbins)));
      h[c] = std::isfinite(breite) && breite > 0.0 ? breite / n[c] : 1.0;
    }
    anfang.assign(static_cast<std::size_t>(n[0]) * n[1] + 1, 0);
    std::vector<int> bin(Npunkte, -1);
    for (std::size_t i = 0; i < Npunkte; ++i)
      if (endlich(i)) {
        const double* p = orte.data() + d1 * i;
        bin[i] = platz(p[0], 0) + (d > 1 ? n[0] * platz(p[1], 1) : 0);
        ++anfang[bin[i] + 1];
      }
    for (std::size_t b = 1; b < anfang.size(); ++b)
      anfang[b] += anfang[b - 1];
    punkte.assign(anfang.back(), 0);
    std::vector<int> naechster(anfang.begin(), anfang.end() - 1);
    for (std::size_t i = 0; i < Npunkte; ++i)
      if (bin[i] >= 0) punkte[naechster[bin[i]]++] = static_cast<int>(i);
  }
  // The bin column of coordinate c (clamped to the grid); monotone in v.
  int platz(double v, int c) const {
    const double t = std::floor((v - min[c]) / h[c]);
    return !(t >= 0.0) ? 0 : t >= n[c] ? n[c] - 1 : static_cast<int>(t);
  }
  // The points of the bins that the box [a, b] overlaps, ascending.
  void im_kasten(const VekR& a, const VekR& b, std::vector<int>& ergebnis) const {
    ergebnis.clear();
    if (a.n < d || b.n < d) return;
    for (int c = 0; c < d; ++c)
      if (!(b[c] >= min[c] && a[c] <= max[c])) return;
    const int i0 = platz(a[0], 0), i1 = platz(b[0], 0);
    const int j0 = d > 1 ? platz(a[1], 1) : 0, j1 = d > 1 ? platz(b[1], 1) : 0;
    for (int j = j0; j <= j1; ++j)
      for (int i = i0; i <= i1; ++i) {
        const int bin = i + n[0] * j;
        ergebnis.insert(ergebnis.end(), punkte.begin() + anfang[bin], punkte.begin() + anfang[bin + 1]);
      }
    std::sort(ergebnis.begin(), ergebnis.end());
  }
};

// Gives every active material point without an element the first element in
// number order that contains its current position, measured against the
// elements' geometry at creation; stores the reference point in its element
// approximation. Returns the number of points located. The elements are
// tried in number order and, for each, the points in registry order, as a
// walk over all pairs would; a grid of the points' positions leaves out
// the pairs whose box test would fail.
unsigned int mpu_einordnen(Tmpm& mpm) {
  unsigned int Nneu = 0;
  std::vector<TMaterialpunkt*> suchend;
  // The positions side by side; one of another length is never inside a box.
  const int d1 = TDimensionen::dim1;
  std::vector<double> orte;
  for (TObjbasis* p_obj : mpm.mpu.liste()) {
    TMaterialpunkt* mp = MPU_Z(p_obj);
    if (!aktiv(mp) || mp->element) continue;
    suchend.push_back(mp);
    const VekR& x = mp->_x(KONFIGUR_MOMKONF);
    for (int c = 0; c < d1; ++c)
      orte.push_back(x.n == d1 ? x[c] : std::numeric_limits<double>::quiet_NaN());
  }
  if (suchend.empty() || d1 < 1) return 0;
  const TPunktgitter gitter(orte, d1);
  std::vector<int> kandidaten;
  MatR Xx;
  VekR x, xi;
  for (TObjbasis* obj : mpm.ele.liste()) {
    TElement* e = ELE_Z(obj);
    if (!e->typ || !e->typ->eletyp) continue;
    const ELETYP::Tdataset& ds = *e->typ->eletyp;
    e->_xk(Xx, KONFIGUR_STARTKONF, KNOTYP_GEOMETRIEKNOTEN);
    const TBox box(Xx, ds.key.ansfunkx != ELE::ANSFUNK_LAGRO1);
    gitter.im_kasten(box.min, box.max, kandidaten);
    for (int i : kandidaten) {
      TMaterialpunkt* mp = suchend[i];
      if (mp->element) continue;
      x.ansicht(d1, orte.data() + static_cast<std::size_t>(d1) * i);
      if (!box.enthaelt(x)) continue;
      // Straight-sided elements are tested without iteration first, so that
      // the inverse mapping only runs for points inside.
      if (ds.key.ansfunkx == ELE::ANSFUNK_LAGRO1 && !ds._bpinelement(Xx, x, true)) continue;
      if (!ds._xi(Xx, x, xi, true)) continue;
      mp->element = e;
      e->mpu.push_back(mp);
      _xi_setzen(mp->ans_kno, xi);
      ++Nneu;
    }
  }
  return Nneu;
}

// Switches off the active material points that lie outside every element,
// each with one message.
void mpu_ausserhalb_deaktivieren(Tmpm& mpm) {
  for (TObjbasis* obj : mpm.mpu.liste()) {
    TMaterialpunkt* mp = MPU_Z(obj);
    if (mp->status == OBJSTATUS_INAKTIV || mp->element) continue;
    mp->status = OBJSTATUS_INAKTIV;
    *konsaus << static_cast<const TObjbasis&>(*mp) << ", x=" << mp->_x(KONFIGUR_MOMKONF)
             << ", ausserhalb von Elementen -> Deaktivierung\n"
             << std::flush;
  }
}

// The integration point follows its material point into that point's
// element. False after a reported structural error.
bool ipu_einordnen(TIntegrationspunkt* ip) {
  TPunkt* mp = ip->mpu_auf;
  if (!mp) {
    fehlerabbruch("FEHLER in <bool Tmpm::_ipu_in_ele()>: !ipu_z->mpu\n");
    return false;
  }
  if (!aktiv(mp)) {
    ip->status = OBJSTATUS_INAKTIV;
    return true;
  }
  TElement* e = mp->element;
  if (!e) {
    fehlerabbruch("FEHLER in Tmpm::_ipu_in_ele(): !ele_z\n");
    return false;
  }
  ip->element = e;
  const TMaterialpunkt* mpu = dynamic_cast<const TMaterialpunkt*>(mp);
  TAnsatz* von = mpu ? mpu->ans_kno : nullptr;
  if (ip->ans_kno && von && ip->ans_kno->ans == ANSATZ_ELE && von->ans == ANSATZ_ELE)
    *ANSATZELE_Z(ip->ans_kno) = *ANSATZELE_Z(von);
  e->ipu.push_back(ip);
  return true;
}

// An integration point on a material point takes that point's cloud
// approximation from the nodes, built just before from the same clouds,
// when both stand at the same place.
bool wolken_vom_materialpunkt(const Tmpm& mpm, TPunkt* p, TAnsatz* a) {
  if (!a || a->ans != ANSATZ_WOLKEN || p->objtyp != OBJTYP_IPU) return false;
  const TPunkt* mp = IPU_Z(p)->mpu_auf;
  if (!mp || !aktiv(mp) || mp->objtyp != OBJTYP_MPU) return false;
  TAnsatz* von = static_cast<const TMaterialpunkt*>(mp)->ans_kno;
  return von && von->ans == ANSATZ_WOLKEN &&
         ANSATZWOLKEN_Z(a)->_init_von(*ANSATZWOLKEN_Z(von), mpm.stw.konfigur, mpm.stw.verzerr);
}

// Lends the clouds of one source type to the cloud approximations built
// while it lives, and takes them back (also when a stop unwinds).
class Wolkenbindung {
public:
  Wolkenbindung(Tmpm& mpm, OBJTYP ziel, OBJTYP quelle, bool bwolken) : mpm_(mpm) {
    if (!bwolken) return;
    quellen_ = std::make_unique<TWolkenquellen>(
        mpm, quelle, _wolkenkonfigur(mpm, ziel, quelle, mpm.stw.konfigur), mpm.bwolkenraster);
    mpm.wolkenquellen = quellen_.get();
  }
  ~Wolkenbindung() { mpm_.wolkenquellen = nullptr; }
  Wolkenbindung(const Wolkenbindung&) = delete;
  Wolkenbindung& operator=(const Wolkenbindung&) = delete;

private:
  Tmpm& mpm_;
  std::unique_ptr<TWolkenquellen> quellen_;
};

} // namespace

void Tmpm::_netza() {
  if (!bnetza) return;
  sys->_init();
  if (!ele.empty()) {
    _ele_an_kno();
    _ele_an_ele();
    _vola_knou();
  }
  for (const auto& eintrag : knou)
    PU_Z(eintrag.second)->_init_vol0_x0(KONFIGUR_REFKONF);
  bnetza = false;
}

bool Tmpm::_ele_an_kno() {
  if (ele.empty()) return false;
  for (const auto& eintrag : kno)
    if (TKnoten* kn = dynamic_cast<TKnoten*>(eintrag.second)) kn->elemente.clear();
  for (const auto& eintrag : ele) {
    TElement* e = ELE_Z(eintrag.second);
    for (TPunkt* p : e->kno) {
      TKnoten* kn = dynamic_cast<TKnoten*>(p);
      // A node named twice in one element still lists the element once.
      if (kn && (kn->elemente.empty() || kn->elemente.back() != e)) kn->elemente.push_back(e);
    }
  }
  return true;
}

// The neighbours of an element in ascending number.
bool Tmpm::_ele_an_ele() {
  if (ele.empty()) return false;
  for (const auto& eintrag : ele) {
    TElement* e = ELE_Z(eintrag.second);
    e->ele.clear();
    for (TPunkt* p : e->kno) {
      const TKnoten* kn = dynamic_cast<const TKnoten*>(p);
      if (!kn) continue;
      for (TElement* nachbar : kn->elemente)
        if (nachbar != e && std::find(e->ele.begin(), e->ele.end(), nachbar) == e->ele.end())
          e->ele.push_back(nachbar);
    }
    std::sort(e->ele.begin(), e->ele.end(),
              [](const TElement* a, const TElement* b) { return a->num < b->num; });
  }
  return true;
}

// vola of a node = sum over its elements of det J at the node times the
// node's share of the reference measure in the unknown family.
bool Tmpm::_vola_knou() {
  if (ele.empty()) return false;
  MatR Xx, J;
  for (const auto& eintrag : knou) {
    TKnoten* kn = dynamic_cast<TKnoten*>(eintrag.second);
    if (!kn || kn->vola != 0.0) continue;
    kn->vola = 0.0;
    for (TElement* e : kn->elemente) {
      const auto pos = std::find(e->knou.begin(), e->knou.end(), kn);
      if (pos == e->knou.end()) {
        *konsaus << "FEHLER in <bool Tmpm::_vola_knou()>: Knoten nicht in Element am Knoten eingetragen.\n"
                 << std::flush;
        continue;
      }
      const int k = static_cast<int>(pos - e->knou.begin());
      if (!e->typ || !e->typ->eletyp || !e->typ->eletyp->ansu) continue;
      const ELETYP::Tdataset& ds = *e->typ->eletyp;
      if (k >= ds.ansu->Nk() || k >= ds.ansu->wk.n) continue;
      e->_xk(Xx, KONFIGUR_REFKONF, KNOTYP_GEOMETRIEKNOTEN);
      if (!ds._J(Xx, ds.ansu->xik.GetCol(k), J)) continue;
      kn->vola += TVM::determinante_nxn(J) * ds.ansu->wk[k];
    }
  }
  return true;
}

void Tmpm::_netz_init_knou_ipu() {
  if (bwiederholung) return;
  if (!stw.bknokoerperfest) {
    *konsaus << "**** Initialisierung: kno ****\n" << std::flush;
    _transfer(OBJTYP_MPU, OBJTYP_KNO, ZUSTGROE_ALLE);
    for (TObjbasis* obj : knou.liste())
      PU_Z(obj)->_init_vol0_x0(KONFIGUR_MOMKONF);
    _transfer_knou_zu_sys();
    // In the current configuration the iterations rebuild them anyway.
    if (stw.konfigur == KONFIGUR_REFKONF) ansaetze_von_knoten_erneuern();
  }
  if (stw.bipukoerperfest) return;
  *konsaus << "**** Initialisierung: ipu ****\n" << std::flush;
  _transfer(OBJTYP_MPU, OBJTYP_IPU, ZUSTGROE_ALLE);
  for (TObjbasis* obj : ipu.liste())
    PU_Z(obj)->_init_vol0_x0(KONFIGUR_MOMKONF);
  ++Nipu_neubasis;
}

bool Tmpm::_punkte_wandern() const {
  return stw.bknokoerperfest != stw.bmpukoerperfest;
}

bool Tmpm::_punkte_umordnen() const {
  return stw.belenutzen && _punkte_wandern();
}

void Tmpm::_netz_init_mpu() {
  // Nodes that do not move with the body stand at their mesh places again
  // (they moved with it during the last step) before the points around them
  // are sought; the step's transfer re-bases them once more.
  if (!stw.bknokoerperfest)
    for (const auto& eintrag : knou)
      PU_Z(eintrag.second)->_init_vol0_x0(KONFIGUR_MOMKONF);
  if (bgrundschritt && !bwiederholung && !mpuquell.empty()) _mpuerzeugung();
  if (!_punkte_umordnen()) {
    // Located points keep their elements. Points never located (read from
    // the input, emitted by a source) are placed once, so that their
    // element approximations have an element.
    if (!stw.belenutzen || ele.empty()) return;
    bool bneue = false;
    for (TObjbasis* obj : mpu.liste())
      if (aktiv(obj) && !PU_Z(obj)->element) {
        bneue = true;
        break;
      }
    if (!bneue) return;
    mpu_einordnen(*this);
    mpu_ausserhalb_deaktivieren(*this);
    if (!stw.bipuaufmpu) return;
    for (TObjbasis* obj : ipu.liste()) {
      TIntegrationspunkt* ip = IPU_Z(obj);
      if (ip->element || !aktiv(ip) || !ip->mpu_auf || (aktiv(ip->mpu_auf) && !ip->mpu_auf->element))
        continue;
      ipu_einordnen(ip);
    }
    return;
  }
  *konsaus << "**** Einordnung: mpu ****\n" << std::flush;
  _mpu_in_ele();
  if (stw.bipuaufmpu) {
    _ipu_in_ele();
    *konsaus << "**** Einordnung: ipu ****\n" << std::flush;
  }
}

// A source moves with its constant velocity: u = t ut from its creation
// position, which stays its reference position, so that it stands at
// xa + t ut. The new point starts there with the source's state.
bool Tmpm::_mpuerzeugung() {
  unsigned int Nneu = 0, erste = 0, letzte = 0;
  for (const auto& eintrag : mpuquell) {
    TMaterialpunktquelle* q = MPUQUELL_Z(eintrag.second);
    if (!q->_baktiv(t, bgrundschritt) || !q->material) continue;
    TZustgroe& zg = q->_zg();
    for (int i = 0; i < zg.u.n; ++i)
      zg.u[i] = t * zg.ut[i];
    q->x0 = q->xa;
    VekR x = q->xa; // the factory may perturb the position it is given
    TMaterialpunkt* mp =
        mpu_erzeugen(this, -1, static_cast<int>(q->material->num), q->vola, x, zg.u, zg.ut, zg.utt, zg.z, 0);
    if (!mp) continue;
    if (Nneu++ == 0) erste = mp->num;
    letzte = mp->num;
  }
  if (Nneu > 0)
    *konsaus << "neue mpus: " << Nneu << "(#" << erste << " bis #" << letzte << ")\n" << std::flush;
  return true;
}

bool Tmpm::_mpu_in_ele() {
  if (ele.empty()) {
    fehlerabbruch("FEHLER in <bool Tmpm::_mpu_in_ele()>: !ele.size()\n");
    return false;
  }
  for (TObjbasis* obj : mpu.liste())
    PU_Z(obj)->element = nullptr;
  for (TObjbasis* obj : ele.liste())
    ELE_Z(obj)->mpu.clear();
  mpu_einordnen(*this);
  mpu_ausserhalb_deaktivieren(*this);
  return true;
}

bool Tmpm::_ipu_in_ele() {
  if (ele.empty()) {
    fehlerabbruch("FEHLER in <bool Tmpm::_ipu_in_ele()>: !ele.size()\n");
    return false;
  }
  for (TObjbasis* obj : ele.liste())
    ELE_Z(obj)->ipu.clear();
  bool berfolg = true;
  for (TObjbasis* obj : ipu.liste())
    berfolg = ipu_einordnen(IPU_Z(obj)) && berfolg;
  return berfolg;
}

// Builds every approximation in the order nodes, material points,
// integration points, then nodes from material points, because the inverse
// element approximations of the nodes read the material points' weights.
void Tmpm::_L_G() {
  struct Gruppe {
    const char* text;
    OBJTYP quelle, ziel;
  };
  const Gruppe gruppen[] = {
      {"Ansaetze mit (Quellen: knou)->(Ziele: knou)", OBJTYP_KNO, OBJTYP_KNO},
      {"Ansaetze mit (Quellen: knou)->(Ziele: mpu)", OBJTYP_KNO, OBJTYP_MPU},
      {"Ansaetze mit (Quellen: knou)->(Ziele: ipu)", OBJTYP_KNO, OBJTYP_IPU},
      {"Ansaetze mit (Quellen: mpu)->(Ziele: ipu)", OBJTYP_MPU, OBJTYP_IPU},
      {"Ansaetze mit (Quellen: mpu) -> (Ziele: knou)", OBJTYP_MPU, OBJTYP_KNO},
  };
  for (int g = 0; g < 5; ++g) {
    if (g == 0 && stw.ansatz_knou_zu_pu != ANSATZ_WOLKEN) continue;
    const Gruppe& gr = gruppen[g];
    const ANSATZ art = stw._ANSATZ(gr.quelle, gr.ziel);
    *pck << "\n";
    if (g < 2) *pck << "<bool Tmpm::_L_G()>\n";
    *pck << gr.text << ", art=" << str_ANSATZ(art) << "\n";
    if (!_ansatz_verfuegbar(art)) {
      fehlerabbruch(std::string("FEHLER in <bool Tmpm::_L_G()>: ") + gr.text + ", art=" + str_ANSATZ(art) +
                    ": Ansatz nicht verfuegbar\n");
      continue;
    }
    const Tobjcont& ziele = gr.ziel == OBJTYP_KNO ? knou : *_objcont(gr.ziel);
    const Wolkenbindung bindung(*this, gr.ziel, gr.quelle, art == ANSATZ_WOLKEN);
    for (TObjbasis* obj : ziele.liste()) {
      TPunkt* p = PU_Z(obj);
      if (g == 4) {
        const TKnoten* kn = dynamic_cast<const TKnoten*>(p);
        if (!kn || (!kn->mpu_auf && kn->elemente.empty())) continue;
      } else if (!aktiv(p)) {
        continue;
      }
      TAnsatz* a = p->_ansatz(gr.quelle);
      if (a && !(g == 2 && wolken_vom_materialpunkt(*this, p, a))) a->_init(stw.konfigur, stw.verzerr);
    }
  }
  // Clouds from the nodes couple every node whose cloud holds a point.
  if (stw.ansatz_knou_zu_pu == ANSATZ_WOLKEN) sys->_muster_erneuern();
}

void Tmpm::ansaetze_von_knoten_erneuern() {
  const bool bwolken = stw.ansatz_knou_zu_pu == ANSATZ_WOLKEN;
  const Wolkenbindung bindung(*this, OBJTYP_MPU, OBJTYP_KNO, bwolken);
  for (const Tobjcont* reg : {&mpu, &ipu})
    for (TObjbasis* obj : reg->liste()) {
      TPunkt* p = PU_Z(obj);
      if (!aktiv(p)) continue;
      TAnsatz* a = p->_ansatz(OBJTYP_KNO);
      // A point never located has no element approximation to renew.
      if (!a || (a->ans == ANSATZ_ELE && !p->element) || wolken_vom_materialpunkt(*this, p, a)) continue;
      a->_init(stw.konfigur, stw.verzerr);
    }
  if (bwolken) sys->_muster_erneuern();
}

// Inactive material points are skipped: their approximations are stale or
// were never built.
bool Tmpm::_verzerrungen_mpu() {
  bool berfolg = true;
  const TZustgroe::TLage lage;
  const std::vector<TObjbasis*>& liste = mpu.liste();
  for (std::size_t i = 0; i < liste.size(); ++i) {
    vorausladen(liste, i, OBJTYP_KNO, lage.F, lage.rho0);
    TPunkt* p = PU_Z(liste[i]);
    if (!aktiv(p)) continue;
    if (TAnsatz* a = p->_ansatz(OBJTYP_KNO)) berfolg = a->_verzerrungen() && berfolg;
  }
  return berfolg;
}

bool Tmpm::_verzerrungen_knou() {
  if (stw.ansatz_knou_zu_pu != ANSATZ_WOLKEN) return false;
  for (TObjbasis* obj : knou.liste()) {
    TPunkt* p = PU_Z(obj);
    if (!aktiv(p)) continue;
    if (TAnsatz* a = p->_ansatz(OBJTYP_KNO)) a->_verzerrungen();
  }
  return true;
}

} // namespace MPM
