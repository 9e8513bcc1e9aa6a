// Penalty contact: the penalty law, the choice between contact lines, the
// stiffness against finite differences of the forces, and whole runs: a
// block resting on a floor (on nodes, and on material points in a fixed
// mesh) and the bundled example of a block dropped onto it.

#include <array>

#include "testhilfe.h"

using namespace MPM;
using namespace th;
using TVM::VekR;

namespace {
std::string kno(int n, double x, double y) {
  return "kno " + std::to_string(n) + ", 1, 0., (" + zahl(x) + ", " + zahl(y) + ")\n";
}
// A floor at height y from the free node 11 to 12: listed from right to left, its normal points up.
std::string boden(double y) {
  return kno(11, 10, y) + kno(12, -10, y) + "konlin 1, kno, splkno, (11, 12)\n";
}
const std::string kopf = modelltext("kontakt");
// Gravity on material points 1 .. 8 of a 2 m x 1 m block; node 2 held in x.
const std::string last = modelltext("block unter last");
constexpr double gewicht = 2.0 * 1000.0 * 9.81;

double straffunktion(const std::vector<double>& p, double g) {
  if (g >= 0.0) return 0.0;
  if (p.size() == 2 && g > -p[1]) return 0.5 * p[0] / p[1] * g * g;
  return -p[0] * g - (p.size() == 2 ? 0.5 * p[0] * p[1] : 0.0);
}

// Watches every converged step: the sum of the contact forces, the gaps of
// the points in contact measured from their positions to the floor y = 0 (or
// yboden), the total energy with the linear penalty p0 and node 2.
struct Bodenlauf : Tmpm {
  double yboden = 0.0, p0 = 0.0, dt_kontakt_max = 0.0;
  std::vector<double> energie, zeiten, u2, v2;
  std::vector<VekR> summe;
  std::vector<std::vector<double>> luecken;

  int _ausgabe(ZEITPU z) override {
    if (z != ZEITPU_ZEITSCHRITTENDE || !bkonv) return Tmpm::_ausgabe(z);
    summe.push_back(VekR(2));
    for (int i = 0; i < sys->N; ++i)
      summe.back()[i % 2] += sys->fckon[i];
    std::vector<double> g;
    for (const auto& e : stw.bknokoerperfest ? kno : mpu)
      if (PU_Z(e.second)->bimkontakt) g.push_back(PU_Z(e.second)->_x(KONFIGUR_MOMKONF)[1] - yboden);
    luecken.push_back(g);
    // Kinetic, strain, penalty and gravity energy.
    VekR MUt;
    sys->_produkt(SYSMAT_M, sys->Ut, MUt);
    double E = 0.5 * TVM::skalarprodukt(sys->Ut, MUt);
    for (const auto& e : mpu) {
      const TMaterialpunkt* mp = MPU_Z(e.second);
      E += mp->vol0 *
           (0.5 * TVM::skalarprodukt(mp->zust.sig, mp->zust.eps) + mp->zust.rho0 * 9.81 * mp->zust.u[1]);
    }
    for (double gi : g)
      E += 0.5 * p0 * std::min(gi, 0.0) * std::min(gi, 0.0);
    energie.push_back(E);
    zeiten.push_back(t);
    u2.push_back(kno_z(*this, 2)->zust.u[1]);
    v2.push_back(kno_z(*this, 2)->zust.ut[1]);
    if (bkont) dt_kontakt_max = std::max(dt_kontakt_max, dt);
    return Tmpm::_ausgabe(z);
  }
};
} // namespace

