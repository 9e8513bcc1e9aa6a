// Penalty contact: the penalty law, the choice between contact lines, the
// contributions of nodes and material points with their stiffness against
// finite differences, and whole runs: blocks resting on a floor (nodes, and
// material points in a fixed mesh) and a block dropped onto it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "approx/mpmans.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjkonlin.h"
#include "model/mpmobjmpu.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"
#include "testhilfe.h"

using namespace MPM;
using TVM::VekR;

namespace {
std::string zahl(double x) {
  std::ostringstream s;
  s << std::setprecision(17) << x;
  return s.str();
}

TKnoten* knoten(Tmpm& mpm, int n, double x, double y) {
  static const VekR leer;
  return kno_erzeugen(&mpm, n, 1, 1.0, VekR{x, y}, leer, leer, leer, leer, 0);
}

// The penalty force of a gap for the parameters p (one or two).
double straffunktion(const std::vector<double>& p, double g) {
  if (g >= 0.0) return 0.0;
  if (p.size() == 2 && g > -p[1]) return 0.5 * p[0] / p[1] * g * g;
  return -p[0] * g - (p.size() == 2 ? 0.5 * p[0] * p[1] : 0.0);
}

// A floor at height y through the free nodes 11 (x = 10) and 12 (x = -10),
// listed from right to left so that its normal points up.
std::string boden(double y) {
  return "kno 11, 1, 0., (10., " + zahl(y) + ")\nkno 12, 1, 0., (-10., " + zahl(y) +
         ")\nkonlin 1, kno, splkno, (11, 12)\n";
}

const char* const steuerung =
    "stw_zeitschrittverf implizit, 0.25, 0.5\nstw_zstrg F\nstw_strafverf F\nstw_bilanzit 20, 1.e-12\n"
    "mat 1, 1, (1000., 1.e6, 0.3, 0.)\n";
// Gravity on the material points 1 .. n.
std::string schwere(int n) {
  return "punktlast 1, mpu, beschleunigung, (s 1, " + std::to_string(n) +
         ", 1), 270., kon, (0., 99.), (9.81)\n";
}
constexpr double gewicht = 2.0 * 1000.0 * 9.81; // block 2 m x 1 m, rho = 1000

// Watches every converged step: the sum of the contact forces, the examined
// points in contact with their gap to the floor y = yboden, measured from
// their position.
struct Bodenlauf : Tmpm {
  double yboden = 0.0;
  int Nschritte = 0;
  std::vector<double> summe_x, summe_y; // of fckon
  std::vector<std::vector<double>> luecken;

  int _ausgabe(ZEITPU z) override {
    if (z == ZEITPU_ZEITSCHRITTENDE && bkonv) {
      ++Nschritte;
      double sx = 0.0, sy = 0.0;
      for (int i = 0; i + 1 < sys->N; i += 2) {
        sx += sys->fckon[i];
        sy += sys->fckon[i + 1];
      }
      summe_x.push_back(sx);
      summe_y.push_back(sy);
      std::vector<double> g;
      for (const auto& e : stw.bknokoerperfest ? kno : mpu) {
        TPunkt* p = PU_Z(e.second);
        if (p->bimkontakt) g.push_back(p->_x(KONFIGUR_MOMKONF)[1] - yboden);
      }
      luecken.push_back(g);
    }
    return Tmpm::_ausgabe(z);
  }
};

// A 2 m x 1 m block of two bilinear elements (2 x 2 Gauss points) whose
// bottom starts 1 mm below the floor y = 0, under gravity, in static steps;
// node 2 (bottom middle) is held in x only.
std::string ruhender_block(const std::string& straffunk) {
  std::string s = std::string(steuerung) + "stw_t 0., 2., 1.\nstw_m F\nstw_kontakt W, 0.5, " + straffunk +
                  "\neletyp 1, Viereck, Lagro1, Lagro1, Gauss, 4, 1\n";
  const double x[][2] = {{0, -0.001}, {1, -0.001}, {2, -0.001}, {0, 0.999}, {1, 0.999}, {2, 0.999}};
  for (int n = 1; n <= 6; ++n)
    s += "kno " + std::to_string(n) + ", 1, 0., (" + zahl(x[n - 1][0]) + ", " + zahl(x[n - 1][1]) + ")\n";
  return s + "ele 1, 1, 1, (1, 2, 5, 4)\nele 2, 1, 1, (2, 3, 6, 5)\n" + schwere(8) +
         "punktlast 2, kno, verschiebung, (2), 0., kon, (0., 99.), (0.)\n" + boden(0.0);
}

// Checks a resting run: every step's contact forces carry the weight, and the
// force of each point in contact is that of its measured gap.
void ruhend_pruefen(const Bodenlauf& m, const std::vector<double>& p, int Npunkte) {
  ASSERT_EQ(m.Nschritte, 2);
  for (int s = 0; s < m.Nschritte; ++s) {
    EXPECT_NEAR(m.summe_y[s], gewicht, 1e-8 * gewicht) << s;
    EXPECT_NEAR(m.summe_x[s], 0.0, 1e-8 * gewicht) << s;
    ASSERT_EQ(static_cast<int>(m.luecken[s].size()), Npunkte);
    double F = 0.0;
    for (double g : m.luecken[s]) {
      EXPECT_LT(g, 0.0);
      F += straffunktion(p, g);
    }
    EXPECT_NEAR(F, gewicht, 1e-8 * gewicht) << s;
  }
}
} // namespace

