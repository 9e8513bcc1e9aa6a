#include <map>
#include <type_traits>

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
// The same entry into a T that starts as `ziel`: the call must give `ok` and the target `soll`.
template <class T>
void pruefen(Tdatein& d, const char* sw, int i, int j, T ziel, const typename std::common_type<T>::type& soll,
             bool ok = true, bool standard = false) {
  EXPECT_EQ(d.eintrag(sw, ziel, i, j, standard), ok) << sw << " " << i << " " << j;
  EXPECT_EQ(ziel, soll) << sw << " " << i << " " << j;
}
std::string M(const std::string& name) {
  return th::golden("input/golden/meldungen.txt", name);
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

// Numbers (the whole text must be the number) and lists; a refused text
// leaves the target unchanged.
TEST(Zahlen, NumbersAndListsFromText) {
  // Reads t into a target that starts as `ziel`; the result must be `soll`.
  const auto lesen = [](const char* t, auto ziel, const decltype(ziel)& soll, bool ok) {
    if constexpr (std::is_arithmetic_v<decltype(ziel)>)
      EXPECT_EQ(zahl_lesen(t, ziel), ok) << t;
    else
      EXPECT_EQ(contein(t, ziel), ok) << t;
    EXPECT_EQ(ziel, soll) << t;
  };
  using VD = std::vector<double>;
  lesen("+1e+3", -7., 1000., true);
  for (const char* t : {"", "1.2.3", "nan", "1e999", "12abc", " 1"})
    lesen(t, 42., 42., false);
  for (const char* t : {"3.5", "2147483648", "12abc", "-"})
    lesen(t, 42, 42, false);
  for (const char* t : {"-1", "4294967296"})
    lesen(t, 7u, 7u, false);

  lesen("5", VD{42.}, {5.}, true);
  lesen("( )", VD{42.}, {}, true);
  lesen("(1 2;3|4 , 5)", VD{42.}, {1., 2., 3., 4., 5.}, true);
  lesen("[1,2)", VD{42.}, {1., 2.}, true);
  lesen("(a 1, 2)", VD{42.}, {1., 2.}, true);
  lesen("(s 1., 0., -0.5)", VD{42.}, {1., 0.5, 0.}, true);
  lesen("(s 1., 0., 0.5)", VD{42.}, {}, true);
  lesen("(k 0., 3)", VD{42.}, {0., 0., 0.}, true);
  // No overflow past the end.
  lesen("(s -2147483648, 2147483647, 2147483647)", std::vector<int>{}, {-2147483647 - 1, -1, 2147483646},
        true);
  lesen("(s 5, 1, -2)", std::vector<unsigned>{}, {5, 3, 1}, true);
  // Elements are a + k d, so the end point is reached exactly.
  VD zehntel;
  ASSERT_TRUE(contein("(s 0, 1, 0.1)", zehntel));
  EXPECT_EQ(zehntel.size(), 11u);
  EXPECT_EQ(zehntel.back(), 1.);

  // Malformed, zero step (endless), too long (memory), NaN.
  for (const char* t :
       {"(1, 2", "(1,,2)", "(1) x", "(s 0, 1, 0)", "(k 1, 10000001)", "(s 0, 1e300, 1e-300)", "(nan)"})
    lesen(t, VD{42.}, {42.}, false);
  for (const char* t : {"(1, 3.5)", "(2147483648)", "(s 1, 10000001, 1)"})
    lesen(t, std::vector<int>{42}, {42}, false);
  lesen("(-1)", std::vector<unsigned>{42}, {42}, false);
  EXPECT_FALSE(contein(nullptr, zehntel));
}

TEST_F(Datei, MissingFileAnswersEveryQuerySafely) {
  const std::string name = ordner.datei("fehlt.mpm");
  Tdatein d(name);
  EXPECT_EQ(d.zeilenanzahl(), -1);
  EXPECT_EQ(k.fehler.str(), "Allgemeiner Fehler beim Dateioeffnen / Erzeugen: " + name + "\n");
  EXPECT_EQ(lies<double>(d, "kno", 1, 3, 0., true), 1.); // defaults still work
  k.fehler.str("");
  EXPECT_STREQ(d.zeile(1), "");
  EXPECT_EQ(k.fehler.str(), "Ungueltige Zeilennummer: 1\n");

  EXPECT_EQ(Tdatein(ordner.pfad().string()).zeilenanzahl(), -1); // a folder is no input file
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
  EXPECT_EQ(lies<unsigned>(d, "mat", 1, 4), 7u);
  pruefen(d, "kno", 1, 2, -1, -1, false, true); // empty word between two commas
  EXPECT_EQ(lies<double>(d, "kno", 1, 3), 1.5);
  pruefen(d, "ele", 1, 4, std::vector<unsigned>{42}, {42}, false); // bracket never closed
  EXPECT_EQ(k.fehler.str(), M("ele offen"));
}

TEST_F(Datei, GroupingByKeywordOrderAndCommentAttachment) {
  // Comment lines 1, 3 and 8 (no final line feed), node 2 before node 1, an unknown keyword in line 7.
  Tdatein d = lesen(vorlage("input/daten/gruppen.mpm"));
  EXPECT_EQ(k.fehler.str(), M("foo"));
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

  pruefen(d, "stw_t", 1, 2, 7., 7., false);
  pruefen(d, "stw_t", 1, 2, 7., 0., true, true);
  EXPECT_EQ(lies<std::string>(d, "titel", 1, 1), "Mein Titel");

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
  // Lines: stw_m 1-3, stw_numplus 4-5, stw_schrankefliess 6-7, stw_gleichloes_bil 8, titel 9, kno_bewerzw
  // 10-11.
  Tdatein d = lesen(vorlage("input/daten/formate.mpm"));
  const bool wahr[] = {false, true, false};
  for (int i = 1; i <= 3; ++i)
    EXPECT_EQ(lies<bool>(d, "stw_m", i, 1, !wahr[i - 1]), wahr[i - 1]) << i;

  const int n[] = {5, 7, 12, 0}; // absolute values
  for (int j = 1; j <= 4; ++j)
    pruefen(d, "stw_numplus", 1, j, 0, n[j - 1], j < 4);
  pruefen(d, "stw_numplus", 2, 1, 3u, 3u, false); // overflow
  EXPECT_EQ(k.fehler.str(), M("stw_numplus"));

  k.fehler.str("");
  pruefen(d, "stw_schrankefliess", 1, 1, 0., -2.5e-3);
  pruefen(d, "stw_schrankefliess", 2, 1, 5., 5., false, true);
  char kurz[4] = "???";
  EXPECT_EQ(d.eintrag("stw_gleichloes_bil", kurz, 1, 1, true, 3), static_cast<void*>(kurz));
  EXPECT_STREQ(kurz, "gau");
  // Without quotes the first and last characters are lost.
  EXPECT_EQ(lies<std::string>(d, "titel", 1, 1), "hn");

  pruefen(d, "kno_bewerzw", 1, 1, std::vector<unsigned>{}, {1, 2, 3});
  pruefen(d, "kno_bewerzw", 2, 1, std::vector<unsigned>{7}, {7}, false, true);
  EXPECT_EQ(k.fehler.str(), M("stw_schrankefliess kno_bewerzw"));

  // A target type that does not fit the letter, entries beyond the format, unknown keywords.
  k.fehler.str("");
  pruefen(d, "kno_bewerzw", 1, 1, std::string(), "", false, true);
  EXPECT_EQ(k.fehler.str(), M("format"));
  k.fehler.str("");
  pruefen(d, "stw_m", 1, 3, true, true, false, true);
  pruefen(d, "xyz", 1, 1, true, true, false, true);
  EXPECT_EQ(k.fehler.str(), M("zu hoch"));
}

// Arbitrary bytes never break the reader; the error codes have their texts.
TEST_F(Datei, ArbitraryBytesAndErrorCodeTexts) {
  std::string muell;
  for (int r = 0; r < 40; ++r)
    for (int c = 0; c < 256; ++c)
      muell += static_cast<char>((c * 37 + r * 11) % 256);
  Tdatein m = lesen(muell);
  m.test();
  EXPECT_GT(m.zeilenanzahl(), 1);
  EXPECT_NE(k.kontroll.str().find("KONTROLLE EINGABEDATEI ENDE\n"), std::string::npos);
  EXPECT_STREQ(str_FEHLER(0), "Kein Fehler");
  EXPECT_STREQ(str_FEHLER(12), "Unbestimmter Fehler"); // beyond the table
}
