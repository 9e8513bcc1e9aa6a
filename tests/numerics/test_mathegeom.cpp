#include <tuple>

#include "numerics/mathegeom.h"
#include "testhilfe.h"

using namespace MATHE;
using TVM::MatR;
using TVM::VekR;

TEST(Mathegeom, PunktAufStrecke) {
  const MatR strecke(2, 1, {0.0, 1.0});
  const MatR umgekehrt(2, 2, {1.0, 5.0, 0.0, 5.0});
  for (const MatR* s : {&strecke, &umgekehrt}) {
    EXPECT_TRUE(pinstrecke(*s, VekR{0.5}, false));
    EXPECT_FALSE(pinstrecke(*s, VekR{0.0}, false)); // ends excluded without tolerance
    EXPECT_TRUE(pinstrecke(*s, VekR{0.0}, true));
    EXPECT_FALSE(pinstrecke(*s, VekR{1.0}, false));
    EXPECT_TRUE(pinstrecke(*s, VekR{1.0}, true));
    EXPECT_FALSE(pinstrecke(*s, VekR{-1e-15}, true)); // beyond 2^-52
    EXPECT_FALSE(pinstrecke(*s, VekR{1.5}, true));
  }
  EXPECT_FALSE(pinstrecke(strecke, VekR{std::nan("")}, true));
  EXPECT_FALSE(pinstrecke(MatR(1, 1, {0.5}), VekR{0.5}, true));
  EXPECT_FALSE(pinstrecke(strecke, VekR(), true));
}

TEST(Mathegeom, PunktImPolygon) {
  const MatR dreieck(3, 2, {0.0, 0.0, 1.0, 0.0, 0.0, 1.0});
  const MatR quadrat(4, 2, {-1.0, -1.0, 1.0, -1.0, 1.0, 1.0, -1.0, 1.0});
  // Polygon, point, with tolerance, inside: points on the edges (the closing one
  // too) and corners count only with the tolerance.
  const std::tuple<const MatR&, double, double, bool, bool> faelle[] = {
      {dreieck, 0.25, 0.25, false, true},  {dreieck, 0.5, 0.0, false, false},
      {dreieck, 0.5, 0.0, true, true},     {dreieck, 0.5, 0.5, false, false},
      {dreieck, 0.5, 0.5, true, true},     {dreieck, 0.0, 0.0, true, true},
      {dreieck, 0.0, 0.5, false, false},   {dreieck, 0.6, 0.6, true, false},
      {dreieck, -1e-14, 0.5, true, false}, {quadrat, 0.999, -0.999, false, true},
      {quadrat, 1.001, 0.0, true, false},  {quadrat, -1.0, 0.0, false, false},
      {quadrat, -1.0, 0.0, true, true}};
  for (const auto& [polygon, x, y, tol, drinnen] : faelle)
    EXPECT_EQ(pinpolygon(polygon, VekR{x, y}, tol), drinnen) << polygon << " " << x << " " << y << " " << tol;
  // Clockwise corners: the interior lies right of every edge.
  EXPECT_FALSE(pinpolygon(MatR(3, 2, {0.0, 0.0, 0.0, 1.0, 1.0, 0.0}), VekR{0.25, 0.25}, true));

  EXPECT_TRUE(pinpolygon(MatR(), VekR{5.0, 5.0}, false));
  EXPECT_FALSE(pinpolygon(quadrat, VekR{std::nan(""), 0.0}, true));
  EXPECT_FALSE(pinpolygon(quadrat, VekR{0.0}, true));
  EXPECT_FALSE(pinpolygon(MatR(3, 1, 0.0), VekR{0.0, 0.0}, true));
}
