#include "approx/wolken.h"
#include "testhilfe.h"

using namespace MPM;
using TVM::MatR;
using TVM::VekR;
using WOLKE::TWolke;

namespace {
const double pi = 3.141592653589793;
const std::string meldungen = "approx/golden/meldungen.txt";

TWolke wolke(double x, double y, double vol, double ueberlappung, double a = 1, double b = 1,
             double phi = 0) {
  return TWolke(VekR{x, y}, vol, ueberlappung, VekR{a, b}, VekR{phi});
}

// Weight by the definition: r and theta of x - centre, h(theta), s = 2.5 r / h.
double gewicht(const TWolke& w, double x, double y) {
  const double dx = x - w.zentrum[0], dy = y - w.zentrum[1];
  const double s = 2.5 * std::hypot(dx, dy) / w._h(std::atan2(dy, dx) * 180 / pi);
  return w.vol0 * std::exp(-s * s) / (pi * w.a * w.b * w.h0 * w.h0 * (1 - std::exp(-6.25)) / 6.25);
}

// Sources on a jittered n x n grid over [0, 1]^2, their clouds stretched and turned at random.
std::vector<TWolke> streuung(int n, double ueberlappung, unsigned saat) {
  std::mt19937 g(saat);
  std::uniform_real_distribution<double> zitter(-0.3, 0.3), streck(0.75, 1.35), winkel(-180, 180);
  std::vector<TWolke> w;
  const double s = 1.0 / (n - 1);
  for (int i = 0; i < n * n; ++i)
    w.push_back(wolke(s * (i % n + zitter(g)), s * (i / n + zitter(g)), s * s, ueberlappung, streck(g),
                      streck(g), winkel(g)));
  return w;
}

std::vector<TWolke> an(const std::vector<TWolke>& alle, const VekR& x) {
  std::vector<TWolke> w;
  for (const TWolke& k : alle)
    if (k._bdrinnen(x)) w.push_back(k);
  return w;
}
} // namespace

TEST(Wolken, RadiusWeightAndGradient) {
  EXPECT_DOUBLE_EQ(TWolke(VekR{0.5}, 2.0, 1.5, VekR{1, 1}, VekR{0})._h0(), 1.5);
  EXPECT_NEAR(TWolke(VekR{0, 0, 0}, 4 * pi / 3, 2.0, VekR{1, 1}, VekR{0})._h0(), 2.0, 1e-15);
  // Volume pi, overlap 1: radius 1, at the centre the weight 6.25 / (1 - e^-6.25) and no gradient.
  const TWolke kreis = wolke(0, 0, pi, 1.0);
  EXPECT_DOUBLE_EQ(kreis._h0(), 1.0);
  EXPECT_TRUE(kreis._bdrinnen(VekR{1.0, 0.0}));
  EXPECT_FALSE(kreis._bdrinnen(VekR{1.0000001, 0.0}));
  double w = 0;
  VekR w_x;
  kreis._w_und_w_x(VekR{0, 0}, w, w_x);
  EXPECT_NEAR(w, 6.25 / (1 - std::exp(-6.25)), 1e-15 * w);
  EXPECT_EQ(w_x, (VekR{0, 0}));

  // An ellipse, a = 1.8 along 35 degrees, b = 0.6: inside test and weight as
  // defined; gradient against central differences of step d = 1e-5 h0, whose
  // truncation (~ d^2 w''') and rounding (~ eps w / d) stay far below the
  // bound of 1e-6 w / (b h0).
  const TWolke e = wolke(3.0, -2.0, 0.7, 2.5, 1.8, 0.6, 35.0);
  EXPECT_NEAR(e._h(35.0), 1.8 * e._h0(), 1e-15);
  EXPECT_NEAR(e._h(125.0), 0.6 * e._h0(), 1e-15);
  std::mt19937 g(5);
  std::uniform_real_distribution<double> z(-1.5, 1.5);
  int drinnen = 0;
  for (int n = 0; n < 400; ++n) {
    const double x = 3.0 + z(g), y = -2.0 + z(g);
    const double r = std::hypot(x - 3.0, y + 2.0), h = e._h(std::atan2(y + 2.0, x - 3.0) * 180 / pi);
    if (std::fabs(r - h) < 1e-9 * h) continue;
    ASSERT_EQ(e._bdrinnen(VekR{x, y}), r <= h);
    if (r > h) continue;
    ++drinnen;
    e._w_und_w_x(VekR{x, y}, w, w_x);
    EXPECT_NEAR(w, gewicht(e, x, y), 1e-13 * w);
    const double d = 1e-5 * e._h0();
    if (!e._bdrinnen(VekR{x - d, y - d}) || !e._bdrinnen(VekR{x + d, y + d})) continue;
    EXPECT_NEAR(w_x[0], (gewicht(e, x + d, y) - gewicht(e, x - d, y)) / (2 * d), 1e-6 * w / (0.6 * e._h0()));
    EXPECT_NEAR(w_x[1], (gewicht(e, x, y + d) - gewicht(e, x, y - d)) / (2 * d), 1e-6 * w / (0.6 * e._h0()));
  }
  EXPECT_GT(drinnen, 40);

  // A cloud without volume holds nothing, not even its centre.
  const TWolke leer = wolke(1, 1, 0.0, 3.0);
  EXPECT_FALSE(leer._bdrinnen(VekR{1, 1}));
  leer._w_und_w_x(VekR{1, 1}, w, w_x);
  EXPECT_EQ(w, 0.0);
}

