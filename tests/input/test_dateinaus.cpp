#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "frame/zeichkett.h"
#include "input/dateinaus.h"
#include "input/mpmschluesselw.h"
#include "testhilfe.h"

using namespace DATEIN;

namespace {
// Entry j of the i-th line of keyword sw, converted into a T that starts as `start`; it must convert.
template <class T>
T lies(Tdatein& d, const char* sw, int i, int j, T start = T(), bool standard = false, bool mitkomm = false) {
  EXPECT_TRUE(d.eintrag(sw, start, i, j, standard, mitkomm)) << sw << " " << i << " " << j;
  return start;
}
std::string gescheitert(const char* sw, int zeile, int j) {
  return "Einlesen gescheitert. Schluesselwort=" + std::string(sw) +
         ", Zeilennummer=" + std::to_string(zeile) + ", Eintragsnummer=" + std::to_string(j) + "\n";
}
} // namespace

// A temporary folder for the input file and captured logs.
class Datei : public ::testing::Test {
protected:
  Tdatein lesen(const std::string& inhalt) {
    ordner.schreiben("e.mpm", inhalt);
    return Tdatein(ordner.datei("e.mpm"));
  }
  Tempordner ordner;
  Konsolenumleitung k;
};

TEST(Lesefehler, CodeTexts) {
  EXPECT_STREQ(str_FEHLER(0), "Kein Fehler");
  EXPECT_STREQ(str_FEHLER(FEHLER_ZEILEZULANG), "Zeile zu lang");
  EXPECT_STREQ(str_FEHLER(11), "Ungueltige Zeilennummer der umgeordneten Datei");
  EXPECT_STREQ(str_FEHLER(12), "Unbestimmter Fehler"); // beyond the table
}

TEST(Zahlen, WholeTextMustBeTheNumber) {
  double x = -7.;
  EXPECT_TRUE(zahl_lesen("+1e+3", x));
  EXPECT_EQ(x, 1000.);
  for (const char* t : {"", "1.2.3", "nan", "1e999", "12abc", " 1"}) {
    x = 42.;
    EXPECT_FALSE(zahl_lesen(t, x)) << t;
    EXPECT_EQ(x, 42.) << t;
  }

  for (const char* t : {"3.5", "2147483648", "12abc", "-"}) {
    int n = 42;
    EXPECT_FALSE(zahl_lesen(t, n)) << t;
    EXPECT_EQ(n, 42) << t;
  }

  unsigned u = 7;
  EXPECT_FALSE(zahl_lesen("-1", u) || zahl_lesen("4294967296", u));
  EXPECT_EQ(u, 7u);
}

TEST(Listen, ValidForms) {
  const std::vector<std::pair<const char*, std::vector<double>>> faelle = {
      {"5", {5.}},
      {"( )", {}},
      {"(1 2;3|4 , 5)", {1., 2., 3., 4., 5.}},
      {"[1,2)", {1., 2.}},
      {"(a 1, 2)", {1., 2.}},
      {"(s 1., 0., -0.5)", {1., 0.5, 0.}},
      {"(s 1., 0., 0.5)", {}},
      {"(k 0., 3)", {0., 0., 0.}},
  };
  for (const auto& f : faelle) {
    std::vector<double> l = {42.};
    EXPECT_TRUE(contein(f.first, l)) << f.first;
    EXPECT_EQ(l, f.second) << f.first;
  }
  // Elements are a + k d, so the end point is reached exactly.
  std::vector<double> zehntel;
  ASSERT_TRUE(contein("(s 0, 1, 0.1)", zehntel));
  EXPECT_EQ(zehntel.size(), 11u);
  EXPECT_EQ(zehntel.back(), 1.);

  std::vector<int> ganz;
  EXPECT_TRUE(contein("(s -2147483648, 2147483647, 2147483647)", ganz)); // no overflow past the end
  EXPECT_EQ(ganz, (std::vector<int>{-2147483647 - 1, -1, 2147483646}));

  std::vector<unsigned> nat;
  EXPECT_TRUE(contein("(s 5, 1, -2)", nat));
  EXPECT_EQ(nat, (std::vector<unsigned>{5, 3, 1}));
}

