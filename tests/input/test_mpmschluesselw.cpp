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
    EXPECT_EQ(TSCHLUESSELWORTE::nummer(wort), i) << i << " " << wort; // all keywords differ, none empty
    // Only known format letters: every default converts by its letter (tests/input/test_dateinaus.cpp).
    const std::string format = TSCHLUESSELWORTE::format(i);
    EXPECT_EQ(TSCHLUESSELWORTE::eintragsanzahl(i), static_cast<int>(format.size())) << wort;
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
  EXPECT_EQ(schluesselworte.format(36, 10) + schluesselworte.format(36, 0), '\0');

  for (const char* w : {"stw", "UNBEKANNT", static_cast<const char*>(nullptr)})
    EXPECT_EQ(schluesselworte.nummer(w), 0);
  EXPECT_EQ(schluesselworte.format(51, 1), '\0');
  EXPECT_STREQ(schluesselworte.format(-1), "");
  EXPECT_EQ(schluesselworte.eintragsanzahl(51), 0);
  EXPECT_EQ(k.fehler.str(), th::golden("input/golden/meldungen.txt", "schluesselworte"));
}

TEST(Schluesselworte, SimilarKeywordWithinEditDistanceTwo) {
  Konsolenumleitung k;
  EXPECT_EQ(TSCHLUESSELWORTE::suchen("Stw_T"), 21);
  EXPECT_EQ(TSCHLUESSELWORTE::suchen("stw"), 0);
  // One replaced, one missing (any case), two added, pu_u and pu_ut tied (table
  // order), a short word; three missing and "foo" (kno keeps less than half) are too far.
  const char* woerter[] = {
      "stw_strafferf", "STW_ZEITSCHRITVERF", "kno_bewerzwxy", "pu_uu", "el", "stw_bilan", "foo", ""};
  const int nummern[] = {14, 12, 39, 43, 41, 0, 0, 0};
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(TSCHLUESSELWORTE::aehnlich(woerter[i]), nummern[i]) << woerter[i];
  EXPECT_EQ(TSCHLUESSELWORTE::aehnlich(nullptr), 0);
  EXPECT_EQ(k.fehler.str(), "") << "suchen and aehnlich write nothing";
}
