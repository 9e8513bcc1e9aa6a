#include "numerics/kontimech.h"
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
  EXPECT_FALSE(MECH::_hauptstreck(MatR(2, 2, {std::nan(""), 0, 0, 1}), lambda, w));
  EXPECT_FALSE(MECH::_hauptstreck(MatR(), lambda, w));
}
