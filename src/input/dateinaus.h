#pragma once
// Keyword file reader: reads the input file once, groups its lines by the
// order of the keyword table and hands out entries converted by format letter.

#include <iosfwd>
#include <string>
#include <vector>

namespace DATEIN {

// Error codes of the reader; `str_FEHLER` gives their texts.
enum FEHLER {
  FEHLER_KEIN = 0,
  FEHLER_DATEIOEFFNEN = 2,
  FEHLER_DATEIENDE = 3,
  FEHLER_ZEILEZULANG = 4,
  FEHLER_SCHLUESSELWORT = 5,
  FEHLER_SWNR = 6,
  FEHLER_SWZEILENNR = 7,
  FEHLER_SWEINTRAGSNR = 8,
  FEHLER_SWEINTRAG = 9,
  FEHLER_ZEILENNR = 10,
  FEHLER_ZEILENNRNEU = 11
};
const char* str_FEHLER(int fehler);

constexpr int MAXZEILE = 500; // characters kept of a line and of an entry
// Elements a list entry may produce; a build may set a smaller limit.
#ifndef MPM_MAXLISTE
#define MPM_MAXLISTE 10000000
#endif
constexpr int MAXLISTE = MPM_MAXLISTE;

// Numbers as entries are written. The whole text must be the number:
// integers are an optional sign and decimal digits and must fit the type (no
// negative value for unsigned); floating-point numbers are an optional sign,
// digits with an optional point (or a point followed by digits) and an
// optional exponent "e"/"E" with optional sign and digits, and must be finite.
// On failure the target is unchanged.
bool zahl_lesen(const std::string& text, double& x);
bool zahl_lesen(const std::string& text, int& x);
bool zahl_lesen(const std::string& text, unsigned& x);

// Reads a list entry: a bare number, "()" or a bracket holding "s a, b, [-]d"
// (sequence from a towards b with step d > 0, descending with "-"), "k v, n"
// (v repeated n >= 0 times), "a" and elements, or elements; elements are
// separated by blanks and at most one separator. A valid list replaces
// `liste`; an invalid one (missing bracket, bad element, zero or negative
// step, more than MAXLISTE elements) leaves it unchanged and gives false.
bool contein(const char* eintrag, std::vector<double>& liste);
bool contein(const char* eintrag, std::vector<int>& liste);
bool contein(const char* eintrag, std::vector<unsigned>& liste);

} // namespace DATEIN

// One line of the input file: its text without the end of line (at most
// MAXZEILE characters) and what the reader learnt about it.
class TZEILE {
public:
  // Keeps the characters before the first end-of-line character, counts the
  // words and looks up the keyword (message with the line number and a
  // similar keyword, and FEHLER_SCHLUESSELWORT, when the first word is none).
  DATEIN::FEHLER init(const std::string& zeile, int nummer);

  std::string text;
  int zeilennummer = 0; // 1-based number in the file, 0 for the sentinel
  int laenge = 0;       // characters kept
  int wortanzahl = 0;   // words, keyword included
  bool bKommentar = true;
  int swnr = -1; // keyword number; 0 for an unknown word, -1 for none
};

// One echo row: number, length, words, comment flag, keyword number, keyword, text.
std::ostream& operator<<(std::ostream& aus, const TZEILE& z);

// Reads one input file once and owns its lines, grouped by the order of the keyword table (file order
// within a keyword; a comment line belongs to the nearest keyword line below it). Queries never fail
// hard: errors go to the error log and the answer is 0, empty or null.
class Tdatein {
public:
  // Reads the whole file; a file that cannot be opened gives Nzeil = -1.
  explicit Tdatein(const std::string& dateiname);

  int zeilenanzahl() const { return Nzeil; }
  int swanzahl() const { return Nsw; }
  // File line of the last entry taken; 0 when it came from the defaults.
  int zeilennummer() const { return aktzeile; }

  // Queries by keyword text.
  int swnr(const char* sw) const;
  int zeilenanzahl(const char* sw, bool mitkomm = false) const;
  int sweintragsanz(const char* sw) const;
  char swformat(const char* sw, int j) const;
  int zeilennummer(const char* sw, int i, bool mitkomm = false) const;
  // Entries written on the i-th line of sw; sets the current line number.
  int eintragsanzahl(const char* sw, int i, bool mitkomm = false);

