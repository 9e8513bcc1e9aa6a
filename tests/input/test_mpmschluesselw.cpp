#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/zeichkett.h"
#include "input/mpmschluesselw.h"
#include "testhilfe.h"

TEST(Schluesselworte, TableShape) {
  Konsolenumleitung k;
  EXPECT_EQ(TSCHLUESSELWORTE::N, 51);
  EXPECT_STREQ(TSCHLUESSELWORTE::sw[0].wort, "UNBEKANNT");
  EXPECT_STREQ(TSCHLUESSELWORTE::sw[0].format, "");
  int gueltig = 0;
  for (int i = 1; i < TSCHLUESSELWORTE::N; ++i) {
    gueltig += schluesselworte.nummerpruef(i);
    const char* wort = TSCHLUESSELWORTE::wort(i);
    ASSERT_GT(std::strlen(wort), 0u) << i;
    EXPECT_EQ(TSCHLUESSELWORTE::nummer(wort), i) << wort; // all keywords differ
    const std::string format = TSCHLUESSELWORTE::format(i);
    EXPECT_EQ(TSCHLUESSELWORTE::eintragsanzahl(i), static_cast<int>(format.size())) << wort;
    EXPECT_EQ(format.find_first_not_of("bufwsFU"), std::string::npos) << wort;
    // The defaults never hold more words than the keyword has entries.
    EXPECT_LE(woerteranz(TSCHLUESSELWORTE::zeile(i)), TSCHLUESSELWORTE::eintragsanzahl(i)) << wort;
  }
  EXPECT_EQ(gueltig, 50);
  EXPECT_EQ(k.fehler.str(), "");

  EXPECT_EQ(TSCHLUESSELWORTE::eintragsanzahl(10), 11);
  EXPECT_STREQ(TSCHLUESSELWORTE::wort(1), "titel");
  EXPECT_STREQ(TSCHLUESSELWORTE::format(21), "fffuuf");
  EXPECT_STREQ(TSCHLUESSELWORTE::zeile(21), "0., 0., 0., 1, 0, 0.");
  EXPECT_STREQ(TSCHLUESSELWORTE::beschreibung(36),
               "Materialpunkt: num, matnum, vol, (x0<i>), (u<i>), (ut<i>), (utt<i>), (z<i>), Farbe");
  EXPECT_STREQ(TSCHLUESSELWORTE::wort(49), "konlin");
  EXPECT_STREQ(TSCHLUESSELWORTE::zeile(49), "0, kno, splele, ()");
  EXPECT_STREQ(TSCHLUESSELWORTE::wort(50), "stw_startbeschl");
  EXPECT_STREQ(TSCHLUESSELWORTE::format(50), "b");
  EXPECT_STREQ(TSCHLUESSELWORTE::zeile(50), "F");
}

TEST(Schluesselworte, LookupIsCaseInsensitiveWholeWord) {
  Konsolenumleitung k;
  EXPECT_EQ(schluesselworte.nummer("STW_T"), 21);
  EXPECT_EQ(schluesselworte.nummer("mPu"), 36);
  EXPECT_EQ(k.fehler.str(), "");
  EXPECT_EQ(schluesselworte.nummer("stw"), 0);
  EXPECT_EQ(k.fehler.str(), "Uebergebenes Wort<stw> nicht als Schluesselwort verzeichnet\n");
  k.fehler.str("");
  EXPECT_EQ(schluesselworte.nummer("UNBEKANNT"), 0);
  EXPECT_EQ(schluesselworte.nummer(nullptr), 0);
  EXPECT_EQ(k.fehler.str(), "Uebergebenes Wort<UNBEKANNT> nicht als Schluesselwort verzeichnet\n"
                            "Uebergebenes Wort<> nicht als Schluesselwort verzeichnet\n");
}

TEST(Schluesselworte, FormatLettersAndInvalidNumbers) {
  Konsolenumleitung k;
  EXPECT_EQ(schluesselworte.format(36, 4), 'F');
  EXPECT_EQ(schluesselworte.format(36, 1), 'u');
  EXPECT_EQ(schluesselworte.format("MPU", 9), 'u');
  EXPECT_EQ(schluesselworte.format(36, 10), '\0');
  EXPECT_EQ(schluesselworte.format(36, 0), '\0');
  EXPECT_EQ(k.fehler.str(), "");
  EXPECT_EQ(schluesselworte.format(51, 1), '\0');
  EXPECT_EQ(k.fehler.str(), "Uebergebene Schluesselwortnummer <51> ist ungueltig\n");

  k.fehler.str("");
  EXPECT_STREQ(schluesselworte.format(-1), "");
  EXPECT_STREQ(schluesselworte.beschreibung(99), "Schluesselwort oder Schluesselwortnummer ungueltig");
  EXPECT_EQ(schluesselworte.eintragsanzahl(51), 0);
  EXPECT_EQ(k.fehler.str(), "Uebergebene Schluesselwortnummer <-1> ist ungueltig\n"
                            "Uebergebene Schluesselwortnummer <99> ist ungueltig\n"
                            "Uebergebene Schluesselwortnummer <51> ist ungueltig\n");
}

TEST(Schluesselworte, SimilarKeywordWithinEditDistanceTwo) {
  Konsolenumleitung k;
  EXPECT_EQ(TSCHLUESSELWORTE::suchen("Stw_T"), 21);
  EXPECT_EQ(TSCHLUESSELWORTE::suchen("stw"), 0);
  EXPECT_EQ(k.fehler.str(), "") << "suchen writes nothing";

  EXPECT_EQ(TSCHLUESSELWORTE::aehnlich("stw_strafferf"), 14);      // one replaced
  EXPECT_EQ(TSCHLUESSELWORTE::aehnlich("STW_ZEITSCHRITVERF"), 12); // one missing, any case
  EXPECT_EQ(TSCHLUESSELWORTE::aehnlich("kno_bewerzwxy"), 39);      // two added
  EXPECT_EQ(TSCHLUESSELWORTE::aehnlich("pu_uu"), 43);              // pu_u and pu_ut tie: table order
  EXPECT_EQ(TSCHLUESSELWORTE::aehnlich("el"), 41);
  EXPECT_EQ(TSCHLUESSELWORTE::aehnlich("stw_bilan"), 0); // three missing
  EXPECT_EQ(TSCHLUESSELWORTE::aehnlich("foo"), 0);       // kno keeps less than half of it
  EXPECT_EQ(TSCHLUESSELWORTE::aehnlich(""), 0);
  EXPECT_EQ(TSCHLUESSELWORTE::aehnlich(nullptr), 0);
  EXPECT_EQ(k.fehler.str(), "");
}