// Moving least squares reproduce the polynomials of their basis: constants
// (L sums to 1, G to 0), linear fields and their gradients, from degree 2
// quadratic ones. 1e-10 leaves a margin of thousands over eps times the
// condition of the moment matrices here.
TEST(Wolken, MovingLeastSquaresReproduceTheirBasis) {
  const std::vector<TWolke> feld = streuung(7, 4.0, 11);
  std::mt19937 g(3);
  std::uniform_real_distribution<double> z(0.1, 0.9);
  auto f = [](double x, double y) {
    return 0.3 + 1.7 * x - 0.4 * y + 0.9 * x * x - 1.1 * x * y + 0.6 * y * y;
  };
  // Degree, tensor basis.
  const std::pair<unsigned, bool> faelle[] = {{0, false}, {1, false}, {1, true},
                                              {2, false}, {2, true},  {3, false}};
  for (const auto& [grad, vollst] : faelle)
    for (int n = 0; n < 20; ++n) {
      const VekR x{z(g), z(g)};
      const std::vector<TWolke> w = an(feld, x);
      unsigned Ng = grad;
      VekR L;
      MatR G;
      double wsum = 0;
      ASSERT_TRUE(WOLKE::_L_G(Ng, vollst, w, x, L, G, wsum));
      ASSERT_EQ(Ng, grad);
      // Centres and field values of the clouds.
      MatR c(2, static_cast<int>(w.size()));
      VekR fc(c.spalten), eins(c.spalten, 1.0);
      for (int k = 0; k < c.spalten; ++k) {
        c[0][k] = w[k].zentrum[0];
        c[1][k] = w[k].zentrum[1];
        fc[k] = f(c[0][k], c[1][k]);
      }
      SCOPED_TRACE("Ng=" + std::to_string(Ng) + (vollst ? " tensor" : " complete"));
      EXPECT_NEAR(TVM::skalarprodukt(eins, L), 1.0, 1e-12);
      EXPECT_LT(maxabw(eins * G, VekR{0, 0}), 1e-10);
      if (Ng == 0) continue;
      EXPECT_LT(maxabw(c * L, x), 1e-12);
      EXPECT_LT(maxabw(c * G, einheitsmatrix(2)), 1e-10);
      if (Ng < 2) continue;
      EXPECT_NEAR(TVM::skalarprodukt(fc, L), f(x[0], x[1]), 1e-11);
      EXPECT_LT(maxabw(fc * G, VekR{1.7 + 1.8 * x[0] - 1.1 * x[1], -0.4 - 1.1 * x[0] + 1.2 * x[1]}), 1e-9);
    }
}

