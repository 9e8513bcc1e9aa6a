// Elements built on nodes; the refusals of the element and element-type
// factories are checked through the model input (tests/input/test_mpmein.cpp).

#include "testhilfe.h"

using namespace MPM;
using namespace th;

TEST(Elemente, NineNodeElementWithCornerGeometry) {
  Konsolenumleitung k;
  Modell mpm; // material 1 and the nodes 1 .. 9 on a grid of spacing 0.5
  gitter(mpm, 3, 3, 0.5, 1.0, false);
  ASSERT_NE(eletyp_erzeugen(&mpm, 1, ELE::FORM_VIERECK, ELE::ANSFUNK_LAGRO1, ELE::ANSFUNK_LAGRO2,
                            ELE::IPU_GAUSS, 9, 0),
            nullptr);
  // Input order: corners, mid-sides, centre of the unknown family.
  TElement* e = ele_erzeugen(&mpm, 1, 1, 1, {1, 3, 9, 7, 2, 6, 8, 4, 5}, 0);
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(e->_Nkno(KNOTYP_GEOMETRIEKNOTEN), 4);
  ASSERT_EQ(e->_Nkno(KNOTYP_UNBEKANNTENKNOTEN), 9);
  EXPECT_EQ(text(e->knox), "kno: kno(1+) kno(3+) kno(9+) kno(7+)");
  EXPECT_EQ(text(e->knou), "kno: kno(1+) kno(3+) kno(9+) kno(7+) kno(2+) kno(6+) kno(8+) kno(4+) kno(5+)");
  EXPECT_TRUE(KNO_Z(e->knox[2])->bknox);
  EXPECT_FALSE(KNO_Z(mpm.kno.suchen(5))->bknox);
  ASSERT_EQ(e->ipu.size(), 9u);
  double summe = 0.0;
  for (TPunkt* p : e->ipu) {
    summe += p->vola;
    EXPECT_EQ(p->element, e);
  }
  EXPECT_NEAR(summe, 1.0, 1e-14);
  EXPECT_EQ(k.fehler.str(), "");
}

TEST(Elemente, IntegrationPointsMaterialPointsAndTheTextForm) {
  Konsolenumleitung k;
  Modell mpm;
  gitter(mpm, 2, 2, 1.0, 1.0, false); // the unit square: nodes 1 (0,0), 2 (1,0), 3 (0,1), 4 (1,1)
  eletyp_bilinear(mpm, 1, 4);
  eletyp_bilinear(mpm, 2, 0);
  mpm.stw.bipuaufmpu = true;
  TElement* e = ele_erzeugen(&mpm, 7, 1, 1, {1, 2, 4, 3}, 0);
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(e->ipu.size(), 4u);
  ASSERT_EQ(e->mpu.size(), 4u);
  for (int p = 0; p < 4; ++p) {
    EXPECT_DOUBLE_EQ(e->ipu[p]->vola, 0.25);
    EXPECT_EQ(e->mpu[p]->vola, e->ipu[p]->vola);
    EXPECT_EQ(e->mpu[p]->xa, e->ipu[p]->xa);
    EXPECT_EQ(e->ipu[p]->zustgeber, e->mpu[p]);
  }
  const double g = 0.5 - 0.5 / std::sqrt(3.0);
  EXPECT_LT(maxabw(e->ipu[0]->xa, TVM::VekR{g, g}), 1e-15);

  mpm.stw.bipuaufmpu = false;
  TElement* ohne = ele_erzeugen(&mpm, 8, 1, 2, {1, 2, 4, 3}, 0);
  ASSERT_NE(ohne, nullptr); // its text: no integration points
  EXPECT_EQ(text(*ohne) + "\n", golden("model/golden/texte.txt", "ele"));
}
