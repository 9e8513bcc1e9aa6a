#include <numeric>

#include "element/eleans.h"
#include "testhilfe.h"

using namespace ELE;
using ELEANS::Tdataset;
using ELEANS::Tkey;
using TVM::MatR;
using TVM::VekR;

namespace {

bool hermite(ANSFUNK a) {
  return a >= ANSFUNK_HERMC1O1;
}

// Distance of a reference point from the boundary (negative outside).
double randabstand(FORM f, const VekR& xi) {
  if (f == FORM_DREIECK) return std::min({xi[0], xi[1], 1.0 - xi[0] - xi[1]});
  return 1.0 - std::max(std::fabs(xi[0]), std::fabs(xi[1]));
}

// A grid of generic sample points on and around the reference element.
std::vector<VekR> proben(FORM f) {
  std::vector<VekR> p;
  const double a = f == FORM_DREIECK ? -0.07 : -1.13, h = f == FORM_DREIECK ? 0.19 : 0.37;
  for (int i = 0; i <= 6; ++i)
    for (int j = 0; j <= (f == FORM_LINIE ? 0 : 6); ++j)
      p.push_back(f == FORM_LINIE ? VekR{a + h * i} : VekR{a + h * i, a + h * j});
  return p;
}

// Element data the Hermite families can read: a distorted line of four
// nodes and a distorted quadrilateral with sixteen nodes.
MatR hermite_daten(FORM f) {
  if (f == FORM_LINIE) return MatR(1, 4, {0.3, 2.1, 0.9, 1.6});
  const Tdataset& l3 = ELEANS::get_datasetref("ViereckLagro3");
  MatR x(2, 16);
  for (int k = 0; k < 16; ++k) {
    x[0][k] = 1.5 * l3.xik[0][k] + 0.3 * l3.xik[1][k] + 0.1 * std::sin(3.0 * k + 1.0);
    x[1][k] = l3.xik[1][k] + 0.1 * std::cos(2.0 * k + 1.0);
  }
  return x;
}

VekR L_von(const Tkey& key, const MatR& xk, const VekR& xi) {
  VekR L;
  EXPECT_TRUE(L_(xk, xi, L, key)) << key.name;
  return L;
}

// Largest error of a quadrilateral Hermite interpolant along the four edges
// of the geometry (xk, geo), for a field given as (u, du/dx, du/dy).
using Tfeld = std::function<VekR(double, double)>;
double kantenfehler(const Tkey& herm, const MatR& xk, const Tkey& geo, const Tfeld& u) {
  double fmax = 0.0;
  for (int e = 0; e < 4; ++e)
    for (int i = 0; i <= 10; ++i) {
      const double t = -1.0 + 0.2 * i, r = e < 2 ? 1.0 : -1.0;
      const VekR xi = e % 2 ? VekR{r, t} : VekR{t, -r};
      const VekR L = L_von(herm, xk, xi);
      VekR x;
      if (L.n != 12 || !_x(xk, xi, x, geo)) return 1e300;
      double uh = 0.0;
      for (int k = 0; k < 4; ++k)
        uh += TVM::skalarprodukt(u(xk[0][k], xk[1][k]), VekR{L[3 * k], L[3 * k + 1], L[3 * k + 2]});
      fmax = std::max(fmax, std::fabs(uh - u(x[0], x[1])[0]));
    }
  return fmax;
}

} // namespace

