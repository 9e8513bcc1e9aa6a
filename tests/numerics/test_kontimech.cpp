#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "numerics/kontimech.h"
#include "numerics/tvm.h"
#include "testhilfe.h"

using TVM::MatR;
using TVM::VekR;

TEST(Kinematik, PrincipalStretches) {
  VekR lambda, w;
  ASSERT_TRUE(MECH::_hauptstreck(MatR(2, 2, {1, 0, 0, 1}), lambda, w));
  EXPECT_EQ(lambda, (VekR{1, 1}));

  // The eigen-solver returns the larger value first; its angle vector holds
  // the direction of the first eigenvector.
  ASSERT_TRUE(MECH::_hauptstreck(MatR(2, 2, {2, 0, 0, 3}), lambda, w));
  EXPECT_EQ(lambda, (VekR{3, 2}));
  ASSERT_EQ(w.n, 1);
  EXPECT_NEAR(std::fabs(w[0]), 90.0, 1e-12);

  // A rotation in front of the stretch changes nothing.
  const double c = std::cos(0.5), s = std::sin(0.5);
  const MatR F = MatR(2, 2, {c, -s, s, c}) * MatR(2, 2, {2, 0, 0, 3});
  ASSERT_TRUE(MECH::_hauptstreck(F, lambda, w));
  EXPECT_LT(maxabw(lambda, VekR{3, 2}), 1e-14);

  // A singular F has a zero stretch, not a root of a negative rounding error.
  ASSERT_TRUE(MECH::_hauptstreck(MatR(2, 2, {1, 1, 1, 1}), lambda, w));
  EXPECT_NEAR(lambda[0], 2.0, 1e-15);
  EXPECT_NEAR(lambda[1], 0.0, 1e-7); // fails for NaN too

  // Orders the eigen-solver does not provide, and non-finite entries, fail.
  EXPECT_FALSE(MECH::_hauptstreck(MatR(3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1}), lambda, w));
  EXPECT_FALSE(
      MECH::_hauptstreck(MatR(2, 2, {std::numeric_limits<double>::quiet_NaN(), 0, 0, 1}), lambda, w));
  EXPECT_FALSE(MECH::_hauptstreck(MatR(), lambda, w));
}

TEST(Kinematik, MultiplicativeSplit) {
  Konsolenumleitung k;
  const MatR F(2, 2, {1.2, 0.3, -0.1, 0.9});
  const MatR Fa(2, 2, {1.1, 0.2, 0.05, 0.95});
  MatR Fb;
  ASSERT_TRUE(MECH::_F_zerlegung_multiplik(F, Fa, Fb));
  EXPECT_LT(maxabw(Fb * Fa, F), 1e-15);
  EXPECT_EQ(k.aus.str(), "");

  const MatR singulaer(2, 2, {1, 2, 2, 4});
  MatR Fb2(2, 2, 7.0);
  EXPECT_FALSE(MECH::_F_zerlegung_multiplik(F, singulaer, Fb2));
  std::ostringstream erwartet;
  erwartet << "<bool _F_zerlegung_multiplik(...)>: Invertierung von Fa gescheitert\nFa=" << singulaer << "\n";
  EXPECT_EQ(k.aus.str(), erwartet.str());
  EXPECT_EQ(Fb2[1][1], 7.0) << "left unchanged";

  // F with more columns than Fa has rows cannot be multiplied.
  k.aus.str("");
  EXPECT_FALSE(MECH::_F_zerlegung_multiplik(MatR(2, 3, 1.0), Fa, Fb2));
  EXPECT_EQ(Fb2[0][1], 7.0);
  EXPECT_EQ(k.aus.str(), "");
}
