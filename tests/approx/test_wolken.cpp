#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "approx/wolken.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"
#include "solver/mpm.h"
#include "testhilfe.h"

using namespace MPM;
using TVM::MatR;
using TVM::VekR;
using WOLKE::TWolke;

namespace {
const double pi = 3.141592653589793;
const double eps = 2.220446049250313e-16;
const std::string frage = "Fuer ABBRUCH \"x\", fuer WEITER beliebiges Zeichen eingeben:";

TWolke wolke(double x, double y, double vol, double ueberlappung, double a = 1.0, double b = 1.0,
             double phi = 0.0) {
  return TWolke(VekR{x, y}, vol, ueberlappung, VekR{a, b}, VekR{phi});
}

// Weight by the literal definition: r and theta of x - centre, h(theta),
// s = 2.5 r / h and the Gaussian normalised over the ellipse.
double gewicht(const TWolke& w, double x, double y) {
  const double dx = x - w.zentrum[0], dy = y - w.zentrum[1];
  const double r = std::hypot(dx, dy), h = w._h(std::atan2(dy, dx) * 180.0 / pi);
  const double s = 2.5 * r / h;
  return w.vol0 * std::exp(-s * s) / (pi * w.a * w.b * w.h0 * w.h0 * (1.0 - std::exp(-6.25)) / 6.25);
}

// Scattered sources around [0, 1]^2 (a jittered n x n grid) with stretched
// and turned clouds; the clouds that hold x, in order.
struct Wolkenfeld {
  std::vector<TWolke> alle;
  Wolkenfeld(int n, double ueberlappung, unsigned saat, double versatz = 0.0) {
    std::mt19937 g(saat);
    std::uniform_real_distribution<double> zitter(-0.3, 0.3), streck(0.75, 1.35), winkel(-180.0, 180.0),
        vol(0.7, 1.3);
    const double s = 1.0 / (n - 1);
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j)
        alle.push_back(wolke(versatz + s * (i + zitter(g)), versatz + s * (j + zitter(g)), s * s * vol(g),
                             ueberlappung, streck(g), streck(g), winkel(g)));
  }
  std::vector<TWolke> an(const VekR& x) const {
    std::vector<TWolke> w;
    for (const TWolke& k : alle)
      if (k._bdrinnen(x)) w.push_back(k);
    return w;
  }
};
} // namespace

