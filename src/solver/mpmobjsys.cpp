#include "solver/mpmobjsys.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "approx/mpmans.h"
#include "element/eleans.h"
#include "frame/meldung.h"
#include "frame/mpmextern.h"
#include "input/mpmdimensionen.h"
#include "model/mpmobjipu.h"
#include "model/mpmobjkno.h"
#include "numerics/kontimech.h"
#include "numerics/loeser.h"
#include "output/mpmaus.h"
#include "solver/mpm.h"

namespace MPM {

namespace {
constexpr double schranke = 1e-6;
}

bool TSystem::_init() {
  const int d1 = TDimensionen::dim1;
  Unbekanntenknoten.clear();
  for (const auto& eintrag : mpm->knou)
    Unbekanntenknoten.push_back(KNO_Z(eintrag.second));
  Nkno = static_cast<int>(Unbekanntenknoten.size());
  N = d1 * Nkno;
  N0 = N1 = N2 = 0;
  Nstraf = 0.0;
  for (int k = 0; k < Nkno; ++k) {
    TKnoten* kn = Unbekanntenknoten[k];
    kn->sysposkno = k;
    kn->sysposfhg.init(d1, nullptr);
    for (int i = 0; i < d1; ++i)
      kn->sysposfhg[i] = d1 * k + i;
  }
  if (bausktr) {
    *pck << "\n"
         << "System: N=" << N << ", Nkno=" << Nkno << "\n\n"
         << "Unbekanntenknoten: Positionen der Knoten, Positionen der Knotengroessen in System\n";
    for (const TKnoten* kn : Unbekanntenknoten)
      *pck << *kn << ", sysposkno=" << kn->sysposkno << ", sysposfhg=" << kn->sysposfhg << "\n";
  }

  for (TVM::TVektor<bool>* v : {&bvorgeschrieben, &bgesund})
    v->init(N, nullptr);
  typ.init(N, nullptr, 2u);
  for (TVM::VekR* v : {&strafgewicht,
                       &kontaktanzeiger,
                       &Uvor,
                       &U,
                       &Ut,
                       &Utt,
                       &U_n,
                       &Ut_n,
                       &Utt_n,
                       &U_it,
                       &dU,
                       &dU_alt,
                       &fint,
                       &fstraf,
                       &fckon,
                       &fext,
                       &fm,
                       &KU_it,
                       &mG,
                       &G,
                       &R,
                       &KdU,
                       &Gnorm})
    v->init(N, nullptr);
  normdU = normdU_j = cosdU = konflr = normG = 0.0;
  Nkonpu = 0;
  for (TVM::MatR* m : {&M, &KT, &Kstraf, &Kkon, &Keff, &K, &K11inv})
    m->init(N, N, nullptr);
  return true;
}

bool TSystem::_gesund_und_krank() {
  const int d1 = TDimensionen::dim1;
  bgesund.init(N, nullptr, true);
  for (const TKnoten* kn : Unbekanntenknoten) {
    if (kn->status == OBJSTATUS_AKTIV) continue;
    for (int i = 0; i < d1; ++i)
      bgesund[d1 * kn->sysposkno + i] = false;
  }
  const double Kiimax = TVM::maxhauptdiagele(K);
  if (Kiimax < schranke) {
    *konsaus << "FEHLER in <bool TSystem::_gesund_und_krank()>: Kiimax=" << Kiimax << "<schranke=" << schranke
             << "\n"
             << std::flush;
    abbruch();
    return false;
  }
  // The penalty and contact springs are left out of the body's own diagonal:
  // a large penalty parameter would otherwise raise Kiimax so far that the
  // unknowns of the body itself count as sick and are set to 0.
  const bool bstraf = Kstraf.zeilen == N && Kstraf.spalten == N;
  const bool bkon = mpm->stw.bkontakt && Kkon.zeilen == N && Kkon.spalten == N;
  TVM::VekR eigen(N);
  double eigenmax = 0.0;
  for (int i = 0; i < N; ++i) {
    eigen[i] = K[i][i] + (bstraf ? Kstraf[i][i] : 0.0) + (bkon ? Kkon[i][i] : 0.0);
    eigenmax = std::max(eigenmax, std::fabs(eigen[i]));
  }
  for (int i = 0; i < N; ++i) {
    const bool eigen_klein = !(eigenmax > 0.0) || std::fabs(eigen[i]) / eigenmax < schranke;
    if (std::fabs(K[i][i]) / Kiimax < schranke && eigen_klein) bgesund[i] = false;
  }
  return true;
}

bool TSystem::_aufteilen() {
  N0 = N1 = N2 = 0;
  Nstraf = 0.0;
  typ.init(N, nullptr, 2u);
  for (int i = 0; i < N; ++i) {
    Nstraf += strafgewicht[i];
    if (bvorgeschrieben[i]) {
      typ[i] = 1;
      ++N1;
    } else if (bgesund[i]) {
      typ[i] = 0;
      ++N0;
    } else {
      ++N2;
    }
  }
  return true;
}

double TSystem::M_zeilensumme(int i) const {
  if (i < 0 || i >= M.zeilen) return 0.0;
  double summe = 0.0;
  for (int j = 0; j < M.spalten; ++j) summe += M[i][j];
  return summe;
}

double TSystem::K_diagonale(int i) const { return i >= 0 && i < K.zeilen && i < K.spalten ? K[i][i] : 0.0; }

void TSystem::Kstraf_addieren(int i, int j, double wert) {
  if (i >= 0 && j >= 0 && i < Kstraf.zeilen && j < Kstraf.spalten) Kstraf[i][j] += wert;
}

bool TSystem::_umspeichern(RICHTUNG r) {
  if (r == RICHTUNG_VORWAERTS) {
    U_n = U;
    Ut_n = Ut;
    Utt_n = Utt;
  } else if (r == RICHTUNG_RUECKWAERTS) {
    U = U_n;
    Ut = Ut_n;
    Utt = Utt_n;
  }
  U_it = U;
  dU.init(-1, nullptr);
  dU_alt.init(-1, nullptr);
  normdU = normdU_j = cosdU = 0.0;
  for (TVM::VekR* v : {&fint, &fstraf, &fckon, &fext, &fm, &KU_it, &mG, &G, &R, &KdU, &Gnorm})
    v->init(-1, nullptr);
  return true;
}

namespace {
constexpr double eps = 2.220446049250313e-16;

// Y += f * B^T A B2 for A (m x m) and B, B2 (m x n); without A, Y += f * B^T B2.
void bt_a_b(const TVM::MatR& B, const TVM::MatR* A, double f, TVM::MatR& Y, const TVM::MatR* B2 = nullptr) {
  const TVM::MatR& rechts = B2 ? *B2 : B;
  const TVM::MatR AB = A ? *A * rechts : rechts;
  for (int i = 0; i < B.spalten; ++i)
    for (int k = 0; k < B.zeilen; ++k) {
      const double bki = f * B[k][i];
      if (bki == 0.0) continue;
      const double* abk = AB[k];
      double* yi = Y[i];
      for (int j = 0; j < B.spalten; ++j)
        yi[j] += bki * abk[j];
    }
}

// The three Newmark factors of the inertia force; the explicit method uses
// backward differences instead.
void traegheitsfaktoren(const Tmpm& mpm, double& a0, double& a1, double& a2) {
  const TSteuerparam& stw = mpm.stw;
  if (stw.zeitschrittverf == ZEITSCHRITTVERF_EXPLIZIT) {
    const double h = mpm.dt;
    a0 = h != 0.0 ? 1.0 / (h * h) : 0.0;
    a1 = h != 0.0 ? 1.0 / h : 0.0;
    a2 = 0.0;
  } else {
    a0 = stw.newmark_koeff[0];
    a1 = stw.newmark_koeff[1];
    a2 = stw.newmark_koeff[2];
  }
}
// Large strains: the material law gives the second Piola-Kirchhoff stress S
// and dS/dE for the Green-Lagrange strain E. In the reference configuration
// (gradients G with respect to the reference coordinates) the strain matrix
// becomes B_F with dE = B_F du and the stress stays S; in the current
// configuration (G with respect to the current coordinates) B stays and
// stress and tangent are pushed forward: sigma = P S / J, c = P C P^T / J.
// Both give the same operator. False when F is not a plane 2 x 2 tensor.
bool grosse_verzerrungen(const TZustgroe& zg, const TVM::MatR& G, KONFIGUR konfigur, TVM::MatR& B,
                         TVM::MatR& C, TVM::VekR& sig) {
  if (zg.F.zeilen != 2 || zg.F.spalten != 2 || sig.n != 3 || C.zeilen != 3) return false;
  if (konfigur == KONFIGUR_REFKONF) {
    MECH::_B_F(G, zg.F, B);
    return true;
  }
  if (!(zg.J > 0.0)) return false;
  TVM::MatR P, Pt;
  MECH::_P_voigt(zg.F, P);
  TVM::Transponieren(P, Pt);
  C = P * C * Pt;
  C *= 1.0 / zg.J;
  sig = P * sig;
  sig *= 1.0 / zg.J;
  return true;
}
} // namespace

bool TIntegrationspunkt::_M_fm_KT_fint(TVM::MatR& Me, TVM::MatR& KTe, TVM::VekR& fme, TVM::VekR& finte,
                                       bool binit) {
  const int d1 = dim1;
  const int n = ans_kno ? ans_kno->_Np() : 0;
  if (binit) {
    Me.init(n * d1, n * d1, nullptr);
    KTe.init(n * d1, n * d1, nullptr);
    fme.init(n * d1, nullptr);
    finte.init(n * d1, nullptr);
  }
  if (n == 0 || status != OBJSTATUS_AKTIV) return false;
  const TSteuerparam& stw = mpm->stw;
  const TZustgroe& zg = _zg();

  TVM::MatR N, B;
  ELE::_Lmat(ans_kno->L, N, dim, n, 1);
  ELE::_Gepsmat(ans_kno->G, B, dim, n, 1);
  if (N.spalten != n * d1 || B.spalten != n * d1) return false;

  if (stw.bmassen) {
    TVM::MatR Mp(n * d1, n * d1);
    bt_a_b(N, nullptr, zg.rho0 * vol0, Mp);
    Mp.Konzentrieren(stw.m_verklumpen);
    Me += Mp;
    double a0, a1, a2;
    traegheitsfaktoren(*mpm, a0, a1, a2);
    TVM::VekR v(n * d1);
    for (int k = 0; k < n; ++k) {
      const TZustgroe& kz = ans_kno->stuetzpu[k]->_zg();
      for (int c = 0; c < d1; ++c)
        v[k * d1 + c] = a0 * (kz.u_n[c] - kz.u[c]) + a1 * kz.ut_n[c] + a2 * kz.utt_n[c];
    }
    fme += Mp * v;
  }

  const double V = _vol(stw.konfigur);
  TVM::MatR C = zg.CT;
  TVM::MatR D = zg.DT;
  D *= stw.newmark_koeff[3];
  C += D;
  TVM::VekR sig = zg.sig;
  if (stw.verzerr == VERZERR_GROVERZ) {
    if (!grosse_verzerrungen(zg, ans_kno->G, stw.konfigur, B, C, sig)) return false;
    bt_a_b(B, &C, V, KTe);
    MECH::_K_geo_addieren(ans_kno->G, sig, V, KTe);
  } else if (stw.konfigur == KONFIGUR_MOMKONF) {
    // Small strains on the current geometry: eps = sym(F - I) varies with
    // sym(du (x) F^T g), and the gradients g and the volume J V0 follow the
    // motion of the nodes. The derivative of these forces is not symmetric.
    TVM::MatR GF = ans_kno->G * zg.F, BF;
    ELE::_Gepsmat(GF, BF, dim, n, 1);
    if (BF.spalten != n * d1) return false;
    bt_a_b(B, &C, V, KTe, &BF);
    MECH::_K_spannung_addieren(ans_kno->G, sig, V, KTe);
  } else {
    bt_a_b(B, &C, V, KTe);
  }
  sig *= V;
  finte += sig * B;
  return true;
}

bool Tmpm::_M_Fm_KT_Fint() {
  TSystem& s = *sys;
  s.M.init(s.N, s.N, nullptr);
  s.KT.init(s.N, s.N, nullptr);
  s.fm.init(s.N, nullptr);
  s.fint.init(s.N, nullptr);
  TVM::MatR Me, KTe;
  TVM::VekR fme, finte;
  TVM::TVektor<int> pos;
  for (const auto& eintrag : ipu) {
    TIntegrationspunkt* ip = IPU_Z(eintrag.second);
    if (!ip->_M_fm_KT_fint(Me, KTe, fme, finte, true)) continue;
    _einbaupos(ip->ans_kno->stuetzpu, pos);
    for (int i = 0; i < pos.n; ++i) {
      const int pi = pos[i];
      if (pi < 0 || pi >= s.N) continue;
      s.fm[pi] += fme[i];
      s.fint[pi] += finte[i];
      double* Mi = s.M[pi];
      double* Ki = s.KT[pi];
      for (int j = 0; j < pos.n; ++j) {
        const int pj = pos[j];
        if (pj < 0 || pj >= s.N) continue;
        Mi[pj] += Me[i][j];
        Ki[pj] += KTe[i][j];
      }
    }
  }
  return true;
}

bool Tmpm::_tangente_symmetrisch() const {
  return !(stw.konfigur == KONFIGUR_MOMKONF && stw.verzerr == VERZERR_KLNVERZ);
}

bool Tmpm::_U_Ut_Utt() {
  TSystem& s = *sys;
  const bool bexplizit = stw.zeitschrittverf == ZEITSCHRITTVERF_EXPLIZIT;
  s.U_it = s.U;
  s.dU_alt = s.dU;
  s.normdU_j = s.normdU;
  bkonv = false;

  if (dt == 0.0) {
    *konsaus << "<bool Tmpm::_U_Ut_Utt()>: dt=0.\n" << std::flush;
    s.dU.init(s.N, nullptr);
    s.U = s.U_n;
    s.Ut = s.Ut_n;
    s.Utt = s.Utt_n;
    bkonv = true;
    return true;
  }

  const TVM::VekR& a = stw.newmark_koeff;
  if (bexplizit) {
    s.Keff = s.M;
    s.Keff *= 1.0 / (dt * dt);
  } else {
    s.Keff = s.KT;
    if (stw.bmassen)
      for (long k = 0; k < s.Keff.anzahl(); ++k)
        s.Keff.data[k] += a[0] * s.M.data[k];
  }
  s.Keff -= s.Kstraf;
  if (stw.bkontakt) s.Keff -= s.Kkon;
  s.K = s.Keff;
  s.KU_it = s.Keff * s.U_it;

  s.G = s.fext;
  if (stw.bmassen) s.G += s.fm;
  s.G -= s.fint;
  s.G += s.fstraf;
  if (stw.bkontakt) s.G += s.fckon;
  s.R = s.G;
  s.R += s.KU_it;

  for (int i = 0; i < s.N; ++i)
    s.U[i] = s.bvorgeschrieben[i] ? s.Uvor[i] : 0.0;

  if (!s._gesund_und_krank()) return false;
  s._aufteilen();
  TVM::MatR Kteile[4];
  TVM::VekR Uteile[2], Rteile[2];
  TVM::MatrixZerlegung(s.K, 2, 2, s.typ, s.typ, Kteile);
  TVM::VektorZerlegung(s.U, 2, s.typ, Uteile);
  TVM::VektorZerlegung(s.R, 2, s.typ, Rteile);
  s.K11 = Kteile[0];
  s.K12 = Kteile[1];
  s.K21 = Kteile[2];
  s.K22 = Kteile[3];
  s.U1 = Uteile[0];
  s.U2 = Uteile[1];
  s.R1 = Rteile[0];
  s.R2 = Rteile[1];

  if (s.N0 > 0) {
    s.K11inv = s.K11;
    double det = 0.0;
    int stellen = 0;
    // The profile solver reads only the upper triangle of a symmetric matrix.
    const MATHE::LOESER loeser = stw.gleichloes_bil == MATHE::LOESER_PROFIL && !_tangente_symmetrisch()
                                     ? MATHE::LOESER_LU
                                     : stw.gleichloes_bil;
    const bool invertiert = TVM::loeser_inverse(s.K11inv, det, loeser) == 1 &&
                            TVM::Konditionskontrolle(s.K11, s.K11inv, stellen, 3);
    if (!invertiert) {
      *konsaus << "FEHLER in <Tmpm::_U_Ut_Utt()>: Invertieren von K11 gescheitert\n" << std::flush;
      if (!bexplizit) return false;
      abbruch();
      return false;
    }
    TVM::VekR rechts = s.R1;
    if (!bexplizit && s.N1 > 0) rechts -= s.K12 * s.U2;
    s.U1 = s.K11inv * rechts;
    Uteile[0] = s.U1;
    TVM::VektorZusammenfassung(s.U, 2, s.typ, Uteile);
  }

  s.dU = s.U;
  s.dU -= s.U_it;
  s.normdU = TVM::norm(s.dU);
  s.cosdU =
      s.normdU > eps && s.normdU_j > eps ? TVM::skalarprodukt(s.dU, s.dU_alt) / s.normdU / s.normdU_j : 0.0;
  s.mG = s.G;
  s.mG *= -1.0;
  TVM::VekR Gteile[2];
  TVM::VektorZerlegung(s.mG, 2, s.typ, Gteile);
  s.G1 = Gteile[0];
  s.G2 = Gteile[1];
  s.KdU = s.Keff * s.dU;
  // The residual over the free unknowns, reported as normG.
  s.Gnorm.init(s.N, nullptr);
  for (int i = 0; i < s.N; ++i)
    if (s.typ[i] == 0) s.Gnorm[i] = s.G[i];
  s.normG = TVM::norm(s.Gnorm);

  if (s.normdU < stw.schranke_normdU) bkonv = true;
  if (!bkonv && stw.bkonvkontrbilanzit && jj >= 1) {
    const double p = std::pow(s.normdU_j, stw.minkonvbilanzit);
    if (s.normdU > p) {
      *konsaus << "Keine hinreichende Konvergenz, jj=" << jj << ": "
               << "normdU=" << s.normdU << " > pow(normdU_j," << stw.minkonvbilanzit << ")"
               << " = pow(" << s.normdU_j << ", " << stw.minkonvbilanzit << ")"
               << " = " << p << "\n"
               << std::flush;
      return false;
    }
  }

  for (int i = 0; i < s.N; ++i) {
    const double du = s.U[i] - s.U_n[i];
    if (bexplizit) {
      s.Ut[i] = du / dt;
      s.Utt[i] = (s.Ut[i] - s.Ut_n[i]) / dt;
    } else {
      s.Ut[i] = a[3] * du + a[4] * s.Ut_n[i] + a[5] * s.Utt_n[i];
      s.Utt[i] = a[0] * du - a[1] * s.Ut_n[i] - a[2] * s.Utt_n[i];
    }
  }
  if (bkonv) return true;
  if (jj >= static_cast<int>(stw.maxNbilanzit)) {
    *konsaus << "Maximalzahl der Bilanziterationsschritte erreicht (jj=" << jj << ")\n" << std::flush;
    return false;
  }
  return true;
}

} // namespace MPM
