// Elements built on nodes; the refusals of the element and element-type
// factories are checked through the model input (tests/input/test_mpmein.cpp).

#include <gtest/gtest.h>

#include <cmath>

#include "model/mpmobjele.h"
#include "model/mpmobjeletyp.h"
#include "model/mpmobjipu.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"
#include "solver/mpm.h"
#include "testhilfe.h"

using namespace MPM;
using namespace th;

namespace {
// Material 1 and nodes numbered from 1 on a grid of n x n points with spacing h.
struct Modell {
  Modell(int n, double h) {
    mpm.stw.bipuaufmpu = false;
    _material_erzeugen(&mpm, 1, 1, {2.0, 100.0, 0.25});
    for (int j = 0, num = 0; j < n; ++j)
      for (int i = 0; i < n; ++i)
        knoten(mpm, ++num, i * h, j * h);
  }
  Konsolenumleitung k;
  Tmpm mpm;
};
} // namespace

TEST(Elemente, NineNodeElementWithCornerGeometry) {
  Modell m(3, 0.5);
  ASSERT_NE(eletyp_erzeugen(&m.mpm, 1, ELE::FORM_VIERECK, ELE::ANSFUNK_LAGRO1, ELE::ANSFUNK_LAGRO2,
                            ELE::IPU_GAUSS, 9, 0),
            nullptr);
  // Input order: corners, mid-sides, centre of the unknown family.
  TElement* e = ele_erzeugen(&m.mpm, 1, 1, 1, {1, 3, 9, 7, 2, 6, 8, 4, 5}, 0);
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(e->_Nkno(KNOTYP_GEOMETRIEKNOTEN), 4);
  ASSERT_EQ(e->_Nkno(KNOTYP_UNBEKANNTENKNOTEN), 9);
  const unsigned ecken[] = {1, 3, 9, 7};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(e->knox[i]->num, ecken[i]);
  EXPECT_TRUE(KNO_Z(e->knox[2])->bknox);
  EXPECT_FALSE(KNO_Z(m.mpm.kno.suchen(5))->bknox);
  EXPECT_EQ(e->knou[8]->num, 5u);
  ASSERT_EQ(e->ipu.size(), 9u);
  double summe = 0.0;
  for (TPunkt* p : e->ipu) {
    summe += p->vola;
    EXPECT_EQ(p->element, e);
  }
  EXPECT_NEAR(summe, 1.0, 1e-14);
  EXPECT_EQ(m.k.fehler.str(), "");
}

TEST(Elemente, IntegrationPointsMaterialPointsAndTheTextForm) {
  Modell m(2, 1.0); // the unit square: nodes 1 (0,0), 2 (1,0), 3 (0,1), 4 (1,1)
  eletyp_bilinear(m.mpm, 1, 4);
  eletyp_bilinear(m.mpm, 2, 0);
  m.mpm.stw.bipuaufmpu = true;
  TElement* e = ele_erzeugen(&m.mpm, 7, 1, 1, {1, 2, 4, 3}, 0);
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
  EXPECT_NEAR(e->ipu[0]->xa[0], g, 1e-15);
  EXPECT_NEAR(e->ipu[0]->xa[1], g, 1e-15);

  m.mpm.stw.bipuaufmpu = false;
  TElement* ohne = ele_erzeugen(&m.mpm, 8, 1, 2, {1, 2, 4, 3}, 0);
  ASSERT_NE(ohne, nullptr);
  EXPECT_TRUE(ohne->ipu.empty());
  EXPECT_EQ(text(*ohne) + "\n", golden("model/golden/texte.txt", "ele"));
}
