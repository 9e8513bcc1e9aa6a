// The solution step of the equilibrium iteration and the transfers between
// point sets.

#include <gtest/gtest.h>

#include <cmath>

#include "approx/mpmans.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmpu.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"
#include "testhilfe.h"

using namespace MPM;
using TVM::VekR;

namespace {
const std::string quadrat = "stw_zeitschrittverf implizit\nmat 1, 1, (2., 100., 0.25, 0.)\neletyp 1\n"
                            "kno 1, 1, 1., (0, 0)\nkno 2, 1, 1., (1, 0)\nkno 3, 1, 1., (1, 1)\n"
                            "kno 4, 1, 1., (0, 1)\nele 1, 1, 1, (1, 2, 3, 4)\n";

void start(Tmpm& mpm) {
  mpm._eingabe_start();
  mpm._netza();
  mpm._netz_init_mpu();
  mpm._L_G();
  mpm._transfer(OBJTYP_KNO, OBJTYP_MPU, ZUSTGROE_PRIMAER);
  mpm._transfer_knou_zu_sys();
  mpm._umspeichern(RICHTUNG_VORWAERTS);
}

// One node with two unknowns and a stiffness K, load f, no masses.
struct Feder {
  explicit Feder(const TVM::MatR& K, const VekR& f) {
    static const VekR leer;
    mpm.stw.bmassen = false;
    mpm.stw._init_zeitschrittparam(0.1);
    mpm.dt = 0.1;
    TKnoten* kn = kno_erzeugen(&mpm, 1, 1, 1.0, VekR{0, 0}, leer, leer, leer, leer, 0);
    mpm.knou.einfuegen(1, kn);
    mpm.sys->_init();
    mpm.sys->KT = K;
    mpm.sys->fext = f;
  }
  Tmpm mpm;
};
} // namespace

TEST(Loesungsschritt, LumpedAndConsistentMass) {
  for (double verklumpen : {0.0, 1.0}) {
    Konsolenumleitung k;
    Testlauf lauf(quadrat + "stw_m W, " + std::to_string(verklumpen) + "\n");
    Tmpm mpm;
    start(mpm);
    mpm._M_Fm_KT_Fint();
    const TVM::MatR& M = mpm.sys->M;
    double summe = 0.0, nebendiagonale = 0.0;
    for (int i = 0; i < M.zeilen; ++i)
      for (int j = 0; j < M.spalten; ++j) {
        summe += M[i][j];
        if (i != j) nebendiagonale += std::fabs(M[i][j]);
      }
    EXPECT_NEAR(summe, 2 * 2.0, 1e-13) << "mass 2 in each of the two directions";
    // Consistent: m/36 [4 2 1 2; 2 4 2 1; 1 2 4 2; 2 1 2 4] per direction.
    EXPECT_NEAR(nebendiagonale, verklumpen == 1.0 ? 0.0 : 2 * 2.0 * 20 / 36, 1e-13);
  }
}