TEST(Wolken, BasisAndItsReductionsWithTheirMessages) {
  for (unsigned g = 0; g <= 4; ++g) {
    EXPECT_EQ(WOLKE::_Nb(g, false, 2), (g + 1) * (g + 2) / 2);
    EXPECT_EQ(WOLKE::_Nb(g, true, 2), (g + 1) * (g + 1));
  }
  EXPECT_EQ(WOLKE::_Nb(2, false, 3), 10u);
  EXPECT_EQ(WOLKE::_Nb(2, true, 4), 0u);
  EXPECT_EQ(WOLKE::_Ng(6, false, 2), 1u); // six points cannot carry six quadratic functions
  EXPECT_EQ(WOLKE::_Ng(7, false, 2), 2u);
  EXPECT_EQ(WOLKE::_Ng(26, true, 2), 4u);
  VekR b;
  MatR b_x;
  ASSERT_TRUE(WOLKE::_b(2, false, VekR{2, 3}, b));
  EXPECT_EQ(b, (VekR{1, 2, 3, 4, 6, 9}));
  ASSERT_TRUE(WOLKE::_b_x(2, false, VekR{2, 3}, b_x));
  EXPECT_EQ(maxabw(b_x, MatR(6, 2, {0, 0, 1, 0, 0, 1, 4, 0, 3, 2, 0, 6})), 0.0);
  ASSERT_TRUE(WOLKE::_b(1, true, VekR{2, 3}, b));
  EXPECT_EQ(b, (VekR{1, 3, 2, 6}));
  EXPECT_FALSE(WOLKE::_b(5, false, VekR{2, 3}, b));

  Konsolenumleitung k("x");
  const VekR x{0.5, 0.5};
  VekR L;
  MatR G;
  double wsum;
  std::vector<TWolke> sechs, linie;
  for (int i = 0; i < 6; ++i)
    sechs.push_back(wolke(0.5 + 0.3 * std::cos(i), 0.5 + 0.3 * std::sin(i), 0.5, 3.0));
  for (int i = 0; i < 5; ++i)
    linie.push_back(wolke(0.3 + 0.1 * i, 0.3 + 0.1 * i, 0.5, 3.0));
  // Degree 2 from six points becomes 1; degree 5 has no basis and becomes 4;
  // points on a line make the linear moment matrix singular: degree 0.
  unsigned Ng = 2;
  ASSERT_TRUE(WOLKE::_L_G(Ng, false, sechs, x, L, G, wsum));
  EXPECT_EQ(Ng, 1u);
  Ng = 5;
  ASSERT_TRUE(WOLKE::_L_G(Ng, false, an(streuung(9, 4.0, 2), x), x, L, G, wsum));
  EXPECT_EQ(Ng, 4u);
  Ng = 1;
  ASSERT_TRUE(WOLKE::_L_G(Ng, false, linie, x, L, G, wsum));
  EXPECT_EQ(Ng, 0u);
  EXPECT_EQ(k.aus.str(), "");
  // No clouds, or no usable solver: even degree 0 fails.
  EXPECT_FALSE(WOLKE::_L_G(Ng, false, {}, x, L, G, wsum));
  EXPECT_FALSE(WOLKE::_L_G(Ng, false, linie, x, L, G, wsum, MATHE::LOESER_UNBEKANNT));
  EXPECT_EQ(k.aus.str(), th::golden(meldungen, "Wolken: Grad 0 gescheitert"));
  // Clouds of 1e-12: gradients of 1e13 keep a rounding in their sum far above
  // 1e-6 at every degree, and the run is stopped.
  k.aus.str("");
  std::vector<TWolke> winzig;
  for (int i = 0; i < 7; ++i)
    winzig.push_back(
        wolke(1e-13 * std::cos(2 * i), 1e-13 * std::sin(3 * i), 1e-24, 3.0, 1 + 0.1 * i, 1, 20 * i));
  Ng = 1;
  EXPECT_THROW(WOLKE::_L_G(Ng, false, winzig, VekR{0, 0}, L, G, wsum), int);
  const std::string aus = k.aus.str(),
                    ende = ", (Ansatzfunktionsableitungen nicht hinreichend genau) -> ABBRUCH\n";
  EXPECT_EQ(aus.rfind("<WOLKE::_L_G()>: Ng=0, Gfehler=", 0), 0u) << aus;
  EXPECT_NE(aus.find(ende + th::frage), std::string::npos) << aus;
}

