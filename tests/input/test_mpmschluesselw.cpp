#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/zeichkett.h"
#include "input/mpmschluesselw.h"
#include "testhilfe.h"

TEST(Schluesselworte, TableShapeLookupAndInvalidNumbers) {
  Konsolenumleitung k;
  EXPECT_EQ(TSCHLUESSELWORTE::N, 51);
  EXPECT_STREQ(TSCHLUESSELWORTE::sw[0].format, "");
  for (int i = 1; i < TSCHLUESSELWORTE::N; ++i) {
    EXPECT_TRUE(schluesselworte.nummerpruef(i));
    const char* wort = TSCHLUESSELWORTE::wort(i);
    ASSERT_GT(std::strlen(wort), 0u) << i;
    EXPECT_EQ(TSCHLUESSELWORTE::nummer(wort), i) << wort; // all keywords differ
    const std::string format = TSCHLUESSELWORTE::format(i);
    EXPECT_EQ(TSCHLUESSELWORTE::eintragsanzahl(i), static_cast<int>(format.size())) << wort;
    EXPECT_EQ(format.find_first_not_of("bufwsFU"), std::string::npos) << wort;
    // The defaults never hold more words than the keyword has entries.
    EXPECT_LE(woerteranz(TSCHLUESSELWORTE::zeile(i)), TSCHLUESSELWORTE::eintragsanzahl(i)) << wort;
  }
  // Spot checks of the table against the input language.
  EXPECT_STREQ(TSCHLUESSELWORTE::wort(1), "titel");
  EXPECT_STREQ(TSCHLUESSELWORTE::zeile(49), "0, kno, splele, ()");
  EXPECT_STREQ(TSCHLUESSELWORTE::wort(50), "stw_startbeschl");
  // Case-insensitive whole words; format letters by entry, none outside.
  EXPECT_EQ(schluesselworte.nummer("STW_T"), 21);
  EXPECT_EQ(schluesselworte.format("MPU", 9), 'u');
  EXPECT_EQ(schluesselworte.format(36, 4), 'F');
  EXPECT_EQ(schluesselworte.format(36, 10), '\0');
  EXPECT_EQ(schluesselworte.format(36, 0), '\0');
  EXPECT_EQ(k.fehler.str(), "");

  EXPECT_EQ(schluesselworte.nummer("stw"), 0);
  EXPECT_EQ(schluesselworte.nummer("UNBEKANNT"), 0);
  EXPECT_EQ(schluesselworte.nummer(nullptr), 0);
  EXPECT_EQ(schluesselworte.format(51, 1), '\0');
  EXPECT_STREQ(schluesselworte.format(-1), "");
  EXPECT_STREQ(schluesselworte.beschreibung(99), "Schluesselwort oder Schluesselwortnummer ungueltig");
  EXPECT_EQ(schluesselworte.eintragsanzahl(51), 0);
  EXPECT_EQ(k.fehler.str(), "Uebergebenes Wort<stw> nicht als Schluesselwort verzeichnet\n"
                            "Uebergebenes Wort<UNBEKANNT> nicht als Schluesselwort verzeichnet\n"
                            "Uebergebenes Wort<> nicht als Schluesselwort verzeichnet\n"
                            "Uebergebene Schluesselwortnummer <51> ist ungueltig\n"
                            "Uebergebene Schluesselwortnummer <-1> ist ungueltig\n"
                            "Uebergebene Schluesselwortnummer <99> ist ungueltig\n"
                            "Uebergebene Schluesselwortnummer <51> ist ungueltig\n");
}

TEST(Schluesselworte, SimilarKeywordWithinEditDistanceTwo) {
  Konsolenumleitung k;
  EXPECT_EQ(TSCHLUESSELWORTE::suchen("Stw_T"), 21);
  EXPECT_EQ(TSCHLUESSELWORTE::suchen("stw"), 0);
  const struct {
    const char* wort;
    int nummer;
  } faelle[] = {{"stw_strafferf", 14},      // one replaced
                {"STW_ZEITSCHRITVERF", 12}, // one missing, any case
                {"kno_bewerzwxy", 39},      // two added
                {"pu_uu", 43},              // pu_u and pu_ut tie: table order
                {"el", 41},
                {"stw_bilan", 0}, // three missing
                {"foo", 0},       // kno keeps less than half of it
                {"", 0}};
  for (const auto& f : faelle)
    EXPECT_EQ(TSCHLUESSELWORTE::aehnlich(f.wort), f.nummer) << f.wort;
  EXPECT_EQ(TSCHLUESSELWORTE::aehnlich(nullptr), 0);
  EXPECT_EQ(k.fehler.str(), "") << "suchen and aehnlich write nothing";
}
