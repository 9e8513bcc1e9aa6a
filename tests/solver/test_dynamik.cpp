// Whole computations through the driver, checked against invariants.

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "model/mpmobjpunkt.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"
#include "testhilfe.h"

using namespace MPM;

namespace {
// Records the energy and the iteration count of every completed step.
struct Energiebilanz : Tmpm {
  std::vector<double> energie;
  std::vector<int> iterationen;
  double anfangsenergie = 0.0; // kinetic energy of the start state
  bool _zeitschritt() override {
    const TVM::VekR ut0 = sys->Ut;
    const bool ok = Tmpm::_zeitschritt();
    const TSystem& s = *sys;
    TVM::VekR Mv, Ku;
    if (energie.empty()) anfangsenergie = 0.5 * TVM::skalarprodukt(ut0, s._produkt(SYSMAT_M, ut0, Mv));
    energie.push_back(0.5 * TVM::skalarprodukt(s.Ut, s._produkt(SYSMAT_M, s.Ut, Mv)) +
                      0.5 * TVM::skalarprodukt(s.U, s._produkt(SYSMAT_KT, s.U, Ku)));
    iterationen.push_back(jj);
    return ok;
  }
};

// A free bar of 4 x 1 bilinear elements, 1 x 0.25 each, with initial
// velocities that set it vibrating; nodes 1 and 10 selected for the tables.
std::string stab() {
  std::ostringstream s;
  s << "stw_zeitschrittverf implizit, 0.25, 0.5\nstw_t 0., 1., 0.01\nstw_zstrg F\nstw_m W, 0.\n"
       "stw_t_aus_dat W\nobj_ausdat kno, (1, 10)\nmat 1, 1, (2., 100., 0.3, 0.)\neletyp 1\n";
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 5; ++i) {
      const double x = 0.25 * i, y = 0.25 * j;
      s << "kno " << 5 * j + i + 1 << ", 1, 1., (" << x << ", " << y << "), (), (" << 1.0 - 2.0 * x << ", "
        << 0.3 * (y - 0.125) << ")\n";
    }
  for (int i = 1; i <= 4; ++i)
    s << "ele " << i << ", 1, 1, (" << i << ", " << i + 1 << ", " << i + 6 << ", " << i + 5 << ")\n";
  return s.str();
}
} // namespace

TEST(Dynamik, TrapezoidalRuleKeepsTheEnergyOfAFreeElasticBar) {
  Konsolenumleitung k;
  Testlauf lauf(stab());
  Energiebilanz mpm;
  ASSERT_TRUE(mpm._steuerung());
  ASSERT_EQ(mpm.energie.size(), 100u);
  ASSERT_GT(mpm.anfangsenergie, 0.0);
  for (std::size_t i = 0; i < mpm.energie.size(); ++i) {
    EXPECT_NEAR(mpm.energie[i], mpm.anfangsenergie, 1e-9 * mpm.anfangsenergie) << "step " << i;
    EXPECT_EQ(mpm.iterationen[i], 2) << "step " << i;
  }
  // A linear model at a fixed step: one analysis and one factorisation.
  EXPECT_EQ(mpm.sys->_Nanalysen(), 1);
  EXPECT_EQ(mpm.sys->_Nzerlegungen(), 1);
  // The bar moves: its strain energy is not zero at the end.
  TVM::VekR Ku;
  EXPECT_GT(TVM::skalarprodukt(mpm.sys->U, mpm.sys->_produkt(SYSMAT_KT, mpm.sys->U, Ku)),
            1e-6 * mpm.energie.front());

  // One row per selected node and output time, with the 32 documented columns.
  std::istringstream tabelle(lauf.lesen("dat.kno.txt"));
  std::string zeile;
  int zeilen = 0;
  while (std::getline(tabelle, zeile)) {
    if (zeile.empty() || zeile[0] == '#') continue;
    std::istringstream spalten(zeile);
    std::string wert;
    int n = 0;
    while (spalten >> wert)
      ++n;
    EXPECT_EQ(n, 32) << zeile;
    ++zeilen;
  }
  EXPECT_EQ(zeilen, 200);
}

