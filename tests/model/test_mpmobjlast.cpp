#include <tuple>

#include "testhilfe.h"

using namespace MPM;
using namespace th;
using TVM::VekR;

namespace {
struct Lastmodell {
  TPunktlast* last(int num, LASTTYP art, double beta, LASTFUNKTYP f, double tA, double tE, const VekR& c) {
    return pula_erzeugen(&mpm, num, OBJTYP_KNO, art, {12}, beta, f, tA, tE, c);
  }
  Konsolenumleitung k;
  Tmpm mpm;
  TKnoten* kn = knoten(mpm, 12, 0, 0);
};

double wert(const TPunktlast* pl, double t, const TPunkt* p) {
  double w = -1.0, b = -1.0;
  EXPECT_TRUE(pl->_last(t, p, pl->art, w, b)) << t;
  return w;
}
} // namespace

TEST(Punktlast, TimeFunctionsOverTheHalfOpenWindow) {
  Lastmodell m;
  TPunktlast* lin = m.last(1, LASTTYP_KRAFT, 30.0, LASTFUNKTYP_LIN, 0.0, 2.0, VekR{0, 10});
  ASSERT_NE(lin, nullptr);
  EXPECT_DOUBLE_EQ(wert(lin, 1.0, m.kn), 5.0);
  double w = 7, b = 7;
  EXPECT_FALSE(lin->_last(2.0, m.kn, LASTTYP_KRAFT, w, b)) << "the end of the window is excluded";
  EXPECT_EQ(w, 0.0);
  EXPECT_FALSE(lin->_last(-0.1, m.kn, LASTTYP_KRAFT, w, b));
  EXPECT_FALSE(lin->_last(1.0, m.kn, LASTTYP_BESCHLEUNIGUNG, w, b));
  EXPECT_TRUE(lin->_last(0.0, m.kn, LASTTYP_KRAFT, w, b));
  EXPECT_EQ(b, 30.0);

  // Quadratic and cubic shapes, sine and cosine of period c1; coefficients
  // missing from a short list count as 0. Function, window end, coefficients, time, value.
  const std::tuple<LASTFUNKTYP, double, VekR, double, double> faelle[] = {
      {LASTFUNKTYP_QUA, 1, VekR{0, 0, 1}, 0.5, 1.0},
      {LASTFUNKTYP_QUA, 1, VekR{0, 0, 1}, 0.0, 0.0},
      {LASTFUNKTYP_QUA, 1, VekR{0, 0, 1}, 1.0 - 1e-12, 0.0},
      {LASTFUNKTYP_KUB, 1, VekR{0, 1, 0, 0}, 0.5, 0.5},
      {LASTFUNKTYP_KUB, 1, VekR{0, 1, 0, 0}, 0.25, 3 * 0.0625 - 2 * 0.015625},
      {LASTFUNKTYP_SIN, 10, VekR{2, 4, 1, 0}, 2.0, 2.0},
      {LASTFUNKTYP_COS, 10, VekR{2, 4, 1, 0.5}, 1.0, 2.5},
      {LASTFUNKTYP_KUB, 1, VekR{3}, 0.5, 3.0 - 0.75 * 3.0 + 0.125 * 6.0}};
  int num = 1;
  for (const auto& [f, tE, c, t, soll] : faelle)
    EXPECT_NEAR(wert(m.last(++num, LASTTYP_KRAFT, 0.0, f, 0.0, tE, c), t, m.kn), soll, 1e-11)
        << f << " t=" << t;

  EXPECT_EQ(m.last(++num, LASTTYP_KRAFT, 540.0, LASTFUNKTYP_KON, 0.0, 1.0, VekR{1})->beta, 180.0);
  EXPECT_EQ(text(*lin) + "\n", golden("model/golden/texte.txt", "pla"));
}

