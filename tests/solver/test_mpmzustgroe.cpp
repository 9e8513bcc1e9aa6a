#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "solver/mpmzustgroe.h"

using namespace MPM;
using TVM::VekR;

TEST(Zustand, NewRecordIsClearedAndMembersTileTheBlock) {
  TZustgroe zg;
  // 3*2 + 2*5 + 3*4 + 1 + 2*3 + 1 + 3 + 3 + 2*9 + 3*2 + 2
  ASSERT_EQ(zg.alle.n, 68);
  EXPECT_EQ(zg.Fa.GetCol(1), (VekR{0, 1}));
  EXPECT_EQ(zg.H.GetCol(0), (VekR{0, 0}));

  // Writing through each member lands in the block in member order.
  const double* b = zg.alle.data;
  EXPECT_EQ(zg.u.data, b);
  EXPECT_EQ(zg.z.data, b + 6);
  EXPECT_EQ(&zg.J, b + 28);
  EXPECT_EQ(zg.sig.data, b + 36);
  EXPECT_EQ(zg.DT.data + 9, zg.u_n.data);
  EXPECT_EQ(&zg.normdz, b + 67);

  // Subsets: whole block; u..utt; u..z; z..DT.
  EXPECT_EQ(zg._teilmenge(ZUSTGROE_ALLE), &zg.alle);
  const VekR* v = zg._teilmenge(ZUSTGROE_VERSCHIEBUNG);
  EXPECT_EQ(v->data, b);
  EXPECT_EQ(v->n, 6);
  const VekR* p = zg._teilmenge(ZUSTGROE_PRIMAER);
  EXPECT_EQ(p->data, b);
  EXPECT_EQ(p->n, 11);
  const VekR* s = zg._teilmenge(ZUSTGROE_SEKUNDAER);
  EXPECT_EQ(s->data, zg.z.data);
  EXPECT_EQ(s->data + s->n, zg.u_n.data);
  EXPECT_EQ(zg._teilmenge(ZUSTGROE_VERSCHIEBUNG_N), nullptr);
  EXPECT_EQ(zg._teilmenge(ZUSTGROE_UNBEKANNT), nullptr);

  for (int i = 0; i < zg.alle.n; ++i)
    zg.alle[i] = i + 1;
  zg._loeschen();
  EXPECT_EQ(zg.u, (VekR{0, 0}));
  EXPECT_EQ(zg.F.GetCol(0), (VekR{1, 0}));
  EXPECT_EQ(zg.F.GetCol(1), (VekR{0, 1}));
  EXPECT_EQ(zg.J, 1.0);
  EXPECT_EQ(zg.normdz, 0.0);
}

TEST(Zustand, StoreRestoreAssignAndText) {
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

  TZustgroe kopie(zg);
  EXPECT_EQ(kopie.alle, zg.alle);
  EXPECT_NE(kopie.u.data, zg.u.data);
  kopie.J = 3.0;
  EXPECT_EQ(kopie.alle[28], 3.0);
  EXPECT_EQ(zg.J, 1.0);
  TZustgroe dritte;
  dritte = kopie;
  EXPECT_EQ(dritte.alle, kopie.alle);

  TVM::TVekMat::format() = 2;
  std::ostringstream s;
  s << zg;
  EXPECT_EQ(s.str(), zg._str(ZUSTGROE_ALLE));
  EXPECT_EQ(zg._str(ZUSTGROE_VERSCHIEBUNG),
            "u=<2>[ 1.000e+00| 2.000e+00], ut=<2>[ 3.000e+00| 4.000e+00], utt=<2>[ 5.000e+00| 6.000e+00]");
  EXPECT_EQ(zg._str(ZUSTGROE_PRIMAER).rfind(zg._str(ZUSTGROE_VERSCHIEBUNG) + ", z=<5>[", 0), 0u);
  EXPECT_NE(zg._str(ZUSTGROE_SEKUNDAER).find(", sig=<3>[ 9.000e+00|"), std::string::npos);
  EXPECT_EQ(zg._str(ZUSTGROE_VERSCHIEBUNG_N), "");
}

// A record on given storage lies there with the layout TLage names, and the
// stretches of the subsets are those of its views; an empty record (of a
// point with a state provider) holds nothing and takes nothing.
TEST(Zustand, RecordOnStorageLayoutAndEmptyRecord) {
  const TZustgroe::TLage lage;
  std::vector<double> speicher(static_cast<std::size_t>(lage.ende), 9.0);
  TZustgroe zg(speicher.data());
  EXPECT_EQ(zg.alle.data, speicher.data());
  EXPECT_EQ(speicher[lage.J], 1.0) << "cleared as a new record";
  EXPECT_EQ(zg.u_n.data, speicher.data() + lage.u_n);
  EXPECT_EQ(zg.CT.data, speicher.data() + lage.CT);
  EXPECT_EQ(&zg.normdz, speicher.data() + lage.ende - 1);
  for (ZUSTGROE g : {ZUSTGROE_ALLE, ZUSTGROE_VERSCHIEBUNG, ZUSTGROE_PRIMAER, ZUSTGROE_SEKUNDAER}) {
    int von = -1, laenge = -1;
    ASSERT_TRUE(TZustgroe::_strecke(g, lage, von, laenge)) << g;
    EXPECT_EQ(zg._teilmenge(g)->data, zg.alle.data + von) << g;
    EXPECT_EQ(zg._teilmenge(g)->n, laenge) << g;
  }
  int von = 0, laenge = 0;
  EXPECT_FALSE(TZustgroe::_strecke(ZUSTGROE_VERSCHIEBUNG_N, lage, von, laenge));
  zg.u.init({1, 2});
  zg._umspeichern(RICHTUNG_VORWAERTS);
  EXPECT_EQ(zg.u_n, (VekR{1, 2}));

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