namespace {
// Records the stored start accelerations of the nodes (in registry order) and
// of material point 1, and the time and the vertical displacement of node 1
// after every completed step.
struct Fallprotokoll : Tmpm {
  std::vector<double> zeiten, u;
  std::vector<TVM::VekR> utt_start_kno;
  double utt_start_mpu = 0.0; // vertical
  bool _zeitschritt() override {
    if (zeiten.empty()) {
      for (const auto& eintrag : kno)
        utt_start_kno.push_back(PU_Z(eintrag.second)->_zg().utt_n);
      utt_start_mpu = PU_Z(mpu.suchen(1))->_zg().utt_n[1];
    }
    const bool ok = Tmpm::_zeitschritt();
    zeiten.push_back(t);
    u.push_back(PU_Z(kno.suchen(1))->_zg().u[1]);
    return ok;
  }
};
} // namespace

TEST(Dynamik, FreeFallFromTheStartAccelerationInEquilibrium) {
  // A free block of 2 x 1 elements, 0.5 x 0.5 each, under g acting on its
  // eight material points (made at the integration points), ten steps of 0.1.
  const double g = 9.81, dt = 0.1;
  for (const bool an : {false, true}) {
    Konsolenumleitung k;
    Testlauf lauf(
        std::string("stw_zeitschrittverf implizit, 0.25, 0.5\nstw_t 0., 1., 0.1\nstw_zstrg F\n") +
        (an ? "stw_startbeschl W\n" : "") +
        "mat 1, 1, (1000., 1.e6, 0.3, 0.)\neletyp 1\nkno 1, 1, 1., (0, 0)\nkno 2, 1, 1., (0.5, 0)\n"
        "kno 3, 1, 1., (1, 0)\nkno 4, 1, 1., (0, 0.5)\nkno 5, 1, 1., (0.5, 0.5)\nkno 6, 1, 1., (1, 0.5)\n"
        "ele 1, 1, 1, (1, 2, 5, 4)\nele 2, 1, 1, (2, 3, 6, 5)\n"
        "punktlast 1, mpu, beschleunigung, (s 1, 8, 1), 270., kon, (0., 10.), (9.81)\n");
    Fallprotokoll mpm;
    ASSERT_TRUE(mpm._steuerung());
    ASSERT_EQ(mpm.u.size(), 10u);
    for (std::size_t i = 0; i < mpm.u.size(); ++i) {
      const double t = mpm.zeiten[i];
      // The trapezoidal rule moves a constant acceleration exactly; started
      // from rest with utt = 0 it lags by g dt t / 2 - g dt^2 / 4.
      const double erwartet = an ? -g * t * t / 2 : -(g * t * t / 2 - g * dt * t / 2 + g * dt * dt / 4);
      // Rounding: eps times cond(K) ~ 1e2 times |u| <= 5, over ten steps.
      EXPECT_NEAR(mpm.u[i], erwartet, 1e-11) << (an ? "an" : "aus") << ", t=" << t;
    }
    EXPECT_NEAR(mpm.utt_start_kno[0][1], an ? -g : 0.0, 1e-12);
    EXPECT_NEAR(mpm.utt_start_mpu, an ? -g : 0.0, 1e-12);
    EXPECT_EQ(lauf.lesen("flr.txt"), "");
  }
}

TEST(Dynamik, StartAccelerationOfAStretchedSquare) {
  // A unit square (E = 100, nu = 0, rho = 1, lumped masses 1/4) starts
  // stretched by 0.01 along x: sigma_xx = 1 gives its right nodes the forces
  // -1/2 and the accelerations -2; the left nodes, held exactly along x,
  // keep their start value 0.
  Konsolenumleitung k;
  Testlauf lauf(
      "stw_zeitschrittverf implizit\nstw_t 0., 0.1, 0.1\nstw_zstrg F\nstw_m W, 1.\nstw_startbeschl W\n"
      "stw_strafverf F\nmat 1, 1, (1., 100., 0., 0.)\neletyp 1\nkno 1, 1, 1., (0, 0)\n"
      "kno 2, 1, 1., (1, 0), (0.01, 0)\nkno 3, 1, 1., (1, 1), (0.01, 0)\nkno 4, 1, 1., (0, 1)\n"
      "ele 1, 1, 1, (1, 2, 3, 4)\npunktlast 1, kno, verschiebung, (1, 4), 0., kon, (0., 1.), (0.)\n");
  Fallprotokoll mpm;
  ASSERT_TRUE(mpm._steuerung());
  ASSERT_EQ(mpm.utt_start_kno.size(), 4u);
  const double ax[] = {0.0, -2.0, -2.0, 0.0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(mpm.utt_start_kno[i][0], ax[i], 1e-12) << "node " << i + 1;
    EXPECT_NEAR(mpm.utt_start_kno[i][1], 0.0, 1e-12) << "node " << i + 1;
  }
}
