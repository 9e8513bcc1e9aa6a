#include <map>

#include "testhilfe.h"

using namespace MPM;
using namespace th;

namespace {
// The unit square and `zusatz`, started up to the approximations, at t = 1.
struct Quadrat : Startlauf {
  explicit Quadrat(const std::string& zusatz) : Startlauf(einheitsquadrat() + zusatz) { mpm.t = 1.0; }
};

// A steel column 1 m wide and 4 m high of 2 x 8 square bilinear elements,
// plane stress, no masses, two steps under P = 1 MN downwards at its top (a
// quarter at each corner, half at the middle), standing on its three base
// nodes (y held, x held at the middle one). The error log, the console and
// the vertical displacement of the top middle node 26 at the end.
struct Saeule {
  std::string fehler, konsole;
  double u_oben = 0.0, verhaeltnis = 0.0;
  explicit Saeule(const std::string& strafverf) {
    Konsolenumleitung k;
    Testlauf lauf(modelltext("saeule") + strafverf + netz(2, 8, 0.5, 0.5));
    Tmpm mpm;
    EXPECT_TRUE(mpm._steuerung());
    u_oben = kno_z(mpm, 26)->zust.u[1];
    verhaeltnis = mpm.strafverhaeltnis;
    fehler = lauf.lesen("flr.txt");
    konsole = k.aus.str();
  }
};
} // namespace

// Conditions along the axes are eliminated (checked by the patch tests and
// below at node 1); one at 45 degrees is a penalty spring -kappa/2 [1 1; 1 1]
// and prescribes no unknown. The conditions of a time serve every iteration at
// that time and are gathered anew for another; an ignored condition is
// reported at each use. Forces reach the nodes (a material point's in
// proportion to its weights), an acceleration acts with the point's mass.
TEST(Verschiebungsbedingungen, ObliquePenaltiesConditionsPerTimeAndLoads) {
  Quadrat q("stw_strafverf F, 1.E6\npunktlast 1, kno, verschiebung, (1), 0., kon, (0., 2.), (0.01)\n"
            "punktlast 2, kno, verschiebung, (1), 180., kon, (0., 10.), (0.02)\n"
            "punktlast 3, kno, beschleunigung, (2), 270., kon, (0., 2.), (3.)\n"
            "punktlast 4, kno, verschiebung, (3), 45., kon, (0., 10.), (0.)\n"
            "punktlast 5, kno, kraft, (3), 90., lin, (0., 2.), (0., 10.)\n"
            "punktlast 6, mpu, kraft, (1), 0., kon, (0., 2.), (4.)\n");
  ASSERT_TRUE(q.mpm._verschiebungsrbs());
  const TSystem& s = q.s;
  const int x3 = q.p(3, 0), y3 = q.p(3, 1);
  EXPECT_FALSE(s.bvorgeschrieben[x3] || s.bvorgeschrieben[y3]);
  for (int i : {x3, y3})
    for (int j : {x3, y3})
      EXPECT_NEAR(s._eintrag(SYSMAT_KSTRAF, i, j), -0.5e6, 1e-9);
  EXPECT_NEAR(s.strafgewicht[x3], std::sqrt(0.5), 1e-15);
  double summe = 0.0;
  for (int i = 0; i < s.N; ++i)
    for (int j = 0; j < s.N; ++j)
      summe += std::fabs(s._eintrag(SYSMAT_KSTRAF, i, j));
  EXPECT_NEAR(summe, 2e6, 1e-6) << "only node 3 has penalty terms";

  // A displaced node feels the spring back to its prescribed line.
  kno_z(q.mpm, 3)->zust.u.init({0.1, 0.3});
  q.mpm._verschiebungsrbs();
  const double zug = -1e6 * (0.1 + 0.3) * 0.5; // -kappa (u . e) e
  EXPECT_NEAR(s.fstraf[x3], zug, 1e-6);
  EXPECT_NEAR(s.fstraf[y3], zug, 1e-6);
  const std::string meldung = "Verschiebungsbedingung fuer gleiche Richtung bereits vorhanden";
  EXPECT_EQ(anzahl(q.k.aus.str(), meldung), 2);
  EXPECT_TRUE(s.bvorgeschrieben[q.p(1, 0)]);
  EXPECT_EQ(s.Uvor[q.p(1, 0)], 0.01) << "the first condition holds";

  TPunkt* kn2 = kno_z(q.mpm, 2);
  kn2->zust.rho0 = 2.0;
  kn2->vol0 = 0.25;
  ASSERT_TRUE(q.mpm._kraftrbs());
  EXPECT_NEAR(s.fext[q.p(3, 1)], 5.0, 1e-14);
  EXPECT_EQ(s.fext[q.p(2, 1)], -1.5);
  TAnsatz* a = mpu_z(q.mpm, 1)->_ansatz(OBJTYP_KNO);
  for (int i = 0; i < 4; ++i)
    EXPECT_NEAR(s.fext[KNO_Z(a->stuetzpu[i])->sysposfhg[0]], 4.0 * a->L[i], 1e-14);
  q.mpm.t = 2.0;
  q.mpm._kraftrbs();
  EXPECT_EQ(TVM::norm(s.fext), 0.0) << "the window is half open";
  q.mpm.t = 3.0;
  q.mpm._verschiebungsrbs();
  EXPECT_EQ(anzahl(q.k.aus.str(), meldung), 2) << "at t = 3 only the second acts";
  EXPECT_EQ(s.Uvor[q.p(1, 0)], -0.02);
}

