#include "numerics/mathehilf.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {
constexpr double eps = 2.220446049250313e-16;
constexpr double symtol = 2.220446049250313e-14;
constexpr double grad_zu_rad = 0.017453292519943295;
constexpr double rad_zu_grad = 57.29577951308232;
constexpr double zwei_hoch_52 = 4503599627370496.0; // from here on every double is an integer

// Round half up of |v| < 2^52; v - floor(v) is exact there, so no tie is
// misjudged by the rounding of v + 0.5.
double halb_auf(double v) {
  const double r = std::floor(v);
  return v - r >= 0.5 ? r + 1.0 : r;
}

// w lies on a multiple of `periode` (exactly, or with `tol` closer than
// periode * 2^-52 from either side). fmod is exact, so no rounded quotient
// decides the case.
bool auf_vielfachem(double w, double periode, bool tol) {
  const double d = std::fmod(std::fabs(w), periode);
  const double abstand = std::min(d, periode - d);
  return abstand == 0.0 || (tol && abstand < periode * eps);
}

// Scale for the absolute tolerances of the eigen-solution: they apply as
// given to matrices of magnitude 1 and above and shrink with smaller ones.
double toleranzskala(const TVM::MatR& a) {
  double m = 0.0;
  for (long k = 0; k < a.anzahl(); ++k)
    m = std::max(m, std::fabs(a.data[k]));
  return std::min(1.0, m);
}

// Off-diagonal pair test; exact equality also passes a zero tolerance.
bool symmetrisch(double x, double y, double tol) {
  return x == y || MATHE::fastgleich(x, y, tol);
}

bool endlich(const TVM::MatR& a) {
  for (long k = 0; k < a.anzahl(); ++k)
    if (!std::isfinite(a.data[k])) return false;
  return true;
}
} // namespace

namespace MATHE {

bool fastgleich(double a, double b, double tol) {
  const double t = std::fabs(tol);
  return b - t < a && a < b + t;
}

bool fastnull(double a, double tol) {
  const double t = std::fabs(tol);
  return -t < a && a < t;
}

double runde(double x, int stellen) {
  if (!std::isfinite(x)) return x;
  stellen = std::max(-400, std::min(400, stellen));
  const double faktor = std::pow(10.0, std::abs(stellen)); // exact up to 10^22
  if (stellen >= 0) {
    const double v = x * faktor;
    if (!(std::fabs(v) < zwei_hoch_52)) return x;
    return halb_auf(v) / faktor;
  }
  if (std::isinf(faktor)) return 0.0;
  const double v = x / faktor;
  if (!(std::fabs(v) < zwei_hoch_52)) return x;
  return halb_auf(v) * faktor;
}

double pythag(double a, double b) {
  if (std::isinf(a) || std::isinf(b)) return std::numeric_limits<double>::infinity();
  const double fa = std::fabs(a), fb = std::fabs(b);
  if (fa > fb) {
    const double q = fb / fa;
    return fa * std::sqrt(1.0 + q * q);
  }
  if (fb == 0.0) return 0.0;
  const double q = fa / fb;
  return fb * std::sqrt(1.0 + q * q);
}

double zufall(double a, double b) {
  const double z = a + std::rand() * (1.0 / (RAND_MAX + 1.0)) * (b - a);
  // a + u (b - a) may round onto b when b - a is tiny against a.
  if ((a < b && z >= b) || (b < a && z <= b)) return std::nextafter(b, a);
  return z;
}

double winkel_vereinfachen(double w) {
  if (!std::isfinite(w)) return std::numeric_limits<double>::quiet_NaN();
  double r = std::remainder(w, 360.0); // exact, in [-180, 180]
  if (r > 180.0) r -= 360.0;
  if (r <= -180.0) r += 360.0;
  return r;
}

int winkel_richtung(double w, bool tol) {
  static const struct {
    double achse;
    int richtung;
  } faelle[] = {{0.0, 1}, {180.0, -1}, {90.0, 2}, {270.0, -2}};
  for (const auto& f : faelle)
    if (auf_vielfachem(w - f.achse, 360.0, tol)) return f.richtung;
  return 0;
}

bool b_winkel_gleich(double w1, double w2, bool tol, bool halbkreis) {
  return auf_vielfachem(w1 - w2, halbkreis ? 180.0 : 360.0, tol);
}

double sin(double w, bool tol) {
  switch (winkel_richtung(w, tol)) {
  case 1:
  case -1:
    return 0.0;
  case 2:
    return 1.0;
  case -2:
    return -1.0;
  default:
    return std::sin(w * grad_zu_rad);
  }
}

double cos(double w, bool tol) {
  switch (winkel_richtung(w, tol)) {
  case 1:
    return 1.0;
  case -1:
    return -1.0;
  case 2:
  case -2:
    return 0.0;
  default:
    return std::cos(w * grad_zu_rad);
  }
}

void polar(const TVM::VekR& v, double& r, TVM::VekR& winkel) {
  r = 0.0;
  winkel.init(1, nullptr);
  if (v.n != 2 || winkel.n != 1) return;
  const double x = v[0], y = v[1];
  if (x * x + y * y < eps) return;
  r = pythag(x, y);
  // atan2 keeps full precision near 0 and 180 degrees, where acos(x / r) does not.
  winkel[0] = std::atan2(std::fabs(y), x) * rad_zu_grad;
  if (y < 0.0) winkel[0] = -winkel[0];
}

} // namespace MATHE

