#include "frame/meldung.h"

#include <istream>
#include <ostream>

#include "frame/mpmextern.h"

namespace {
const char* const weitertext = "Fuer WEITER beliebiges Zeichen eingeben:";

void zeichen_abwarten() {
  char c;
  *konsein >> c;
}
} // namespace

void abbruch() {
  *konsaus << "Fuer ABBRUCH \"x\", fuer WEITER beliebiges Zeichen eingeben:" << std::flush;
  char c;
  if (!(*konsein >> c) || c == 'x') throw 1;
}

void meldung(const std::string& titel, const std::string& text, char modus) {
  if (!titel.empty() || !text.empty()) {
    *konsaus << titel;
    if (!titel.empty() && !text.empty()) *konsaus << "  ";
    *konsaus << text << '\n' << std::flush;
  }
  if (modus == 'a') {
    abbruch();
  } else if (modus == 'b') {
    *konsaus << weitertext << std::flush;
    zeichen_abwarten();
  }
}

void _fehlermeldung(const std::string& text) {
  meldung("FEHLER", text, 'a');
}

void berechnungsanzeige(const std::string& text, int einrueckung, int leerzeilen) {
  for (int i = 0; i < leerzeilen; ++i)
    *konsaus << '\n';
  for (int i = 0; i < einrueckung; ++i)
    *konsaus << '\t';
  *konsaus << text;
}

void berechnungsanzeige(int bedingung, const std::string& text, int einrueckung, int leerzeilen) {
  if (bedingung) berechnungsanzeige(text, einrueckung, leerzeilen);
}
