#include "testhilfe.h"

using namespace MPM;
using namespace th;
using TVM::VekR;

TEST(Punkte, NodeWithMaterialAndIntegrationPointOnIt) {
  Konsolenumleitung k;
  Tmpm mpm;
  mpm.stw.bmpuaufkno = true;
  mpm.stw.bipuaufkno = true;
  ASSERT_NE(_material_erzeugen(&mpm, 1, 1, {7.5, 100.0, 0.2, 0.0}), nullptr);
  TKnoten* kn = kno_erzeugen(&mpm, 4, 1, 2.0, VekR{1, 2}, VekR{0.1, 0.2}, leer, leer, leer, 0);
  ASSERT_NE(kn, nullptr);
  ASSERT_EQ(std::make_pair(mpm.mpu.size(), mpm.ipu.size()), std::make_pair(std::size_t{1}, std::size_t{1}));
  auto* mp = MPU_Z(mpm.mpu.suchen(1));
  auto* ip = IPU_Z(mpm.ipu.suchen(1));
  ASSERT_TRUE(mp && ip);
  // Each of the three points reaches the two others.
  using P = std::vector<TPunkt*>;
  EXPECT_EQ((P{kn->_pu(OBJTYP_MPU), kn->_pu(OBJTYP_IPU), mp->_pu(OBJTYP_IPU), mp->_pu(OBJTYP_KNO),
               ip->_pu(OBJTYP_KNO)}),
            (P{mp, ip, ip, kn, kn}));
  // The node's own start values were stored as the previous step's.
  EXPECT_EQ(kn->zust.u_n, (VekR{0.1, 0.2}));

  kn->zust.u.init({0.5, -0.5});
  EXPECT_EQ(&mp->_u(), &kn->zust.u);
  EXPECT_EQ(&ip->_u(), &kn->zust.u);
  mp->x0.init({9, 9}); // its own reference position does not count
  EXPECT_EQ(mp->_x(KONFIGUR_MOMKONF), (VekR{1.5, 1.5}));
  kn->zust.J = 2.0;
  EXPECT_EQ(mp->_vol(KONFIGUR_MOMKONF), 4.0);
  EXPECT_EQ(mp->_rho(KONFIGUR_MOMKONF), 3.75);

  // A wrong query asks whether to stop.
  Konsolenumleitung stopp("x");
  EXPECT_THROW(kn->_pu(OBJTYP_KNO), int);
  EXPECT_EQ(stopp.aus.str(), "FEHLER in <TKnoten::_pu(OBJTYP ot)>\n" + frage);
}

// The other refusals of the point factories are checked through the model
// input (tests/input/test_mpmein.cpp); sources are not read there.
TEST(Punkte, MaterialPointsSourcesAndPerturbedPositions) {
  Konsolenumleitung k;
  Tmpm mpm;
  _material_erzeugen(&mpm, 1, 1, {});
  VekR x{1, 1};
  mpm.stw.bipuaufmpu = true;
  mpm.stw.schmutzxa = 0.01;
  TMaterialpunkt* mp = mpu_erzeugen(&mpm, 1, 1, 0.25, x, VekR{1, 0}, leer, leer, leer, 0);
  ASSERT_NE(mp, nullptr);
  EXPECT_EQ(x, (VekR{1, 1})) << "body-fixed nodes: no perturbation";
  auto* ip = IPU_Z(mp->_pu(OBJTYP_IPU));
  ASSERT_NE(ip, nullptr);
  EXPECT_EQ(ip->zustgeber, mp);
  EXPECT_EQ(ip->vola, 0.25);
  for (bool neu : {true, false})
    EXPECT_EQ(mpuquell_erzeugen(&mpm, 2, OBJTYP_MPUQUELL, 0, 1, 0.1, 1, 1.0, x, leer, leer, leer, leer, 0) !=
                  nullptr,
              neu);
  EXPECT_EQ(k.fehler.str(), golden("model/golden/texte.txt", "mpuquell doppelt"));

  mpm.stw.bknokoerperfest = false;
  mp = mpu_erzeugen(&mpm, 3, 1, 1.0, x, leer, leer, leer, leer, 0);
  EXPECT_NE(x, (VekR{1, 1}));
  EXPECT_LE(maxabw(x, VekR{1, 1}), 0.01);
  EXPECT_EQ(mp->xa, x);

  // A node whose material point cannot be made is not left half made.
  k.fehler.str("");
  mpm.stw.bmpuaufkno = true;
  EXPECT_EQ(kno_erzeugen(&mpm, 6, 9, 1.0, x, leer, leer, leer, leer, 0), nullptr);
  EXPECT_EQ(k.fehler.str(), "Eingabedatei, Zeilennummer 0\nMaterialnummer nicht vorhanden: 9\n");
  EXPECT_TRUE(mpm.kno.empty());
}

TEST(Punkte, ConfigurationsStorageAndClearing) {
  Konsolenumleitung k;
  Tmpm mpm;
  TKnoten* kn = kno_erzeugen(&mpm, 1, 1, 1.0, VekR{1, 2}, VekR{0.5, 0.5}, leer, leer, leer, 1);
  ASSERT_NE(kn, nullptr);
  kn->zust.J = 0.5;
  kn->_init_vol0_x0(KONFIGUR_MOMKONF);
  EXPECT_EQ(kn->x0, (VekR{0.5, 1.5}));
  EXPECT_EQ(kn->vol0, 2.0);
  EXPECT_EQ(kn->_vol(KONFIGUR_STARTKONF), 1.0);
  kn->_init_vol0_x0(KONFIGUR_REFKONF);
  EXPECT_EQ(kn->vol0, 1.0);

  kn->zust.u.init({3, 3});
  kn->_umspeichern(RICHTUNG_RUECKWAERTS);
  EXPECT_EQ(kn->zust.u, (VekR{0.5, 0.5}));
  kn->status = OBJSTATUS_INAKTIV;
  kn->_umspeichern(RICHTUNG_VORWAERTS);
  EXPECT_EQ(kn->zust.u, (VekR{0, 0})) << "an inactive point is cleared";

  kn->sysposkno = 3;
  kn->_loeschen();
  EXPECT_EQ(kn->sysposkno, -1);
  EXPECT_EQ(kn->sysposfhg, (TVM::TVektor<int>{-1, -1}));
  EXPECT_EQ(kn->vol0, 0.0);
  EXPECT_EQ(kn->x0, (VekR{0, 0}));

  Konsolenumleitung stopp("w");
  EXPECT_EQ(kn->_vol(KONFIGUR_UNBEKANNT), 0.0);
  EXPECT_EQ(stopp.aus.str() + "\n", golden("model/golden/texte.txt", "vol"));
}
