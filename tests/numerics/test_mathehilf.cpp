#include <climits>
#include <cstdlib>
#include <limits>
#include <tuple>

#include "numerics/mathehilf.h"
#include "testhilfe.h"

using TVM::MatR;
using TVM::VekR;

namespace {
const double eps = 2.220446049250313e-16;
const double inf = std::numeric_limits<double>::infinity();
const double nanwert = std::numeric_limits<double>::quiet_NaN();

// Checks lambda descending, V orthonormal with rows (c, s), (-s, c), c >= 0,
// A v_i = lambda_i v_i to 1e-12 of the spectral norm, and the angle of row 0.
void eigenpaare_pruefen(const MatR& A) {
  VekR lambda, winkel;
  MatR V;
  ASSERT_TRUE(TVM::eigen_nxn_sym(A, lambda, V, winkel));
  ASSERT_TRUE(lambda.n == 2 && winkel.n == 1 && V.zeilen == 2 && V.spalten == 2);
  const double norm = std::max(std::fabs(lambda[0]), std::fabs(lambda[1]));
  EXPECT_GE(lambda[0], lambda[1]);
  const double c = V[0][0], s = V[0][1];
  EXPECT_GE(c, 0.0);
  EXPECT_EQ(V[1][0], -s);
  EXPECT_EQ(V[1][1], c);
  EXPECT_NEAR(c * c + s * s, 1.0, 4 * eps);
  for (int i = 0; i < 2; ++i)
    for (int k = 0; k < 2; ++k)
      EXPECT_LE(std::fabs(A[k][0] * V[i][0] + A[k][1] * V[i][1] - lambda[i] * V[i][k]), 1e-12 * norm)
          << "A=" << A << " Zeile " << i;
  EXPECT_NEAR(winkel[0], std::atan2(s, c) * 57.29577951308232, 1e-13);
}
} // namespace

TEST(Mathehilf, VergleicheUndRunden) {
  EXPECT_FALSE(MATHE::fastgleich(1.0, 1.0, 0.0)); // strict bounds
  EXPECT_TRUE(MATHE::fastgleich(1.0, 1.0, 1e-12));
  EXPECT_FALSE(MATHE::fastnull(0.25, 0.25));
  EXPECT_TRUE(MATHE::fastnull(-0.25, -0.5));

  // floor(x + 0.5) would round 0.49999999999999994 up and 2^52 + 1 to 2^52 + 2.
  // Value, digits, rounded value.
  const std::tuple<double, int, double> runden[] = {
      {2.375, 2, 2.38},     {-2.5, 0, -2.0}, {0x1p52 + 1, 0, 0x1p52 + 1}, {0.49999999999999994, 0, 0.0},
      {1250.0, -2, 1300.0}, {5.0, 400, 5.0}, {5.0, INT_MIN, 0.0}};
  for (const auto& [x, stellen, soll] : runden)
    EXPECT_EQ(MATHE::runde(x, stellen), soll) << x << " " << stellen;
  EXPECT_TRUE(std::isnan(MATHE::runde(nanwert, 3)));

  EXPECT_EQ(MATHE::pythag(-4.0, 3.0), 5.0);
  EXPECT_EQ(MATHE::pythag(inf, nanwert), inf);
  EXPECT_NEAR(MATHE::pythag(1e300, -1e300) / 1e300, std::sqrt(2.0), 4 * eps);
}

TEST(Mathehilf, Zufall) {
  ASSERT_EQ(RAND_MAX, 2147483647);
  std::srand(4711);
  const int r = std::rand();
  std::srand(4711);
  EXPECT_EQ(MATHE::zufall(-3.0, 5.0), -3.0 + r * 0x1p-31 * 8.0);

  // [a, b) and, for reversed bounds, (b, a]; a width of one ulp must never round onto b.
  const double b = 1.0 + 0x1p-52;
  for (int i = 0; i < 10000; ++i) {
    const double z = MATHE::zufall(2.0, 7.0), zr = MATHE::zufall(7.0, 2.0);
    ASSERT_TRUE(z >= 2.0 && z < 7.0) << z;
    ASSERT_TRUE(zr > 2.0 && zr <= 7.0) << zr;
    ASSERT_EQ(MATHE::zufall(1.0, b), 1.0);
    ASSERT_EQ(MATHE::zufall(b, 1.0), b);
  }
  EXPECT_EQ(MATHE::zufall(3.0, 3.0), 3.0);
  EXPECT_TRUE(std::isnan(MATHE::zufall(nanwert, 1.0)));
}

TEST(Mathehilf, WinkelVereinfachen) {
  // 1e6 = 2778 * 360 - 80.
  const double w[] = {540.0, -180.0, 190.0, 1e6};
  const double soll[] = {180.0, 180.0, -170.0, -80.0};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(MATHE::winkel_vereinfachen(w[i]), soll[i]) << w[i];
  EXPECT_TRUE(std::isnan(MATHE::winkel_vereinfachen(inf)));
  std::mt19937 gen(3);
  std::uniform_real_distribution<double> u(-1e5, 1e5);
  for (int i = 0; i < 1000; ++i) {
    const double x = u(gen), y = MATHE::winkel_vereinfachen(x);
    ASSERT_TRUE(y > -180.0 && y <= 180.0) << x;
    ASSERT_EQ(std::fmod(std::fabs(x - y), 360.0), 0.0) << x; // x - y is an exact multiple of 360
  }
}

