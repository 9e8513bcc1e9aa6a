#include <algorithm>
#include <vector>

#include "approx/mpmans.h"
#include "element/eleans.h"
#include "model/mpmobjkno.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"

namespace MPM {

void Tmpm::_auf_knoten_verteilen(TPunkt* mp, const TVM::VekR* f, TVM::VekR* fziel, const TVM::MatR* k,
                                 const TVM::VekR* w, TVM::VekR* wziel) {
  TAnsatz* a = mp->_ansatz(OBJTYP_KNO);
  if (!a || a->_Np() == 0) return;
  const int n = a->_Np();
  TVM::MatR& N = arbeit.N;
  ELE::_Lmat(a->L, N, TDimensionen::dim, n, 1);
  if (N.spalten != n * TDimensionen::dim1) return;
  const TVM::TVektor<int>& pos = a->_einbaupos();
  if (f) TVM::produkt(*f, N, arbeit.fk);
  if (w) TVM::produkt(*w, N, arbeit.wk);
  for (int i = 0; i < pos.n; ++i) {
    const int pi = pos[i];
    if (pi < 0) continue;
    if (f && fziel && pi < fziel->n) (*fziel)[pi] += arbeit.fk[i];
    if (w && wziel && pi < wziel->n) (*wziel)[pi] += arbeit.wk[i];
  }
  if (k) {
    TVM::Transponieren(N, arbeit.NT);
    TVM::produkt(*k, N, arbeit.kN);
    sys->_block_addieren(SYSMAT_KSTRAF, pos, TVM::produkt(arbeit.NT, arbeit.kN, arbeit.kk));
  }
}

// Each load is evaluated once and handed to its own targets; a point's force
// is its forces as they are plus its accelerations times its mass.
bool Tmpm::_kraftrbs() {
  TSystem& s = *sys;
  s.fext.init(s.N, nullptr);
  const double zeit = stw.zeitschrittverf == ZEITSCHRITTVERF_EXPLIZIT ? t_n : t;
  std::vector<TPunktlasten> lasten;
  _punktlasten(zeit, false, lasten);
  double fwerte[3];
  TVM::VekR f;
  f.ansicht(std::min(TDimensionen::dim1, 3), fwerte);
  for (const TPunktlasten& e : lasten) {
    TPunkt* p = e.punkt;
    if (p->status != OBJSTATUS_AKTIV) continue;
    f.init(-1, nullptr);
    for (int k = 0; k < 2; ++k) {
      if (e.Nlast[k] == 0) continue;
      const double faktor = k == 0 ? e.last[k] : e.last[k] * (p->zust.rho0 * p->vol0);
      for (int i = 0; i < f.n && i < 2; ++i)
        f[i] += faktor * e.lastrichtung[k][i];
    }
    if (p->objtyp == OBJTYP_MPU) {
      _auf_knoten_verteilen(p, &f, &s.fext, nullptr, nullptr, nullptr);
      continue;
    }
    const TKnoten* kn = KNO_Z(p);
    for (int i = 0; i < f.n && i < kn->sysposfhg.n; ++i) {
      const int q = kn->sysposfhg[i];
      if (q >= 0 && q < s.N) s.fext[q] += f[i];
    }
  }
  return true;
}

} // namespace MPM
