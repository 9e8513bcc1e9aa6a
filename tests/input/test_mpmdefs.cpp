#include <gtest/gtest.h>

#include <sstream>

#include "input/mpmdefs.h"
#include "input/mpmdimensionen.h"

using namespace MPM;

TEST(Aufzaehlungen, NamesAndWholeWordParsing) {
  EXPECT_EQ(_OBJTYP("Kno"), OBJTYP_KNO);
  EXPECT_EQ(_OBJTYP("knoten"), OBJTYP_UNBEKANNT);
  EXPECT_EQ(_OBJTYP("MPUQUELL"), OBJTYP_MPUQUELL);
  EXPECT_EQ(_OBJTYP("mpu"), OBJTYP_MPU);
  EXPECT_STREQ(str_OBJTYP(OBJTYP_UNBEKANNT), "unbekannt");
  EXPECT_STREQ(str_OBJTYP(static_cast<OBJTYP>(11)), "unbekannt");
  EXPECT_STREQ(str_OBJTYP(OBJTYP_KONLIN), "konlin");
  EXPECT_STREQ(strlang_OBJTYP(OBJTYP_KNO, true), "Knoten");
  EXPECT_STREQ(strlang_OBJTYP(OBJTYP_KNO, false), "Knoten");
  EXPECT_STREQ(strlang_OBJTYP(OBJTYP_MAT, false), "Materialien");
  EXPECT_STREQ(strlang_OBJTYP(OBJTYP_MPUQUELL, true), "Materialpunktquelle");
  EXPECT_STREQ(strlang_OBJTYP(static_cast<OBJTYP>(-1), true), "unbekannt");
  EXPECT_EQ(_OBJTYP(10), OBJTYP_KONLIN);
  EXPECT_EQ(_OBJTYP(11), OBJTYP_UNBEKANNT);
  EXPECT_EQ(_OBJTYP(-1), OBJTYP_UNBEKANNT);

  EXPECT_EQ(_ANSATZ("ele"), ANSATZ_ELE);
  EXPECT_EQ(_ANSATZ("eleinv"), ANSATZ_ELEINV);
  EXPECT_EQ(_ANSATZ("Wolken"), ANSATZ_WOLKEN);
  EXPECT_EQ(_ANSATZ('K'), ANSATZ_KOPIEREN);
  EXPECT_EQ(_ANSATZ('i'), ANSATZ_ELEINV);
  EXPECT_EQ(_ANSATZ('x'), ANSATZ_UNBEKANNT);
  EXPECT_EQ(_ZEITSCHRITTVERF("IMPLIZIT"), ZEITSCHRITTVERF_IMPLIZIT);
  EXPECT_EQ(_ZEITSCHRITTVERF("impl"), ZEITSCHRITTVERF_UNBEKANNT);
  EXPECT_EQ(_ZEITSCHRITTVERF("impldyn"), ZEITSCHRITTVERF_UNBEKANNT);
  EXPECT_EQ(_RBDIM("vz0"), RBDIM_VZ0);
  EXPECT_EQ(_UEBERTRAGRICHTSTART("mpu_zu_kno"), UEBERTRAGRICHTSTART_MPU_ZU_KNO);
  EXPECT_EQ(_KONFIGUR("startkonf"), KONFIGUR_STARTKONF);
  EXPECT_EQ(_VERZERR("groverz"), VERZERR_GROVERZ);
  EXPECT_EQ(_LASTFUNKTYP("COS"), LASTFUNKTYP_COS);
  EXPECT_EQ(_LASTTYP("kraft"), LASTTYP_KRAFT);
  EXPECT_EQ(_KONLINTYP("splele"), KONLINTYP_SPLELE);
  EXPECT_EQ(_RICHTUNG("rueckwaerts"), RICHTUNG_RUECKWAERTS);
  EXPECT_EQ(_OBJSTATUS("-"), OBJSTATUS_INAKTIV);
  EXPECT_EQ(_OBJSTATUS(nullptr), OBJSTATUS_UNBEKANNT);
  EXPECT_STREQ(str_OBJSTATUS(OBJSTATUS_AKTIV), "+");
  EXPECT_STREQ(str_OBJSTATUS(OBJSTATUS_UNBEKANNT), "?");
  EXPECT_STREQ(str_KNOTYP(KNOTYP_UNBEKANNTENKNOTEN), "Unbekanntenknoten");
  EXPECT_STREQ(str_MATERIALTYP(MATERIALTYP_LINELVISPLAS), "linear elastoplastisch-viskos");
  EXPECT_EQ(_MATERIALTYP(3), MATERIALTYP_LINVISEL);
  EXPECT_EQ(_MATERIALTYP(4), MATERIALTYP_UNBEKANNT);
  EXPECT_STREQ(str_ZUSTGROE(ZUSTGROE_VERSCHIEBUNG_N), "Verschiebungsgroessen letzter Zeitschritt");

  EXPECT_STREQ(str_ZEITPU(ZEITPU_ITERATIONSSCHRITTENDE), "Iterationsschrittende");
  EXPECT_STREQ(str_ZEITPU(static_cast<ZEITPU>(8)), "unbekannt");
  EXPECT_STREQ(str_ZEITPU(static_cast<ZEITPU>(11)), "unbekannt");
  EXPECT_EQ(_ZEITPU("unbekannt"), 7);
  EXPECT_EQ(_ZEITPU("startwerte"), ZEITPU_STARTWERTE);

  EXPECT_STREQ(str_FEHLER(FEHLER_KEIN), "kein");
  EXPECT_STREQ(str_FEHLER(static_cast<FEHLER>(1)), "unbekannt");
  EXPECT_STREQ(str_FEHLER(FEHLER_MAXMATIT), "Maximalzahl der inneren Iterationsschritte erreicht");
}

TEST(Dimensionen, PlaneDefaultsAndTextForm) {
  std::ostringstream s;
  s << TDimensionen();
  EXPECT_EQ(s.str(), "dim=2d, rbdim=Sp0, (dim1=2, dim2=3, maxNz=5, maxNq=3)");
  EXPECT_EQ(TDimensionen::vek_maxNz, TVM::VekR(5));

  TDimensionen::setzen(ELE::DIM_3D, RBDIM_VZ0);
  EXPECT_EQ(TDimensionen::maxNz, 8);
  EXPECT_EQ(TDimensionen::vek_dim2.n, 6);
  s.str("");
  s << TDimensionen();
  EXPECT_EQ(s.str(), "dim=3d, rbdim=Vz0, (dim1=3, dim2=6, maxNz=8, maxNq=6)");
  TDimensionen::setzen(ELE::DIM_2D, RBDIM_SP0);
  EXPECT_EQ(TDimensionen::dim1, 2);
  EXPECT_EQ(TDimensionen::vek_dim1.n, 2);
}
