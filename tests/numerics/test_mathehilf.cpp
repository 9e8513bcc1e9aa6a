#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>

#include "numerics/mathehilf.h"

using TVM::MatR;
using TVM::VekR;

namespace {
const double eps = 2.220446049250313e-16;
const double inf = std::numeric_limits<double>::infinity();
const double nanwert = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST(Mathehilf, VergleicheUndRunden) {
  EXPECT_FALSE(MATHE::fastgleich(1.0, 1.0, 0.0)); // strict bounds
  EXPECT_TRUE(MATHE::fastgleich(1.0, 1.0, 1e-12));
  EXPECT_FALSE(MATHE::fastgleich(1.0, 1.5, 0.5));
  EXPECT_FALSE(MATHE::fastgleich(2.0, 1.5, -0.5));
  EXPECT_TRUE(MATHE::fastgleich(2.0, 1.5, -0.75));
  EXPECT_FALSE(MATHE::fastgleich(nanwert, nanwert, 1.0));
  EXPECT_FALSE(MATHE::fastnull(0.25, 0.25));
  EXPECT_FALSE(MATHE::fastnull(-0.25, 0.25));
  EXPECT_TRUE(MATHE::fastnull(-0.25, -0.5));
  EXPECT_FALSE(MATHE::fastnull(nanwert, 1.0));

  // floor(x + 0.5) would round 0.49999999999999994 up and 2^52 + 1 to 2^52 + 2.
  const struct {
    double x;
    int stellen;
    double soll;
  } runden[] = {{2.375, 2, 2.38},
                {-2.5, 0, -2.0},
                {2.5, 0, 3.0},
                {-2.51, 0, -3.0},
                {1250.0, -2, 1300.0},
                {-1250.0, -2, -1200.0},
                {1234.5, -2, 1200.0},
                {0.49999999999999994, 0, 0.0},
                {0x1p52 + 1, 0, 0x1p52 + 1},
                {1e300, 20, 1e300},
                {5.0, 400, 5.0},
                {5.0, -400, 0.0},
                {5.0, INT_MIN, 0.0},
                {-inf, 3, -inf}};
  for (const auto& f : runden)
    EXPECT_EQ(MATHE::runde(f.x, f.stellen), f.soll) << f.x << " " << f.stellen;
  EXPECT_TRUE(std::isnan(MATHE::runde(nanwert, 3)));

  EXPECT_EQ(MATHE::nachkommastellen(2.75), 0.75);
  EXPECT_EQ(MATHE::nachkommastellen(-2.75), -0.75);
  EXPECT_EQ(MATHE::nachkommastellen(-3.0), 0.0);
  EXPECT_EQ(MATHE::nachkommastellen(0.0), 0.0);
  EXPECT_TRUE(std::isnan(MATHE::nachkommastellen(inf)));

  EXPECT_EQ(MATHE::pythag(3.0, 4.0), 5.0);
  EXPECT_EQ(MATHE::pythag(-4.0, 3.0), 5.0);
  EXPECT_EQ(MATHE::pythag(0.0, -2.0), 2.0);
  EXPECT_EQ(MATHE::pythag(0.0, 0.0), 0.0);
  EXPECT_NEAR(MATHE::pythag(1e300, -1e300) / 1e300, std::sqrt(2.0), 4 * eps);
  EXPECT_NEAR(MATHE::pythag(3e-300, 4e-300) / 1e-300, 5.0, 8 * eps);
  EXPECT_EQ(MATHE::pythag(inf, nanwert), inf);
  EXPECT_EQ(MATHE::pythag(-inf, -inf), inf);
  EXPECT_TRUE(std::isnan(MATHE::pythag(nanwert, 1.0)));
}

TEST(Mathehilf, Zufall) {
  ASSERT_EQ(RAND_MAX, 2147483647);
  std::srand(4711);
  const int r = std::rand();
  std::srand(4711);
  EXPECT_EQ(MATHE::zufall(-3.0, 5.0), -3.0 + r * 0x1p-31 * 8.0);

  double kleinst = inf, groesst = -inf, summe = 0.0;
  const int anzahl = 200000;
  for (int i = 0; i < anzahl; ++i) {
    const double z = MATHE::zufall(2.0, 7.0);
    kleinst = std::min(kleinst, z);
    groesst = std::max(groesst, z);
    summe += z;
  }
  EXPECT_GE(kleinst, 2.0);
  EXPECT_LT(groesst, 7.0);
  EXPECT_LT(kleinst, 2.001);
  EXPECT_GT(groesst, 6.999);
  EXPECT_NEAR(summe / anzahl, 4.5, 0.02); // standard error 0.0032

  // Reversed bounds give (b, a]; a width of one ulp must never round onto b.
  const double b = 1.0 + 0x1p-52;
  for (int i = 0; i < 10000; ++i) {
    const double z = MATHE::zufall(7.0, 2.0);
    ASSERT_TRUE(z > 2.0 && z <= 7.0) << z;
    ASSERT_EQ(MATHE::zufall(1.0, b), 1.0);
    ASSERT_EQ(MATHE::zufall(b, 1.0), b);
  }
  EXPECT_EQ(MATHE::zufall(3.0, 3.0), 3.0);
  EXPECT_TRUE(std::isnan(MATHE::zufall(nanwert, 1.0)));
}

TEST(Mathehilf, WinkelVereinfachen) {
  EXPECT_EQ(MATHE::winkel_vereinfachen(540.0), 180.0);
  EXPECT_EQ(MATHE::winkel_vereinfachen(-180.0), 180.0);
  EXPECT_EQ(MATHE::winkel_vereinfachen(180.0), 180.0);
  EXPECT_EQ(MATHE::winkel_vereinfachen(-540.0), 180.0);
  EXPECT_EQ(MATHE::winkel_vereinfachen(190.0), -170.0);
  EXPECT_EQ(MATHE::winkel_vereinfachen(-190.0), 170.0);
  EXPECT_EQ(MATHE::winkel_vereinfachen(720.0), 0.0);
  EXPECT_EQ(MATHE::winkel_vereinfachen(1e6), -80.0); // 1e6 = 2778 * 360 - 80
  EXPECT_TRUE(std::isnan(MATHE::winkel_vereinfachen(inf)));
  EXPECT_TRUE(std::isnan(MATHE::winkel_vereinfachen(-inf)));
  EXPECT_TRUE(std::isnan(MATHE::winkel_vereinfachen(nanwert)));
  std::mt19937 gen(3);
  std::uniform_real_distribution<double> w(-1e5, 1e5);
  for (int i = 0; i < 1000; ++i) {
    const double x = w(gen), y = MATHE::winkel_vereinfachen(x);
    ASSERT_TRUE(y > -180.0 && y <= 180.0) << x;
    ASSERT_EQ(std::fmod(std::fabs(x - y), 360.0), 0.0) << x; // x - y is an exact multiple of 360
  }
}

TEST(Mathehilf, WinkelRichtungUndGleichheit) {
  const double w[] = {0.0, 360.0, -720.0, 180.0, -180.0, 90.0, 450.0, -270.0, 270.0, -90.0, 45.0, 1.0};
  const int r[] = {1, 1, 1, -1, -1, 2, 2, 2, -2, -2, 0, 0};
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(MATHE::winkel_richtung(w[i], false), r[i]) << w[i];
    EXPECT_EQ(MATHE::winkel_richtung(w[i], true), r[i]) << w[i];
  }
  // Tolerance 360 * 2^-52 = 8e-14 degrees, on both sides of every multiple of 360.
  for (const double d : {1e-14, -1e-14, 5e-14}) {
    EXPECT_EQ(MATHE::winkel_richtung(90.0 + d, false), 0) << d;
    EXPECT_EQ(MATHE::winkel_richtung(90.0 + d, true), 2) << d;
    EXPECT_EQ(MATHE::winkel_richtung(-90.0 + d, true), -2) << d;
    EXPECT_EQ(MATHE::winkel_richtung(450.0 + d, true), 2) << d;
    EXPECT_EQ(MATHE::winkel_richtung(-180.0 + d, true), -1) << d;
  }
  EXPECT_EQ(MATHE::winkel_richtung(90.0 + 1e-13, true), 0);
  // Far out every axis matches after rounding; 0 degrees is tested first.
  EXPECT_EQ(MATHE::winkel_richtung(360.0 * 0x1p60, false), 1);
  EXPECT_EQ(MATHE::winkel_richtung(nanwert, true), 0);
  EXPECT_EQ(MATHE::winkel_richtung(-inf, true), 0);