TEST(Wolken, BaseRadiusInsideTestAndWeight) {
  // The measure of the cloud is vol0 times the overlap to the power d.
  EXPECT_DOUBLE_EQ(TWolke(VekR{0.5}, 2.0, 1.5, VekR{1, 1}, VekR{0})._h0(), 1.5);
  EXPECT_NEAR(TWolke(VekR{0, 0, 0}, 4.0 * pi / 3.0, 2.0, VekR{1, 1}, VekR{0})._h0(), 2.0, 8 * eps);
  const TWolke kreis = wolke(0, 0, pi, 1.0);
  EXPECT_DOUBLE_EQ(kreis._h0(), 1.0);
  EXPECT_TRUE(kreis._bdrinnen(VekR{1.0, 0.0}));
  EXPECT_TRUE(kreis._bdrinnen(VekR{0.0, -1.0}));
  EXPECT_FALSE(kreis._bdrinnen(VekR{1.0000001, 0.0}));
  EXPECT_FALSE(kreis._bdrinnen(VekR{1.0, 0.0, 0.0}));
  double w = 0;
  VekR w_x;
  kreis._w_und_w_x(VekR{0, 0}, w, w_x);
  EXPECT_NEAR(w, pi * 6.25 / (pi * (1.0 - std::exp(-6.25))), 4 * eps * w);
  EXPECT_EQ(w_x, (VekR{0, 0}));
  kreis._w_und_w_x(VekR{1.5, 0}, w, w_x);
  EXPECT_EQ(w, 0.0);
  EXPECT_EQ(w_x, (VekR{0, 0}));

  // An ellipse with a = 1.8 along 35 degrees and b = 0.6 across.
  const TWolke e = wolke(3.0, -2.0, 0.7, 2.5, 1.8, 0.6, 35.0);
  EXPECT_NEAR(e._h(35.0), 1.8 * e._h0(), 1e-15);
  EXPECT_NEAR(e._h(125.0), 0.6 * e._h0(), 1e-15);
  EXPECT_NEAR(e._h(-145.0), 1.8 * e._h0(), 1e-15);
  std::mt19937 g(5);
  std::uniform_real_distribution<double> z(-1.5, 1.5);
  int drinnen = 0;
  for (int n = 0; n < 400; ++n) {
    const double x = 3.0 + z(g), y = -2.0 + z(g);
    const double dx = x - 3.0, dy = y + 2.0, r = std::hypot(dx, dy);
    const double h = e._h(std::atan2(dy, dx) * 180.0 / pi);
    if (std::fabs(r - h) < 1e-9 * h) continue;
    ASSERT_EQ(e._bdrinnen(VekR{x, y}), r <= h) << x << ", " << y;
    if (r > h) continue;
    ++drinnen;
    // Weight as defined, gradient against central differences: the step
    // d = 1e-5 h0 leaves a truncation error of about d^2 |w'''| (w''' ~
    // w (2.5 / (b h0))^3 (2.5 r / h)) and a rounding error of eps w / d,
    // both far below 1e-6 |w| / (b h0).
    e._w_und_w_x(VekR{x, y}, w, w_x);
    EXPECT_NEAR(w, gewicht(e, x, y), 1e-13 * w);
    const double d = 1e-5 * e._h0(), skala = w / (0.6 * e._h0());
    for (int j = 0; j < 2; ++j) {
      const double xp = x + (j == 0 ? d : 0), yp = y + (j == 1 ? d : 0);
      const double xm = x - (j == 0 ? d : 0), ym = y - (j == 1 ? d : 0);
      if (!e._bdrinnen(VekR{xp, yp}) || !e._bdrinnen(VekR{xm, ym})) continue;
      EXPECT_NEAR(w_x[j], (gewicht(e, xp, yp) - gewicht(e, xm, ym)) / (2 * d), 1e-6 * skala) << j;
    }
  }
  EXPECT_GT(drinnen, 40);

  // A cloud without volume (or overlap) holds nothing, not even its centre.
  for (const TWolke& leer : {wolke(1, 1, 0.0, 3.0), wolke(1, 1, 1.0, 0.0), wolke(1, 1, 1.0, 3.0, 0.0)}) {
    EXPECT_FALSE(leer._bgueltig());
    EXPECT_FALSE(leer._bdrinnen(VekR{1, 1}));
    leer._w_und_w_x(VekR{1, 1}, w, w_x);
    EXPECT_EQ(w, 0.0);
  }
}