TEST(Listen, InvalidFormsLeaveTheTargetUnchanged) {
  // Malformed, zero step (endless), too long (memory), NaN.
  for (const char* t :
       {"(1, 2", "(1,,2)", "(1) x", "(s 0, 1, 0)", "(k 1, 10000001)", "(s 0, 1e300, 1e-300)", "(nan)"}) {
    std::vector<double> l = {42.};
    EXPECT_FALSE(contein(t, l)) << t;
    EXPECT_EQ(l, std::vector<double>{42.}) << t;
  }
  for (const char* t : {"(1, 3.5)", "(2147483648)", "(s 1, 10000001, 1)"}) {
    std::vector<int> l = {42};
    EXPECT_FALSE(contein(t, l)) << t;
    EXPECT_EQ(l, std::vector<int>{42}) << t;
  }
  std::vector<unsigned> nat = {42};
  EXPECT_FALSE(contein("(-1)", nat));
  EXPECT_EQ(nat, std::vector<unsigned>{42});
  std::vector<double> l;
  EXPECT_FALSE(contein(nullptr, l));
}

TEST_F(Datei, MissingFileAnswersEveryQuerySafely) {
  const std::string name = ordner.datei("fehlt.mpm");
  Tdatein d(name);
  EXPECT_EQ(d.zeilenanzahl(), -1);
  EXPECT_EQ(k.fehler.str(), "Allgemeiner Fehler beim Dateioeffnen / Erzeugen: " + name + "\n");
  double vol = 0.;
  EXPECT_TRUE(d.eintrag("kno", vol, 1, 3, true)); // defaults still work
  EXPECT_EQ(vol, 1.);
  k.fehler.str("");
  EXPECT_STREQ(d.zeile(1), "");
  EXPECT_EQ(k.fehler.str(), "Ungueltige Zeilennummer: 1\n");

  Tdatein ordnerdatei(ordner.pfad().string()); // a folder is no input file
  EXPECT_EQ(ordnerdatei.zeilenanzahl(), -1);
}

TEST_F(Datei, LinesEndsAndLengthLimit) {
  EXPECT_EQ(lesen("! a\n").zeilenanzahl(), 2); // a final line feed adds an empty line

  Tdatein crlf = lesen("stw_numplus 1, 2\r\nstw_t 0., 1.\r\n");
  EXPECT_EQ(crlf.zeilenanzahl(), 3);
  EXPECT_STREQ(crlf.zeile(1), "stw_numplus 1, 2");
  EXPECT_EQ(lies<double>(crlf, "stw_t", 1, 2), 1.);

  const std::string lang = "! " + std::string(598, 'x');
  Tdatein d = lesen(lang + "\nstw_numplus 7\n");
  EXPECT_EQ(d.zeilenanzahl(), 3);
  EXPECT_EQ(d.zeile(1), lang.substr(0, 500));
  EXPECT_STREQ(d.zeile(2), "stw_numplus 7");
  EXPECT_EQ(k.fehler.str(), "Zeile zu lang\n");
}

TEST_F(Datei, WordsEntriesAndComments) {
  Tdatein d = lesen("mat 1, 1, (1., 2., 0.3, 1., 0.), 7 ! Bemerkung, mit (Klammer)\n"
                    "kno 3,,1.5\n"
                    "ele 6 1 1 (1 2 3\n");
  EXPECT_EQ(d.eintragsanzahl("mat", 1), 4);
  using VU = std::vector<unsigned>;
  EXPECT_EQ(lies<unsigned>(d, "mat", 1, 4), 7u);

  int matnum = -1;
  EXPECT_FALSE(d.eintrag("kno", matnum, 1, 2, true)); // empty word between two commas
  EXPECT_EQ(matnum, -1);
  EXPECT_EQ(lies<double>(d, "kno", 1, 3), 1.5);

  VU knoten = {42};
  EXPECT_EQ(k.fehler.str(), "");
  EXPECT_FALSE(d.eintrag("ele", knoten, 1, 4, false)); // bracket never closed
  EXPECT_EQ(knoten, VU{42});
  EXPECT_EQ(k.fehler.str(), gescheitert("ele", 3, 4));
}