namespace TVM {

namespace {

bool eigen_2x2(const MatR& A, VekR& lambda, MatR& V, VekR& winkel) {
  const double skala = toleranzskala(A);
  if (!symmetrisch(A[0][1], A[1][0], symtol * skala)) return false;
  const double a = A[0][0], b = A[0][1], d = A[1][1];
  const double diff = a - d;
  const double h = MATHE::pythag(2.0 * b, diff); // lambda1 - lambda2
  const double l1 = 0.5 * (a + d + h), l2 = 0.5 * (a + d - h);
  if (!std::isfinite(l1) || !std::isfinite(l2)) return false;

  double c = 1.0, s = 0.0;
  if (h > 0.0 && !MATHE::fastnull(l1 - l2, symtol * skala)) {
    // The row with the smaller diagonal is (|diff| + h) / 2 away from l1, free
    // of cancellation; it gives t = s/c (a >= d) or c/s (a < d), |t| <= 1.
    const double t = 2.0 * b / (std::fabs(diff) + h);
    const double n = std::sqrt(1.0 + t * t);
    if (diff >= 0.0) {
      c = 1.0 / n;
      s = t / n;
    } else if (t >= 0.0) {
      c = t / n;
      s = 1.0 / n;
    } else {
      c = -t / n;
      s = -1.0 / n;
    }
  }

  lambda.init(2, nullptr);
  V.init(2, 2, nullptr);
  winkel.init(1, nullptr);
  if (lambda.n != 2 || V.zeilen != 2 || V.spalten != 2 || winkel.n != 1) return false;
  lambda[0] = l1;
  lambda[1] = l2;
  V[0][0] = c;
  V[0][1] = s;
  V[1][0] = s == 0.0 ? 0.0 : -s;
  V[1][1] = c;
  winkel[0] = std::atan2(s, c) * rad_zu_grad;
  return true;
}

} // namespace

bool eigen_nxn_sym(const MatR& A, VekR& lambda, MatR& V, VekR& winkel) {
  if (A.zeilen != A.spalten || !endlich(A)) return false;
  switch (A.zeilen) {
  case 1:
    lambda.init(1, nullptr, A[0][0]);
    V.init(1, 1, nullptr, 1.0);
    winkel.init(0, nullptr);
    return true;
  case 2:
    return eigen_2x2(A, lambda, V, winkel);
  case 3: {
    const double tol = symtol * toleranzskala(A);
    for (int i = 0; i < 3; ++i)
      for (int j = i + 1; j < 3; ++j)
        if (!symmetrisch(A[i][j], A[j][i], tol)) return false;
    lambda.init(3, nullptr);
    V.init(3, 3, nullptr);
    winkel.init(2, nullptr);
    return false;
  }
  default:
    return false;
  }
}

} // namespace TVM