// The refusals of the factory are checked through the model input (tests/input/test_mpmein.cpp).
TEST(Punktlast, RepeatedTargetsAndNumberShift) {
  Lastmodell m;
  m.mpm.stw.knonumplus = 100;
  TPunktlast* pl =
      pula_erzeugen(&m.mpm, 3, OBJTYP_KNO, LASTTYP_KRAFT, {4, 5, 4}, 0.0, LASTFUNKTYP_KON, 0, 1, VekR{1});
  ASSERT_NE(pl, nullptr);
  EXPECT_EQ(pl->Zielobjektnummern, (std::set<unsigned>{104, 105}));
  EXPECT_EQ(m.k.fehler.str(), golden("model/golden/punktlast.txt", "doppelt"));

  // A long list repeating a target names its first ten repeats, then their count.
  m.k.fehler.str("");
  ASSERT_NE(pula_erzeugen(&m.mpm, 4, OBJTYP_KNO, LASTTYP_KRAFT, std::vector<unsigned>(1000, 7), 0.0,
                          LASTFUNKTYP_KON, 0, 1, VekR{1}),
            nullptr);
  EXPECT_EQ(anzahl(m.k.fehler.str(), "bereits vorhanden; wird"), 10);
  EXPECT_TRUE(enthaelt(m.k.fehler.str(), golden("model/golden/punktlast.txt", "989")));
}

TEST(Punktlast, CombinationOnOnePoint) {
  Lastmodell m;
  VekR richtung, winkel;
  double w = 0;
  int typ = 9, anzahl = 0;
  EXPECT_FALSE(m.mpm._last(0.5, m.kn, LASTTYP_KRAFT, w, richtung, winkel, typ, anzahl));
  EXPECT_EQ(anzahl, 0);

  m.last(1, LASTTYP_KRAFT, 0.0, LASTFUNKTYP_KON, 0, 1, VekR{1});
  m.last(2, LASTTYP_KRAFT, 90.0, LASTFUNKTYP_KON, 0, 1, VekR{1});
  ASSERT_TRUE(m.mpm._last(0.5, m.kn, LASTTYP_KRAFT, w, richtung, winkel, typ, anzahl));
  EXPECT_EQ(anzahl, 2);
  EXPECT_NEAR(w, std::sqrt(2.0), 1e-15);
  EXPECT_NEAR(winkel[0], 45.0, 1e-13);

  // Displacement conditions at 0 and 90 degrees prescribe both components.
  m.last(3, LASTTYP_VERSCHIEBUNG, 0.0, LASTFUNKTYP_KON, 0, 1, VekR{0.03});
  m.last(4, LASTTYP_VERSCHIEBUNG, 90.0, LASTFUNKTYP_KON, 0, 1, VekR{-0.04});
  ASSERT_TRUE(m.mpm._last(0.5, m.kn, LASTTYP_VERSCHIEBUNG, w, richtung, winkel, typ, anzahl));
  EXPECT_NEAR(w * richtung[0], 0.03, 1e-16);
  EXPECT_NEAR(w * richtung[1], -0.04, 1e-16);

  // A third one is too many; on another node 0 and 180 degrees are one direction.
  m.last(5, LASTTYP_VERSCHIEBUNG, 45.0, LASTFUNKTYP_KON, 0, 1, VekR{1});
  ASSERT_TRUE(m.mpm._last(0.5, m.kn, LASTTYP_VERSCHIEBUNG, w, richtung, winkel, typ, anzahl));
  EXPECT_EQ(anzahl, 2);
  EXPECT_EQ(m.k.aus.str(), golden("model/golden/punktlast.txt", "zu viele", text(*m.kn)));

  TKnoten* zweiter = knoten(m.mpm, 13, 1, 0);
  pula_erzeugen(&m.mpm, 6, OBJTYP_KNO, LASTTYP_VERSCHIEBUNG, {13}, 0.0, LASTFUNKTYP_KON, 0, 1, VekR{0.01});
  pula_erzeugen(&m.mpm, 7, OBJTYP_KNO, LASTTYP_VERSCHIEBUNG, {13}, 180.0, LASTFUNKTYP_KON, 0, 1, VekR{0.02});
  m.k.aus.str("");
  ASSERT_TRUE(m.mpm._last(0.5, zweiter, LASTTYP_VERSCHIEBUNG, w, richtung, winkel, typ, anzahl));
  EXPECT_EQ(anzahl, 1);
  EXPECT_EQ(w * richtung[0], 0.01);
  EXPECT_EQ(m.k.aus.str(), golden("model/golden/punktlast.txt", "gleiche Richtung", text(*zweiter)));

  Konsolenumleitung stopp("x");
  EXPECT_THROW(m.mpm._last(0.5, zweiter, LASTTYP_UNBEKANNT, w, richtung, winkel, typ, anzahl), int);
  EXPECT_EQ(stopp.aus.str(), "FEHLER in <bool _last(...)>: unzulaessiger Lasttyp\n" + frage);
}
