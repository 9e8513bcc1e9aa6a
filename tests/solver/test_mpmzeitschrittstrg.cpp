#include <gtest/gtest.h>

#include <deque>

#include "solver/mpm.h"
#include "testhilfe.h"

using namespace MPM;

namespace {
// Replaces the step by a scripted sequence of outcomes and records what the
// time loop hands to each step.
struct Drehbuch : Tmpm {
  struct Aufruf {
    double t_n, dt, t;
    int Stufe, tt;
    bool bgrundschritt, bwiederholung;
  };
  std::deque<bool> ergebnisse; // empty: every further step succeeds
  std::vector<Aufruf> aufrufe;

  bool _zeitschritt() override {
    aufrufe.push_back({t_n, dt, t, Stufe, tt, bgrundschritt, bwiederholung});
    if (aufrufe.size() > 1000) throw 99; // a loop that never ends
    if (ergebnisse.empty()) return true;
    const bool ok = ergebnisse.front();
    ergebnisse.pop_front();
    return ok;
  }
};

void zeiten(Drehbuch& d, double ta, unsigned tta, double dt, unsigned Nt, bool bzstrg, unsigned q = 2,
            unsigned L = 2) {
  d.stw.ta = ta;
  d.stw.tta = tta;
  d.stw.dt = dt;
  d.stw.Nt = Nt;
  d.stw.bzstrg = bzstrg;
  d.stw.zstrg_Nteile = q;
  d.stw.zstrg_Nstufen = L;
}
} // namespace

TEST(Zeitschleife, RefinementHalvesTwiceThenGrowsBackLevelByLevel) {
  Konsolenumleitung k;
  Drehbuch d;
  zeiten(d, 0.0, 3, 1.0, 2, true);
  d.ergebnisse = {false, false, true, true, true};
  EXPECT_EQ(d._zeitschrittsteuerung(), 1);
  EXPECT_EQ(k.aus.str(), "Zeitschritte\nZeitschrittverkleinerung\nZeitschrittverkleinerung\n"
                         "Zeitschrittvergroesserung\nZeitschrittvergroesserung\n");
  ASSERT_EQ(d.aufrufe.size(), 6u);
  // The last step starts at ta + tta dt + dt.
  const double t_n[] = {3.0, 3.0, 3.0, 3.25, 3.5, 4.0};
  const double dt[] = {1.0, 0.5, 0.25, 0.25, 0.5, 1.0};
  const int stufe[] = {0, 1, 2, 2, 1, 0};
  const bool grund[] = {true, false, false, false, false, true};
  const bool wiederholt[] = {false, true, true, false, false, false};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(d.aufrufe[i].t_n, t_n[i]) << i;
    EXPECT_EQ(d.aufrufe[i].t, t_n[i] + dt[i]) << i;
    EXPECT_EQ(d.aufrufe[i].Stufe, stufe[i]) << i;
    EXPECT_EQ(d.aufrufe[i].bgrundschritt, grund[i]) << i;
    EXPECT_EQ(d.aufrufe[i].bwiederholung, wiederholt[i]) << i;
  }
  EXPECT_EQ(d.aufrufe[5].tt, 4);
  EXPECT_EQ(d.zsges, 4);
  EXPECT_TRUE(d.bfertig);
}

TEST(Zeitschleife, NoStepsForZeroStepCount) {
  for (bool bzstrg : {false, true}) {
    Konsolenumleitung k;
    Drehbuch d;
    zeiten(d, 0.0, 0, 0.1, 0, bzstrg);
    d._zeitschrittsteuerung();
    EXPECT_TRUE(d.aufrufe.empty());
    EXPECT_TRUE(d.bfertig);
  }
}

