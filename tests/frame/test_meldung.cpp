#include <gtest/gtest.h>

#include "frame/meldung.h"
#include "testhilfe.h"

namespace {
const std::string frage = "Fuer ABBRUCH \"x\", fuer WEITER beliebiges Zeichen eingeben:";
}

TEST(Stopfrage, LowerXStopsOtherCharactersGoOnEndOfInputStops) {
  {
    Konsolenumleitung k("  x\n");
    EXPECT_THROW(abbruch(), int);
    EXPECT_EQ(k.aus.str(), frage);
  }
  for (const char* eingabe : {"X\n", "w"}) {
    Konsolenumleitung k(eingabe);
    EXPECT_NO_THROW(abbruch()) << eingabe;
  }
  Konsolenumleitung k("  \n ");
  try {
    abbruch();
    FAIL() << "end of input must stop";
  } catch (int code) {
    EXPECT_EQ(code, 1);
  }
}

TEST(Meldung, TitleTextAndModes) {
  {
    Konsolenumleitung k;
    meldung("FEHLER", "Knoten fehlt", 'n');
    meldung("", "nur Text", 'n');
    meldung("nur Titel", "", 'n');
    EXPECT_EQ(k.aus.str(), "FEHLER  Knoten fehlt\nnur Text\nnur Titel\n");
  }
  {
    Konsolenumleitung k("y");
    meldung("", "", 'a');
    EXPECT_EQ(k.aus.str(), frage);
  }
  {
    Konsolenumleitung k("y");
    meldung("", "", 'b');
    EXPECT_EQ(k.aus.str(), "Fuer WEITER beliebiges Zeichen eingeben:");
    EXPECT_TRUE(k.ein.eof() || k.ein.peek() == EOF);
  }
  {
    Konsolenumleitung k("x");
    EXPECT_THROW(_fehlermeldung("Matrix singulaer"), int);
    EXPECT_EQ(k.aus.str(), "FEHLER  Matrix singulaer\n" + frage);
  }
  Konsolenumleitung k("");
  EXPECT_NO_THROW(bestaetigung());
  berechnungsanzeige("Zeitschritt", 2, 1);
  berechnungsanzeige(0, "nie", 1, 1);
  berechnungsanzeige(3, "ja");
  EXPECT_EQ(k.aus.str(), "Fuer WEITER beliebiges Zeichen eingeben:\n\t\tZeitschrittja");
}
