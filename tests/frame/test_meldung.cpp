#include "frame/meldung.h"
#include "testhilfe.h"

using th::frage;

TEST(Stopfrage, LowerXStopsOtherCharactersGoOnEndOfInputStops) {
  for (const auto& [eingabe, stopp] : {std::pair{"  x\n", 1}, {"X\n", 0}, {"w", 0}, {"  \n ", 1}}) {
    Konsolenumleitung k(eingabe);
    int code = 0;
    try {
      abbruch();
    } catch (int c) {
      code = c;
    }
    EXPECT_EQ(code, stopp) << eingabe;
    EXPECT_EQ(k.aus.str(), frage);
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
  berechnungsanzeige("Zeitschritt", 2, 1);
  berechnungsanzeige(0, "nie", 1, 1);
  berechnungsanzeige(3, "ja");
  EXPECT_EQ(k.aus.str(), "\n\t\tZeitschrittja");
}
