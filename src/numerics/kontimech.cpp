#include "numerics/kontimech.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "frame/fehler.h"
#include "numerics/mathehilf.h"

namespace MECH {

using TVM::MatR;
using TVM::VekR;

bool _hauptstreck(const MatR& F, VekR& lambda, VekR& w) {
  MatR Ft;
  TVM::Transponieren(F, Ft);
  const MatR C = Ft * F;
  MatR V;
  if (!TVM::eigen_nxn_sym(C, lambda, V, w)) {
    std::ostringstream text;
    text << "<bool _hauptstreck(...)> "
         << "Eigenwerte von FT*F nicht berechnet, FT*F=" << C;
    debtest(0, text.str());
    return false;
  }
  // F^T F is positive semi-definite; rounding may leave a tiny negative
  // eigenvalue of a singular F, whose stretch is 0.
  for (double& l : lambda)
    l = std::sqrt(std::max(l, 0.0));
  return true;
}

} // namespace MECH

namespace MECH {

namespace {
constexpr double wurzel2 = 1.4142135623730951;
}

MatR& _P_voigt(const MatR& F, MatR& P) {
  P.init(3, 3, nullptr);
  if (F.zeilen != 2 || F.spalten != 2) return P;
  const double a = F[0][0], b = F[0][1], c = F[1][0], d = F[1][1];
  P[0][0] = a * a;
  P[0][1] = b * b;
  P[0][2] = wurzel2 * a * b;
  P[1][0] = c * c;
  P[1][1] = d * d;
  P[1][2] = wurzel2 * c * d;
  P[2][0] = wurzel2 * a * c;
  P[2][1] = wurzel2 * b * d;
  P[2][2] = a * d + b * c;
  return P;
}

MatR& _B_F(const MatR& G, const MatR& F, MatR& B) {
  const int n = G.zeilen;
  B.init(3, 2 * n, nullptr);
  if (G.spalten != 2 || F.zeilen != 2 || F.spalten != 2) return B;
  const double s = 1.0 / wurzel2;
  for (int k = 0; k < n; ++k) {
    const double g0 = G[k][0], g1 = G[k][1];
    // Displacement component c of source k varies F^T e_c = row c of F.
    for (int c = 0; c < 2; ++c) {
      const double f0 = F[c][0], f1 = F[c][1];
      const int spalte = 2 * k + c;
      B[0][spalte] = f0 * g0;
      B[1][spalte] = f1 * g1;
      B[2][spalte] = s * (f0 * g1 + f1 * g0);
    }
  }
  return B;
}

void _K_geo_addieren(const MatR& G, const VekR& S, double V, MatR& K) {
  const int n = G.zeilen;
  if (G.spalten != 2 || S.n != 3 || K.zeilen != 2 * n || K.spalten != 2 * n) return;
  const double s11 = S[0], s22 = S[1], s12 = S[2] / wurzel2;
  for (int k = 0; k < n; ++k) {
    const double a0 = s11 * G[k][0] + s12 * G[k][1];
    const double a1 = s12 * G[k][0] + s22 * G[k][1];
    for (int l = 0; l < n; ++l) {
      const double w = V * (a0 * G[l][0] + a1 * G[l][1]);
      K[2 * k][2 * l] += w;
      K[2 * k + 1][2 * l + 1] += w;
    }
  }
}

void _K_spannung_addieren(const MatR& G, const VekR& sig, double V, MatR& K) {
  const int n = G.zeilen;
  if (G.spalten != 2 || sig.n != 3 || K.zeilen != 2 * n || K.spalten != 2 * n) return;
  const double s11 = sig[0], s22 = sig[1], s12 = sig[2] / wurzel2;
  for (int k = 0; k < n; ++k) {
    const double sgk[2] = {s11 * G[k][0] + s12 * G[k][1], s12 * G[k][0] + s22 * G[k][1]};
    for (int l = 0; l < n; ++l) {
      const double sgl[2] = {s11 * G[l][0] + s12 * G[l][1], s12 * G[l][0] + s22 * G[l][1]};
      for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b)
          K[2 * k + a][2 * l + b] += V * (sgk[a] * G[l][b] - sgl[a] * G[k][b]);
    }
  }
}

} // namespace MECH
