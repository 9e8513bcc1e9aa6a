#include "element/eleans.h"
#include "element/eledefs.h"
#include "element/eleipu.h"
#include "element/eletyp.h"
#include "testhilfe.h"

using namespace ELE;

#define LISTE(E, N)                                                                                          \
  namensliste(                                                                                               \
      #E, N, [](int v) { return str_##E(static_cast<E>(v)); }, [](const char* w) { return int(_##E(w)); },   \
      "Unbekannt")

// The registries list their datasets by name, one a line.
template <class F> std::string registerliste(const std::string& was, F namen) {
  std::string n, liste = was + ":";
  for (const std::string& name : th::zeilen(namen(n)))
    liste += " " + name;
  return liste + "\n";
}

TEST(Elementbegriffe, NamesCountsAndRegistriesMatchTheList) {
  std::string alle = LISTE(DIM, 4) + "\n" + LISTE(FORM, 7) + "\n" + LISTE(ANSFUNK, 10) + "\n" +
                     LISTE(IPU, 7) + "\nDIM1 DIM2:";
  for (int d = 0; d <= 3; ++d)
    alle += (d ? "; " : " ") + std::to_string(d) + " " + std::to_string(DIM1(DIM(d))) + " " +
            std::to_string(DIM2(DIM(d)));
  alle += "\nEcken:";
  for (int f : {0, 2, 3, 4, 5, 6})
    alle += (f ? "; " : " ") + std::to_string(f) + " " + std::to_string(Necken(FORM(f)));
  alle += "\nNLk 1d 2d, x, u:";
  for (int a = 0; a <= 10; ++a)
    alle += (a ? "; " : " ") + std::to_string(a) + " " + std::to_string(NLk(DIM_1D, ANSFUNK(a))) + " " +
            std::to_string(NLk(DIM_2D, ANSFUNK(a))) + (b_ANSFUNK_x(ANSFUNK(a)) ? " W" : " F") +
            (b_ANSFUNK_u(ANSFUNK(a)) ? " W" : " F");
  alle += "\n" + registerliste("ELEANS", ELEANS::get_datasetnames) +
          registerliste("ELEIPU", ELEIPU::get_datasetnames) +
          registerliste("ELETYP", ELETYP::get_datasetnames);
  EXPECT_EQ(alle, vorlage("element/golden/namen.txt"));
  EXPECT_EQ(_DIM(3), DIM_3D);
  EXPECT_EQ(_DIM(4), DIM_UNBEKANNT);
  EXPECT_EQ(NLk(DIM_UNBEKANNT, ANSFUNK_LAGRO1), 0);

  // Keys name their datasets (the registry lists above are those names); a
  // name or key without a dataset is reported and refused.
  Konsolenumleitung k;
  EXPECT_EQ(ELEANS::get_datasetptr(ELEANS::Tkey(DIM_2D, FORM_VIERECK, ANSFUNK_SEREO1)), nullptr);
  EXPECT_EQ(ELEANS::get_datasetptr(std::string("ViereckLagro4")), nullptr);
  EXPECT_EQ(ELEIPU::get_datasetptr(ELEIPU::Tkey(DIM_2D, FORM_VIERECK, IPU_GAUSS, 5)), nullptr);
  EXPECT_EQ(ELETYP::get_datasetptr(std::string("ViereckLagro1Sereo2")), nullptr);
  EXPECT_EQ(k.aus.str(), "\nELEANS::TdatasetPtr::getdatasetptr(): kein Eintrag zu Schluessel ViereckSereo1"
                         "\nELEINT::TdatasetPtr::getdatasetptr(): kein Eintrag zu Name ViereckLagro4"
                         "\nELEIPU::TdatasetPtr::getdatasetptr(): kein Eintrag zu Schluessel ViereckGaussN5"
                         "\nELETYP::TdatasetPtr::getdatasetptr(): kein Eintrag zu Name ViereckLagro1Sereo2");
  EXPECT_THROW(ELEANS::get_datasetref(std::string("Viereck")), int);
  EXPECT_THROW(ELEIPU::get_datasetref(std::string("")), int);
  EXPECT_THROW(ELETYP::get_datasetref(std::string("Viereck")), int);
}