TEST(Kontakt, PenaltyLawsAndTheirContinuity) {
  Konsolenumleitung k;
  Tmpm mpm;
  double F = 1.0, F_g = 1.0;
  mpm.stw.kontakt_straffunkparam.init({1e6});
  EXPECT_TRUE(mpm._kontakt_straffunk(-1e-3, F, F_g));
  EXPECT_DOUBLE_EQ(F, 1000.0);
  EXPECT_DOUBLE_EQ(F_g, -1e6);
  EXPECT_TRUE(mpm._kontakt_straffunk(0.0, F, F_g));
  EXPECT_EQ(F, 0.0);
  EXPECT_EQ(F_g, 0.0);

  const double p0 = 1e6, p1 = 1e-3;
  mpm.stw.kontakt_straffunkparam.init({p0, p1});
  EXPECT_TRUE(mpm._kontakt_straffunk(-p1 / 2, F, F_g));
  EXPECT_DOUBLE_EQ(F, p0 * p1 / 8);
  EXPECT_DOUBLE_EQ(F_g, -p0 / 2);
  EXPECT_TRUE(mpm._kontakt_straffunk(-2 * p1, F, F_g));
  EXPECT_DOUBLE_EQ(F, 1.5 * p0 * p1);
  EXPECT_DOUBLE_EQ(F_g, -p0);
  // Both branches meet at -p1 with F = p0 p1 / 2 and F_g = -p0.
  for (double g : {-p1 * (1 - 1e-12), -p1, -p1 * (1 + 1e-12)}) {
    mpm._kontakt_straffunk(g, F, F_g);
    EXPECT_NEAR(F, p0 * p1 / 2, 1e-9 * p0 * p1) << g;
    EXPECT_NEAR(F_g, -p0, 1e-9 * p0) << g;
  }

  mpm.stw.kontakt_straffunkparam.init({1.0, 2.0, 3.0});
  EXPECT_FALSE(mpm._kontakt_straffunk(-1.0, F, F_g));
  EXPECT_EQ(F, 0.0);
  EXPECT_EQ(F_g, 0.0);
  EXPECT_EQ(k.aus.str(), "FEHLER in <bool Tmpm::_straffunk(_REAL g, _REAL& F, _REAL& F_g)>\n");
}

