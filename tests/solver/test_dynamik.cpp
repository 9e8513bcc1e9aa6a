// Whole computations through the driver, checked against invariants.

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

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