// The grid gives exactly the clouds that testing every one gives, in the
// same order: random stretched and turned clouds of varied size, random
// targets, their centres and points on their boundaries.
TEST(Wolken, GridSearchFindsWhatTestingEveryCloudFinds) {
  std::mt19937 g(17);
  std::uniform_real_distribution<double> ort(0, 10), vol(0.01, 0.2), streck(0.5, 2), winkel(-180, 180),
      weit(-1, 11);
  std::vector<TWolke> wolken;
  for (int i = 0; i < 3000; ++i)
    wolken.push_back(wolke(ort(g), ort(g), vol(g), 3.0, streck(g), streck(g), winkel(g)));
  const WOLKE::TWolkenraster raster(wolken);
  std::vector<VekR> ziele;
  for (int i = 0; i < 3000; ++i) {
    const TWolke& w = wolken[i];
    const double c = std::cos(w.phi * pi / 180), s = std::sin(w.phi * pi / 180), r = w.a * w.h0;
    ziele.insert(ziele.end(), {VekR{weit(g), weit(g)}, VekR{w.zentrum[0], w.zentrum[1]},
                               VekR{w.zentrum[0] + r * c, w.zentrum[1] + r * s}});
  }
  std::vector<int> raster_treffer, alle_treffer;
  std::size_t mehrfach = 0;
  for (const VekR& x : ziele) {
    raster._suchen(x.data, raster_treffer);
    WOLKE::_suchen_alle(wolken, x.data, alle_treffer);
    ASSERT_EQ(raster_treffer, alle_treffer) << x;
    mehrfach += alle_treffer.size() > 3;
  }
  EXPECT_GT(mehrfach, 1000u);

  // Tiny clouds far apart do not make a huge grid.
  const std::vector<TWolke> fern{wolke(0, 0, 1e-6, 3.0), wolke(1e6, -1e6, 1e-6, 3.0)};
  const WOLKE::TWolkenraster fern_raster(fern);
  EXPECT_LE(fern_raster._Nzellen(), 1024);
  const double punkt[2] = {1e6, -1e6}, nan[2] = {std::nan(""), 0.0};
  fern_raster._suchen(punkt, raster_treffer);
  EXPECT_EQ(raster_treffer, std::vector<int>{1});
  fern_raster._suchen(nan, raster_treffer);
  EXPECT_TRUE(raster_treffer.empty());

  // Clouds at both ends of the double range: the width of the grid overflows.
  const std::vector<TWolke> rand{wolke(-1e308, 0, 1, 1.0), wolke(1e308, 0, 1, 1.0)};
  const WOLKE::TWolkenraster rand_raster(rand);
  const double rechts[2] = {1e308, 0.0};
  rand_raster._suchen(rechts, raster_treffer);
  EXPECT_EQ(raster_treffer, std::vector<int>{1});
}

