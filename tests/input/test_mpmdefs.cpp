#include "input/mpmdefs.h"
#include "input/mpmdimensionen.h"
#include "numerics/loeser.h"
#include "testhilfe.h"

using namespace MATHE;
using namespace MPM;

// The name list of enumeration E with N values; a third argument names the unknown value.
#define LISTE(E, N, ...)                                                                                     \
  namensliste(                                                                                               \
      #E, N, [](int v) { return str_##E(static_cast<E>(v)); }, [](const char* w) { return int(_##E(w)); },   \
      ##__VA_ARGS__)

// Tables the program only prints (no lookup by name): the list alone, whose
// golden file shows every name.
#define NAMEN(E, N)                                                                                          \
  namensliste(                                                                                               \
      #E, N, [](int v) { return str_##E(static_cast<E>(v)); }, nullptr)

TEST(Aufzaehlungen, NameTablesRoundTripAndMatchTheList) {
  const std::string listen[] = {LISTE(ANSATZ, 5),
                                LISTE(KONFIGUR, 4),
                                LISTE(VERZERR, 3),
                                LISTE(ZEITSCHRITTVERF, 3),
                                LISTE(UEBERTRAGRICHTSTART, 3),
                                LISTE(RBDIM, 3),
                                LISTE(RICHTUNG, 3),
                                LISTE(OBJSTATUS, 3, "?"),
                                NAMEN(KNOTYP, 4),
                                LISTE(KONLINTYP, 4),
                                LISTE(LASTTYP, 4),
                                LISTE(LASTFUNKTYP, 7),
                                LISTE(MATERIALTYP, 4),
                                NAMEN(ZUSTGROE, 6),
                                LISTE(ZEITPU, 11),
                                NAMEN(FEHLER, 4),
                                LISTE(OBJTYP, 11),
                                LISTE(LOESER, 6)};
  std::string alle;
  for (const std::string& l : listen)
    alle += l + "\n";
  for (bool einzahl : {true, false}) {
    alle += std::string("OBJTYP ") + (einzahl ? "einzahl:" : "mehrzahl:");
    for (int v = 1; v <= 10; ++v)
      alle +=
          (v > 1 ? "; " : " ") + std::to_string(v) + " " + strlang_OBJTYP(static_cast<OBJTYP>(v), einzahl);
    alle += "\n";
  }
  EXPECT_EQ(alle, vorlage("input/golden/aufzaehlungen.txt"));

  // Whole words only (the round trip covers ele / eleinv); "unbekannt" is the name of the unnamed ZEITPU
  // values.
  EXPECT_EQ(_OBJTYP("knoten"), OBJTYP_UNBEKANNT);
  EXPECT_EQ(_ZEITSCHRITTVERF("impl"), ZEITSCHRITTVERF_UNBEKANNT);
  EXPECT_EQ(_ZEITPU("unbekannt"), 7);
  EXPECT_EQ(_OBJSTATUS(nullptr), OBJSTATUS_UNBEKANNT);
  EXPECT_STREQ(strlang_OBJTYP(static_cast<OBJTYP>(-1), true), "unbekannt");
  for (const auto& [c, soll] :
       {std::pair{'k', 1}, {'K', 1}, {'e', 2}, {'E', 2}, {'i', 3}, {'I', 3}, {'w', 4}, {'W', 4}, {'x', 0}})
    EXPECT_EQ(_ANSATZ(c), soll) << c;
  EXPECT_EQ(_OBJTYP(10), OBJTYP_KONLIN);
  EXPECT_EQ(_OBJTYP(11) + _OBJTYP(-1), OBJTYP_UNBEKANNT);
  EXPECT_EQ(_MATERIALTYP(3), MATERIALTYP_LINVISEL);
  EXPECT_EQ(_MATERIALTYP(4) + _MATERIALTYP(0), MATERIALTYP_UNBEKANNT);
}

TEST(Dimensionen, PlaneDefaultsAndTextForm) {
  EXPECT_EQ(th::text(TDimensionen()), "dim=2d, rbdim=Sp0, (dim1=2, dim2=3, maxNz=5, maxNq=3)");
  EXPECT_EQ(TDimensionen::vek_maxNz, TVM::VekR(5));
  TDimensionen::setzen(ELE::DIM_3D, RBDIM_VZ0);
  EXPECT_EQ(TDimensionen::vek_dim2.n, 6);
  EXPECT_EQ(th::text(TDimensionen()), "dim=3d, rbdim=Vz0, (dim1=3, dim2=6, maxNz=8, maxNq=6)");
  TDimensionen::setzen(ELE::DIM_2D, RBDIM_SP0);
  EXPECT_EQ(TDimensionen::vek_dim1.n, 2);
}
