#pragma once
// Character classes and text scanning for line-oriented input.
//
// Text functions take NUL-terminated texts and return positions inside them;
// a null text is treated as the empty text. No function keeps any state.

#include <iosfwd>
#include <string>

bool istendzeich(char c);          // NUL, line feed, carriage return, byte 255
bool istkommzeich(char c);         // "!"
bool istleerzeich(char c);         // blank, tab
bool isttrennzeich(char c);        // "," ";" "|"
bool istklammerzeich(char c);      // ( ) < > [ ] { }
bool istanfzeich(char c);          // double quote
bool istzahlenbestandteil(char c); // digits, "+", "-", "."

// First character that is not blank or tab; NUL when there is none.
char zeich1(const char* text);

// The byte as std::tolower gives it in the "C" locale, which the program
// never leaves: capitals A to Z lowered, every other byte as it is.
inline int klein(char c) {
  const int k = static_cast<unsigned char>(c);
  return k >= 'A' && k <= 'Z' ? k - 'A' + 'a' : k;
}
// Case-insensitive comparison: difference of the first differing lowered
// characters; on an equal common part 0, -1 (a shorter) or 1 (a longer).
int strcmp1(const char* a, const char* b);

// Skips characters for which `istzeich` holds, never past an end-of-line
// character and, when `max` > 0, at most `max` characters.
const char* ueberlesezeich(const char* text, bool (*istzeich)(char), int max = 0);
const char* ueberleseleerzeich(const char* text, int max = 0);
const char* ueberlesetrennzeich(const char* text, int max = 0);
// Blanks, at most one separator, blanks.
const char* ueberleseleer1trennleerzeich(const char* text);

// Reads one word after leading blanks: empty at an end of line, a separator or
// "!"; a bracket word up to and including the next bracket of any kind; a
// quoted word up to and including the next quote; otherwise up to the next end
// of line, separator, "!", bracket, quote or blank. At most `max` characters
// are copied into `puffer` (which must hold `max` + 1) and the buffer is
// terminated; a null buffer only skips. Returns the position after the word.
const char* wort1(const char* text, char* puffer, int max);
const char* wort1(const char* text, std::string& wort, int max = 500);

// Number of words before the end of the line or a "!". Between two words
// stand blanks and at most one separator.
int woerteranz(const char* text);

// The n-th word (from 1); empty when the line or a "!" comes first.
std::string wort(const char* text, int n, int max = 500);

// A position in a text, for diagnostic prints; both pointers are non-owning
// and `anfang` is where the printed offsets count from.
struct skontroll {
  explicit skontroll(const char* position) : anfang(position), pos(position) {}
  skontroll(const char* anfang_, const char* position) : anfang(anfang_), pos(position) {}
  const char* anfang;
  const char* pos;
};

// "[" offset of the position " -- " offset of the end of the line "], <" the
// characters between them "> " and the end character as '\0', '\n', '\r' or EOF.
std::ostream& operator<<(std::ostream& aus, const skontroll& s);

// Position of `wort` among the names namen[erster .. n-1] by `strcmp1` (first
// match wins), or 0 when none matches. Null names are skipped.
int namensuche(const char* wort, const char* const* namen, int n, int erster = 1);
