#include "frame/meldung.h"
#include "testhilfe.h"

using th::frage;

TEST(Stopfrage, LowerXStopsOtherCharactersGoOnEndOfInputStops) {
  for (const auto& [eingabe, stopp] : {std::pair{"  x\n", 1}, {"X\n", 0}, {"w", 0}, {"  \n ", 1}}) {
    Konsolenumleitung k(eingabe);
    EXPECT_EQ(stoppcode(abbruch), stopp) << eingabe;
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
  // Asking whether to stop, or only waiting; each reads the answer.
  for (const auto& [modus, text] :
       {std::pair{'a', frage}, {'b', std::string("Fuer WEITER beliebiges Zeichen eingeben:")}}) {
    Konsolenumleitung k("y");
    meldung("", "", modus);
    EXPECT_EQ(k.aus.str(), text);
    EXPECT_TRUE(k.ein.eof() || k.ein.peek() == EOF) << modus;
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