TEST(Wolken, BasisSizesAndFunctions) {
  for (unsigned g = 0; g <= 4; ++g) {
    EXPECT_EQ(WOLKE::_Nb(g, false, 2), (g + 1) * (g + 2) / 2) << g;
    EXPECT_EQ(WOLKE::_Nb(g, true, 2), (g + 1) * (g + 1)) << g;
    EXPECT_EQ(WOLKE::_Nb(g, false, 1), g + 1) << g;
  }
  EXPECT_EQ(WOLKE::_Nb(2, false, 3), 10u);
  EXPECT_EQ(WOLKE::_Nb(2, true, 3), 27u);
  EXPECT_EQ(WOLKE::_Nb(2, true, 4), 0u);
  EXPECT_EQ(WOLKE::_Nb(3, false, 0), 1u);

  // Strictly fewer basis functions than points.
  EXPECT_EQ(WOLKE::_Ng(6, false, 2), 1u);
  EXPECT_EQ(WOLKE::_Ng(7, false, 2), 2u);
  EXPECT_EQ(WOLKE::_Ng(1, false, 2), 0u);
  EXPECT_EQ(WOLKE::_Ng(5, true, 2), 1u);
  EXPECT_EQ(WOLKE::_Ng(26, true, 2), 4u);
  EXPECT_EQ(WOLKE::_Ng(100, true, 0), 32u);
  {
    Konsolenumleitung k;
    EXPECT_EQ(WOLKE::_Ng(0, false, 2), 0u);
    EXPECT_EQ(k.aus.str(), "FEHLER in <unsigned int _Ng(...)>: Np<1\n");
  }

  // (1, x, y, x^2, xy, y^2) at (2, 3), and the tensor product (1, y, x, xy).
  VekR b;
  MatR b_x;
  ASSERT_TRUE(WOLKE::_b(2, false, VekR{2, 3}, b));
  EXPECT_EQ(b, (VekR{1, 2, 3, 4, 6, 9}));
  ASSERT_TRUE(WOLKE::_b_x(2, false, VekR{2, 3}, b_x));
  const double ableitungen[12] = {0, 0, 1, 0, 0, 1, 4, 0, 3, 2, 0, 6};
  ASSERT_EQ(b_x.anzahl(), 12);
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(b_x.data[i], ableitungen[i]) << i;
  ASSERT_TRUE(WOLKE::_b(1, true, VekR{2, 3}, b));
  EXPECT_EQ(b, (VekR{1, 3, 2, 6}));
  ASSERT_TRUE(WOLKE::_b_x(4, true, VekR{2, 3}, b_x));
  EXPECT_EQ(b_x.zeilen, 25);
  EXPECT_EQ(b_x[24][0], 4 * 8 * 81.0); // d(x^4 y^4)/dx
  EXPECT_EQ(b_x[24][1], 16 * 4 * 27.0);
  EXPECT_FALSE(WOLKE::_b(5, false, VekR{2, 3}, b));
  EXPECT_FALSE(WOLKE::_b(1, false, VekR{2, 3, 4}, b));
}

// Moving least squares reproduce the polynomials of their basis exactly:
// constants (partition of unity, gradients summing to 0), linear fields and,
// from degree 2, quadratic ones. The rounding errors grow with the condition
// of the moment matrix; 1e-10 leaves a margin of some thousands over eps
// times the condition numbers that occur here.
TEST(Wolken, MovingLeastSquaresReproduceTheirBasis) {
  const Wolkenfeld feld(7, 4.0, 11);
  std::mt19937 g(3);
  std::uniform_real_distribution<double> z(0.1, 0.9);
  auto f = [](double x, double y) { return 0.3 + 1.7 * x - 0.4 * y + 0.9 * x * x - 1.1 * x * y + 0.6 * y * y; };
  auto f_x = [](double x, double y) { return VekR{1.7 + 1.8 * x - 1.1 * y, -0.4 - 1.1 * x + 1.2 * y}; };
  const struct {
    unsigned Ng;
    bool vollst;
  } faelle[] = {{0, false}, {1, false}, {1, true}, {2, false}, {2, true}, {3, false}};
  for (const auto& fall : faelle)
    for (int n = 0; n < 20; ++n) {
      const VekR x{z(g), z(g)};
      const std::vector<TWolke> w = feld.an(x);
      unsigned Ng = fall.Ng;
      VekR L;
      MatR G;
      double wsum = 0;
      ASSERT_TRUE(WOLKE::_L_G(Ng, fall.vollst, w, x, L, G, wsum));
      ASSERT_EQ(Ng, fall.Ng) << "Np=" << w.size();
      double summe_w = 0, summe_L = 0, summe_f = 0;
      VekR summe_G(2), ort(2), grad_f(2);
      MatR grad_x(2, 2);
      for (std::size_t k = 0; k < w.size(); ++k) {
        double wk;
        VekR wk_x;
        w[k]._w_und_w_x(x, wk, wk_x);
        summe_w += wk;
        summe_L += L[k];
        const double xk = w[k].zentrum[0], yk = w[k].zentrum[1];
        summe_f += L[k] * f(xk, yk);
        for (int j = 0; j < 2; ++j) {
          summe_G[j] += G[k][j];
          ort[j] += L[k] * w[k].zentrum[j];
          grad_f[j] += f(xk, yk) * G[k][j];
          for (int i = 0; i < 2; ++i)
            grad_x[i][j] += w[k].zentrum[i] * G[k][j];
        }
      }
      const std::string fall_text = "Ng=" + std::to_string(Ng) + (fall.vollst ? " tensor" : " complete");
      EXPECT_NEAR(wsum, summe_w, 1e-14 * wsum) << fall_text;
      EXPECT_NEAR(summe_L, 1.0, 1e-12) << fall_text;
      EXPECT_LT(std::fabs(summe_G[0]) + std::fabs(summe_G[1]), 1e-10) << fall_text;
      if (Ng == 0) continue;
      for (int j = 0; j < 2; ++j) {
        EXPECT_NEAR(ort[j], x[j], 1e-12) << fall_text;
        for (int i = 0; i < 2; ++i)
          EXPECT_NEAR(grad_x[i][j], i == j ? 1.0 : 0.0, 1e-10) << fall_text;
      }
      if (Ng < 2) continue;
      EXPECT_NEAR(summe_f, f(x[0], x[1]), 1e-11) << fall_text;
      for (int j = 0; j < 2; ++j)
        EXPECT_NEAR(grad_f[j], f_x(x[0], x[1])[j], 1e-9) << fall_text;
    }

  // Far from the origin the same clouds give the same functions: the basis
  // is centred on the target.
  const Wolkenfeld fern(7, 4.0, 11, 1e4);
  const VekR x{0.45, 0.55}, xfern{1e4 + 0.45, 1e4 + 0.55};
  unsigned Ng = 1, Ngfern = 1;
  VekR L, Lfern;
  MatR G, Gfern;
  double wsum, wsumfern;
  ASSERT_TRUE(WOLKE::_L_G(Ng, false, feld.an(x), x, L, G, wsum));
  ASSERT_TRUE(WOLKE::_L_G(Ngfern, false, fern.an(xfern), xfern, Lfern, Gfern, wsumfern));
  ASSERT_EQ(L.n, Lfern.n);
  // The centres far out carry an absolute rounding of about 1e4 eps.
  for (int k = 0; k < L.n; ++k) {
    EXPECT_NEAR(L[k], Lfern[k], 1e-9);
    EXPECT_NEAR(G[k][0], Gfern[k][0], 1e-8);
  }
}

