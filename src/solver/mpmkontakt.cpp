// Penalty contact of the simulation object: every examined point (the nodes
// when they move with the body, otherwise the material points) looks for the
// closest contact line; a penetrating point gets a penalty force along the
// line's normal, which enters fckon, and its derivative, which enters Kkon.

#include <cmath>
#include <ostream>

#include "approx/mpmans.h"
#include "frame/mpmextern.h"
#include "input/mpmdimensionen.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjkonlin.h"
#include "model/mpmobjmpu.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"

namespace MPM {

namespace {
constexpr double eps = 2.220446e-16;

// Calls f for every active point of the examined kind.
template <class F> void pruefpunkte(Tmpm& m, F f) {
  const bool bknoten = m.stw.bknokoerperfest;
  for (const auto& eintrag : bknoten ? m.kno : m.mpu) {
    TObjbasis* o = eintrag.second;
    if (o->status != OBJSTATUS_AKTIV || o->objtyp != (bknoten ? OBJTYP_KNO : OBJTYP_MPU)) continue;
    f(PU_Z(o));
  }
}
} // namespace

bool Tmpm::_kontakt_straffunk(double g, double& F, double& F_g) {
  F = F_g = 0.0;
  const TVM::VekR& p = stw.kontakt_straffunkparam;
  if (p.n != 1 && p.n != 2) {
    *konsaus << "FEHLER in <bool Tmpm::_straffunk(_REAL g, _REAL& F, _REAL& F_g)>\n" << std::flush;
    return false;
  }
  if (!(g < 0.0)) return true;
  if (p.n == 2 && g > -p[1]) {
    // Quadratic transition of width p1, continuous with the linear branch.
    F = 0.5 * p[0] / p[1] * g * g;
    F_g = p[0] / p[1] * g;
    return true;
  }
  F = -p[0] * g - (p.n == 2 ? 0.5 * p[0] * p[1] : 0.0);
  F_g = -p[0];
  return true;
}

bool Tmpm::_kontakt_geometrie() {
  bkont = bdurchdr = false;
  if (!stw.bkontakt) return false;
  for (const auto& eintrag : konlin)
    KONLIN_Z(eintrag.second)->init();
  const double grenzg = stw.kontakt_grenzg;
  TVM::VekR n, nbest;
  pruefpunkte(*this, [&](TPunkt* pu) {
    double gbest = grenzg;
    nbest.init(TDimensionen::dim1, nullptr);
    bool bgefunden = false;
    for (const auto& eintrag : konlin) {
      double g = grenzg;
      if (!KONLIN_Z(eintrag.second)->kontakt(pu, g, n)) continue;
      if (!bgefunden || (gbest > 0.0 && g < gbest) || (gbest < 0.0 && std::fabs(g) < std::fabs(gbest))) {
        gbest = g;
        nbest = n;
      }
      bgefunden = true;
    }
    if (bgefunden && gbest <= grenzg) {
      pu->bimkontakt = true;
      pu->kontaktrichtung = nbest;
      pu->kontaktabstand = gbest;
      bkont = true;
      if (gbest < 0.0) bdurchdr = true;
    } else {
      pu->bimkontakt = false;
      pu->kontaktrichtung.init(TDimensionen::dim1, nullptr);
      pu->kontaktabstand = grenzg;
    }
  });
  return bkont;
}

bool Tmpm::_kontakt_bedingungen() {
  TSystem& s = *sys;
  s.fckon.init(-1, nullptr);
  s.kontaktanzeiger.init(-1, nullptr);
  s._null(SYSMAT_KKON);
  bdurchdr = false;
  if (!stw.bkontakt) return false;
  pruefpunkte(*this, [this](TPunkt* pu) {
    if (_kontakt_bedingungen(pu)) bdurchdr = true;
  });
  return bdurchdr;
}

bool Tmpm::_kontakt_bedingungen(TPunkt* pu) {
  double F = 0.0, F_g = 0.0;
  if (!pu || !pu->bimkontakt || !(pu->kontaktabstand < 0.0) || pu->kontaktrichtung.n < 2 ||
      !_kontakt_straffunk(pu->kontaktabstand, F, F_g))
    return false;
  const double n[2] = {pu->kontaktrichtung[0], pu->kontaktrichtung[1]};
  double a[2] = {std::fabs(n[0]), std::fabs(n[1])};
  const double laenge = std::hypot(a[0], a[1]);
  if (laenge < eps) {
    a[0] = 1.0;
    a[1] = 0.0;
  } else {
    a[0] /= laenge;
    a[1] /= laenge;
  }

  // w = n^T L and c = a^T L with the interpolation matrix L of the point's
  // position (the identity for a node): column 2k + i belongs to component
  // i of support node k.
  TVM::TVektor<int> pos;
  TVM::VekR w, c;
  if (pu->objtyp == OBJTYP_KNO) {
    pos = KNO_Z(pu)->sysposfhg;
    w.init({n[0], n[1]});
    c.init({a[0], a[1]});
  } else {
    const TAnsatz* ans = pu->objtyp == OBJTYP_MPU ? MPU_Z(pu)->ans_kno : nullptr;
    if (!ans || ans->_Np() == 0 || ans->L.n != ans->_Np()) return false;
    _einbaupos(ans->stuetzpu, pos);
    const int m = ans->_Np();
    w.init(2 * m, nullptr);
    c.init(2 * m, nullptr);
    for (int k = 0; k < m; ++k)
      for (int i = 0; i < 2; ++i) {
        w[2 * k + i] = n[i] * ans->L[k];
        c[2 * k + i] = a[i] * ans->L[k];
      }
  }
  if (pos.n != w.n) return false;

  TSystem& s = *sys;
  TVM::MatR K;
  TVM::Dyade(w, w, K);
  K *= F_g;
  for (int i = 0; i < pos.n; ++i) {
    const int p = pos[i];
    if (p < 0 || p >= s.N) continue;
    s.kontaktanzeiger[p] += c[i];
    s.fckon[p] += F * w[i];
  }
  s._block_addieren(SYSMAT_KKON, pos, K);
  return true;
}

bool Tmpm::_kontakt_kontrolle(bool) {
  TSystem& s = *sys;
  bdurchdr = false;
  s.Nkonpu = 0;
  double summe = 0.0;
  if (bkont)
    pruefpunkte(*this, [&](TPunkt* pu) {
      if (!pu->bimkontakt || !(pu->kontaktabstand < 0.0)) return;
      bdurchdr = true;
      ++s.Nkonpu;
      summe += pu->kontaktabstand * pu->kontaktabstand;
    });
  s.konflr = s.Nkonpu > 0 ? std::sqrt(summe / s.Nkonpu) : 0.0;
  bkonkontr = true;
  return true;
}

} // namespace MPM
