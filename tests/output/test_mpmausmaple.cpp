#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "frame/mix.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"
#include "solver/mpm.h"
#include "testhilfe.h"

using namespace MPM;
using TVM::VekR;

TEST(Maple, InactivePointsKeepTheirLineWithStatusZero) {
  Testlauf lauf("");
  Konsolenumleitung k;
  Tmpm mpm;
  _material_erzeugen(&mpm, 1, 1, {1.0, 100.0, 0.25, 0.0});
  const VekR leer;
  VekR x{0.5, 0.25};
  TMaterialpunkt* mp = mpu_erzeugen(&mpm, 4, 1, 1.0, x, VekR{0.1, 0.0}, VekR{1.0, -1.0}, leer, leer, 0);
  TKnoten* kn = kno_erzeugen(&mpm, 7, 1, 1.0, VekR{2.0, 3.0}, leer, leer, leer, leer, 0);
  ASSERT_TRUE(mp && kn);
  mp->status = kn->status = OBJSTATUS_INAKTIV;
  mp->zust.sig.init({1.0, 2.0, 3.0});
  mpm._ausgabe_maple(ZEITPU_ZEITSCHRITTENDE);
  EXPECT_EQ(lauf.lesen("mpl"), "") << "switched off";
  mpm.bausdat_maple = true;
  mpm.tt = 12;
  mpm.t = 0.125;
  mpm._ausgabe_maple(ZEITPU_ZEITSCHRITTENDE);
  mpm._ausgabe_maple(ZEITPU_ENDE);
  const std::string n = _str(0.0, 10);
  // Position x0 + u; stress shear back in tensor components (3 / sqrt 2).
  EXPECT_EQ(lauf.lesen("mpl"), _str(12, 10) + " " + _str(0.125, 10) + "\n1\n4 " + _str(0.6, 10) + " " +
                                   _str(0.25, 10) + " " + _str(1.0, 10) + " " + _str(-1.0, 10) + " " + n +
                                   " " + n + " " + n + " " + _str(1.0, 10) + " " + _str(2.0, 10) + " " +
                                   _str(3.0 / std::sqrt(2.0), 10) + " 0\n1\n7 " + _str(2.0, 10) + " " +
                                   _str(3.0, 10) + " 0\n0\n");
  EXPECT_EQ(TVM::TVekMat::format(), 2);
}
