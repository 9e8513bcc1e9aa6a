#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

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
using TVM::VekR;

namespace {
// Nodes numbered from 1 on a grid of nx x ny points with spacing h.
void gitter(Tmpm& mpm, int nx, int ny, double h) {
  int n = 0;
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i)
      knoten(mpm, ++n, i * h, j * h);
}

struct Modell {
  Modell() {
    mpm.stw.bipuaufmpu = false;
    _material_erzeugen(&mpm, 1, 1, {2.0, 100.0, 0.25});
  }
  Tmpm mpm;
};
} // namespace

TEST(Elemente, TypesAreCheckedAgainstTheLibrary) {
  Konsolenumleitung k;
  Modell m;
  EXPECT_NE(eletyp_erzeugen(&m.mpm, 1, ELE::FORM_VIERECK, ELE::ANSFUNK_LAGRO1, ELE::ANSFUNK_LAGRO2,
                            ELE::IPU_GAUSS, 9, 0),
            nullptr);
  struct Fall {
    int num;
    ELE::FORM f;
    ELE::ANSFUNK x, u;
    ELE::IPU i;
    int n;
    const char* text;
  } faelle[] = {
      {1, ELE::FORM_VIERECK, ELE::ANSFUNK_LAGRO1, ELE::ANSFUNK_LAGRO1, ELE::IPU_GAUSS, 4,
       "Elementtypnummer bereits vorhanden: 1\n"},
      {2, ELE::FORM_UNBEKANNT, ELE::ANSFUNK_LAGRO1, ELE::ANSFUNK_LAGRO1, ELE::IPU_GAUSS, 4,
       "Elementform nicht zulaessig\n"},
      {2, ELE::FORM_VIERECK, ELE::ANSFUNK_HERMC1O1, ELE::ANSFUNK_LAGRO1, ELE::IPU_GAUSS, 4,
       "Ansatzfunktionen fuer Geometrie unzulaessig\n"},
      {2, ELE::FORM_VIERECK, ELE::ANSFUNK_LAGRO1, ELE::ANSFUNK_UNBEKANNT, ELE::IPU_GAUSS, 4,
       "Ansatzfunktionen fuer Unbekannte unzulaessig\n"},
      {2, ELE::FORM_DREIECK, ELE::ANSFUNK_LAGRO2, ELE::ANSFUNK_LAGRO2, ELE::IPU_GAUSS, 3,
       "Elementansatz unzulaessig: DreieckLagro2Lagro2\n"},
      {2, ELE::FORM_VIERECK, ELE::ANSFUNK_LAGRO1, ELE::ANSFUNK_LAGRO1, ELE::IPU_UNBEKANNT, 4,
       "Elementintegrationspunktset unzulaessig\n"},
      {2, ELE::FORM_VIERECK, ELE::ANSFUNK_LAGRO1, ELE::ANSFUNK_LAGRO1, ELE::IPU_GAUSS, 5,
       "Elementintegration unzulaessig: ViereckGaussN5\n"},
  };
  for (const Fall& f : faelle) {
    k.fehler.str("");
    EXPECT_EQ(eletyp_erzeugen(&m.mpm, f.num, f.f, f.x, f.u, f.i, f.n, 0), nullptr);
    EXPECT_EQ(k.fehler.str(), std::string("Eingabedatei, Zeilennummer 0\n") + f.text);
  }
  EXPECT_EQ(m.mpm.eletyp.size(), 1u);
}

TEST(Elemente, NineNodeElementWithCornerGeometry) {
  Konsolenumleitung k;
  Modell m;
  gitter(m.mpm, 3, 3, 0.5);
  eletyp_erzeugen(&m.mpm, 1, ELE::FORM_VIERECK, ELE::ANSFUNK_LAGRO1, ELE::ANSFUNK_LAGRO2, ELE::IPU_GAUSS, 9,
                  0);
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

  k.fehler.str("");
  EXPECT_EQ(ele_erzeugen(&m.mpm, 2, 1, 1, {1, 3, 9, 7}, 0), nullptr);
  EXPECT_EQ(k.fehler.str(), "Eingabedatei, Zeilennummer 0\nFalsche Elementknotenanzahl Nk_vorh=4!=9\n");
}

TEST(Elemente, IntegrationPointsMaterialPointsAndRefusals) {
  Konsolenumleitung k;
  Modell m;
  gitter(m.mpm, 2, 2, 1.0); // the unit square: nodes 1 (0,0), 2 (1,0), 3 (0,1), 4 (1,1)
  eletyp_bilinear(m.mpm, 1, 4);
  eletyp_bilinear(m.mpm, 2, 0);
  eletyp_erzeugen(&m.mpm, 3, ELE::FORM_VIERECK, ELE::ANSFUNK_LAGRO1, ELE::ANSFUNK_HERMC1O1, ELE::IPU_GAUSS, 4,
                  0);
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

  const char* mehrere =
      "Elementtyp mit mehreren Ansatzfunktionen je Knoten nicht unterstuetzt: 3 (ViereckLagro1Hermc1o1)\n";
  struct Fall {
    int num, mat, typ;
    std::vector<unsigned> knoten;
    const char* text;
  } faelle[] = {
      {7, 1, 1, {1, 2, 4, 3}, "Elementnummer bereits vorhanden: 7\n"},
      {9, 5, 1, {1, 2, 4, 3}, "Materialnummer nicht vorhanden: 5\n"},
      {9, 1, 6, {1, 2, 4, 3}, "Elementtypnummer nicht vorhanden: 6\n"},
      {9, 1, 1, {1, 2, 4, 30}, "Ungueltige Knotennummer k=30\n"},
      {9, 1, 3, {1, 2, 4, 3}, mehrere},
      {9, 1, 1, {1, 3, 4, 2}, "Elementgeometrie unzulaessig (det J <= 0 im Schwerpunkt): Elementnummer 9\n"},
  };
  const std::size_t ipu_vorher = m.mpm.ipu.size();
  for (const Fall& f : faelle) {
    k.fehler.str("");
    EXPECT_EQ(ele_erzeugen(&m.mpm, f.num, f.mat, f.typ, f.knoten, 0), nullptr);
    EXPECT_EQ(k.fehler.str(), std::string("Eingabedatei, Zeilennummer 0\n") + f.text);
  }
  EXPECT_EQ(m.mpm.ele.size(), 2u);
  EXPECT_EQ(m.mpm.ipu.size(), ipu_vorher);

  // A bow-tie whose centroid Jacobian is positive still fails at a Gauss point.
  knoten(m.mpm, 5, 0.9, 0.1);
  k.fehler.str("");
  EXPECT_EQ(ele_erzeugen(&m.mpm, 9, 1, 1, {1, 2, 4, 5}, 0), nullptr);
  EXPECT_NE(k.fehler.str().find("Elementgeometrie unzulaessig (det J <= 0 am Integrationspunkt"),
            std::string::npos)
      << k.fehler.str();

  EXPECT_EQ(text(*ohne),
            "ele(8+), typ=eletyp(2+), ans=ViereckLagro1Lagro1, integ=ViereckLeer, ele=, knox=kno: kno(1+) "
            "kno(2+) kno(4+) kno(3+), knou=kno: kno(1+) kno(2+) kno(4+) kno(3+), ipu=, mpu=");
}
