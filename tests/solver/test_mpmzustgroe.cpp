#include "solver/mpmzustgroe.h"
#include "testhilfe.h"

using namespace MPM;
using TVM::VekR;

// A record on given storage lies there in member order; the subsets are the
// stretches u..utt, u..z, z..DT of its members; a new or cleared record has
// zeros, unit F and J = 1.
TEST(Zustand, LayoutSubsetsAndClearing) {
  const TZustgroe::TLage lage;
  // 3*2 + 2*5 + 3*4 + 1 + 2*3 + 1 + 3 + 3 + 2*9 + 3*2 + 2
  ASSERT_EQ(lage.ende, 68);
  std::vector<double> speicher(68, 9.0);
  TZustgroe zg(speicher.data());
  const double* b = speicher.data();
  EXPECT_EQ(zg.u.data, b);
  EXPECT_EQ(zg.z.data, b + 6);
  EXPECT_EQ(&zg.J, b + 28);
  EXPECT_EQ(zg.sig.data, b + 36);
  EXPECT_EQ(zg.DT.data + 9, zg.u_n.data);
  EXPECT_EQ(zg.CT.data, b + lage.CT);
  EXPECT_EQ(&zg.normdz, b + 67);
  struct Fall {
    ZUSTGROE g;
    const double *von, *bis;
  } faelle[] = {{ZUSTGROE_ALLE, b, b + 68},
                {ZUSTGROE_VERSCHIEBUNG, zg.u.data, zg.z.data},
                {ZUSTGROE_PRIMAER, zg.u.data, zg.z_n.data},
                {ZUSTGROE_SEKUNDAER, zg.z.data, zg.u_n.data}};
  for (const Fall& f : faelle) {
    int von = -1, laenge = -1;
    ASSERT_TRUE(TZustgroe::_strecke(f.g, lage, von, laenge)) << f.g;
    EXPECT_EQ(zg._teilmenge(f.g)->data, f.von) << f.g;
    EXPECT_EQ(zg._teilmenge(f.g)->data + zg._teilmenge(f.g)->n, f.bis) << f.g;
    EXPECT_EQ(b + von, f.von) << f.g;
    EXPECT_EQ(laenge, f.bis - f.von) << f.g;
  }
  int von = 0, laenge = 0;
  EXPECT_FALSE(TZustgroe::_strecke(ZUSTGROE_VERSCHIEBUNG_N, lage, von, laenge));
  EXPECT_EQ(zg._teilmenge(ZUSTGROE_VERSCHIEBUNG_N), nullptr);
  EXPECT_EQ(zg._teilmenge(ZUSTGROE_UNBEKANNT), nullptr);

  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(zg.u, (VekR{0, 0}));
    EXPECT_EQ(zg.F.GetCol(0), (VekR{1, 0}));
    EXPECT_EQ(zg.F.GetCol(1), (VekR{0, 1}));
    EXPECT_EQ(zg.Fa.GetCol(1), (VekR{0, 1}));
    EXPECT_EQ(zg.H.GetCol(0), (VekR{0, 0}));
    EXPECT_EQ(zg.J, 1.0);
    EXPECT_EQ(zg.normdz, 0.0);
    for (int k = 0; k < zg.alle.n; ++k)
      zg.alle[k] = k + 1;
    zg._loeschen();
  }
}

TEST(Zustand, StoreRestoreAndAssign) {
  TZustgroe zg;
  zg.u.init({1, 2});
  zg.ut.init({3, 4});
  zg.utt.init({5, 6});
  zg.z[4] = 7;
  zg.sig[0] = 8;
  zg._umspeichern(RICHTUNG_VORWAERTS);
  EXPECT_EQ(zg.u_n, (VekR{1, 2}));
  zg.u.init({-1, -2});
  zg.utt.init({0, 0});
  zg.z[4] = 0;
  zg.sig[0] = 9;
  zg._umspeichern(RICHTUNG_RUECKWAERTS);
  EXPECT_EQ(zg.u, (VekR{1, 2}));
  EXPECT_EQ(zg.ut, (VekR{3, 4}));
  EXPECT_EQ(zg.utt, (VekR{5, 6}));
  EXPECT_EQ(zg.z[4], 7);
  EXPECT_EQ(zg.sig[0], 9) << "stresses are not restored";

  const VekR vorher = zg.alle;
  zg = zg;
  EXPECT_EQ(zg.alle, vorher);
  TZustgroe kopie(zg), dritte;
  EXPECT_EQ(kopie.alle, zg.alle);
  EXPECT_NE(kopie.u.data, zg.u.data);
  kopie.J = 3.0;
  EXPECT_EQ(kopie.alle[28], 3.0);
  EXPECT_EQ(zg.J, 1.0);
  dritte = kopie;
  EXPECT_EQ(dritte.alle, kopie.alle);

  // The record of a point with a state provider holds nothing and takes nothing.
  double klein[TZustgroe::Nleer] = {7, 7, 7, 7};
  TZustgroe leer(klein, true);
  EXPECT_EQ(leer.alle.n, 0);
  EXPECT_EQ(leer.J, 1.0);
  EXPECT_EQ(&leer.J, klein);
  leer.u.init({3, 4});
  leer = zg;
  leer._umspeichern(RICHTUNG_RUECKWAERTS);
  leer._loeschen();
  EXPECT_EQ(leer.u.n, 0) << "an empty record stays empty";
  EXPECT_EQ(leer._teilmenge(ZUSTGROE_SEKUNDAER)->n, 0);
}