TEST(Wolken, DegreeIsLoweredWhereTheMomentMatrixOrTheGradientsFail) {
  Konsolenumleitung k("x");
  const VekR x{0.5, 0.5};
  VekR L;
  MatR G;
  double wsum;
  // Six points cannot carry the six quadratic functions.
  std::vector<TWolke> sechs;
  for (int i = 0; i < 6; ++i)
    sechs.push_back(wolke(0.5 + 0.3 * std::cos(i), 0.5 + 0.3 * std::sin(i), 0.5, 3.0));
  unsigned Ng = 2;
  ASSERT_TRUE(WOLKE::_L_G(Ng, false, sechs, x, L, G, wsum));
  EXPECT_EQ(Ng, 1u);
  // Degree 5 has no basis; with enough points degree 4 is taken.
  const Wolkenfeld feld(9, 4.0, 2);
  Ng = 5;
  ASSERT_TRUE(WOLKE::_L_G(Ng, false, feld.an(x), x, L, G, wsum));
  EXPECT_EQ(Ng, 4u);
  double summe = 0;
  for (double l : L)
    summe += l;
  EXPECT_NEAR(summe, 1.0, 1e-10);
  // Points on a line: the linear moment matrix is singular, degree 0 remains.
  std::vector<TWolke> linie;
  for (int i = 0; i < 5; ++i)
    linie.push_back(wolke(0.3 + 0.1 * i, 0.3 + 0.1 * i, 0.5, 3.0));
  Ng = 1;
  ASSERT_TRUE(WOLKE::_L_G(Ng, false, linie, x, L, G, wsum));
  EXPECT_EQ(Ng, 0u);
  EXPECT_EQ(k.aus.str(), "");

  // No clouds, or no usable solver: even degree 0 fails.
  Ng = 1;
  EXPECT_FALSE(WOLKE::_L_G(Ng, false, {}, x, L, G, wsum));
  EXPECT_FALSE(WOLKE::_L_G(Ng, false, linie, x, L, G, wsum, MATHE::LOESER_UNBEKANNT));
  EXPECT_EQ(k.aus.str(), "FEHLER in <unsigned int _Ng(...)>: Np<1\n"
                         "<WOLKE::_L_G()>: \nNg=0, stellen=0, (A singulaer oder schlechte Kondition)\n"
                         "<WOLKE::_L_G()>: \nNg=0, stellen=5, (A singulaer oder schlechte Kondition)\n");
  k.aus.str("");

  // Clouds of 1e-12: gradients of 1e13 whose sum keeps a rounding far above
  // 1e-6 at every degree, so the run is stopped.
  std::vector<TWolke> winzig;
  for (int i = 0; i < 7; ++i)
    winzig.push_back(wolke(1e-13 * std::cos(2 * i), 1e-13 * std::sin(3 * i), 1e-24, 3.0, 1.0 + 0.1 * i, 1.0,
                           20.0 * i));
  Ng = 1;
  EXPECT_THROW(WOLKE::_L_G(Ng, false, winzig, VekR{0, 0}, L, G, wsum), int);
  const std::string aus = k.aus.str();
  EXPECT_EQ(aus.rfind("<WOLKE::_L_G()>: Ng=0, Gfehler=", 0), 0u) << aus;
  const std::string ende = ", (Ansatzfunktionsableitungen nicht hinreichend genau) -> ABBRUCH\n" + frage;
  EXPECT_EQ(aus.substr(aus.size() - std::min(aus.size(), ende.size())), ende);
}

