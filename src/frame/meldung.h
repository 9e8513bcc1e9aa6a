#pragma once
// Console messages and questions. Stopping a run is always `throw 1`.

#include <string>

// The stop question: "x" throws the integer 1, any other character returns.
// The end of the console input counts as "x".
void abbruch();
// Writes titel and text; modus 'a' then asks the stop question, 'b' waits.
void meldung(const std::string& titel, const std::string& text, char modus);
void _fehlermeldung(const std::string& text);
// Line feeds, tabs, then the text, to the console.
void berechnungsanzeige(const std::string& text, int einrueckung = 0, int leerzeilen = 0);
void berechnungsanzeige(int bedingung, const std::string& text, int einrueckung = 0, int leerzeilen = 0);