// Per family: node tables, nodal shares and the boundary round; per
// evaluable family: Lagrange and serendipity functions are 1 at their node
// and 0 at the others, sum to 1 and reproduce the reference coordinates; the
// derivatives of every family match central differences.
TEST(Ansatzfunktionen, NodeTablesBoundaryOrderValuesAndDerivatives) {
  const double h = 1e-5;
  const std::vector<const Tdataset*> ds = th::datensaetze(ELEANS::get_datasetnames, ELEANS::get_datasetptr);
  ASSERT_EQ(ds.size(), 21u);
  for (const Tdataset* d : ds) {
    ASSERT_NE(d, nullptr);
    const Tkey& key = d->key;
    SCOPED_TRACE(key.name);
    ASSERT_EQ(d->xik.zeilen, DIM1(key.dim));
    EXPECT_EQ(d->Nk(), Nknoten(key.form, key.ansfunk));
    ASSERT_EQ(d->wk.n, d->Nk());
    const double summe = std::accumulate(d->wk.begin(), d->wk.end(), 0.0);
    const bool sereo = key.ansfunk == ANSFUNK_SEREO2 || key.ansfunk == ANSFUNK_SEREO3;
    const double mass = key.form == FORM_LINIE ? 2.0 : key.form == FORM_DREIECK ? 0.5 : 4.0;
    EXPECT_NEAR(summe, sereo ? 0.0 : mass, 1e-14);

    // Boundary nodes lie on the boundary, the others strictly inside.
    std::vector<bool> rand(d->Nk(), false);
    for (int r : d->randkno) {
      ASSERT_TRUE(r >= 0 && r < d->Nk() && !rand[r]) << r;
      rand[r] = true;
    }
    for (int k = 0; k < d->Nk(); ++k) {
      const VekR xi = d->xik.GetCol(k);
      EXPECT_EQ(_bxi(xi, key, false), !rand[k]) << "node " << k;
      EXPECT_TRUE(_bxi(xi, key, true)) << "node " << k;
    }

    // Values and derivatives of the families that can be evaluated.
    if (key.form != FORM_DREIECK || key.ansfunk == ANSFUNK_LAGRO1) {
      const MatR xk = hermite(key.ansfunk) ? hermite_daten(key.form) : MatR();
      for (int k = 0; !hermite(key.ansfunk) && k < d->Nk(); ++k)
        EXPECT_LT(maxabw(L_von(key, xk, d->xik.GetCol(k)), einheitsmatrix(d->Nk()).GetCol(k)), 1e-14)
            << "node " << k;
      for (const VekR& xi : proben(key.form)) {
        if (!hermite(key.ansfunk)) {
          const VekR L = L_von(key, xk, xi);
          EXPECT_NEAR(std::accumulate(L.begin(), L.end(), 0.0), 1.0, 1e-13);
          EXPECT_LT(maxabw(d->xik * L, xi), 1e-13);
        }
        MatR G;
        ASSERT_TRUE(_L_xi(xk, xi, G, key));
        for (int c = 0; c < xi.n; ++c) {
          VekR dxi(xi.n);
          dxi[c] = h;
          const VekR Lp = L_von(key, xk, xi + dxi), Lm = L_von(key, xk, xi - dxi);
          EXPECT_LT(maxabw(G.GetCol(c), (0.5 / h) * (Lp - Lm)), 1e-7) << c;
        }
      }
    }

    // The round starts at node 0 and runs counter-clockwise along the edges:
    // following nodes share an edge and the round encloses the area.
    EXPECT_EQ(d->randkno[0], 0);
    if (key.form == FORM_LINIE) continue;
    double flaeche = 0.0;
    for (int i = 0; i < d->randkno.n; ++i) {
      const VekR a = d->xik.GetCol(d->randkno[i]), b = d->xik.GetCol(d->randkno[(i + 1) % d->randkno.n]);
      EXPECT_NEAR(randabstand(key.form, 0.5 * (a + b)), 0.0, 1e-15) << "pair " << i;
      flaeche += 0.5 * (a[0] * b[1] - a[1] * b[0]);
    }
    EXPECT_NEAR(flaeche, mass, 1e-14);
  }
  EXPECT_DOUBLE_EQ(ELEANS::get_datasetref("ViereckLagro3").wk[13], 4.0 / 9.0);
  EXPECT_EQ(Nknoten(FORM_DREIECK, ANSFUNK_SEREO2), 0);
  EXPECT_EQ(Nknoten(FORM_VIERECK, ANSFUNK_UNBEKANNT), 0);
  // The serendipity corner functions are negative at the centre.
  EXPECT_NEAR(L_von(Tkey(DIM_2D, FORM_VIERECK, ANSFUNK_SEREO2), MatR(), VekR{0.0, 0.0})[0], -0.25, 1e-15);
  EXPECT_NEAR(L_von(Tkey(DIM_2D, FORM_VIERECK, ANSFUNK_SEREO3), MatR(), VekR{0.0, 0.0})[2], -10.0 / 32.0,
              1e-15);
  // Points on the boundary are the nodes above; here points just outside and unusable sizes.
  const Tkey dr(DIM_2D, FORM_DREIECK, ANSFUNK_LAGRO1), vi(DIM_2D, FORM_VIERECK, ANSFUNK_LAGRO1);
  EXPECT_FALSE(_bxi(VekR{std::nextafter(1.0, 2.0), 0.0}, vi, true));
  EXPECT_FALSE(_bxi(VekR{0.6, 0.6}, dr, true));
  EXPECT_FALSE(_bxi(VekR{0.0}, vi, true));
  EXPECT_FALSE(_bxi(VekR{0.0, 0.0}, Tkey(DIM_3D, FORM_HEXAEDER, ANSFUNK_LAGRO1), true));
}