// The grid must give exactly the clouds that testing every one gives, in
// the same order: random stretched and turned clouds of varied size, random
// targets, the centres and points on the boundaries.
TEST(Wolken, GridSearchFindsWhatTestingEveryCloudFinds) {
  std::mt19937 g(17);
  std::uniform_real_distribution<double> ort(0.0, 10.0), vol(0.01, 0.2), streck(0.5, 2.0), winkel(-180, 180),
      weit(-1.0, 11.0);
  std::vector<TWolke> wolken;
  for (int i = 0; i < 3000; ++i)
    wolken.push_back(wolke(ort(g), ort(g), vol(g), 3.0, streck(g), streck(g), winkel(g)));
  wolken.push_back(wolke(5, 5, 0.0, 3.0)); // holds nothing
  const WOLKE::TWolkenraster raster(wolken);
  EXPECT_LE(raster._Nzellen(), 4L * 3001);
  std::vector<VekR> ziele;
  for (int i = 0; i < 3000; ++i)
    ziele.push_back(VekR{weit(g), weit(g)});
  for (int i = 0; i < 1000; ++i) {
    const TWolke& w = wolken[i];
    ziele.push_back(VekR{w.zentrum[0], w.zentrum[1]});
    const double c = std::cos(w.phi * pi / 180), s = std::sin(w.phi * pi / 180), r = w.a * w.h0;
    ziele.push_back(VekR{w.zentrum[0] + r * c, w.zentrum[1] + r * s});
  }
  std::vector<int> raster_treffer, alle_treffer;
  std::size_t Ntreffer = 0, mehrfach = 0;
  for (const VekR& x : ziele) {
    raster._suchen(x.data, raster_treffer);
    WOLKE::_suchen_alle(wolken, x.data, alle_treffer);
    ASSERT_EQ(raster_treffer, alle_treffer) << x;
    Ntreffer += alle_treffer.size();
    mehrfach += alle_treffer.size() > 3;
  }
  EXPECT_GT(Ntreffer, 10000u);
  EXPECT_GT(mehrfach, 1000u);

  // Tiny clouds far apart do not make a huge grid; a target that is not a
  // number or lies outside finds nothing; an empty list has no cells.
  const std::vector<TWolke> weit_auseinander{wolke(0, 0, 1e-6, 3.0), wolke(1e6, -1e6, 1e-6, 3.0)};
  const WOLKE::TWolkenraster weit_raster(weit_auseinander);
  EXPECT_LE(weit_raster._Nzellen(), 1024);
  const double nan[2] = {std::nan(""), 0.0}, aussen[2] = {-5.0, 0.0}, punkt[2] = {1e6, -1e6};
  weit_raster._suchen(punkt, raster_treffer);
  EXPECT_EQ(raster_treffer, std::vector<int>{1});
  weit_raster._suchen(nan, raster_treffer);
  EXPECT_TRUE(raster_treffer.empty());
  weit_raster._suchen(aussen, raster_treffer);
  EXPECT_TRUE(raster_treffer.empty());
  const std::vector<TWolke> keine;
  const WOLKE::TWolkenraster leer(keine);
  leer._suchen(punkt, raster_treffer);
  EXPECT_EQ(leer._Nzellen(), 0);
  EXPECT_TRUE(raster_treffer.empty());
}