// Node 1 at the origin between two floors: the first line met keeps the
// contact unless a later one is nearer (a positive gap replaced by a smaller
// value, a negative one by a smaller magnitude).
TEST(Kontakt, ClosestLineOfEveryPointInRegistryOrder) {
  Konsolenumleitung k;
  struct Fall {
    double g1, g2, g;
  };
  for (const Fall& f : {Fall{-0.5, 0.1, 0.1}, Fall{0.3, -0.5, -0.5}, Fall{-0.1, -0.5, -0.1},
                        Fall{0.0, 3.0, 0.0}, Fall{2.0, 3.0, 1.0}}) {
    Tmpm mpm;
    mpm.stw.bkontakt = true;
    TKnoten* p = knoten(mpm, 1, 0.0, 0.0);
    int n = 10;
    for (double g : {f.g1, f.g2}) {
      knoten(mpm, ++n, 2.0, -g);
      knoten(mpm, ++n, -2.0, -g);
      std::vector<unsigned int> punum{static_cast<unsigned>(n - 1), static_cast<unsigned>(n)};
      ASSERT_NE(konlin_erzeugen(&mpm, n / 2, OBJTYP_KNO, KONLINTYP_SPLKNO, punum), nullptr);
    }
    const bool bnah = f.g < mpm.stw.kontakt_grenzg;
    EXPECT_EQ(mpm._kontakt_geometrie(), bnah) << f.g1 << " " << f.g2;
    EXPECT_EQ(mpm.bdurchdr, f.g < 0.0);
    EXPECT_EQ(p->bimkontakt, bnah);
    EXPECT_DOUBLE_EQ(p->kontaktabstand, f.g) << f.g1 << " " << f.g2;
    EXPECT_EQ(p->kontaktrichtung, (VekR{0.0, bnah ? 1.0 : 0.0}));
    // Only a penetrating point contributes; one on the line is in range with nothing to add.
    mpm.sys->_init();
    EXPECT_EQ(mpm._kontakt_bedingungen(p), f.g < 0.0);
    mpm._kontakt_kontrolle(true);
    EXPECT_EQ(mpm.sys->Nkonpu, f.g < 0.0 ? 1 : 0);
    EXPECT_DOUBLE_EQ(mpm.sys->konflr, std::max(-f.g, 0.0));
  }
}

