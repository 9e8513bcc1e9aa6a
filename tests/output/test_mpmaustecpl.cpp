#include <gtest/gtest.h>

#include <string>

#include "frame/mix.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"
#include "solver/mpm.h"
#include "testhilfe.h"

using namespace MPM;
using TVM::VekR;

namespace {
// n material points in pairs across a strip: point k at (k / 2, k % 2).
void punkte(Tmpm& mpm, int n) {
  _material_erzeugen(&mpm, 1, 1, {1.0, 100.0, 0.25, 0.0});
  const VekR leer;
  for (int k = 0; k < n; ++k) {
    VekR x{1.0 * (k / 2), 1.0 * (k % 2)};
    mpu_erzeugen(&mpm, k + 1, 1, 1.0, x, leer, leer, leer, leer, 0);
  }
}
} // namespace

TEST(Tecplot, HeaderAndLadderComeWithTheFirstRecordWhateverItsStep) {
  Testlauf lauf("");
  Konsolenumleitung k;
  Tmpm mpm;
  punkte(mpm, 10);
  mpm._ausgabe_tecplot(ZEITPU_ZEITSCHRITTENDE);
  EXPECT_EQ(lauf.lesen("tpl"), "") << "switched off";
  mpm.bausdat_tecpl = true;
  mpm.titel = "Streifen";
  mpm.tt = 3;
  mpm.t = 0.25;
  MPU_Z(mpm.mpu.suchen(2))->zust.eps.init({1e-3, -2e-3, 3e-3});
  mpm._ausgabe_tecplot(ZEITPU_STARTWERTE);
  EXPECT_EQ(lauf.lesen("tpl"), "") << "only at the end of a step";
  mpm._ausgabe_tecplot(ZEITPU_ZEITSCHRITTENDE);
  const std::string null = _str(0.0, 10);
  std::string zeilen;
  for (int k = 0; k < 10; ++k)
    zeilen += _str(1.0 * (k / 2), 10) + " " + _str(1.0 * (k % 2), 10) + " " +
              (k == 1 ? _str(1e-3, 10) + " " + _str(-2e-3, 10) + " " + _str(3e-3, 10)
                      : null + " " + null + " " + null) +
              " \n";
  // N = 10 gives E = 4 quadrilaterals over consecutive pairs.
  EXPECT_EQ(lauf.lesen("tpl"),
            "TITLE = \"Streifen\"\nVARIABLES =\"X\", \"Y\", \"eps1\", \"eps2\", \"eps12\"\n"
            "ZONE T=\"0.25\", F=FEPOINT, N=10, E=4, ET=QUADRILATERAL\n" +
                zeilen + "\n1 3 4 2\n3 5 6 4\n5 7 8 6\n7 9 10 8\n");
  // Later records, also one of step 0 after a refinement, reuse the connectivity.
  const std::size_t alt = lauf.lesen("tpl").size();
  mpm.tt = 0;
  mpm.t = 0.5;
  mpm._ausgabe_tecplot(ZEITPU_ZEITSCHRITTENDE);
  EXPECT_EQ(lauf.lesen("tpl").substr(alt),
            "ZONE T=\"0.5\", F=FEPOINT, N=10, E=4, ET=QUADRILATERAL, D=(FECONNECT)\n" + zeilen);
}

TEST(Tecplot, ElementCountOfOddAndSmallPointSets) {
  for (int n : {11, 3, 1, 0}) {
    Testlauf lauf("");
    Konsolenumleitung k;
    Tmpm mpm;
    punkte(mpm, n);
    mpm.bausdat_tecpl = true;
    mpm._ausgabe_tecplot(ZEITPU_ZEITSCHRITTENDE);
    const std::string tpl = lauf.lesen("tpl");
    if (n == 0) {
      EXPECT_EQ(tpl, "") << "no zone without points";
      continue;
    }
    const std::string e = n == 11 ? "4" : "0";
    EXPECT_NE(tpl.find(", N=" + std::to_string(n) + ", E=" + e + ", ET=QUADRILATERAL\n"), std::string::npos)
        << n;
    EXPECT_EQ(tpl.find("1 3 4 2") != std::string::npos, n == 11) << n;
  }
}
