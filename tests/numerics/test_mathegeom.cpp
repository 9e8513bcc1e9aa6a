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
  EXPECT_TRUE(pinpolygon(dreieck, VekR{0.25, 0.25}, false));
  EXPECT_FALSE(pinpolygon(dreieck, VekR{0.5, 0.0}, false)); // on the first edge
  EXPECT_TRUE(pinpolygon(dreieck, VekR{0.5, 0.0}, true));
  EXPECT_FALSE(pinpolygon(dreieck, VekR{0.5, 0.5}, false)); // on the hypotenuse
  EXPECT_TRUE(pinpolygon(dreieck, VekR{0.5, 0.5}, true));
  EXPECT_TRUE(pinpolygon(dreieck, VekR{0.0, 0.0}, true));   // corner
  EXPECT_FALSE(pinpolygon(dreieck, VekR{0.0, 0.5}, false)); // on the closing edge
  EXPECT_FALSE(pinpolygon(dreieck, VekR{0.6, 0.6}, true));
  EXPECT_FALSE(pinpolygon(dreieck, VekR{-1e-14, 0.5}, true));
  // Clockwise corners: the interior lies right of every edge.
  EXPECT_FALSE(pinpolygon(MatR(3, 2, {0.0, 0.0, 0.0, 1.0, 1.0, 0.0}), VekR{0.25, 0.25}, true));

  const MatR quadrat(4, 2, {-1.0, -1.0, 1.0, -1.0, 1.0, 1.0, -1.0, 1.0});
  EXPECT_TRUE(pinpolygon(quadrat, VekR{0.999, -0.999}, false));
  EXPECT_FALSE(pinpolygon(quadrat, VekR{1.001, 0.0}, true));
  EXPECT_FALSE(pinpolygon(quadrat, VekR{-1.0, 0.0}, false)); // closing edge
  EXPECT_TRUE(pinpolygon(quadrat, VekR{-1.0, 0.0}, true));

  EXPECT_TRUE(pinpolygon(MatR(), VekR{5.0, 5.0}, false));
  EXPECT_FALSE(pinpolygon(quadrat, VekR{std::nan(""), 0.0}, true));
  EXPECT_FALSE(pinpolygon(quadrat, VekR{0.0}, true));
  EXPECT_FALSE(pinpolygon(MatR(3, 1, 0.0), VekR{0.0, 0.0}, true));
}