// A point 0.3 mm behind a slanted floor (normal (sin a, cos a)), in the
// quadratic branch of the penalty law: the contact stiffness equals central
// differences of the contact forces in every unknown of the unit square. The
// point is node 1 (nodes move with the body) or a material point at
// (0.3, 0.2) in a fixed mesh, whose force goes to its four nodes.
TEST(Kontakt, StiffnessEqualsFiniteDifferencesOfTheForces) {
  const double a = 0.35, g0 = -3e-4;
  const double n[2] = {std::sin(a), std::cos(a)}, t[2] = {-std::cos(a), std::sin(a)};
  for (bool bmpu : {false, true}) {
    const double px = bmpu ? 0.3 : 0.0, py = bmpu ? 0.2 : 0.0;
    const double q[2] = {px - g0 * n[0], py - g0 * n[1]};
    std::string s =
        std::string(steuerung) + "stw_kontakt W, 0.01, (1.e6, 1.e-3)\n" +
        (bmpu ? "stw_berechverf F, W, W, F, W, F, ele, kopieren, eleinv, refkonf, klnverz\n" : "") +
        "eletyp 1, Viereck, Lagro1, Lagro1, Leer, 0, 1\nkno 1, 1, 0., (0., 0.)\n"
        "kno 2, 1, 0., (1., 0.)\nkno 3, 1, 0., (1., 1.)\nkno 4, 1, 0., (0., 1.)\n"
        "ele 1, 1, 1, (1, 2, 3, 4)\nmpu 1, 1, 0.25, (0.3, 0.2)\n";
    s += "kno 11, 1, 0., (" + zahl(q[0] - 2 * t[0]) + ", " + zahl(q[1] - 2 * t[1]) + ")\nkno 12, 1, 0., (" +
         zahl(q[0] + 2 * t[0]) + ", " + zahl(q[1] + 2 * t[1]) + ")\nkonlin 1, kno, splkno, (11, 12)\n";
    Konsolenumleitung k;
    Testlauf lauf(s);
    Tmpm mpm;
    mpm._eingabe_start();
    mpm._netza();
    mpm._netz_init_mpu();
    mpm._L_G();
    TSystem& sys = *mpm.sys;
    auto kraefte = [&]() {
      if (bmpu) mpm._transfer(OBJTYP_KNO, OBJTYP_MPU, ZUSTGROE_VERSCHIEBUNG);
      mpm._kontakt_geometrie();
      mpm._kontakt_bedingungen();
      return sys.fckon;
    };
    const VekR f0 = kraefte();
    const TPunkt* p = bmpu ? PU_Z(mpm.mpu.suchen(1)) : PU_Z(mpm.kno.suchen(1));
    ASSERT_NEAR(p->kontaktabstand, g0, 1e-15);
    // One point in the quadratic branch: F = p0 / (2 p1) g^2 along n, spread over 1 or 4 nodes.
    const double F = 0.5e9 * g0 * g0;
    int Nbesetzt = 0;
    double sx = 0.0, sy = 0.0;
    for (int i = 0; i < sys.N; i += 2) {
      Nbesetzt += (f0[i] != 0.0) + (f0[i + 1] != 0.0);
      sx += f0[i];
      sy += f0[i + 1];
    }
    EXPECT_EQ(Nbesetzt, bmpu ? 8 : 2);
    EXPECT_NEAR(sx, F * n[0], 1e-12 * F);
    EXPECT_NEAR(sy, F * n[1], 1e-12 * F);

    // Column j of the stiffness by central differences, then the stiffness at
    // the start. The floor is an obstacle: its nodes have no share in it.
    const double h = 1e-7;
    std::vector<VekR> spalten(sys.N, VekR(sys.N));
    for (const auto& e : mpm.knou) {
      TKnoten* kn = KNO_Z(e.second);
      if (kn->num > 4) continue;
      for (int c = 0; c < 2; ++c) {
        kn->zust.u[c] = h;
        spalten[kn->sysposfhg[c]] = kraefte();
        kn->zust.u[c] = -h;
        spalten[kn->sysposfhg[c]] -= kraefte();
        spalten[kn->sysposfhg[c]] *= 1.0 / (2 * h);
        kn->zust.u[c] = 0.0;
      }
    }
    kraefte();
    double Kmax = 0.0, abweichung = 0.0;
    for (int j = 0; j < sys.N; ++j)
      for (int i = 0; i < sys.N; ++i) {
        const double K = sys._eintrag(SYSMAT_KKON, i, j);
        Kmax = std::max(Kmax, std::fabs(K));
        abweichung = std::max(abweichung, std::fabs(K - spalten[j][i]));
      }
    EXPECT_NEAR(
        Kmax, 1e9 * std::fabs(g0) * (bmpu ? 0.7 * 0.8 * 0.7 * 0.8 : 1.0) * std::max(n[1] * n[1], n[0] * n[0]),
        1e-9 * Kmax);
    EXPECT_LT(abweichung, 1e-6 * Kmax) << (bmpu ? "material point" : "node");
  }
}

TEST(Kontakt, BlockRestsOnAFloorWithEitherPenaltyLaw) {
  for (const std::vector<double>& p : {std::vector<double>{1e7}, std::vector<double>{1e7, 1.2e-3}}) {
    std::string liste = "(" + zahl(p[0]) + (p.size() == 2 ? ", " + zahl(p[1]) : "") + ")";
    Konsolenumleitung k;
    Testlauf lauf(ruhender_block(liste));
    Bodenlauf mpm;
    ASSERT_TRUE(mpm._steuerung());
    EXPECT_EQ(lauf.lesen("flr.txt"), "");
    ruhend_pruefen(mpm, p, 3);
    if (p.size() == 2) {
      // The corners carry less than the middle: both branches of the law are used.
      const std::vector<double>& g = mpm.luecken.back();
      EXPECT_GT(*std::max_element(g.begin(), g.end()), -p[1]);
      EXPECT_LT(*std::min_element(g.begin(), g.end()), -p[1]);
    }
    EXPECT_NE(k.aus.str().find("Nkonpu=  3"), std::string::npos);
  }
}