  // Queries by file line number 1 .. Nzeil.
  const char* zeile(int n) const;
  int zeileneintragsanzahl(int n) const;
  bool zeilenbK(int n) const;
  int zeilenswnr(int n) const;
  const char* zeilensw(int n) const;
  const char* sw(int k) const;

  // Raw text of entry j of the i-th line of keyword sw: the line's word, or
  // for a short line the default word; for an absent line the default word
  // only when `standard`. `puffer` must hold `maxlaenge` + 1 characters.
  char* eintrag1(const char* sw, char* puffer, int i, int j, bool standard, int maxlaenge = DATEIN::MAXZEILE,
                 bool mitkomm = false);
  std::string eintrag1(const char* sw, int i, int j, bool standard, bool mitkomm = false);

  // Converts the raw entry by its format letter into the object `ziel` points
  // at: bool "b", char "c", int "i"/"u", double "f", a char array of
  // `maxlaenge` + 1 for "w"/"s" (the only targets `maxlaenge` limits),
  // std::vector<double>/<int>/<unsigned> for "F"/"I"/"U". Returns `ziel` when
  // a value was stored; null for an empty entry (target untouched) or a
  // failed conversion (message, target untouched).
  void* eintrag(const char* sw, void* ziel, int i, int j, bool standard, int maxlaenge = DATEIN::MAXZEILE,
                bool mitkomm = false);

  // Typed forms; a target type that does not fit the format letter is refused
  // with the message for a faulty format. "u" entries may go to int or unsigned.
  bool eintrag(const char* sw, bool& ziel, int i, int j, bool standard = true, bool mitkomm = false);
  bool eintrag(const char* sw, char& ziel, int i, int j, bool standard = true, bool mitkomm = false);
  bool eintrag(const char* sw, int& ziel, int i, int j, bool standard = true, bool mitkomm = false);
  bool eintrag(const char* sw, unsigned& ziel, int i, int j, bool standard = true, bool mitkomm = false);
  bool eintrag(const char* sw, double& ziel, int i, int j, bool standard = true, bool mitkomm = false);
  bool eintrag(const char* sw, std::string& ziel, int i, int j, bool standard = true, bool mitkomm = false);
  bool eintrag(const char* sw, std::vector<double>& ziel, int i, int j, bool standard = true,
               bool mitkomm = false);
  bool eintrag(const char* sw, std::vector<int>& ziel, int i, int j, bool standard = true,
               bool mitkomm = false);
  bool eintrag(const char* sw, std::vector<unsigned>& ziel, int i, int j, bool standard = true,
               bool mitkomm = false);

  // Writes the structured echo to the control log.
  void test() const;
  void ausgeben(std::ostream& aus) const;

private:
  enum class ZIEL { FORMAT, BOOL, CHAR, INT, UNSIGNED, DOUBLE, STRING, LISTE_F, LISTE_I, LISTE_U };

  static DATEIN::FEHLER naechstezeileein(std::istream& ein, std::string& zeile, bool& zeilenvorschub);
  bool zeilepruef(int n) const;
  // File line of the i-th line of keyword k, 0 when there is none.
  int zeile_k(int k, int i, bool mitkomm) const;
  // Raw entry; `zeilennr` receives the line it came from (0: defaults) unless
  // j is out of range.
  std::string roh(const char* swtext, int k, int i, int j, bool standard, bool mitkomm, int& zeilennr) const;
  void* eintrag_ziel(const char* sw, void* ziel, ZIEL art, int i, int j, bool standard, int maxlaenge,
                     bool mitkomm);

  std::string dateiname;
  // The last keyword `swnr` found: the readers ask for one keyword entry
  // after entry.
  mutable std::string letztes_sw_;
  mutable int letzte_swnr_ = 0;
  int Nzeil = -1;
  int Nzeilneu = 0;
  int Nzeilneuokz = 0;
  int Nsw = 0;
  std::vector<TZEILE> zeilen;            // Nzeil + 1, index 0 is empty
  std::vector<int> ordnungmk, ordnungok; // 1-based file line numbers in keyword order
  std::vector<int> swanfmk, swanzmk;     // per keyword: first position and count, with comments
  std::vector<int> swanfok, swanzok;     // the same without comments
  int aktzeile = 0;
};

std::ostream& operator<<(std::ostream& aus, const Tdatein& d);