TEST(Ansatzfunktionen, LineHermiteReproducesCubics) {
  const auto u = [](double x) { return 2.0 * x * x * x - x * x + 3.0 * x - 1.0; };
  const auto du = [](double x) { return 6.0 * x * x - 2.0 * x + 3.0; };
  const Tkey l1(DIM_1D, FORM_LINIE, ANSFUNK_LAGRO1);
  // Evenly spaced geometry of every order: x is affine in xi, so a cubic in x is a cubic in xi.
  const MatR gerade[3] = {MatR(1, 2, {0.5, 2.5}), MatR(1, 3, {0.5, 2.5, 1.5}),
                          MatR(1, 4, {0.5, 2.5, 0.5 + 2.0 / 3.0, 0.5 + 4.0 / 3.0})};
  // Unevenly spaced geometry of order 2 and 3: a linear u is a cubic in xi,
  // exact only with the slopes dx/dxi of that geometry at the ends.
  const MatR krumm[2] = {MatR(1, 3, {0.5, 2.5, 1.9}), MatR(1, 4, {0.5, 2.5, 1.2, 1.5})};
  for (int o = 1; o <= 3; ++o) {
    const Tkey key(DIM_1D, FORM_LINIE, static_cast<ANSFUNK>(ANSFUNK_HERMC1O1 + o - 1));
    const Tkey geo(DIM_1D, FORM_LINIE, static_cast<ANSFUNK>(ANSFUNK_LAGRO1 + o - 1));
    for (int i = 0; i <= 20; ++i) {
      const VekR xi{-1.0 + 0.1 * i};
      const VekR L = L_von(key, gerade[o - 1], xi);
      VekR x;
      ASSERT_TRUE(_x(gerade[0], xi, x, l1));
      const double uh = u(0.5) * L[0] + du(0.5) * L[1] + u(2.5) * L[2] + du(2.5) * L[3];
      EXPECT_NEAR(uh, u(x[0]), 1e-12) << key.name << " xi=" << xi[0];
      if (o == 1) continue;
      const VekR Lk = L_von(key, krumm[o - 2], xi);
      ASSERT_TRUE(_x(krumm[o - 2], xi, x, geo));
      EXPECT_NEAR(4.0 * Lk[0] + 3.0 * Lk[1] + 10.0 * Lk[2] + 3.0 * Lk[3], 3.0 * x[0] + 2.5, 1e-12)
          << key.name << " uneven, xi=" << xi[0];
    }
  }
}

TEST(Ansatzfunktionen, QuadHermiteAlongEdges) {
  // Straight-sided element: any cubic u(x, y) is a cubic along each edge.
  const Tfeld kubisch = [](double x, double y) {
    return VekR{x * x * x - 2.0 * x * x * y + y * y * y - x + 0.5, 3.0 * x * x - 4.0 * x * y - 1.0,
                -2.0 * x * x + 3.0 * y * y};
  };
  const MatR ecken(2, 4, {0.0, 3.0, 3.5, 0.5, 0.0, 0.6, 2.6, 2.0});
  EXPECT_LE(kantenfehler(Tkey(DIM_2D, FORM_VIERECK, ANSFUNK_HERMC1O1), ecken,
                         Tkey(DIM_2D, FORM_VIERECK, ANSFUNK_LAGRO1), kubisch),
            1e-11);

  // Curved geometries of order 2 and 3, Lagrange or serendipity: a linear u
  // is reproduced along the edges when the corner slopes are the exact
  // geometry derivatives, read from the edge nodes.
  const Tfeld linear = [](double x, double y) { return VekR{2.0 * x - 3.0 * y + 1.0, 2.0, -3.0}; };
  const MatR daten = hermite_daten(FORM_VIERECK);
  const Tkey vl3(DIM_2D, FORM_VIERECK, ANSFUNK_LAGRO3);
  for (ANSFUNK geo : {ANSFUNK_LAGRO2, ANSFUNK_SEREO2, ANSFUNK_LAGRO3, ANSFUNK_SEREO3}) {
    const bool o2 = geo == ANSFUNK_LAGRO2 || geo == ANSFUNK_SEREO2;
    const Tkey hk(DIM_2D, FORM_VIERECK, o2 ? ANSFUNK_HERMC1O2 : ANSFUNK_HERMC1O3),
        gk(DIM_2D, FORM_VIERECK, geo);
    SCOPED_TRACE(gk.name);
    // A geometry of this family whose node positions are those of `daten`.
    const Tdataset& gd = ELEANS::get_datasetref(gk);
    MatR xk(2, gd.Nk());
    for (int k = 0; k < gd.Nk(); ++k) {
      VekR p;
      ASSERT_TRUE(_x(daten, gd.xik.GetCol(k), p, vl3));
      xk[0][k] = p[0];
      xk[1][k] = p[1];
    }
    EXPECT_LE(kantenfehler(hk, xk, gk, linear), 1e-12);
  }
}