TEST(Loesungsschritt, PrescribedTimeZeroRateAndLimitCases) {
  {
    // All unknowns prescribed: the free block is empty, U := Uvor.
    Konsolenumleitung k;
    std::string bedingungen = "stw_strafverf F\nstw_t 0., 1., 1.\n";
    for (int n = 1; n <= 4; ++n)
      for (int r : {0, 90})
        bedingungen += "punktlast " + std::to_string(2 * n + r / 90) + ", kno, verschiebung, (" +
                       std::to_string(n) + "), " + std::to_string(r) + "., kon, (0., 10.), (" +
                       std::to_string(r ? -0.002 : 0.001 * n) + ")\n";
    Testlauf lauf(quadrat + bedingungen);
    Tmpm mpm;
    ASSERT_TRUE(mpm._steuerung());
    EXPECT_EQ(mpm.sys->N0, 0);
    for (int n = 1; n <= 4; ++n) {
      EXPECT_NEAR(KNO_Z(mpm.kno.suchen(n))->zust.u[0], 0.001 * n, 1e-17);
      EXPECT_NEAR(KNO_Z(mpm.kno.suchen(n))->zust.u[1], -0.002, 1e-17);
    }
  }
  const TVM::MatR K(2, 2, {10, 0, 0, 10});
  {
    Konsolenumleitung k;
    Feder f(K, VekR{0.2, 0});
    f.mpm.sys->U_n.init({0.5, 0.5});
    f.mpm.dt = 0.0;
    EXPECT_TRUE(f.mpm._U_Ut_Utt());
    EXPECT_TRUE(f.mpm.bkonv);
    EXPECT_EQ(f.mpm.sys->U, (VekR{0.5, 0.5}));
    EXPECT_EQ(k.aus.str(), "<bool Tmpm::_U_Ut_Utt()>: dt=0.\n");
  }
  {
    // With rate control of power 2, 0.02 after 0.1 is too slow (0.02 > 0.01).
    Konsolenumleitung k;
    Feder f(K, VekR{0.2, 0});
    f.mpm.stw.bkonvkontrbilanzit = true;
    f.mpm.stw.minkonvbilanzit = 2.0;
    f.mpm.sys->normdU = 0.1;
    f.mpm.jj = 1;
    EXPECT_FALSE(f.mpm._U_Ut_Utt());
    EXPECT_EQ(k.aus.str(),
              "Keine hinreichende Konvergenz, jj=1: normdU=0.02 > pow(normdU_j,2) = pow(0.1, 2) = 0.01\n");
  }
  {
    Konsolenumleitung k;
    Feder f(K, VekR{0.2, 0});
    f.mpm.stw.maxNbilanzit = 5;
    f.mpm.jj = 5;
    EXPECT_FALSE(f.mpm._U_Ut_Utt());
    EXPECT_EQ(k.aus.str(), "Maximalzahl der Bilanziterationsschritte erreicht (jj=5)\n");
    EXPECT_NEAR(f.mpm.sys->U[0], 0.02, 1e-15) << "the solution itself is right: K U = f";
  }
  Konsolenumleitung k;
  Feder f(TVM::MatR(2, 2, {1, 1, 1, 1}), VekR{1, 0});
  EXPECT_FALSE(f.mpm._U_Ut_Utt());
  EXPECT_EQ(k.aus.str(), "FEHLER in <Tmpm::_U_Ut_Utt()>: Invertieren von K11 gescheitert\n");
}

TEST(Transfer, PairsSkippedNodesAndResults) {
  Konsolenumleitung k("w\n");
  Testlauf lauf(quadrat + "kno 5, 1, 1., (3, 3)\n");
  Tmpm mpm;
  start(mpm);
  EXPECT_FALSE(mpm._transfer(OBJTYP_IPU, OBJTYP_MPU, ZUSTGROE_ALLE));
  EXPECT_EQ(
      k.aus.str(),
      "Eingabedatei lesen\nFEHLER in <Tmpm::_transfer(OBJTYP quellot, OBJTYP zielot, ZUSTGROE uegroe)>:\n"
      "quellot=ipu, zielot=mpu, uegroe=alle Groessen, ansatz=unbekannt\n"
      "Fuer ABBRUCH \"x\", fuer WEITER beliebiges Zeichen eingeben:");

  // New nodal displacements flow to the material points; stresses do not.
  TSystem& s = *mpm.sys;
  for (int n = 1; n <= 4; ++n) {
    const TKnoten* kn = KNO_Z(mpm.kno.suchen(n));
    s.U[kn->sysposfhg[0]] = 0.1 * kn->xa[0];
    s.U[kn->sysposfhg[1]] = -0.2 * kn->xa[1];
  }
  TMaterialpunkt* mp = MPU_Z(mpm.mpu.suchen(1));
  mp->zust.sig.init({1, 2, 3});
  TKnoten* fern = KNO_Z(mpm.kno.suchen(5));
  fern->zust.sig.init({7, 7, 7});
  ASSERT_TRUE(mpm._transfer_ergebnisse());
  EXPECT_NEAR(mp->zust.u[0], 0.1 * mp->xa[0], 1e-15);
  EXPECT_EQ(mp->zust.sig, (VekR{1, 2, 3}));
  EXPECT_EQ(fern->zust.sig, (VekR{7, 7, 7})) << "a node without element or material point receives nothing";

  // An inactive node keeps its state and contributes zeros.
  TKnoten* kn1 = KNO_Z(mpm.kno.suchen(1));
  kn1->status = OBJSTATUS_INAKTIV;
  kn1->zust.u.init({5, 5});
  s.U[kn1->sysposfhg[0]] = 9.0;
  mpm._transfer_sys_zu_knou();
  EXPECT_EQ(kn1->zust.u, (VekR{5, 5}));
  mpm._transfer_knou_zu_sys();
  EXPECT_EQ(s.U[kn1->sysposfhg[0]], 0.0);
}