// The same weight carried by 2 x 4 material points of 0.5 m x 0.5 m in a
// fixed mesh of two unit cells: the four bottom points (y = 0.25) start
// 1 mm below the floor y = 0.251; node 2 is held in x.
TEST(Kontakt, MaterialPointsInAFixedMeshRestOnAFloor) {
  std::string s = std::string(steuerung) +
                  "stw_berechverf F, W, W, F, W, F, ele, kopieren, eleinv, refkonf, klnverz\n"
                  "stw_uebtragrichtstart mpu_zu_kno\nstw_t 0., 2., 1.\nstw_m F\nstw_kontakt W, 0.3, (1.e7)\n"
                  "eletyp 1, Viereck, Lagro1, Lagro1, Leer, 0, 1\n";
  for (int n = 1; n <= 6; ++n)
    s += "kno " + std::to_string(n) + ", 1, 0., (" + std::to_string((n - 1) % 3) + ", " +
         std::to_string((n - 1) / 3) + ")\n";
  for (int n = 1; n <= 8; ++n)
    s += "mpu " + std::to_string(n) + ", 1, 0.25, (" + zahl(0.25 + 0.5 * ((n - 1) % 4)) + ", " +
         zahl(0.25 + 0.5 * ((n - 1) / 4)) + ")\n";
  s += "ele 1, 1, 1, (1, 2, 5, 4)\nele 2, 1, 1, (2, 3, 6, 5)\n" + schwere(8) +
       "punktlast 2, kno, verschiebung, (2), 0., kon, (0., 99.), (0.)\n" + boden(0.251);
  Konsolenumleitung k;
  Testlauf lauf(s);
  Bodenlauf mpm;
  mpm.yboden = 0.251;
  ASSERT_TRUE(mpm._steuerung());
  EXPECT_EQ(lauf.lesen("flr.txt"), "");
  ruhend_pruefen(mpm, {1e7}, 4);
}

// Total energy of the dropped block after every converged step: kinetic
// (with the system's mass matrix), strain, penalty (from the measured gaps)
// and the potential of gravity.
struct Fallversuch : Tmpm {
  double p0 = 0.0;
  std::vector<double> energie, vmittel, zeiten, u2, v2; // and of node 2
  double dt_kontakt_max = 0.0;                          // the longest converged step with a point in reach

  int _ausgabe(ZEITPU z) override {
    if (z == ZEITPU_ZEITSCHRITTENDE && bkonv) {
      VekR MUt;
      sys->_produkt(SYSMAT_M, sys->Ut, MUt);
      double E = 0.5 * TVM::skalarprodukt(sys->Ut, MUt), v = 0.0, m = 0.0;
      for (const auto& e : mpu) {
        const TMaterialpunkt* mp = MPU_Z(e.second);
        const double masse = mp->zust.rho0 * mp->vol0;
        E += 0.5 * mp->vol0 * TVM::skalarprodukt(mp->zust.sig, mp->zust.eps) + masse * 9.81 * mp->zust.u[1];
        v += masse * mp->zust.ut[1];
        m += masse;
      }
      for (const auto& e : kno) {
        TPunkt* p = PU_Z(e.second);
        const double g = p->_x(KONFIGUR_MOMKONF)[1];
        if (!p->bkontaktpunkt && g < 0.0) E += 0.5 * p0 * g * g;
      }
      energie.push_back(E);
      vmittel.push_back(v / m);
      zeiten.push_back(t);
      u2.push_back(KNO_Z(kno.suchen(2))->zust.u[1]);
      v2.push_back(KNO_Z(kno.suchen(2))->zust.ut[1]);
      if (bkont) dt_kontakt_max = std::max(dt_kontakt_max, dt);
    }
    return Tmpm::_ausgabe(z);
  }
};