  EXPECT_TRUE(MATHE::b_winkel_gleich(10.0, 190.0, false, true));
  EXPECT_FALSE(MATHE::b_winkel_gleich(10.0, 190.0, false, false));
  EXPECT_TRUE(MATHE::b_winkel_gleich(10.0, -350.0, false, false));
  EXPECT_TRUE(MATHE::b_winkel_gleich(-45.0, 495.0, false, true));
  EXPECT_FALSE(MATHE::b_winkel_gleich(10.0, 100.0, true, true));
  EXPECT_FALSE(MATHE::b_winkel_gleich(0.0, 1e-14, false, false));
  EXPECT_TRUE(MATHE::b_winkel_gleich(0.0, 1e-14, true, false));
  const double knapp = std::nextafter(360.0, 0.0); // 360 - 5.7e-14
  EXPECT_FALSE(MATHE::b_winkel_gleich(knapp, 0.0, false, false));
  EXPECT_TRUE(MATHE::b_winkel_gleich(knapp, 0.0, true, false));
  EXPECT_TRUE(MATHE::b_winkel_gleich(0.0, knapp, true, false));
  EXPECT_FALSE(MATHE::b_winkel_gleich(knapp, 0.0, true, true)); // 180 * 2^-52 = 4e-14
  EXPECT_FALSE(MATHE::b_winkel_gleich(nanwert, nanwert, true, true));
  EXPECT_FALSE(MATHE::b_winkel_gleich(inf, inf, true, true));
}