// Nodes 1..9 on the unit grid over (0..2)^2 with volume 1 (cloud radius
// 3 / sqrt(pi)) and a material point at (1.2, 0.9) with clouds from them.
TEST(Wolken, ApproximationTakesTheHoldingCloudsInNumberOrder) {
  Konsolenumleitung k("x");
  th::Modell mpm;
  mpm.stw.ansatz_knou_zu_pu = ANSATZ_WOLKEN;
  th::gitter(mpm, 3, 3, 1.0, 1.0);
  TMaterialpunkt* mp = th::materialpunkt(mpm, 1, 1.2, 0.9, 0.25);
  mpm.knou.suchen(5)->status = OBJSTATUS_INAKTIV; // left out
  TAnsatz* a = mp->ans_kno;
  ASSERT_TRUE(a->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  // All but 5 lie within 1.693 of the point.
  EXPECT_EQ(th::text(a->stuetzpu), "kno: kno(1+) kno(2+) kno(3+) kno(4+) kno(6+) kno(7+) kno(8+) kno(9+)");
  double wsum = 0;
  for (const TPunkt* p : a->stuetzpu)
    wsum += gewicht(wolke(p->xa[0], p->xa[1], 1.0, 3.0), 1.2, 0.9);
  EXPECT_NEAR(a->skal, wsum, 1e-14 * wsum);
  EXPECT_EQ(a->Ng, 1u);

  // The clouds the mesh setup lends give the same, bit for bit.
  const VekR L = a->L;
  const TWolkenquellen quellen(mpm, OBJTYP_KNO, KONFIGUR_REFKONF, true);
  mpm.wolkenquellen = &quellen;
  ASSERT_TRUE(a->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  mpm.wolkenquellen = nullptr;
  EXPECT_EQ(a->L, L);

  // In the current configuration a cloud takes the point's stretches 2 and
  // 0.5 along 30 degrees as its semi-axes.
  TPunkt* kn = PU_Z(mpm.knou.suchen(2));
  const double c = std::cos(pi / 6), s = std::sin(pi / 6);
  kn->zust.F = MatR(2, 2, {2 * c * c + 0.5 * s * s, 1.5 * c * s, 1.5 * c * s, 2 * s * s + 0.5 * c * c});
  const TWolke w = _wolke(*kn, KONFIGUR_MOMKONF, 3.0), w0 = _wolke(*kn, KONFIGUR_REFKONF, 3.0);
  EXPECT_LT(maxabw(VekR{w.a, w.b}, VekR{2.0, 0.5}), 1e-14);
  EXPECT_NEAR(w.phi, 30.0, 1e-12);
  EXPECT_EQ(w0.a * w0.b, 1.0);
  // Nodes that stay in place take values from points at their mesh place.
  mpm.stw.bknokoerperfest = false;
  EXPECT_EQ(_wolkenkonfigur(mpm, OBJTYP_KNO, OBJTYP_MPU, KONFIGUR_REFKONF), KONFIGUR_MOMKONF);
  EXPECT_EQ(_wolkenkonfigur(mpm, OBJTYP_MPU, OBJTYP_KNO, KONFIGUR_REFKONF), KONFIGUR_REFKONF);
  EXPECT_EQ(k.aus.str(), "");

  // A target no cloud holds, and one whose solve fails, are switched off
  // with a line in the control log (mpu(2-), mpu(1-)); only points can be targets.
  TMaterialpunkt* fern = th::materialpunkt(mpm, 2, 10.0, 10.0, 0.25);
  k.kontroll.str("");
  EXPECT_FALSE(fern->ans_kno->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  mpm.stw.gleichloes_ans = MATHE::LOESER_UNBEKANNT;
  EXPECT_FALSE(a->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  EXPECT_EQ(k.kontroll.str(), th::golden(meldungen, "Wolken: abgeschaltet"));
  k.aus.str("");
  EXPECT_THROW(_ansatz_erzeugen(&mpm, mp, OBJTYP_PU, OBJTYP_KNO, ANSATZ_WOLKEN), int);
  EXPECT_EQ(k.aus.str(), th::golden(meldungen, "Wolken: Punktart") + th::frage);
}