TEST(Ansatzfunktionen, UnusableInputsGiveFalse) {
  Konsolenumleitung k;
  const MatR daten = hermite_daten(FORM_VIERECK);
  const VekR mitte{0.1, 0.2};
  VekR L;
  MatR G;
  // Too few element data columns for what a Hermite family reads.
  EXPECT_FALSE(L_(MatR(1, 2, {0.3, 2.1}), VekR{0.0}, L, Tkey(DIM_1D, FORM_LINIE, ANSFUNK_HERMC1O2)));
  EXPECT_FALSE(_L_xi(MatR(2, 7, 1.0), mitte, G, Tkey(DIM_2D, FORM_VIERECK, ANSFUNK_HERMC1O2)));
  // Triangle families other than Lagro1 cannot be evaluated.
  const Tkey dh(DIM_2D, FORM_DREIECK, ANSFUNK_HERMC1O1);
  EXPECT_FALSE(L_(daten, VekR{0.2, 0.2}, L, dh));
  // A short reference point, a missing key, and an output that is a view of another size.
  const Tkey vl1(DIM_2D, FORM_VIERECK, ANSFUNK_LAGRO1);
  EXPECT_FALSE(L_(MatR(), VekR{0.0}, L, vl1));
  EXPECT_FALSE(L_(MatR(), mitte, L, Tkey(DIM_2D, FORM_VIERECK, ANSFUNK_SEREO1)));
  double speicher[3] = {7.0, 7.0, 7.0};
  VekR ansicht;
  ansicht.ansicht(3, speicher);
  EXPECT_FALSE(L_(MatR(), mitte, ansicht, vl1));
  EXPECT_EQ(speicher[0] + speicher[1] + speicher[2], 21.0);
  VekR x;
  EXPECT_FALSE(_x(daten, mitte, x, vl1)); // 16 columns for 4 functions
  EXPECT_EQ(k.aus.str(), "");
}

TEST(Elementmatrizen, CentroidInterpolationAndStrainMatrices) {
  VekR xs;
  EXPECT_EQ(_schwerpu_einheitsele(DIM_2D, FORM_DREIECK, xs), VekR({1.0 / 3.0, 1.0 / 3.0}));
  EXPECT_EQ(_schwerpu_einheitsele(DIM_UNBEKANNT, FORM_LINIE, xs).n, 0);

  // Unknowns node by node, component by component, function by function.
  MatR N;
  _Lmat(VekR{1, 2, 3, 4, 5, 6}, N, DIM_2D, 2, 3);
  EXPECT_EQ(maxabw(N, MatR(2, 12, {1, 2, 3, 0, 0, 0, 4, 5, 6, 0, 0, 0, 0, 0, 0, 1, 2, 3, 0, 0, 0, 4, 5, 6})),
            0.0);
  EXPECT_EQ(maxabw(_Lmat(VekR{1, 2, 3}, N, DIM_2D, 2, 3), MatR(2, 12)), 0.0); // too few values
  EXPECT_EQ(_Lmat(VekR{1.0}, N, DIM_2D, -1, 1).anzahl(), 0);

  const double a = 0.3, b = -1.7, s = 1.0 / std::sqrt(2.0);
  MatR B;
  EXPECT_LT(maxabw(_Gepsmat(MatR(1, 2, {a, b}), B, DIM_2D, 1, 1), MatR(3, 2, {a, 0, 0, b, b * s, a * s})),
            1e-15);
  // Two nodes with two functions each: node 1, function 1 sits in columns 5 and 7.
  _Gepsmat(MatR(4, 2, {0, 0, 0, 0, 0, 0, 2.0, 3.0}), B, DIM_2D, 2, 2);
  EXPECT_LT(
      maxabw(B, MatR(3, 8, {0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 3 * s, 0, 2 * s})),
      1e-15);
  EXPECT_EQ(_Gepsmat(MatR(1, 3, {1, 2, 3}), B, DIM_3D, 1, 1).anzahl(), 0);
}