TEST_F(Datei, GroupingByKeywordOrderAndCommentAttachment) {
  Tdatein d = lesen("! Kopf\n"                            // 1
                    "kno 2, 1, 1., (1., 0.)\n"            // 2
                    "  ! zu kno 1\n"                      // 3
                    "kno 1, 1, 1., (0., 0.)\n"            // 4
                    "mat 1, 1, (1., 1., 0., 1., 0.), 1\n" // 5
                    "\n"                                  // 6
                    "foo 1 2\n"                           // 7
                    "! Schluss");                         // 8
  EXPECT_EQ(k.fehler.str(), "Eingabedatei, Zeilennummer 7: Uebergebenes Wort<foo> nicht als Schluesselwort "
                            "verzeichnet\nUnbekanntes Schluesselwort\n");
  // Without comment lines: the unknown keyword first, then by keyword number.
  ASSERT_EQ(d.zeilenanzahlneu(false), 4);
  const int ok[] = {7, 5, 2, 4};
  for (int p = 1; p <= 4; ++p)
    EXPECT_EQ(d.zeilennr(p), ok[p - 1]) << p;
  // The comments before a kno line belong to it.
  EXPECT_EQ(d.zeilenanzahl("KNO", true), 4);
  EXPECT_EQ(d.zeilennummer("kno", 1), 2); // node 2 stays first
  EXPECT_EQ(d.zeilennummer("mat", 1), 5); // after the nodes in the file, still the first mat line
}

TEST_F(Datei, DefaultsForShortLinesAndAbsentKeywords) {
  Tdatein d = lesen("\nMPU 1, 2, 0.5, (1., 2.)\nkno\ntitel \"Mein Titel\" mit Rest\n");
  EXPECT_EQ(d.eintragsanzahl("mpu", 1), 4);
  using VD = std::vector<double>;
  EXPECT_EQ(lies<VD>(d, "mpu", 1, 5, VD{5.}), VD{}); // "()" from the defaults
  EXPECT_EQ(lies<unsigned>(d, "mpu", 1, 9), 1u);
  EXPECT_EQ(d.eintragsanzahl("kno", 1), 0);
  EXPECT_EQ(lies<double>(d, "kno", 1, 3), 1.);

  double te = 7.;
  EXPECT_FALSE(d.eintrag("stw_t", te, 1, 2, false));
  EXPECT_EQ(te, 7.);
  EXPECT_EQ(lies<double>(d, "stw_t", 1, 2, 7., true), 0.);
  EXPECT_EQ(lies<std::string>(d, "titel", 1, 1), "Mein Titel");
  EXPECT_EQ(k.fehler.str(), "");

  // Every default entry of the table converts by its letter.
  std::vector<double> f;
  std::vector<unsigned> uu;
  bool b;
  unsigned u;
  double x;
  char text[501];
  const std::map<char, void*> ziel = {{'b', &b},  {'u', &u},   {'f', &x},  {'F', &f},
                                      {'U', &uu}, {'w', text}, {'s', text}};
  for (int kw = 1; kw < TSCHLUESSELWORTE::N; ++kw)
    for (int j = 1; j <= TSCHLUESSELWORTE::eintragsanzahl(kw); ++j) {
      void* z = ziel.at(TSCHLUESSELWORTE::format(kw, j));
      const bool leer = wort(TSCHLUESSELWORTE::zeile(kw), j).empty();
      EXPECT_EQ(d.eintrag(TSCHLUESSELWORTE::wort(kw), z, 5, j, true) == nullptr, leer) << kw << " " << j;
    }
  EXPECT_EQ(k.fehler.str(), "");
}