TEST(Mathehilf, SinusKosinusUndPolar) {
  EXPECT_EQ(MATHE::cos(90.0, false), 0.0);
  EXPECT_EQ(MATHE::cos(-90.0, false), 0.0);
  EXPECT_EQ(MATHE::cos(180.0, false), -1.0);
  EXPECT_EQ(MATHE::cos(-360.0, false), 1.0);
  EXPECT_EQ(MATHE::sin(90.0, false), 1.0);
  EXPECT_EQ(MATHE::sin(-90.0, false), -1.0);
  EXPECT_EQ(MATHE::sin(180.0, false), 0.0);
  EXPECT_EQ(MATHE::sin(540.0, false), 0.0);
  EXPECT_EQ(MATHE::sin(30.0, false), std::sin(30.0 * 0.017453292519943295));
  EXPECT_NEAR(MATHE::sin(30.0, false), 0.5, 2 * eps);
  EXPECT_NEAR(MATHE::cos(60.0, true), 0.5, 2 * eps);
  EXPECT_EQ(MATHE::cos(90.0 + 1e-14, true), 0.0);
  EXPECT_EQ(MATHE::sin(-90.0 + 1e-14, true), -1.0);
  EXPECT_NE(MATHE::cos(90.0 + 1e-14, false), 0.0);
  EXPECT_TRUE(std::isnan(MATHE::sin(inf, true)));
  EXPECT_TRUE(std::isnan(MATHE::cos(nanwert, true)));

  double r = -1.0;
  VekR winkel(4, 9.0);
  MATHE::polar(VekR{0.0, -2.0}, r, winkel);
  ASSERT_EQ(winkel.n, 1);
  EXPECT_EQ(r, 2.0);
  EXPECT_NEAR(winkel[0], -90.0, 1e-13);
  MATHE::polar(VekR{3.0, 4.0}, r, winkel);
  EXPECT_EQ(r, 5.0);
  EXPECT_NEAR(winkel[0], 53.13010235415598, 1e-13);
  MATHE::polar(VekR{-1.0, -0.0}, r, winkel);
  EXPECT_NEAR(winkel[0], 180.0, 1e-13);
  MATHE::polar(VekR{-1.0, -1e-300}, r, winkel);
  EXPECT_NEAR(winkel[0], -180.0, 1e-13);
  MATHE::polar(VekR{1.0, 1e-9}, r, winkel); // acos(x / r) would give 0
  EXPECT_NEAR(winkel[0], 5.729577951308232e-8, 1e-21);
  MATHE::polar(VekR{1e200, 1e200}, r, winkel);
  EXPECT_NEAR(r / 1e200, std::sqrt(2.0), 4 * eps);
  EXPECT_NEAR(winkel[0], 45.0, 1e-13);
  MATHE::polar(VekR{1e-7, 0.0}, r, winkel);
  EXPECT_EQ(r, 1e-7);
  MATHE::polar(VekR{1e-8, -1e-9}, r, winkel); // squared length 1.01e-16 < 2^-52
  EXPECT_EQ(r, 0.0);
  EXPECT_EQ(winkel[0], 0.0);
  MATHE::polar(VekR{inf, 1.0}, r, winkel);
  EXPECT_EQ(r, inf);
  EXPECT_EQ(winkel[0], 0.0);
  MATHE::polar(VekR{nanwert, 1.0}, r, winkel);
  EXPECT_TRUE(std::isnan(r));
  r = 3.0;
  MATHE::polar(VekR{3.0, 4.0, 0.0}, r, winkel);
  EXPECT_EQ(r, 0.0);
  ASSERT_EQ(winkel.n, 1);
  EXPECT_EQ(winkel[0], 0.0);
}