TEST(Kontakt, PenaltyLawsAndTheirContinuity) {
  Konsolenumleitung k;
  Tmpm mpm;
  double F = 1.0, F_g = 1.0;
  const double p0 = 1e6, p1 = 1e-3;
  struct Fall {
    VekR p;
    double g, F, F_g;
  };
  for (const Fall& f :
       {Fall{{p0}, -1e-3, 1000.0, -p0}, Fall{{p0}, 0.0, 0.0, 0.0},
        Fall{{p0, p1}, -p1 / 2, p0 * p1 / 8, -p0 / 2}, Fall{{p0, p1}, -2 * p1, 1.5 * p0 * p1, -p0},
        // both branches meet at -p1
        Fall{{p0, p1}, -p1 * (1 - 1e-12), p0 * p1 / 2, -p0}, Fall{{p0, p1}, -p1, p0 * p1 / 2, -p0}}) {
    mpm.stw.kontakt_straffunkparam = f.p;
    EXPECT_TRUE(mpm._kontakt_straffunk(f.g, F, F_g));
    EXPECT_NEAR(F, f.F, 1e-9 * p0 * p1) << f.g;
    EXPECT_NEAR(F_g, f.F_g, 1e-9 * p0) << f.g;
  }
  mpm.stw.kontakt_straffunkparam.init({1.0, 2.0, 3.0});
  EXPECT_FALSE(mpm._kontakt_straffunk(-1.0, F, F_g));
  EXPECT_EQ(F + F_g, 0.0);
  EXPECT_EQ(k.aus.str(), "FEHLER in <bool Tmpm::_straffunk(_REAL g, _REAL& F, _REAL& F_g)>\n");
}

// Node 1 at the origin between two floors: the first line met keeps the
// contact unless a later one is nearer (a positive gap replaced by a smaller
// value, a negative one by a smaller magnitude); beyond the search distance
// 1 there is none.
TEST(Kontakt, ClosestLineOfEveryPointInRegistryOrder) {
  Konsolenumleitung k;
  for (const auto& [g1, g2, g] : std::initializer_list<std::array<double, 3>>{
           {-0.5, 0.1, 0.1}, {0.3, -0.5, -0.5}, {-0.1, -0.5, -0.1}, {0.0, 3.0, 0.0}, {2.0, 3.0, 1.0}}) {
    Tmpm mpm;
    mpm.stw.bkontakt = true;
    TKnoten* p = knoten(mpm, 1, 0.0, 0.0);
    for (int i : {1, 2}) {
      std::vector<unsigned int> punum{10u * i, 10u * i + 1};
      for (unsigned n : punum)
        knoten(mpm, n, n % 2 ? -2.0 : 2.0, i == 1 ? -g1 : -g2);
      ASSERT_NE(konlin_erzeugen(&mpm, i, OBJTYP_KNO, KONLINTYP_SPLKNO, punum), nullptr);
    }
    EXPECT_EQ(mpm._kontakt_geometrie(), g < 1.0) << g1 << " " << g2;
    EXPECT_EQ(mpm.bdurchdr, g < 0.0);
    EXPECT_DOUBLE_EQ(p->kontaktabstand, g) << g1 << " " << g2;
    EXPECT_EQ(p->kontaktrichtung, (VekR{0.0, g < 1.0 ? 1.0 : 0.0}));
    // Only a penetrating point contributes; one on the line is in range with nothing to add.
    mpm.sys->_init();
    EXPECT_EQ(mpm._kontakt_bedingungen(p), g < 0.0);
    mpm._kontakt_kontrolle(true);
    EXPECT_EQ(mpm.sys->Nkonpu, g < 0.0);
    EXPECT_DOUBLE_EQ(mpm.sys->konflr, std::max(-g, 0.0));
  }
}

