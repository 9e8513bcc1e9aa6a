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
  TVM::MatR N;
  ELE::_Lmat(a->L, N, TDimensionen::dim, n, 1);
  if (N.spalten != n * TDimensionen::dim1) return;
  TVM::TVektor<int> pos;
  _einbaupos(a->stuetzpu, pos);
  const TVM::VekR fk = f ? *f * N : TVM::VekR();
  const TVM::VekR wk = w ? *w * N : TVM::VekR();
  TVM::MatR kk;
  if (k) {
    TVM::MatR NT;
    TVM::Transponieren(N, NT);
    kk = NT * (*k * N);
  }
  for (int i = 0; i < pos.n; ++i) {
    const int pi = pos[i];
    if (pi < 0) continue;
    if (f && fziel && pi < fziel->n) (*fziel)[pi] += fk[i];
    if (w && wziel && pi < wziel->n) (*wziel)[pi] += wk[i];
  }
  if (k) sys->_block_addieren(SYSMAT_KSTRAF, pos, kk);
}

bool Tmpm::_kraftrbs() {
  TSystem& s = *sys;
  s.fext.init(s.N, nullptr);
  const double zeit = stw.zeitschrittverf == ZEITSCHRITTVERF_EXPLIZIT ? t_n : t;
  TVM::VekR richtung, winkel, f(TDimensionen::dim1);
  double wert = 0.0;
  int richtungstyp = 0, anzahl = 0;

  // The point force: a force as it is, an acceleration times the point's mass.
  auto punktkraft = [&](TPunkt* p) {
    f.init(TDimensionen::dim1, nullptr);
    bool wirkt = false;
    if (_last(zeit, p, LASTTYP_KRAFT, wert, richtung, winkel, richtungstyp, anzahl)) {
      for (int i = 0; i < f.n; ++i)
        f[i] += wert * richtung[i];
      wirkt = true;
    }
    if (_last(zeit, p, LASTTYP_BESCHLEUNIGUNG, wert, richtung, winkel, richtungstyp, anzahl)) {
      const double masse = p->zust.rho0 * p->vol0;
      for (int i = 0; i < f.n; ++i)
        f[i] += wert * masse * richtung[i];
      wirkt = true;
    }
    return wirkt;
  };

  for (const auto& eintrag : knou) {
    TKnoten* kn = KNO_Z(eintrag.second);
    if (kn->status != OBJSTATUS_AKTIV || !punktkraft(kn)) continue;
    for (int i = 0; i < f.n && i < kn->sysposfhg.n; ++i) {
      const int p = kn->sysposfhg[i];
      if (p >= 0 && p < s.N) s.fext[p] += f[i];
    }
  }
  for (const auto& eintrag : mpu) {
    TPunkt* mp = PU_Z(eintrag.second);
    if (mp->status != OBJSTATUS_AKTIV || !punktkraft(mp)) continue;
    _auf_knoten_verteilen(mp, &f, &s.fext, nullptr, nullptr, nullptr);
  }
  return true;
}

} // namespace MPM