TEST(Verschiebungsbedingungen, PenaltiesEverywhereAndOnMaterialPoints) {
  {
    Quadrat q("punktlast 1, kno, verschiebung, (1), 0., kon, (0., 10.), (0.01)\n");
    q.mpm._verschiebungsrbs();
    EXPECT_EQ(std::count(q.s.bvorgeschrieben.data, q.s.bvorgeschrieben.data + q.s.N, true), 0);
    const int x1 = q.p(1, 0);
    EXPECT_EQ(q.s._eintrag(SYSMAT_KSTRAF, x1, x1), -1e6);
    EXPECT_NEAR(q.s.fstraf[x1], 1e6 * 0.01, 1e-9);
  }
  Quadrat q("punktlast 1, mpu, verschiebung, (1, 2), 0., kon, (0., 10.), (0.)\n");
  q.mpm._verschiebungsrbs();
  const TSystem& s = q.s;
  // Each point's condition reaches its nodes with its weights; the two add up.
  std::map<int, double> gewicht;
  std::map<std::pair<int, int>, double> K;
  for (int p : {1, 2}) {
    TAnsatz* a = mpu_z(q.mpm, p)->_ansatz(OBJTYP_KNO);
    ASSERT_EQ(a->_Np(), 4);
    for (int i = 0; i < 4; ++i) {
      const int xi = KNO_Z(a->stuetzpu[i])->sysposfhg[0];
      gewicht[xi] += a->L[i];
      for (int j = 0; j < 4; ++j)
        K[{xi, KNO_Z(a->stuetzpu[j])->sysposfhg[0]}] -= 1e6 * a->L[i] * a->L[j];
    }
  }
  for (const auto& [xi, w] : gewicht) {
    EXPECT_NEAR(s.strafgewicht[xi], w, 1e-15);
    EXPECT_EQ(s._eintrag(SYSMAT_KSTRAF, xi + 1, xi + 1), 0.0) << "the y components stay free";
  }
  for (const auto& [ij, wert] : K)
    EXPECT_NEAR(s._eintrag(SYSMAT_KSTRAF, ij.first, ij.second), wert, 1e-6);
}

TEST(Strafparameter, SteelColumnOnPenaltySupports) {
  const double E = 2.1e11, nu = 0.3, P = 1e6;
  const double exakt = -P * 4.0 / E; // uniform compression, which the elements hold exactly
  // The diagonal of a square plane-stress element, E (3 - nu) / (6 (1 - nu^2)), twice at the middle base
  // node.
  const double Kii = 2.0 * E * (3.0 - nu) / (6.0 * (1.0 - nu * nu));

  const Saeule genau("stw_strafverf F\n");
  EXPECT_NEAR(genau.u_oben, exakt, 1e-9 * -exakt);
  EXPECT_EQ(genau.verhaeltnis, 0.0) << "no spring: nothing checked";
  EXPECT_EQ(genau.fehler, "");

  // kappa = 1e6: the three springs carry P together and give way by P / (3 kappa). One message in two steps.
  const Saeule weich("");
  EXPECT_NEAR(weich.verhaeltnis, 1e6 / Kii, 1e-12 * 1e6 / Kii);
  EXPECT_NEAR(weich.u_oben, exakt - P / 3e6, 1e-6);
  EXPECT_EQ(weich.fehler, golden(meldungen, "kappa klein"));
  EXPECT_TRUE(enthaelt(weich.konsole, weich.fehler));

  // kappa = 1e15 is in range: no message, the supports give way by less than P / kappa.
  const Saeule steif("stw_strafverf W, 1.e15\n");
  EXPECT_NEAR(steif.verhaeltnis, 1e15 / Kii, 1e-12 * 1e15 / Kii);
  EXPECT_EQ(steif.fehler, "");
  EXPECT_NEAR(steif.u_oben, genau.u_oben, P / 1e15);

  EXPECT_EQ(Saeule("stw_strafverf W, 1.e19\n").fehler, golden(meldungen, "kappa gross"));
}