// A point 0.3 mm behind a slanted floor (normal (sin a, cos a)), in the
// quadratic branch of the penalty law: node 1 of a unit square (nodes move
// with the body), or a material point at (0.3, 0.2) in a fixed mesh, whose
// force goes to the four nodes. The contact stiffness must equal central
// differences of the contact forces in every unknown of the square.
TEST(Kontakt, StiffnessEqualsFiniteDifferencesOfTheForces) {
  const double a = 0.35, g0 = -3e-4, n[2] = {std::sin(a), std::cos(a)}, t[2] = {-n[1], n[0]};
  for (bool bmpu : {false, true}) {
    const double q[2] = {(bmpu ? 0.3 : 0.0) - g0 * n[0], (bmpu ? 0.2 : 0.0) - g0 * n[1]};
    Startlauf l(kopf + "stw_kontakt W, 0.01, (1.e6, 1.e-3)\n" +
                (bmpu ? "stw_berechverf F, W, W, F, W, F, ele, kopieren, eleinv, refkonf, klnverz\n" : "") +
                "eletyp 1, Viereck, Lagro1, Lagro1, Leer, 0, 1\n" + netz(1, 1, 1.0, 1.0, 0.0) +
                "mpu 1, 1, 0.25, (0.3, 0.2)\n" + kno(11, q[0] - 2 * t[0], q[1] - 2 * t[1]) +
                kno(12, q[0] + 2 * t[0], q[1] + 2 * t[1]) + "konlin 1, kno, splkno, (11, 12)\n");
    Tmpm& mpm = l.mpm;
    TSystem& sys = l.s;
    auto kraefte = [&]() {
      if (bmpu) mpm._transfer(OBJTYP_KNO, OBJTYP_MPU, ZUSTGROE_VERSCHIEBUNG);
      mpm._kontakt_geometrie();
      mpm._kontakt_bedingungen();
      return sys.fckon;
    };
    const VekR f0 = kraefte();
    // F = p0 / (2 p1) g^2 along n, spread over 2 or 2 x 4 unknowns.
    const double F = 0.5e9 * g0 * g0;
    double s[2] = {0.0, 0.0};
    for (int i = 0; i < sys.N; ++i)
      s[i % 2] += f0[i];
    EXPECT_EQ(std::count_if(f0.data, f0.data + f0.n, [](double x) { return x != 0.0; }), bmpu ? 8 : 2);
    EXPECT_NEAR(s[0], F * n[0], 1e-12 * F);
    EXPECT_NEAR(s[1], F * n[1], 1e-12 * F);

    // Columns by central differences; the floor is an obstacle and has no share.
    const double h = 1e-7;
    TVM::MatR K(sys.N, sys.N), Kfd(sys.N, sys.N);
    for (int kn = 1; kn <= 4; ++kn)
      for (int c = 0; c < 2; ++c) {
        TKnoten* p = kno_z(mpm, kn);
        p->zust.u[c] = h;
        const VekR plus = kraefte();
        p->zust.u[c] = -h;
        const VekR minus = kraefte();
        p->zust.u[c] = 0.0;
        for (int i = 0; i < sys.N; ++i)
          Kfd[i][p->sysposfhg[c]] = (plus[i] - minus[i]) * 0.5 / h;
      }
    kraefte();
    for (int i = 0; i < sys.N; ++i)
      for (int j = 0; j < sys.N; ++j)
        K[i][j] = sys._eintrag(SYSMAT_KKON, i, j);
    const double Kmax = maxbetrag(K);
    // The largest entry: |F_g| n2^2 times the largest shape value squared (0.7 x 0.8).
    EXPECT_NEAR(Kmax, 1e9 * -g0 * n[1] * n[1] * (bmpu ? 0.56 * 0.56 : 1.0), 1e-9 * Kmax);
    EXPECT_LT(maxabw(K, Kfd), 1e-6 * Kmax) << (bmpu ? "material point" : "node");
  }
}

