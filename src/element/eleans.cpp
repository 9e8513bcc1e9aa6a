#include "element/eleans.h"

#include <algorithm>
#include <map>
#include <ostream>
#include <vector>

#include "element/eleglob.h"
#include "frame/mpmextern.h"

namespace ELEANS {

using TVM::MatR;
using TVM::VekR;
using namespace ELE;

namespace {

constexpr double eps = 2.220446049250313e-16;
constexpr double drittel = 1.0 / 3.0;

// Node coordinates, node by node. The lower orders and the serendipity
// families use the leading nodes of these lists.
// clang-format off
constexpr double knoten_linie[] = {-1.0, 1.0, -drittel, drittel};
constexpr double knoten_linie2[] = {-1.0, 1.0, 0.0};
constexpr double knoten_dreieck2[] = {
    0.0, 0.0,   1.0, 0.0,   0.0, 1.0,
    0.5, 0.0,   0.5, 0.5,   0.0, 0.5};
constexpr double knoten_dreieck3[] = {
    0.0, 0.0,   1.0, 0.0,   0.0, 1.0,
    drittel, 0.0,   2.0 * drittel, 0.0,   2.0 * drittel, drittel,
    drittel, 2.0 * drittel,   0.0, 2.0 * drittel,   0.0, drittel,
    drittel, drittel};
constexpr double knoten_viereck2[] = {
    -1.0, -1.0,   1.0, -1.0,   1.0, 1.0,   -1.0, 1.0,
    0.0, -1.0,   1.0, 0.0,   0.0, 1.0,   -1.0, 0.0,
    0.0, 0.0};
constexpr double knoten_viereck3[] = {
    -1.0, -1.0,   1.0, -1.0,   1.0, 1.0,   -1.0, 1.0,
    -drittel, -1.0,   drittel, -1.0,   1.0, -drittel,   1.0, drittel,
    drittel, 1.0,   -drittel, 1.0,   -1.0, drittel,   -1.0, -drittel,
    -drittel, -drittel,   drittel, -drittel,   drittel, drittel,   -drittel, drittel};
// clang-format on

// 1-D node indices (along xi, along eta) of the quadrilateral Lagrange nodes,
// the 1-D nodes numbered as on the line.
const int paare1[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
const int paare2[9][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {2, 0}, {1, 2}, {2, 1}, {0, 2}, {2, 2}};
const int paare3[16][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {2, 0}, {3, 0}, {1, 2}, {1, 3},
                           {3, 1}, {2, 1}, {0, 3}, {0, 2}, {2, 2}, {3, 2}, {3, 3}, {2, 3}};
const int (*paare(int ordnung))[2] {
  return ordnung == 1 ? paare1 : ordnung == 2 ? paare2 : paare3;
}

// Element data columns of the nodes on the four edges, in 1-D node order:
// along xi at eta = -1 and eta = 1, along eta at xi = -1 and xi = 1.
const int kante_unten[3][4] = {{0, 1}, {0, 1, 4}, {0, 1, 4, 5}};
const int kante_oben[3][4] = {{3, 2}, {3, 2, 6}, {3, 2, 9, 8}};
const int kante_links[3][4] = {{0, 3}, {0, 3, 7}, {0, 3, 11, 10}};
const int kante_rechts[3][4] = {{1, 2}, {1, 2, 5}, {1, 2, 6, 7}};
const double ecken_viereck[4][2] = {{-1.0, -1.0}, {1.0, -1.0}, {1.0, 1.0}, {-1.0, 1.0}};

// Resizes an output; false when it is a view of another size.
bool groesse(VekR& v, int n) {
  v.init(n, nullptr);
  return v.n == n;
}
bool groesse(MatR& m, int z, int s) {
  m.init(z, s, nullptr);
  return m.zeilen == z && m.spalten == s;
}

bool bxi_linie(const VekR& xi, bool btol) {
  if (xi.n < 1) return false;
  const double t = btol ? eps : 0.0;
  return xi[0] + t > -1.0 && xi[0] - t < 1.0;
}
bool bxi_dreieck(const VekR& xi, bool btol) {
  if (xi.n < 2) return false;
  const double t = btol ? eps : 0.0;
  return xi[0] + t > 0.0 && xi[0] - t < 1.0 && xi[1] + t > 0.0 && xi[1] - t < 1.0 && xi[0] + xi[1] - t < 1.0;
}
bool bxi_viereck(const VekR& xi, bool btol) {
  if (xi.n < 2) return false;
  const double t = btol ? eps : 0.0;
  return xi[0] + t > -1.0 && xi[0] - t < 1.0 && xi[1] + t > -1.0 && xi[1] - t < 1.0;
}

// Lagrange polynomials of order 1 to 3 on the line nodes and their derivatives.
void lagrange1d(int ordnung, double x, double* L, double* dL) {
  switch (ordnung) {
  case 1:
    L[0] = 0.5 * (1.0 - x);
    L[1] = 0.5 * (1.0 + x);
    dL[0] = -0.5;
    dL[1] = 0.5;
    break;
  case 2:
    L[0] = 0.5 * x * (x - 1.0);
    L[1] = 0.5 * x * (x + 1.0);
    L[2] = 1.0 - x * x;
    dL[0] = x - 0.5;
    dL[1] = x + 0.5;
    dL[2] = -2.0 * x;
    break;
  default: {
    const double x2 = x * x, x3 = x2 * x;
    L[0] = (-9.0 * x3 + 9.0 * x2 + x - 1.0) / 16.0;
    L[1] = (9.0 * x3 + 9.0 * x2 - x - 1.0) / 16.0;
    L[2] = (27.0 * x3 - 9.0 * x2 - 27.0 * x + 9.0) / 16.0;
    L[3] = (-27.0 * x3 - 9.0 * x2 + 27.0 * x + 9.0) / 16.0;
    dL[0] = (-27.0 * x2 + 18.0 * x + 1.0) / 16.0;
    dL[1] = (27.0 * x2 + 18.0 * x - 1.0) / 16.0;
    dL[2] = (81.0 * x2 - 18.0 * x - 27.0) / 16.0;
    dL[3] = (-81.0 * x2 - 18.0 * x + 27.0) / 16.0;
    break;
  }
  }
}

// Cubic Hermite functions of the line end s (-1 or 1): h0 takes the value,
// h1 the slope d/dxi there; both vanish with their slopes at the other end.
struct Thermite {
  double h0, dh0, h1, dh1;
};
Thermite hermite1d(double s, double x) {
  const double x2 = x * x, x3 = x2 * x;
  if (s < 0.0)
    return {(x3 - 3.0 * x + 2.0) / 4.0, (3.0 * x2 - 3.0) / 4.0, (x3 - x2 - x + 1.0) / 4.0,
            (3.0 * x2 - 2.0 * x - 1.0) / 4.0};
  return {(-x3 + 3.0 * x + 2.0) / 4.0, (-3.0 * x2 + 3.0) / 4.0, (x3 + x2 - x - 1.0) / 4.0,
          (3.0 * x2 + 2.0 * x - 1.0) / 4.0};
}

// Derivative at x of the 1-D Lagrange interpolation of order `ordnung` through
// the element data row `zeile`, columns `spalten` (1-D node order).
double ableitung1d(const MatR& xk, int zeile, const int* spalten, int ordnung, double x) {
  double L[4], dL[4];
  lagrange1d(ordnung, x, L, dL);
  double s = 0.0;
  for (int j = 0; j <= ordnung; ++j)
    s += xk[zeile][spalten[j]] * dL[j];
  return s;
}

// Derivatives of the geometry at the four corners from the edge nodes of the
// element data: b is 4 x 4, row k = corner k with (dx/dxi, dx/deta, dy/dxi,
// dy/deta). False when xk has fewer than 2 rows or 4 * ordnung columns.
bool b_viereck(int ordnung, const MatR& xk, MatR& b) {
  if (xk.zeilen < 2 || xk.spalten < 4 * ordnung || !groesse(b, 4, 4)) return false;
  const int o = ordnung - 1;
  for (int k = 0; k < 4; ++k) {
    const double xik = ecken_viereck[k][0], etak = ecken_viereck[k][1];
    const int* kxi = k < 2 ? kante_unten[o] : kante_oben[o];
    const int* keta = k == 0 || k == 3 ? kante_links[o] : kante_rechts[o];
    for (int c = 0; c < 2; ++c) {
      b[k][2 * c] = ableitung1d(xk, c, kxi, ordnung, xik);
      b[k][2 * c + 1] = ableitung1d(xk, c, keta, ordnung, etak);
    }
  }
  return true;
}

// A family's values w (n) and reference derivatives d (n x dim, row-major) at xi.
using Tauswertung = bool (*)(const MatR& xk, const double* xi, double* w, double* d);

template <int O> bool linie_lagro(const MatR&, const double* xi, double* w, double* d) {
  lagrange1d(O, xi[0], w, d);
  return true;
}

bool dreieck_lagro1(const MatR&, const double* xi, double* w, double* d) {
  w[0] = 1.0 - xi[0] - xi[1];
  w[1] = xi[0];
  w[2] = xi[1];
  const double ab[6] = {-1.0, -1.0, 1.0, 0.0, 0.0, 1.0};
  std::copy(ab, ab + 6, d);
  return true;
}

template <int O> bool viereck_lagro(const MatR&, const double* xi, double* w, double* d) {
  double a[4], da[4], b[4], db[4];
  lagrange1d(O, xi[0], a, da);
  lagrange1d(O, xi[1], b, db);
  const int(*p)[2] = paare(O);
  for (int k = 0; k < (O + 1) * (O + 1); ++k) {
    w[k] = a[p[k][0]] * b[p[k][1]];
    d[2 * k] = da[p[k][0]] * b[p[k][1]];
    d[2 * k + 1] = a[p[k][0]] * db[p[k][1]];
  }
  return true;
}

bool viereck_sereo2(const MatR&, const double* xi, double* w, double* d) {
  const double x = xi[0], y = xi[1];
  for (int k = 0; k < 8; ++k) {
    const double xk = knoten_viereck2[2 * k], yk = knoten_viereck2[2 * k + 1];
    const double a = xk * x, b = yk * y;
    if (k < 4) {
      w[k] = (1.0 + a) * (1.0 + b) * (a + b - 1.0) / 4.0;
      d[2 * k] = xk * (1.0 + b) * (2.0 * a + b) / 4.0;
      d[2 * k + 1] = yk * (1.0 + a) * (a + 2.0 * b) / 4.0;
    } else if (xk == 0.0) {
      w[k] = (1.0 - x * x) * (1.0 + b) / 2.0;
      d[2 * k] = -x * (1.0 + b);
      d[2 * k + 1] = (1.0 - x * x) * yk / 2.0;
    } else {
      w[k] = (1.0 + a) * (1.0 - y * y) / 2.0;
      d[2 * k] = xk * (1.0 - y * y) / 2.0;
      d[2 * k + 1] = -y * (1.0 + a);
    }
  }
  return true;
}

bool viereck_sereo3(const MatR&, const double* xi, double* w, double* d) {
  const double x = xi[0], y = xi[1];
  for (int k = 0; k < 12; ++k) {
    const double xk = knoten_viereck3[2 * k], yk = knoten_viereck3[2 * k + 1];
    if (k < 4) {
      const double a = 1.0 + xk * x, b = 1.0 + yk * y, r = 9.0 * (x * x + y * y) - 10.0;
      w[k] = a * b * r / 32.0;
      d[2 * k] = (xk * b * r + a * b * 18.0 * x) / 32.0;
      d[2 * k + 1] = (yk * a * r + a * b * 18.0 * y) / 32.0;
    } else if (yk == 1.0 || yk == -1.0) {
      const double q = 1.0 - x * x, s = 1.0 + 9.0 * xk * x, b = 1.0 + yk * y;
      w[k] = 9.0 * q * s * b / 32.0;
      d[2 * k] = 9.0 * (-2.0 * x * s + 9.0 * xk * q) * b / 32.0;
      d[2 * k + 1] = 9.0 * q * s * yk / 32.0;
    } else {
      const double q = 1.0 - y * y, s = 1.0 + 9.0 * yk * y, a = 1.0 + xk * x;
      w[k] = 9.0 * q * s * a / 32.0;
      d[2 * k] = 9.0 * q * s * xk / 32.0;
      d[2 * k + 1] = 9.0 * (-2.0 * y * s + 9.0 * yk * q) * a / 32.0;
    }
  }
  return true;
}

// Line Hermite: value and slope at both ends; the slopes are scaled by dx/dxi
// of the order-O Lagrange geometry through element data columns 0 to O.
template <int O> bool linie_herm(const MatR& xk, const double* xi, double* w, double* d) {
  static const int spalten[4] = {0, 1, 2, 3};
  if (xk.zeilen < 1 || xk.spalten < O + 1) return false;
  const double s0 = ableitung1d(xk, 0, spalten, O, -1.0), s1 = ableitung1d(xk, 0, spalten, O, 1.0);
  const Thermite m = hermite1d(-1.0, xi[0]), p = hermite1d(1.0, xi[0]);
  const double werte[4] = {m.h0, s0 * m.h1, p.h0, s1 * p.h1};
  const double ab[4] = {m.dh0, s0 * m.dh1, p.dh0, s1 * p.dh1};
  std::copy(werte, werte + 4, w);
  std::copy(ab, ab + 4, d);
  return true;
}

// Quadrilateral Hermite: per corner the value function and one slope
// function per physical direction (x, y), mapped by the corner Jacobian.
template <int O> bool viereck_herm(const MatR& xk, const double* xi, double* w, double* d) {
  MatR b;
  if (!b_viereck(O, xk, b)) return false;
  for (int k = 0; k < 4; ++k) {
    const Thermite a = hermite1d(ecken_viereck[k][0], xi[0]);
    const Thermite e = hermite1d(ecken_viereck[k][1], xi[1]);
    const int i = 3 * k;
    w[i] = a.h0 * e.h0;
    d[2 * i] = a.dh0 * e.h0;
    d[2 * i + 1] = a.h0 * e.dh0;
    for (int c = 0; c < 2; ++c) {
      const double bxi = b[k][2 * c], beta = b[k][2 * c + 1];
      const int j = i + 1 + c;
      w[j] = bxi * a.h1 * e.h0 + beta * a.h0 * e.h1;
      d[2 * j] = bxi * a.dh1 * e.h0 + beta * a.dh0 * e.h1;
      d[2 * j + 1] = bxi * a.h1 * e.dh0 + beta * a.h0 * e.dh1;
    }
  }
  return true;
}

template <Tauswertung f, int n, int dim> bool L_aus(const MatR& xk, const VekR& xi, VekR& L) {
  double w[n], d[n * dim];
  if (xi.n < dim || !f(xk, xi.data, w, d) || !groesse(L, n)) return false;
  std::copy(w, w + n, L.data);
  return true;
}
template <Tauswertung f, int n, int dim> bool L_xi_aus(const MatR& xk, const VekR& xi, MatR& L_xi) {
  double w[n], d[n * dim];
  if (xi.n < dim || !f(xk, xi.data, w, d) || !groesse(L_xi, n, dim)) return false;
  std::copy(d, d + n * dim, L_xi.data);
  return true;
}
bool L_nicht(const MatR&, const VekR&, VekR&) {
  return false;
}
bool L_xi_nicht(const MatR&, const VekR&, MatR&) {
  return false;
}

using Tregister = std::map<Tkey, Tdataset>;

void eintragen(Tregister& reg, DIM d, FORM f, ANSFUNK a, const double* knoten, std::vector<double> wk,
               std::vector<int> rand, Tbxi bxi, TL L, TL_xi L_xi) {
  Tdataset ds;
  ds.key = Tkey(d, f, a);
  const int d1 = DIM1(d), Nk = static_cast<int>(wk.size());
  ds.xik.init(d1, Nk, nullptr);
  for (int k = 0; k < Nk; ++k)
    for (int i = 0; i < d1; ++i)
      ds.xik[i][k] = knoten[k * d1 + i];
  ds.wk = VekR(wk);
  ds.randkno = TVM::TVektor<int>(rand);
  ds._bxi = bxi;
  ds._L = L;
  ds._L_xi = L_xi;
  reg.emplace(ds.key, std::move(ds));
}

Tregister fuellen() {
  Tregister r;
  const double d3 = drittel, d6 = 1.0 / 6.0, d9 = 1.0 / 9.0;
  const DIM D1 = DIM_1D, D2 = DIM_2D;
  const FORM LI = FORM_LINIE, DR = FORM_DREIECK, VI = FORM_VIERECK;
  const std::vector<int> rand_li = {0, 1}, rand_dr = {0, 1, 2}, rand_vi = {0, 1, 2, 3};

  eintragen(r, D1, LI, ANSFUNK_LAGRO1, knoten_linie, {1.0, 1.0}, rand_li, bxi_linie,
            L_aus<linie_lagro<1>, 2, 1>, L_xi_aus<linie_lagro<1>, 2, 1>);
  eintragen(r, D1, LI, ANSFUNK_LAGRO2, knoten_linie2, {0.5, 0.5, 1.0}, rand_li, bxi_linie,
            L_aus<linie_lagro<2>, 3, 1>, L_xi_aus<linie_lagro<2>, 3, 1>);
  eintragen(r, D1, LI, ANSFUNK_LAGRO3, knoten_linie, {d3, d3, 2.0 * d3, 2.0 * d3}, rand_li, bxi_linie,
            L_aus<linie_lagro<3>, 4, 1>, L_xi_aus<linie_lagro<3>, 4, 1>);
  eintragen(r, D1, LI, ANSFUNK_HERMC1O1, knoten_linie, {1.0, 1.0}, rand_li, bxi_linie,
            L_aus<linie_herm<1>, 4, 1>, L_xi_aus<linie_herm<1>, 4, 1>);
  eintragen(r, D1, LI, ANSFUNK_HERMC1O2, knoten_linie, {1.0, 1.0}, rand_li, bxi_linie,
            L_aus<linie_herm<2>, 4, 1>, L_xi_aus<linie_herm<2>, 4, 1>);
  eintragen(r, D1, LI, ANSFUNK_HERMC1O3, knoten_linie, {1.0, 1.0}, rand_li, bxi_linie,
            L_aus<linie_herm<3>, 4, 1>, L_xi_aus<linie_herm<3>, 4, 1>);

  eintragen(r, D2, DR, ANSFUNK_LAGRO1, knoten_dreieck2, {d6, d6, d6}, rand_dr, bxi_dreieck,
            L_aus<dreieck_lagro1, 3, 2>, L_xi_aus<dreieck_lagro1, 3, 2>);
  const double e15 = 1.0 / 15.0, e10 = 0.1, e30 = 1.0 / 30.0, e20 = 0.05;
  eintragen(r, D2, DR, ANSFUNK_LAGRO2, knoten_dreieck2, {e15, e15, e15, e10, e10, e10}, {0, 3, 1, 4, 2, 5},
            bxi_dreieck, L_nicht, L_xi_nicht);
  const std::vector<int> rand_dr3 = {0, 3, 4, 1, 5, 6, 2, 7, 8};
  eintragen(r, D2, DR, ANSFUNK_LAGRO3, knoten_dreieck3, {e30, e30, e30, e20, e20, e20, e20, e20, e20, e10},
            rand_dr3, bxi_dreieck, L_nicht, L_xi_nicht);
  eintragen(r, D2, DR, ANSFUNK_SEREO3, knoten_dreieck3, std::vector<double>(9, 0.0), rand_dr3, bxi_dreieck,
            L_nicht, L_xi_nicht);
  for (ANSFUNK a : {ANSFUNK_HERMC1O1, ANSFUNK_HERMC1O2, ANSFUNK_HERMC1O3})
    eintragen(r, D2, DR, a, knoten_dreieck2, {d6, d6, d6}, rand_dr, bxi_dreieck, L_nicht, L_xi_nicht);

  eintragen(r, D2, VI, ANSFUNK_LAGRO1, knoten_viereck2, {1.0, 1.0, 1.0, 1.0}, rand_vi, bxi_viereck,
            L_aus<viereck_lagro<1>, 4, 2>, L_xi_aus<viereck_lagro<1>, 4, 2>);
  const std::vector<int> rand_vi2 = {0, 4, 1, 5, 2, 6, 3, 7};
  eintragen(r, D2, VI, ANSFUNK_LAGRO2, knoten_viereck2, {0.25, 0.25, 0.25, 0.25, 0.5, 0.5, 0.5, 0.5, 1.0},
            rand_vi2, bxi_viereck, L_aus<viereck_lagro<2>, 9, 2>, L_xi_aus<viereck_lagro<2>, 9, 2>);
  eintragen(r, D2, VI, ANSFUNK_SEREO2, knoten_viereck2, std::vector<double>(8, 0.0), rand_vi2, bxi_viereck,
            L_aus<viereck_sereo2, 8, 2>, L_xi_aus<viereck_sereo2, 8, 2>);
  std::vector<double> w3(16, 2.0 * d9);
  for (int k = 0; k < 4; ++k) {
    w3[k] = d9;
    w3[12 + k] = 4.0 * d9;
  }
  const std::vector<int> rand_vi3 = {0, 4, 5, 1, 6, 7, 2, 8, 9, 3, 10, 11};
  eintragen(r, D2, VI, ANSFUNK_LAGRO3, knoten_viereck3, w3, rand_vi3, bxi_viereck,
            L_aus<viereck_lagro<3>, 16, 2>, L_xi_aus<viereck_lagro<3>, 16, 2>);
  eintragen(r, D2, VI, ANSFUNK_SEREO3, knoten_viereck3, std::vector<double>(12, 0.0), rand_vi3, bxi_viereck,
            L_aus<viereck_sereo3, 12, 2>, L_xi_aus<viereck_sereo3, 12, 2>);
  eintragen(r, D2, VI, ANSFUNK_HERMC1O1, knoten_viereck2, {1.0, 1.0, 1.0, 1.0}, rand_vi, bxi_viereck,
            L_aus<viereck_herm<1>, 12, 2>, L_xi_aus<viereck_herm<1>, 12, 2>);
  eintragen(r, D2, VI, ANSFUNK_HERMC1O2, knoten_viereck2, {1.0, 1.0, 1.0, 1.0}, rand_vi, bxi_viereck,
            L_aus<viereck_herm<2>, 12, 2>, L_xi_aus<viereck_herm<2>, 12, 2>);
  eintragen(r, D2, VI, ANSFUNK_HERMC1O3, knoten_viereck2, {1.0, 1.0, 1.0, 1.0}, rand_vi, bxi_viereck,
            L_aus<viereck_herm<3>, 12, 2>, L_xi_aus<viereck_herm<3>, 12, 2>);
  return r;
}

// Filled on first use, never changed afterwards.
const Tregister& register_ans() {
  static const Tregister reg = fuellen();
  return reg;
}

const Tdataset* finden(const Tkey& key) {
  const Tregister& reg = register_ans();
  const auto it = reg.find(key);
  return it == reg.end() ? nullptr : &it->second;
}

} // namespace

Tkey::Tkey(DIM d, FORM f, ANSFUNK a) : dim(d), form(f), ansfunk(a), name(_name(d, f, a)) {}

bool Tkey::operator<(const Tkey& b) const {
  if (dim != b.dim) return dim < b.dim;
  if (form != b.form) return form < b.form;
  return ansfunk < b.ansfunk;
}

std::string _name(DIM, FORM f, ANSFUNK a) {
  return std::string(str_FORM(f)) + str_ANSFUNK(a);
}

std::ostream& operator<<(std::ostream& os, const Tdataset& ds) {
  return os << "[key =" << ds.key.name << "]\n"
            << "xik     =" << ds.xik << "\n"
            << "wk      =" << ds.wk << "\n"
            << "randkno =" << ds.randkno << "\n";
}

const Tdataset* get_datasetptr(const Tkey& key) {
  const Tdataset* ds = finden(key);
  if (!ds)
    *konsaus << "\nELEANS::TdatasetPtr::getdatasetptr(): kein Eintrag zu Schluessel "
             << _name(key.dim, key.form, key.ansfunk);
  return ds;
}

const Tdataset* get_datasetptr(const std::string& name) {
  return ELE::nach_name(
      register_ans(), name, [](const Tdataset& ds) { return ds.key.name; },
      "\nELEINT::TdatasetPtr::getdatasetptr(): kein Eintrag zu Name ");
}

const Tdataset& get_datasetref(const Tkey& key) {
  return ELE::vorhanden(get_datasetptr(key));
}
const Tdataset& get_datasetref(const std::string& name) {
  return ELE::vorhanden(get_datasetptr(name));
}

std::string& get_datasetnames(std::string& namen) {
  return ELE::alle_namen(register_ans(), namen, [](const Tdataset& ds) { return ds.key.name; });
}

} // namespace ELEANS

namespace ELE {

using TVM::MatR;
using TVM::VekR;

namespace {
// Upper bound on the shape functions of one element for the matrix builders.
constexpr long maxfunktionen = 1L << 20;

bool zaehlbar(DIM d, int Nk, int NLk) {
  return DIM1(d) > 0 && Nk >= 0 && NLk >= 0 && static_cast<long>(Nk) * NLk <= maxfunktionen;
}
} // namespace

int Nknoten(FORM f, ANSFUNK a) {
  const int ecken = Necken(f);
  if (ecken == 0) return 0;
  if (a == ANSFUNK_LAGRO1 || a == ANSFUNK_SEREO1 || (a >= ANSFUNK_HERMC1O1 && a <= ANSFUNK_HERMC1O3))
    return ecken;
  switch (f) {
  case FORM_LINIE:
    return a == ANSFUNK_LAGRO2 ? 3 : a == ANSFUNK_LAGRO3 ? 4 : 0;
  case FORM_DREIECK:
    return a == ANSFUNK_LAGRO2 ? 6 : a == ANSFUNK_LAGRO3 ? 10 : a == ANSFUNK_SEREO3 ? 9 : 0;
  case FORM_VIERECK:
    switch (a) {
    case ANSFUNK_LAGRO2:
      return 9;
    case ANSFUNK_LAGRO3:
      return 16;
    case ANSFUNK_SEREO2:
      return 8;
    case ANSFUNK_SEREO3:
      return 12;
    default:
      return 0;
    }
  case FORM_TETRAEDER:
    return a == ANSFUNK_LAGRO2 ? 10 : a == ANSFUNK_LAGRO3 ? 20 : 0;
  case FORM_HEXAEDER:
    switch (a) {
    case ANSFUNK_LAGRO2:
      return 27;
    case ANSFUNK_LAGRO3:
      return 64;
    case ANSFUNK_SEREO2:
      return 20;
    case ANSFUNK_SEREO3:
      return 32;
    default:
      return 0;
    }
  default:
    return 0;
  }
}

bool _bxi(const VekR& xi, const ELEANS::Tkey& key, bool btol) {
  const ELEANS::Tdataset* ds = ELEANS::finden(key);
  return ds && ds->_bxi(xi, btol);
}

bool L_(const MatR& xk, const VekR& xi, VekR& L, const ELEANS::Tkey& key) {
  const ELEANS::Tdataset* ds = ELEANS::finden(key);
  return ds && ds->_L(xk, xi, L);
}

bool _L_xi(const MatR& xk, const VekR& xi, MatR& L_xi, const ELEANS::Tkey& key) {
  const ELEANS::Tdataset* ds = ELEANS::finden(key);
  return ds && ds->_L_xi(xk, xi, L_xi);
}

bool _x(const MatR& xk, const VekR& xi, VekR& x, const ELEANS::Tkey& key) {
  VekR L;
  if (!L_(xk, xi, L, key) || xk.spalten != L.n) return false;
  x = xk * L;
  return x.n == xk.zeilen;
}

VekR& _schwerpu_einheitsele(DIM d, FORM f, VekR& xs) {
  const double wert = f == FORM_DREIECK ? 1.0 / 3.0 : f == FORM_TETRAEDER ? 0.25 : 0.0;
  xs.init(DIM1(d), nullptr, wert);
  return xs;
}

MatR& _Lmat(const VekR& L, MatR& Lmat, DIM d, int Nk, int NLk) {
  if (!zaehlbar(d, Nk, NLk)) return Lmat.init(0, 0, nullptr);
  const int d1 = DIM1(d), n = Nk * NLk;
  Lmat.init(d1, d1 * n, nullptr);
  if (L.n != n || Lmat.zeilen != d1 || Lmat.spalten != d1 * n) return Lmat;
  for (int k = 0; k < Nk; ++k)
    for (int j = 0; j < NLk; ++j)
      for (int c = 0; c < d1; ++c)
        Lmat[c][(k * d1 + c) * NLk + j] = L[k * NLk + j];
  return Lmat;
}

MatR& _Gepsmat(const MatR& G, MatR& B, DIM d, int Nk, int NLk) {
  if (d == DIM_3D || !zaehlbar(d, Nk, NLk)) return B.init(0, 0, nullptr);
  const int d1 = DIM1(d), d2 = DIM2(d), n = Nk * NLk;
  B.init(d2, d1 * n, nullptr);
  if (G.zeilen != n || G.spalten != d1 || B.zeilen != d2 || B.spalten != d1 * n) return B;
  const double s = 0.7071067811865476; // 1/sqrt(2), scaled Voigt shear
  for (int k = 0; k < Nk; ++k)
    for (int j = 0; j < NLk; ++j) {
      const double* g = G[k * NLk + j];
      if (d == DIM_1D) {
        B[0][k * NLk + j] = g[0];
        continue;
      }
      const int a0 = (k * 2) * NLk + j, a1 = (k * 2 + 1) * NLk + j;
      B[0][a0] = g[0];
      B[1][a1] = g[1];
      B[2][a0] = g[1] * s;
      B[2][a1] = g[0] * s;
    }
  return B;
}

} // namespace ELE
