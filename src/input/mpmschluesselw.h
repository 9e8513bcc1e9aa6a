#pragma once
// The keyword table: every keyword of the input file with the kinds of its
// entries, default entries and a description.

// One row of the keyword table; the texts are string literals owned by nobody.
struct TSCHLUESSELWORT {
  const char* wort;         // keyword
  const char* format;       // one letter per entry: b c i u f w s F I U
  const char* zeile;        // default entries, cut into words like an input line
  const char* beschreibung; // description
};

// Holds the fixed table `sw` of `N` rows: row 0 stands for any unknown word, keywords are 1 .. N-1.
// Lookups by text are case-insensitive whole words; unknown words or numbers are reported to the error log.
class TSCHLUESSELWORTE {
public:
  static constexpr int N = 51;
  static const TSCHLUESSELWORT sw[N];

  // Number of the keyword, 0 (after a message) when the text is none.
  static int nummer(const char* wort);
  // The same without a message.
  static int suchen(const char* wort);
  // The keyword closest to a word that is none, by case-insensitive edit
  // distance (insert, delete, replace one character): its number when the
  // distance is at most 2 and at most half the word's length, else 0. Ties go
  // to the first in table order.
  static int aehnlich(const char* wort);
  // True for 1 <= k <= N-1; otherwise a message and false.
  static bool nummerpruef(int k);
  // Texts of row k; for an invalid k a message and the empty text (`zeile`:
  // the text of row 0).
  static const char* wort(int k);
  static const char* format(int k);
  static const char* zeile(int k);
  // Number of entries (format length); 0 for an invalid k.
  static int eintragsanzahl(int k);
  // Format letter of entry j (from 1); NUL outside 1 .. length or for an
  // invalid keyword.
  static char format(int k, int j);
  static char format(const char* wort, int j);
};

extern TSCHLUESSELWORTE schluesselworte;