// Static steps of a block resting on the floor under gravity; it starts 1 mm
// deep so that the contact springs hold it from the first iteration. The
// contact forces carry the weight, and each contacting point's force is that
// of its measured gap: three nodes with either penalty law, then four
// material points in a fixed mesh (2 x 4 points of 0.5 m x 0.5 m).
TEST(Kontakt, BlockRestsOnTheFloorOnNodesOrMaterialPoints) {
  const std::string block = netz(2, 1, 1.0, 1.0, 0.0) + last;
  struct Fall {
    std::vector<double> p;
    std::string modell;
    double yboden;
    std::size_t Npunkte;
  };
  for (const Fall& f : {Fall{{1e7}, "eletyp 1, Viereck, Lagro1, Lagro1, Gauss, 4, 1\n", 0.001, 3},
                        Fall{{1e7, 1.2e-3}, "eletyp 1, Viereck, Lagro1, Lagro1, Gauss, 4, 1\n", 0.001, 3},
                        Fall{{1e7}, modelltext("festes netz"), 0.251, 4}}) {
    std::string p = "(" + zahl(f.p[0]) + (f.p.size() == 2 ? ", " + zahl(f.p[1]) : "") + ")";
    Bodenlauf mpm;
    mpm.yboden = f.yboden;
    std::string aus;
    ASSERT_TRUE(laufen(mpm,
                       kopf + "stw_t 0., 2., 1.\nstw_m F\nstw_kontakt W, 0.3, " + p + "\n" + f.modell +
                           block + boden(f.yboden),
                       &aus));
    ASSERT_EQ(mpm.summe.size(), 2u);
    for (int s = 0; s < 2; ++s) {
      EXPECT_NEAR(mpm.summe[s][1], gewicht, 1e-8 * gewicht) << s;
      EXPECT_NEAR(mpm.summe[s][0], 0.0, 1e-8 * gewicht) << s;
      ASSERT_EQ(mpm.luecken[s].size(), f.Npunkte);
      double F = 0.0;
      for (double g : mpm.luecken[s])
        F += straffunktion(f.p, g);
      EXPECT_NEAR(F, gewicht, 1e-8 * gewicht) << s;
    }
    // With two parameters the corners sit in the quadratic branch, the middle in the linear one.
    const std::vector<double>& g = mpm.luecken.back();
    if (f.p.size() == 2) {
      EXPECT_GT(*std::max_element(g.begin(), g.end()), -f.p[1]);
      EXPECT_LT(*std::min_element(g.begin(), g.end()), -f.p[1]);
    }
    EXPECT_TRUE(enthaelt(aus, "Nkonpu=  " + std::to_string(f.Npunkte)));
  }
}

// The bundled example, a block dropped with the trapezoidal rule and a
// linear penalty, against the rigid block on three springs of its comments:
// the energy stays, and the steps in reach of the floor are the short ones.
TEST(Kontakt, DroppedBlockOfTheExampleIsAMassOnSprings) {
  Bodenlauf mpm;
  mpm.p0 = 1e7;
  std::string aus;
  ASSERT_TRUE(laufen(mpm, beispieltext("kontakt"), &aus));
  const double m = 2000.0, c = 3e7, g = 9.81, h = 0.05, w = std::sqrt(c / m), v0 = std::sqrt(2 * g * h);
  const double ds = m * g / c, A = std::hypot(ds, v0 / w), t1 = std::sqrt(2 * h / g), pi = std::acos(-1.0);
  const std::vector<double>& u = mpm.u2;
  const std::size_t imin = std::min_element(u.begin(), u.end()) - u.begin();
  // The block itself gives way by about F / (E t) = 2.6e-5 m under the largest force.
  EXPECT_NEAR(u[imin], -h - ds - A, 1e-5);
  EXPECT_NEAR(mpm.zeiten[imin], t1 + (pi / 2 + std::asin(ds / A)) / w, 2.5e-4);
  // Off the floor again with the impact speed, then back at the start height.
  std::size_t i = imin;
  while (i + 1 < u.size() && u[i] < -h)
    ++i;
  EXPECT_NEAR(mpm.zeiten[i], t1 + (pi + 2 * std::asin(ds / A)) / w, 2e-3);
  EXPECT_NEAR(mpm.v2[i], v0, 1e-3 * v0);
  EXPECT_NEAR(*std::max_element(u.begin() + i, u.end()), 0.0, 1e-5);
  for (double E : mpm.energie)
    EXPECT_LT(std::fabs(E), 2e-4 * m * g * h);
  EXPECT_LE(mpm.dt_kontakt_max, 2.5e-4);
  // A refused step is never shown as converged, though its last iteration may have been.
  for (std::size_t pos = aus.find("Zeitschrittverkleinerung"); pos != std::string::npos;
       pos = aus.find("Zeitschrittverkleinerung", pos + 1))
    EXPECT_EQ(aus.compare(aus.rfind("ZSE: ", pos), 10, "ZSE: (-), "), 0)
        << aus.substr(aus.rfind("ZSE", pos), 80);
  EXPECT_GT(anzahl(aus, "Zeitschrittverkleinerung"), 10);
}