TEST_F(Datei, ConversionsByFormatLetter) {
  Tdatein d = lesen("stw_m falsch\nstw_m wahr\nstw_m Ja\n"
                    "stw_numplus -5, +7, 0012, 3.5\n"                        // 4
                    "stw_numplus 99999999999999999999\n"                     // 5
                    "stw_schrankefliess -2.5e-3\nstw_schrankefliess 1e999\n" // 6, 7
                    "stw_gleichloes_bil gauss\ntitel Ohne Anfuehrung\n"      // 8, 9
                    "kno_bewerzw (1, 2, 3)\nkno_bewerzw (1, -2)\n");         // 10, 11
  const bool wahr[] = {false, true, false};
  for (int i = 1; i <= 3; ++i)
    EXPECT_EQ(lies<bool>(d, "stw_m", i, 1, !wahr[i - 1]), wahr[i - 1]) << i;

  int n[4] = {0, 0, 0, 0};
  for (int j = 1; j <= 4; ++j)
    EXPECT_EQ(d.eintrag("stw_numplus", n[j - 1], 1, j, false), j < 4);
  EXPECT_EQ(std::vector<int>(n, n + 4), (std::vector<int>{5, 7, 12, 0})); // absolute values
  unsigned u = 3;
  EXPECT_FALSE(d.eintrag("stw_numplus", u, 2, 1, false)); // overflow
  EXPECT_EQ(u, 3u);
  EXPECT_EQ(k.fehler.str(), gescheitert("stw_numplus", 4, 4) + gescheitert("stw_numplus", 5, 1));

  k.fehler.str("");
  double x = lies<double>(d, "stw_schrankefliess", 1, 1);
  EXPECT_EQ(x, -2.5e-3);
  EXPECT_FALSE(d.eintrag("stw_schrankefliess", x, 2, 1));
  EXPECT_EQ(x, -2.5e-3);
  char kurz[4] = "???";
  EXPECT_EQ(d.eintrag("stw_gleichloes_bil", kurz, 1, 1, true, 3), static_cast<void*>(kurz));
  EXPECT_STREQ(kurz, "gau");
  // Without quotes the first and last characters are lost.
  EXPECT_EQ(lies<std::string>(d, "titel", 1, 1), "hn");

  std::vector<unsigned> liste = lies<std::vector<unsigned>>(d, "kno_bewerzw", 1, 1);
  EXPECT_FALSE(d.eintrag("kno_bewerzw", liste, 2, 1));
  EXPECT_EQ(liste, (std::vector<unsigned>{1, 2, 3}));
  EXPECT_EQ(k.fehler.str(), gescheitert("stw_schrankefliess", 7, 1) + gescheitert("kno_bewerzw", 11, 1));

  // A target type that does not fit the letter, entries beyond the format, unknown keywords.
  k.fehler.str("");
  std::string w;
  EXPECT_FALSE(d.eintrag("kno_bewerzw", w, 1, 1));
  EXPECT_EQ(k.fehler.str(),
            "Fehlerhafte Formatangabe. Schluesselwort=kno_bewerzw, Format=U, Eintragsnummer=1\n");
  k.fehler.str("");
  bool b = true;
  EXPECT_FALSE(d.eintrag("stw_m", b, 1, 3));
  EXPECT_FALSE(d.eintrag("xyz", b, 1, 1));
  EXPECT_TRUE(b);
  EXPECT_EQ(k.fehler.str(), "Eintragsnummer zu hoch. Schluesselwort=stw_m, Eintragsnummer=3\n"
                            "Uebergebenes Wort<xyz> nicht als Schluesselwort verzeichnet\n"
                            "Eintragsnummer zu hoch. Schluesselwort=xyz, Eintragsnummer=1\n");
}

TEST_F(Datei, InvalidLineNumbersAndArbitraryBytes) {
  Tdatein d = lesen("kno 1\n");
  EXPECT_EQ(d.zeilenlaenge(-1), 0);
  EXPECT_EQ(d.zeilennr(2), 0);
  EXPECT_EQ(k.fehler.str(),
            "Ungueltige Zeilennummer: -1\nUngueltige Zeilennummer der umgeordneten Datei: 2\n");

  // Arbitrary bytes never break the reader.
  std::string muell;
  for (int r = 0; r < 40; ++r)
    for (int c = 0; c < 256; ++c)
      muell += static_cast<char>((c * 37 + r * 11) % 256);
  Tdatein m = lesen(muell);
  m.test();
  EXPECT_GT(m.zeilenanzahl(), 1);
  EXPECT_NE(k.kontroll.str().find("KONTROLLE EINGABEDATEI ENDE\n"), std::string::npos);
}

// The golden echo follows the layout of the control log row by row.
TEST_F(Datei, Echo) {
  Tdatein d = lesen("kno 1, 2\n! x\nstw_m W 0. extra");
  d.eintragsanzahl("kno", 1);
  k.fehler.str("");
  k.kontroll.str("");
  d.test();
  EXPECT_EQ(d.zeilennummer(), 1); // the echo does not move the current line
  EXPECT_EQ(k.fehler.str(), "");
  EXPECT_EQ(k.kontroll.str(), vorlage("input/golden/echo.txt"));
}