TEST(Zeitschleife, WithoutStepControlAFailureAsksWhetherToStop) {
  {
    Konsolenumleitung k("w\n");
    Drehbuch d;
    zeiten(d, 1.0, 5, 0.5, 3, false);
    d.ergebnisse = {true, false, true};
    d._zeitschrittsteuerung();
    ASSERT_EQ(d.aufrufe.size(), 3u);
    EXPECT_EQ(d.aufrufe[2].t_n, 2.0);
    EXPECT_EQ(d.aufrufe[2].tt, 7);
    EXPECT_EQ(d.zsges, 3);
    EXPECT_EQ(k.aus.str(), "Zeitschritte\nKeine Konvergenz und keine Zeitschrittsteuerung -> Abbruch\n"
                           "Fuer ABBRUCH \"x\", fuer WEITER beliebiges Zeichen eingeben:");
  }
  Konsolenumleitung k("x\n");
  Drehbuch d;
  zeiten(d, 0.0, 0, 0.5, 3, false);
  d.ergebnisse = {false};
  EXPECT_THROW(d._zeitschrittsteuerung(), int);
  EXPECT_EQ(d.aufrufe.size(), 1u);
}

TEST(Zeitschleife, FinestLevelRepeatsWhenTheUserGoesOn) {
  Konsolenumleitung k("w\nw\n");
  Drehbuch d;
  zeiten(d, 0.0, 0, 1.0, 1, true, 2, 1);
  // The base step fails from the start: level 0 -> 1, then twice at level 1.
  d.ergebnisse = {false, true, false, false, true};
  d._zeitschrittsteuerung();
  ASSERT_EQ(d.aufrufe.size(), 5u);
  for (int i = 2; i < 5; ++i) {
    EXPECT_EQ(d.aufrufe[i].Stufe, 1) << i;
    EXPECT_EQ(d.aufrufe[i].t_n, 0.5) << "the repeated sub-step starts where it did";
  }
  EXPECT_EQ(k.aus.str(), "Zeitschritte\nZeitschrittverkleinerung\nZeitschrittverkleinerung\n"
                         "Keine Konvergenz trotz Zeitschrittverkleinerung\n"
                         "Fuer ABBRUCH \"x\", fuer WEITER beliebiges Zeichen eingeben:"
                         "Zeitschrittverkleinerung\nKeine Konvergenz trotz Zeitschrittverkleinerung\n"
                         "Fuer ABBRUCH \"x\", fuer WEITER beliebiges Zeichen eingeben:"
                         "Zeitschrittvergroesserung\n");
  EXPECT_TRUE(d.bfertig);
}

// An empty model converges at once; a second iteration follows all the same.
TEST(Zeitschritt, AtLeastTwoEquilibriumIterations) {
  Konsolenumleitung k;
  Tmpm mpm;
  mpm.dt = 0.1;
  EXPECT_TRUE(mpm._zeitschritt());
  EXPECT_EQ(mpm.jj, 2);
}

// The smallest usable model, one element on four nodes, through start-up and
// the driver; the stop through the abort path is the program test's.
TEST(Steuerung, RunsTheTimeLoop) {
  Konsolenumleitung k;
  Testlauf lauf("stw_t 0., 1., 0.25\nstw_zeitschrittverf implizit\nmat 1, 1, (1., 1., 0., 0.)\neletyp 1\n"
                "kno 1, 1, 1., (0, 0)\nkno 2, 1, 1., (1, 0)\nkno 3, 1, 1., (1, 1)\nkno 4, 1, 1., (0, 1)\n"
                "ele 1, 1, 1, (1, 2, 3, 4)\n");
  Tmpm mpm;
  EXPECT_TRUE(mpm._steuerung());
  // The loop's own line sits between the start values and the first step.
  EXPECT_NE(k.aus.str().find("Ausgabe der Startwerte\nZeitschritte\n  ZSA: "), std::string::npos);
  EXPECT_EQ(mpm.zsges, 4);
  EXPECT_DOUBLE_EQ(mpm.t, 1.0);
  EXPECT_TRUE(mpm.bfertig);
}