namespace {
// Checks lambda descending, V orthonormal with rows (c, s), (-s, c), c >= 0,
// A v_i = lambda_i v_i to 1e-12 of the spectral norm, and the angle of row 0.
void eigenpaare_pruefen(const MatR& A) {
  VekR lambda, winkel;
  MatR V;
  ASSERT_TRUE(TVM::eigen_nxn_sym(A, lambda, V, winkel));
  ASSERT_EQ(lambda.n, 2);
  ASSERT_EQ(winkel.n, 1);
  ASSERT_TRUE(V.zeilen == 2 && V.spalten == 2);
  const double norm = std::max(std::fabs(lambda[0]), std::fabs(lambda[1]));
  EXPECT_GE(lambda[0], lambda[1]);
  EXPECT_NEAR(lambda[0] + lambda[1], A[0][0] + A[1][1], 4 * eps * norm);
  const double c = V[0][0], s = V[0][1];
  EXPECT_GE(c, 0.0);
  EXPECT_EQ(V[1][0], -s);
  EXPECT_EQ(V[1][1], c);
  EXPECT_NEAR(c * c + s * s, 1.0, 4 * eps);
  for (int i = 0; i < 2; ++i) {
    const double* v = V[i];
    for (int k = 0; k < 2; ++k)
      EXPECT_LE(std::fabs(A[k][0] * v[0] + A[k][1] * v[1] - lambda[i] * v[k]), 1e-12 * norm)
          << "A=" << A << " Zeile " << i;
  }
  EXPECT_NEAR(winkel[0], std::atan2(s, c) * 57.29577951308232, 1e-13);
}
} // namespace