// The block of the resting test dropped from 0.1 m with a linear penalty and
// the trapezoidal rule; steps of 1 ms, 0.25 ms while a point is within the
// search distance of 5 cm (the step control halves them twice).
TEST(Kontakt, DroppedBlockReboundsAndKeepsItsEnergy) {
  std::string s = "stw_zeitschrittverf implizit, 0.25, 0.5\nstw_strafverf F\nstw_bilanzit 20, 1.e-10\n"
                  "mat 1, 1, (1000., 1.e6, 0.3, 0.)\nstw_t 0., 0.35, 1.e-3, 0, 0, 2.5e-4\nstw_zstrg W, 2, 3\n"
                  "stw_kontakt W, 0.05, (1.e7)\neletyp 1, Viereck, Lagro1, Lagro1, Gauss, 4, 1\n";
  for (int n = 1; n <= 6; ++n)
    s += "kno " + std::to_string(n) + ", 1, 0., (" + std::to_string((n - 1) % 3) + ", " +
         zahl(0.1 + (n - 1) / 3) + ")\n";
  s += "ele 1, 1, 1, (1, 2, 5, 4)\nele 2, 1, 1, (2, 3, 6, 5)\n" + schwere(8) + boden(0.0);
  Konsolenumleitung k;
  Testlauf lauf(s);
  Fallversuch mpm;
  mpm.p0 = 1e7;
  ASSERT_TRUE(mpm._steuerung());
  EXPECT_EQ(lauf.lesen("flr.txt"), "");
  const double mgh = gewicht * 0.1;
  double abweichung = 0.0;
  for (std::size_t i = 0; i < mpm.energie.size(); ++i)
    abweichung = std::max(abweichung, std::fabs(mpm.energie[i]));
  EXPECT_LT(abweichung, 0.01 * mgh);
  // It falls at 1.4 m/s and leaves the floor upwards.
  EXPECT_NEAR(*std::min_element(mpm.vmittel.begin(), mpm.vmittel.end()), -std::sqrt(2 * 9.81 * 0.1), 0.01);
  EXPECT_GT(*std::max_element(mpm.vmittel.begin(), mpm.vmittel.end()), 1.0);
  // A refused step is never shown as converged, though its last iteration may have been.
  const std::string aus = k.aus.str();
  int Nverkleinert = 0;
  for (std::size_t pos = aus.find("Zeitschrittverkleinerung"); pos != std::string::npos;
       pos = aus.find("Zeitschrittverkleinerung", pos + 1), ++Nverkleinert)
    EXPECT_EQ(aus.compare(aus.rfind("ZSE: ", pos), 10, "ZSE: (-), "), 0)
        << aus.substr(aus.rfind("ZSE", pos), 80);
  EXPECT_GT(Nverkleinert, 10);
  EXPECT_LE(mpm.dt_kontakt_max, 2.5e-4);
}

// The bundled example against the rigid block on three springs of its comments.
TEST(Kontakt, ExampleDropMatchesAMassOnASpring) {
  Konsolenumleitung k;
  Testlauf lauf(beispieltext("kontakt"));
  Fallversuch mpm;
  mpm.p0 = 1e7;
  ASSERT_TRUE(mpm._steuerung());
  EXPECT_EQ(lauf.lesen("flr.txt"), "");
  const double m = 2000.0, c = 3e7, g = 9.81, h = 0.05, w = std::sqrt(c / m), v0 = std::sqrt(2 * g * h);
  const double ds = m * g / c, A = std::hypot(ds, v0 / w), t1 = std::sqrt(2 * h / g);
  const std::vector<double>& u = mpm.u2;
  const std::size_t imin = std::min_element(u.begin(), u.end()) - u.begin();
  // The block itself gives way by about F / (E t) = 2.6e-5 m under the largest force.
  EXPECT_NEAR(u[imin], -h - ds - A, 1e-5);
  EXPECT_NEAR(mpm.zeiten[imin], t1 + (std::acos(-1.0) / 2 + std::asin(ds / A)) / w, 2.5e-4);
  // Off the floor again with the impact speed, and back at the start height at the top.
  std::size_t i = imin;
  while (i < u.size() && u[i] < -h)
    ++i;
  ASSERT_LT(i, u.size());
  EXPECT_NEAR(mpm.zeiten[i], t1 + (std::acos(-1.0) + 2 * std::asin(ds / A)) / w, 2e-3);
  EXPECT_NEAR(mpm.v2[i], v0, 1e-3 * v0);
  EXPECT_NEAR(*std::max_element(u.begin() + i, u.end()), 0.0, 1e-5);
  double abweichung = 0.0;
  for (double E : mpm.energie)
    abweichung = std::max(abweichung, std::fabs(E));
  EXPECT_LT(abweichung, 2e-4 * m * g * h);
}