namespace {
// Nodes 1..9 on the unit grid (0..2)^2 with volume 1, unknown nodes, and
// material points with clouds from the nodes (integration points off).
struct Wolkenmodell {
  Wolkenmodell() {
    mpm.stw.bipuaufmpu = false;
    mpm.stw.ansatz_knou_zu_pu = ANSATZ_WOLKEN;
    mpm.stw.ansatz_pu_zu_knou = ANSATZ_WOLKEN;
    _material_erzeugen(&mpm, 1, 1, {2.0, 100.0, 0.25});
    for (int j = 0; j < 3; ++j)
      for (int i = 0; i < 3; ++i) {
        const int n = 3 * j + i + 1;
        mpm.knou.einfuegen(n, kno_erzeugen(&mpm, n, 1, 1.0, VekR{1.0 * i, 1.0 * j}, leer, leer, leer, leer, 0));
      }
  }
  TMaterialpunkt* punkt(int n, double x, double y) {
    VekR p{x, y};
    return mpu_erzeugen(&mpm, n, 1, 0.25, p, leer, leer, leer, leer, 0);
  }
  TKnoten* knoten(int n) { return KNO_Z(mpm.kno.suchen(n)); }
  const VekR leer;
  Tmpm mpm;
};
} // namespace

TEST(Wolken, ApproximationTakesTheHoldingCloudsInNumberOrder) {
  Konsolenumleitung k("x");
  Wolkenmodell m;
  TMaterialpunkt* mp = m.punkt(1, 1.2, 0.9);
  m.knoten(5)->status = OBJSTATUS_INAKTIV; // the middle node is left out
  TAnsatz* a = mp->ans_kno;
  ASSERT_TRUE(a->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  // Circles of radius 3 / sqrt(pi) = 1.693 about the nodes.
  std::vector<TPunkt*> erwartet;
  double wsum = 0;
  for (int n = 1; n <= 9; ++n) {
    TKnoten* kn = m.knoten(n);
    if (n == 5 || std::hypot(kn->xa[0] - 1.2, kn->xa[1] - 0.9) > 3 / std::sqrt(pi)) continue;
    erwartet.push_back(kn);
    wsum += gewicht(wolke(kn->xa[0], kn->xa[1], 1.0, 3.0), 1.2, 0.9);
  }
  EXPECT_EQ(a->stuetzpu, erwartet);
  EXPECT_NEAR(a->skal, wsum, 1e-14 * wsum);
  EXPECT_EQ(a->Ng, 1u);
  EXPECT_EQ(mp->status, OBJSTATUS_AKTIV);
  const TWolke erste = ANSATZWOLKEN_Z(a)->_wolke(0);
  EXPECT_EQ(erste.zentrum[0], 0.0);
  EXPECT_NEAR(erste._h0(), 3 / std::sqrt(pi), 1e-15);
  EXPECT_FALSE(ANSATZWOLKEN_Z(a)->_wolke(8)._bgueltig());

  // The clouds the mesh setup lends give the same, bit for bit.
  const VekR L = a->L;
  const MatR G = a->G;
  {
    const TWolkenquellen quellen(m.mpm, OBJTYP_KNO, KONFIGUR_REFKONF, true);
    EXPECT_EQ(quellen.punkte.size(), 8u);
    m.mpm.wolkenquellen = &quellen;
    ASSERT_TRUE(a->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
    m.mpm.wolkenquellen = nullptr;
  }
  EXPECT_EQ(a->L, L);
  ASSERT_EQ(a->G.anzahl(), G.anzahl());
  for (long i = 0; i < G.anzahl(); ++i)
    EXPECT_EQ(a->G.data[i], G.data[i]) << i;

  // In the current configuration a cloud follows the deformation of its
  // point: the stretches 2 and 0.5 along 30 degrees become its semi-axes.
  TKnoten* kn = m.knoten(2);
  const double c = std::cos(pi / 6), s = std::sin(pi / 6);
  kn->zust.F = MatR(2, 2, {2 * c * c + 0.5 * s * s, 1.5 * c * s, 1.5 * c * s, 2 * s * s + 0.5 * c * c});
  kn->zust.u.init({0.1, -0.2});
  const TWolke w = _wolke(*kn, KONFIGUR_MOMKONF, 3.0);
  EXPECT_NEAR(w.a, 2.0, 1e-14);
  EXPECT_NEAR(w.b, 0.5, 1e-14);
  EXPECT_NEAR(w.phi, 30.0, 1e-12);
  EXPECT_NEAR(w.zentrum[0], 1.1, 1e-15);
  EXPECT_NEAR(w.zentrum[1], -0.2, 1e-15);
  const TWolke w0 = _wolke(*kn, KONFIGUR_REFKONF, 3.0);
  EXPECT_EQ(w0.a, 1.0);
  EXPECT_EQ(w0.b, 1.0);
  EXPECT_EQ(w0.zentrum[0], 1.0);
  EXPECT_NEAR(w0._h0(), 3 / std::sqrt(pi), 1e-15);

  // Nodes that do not move with the body take values from points at their
  // mesh place: in the current configuration.
  EXPECT_EQ(_wolkenkonfigur(m.mpm, OBJTYP_KNO, OBJTYP_MPU, KONFIGUR_REFKONF), KONFIGUR_REFKONF);
  m.mpm.stw.bknokoerperfest = false;
  EXPECT_EQ(_wolkenkonfigur(m.mpm, OBJTYP_KNO, OBJTYP_MPU, KONFIGUR_REFKONF), KONFIGUR_MOMKONF);
  EXPECT_EQ(_wolkenkonfigur(m.mpm, OBJTYP_KNO, OBJTYP_KNO, KONFIGUR_REFKONF), KONFIGUR_REFKONF);
  EXPECT_EQ(_wolkenkonfigur(m.mpm, OBJTYP_MPU, OBJTYP_KNO, KONFIGUR_REFKONF), KONFIGUR_REFKONF);
  EXPECT_EQ(k.aus.str(), "");

  // A target no cloud holds, and a target whose solve fails, are switched
  // off with a line in the control log.
  TMaterialpunkt* fern = m.punkt(2, 10.0, 10.0);
  k.kontroll.str("");
  EXPECT_FALSE(fern->ans_kno->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  EXPECT_EQ(fern->status, OBJSTATUS_INAKTIV);
  m.mpm.stw.gleichloes_ans = MATHE::LOESER_UNBEKANNT;
  EXPECT_FALSE(a->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  EXPECT_EQ(mp->status, OBJSTATUS_INAKTIV);
  EXPECT_EQ(k.kontroll.str(), "TAnsatzWolken::_init(): heimatpu=mpu(2-), !Np\n"
                              "TAnsatzWolken::_L_G(): heimatpu=mpu(1-), berfolg=F\n");
  EXPECT_EQ(k.aus.str(), "<WOLKE::_L_G()>: \nNg=0, stellen=8, (A singulaer oder schlechte Kondition)\n");

  // Only integration points, material points and nodes can be targets.
  k.aus.str("");
  EXPECT_THROW(_ansatz_erzeugen(&m.mpm, mp, OBJTYP_PU, OBJTYP_KNO, ANSATZ_WOLKEN), int);
  EXPECT_EQ(k.aus.str(), "FEHLER in TAnsatzWolken::TAnsatzWolken(...): "
                         "heimatot!=OBJTYP_IPU && heimatot!=OBJTYP_MPU && heimatot!=OBJTYP_KNO\n" +
                             frage);
}