TEST(Mathehilf, WinkelRichtungUndGleichheit) {
  // Angle, with tolerance (360 * 2^-52 = 8e-14 degrees), direction.
  const std::tuple<double, bool, int> richtungen[] = {
      {-720.0, true, 1},         {-180.0, true, -1},      {450.0, true, 2},
      {-90.0, true, -2},         {45.0, true, 0},         {-90.0 + 5e-14, false, 0},
      {-90.0 + 5e-14, true, -2}, {90.0 + 1e-13, true, 0}, {nanwert, true, 0}};
  for (const auto& [w, tol, r] : richtungen)
    EXPECT_EQ(MATHE::winkel_richtung(w, tol), r) << w << " " << tol;

  // 360 - 5.7e-14 is within 360 * 2^-52 = 8e-14 of 0, not within 180 * 2^-52 = 4e-14.
  const double knapp = std::nextafter(360.0, 0.0);
  // Two angles, with tolerance, modulo a half circle, equal.
  const std::tuple<double, double, bool, bool, bool> paare[] = {
      {10.0, 190.0, false, true, true},  {10.0, 190.0, false, false, false},
      {knapp, 0.0, false, false, false}, {0.0, knapp, true, false, true},
      {knapp, 0.0, true, true, false},   {nanwert, nanwert, true, true, false}};
  for (const auto& [w1, w2, tol, halbkreis, gleich] : paare)
    EXPECT_EQ(MATHE::b_winkel_gleich(w1, w2, tol, halbkreis), gleich)
        << w1 << " " << w2 << " " << tol << halbkreis;
}

TEST(Mathehilf, SinusKosinusUndPolar) {
  const double w[] = {90.0, -90.0, 540.0}, c[] = {0.0, 0.0, -1.0}, s[] = {1.0, -1.0, 0.0};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(MATHE::cos(w[i], false), c[i]) << w[i];
    EXPECT_EQ(MATHE::sin(w[i], false), s[i]) << w[i];
  }
  EXPECT_EQ(MATHE::sin(30.0, false), std::sin(30.0 * 0.017453292519943295));
  EXPECT_EQ(MATHE::cos(90.0 + 1e-14, true), 0.0);
  EXPECT_NE(MATHE::cos(90.0 + 1e-14, false), 0.0);
  EXPECT_TRUE(std::isnan(MATHE::sin(inf, true)));

  double r = -1.0;
  VekR winkel(4, 9.0);
  const auto polar = [&](const VekR& v) {
    MATHE::polar(v, r, winkel);
    return winkel.n == 1 ? winkel[0] : nanwert;
  };
  EXPECT_NEAR(polar(VekR{0.0, -2.0}), -90.0, 1e-13);
  EXPECT_EQ(r, 2.0);
  EXPECT_NEAR(polar(VekR{-1.0, -0.0}), 180.0, 1e-13);
  EXPECT_NEAR(polar(VekR{1.0, 1e-9}), 5.729577951308232e-8, 1e-21); // acos(x / r) would give 0
  EXPECT_NEAR(polar(VekR{1e200, 1e200}), 45.0, 1e-13);
  EXPECT_NEAR(r / 1e200, std::sqrt(2.0), 4 * eps);
  EXPECT_EQ(polar(VekR{1e-8, -1e-9}), 0.0); // squared length 1.01e-16 < 2^-52
  EXPECT_EQ(r, 0.0);
  r = 3.0;
  EXPECT_EQ(polar(VekR{3.0, 4.0, 0.0}), 0.0);
  EXPECT_EQ(r, 0.0);
}

TEST(Mathehilf, EigenSymmetrisch2x2) {
  VekR lambda, winkel;
  MatR V;
  eigenpaare_pruefen(MatR(2, 2, {2.0, 1.0, 1.0, 2.0}));
  ASSERT_TRUE(TVM::eigen_nxn_sym(MatR(2, 2, {2.0, 1.0, 1.0, 2.0}), lambda, V, winkel));
  EXPECT_NEAR(winkel[0], 45.0, 1e-13);

  // Refused: not symmetric (relative to its size), not finite, overflowing.
  lambda.init(5, nullptr, 7.0);
  EXPECT_FALSE(TVM::eigen_nxn_sym(MatR(2, 2, {2e-14, 1e-14, 3e-14, 2e-14}), lambda, V, winkel));
  EXPECT_EQ(lambda.n, 5); // untouched on refusal
  EXPECT_FALSE(TVM::eigen_nxn_sym(MatR(2, 2, {nanwert, 0.0, 0.0, 1.0}), lambda, V, winkel));
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
  EXPECT_EQ(maxabw(V, MatR(1, 1, {1.0})), 0.0);

  const MatR A3(3, 3, {1.0, 2.0, 3.0, 2.0, 4.0, 5.0, 3.0, 5.0, 6.0});
  lambda.init(1, nullptr, 9.0);
  EXPECT_FALSE(TVM::eigen_nxn_sym(A3, lambda, V, winkel));
  EXPECT_EQ(lambda, VekR(3, 0.0));
  EXPECT_EQ(maxabw(V, MatR(3, 3)), 0.0);

  lambda.init(1, nullptr, 9.0);
  EXPECT_FALSE(TVM::eigen_nxn_sym(MatR(2, 3), lambda, V, winkel));
  EXPECT_EQ(lambda, VekR{9.0});
}