TEST(Mathehilf, EigenSymmetrisch2x2) {
  VekR lambda, winkel;
  MatR V;
  ASSERT_TRUE(TVM::eigen_nxn_sym(MatR(2, 2, {2.0, 1.0, 1.0, 2.0}), lambda, V, winkel));
  EXPECT_NEAR(lambda[0], 3.0, 4 * eps);
  EXPECT_NEAR(lambda[1], 1.0, 4 * eps);
  EXPECT_NEAR(V[0][0], 0.7071067811865476, 2 * eps);
  EXPECT_NEAR(V[0][1], 0.7071067811865476, 2 * eps);
  EXPECT_NEAR(V[1][0], -0.7071067811865476, 2 * eps);
  EXPECT_NEAR(winkel[0], 45.0, 1e-13);

  ASSERT_TRUE(TVM::eigen_nxn_sym(MatR(2, 2, {1.0, -2.0, -2.0, 1.0}), lambda, V, winkel));
  EXPECT_NEAR(lambda[0], 3.0, 4 * eps);
  EXPECT_NEAR(lambda[1], -1.0, 4 * eps);
  EXPECT_NEAR(winkel[0], -45.0, 1e-13);

  // Diagonal, smaller entry first: the first eigenvector is the second axis.
  ASSERT_TRUE(TVM::eigen_nxn_sym(MatR(2, 2, {1.0, 0.0, 0.0, 4.0}), lambda, V, winkel));
  EXPECT_EQ(lambda, (VekR{4.0, 1.0}));
  EXPECT_EQ(VekR(std::vector<double>(V.data, V.data + 4)), (VekR{0.0, 1.0, -1.0, 0.0}));
  EXPECT_EQ(winkel[0], 90.0);
  ASSERT_TRUE(TVM::eigen_nxn_sym(MatR(2, 2, {4.0, 0.0, 0.0, 1.0}), lambda, V, winkel));
  EXPECT_EQ(VekR(std::vector<double>(V.data, V.data + 4)), (VekR{1.0, 0.0, 0.0, 1.0}));
  EXPECT_EQ(winkel[0], 0.0);
  for (const double w : {3.0, 0.0}) {
    ASSERT_TRUE(TVM::eigen_nxn_sym(MatR(2, 2, {w, 0.0, 0.0, w}), lambda, V, winkel));
    EXPECT_EQ(lambda, (VekR{w, w}));
    EXPECT_EQ(VekR(std::vector<double>(V.data, V.data + 4)), (VekR{1.0, 0.0, 0.0, 1.0}));
  }

  // A small matrix keeps its eigenvectors; an absolute tolerance of 2.2e-14
  // would take its eigenvalues for equal.
  ASSERT_TRUE(TVM::eigen_nxn_sym(MatR(2, 2, {2e-14, 1e-14, 1e-14, 2e-14}), lambda, V, winkel));
  EXPECT_NEAR(lambda[0], 3e-14, 4e-30);
  EXPECT_NEAR(winkel[0], 45.0, 1e-13);
  lambda.init(5, nullptr, 7.0);
  EXPECT_FALSE(TVM::eigen_nxn_sym(MatR(2, 2, {2e-14, 1e-14, 3e-14, 2e-14}), lambda, V, winkel));
  EXPECT_FALSE(TVM::eigen_nxn_sym(MatR(2, 2, {1.0, 2.0, 2.0 + 1e-13, 1.0}), lambda, V, winkel));
  EXPECT_EQ(lambda.n, 5); // untouched on refusal
  EXPECT_TRUE(TVM::eigen_nxn_sym(MatR(2, 2, {1.0, 2.0, 2.0 + 1e-14, 1.0}), lambda, V, winkel));
  EXPECT_FALSE(TVM::eigen_nxn_sym(MatR(2, 2, {nanwert, 0.0, 0.0, 1.0}), lambda, V, winkel));
  EXPECT_FALSE(TVM::eigen_nxn_sym(MatR(2, 2, {inf, 1.0, 1.0, 1.0}), lambda, V, winkel));
  EXPECT_FALSE(TVM::eigen_nxn_sym(MatR(2, 2, {1e308, 0.0, 0.0, -1e308}), lambda, V, winkel));

  std::mt19937 gen(11);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::uniform_int_distribution<int> k(-12, 12);
  for (int i = 0; i < 3000; ++i) {
    const double skala = std::pow(10.0, k(gen));
    double a = u(gen), b = u(gen), d = u(gen);
    if (i % 3 == 1) { // nearly equal eigenvalues
      d = a + u(gen) * std::pow(10.0, k(gen) - 4);
      b = u(gen) * std::pow(10.0, k(gen) - 4);
    } else if (i % 3 == 2) { // diagonal or nearly so, either order
      b = i % 2 ? 0.0 : b * 1e-15;
    }
    eigenpaare_pruefen(MatR(2, 2, {a * skala, b * skala, b * skala, d * skala}));
  }
}

TEST(Mathehilf, EigenAndereOrdnungen) {
  VekR lambda, winkel(3, 1.0);
  MatR V;
  ASSERT_TRUE(TVM::eigen_nxn_sym(MatR(1, 1, {7.0}), lambda, V, winkel));
  EXPECT_EQ(lambda, VekR{7.0});
  ASSERT_TRUE(V.zeilen == 1 && V.spalten == 1);
  EXPECT_EQ(V[0][0], 1.0);
  EXPECT_EQ(winkel.n, 0);

  const MatR A3(3, 3, {1.0, 2.0, 3.0, 2.0, 4.0, 5.0, 3.0, 5.0, 6.0});
  lambda.init(1, nullptr, 9.0);
  EXPECT_FALSE(TVM::eigen_nxn_sym(A3, lambda, V, winkel));
  EXPECT_EQ(lambda, VekR(3, 0.0));
  ASSERT_TRUE(V.zeilen == 3 && V.spalten == 3);
  for (long i = 0; i < 9; ++i)
    EXPECT_EQ(V.data[i], 0.0);
  EXPECT_EQ(winkel, VekR(2, 0.0));

  MatR unsym = A3;
  unsym[2][1] = 5.5;
  lambda.init(1, nullptr, 9.0);
  EXPECT_FALSE(TVM::eigen_nxn_sym(unsym, lambda, V, winkel));
  EXPECT_EQ(lambda, VekR{9.0});
  EXPECT_FALSE(TVM::eigen_nxn_sym(MatR(2, 3), lambda, V, winkel));
  EXPECT_FALSE(TVM::eigen_nxn_sym(MatR(4, 4), lambda, V, winkel));
  EXPECT_FALSE(TVM::eigen_nxn_sym(MatR(), lambda, V, winkel));
  EXPECT_EQ(lambda, VekR{9.0});
}
