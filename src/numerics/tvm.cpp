#include "numerics/tvm.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>

#include "frame/mix.h"

namespace TVM {

void indexfehler(long i, long n) {
  std::fprintf(stderr, "TVM: Index %ld ausserhalb von [0, %ld)\n", i, n);
  std::abort();
}

namespace {
constexpr double eps = 2.220446049250313e-16;
constexpr double wurzel2 = 1.4142135623730951;
constexpr double wurzel2inv = 0.7071067811865476;

double det2(double a, double b, double c, double d) {
  return a * d - b * c;
}

// Determinant of the 3x3 minor of `a` taken from rows r[] and columns c[].
double det3(const MatR& a, const int* r, const int* c) {
  return a[r[0]][c[0]] * det2(a[r[1]][c[1]], a[r[1]][c[2]], a[r[2]][c[1]], a[r[2]][c[2]]) -
         a[r[0]][c[1]] * det2(a[r[1]][c[0]], a[r[1]][c[2]], a[r[2]][c[0]], a[r[2]][c[2]]) +
         a[r[0]][c[2]] * det2(a[r[1]][c[0]], a[r[1]][c[1]], a[r[2]][c[0]], a[r[2]][c[1]]);
}

// Indices 0..3 without k.
void ohne(int k, int* rest) {
  for (int i = 0, m = 0; i < 4; ++i)
    if (i != k) rest[m++] = i;
}

// Cofactor (i, j) of a matrix of order n <= 4.
double kofaktor(const MatR& a, int n, int i, int j) {
  const double vorzeichen = (i + j) % 2 == 0 ? 1.0 : -1.0;
  if (n == 1) return 1.0;
  if (n == 2) return vorzeichen * a[1 - i][1 - j];
  if (n == 3) {
    const int r0 = i == 0 ? 1 : 0, r1 = i == 2 ? 1 : 2;
    const int c0 = j == 0 ? 1 : 0, c1 = j == 2 ? 1 : 2;
    return vorzeichen * det2(a[r0][c0], a[r0][c1], a[r1][c0], a[r1][c1]);
  }
  int r[3], c[3];
  ohne(i, r);
  ohne(j, c);
  return vorzeichen * det3(a, r, c);
}

bool inverse_ordnung(const MatR& a, MatR& ainv, double& det, int n) {
  if (a.zeilen != n || a.spalten != n) {
    det = 0.0;
    return false;
  }
  det = determinante_nxn(a);
  if (std::fabs(det) <= eps) return false;
  double b[16]; // n <= 4; a and ainv may be the same matrix
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      b[i * n + j] = kofaktor(a, n, j, i) / det;
  ainv.init(n, n, b);
  return true;
}

template <class T> std::ostream& vektor_ausgeben(std::ostream& os, const TVektor<T>& v) {
  const int format = TVekMat::format();
  if (format != 0) os << '<' << v.n << '>';
  if (v.n == 0) return os;
  switch (format) {
  case 0:
    for (int i = 0; i < v.n; ++i)
      os << (i ? " " : "") << _str(v[i], 10);
    break;
  case 1:
    os << '|';
    for (int i = 0; i < v.n; ++i)
      os << _str(v[i], 10) << '|';
    break;
  case 3:
    for (int i = 0; i < v.n; ++i)
      os << "\n(" << i << ")=" << _str(v[i], 10);
    break;
  default:
    os << '[';
    for (int i = 0; i < v.n; ++i)
      os << (i ? "|" : "") << _str(v[i], 10);
    os << ']';
    break;
  }
  return os;
}
} // namespace

int& TVekMat::format() {
  static int format = 2;
  return format;
}

double skalarprodukt(const VekR& a, const VekR& b) {
  double s = 0.0;
  for (int i = 0; i < a.n; ++i)
    s += a[i] * b[i];
  return s;
}

double norm(const VekR& a) {
  return std::sqrt(skalarprodukt(a, a));
}

double determinante_nxn(const MatR& a) {
  if (a.zeilen != a.spalten) return 0.0;
  switch (a.zeilen) {
  case 1:
    return a[0][0];
  case 2:
    return det2(a[0][0], a[0][1], a[1][0], a[1][1]);
  case 3: {
    const int r[] = {0, 1, 2};
    return det3(a, r, r);
  }
  case 4: {
    double d = 0.0;
    for (int j = 0; j < 4; ++j)
      d += a[0][j] * kofaktor(a, 4, 0, j);
    return d;
  }
  default:
    return 0.0;
  }
}

bool inverse_1x1(const MatR& a, MatR& ainv, double& det) {
  return inverse_ordnung(a, ainv, det, 1);
}
bool inverse_2x2(const MatR& a, MatR& ainv, double& det) {
  return inverse_ordnung(a, ainv, det, 2);
}
bool inverse_3x3(const MatR& a, MatR& ainv, double& det) {
  return inverse_ordnung(a, ainv, det, 3);
}
bool inverse_4x4(const MatR& a, MatR& ainv, double& det) {
  return inverse_ordnung(a, ainv, det, 4);
}

bool inverse_nxn(const MatR& a, MatR& ainv, double& det) {
  if (a.zeilen != a.spalten || a.zeilen < 1 || a.zeilen > 4) return false;
  return inverse_ordnung(a, ainv, det, a.zeilen);
}

namespace {
// Voigt vectors have at most six components; the results are formed on the
// stack first, as a and b may be the same vector.
constexpr int maxvoigt = 6;

VekR& voigt_skalieren(const VekR& a, VekR& b, double faktor) {
  if (a.n > maxvoigt) {
    VekR c(a);
    for (int i = MATHE::_dim1(a.n); i < c.n; ++i)
      c[i] *= faktor;
    return b = c;
  }
  double c[maxvoigt];
  std::copy(a.begin(), a.end(), c);
  const int normal = MATHE::_dim1(a.n);
  for (int i = normal; i < a.n; ++i)
    c[i] *= faktor;
  return b.init(a.n, c);
}
} // namespace

VekR& vektorV_transform(const VekR& a, VekR& b) {
  return voigt_skalieren(a, b, wurzel2);
}
VekR& vektorV_ruecktransform(const VekR& a, VekR& b) {
  return voigt_skalieren(a, b, wurzel2inv);
}

VekR& vektorV_transform(const MatR& a, VekR& b) {
  const int d = std::min(a.zeilen, a.spalten);
  double c[maxvoigt];
  const int n = MATHE::_dim2(d);
  if (n == 0) return b.init(0, nullptr);
  int k = 0;
  for (int i = 0; i < d; ++i)
    c[k++] = a[i][i];
  for (int i = 0; i < d; ++i)
    for (int j = i + 1; j < d; ++j)
      c[k++] = wurzel2 * a[i][j];
  return b.init(n, c);
}

std::ostream& operator<<(std::ostream& os, const TVektor<double>& v) {
  return vektor_ausgeben(os, v);
}
std::ostream& operator<<(std::ostream& os, const TVektor<int>& v) {
  return vektor_ausgeben(os, v);
}
std::ostream& operator<<(std::ostream& os, const TVektor<unsigned int>& v) {
  return vektor_ausgeben(os, v);
}
std::ostream& operator<<(std::ostream& os, const TVektor<bool>& v) {
  return vektor_ausgeben(os, v);
}

std::ostream& operator<<(std::ostream& os, const TMatrix<double>& m) {
  const int format = TVekMat::format();
  if (format != 0) os << '<' << m.zeilen << '|' << m.spalten << '>';
  if (m.anzahl() == 0) return os;
  switch (format) {
  case 0:
    for (long k = 0; k < m.anzahl(); ++k)
      os << (k ? " " : "") << _str(m.data[k], 10);
    break;
  case 3:
    for (int i = 0; i < m.zeilen; ++i)
      for (int j = 0; j < m.spalten; ++j)
        os << "\n(" << i << ',' << j << ")=" << _str(m[i][j], 10);
    break;
  default: {
    const char auf = format == 1 ? '|' : '[';
    const char zu = format == 1 ? '|' : ']';
    for (int i = 0; i < m.zeilen; ++i) {
      os << '\n' << auf;
      for (int j = 0; j < m.spalten; ++j)
        os << (j ? "|" : "") << _str(m[i][j], 10);
      os << zu;
    }
    break;
  }
  }
  return os;
}

} // namespace TVM

namespace MATHE {

int _dim1(int voigtlaenge) {
  switch (voigtlaenge) {
  case 1:
    return 1;
  case 3:
    return 2;
  case 6:
    return 3;
  default:
    return 0;
  }
}

int _dim2(int ordnung) {
  switch (ordnung) {
  case 1:
    return 1;
  case 2:
    return 3;
  case 3:
    return 6;
  default:
    return 0;
  }
}

} // namespace MATHE
