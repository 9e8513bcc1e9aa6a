#include <gtest/gtest.h>

#include <cmath>

#include "numerics/mathegeom.h"

using TVM::MatR;
using TVM::VekR;

TEST(Mathegeom, PunktAufStrecke) {
  const MatR strecke(2, 1, {0.0, 1.0});
  const MatR umgekehrt(2, 2, {1.0, 5.0, 0.0, 5.0});
  // Ends excluded without tolerance; -1e-15 lies beyond 2^-52.
  const struct {
    double x;
    bool tol, drin;
  } faelle[] = {{0.5, false, true}, {0.0, false, false},   {0.0, true, true}, {1.0, false, false},
                {1.0, true, true},  {-1e-15, true, false}, {1.5, true, false}};
  for (const MatR* s : {&strecke, &umgekehrt})
    for (const auto& f : faelle)
      EXPECT_EQ(MATHE::pinstrecke(*s, VekR{f.x}, f.tol), f.drin) << *s << f.x << " " << f.tol;
  EXPECT_FALSE(MATHE::pinstrecke(strecke, VekR{std::nan("")}, true));
  EXPECT_FALSE(MATHE::pinstrecke(MatR(1, 1, {0.5}), VekR{0.5}, true));
  EXPECT_FALSE(MATHE::pinstrecke(strecke, VekR(), true));
}

TEST(Mathegeom, PunktImPolygon) {
  const MatR dreieck(3, 2, {0.0, 0.0, 1.0, 0.0, 0.0, 1.0});
  const MatR quadrat(4, 2, {-1.0, -1.0, 1.0, -1.0, 1.0, 1.0, -1.0, 1.0});
  // Clockwise corners: the interior lies right of every edge.
  const MatR uhrzeiger(3, 2, {0.0, 0.0, 0.0, 1.0, 1.0, 0.0});
  const MatR leer, spalte(3, 1, 0.0);
  const double nan = std::nan("");
  const struct {
    const MatR& p;
    VekR x;
    bool tol, drin;
  } faelle[] = {
      {dreieck, {0.25, 0.25}, false, true},   {dreieck, {0.5, 0.0}, false, false}, // on the first edge
      {dreieck, {0.5, 0.0}, true, true},      {dreieck, {0.5, 0.5}, false, false}, // on the hypotenuse
      {dreieck, {0.5, 0.5}, true, true},      {dreieck, {0.0, 0.0}, true, true},   // corner
      {dreieck, {0.0, 0.5}, false, false},                                         // on the closing edge
      {dreieck, {0.6, 0.6}, true, false},     {dreieck, {-1e-14, 0.5}, true, false},
      {uhrzeiger, {0.25, 0.25}, true, false}, {quadrat, {0.999, -0.999}, false, true},
      {quadrat, {1.001, 0.0}, true, false},   {quadrat, {-1.0, 0.0}, false, false}, // closing edge
      {quadrat, {-1.0, 0.0}, true, true},     {leer, {5.0, 5.0}, false, true},
      {quadrat, {nan, 0.0}, true, false},     {quadrat, {0.0}, true, false},
      {spalte, {0.0, 0.0}, true, false}};
  for (const auto& f : faelle)
    EXPECT_EQ(MATHE::pinpolygon(f.p, f.x, f.tol), f.drin) << f.p << f.x << " " << f.tol;
}
