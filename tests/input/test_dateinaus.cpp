#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "frame/zeichkett.h"
#include "input/dateinaus.h"
#include "input/mpmschluesselw.h"
#include "testhilfe.h"

using namespace DATEIN;

namespace {
Tdatein lesen(const Tempordner& ordner, const std::string& inhalt) {
  ordner.schreiben("e.mpm", inhalt);
  return Tdatein(ordner.datei("e.mpm"));
}
std::string gescheitert(const char* sw, int zeile, int j) {
  return "Einlesen gescheitert. Schluesselwort=" + std::string(sw) +
         ", Zeilennummer=" + std::to_string(zeile) + ", Eintragsnummer=" + std::to_string(j) + "\n";
}
} // namespace

TEST(Lesefehler, CodeTexts) {
  EXPECT_STREQ(str_FEHLER(FEHLER_KEIN), "Kein Fehler");
  EXPECT_STREQ(str_FEHLER(2), "Allgemeiner Fehler beim Dateioeffnen / Erzeugen");
  EXPECT_STREQ(str_FEHLER(3), "Unerwartet Dateiende erreicht");
  EXPECT_STREQ(str_FEHLER(FEHLER_ZEILEZULANG), "Zeile zu lang");
  EXPECT_STREQ(str_FEHLER(5), "Unbekanntes Schluesselwort");
  EXPECT_STREQ(str_FEHLER(6), "Ungueltige Schluesselwortnummer");
  EXPECT_STREQ(str_FEHLER(7), "Ungueltige Zeilennummer fuer Schluesselwort");
  EXPECT_STREQ(str_FEHLER(8), "Ungueltige Eintragsnummer fuer Schluesselwort");
  EXPECT_STREQ(str_FEHLER(9), "Ungueltiger Eintrag fuer Schluesselwort");
  EXPECT_STREQ(str_FEHLER(10), "Ungueltige Zeilennummer");
  EXPECT_STREQ(str_FEHLER(11), "Ungueltige Zeilennummer der umgeordneten Datei");
  EXPECT_STREQ(str_FEHLER(1), "Unbestimmter Fehler");
  EXPECT_STREQ(str_FEHLER(12), "Unbestimmter Fehler");
}

TEST(Zahlen, WholeTextMustBeTheNumber) {
  for (const char* t : {"1.E6", ".5", "5.", "-0", "+1e+3", "2.5E-3", "007", "99999999999999999999"}) {
    double x = -7.;
    EXPECT_TRUE(zahl_lesen(t, x)) << t;
    EXPECT_EQ(x, std::strtod(t, nullptr)) << t;
  }
  double klein = 1.;
  EXPECT_TRUE(zahl_lesen("1e-400", klein)); // underflow rounds to zero
  EXPECT_EQ(klein, 0.);
  for (const char* t : {"", ".", "+", "e5", "1e", "1e+", "1.2.3", "--1", "0x10", "inf", "-inf", "nan",
                        "1e999", "-1e999", "12abc", " 1", "1 ", "1,5"}) {
    double x = 42.;
    EXPECT_FALSE(zahl_lesen(t, x)) << t;
    EXPECT_EQ(x, 42.) << t;
  }

  int i = 0;
  EXPECT_TRUE(zahl_lesen("007", i));
  EXPECT_EQ(i, 7);
  EXPECT_TRUE(zahl_lesen("-2147483648", i));
  EXPECT_EQ(i, -2147483647 - 1);
  EXPECT_TRUE(zahl_lesen("+2147483647", i));
  EXPECT_EQ(i, 2147483647);
  for (const char* t :
       {"3.5", "3.", "1e3", "2147483648", "-2147483649", "99999999999999999999", "12abc", "", "-"}) {
    int x = 42;
    EXPECT_FALSE(zahl_lesen(t, x)) << t;
    EXPECT_EQ(x, 42) << t;
  }

  unsigned u = 0;
  EXPECT_TRUE(zahl_lesen("4294967295", u));
  EXPECT_EQ(u, 4294967295u);
  EXPECT_TRUE(zahl_lesen("-0", u));
  EXPECT_EQ(u, 0u);
  EXPECT_FALSE(zahl_lesen("-1", u));
  EXPECT_FALSE(zahl_lesen("4294967296", u));
  EXPECT_EQ(u, 0u);
}

TEST(Listen, ValidForms) {
  const std::vector<std::pair<const char*, std::vector<double>>> faelle = {
      {"5", {5.}},
      {"-2.5", {-2.5}},
      {"()", {}},
      {"( )", {}},
      {"(1., 2.5, -3)", {1., 2.5, -3.}},
      {"(1 2;3|4 , 5)", {1., 2., 3., 4., 5.}},
      {"(1, 2,)", {1., 2.}},
      {"[1,2)", {1., 2.}},
      {"(a 1, 2)", {1., 2.}},
      {"(a)", {}},
      {"(s 0., 1., 0.25)", {0., 0.25, 0.5, 0.75, 1.}},
      {"(s0 1 0.25)", {0., 0.25, 0.5, 0.75, 1.}},
      {"(s 1., 0., -0.5)", {1., 0.5, 0.}},
      {"(s 1., 0., - 0.5)", {1., 0.5, 0.}},
      {"(s 1., 0., 0.5)", {}},
      {"(s 0., 1., -0.5)", {}},
      {"(s 2., 2., 1.)", {2.}},
      {"(k 0., 3)", {0., 0., 0.}},
      {"(k 2.5, 0)", {}},
  };
  for (const auto& f : faelle) {
    std::vector<double> l = {42.};
    EXPECT_TRUE(contein(f.first, l)) << f.first;
    EXPECT_EQ(l, f.second) << f.first;
  }
  // Elements are a + k d, so the end point is reached exactly.
  std::vector<double> zehntel;
  ASSERT_TRUE(contein("(s 0, 1, 0.1)", zehntel));
  ASSERT_EQ(zehntel.size(), 11u);
  for (int k = 0; k <= 10; ++k)
    EXPECT_EQ(zehntel[k], k * 0.1);

  std::vector<int> ganz;
  EXPECT_TRUE(contein("(s 1, 10, 3)", ganz));
  EXPECT_EQ(ganz, (std::vector<int>{1, 4, 7, 10}));
  EXPECT_TRUE(contein("(s 10, 1, -4)", ganz));
  EXPECT_EQ(ganz, (std::vector<int>{10, 6, 2}));
  EXPECT_TRUE(contein("(s -2147483648, 2147483647, 2147483647)", ganz));
  EXPECT_EQ(ganz, (std::vector<int>{-2147483647 - 1, -1, 2147483646}));
  EXPECT_TRUE(contein("(k -3, 2)", ganz));
  EXPECT_EQ(ganz, (std::vector<int>{-3, -3}));
  EXPECT_TRUE(contein("(s 1, 10000000, 1)", ganz)); // exactly the limit
  EXPECT_EQ(ganz.size(), 10000000u);
  EXPECT_EQ(ganz.back(), 10000000);

  std::vector<unsigned> nat;
  EXPECT_TRUE(contein("(s 5, 1, -2)", nat));
  EXPECT_EQ(nat, (std::vector<unsigned>{5, 3, 1}));
  EXPECT_TRUE(contein("(4294967295, 0)", nat));
  EXPECT_EQ(nat, (std::vector<unsigned>{4294967295u, 0}));
}

TEST(Listen, InvalidFormsLeaveTheTargetUnchanged) {
  for (const char* t : {"",
                        "abc",
                        "(1, 2",
                        "(1, x)",
                        "(x)",
                        "12abc",
                        "(1,,2)",
                        "(1) x",
                        "(1 (2)",
                        "(s 0, 1, 0)",
                        "(s 0, 1, -0)",
                        "(s 0, 1, - -0.5)",
                        "(s 1, 0, - -0.5)",
                        "(s 0, 1)",
                        "(s 0, 1, 0.5",
                        "(s 0, 1e300, 1e-300)",
                        "(s -1e308, 1e308, 1)",
                        "(s 0, 1e999, 1)",
                        "(s nan, 1, 1)",
                        "(k 1, 10000001)",
                        "(k 1, -1)",
                        "(k 1, 99999999999)",
                        "(k 1, 2.5)",
                        "(k 1)",
                        "(1e999)",
                        "(nan)",
                        "(inf)",
                        "1e999",
                        "(b 1)"}) {
    std::vector<double> l = {42.};
    EXPECT_FALSE(contein(t, l)) << t;
    EXPECT_EQ(l, std::vector<double>{42.}) << t;
  }
  for (const char* t : {"(1, 3.5)", "(2147483648)", "(s 0, 2147483647, 1)", "(s 1, 10000001, 1)", "(1e3)"}) {
    std::vector<int> l = {42};
    EXPECT_FALSE(contein(t, l)) << t;
    EXPECT_EQ(l, std::vector<int>{42}) << t;
  }
  for (const char* t : {"(-1)", "(4294967296)", "(s 1, 5, - -1)", "(s 1, 5, 0)", "(k -1, 2)"}) {
    std::vector<unsigned> l = {42};
    EXPECT_FALSE(contein(t, l)) << t;
    EXPECT_EQ(l, std::vector<unsigned>{42}) << t;
  }
  std::vector<double> l;
  EXPECT_FALSE(contein(nullptr, l));
}

TEST(Datei, MissingFileAnswersEveryQuerySafely) {
  Tempordner ordner;
  Konsolenumleitung k;
  const std::string name = ordner.datei("fehlt.mpm");
  Tdatein d(name);
  EXPECT_EQ(d.zeilenanzahl(), -1);
  EXPECT_EQ(k.fehler.str(), "Allgemeiner Fehler beim Dateioeffnen / Erzeugen: " + name + "\n");
  EXPECT_EQ(d.zeilenanzahlneu(true), 0);
  EXPECT_EQ(d.zeilenanzahl("kno"), 0);
  EXPECT_EQ(d.zeilennummer("kno", 1), 0);
  EXPECT_EQ(d.eintragsanzahl("kno", 1), 0);
  double vol = 0.;
  EXPECT_TRUE(d.eintrag("kno", vol, 1, 3, true)); // defaults still work
  EXPECT_EQ(vol, 1.);
  EXPECT_EQ(d.zeilennummer(), 0);
  k.fehler.str("");
  EXPECT_STREQ(d.zeile(1), "");
  EXPECT_TRUE(d.zeilenbK(1));
  EXPECT_EQ(d.zeilennr(1), 0);
  EXPECT_EQ(k.fehler.str(), "Ungueltige Zeilennummer: 1\nUngueltige Zeilennummer: 1\n"
                            "Ungueltige Zeilennummer der umgeordneten Datei: 1\n");
  d.test();
  EXPECT_NE(k.kontroll.str().find("Nzeil=-1\n"), std::string::npos);

  Tdatein ordnerdatei(ordner.pfad().string()); // a folder is no input file
  EXPECT_EQ(ordnerdatei.zeilenanzahl(), -1);
}

TEST(Datei, LinesEndsAndLengthLimit) {
  Tempordner ordner;
  Konsolenumleitung k;
  EXPECT_EQ(lesen(ordner, "").zeilenanzahl(), 1);
  EXPECT_EQ(lesen(ordner, "! a\n").zeilenanzahl(), 2); // a final line feed adds an empty line

  Tdatein crlf = lesen(ordner, "stw_numplus 1, 2\r\nstw_t 0., 1.\r\n");
  EXPECT_EQ(crlf.zeilenanzahl(), 3);
  EXPECT_STREQ(crlf.zeile(1), "stw_numplus 1, 2");
  EXPECT_EQ(crlf.zeilenlaenge(1), 16);
  int n = 0;
  EXPECT_TRUE(crlf.eintrag("stw_numplus", n, 1, 2, false));
  EXPECT_EQ(n, 2);
  double te = 0.;
  EXPECT_TRUE(crlf.eintrag("stw_t", te, 1, 2, false));
  EXPECT_EQ(te, 1.);
  EXPECT_EQ(k.fehler.str(), "");

  // A NUL or byte 255 ends the line early; the rest up to the line feed is dropped.
  Tdatein nul = lesen(ordner, std::string("stw_numplus 3\0 4\nstw_zstrg W, 5", 31) + '\xff' + " 6\n");
  EXPECT_STREQ(nul.zeile(1), "stw_numplus 3");
  EXPECT_STREQ(nul.zeile(2), "stw_zstrg W, 5");
  EXPECT_EQ(nul.zeilenanzahl(), 3);

  const std::string lang = "! " + std::string(598, 'x');
  Tdatein d =
      lesen(ordner, lang + "\nstw_numplus 7\n" + std::string(500, 'y') + "\r\n" + std::string(501, ';'));
  EXPECT_EQ(d.zeilenanzahl(), 4);
  EXPECT_EQ(d.zeile(1), lang.substr(0, 500));
  EXPECT_EQ(d.zeilenlaenge(1), 500);
  EXPECT_TRUE(d.zeilenbK(1));
  EXPECT_STREQ(d.zeile(2), "stw_numplus 7");
  EXPECT_EQ(d.zeilenlaenge(3), 500);
  EXPECT_EQ(d.zeilenlaenge(4), 500);
  EXPECT_EQ(k.fehler.str(), "Zeile zu lang\n"
                            "Uebergebenes Wort<" +
                                std::string(500, 'y') +
                                "> nicht als Schluesselwort verzeichnet\nUnbekanntes Schluesselwort\n"
                                "Zeile zu lang\n"
                                "Uebergebenes Wort<> nicht als Schluesselwort verzeichnet\n"
                                "Unbekanntes Schluesselwort\n");

  // One very long line and many short ones are read without trouble.
  std::string gross(3000000, 'z');
  for (int i = 1; i <= 20000; ++i)
    gross += "\nkno " + std::to_string(i) + ", 1, 1., (0., 0.)";
  k.fehler.str("");
  Tdatein g = lesen(ordner, gross);
  EXPECT_EQ(g.zeilenanzahl(), 20001);
  EXPECT_EQ(g.zeilenanzahl("kno"), 20000);
  EXPECT_EQ(g.zeilenlaenge(1), 500);
  unsigned num = 0;
  EXPECT_TRUE(g.eintrag("kno", num, 20000, 1, false));
  EXPECT_EQ(num, 20000u);
}

TEST(Datei, WordsEntriesAndComments) {
  Tempordner ordner;
  Konsolenumleitung k;
  Tdatein d = lesen(ordner, "mat 1, 1, (1., 2., 0.3, 1., 0.), 7 ! Bemerkung, mit (Klammer)\n"
                            "ele 5 1 2 (1 2 3 4] 9\n"
                            "kno 3,,1.5\n"
                            "ele 6 1 1 (1 2 3\n"
                            "konlin 1 | mpu ; splele , [4, 5}\n");
  EXPECT_EQ(d.eintragsanzahl("mat", 1), 4);
  EXPECT_EQ(d.zeilennummer(), 1);
  std::vector<double> kennwerte;
  unsigned farbe = 0;
  EXPECT_TRUE(d.eintrag("mat", kennwerte, 1, 3, false));
  EXPECT_EQ(kennwerte, (std::vector<double>{1., 2., 0.3, 1., 0.}));
  EXPECT_TRUE(d.eintrag("mat", farbe, 1, 4, false));
  EXPECT_EQ(farbe, 7u);

  std::vector<unsigned> knoten;
  EXPECT_TRUE(d.eintrag("ele", knoten, 1, 4, false));
  EXPECT_EQ(knoten, (std::vector<unsigned>{1, 2, 3, 4}));
  EXPECT_TRUE(d.eintrag("ele", farbe, 1, 5, false));
  EXPECT_EQ(farbe, 9u);

  int matnum = -1;
  double vol = 0.;
  EXPECT_EQ(d.eintragsanzahl("kno", 1), 3);
  EXPECT_EQ(d.eintrag1("kno", 1, 2, true), "");
  EXPECT_FALSE(d.eintrag("kno", matnum, 1, 2, true)); // empty word between two commas
  EXPECT_EQ(matnum, -1);
  EXPECT_TRUE(d.eintrag("kno", vol, 1, 3, false));
  EXPECT_EQ(vol, 1.5);

  knoten = {42};
  EXPECT_EQ(k.fehler.str(), "");
  EXPECT_FALSE(d.eintrag("ele", knoten, 2, 4, false)); // bracket never closed
  EXPECT_EQ(knoten, std::vector<unsigned>{42});
  EXPECT_EQ(k.fehler.str(), gescheitert("ele", 4, 4));

  std::string typ, art;
  EXPECT_TRUE(d.eintrag("konlin", typ, 1, 2, false));
  EXPECT_TRUE(d.eintrag("konlin", art, 1, 3, false));
  EXPECT_TRUE(d.eintrag("konlin", knoten, 1, 4, false));
  EXPECT_EQ(typ + " " + art, "mpu splele");
  EXPECT_EQ(knoten, (std::vector<unsigned>{4, 5}));
}

TEST(Datei, GroupingByKeywordOrderAndCommentAttachment) {
  Tempordner ordner;
  Konsolenumleitung k;
  Tdatein d = lesen(ordner, "! Kopf\n"                            // 1
                            "kno 2, 1, 1., (1., 0.)\n"            // 2
                            "  ! zu kno 1\n"                      // 3
                            "kno 1, 1, 1., (0., 0.)\n"            // 4
                            "mat 1, 1, (1., 1., 0., 1., 0.), 1\n" // 5
                            "\n"                                  // 6
                            "foo 1 2\n"                           // 7
                            "! Schluss");                         // 8
  EXPECT_EQ(k.fehler.str(), "Uebergebenes Wort<foo> nicht als Schluesselwort verzeichnet\n"
                            "Unbekanntes Schluesselwort\n");
  EXPECT_EQ(d.zeilenanzahl(), 8);
  const int swnr[] = {38, 38, 38, 38, 35, 0, 0, 0};
  for (int n = 1; n <= 8; ++n)
    EXPECT_EQ(d.zeilenswnr(n), swnr[n - 1]) << n;
  ASSERT_EQ(d.zeilenanzahlneu(true), 8);
  ASSERT_EQ(d.zeilenanzahlneu(false), 4);
  const int mk[] = {6, 7, 8, 5, 1, 2, 3, 4};
  for (int p = 1; p <= 8; ++p)
    EXPECT_EQ(d.zeilennr(p, true), mk[p - 1]) << p;
  const int ok[] = {7, 5, 2, 4};
  for (int p = 1; p <= 4; ++p)
    EXPECT_EQ(d.zeilennr(p), ok[p - 1]) << p;

  EXPECT_EQ(d.zeilenanzahl("kno"), 2);
  EXPECT_EQ(d.zeilenanzahl("KNO", true), 4);
  EXPECT_EQ(d.zeilennummer("kno", 1), 2); // node 2 stays first
  EXPECT_EQ(d.zeilennummer("kno", 2), 4);
  EXPECT_EQ(d.zeilennummer("kno", 3), 0);
  EXPECT_EQ(d.zeilennummer("kno", 1, true), 1);
  EXPECT_EQ(d.zeilennummer("mat", 1), 5); // after the nodes in the file, still the first mat line
  EXPECT_EQ(d.zeilenanzahl("ele"), 0);

  EXPECT_STREQ(d.zeilensw(3), "kno");
  EXPECT_STREQ(d.zeilensw(7), "UNBEKANNT");
  EXPECT_TRUE(d.zeilenbK(6));
  EXPECT_FALSE(d.zeilenbK(7));
  EXPECT_EQ(d.zeileneintragsanzahl(7), 3);
  EXPECT_EQ(d.zeileneintragsanzahl(3), 0);
  EXPECT_EQ(d.zeilenlaenge(7), 7);
  EXPECT_STREQ(d.zeile(3), "  ! zu kno 1");

  // With comment lines the first kno line is the header comment: all defaults.
  unsigned num = 9;
  EXPECT_TRUE(d.eintrag("kno", num, 1, 1, false, true));
  EXPECT_EQ(num, 0u);
  EXPECT_EQ(d.zeilennummer(), 1);
  EXPECT_EQ(d.eintragsanzahl("kno", 1, true), 0);

  Tdatein nur = lesen(ordner, "! a\n\n! b");
  EXPECT_EQ(nur.zeilenswnr(1), -1);
  EXPECT_EQ(nur.zeilenanzahlneu(true), 0);
  EXPECT_EQ(nur.zeilenanzahlneu(false), 0);
  EXPECT_STREQ(nur.zeilensw(1), "");
}

TEST(Datei, DefaultsForShortLinesAndAbsentKeywords) {
  Tempordner ordner;
  Konsolenumleitung k;
  Tdatein d = lesen(ordner, "\nMPU 1, 2, 0.5, (1., 2.)\nkno\ntitel \"Mein Titel\" mit Rest\n");
  EXPECT_EQ(d.eintragsanzahl("mpu", 1), 4);
  std::vector<double> x0, u = {5.};
  unsigned farbe = 0;
  EXPECT_TRUE(d.eintrag("mpu", x0, 1, 4, false));
  EXPECT_EQ(x0, (std::vector<double>{1., 2.}));
  EXPECT_TRUE(d.eintrag("mpu", u, 1, 5, false)); // "()" from the defaults
  EXPECT_TRUE(u.empty());
  EXPECT_TRUE(d.eintrag("mpu", farbe, 1, 9, false));
  EXPECT_EQ(farbe, 1u);
  EXPECT_EQ(d.zeilennummer(), 2);

  double vol = 0.;
  unsigned num = 9;
  EXPECT_EQ(d.eintragsanzahl("kno", 1), 0);
  EXPECT_TRUE(d.eintrag("kno", vol, 1, 3, false));
  EXPECT_TRUE(d.eintrag("kno", num, 1, 1, false));
  EXPECT_EQ(vol, 1.);
  EXPECT_EQ(num, 0u);
  EXPECT_EQ(d.zeilennummer(), 3);

  double te = 7.;
  EXPECT_FALSE(d.eintrag("stw_t", te, 1, 2, false));
  EXPECT_EQ(te, 7.);
  EXPECT_EQ(d.zeilennummer(), 0);
  EXPECT_TRUE(d.eintrag("stw_t", te, 1, 2, true));
  EXPECT_EQ(te, 0.);
  EXPECT_EQ(d.eintrag1("stw_t", 1, 4, true), "1");
  EXPECT_EQ(d.eintrag1("stw_t", 1, 4, false), "");
  EXPECT_EQ(d.eintrag1("kno", 2, 1, false), "");

  // "FFF" is one word: only the first entry has a default.
  bool konv[3] = {true, true, true};
  for (int j = 1; j <= 3; ++j)
    d.eintrag("aus_dat_konv", konv[j - 1], 1, j, true);
  EXPECT_FALSE(konv[0]);
  EXPECT_TRUE(konv[1]);
  EXPECT_TRUE(konv[2]);

  std::string titel;
  EXPECT_EQ(d.zeileneintragsanzahl(4), 2); // the text at the end takes the rest
  EXPECT_EQ(d.eintragsanzahl("titel", 1), 1);
  EXPECT_TRUE(d.eintrag("titel", titel, 1, 1));
  EXPECT_EQ(titel, "Mein Titel");
  EXPECT_EQ(k.fehler.str(), "");

  // Every default entry of the table converts by its letter.
  for (int kw = 1; kw < TSCHLUESSELWORTE::N; ++kw) {
    for (int j = 1; j <= TSCHLUESSELWORTE::eintragsanzahl(kw); ++j) {
      std::vector<double> f;
      std::vector<unsigned> uu;
      bool b;
      int i;
      char text[501];
      void* ziel = &i;
      switch (TSCHLUESSELWORTE::format(kw, j)) {
      case 'b':
        ziel = &b;
        break;
      case 'f':
        ziel = &vol;
        break;
      case 'F':
        ziel = &f;
        break;
      case 'U':
        ziel = &uu;
        break;
      case 'w':
      case 's':
        ziel = text;
        break;
      }
      const bool leer = wort(TSCHLUESSELWORTE::zeile(kw), j).empty();
      EXPECT_EQ(d.eintrag(TSCHLUESSELWORTE::wort(kw), ziel, 5, j, true) == nullptr, leer) << kw << " " << j;
    }
  }
  EXPECT_EQ(k.fehler.str(), "");
}

TEST(Datei, ConversionsByFormatLetter) {
  Tempordner ordner;
  Konsolenumleitung k;
  Tdatein d =
      lesen(ordner, "stw_m falsch\nstw_m wahr\nstw_m Ja\nstw_m 1\nstw_m T\nstw_m t\nstw_m w\nstw_m 0\n"
                    "stw_numplus -5, +7, 0012, 3.5\n"                               // 9
                    "stw_numplus 99999999999999999999, -2147483648, 12abc, 1e3\n"   // 10
                    "stw_schrankefliess 1.E6\nstw_schrankefliess -2.5e-3\n"         // 11, 12
                    "stw_schrankefliess 1e999\nstw_schrankefliess nan\n"            // 13, 14
                    "stw_schrankefliess 12abc\nstw_schrankefliess 0x10\n"           // 15, 16
                    "stw_gleichloes_bil gauss\n"                                    // 17
                    "titel Ohne Anfuehrung\ntitel \"\"\ntitel x\n"                  // 18-20
                    "kno_bewerzw (1, 2, 3)\nkno_bewerzw (1, -2)\nkno_bewerzw 4\n"); // 21-23
  const bool wahr[] = {false, true, false, true, true, true, true, false};
  for (int i = 1; i <= 8; ++i) {
    bool b = !wahr[i - 1];
    EXPECT_TRUE(d.eintrag("stw_m", b, i, 1, false));
    EXPECT_EQ(b, wahr[i - 1]) << i;
  }

  int n[4] = {0, 0, 0, 0};
  for (int j = 1; j <= 4; ++j)
    EXPECT_EQ(d.eintrag("stw_numplus", n[j - 1], 1, j, false), j < 4);
  EXPECT_EQ(n[0], 5); // stored as its absolute value
  EXPECT_EQ(n[1], 7);
  EXPECT_EQ(n[2], 12);
  EXPECT_EQ(n[3], 0);
  EXPECT_EQ(k.fehler.str(), gescheitert("stw_numplus", 9, 4));
  k.fehler.str("");
  unsigned u = 3;
  for (int j = 1; j <= 4; ++j)
    EXPECT_FALSE(d.eintrag("stw_numplus", u, 2, j, false));
  EXPECT_EQ(u, 3u);
  EXPECT_EQ(k.fehler.str(), gescheitert("stw_numplus", 10, 1) + gescheitert("stw_numplus", 10, 2) +
                                gescheitert("stw_numplus", 10, 3) + gescheitert("stw_numplus", 10, 4));
  EXPECT_TRUE(d.eintrag("stw_numplus", u, 1, 1, false));
  EXPECT_EQ(u, 5u);

  k.fehler.str("");
  double x = 0.;
  EXPECT_TRUE(d.eintrag("stw_schrankefliess", x, 1, 1));
  EXPECT_EQ(x, 1e6);
  EXPECT_TRUE(d.eintrag("stw_schrankefliess", x, 2, 1));
  EXPECT_EQ(x, -2.5e-3);
  for (int i = 3; i <= 6; ++i)
    EXPECT_FALSE(d.eintrag("stw_schrankefliess", x, i, 1));
  EXPECT_EQ(x, -2.5e-3);
  EXPECT_EQ(k.fehler.str(),
            gescheitert("stw_schrankefliess", 13, 1) + gescheitert("stw_schrankefliess", 14, 1) +
                gescheitert("stw_schrankefliess", 15, 1) + gescheitert("stw_schrankefliess", 16, 1));

  k.fehler.str("");
  std::string w;
  EXPECT_TRUE(d.eintrag("stw_gleichloes_bil", w, 1, 1));
  EXPECT_EQ(w, "gauss");
  char kurz[4] = "???";
  EXPECT_EQ(d.eintrag("stw_gleichloes_bil", kurz, 1, 1, true, 3), static_cast<void*>(kurz));
  EXPECT_STREQ(kurz, "gau");
  char puffer[8];
  EXPECT_STREQ(d.eintrag1("stw_gleichloes_bil", puffer, 1, 1, true, 2), "ga");
  EXPECT_TRUE(d.eintrag("titel", w, 1, 1));
  EXPECT_EQ(w, "hn"); // without quotes the first and last characters are lost
  EXPECT_TRUE(d.eintrag("titel", w, 2, 1));
  EXPECT_EQ(w, "");
  w = "alt";
  EXPECT_TRUE(d.eintrag("titel", w, 3, 1));
  EXPECT_EQ(w, "");

  std::vector<unsigned> liste;
  EXPECT_TRUE(d.eintrag("kno_bewerzw", liste, 1, 1));
  EXPECT_EQ(liste, (std::vector<unsigned>{1, 2, 3}));
  EXPECT_FALSE(d.eintrag("kno_bewerzw", liste, 2, 1));
  EXPECT_EQ(liste, (std::vector<unsigned>{1, 2, 3}));
  EXPECT_EQ(d.eintrag("kno_bewerzw", static_cast<void*>(&liste), 3, 1, false), &liste);
  EXPECT_EQ(liste, std::vector<unsigned>{4});
  EXPECT_EQ(k.fehler.str(), gescheitert("kno_bewerzw", 22, 1));

  // Target types that do not fit the letter, entries beyond the format, unknown keywords.
  k.fehler.str("");
  EXPECT_FALSE(d.eintrag("stw_m", x, 1, 1));
  EXPECT_FALSE(d.eintrag("kno_bewerzw", w, 1, 1));
  EXPECT_FALSE(d.eintrag("stw_numplus", x, 1, 1));
  EXPECT_EQ(k.fehler.str(),
            "Fehlerhafte Formatangabe. Schluesselwort=stw_m, Format=b, Eintragsnummer=1\n"
            "Fehlerhafte Formatangabe. Schluesselwort=kno_bewerzw, Format=U, Eintragsnummer=1\n"
            "Fehlerhafte Formatangabe. Schluesselwort=stw_numplus, Format=u, Eintragsnummer=1\n");
  k.fehler.str("");
  bool b = true;
  EXPECT_FALSE(d.eintrag("stw_m", b, 1, 3));
  EXPECT_EQ(d.eintrag1("stw_m", 1, 0, true), "");
  EXPECT_FALSE(d.eintrag("xyz", b, 1, 1));
  EXPECT_TRUE(b);
  EXPECT_EQ(k.fehler.str(), "Eintragsnummer zu hoch. Schluesselwort=stw_m, Eintragsnummer=3\n"
                            "Ungueltige Eintragsnummer fuer Schluesselwort: stw_m, Eintragsnummer=0\n"
                            "Uebergebenes Wort<xyz> nicht als Schluesselwort verzeichnet\n"
                            "Eintragsnummer zu hoch. Schluesselwort=xyz, Eintragsnummer=1\n");
}

TEST(Datei, KeywordAndLineQueries) {
  Tempordner ordner;
  Konsolenumleitung k;
  Tdatein d = lesen(ordner, "kno 1\n");
  EXPECT_EQ(d.swanzahl(), 50);
  EXPECT_EQ(d.swnr("Kno"), 38);
  EXPECT_EQ(d.sweintragsanz("stw_berechverf"), 11);
  EXPECT_EQ(d.swformat("mpu", 4), 'F');
  EXPECT_EQ(d.swformat("mpu", 10), '\0');
  EXPECT_STREQ(d.sw(21), "stw_t");
  EXPECT_EQ(k.fehler.str(), "");
  EXPECT_STREQ(d.sw(50), "");
  EXPECT_EQ(d.swnr("stw"), 0);
  EXPECT_EQ(d.zeilenanzahl("stw"), 0);
  EXPECT_EQ(d.sweintragsanz("stw"), 0);
  EXPECT_STREQ(d.zeile(0), "");
  EXPECT_STREQ(d.zeile(3), "");
  EXPECT_EQ(d.zeilenlaenge(-1), 0);
  EXPECT_EQ(d.zeilenswnr(3), 0);
  EXPECT_TRUE(d.zeilenbK(3));
  EXPECT_EQ(d.zeilennr(2), 0);
  EXPECT_EQ(d.zeilennr(0, true), 0);
  EXPECT_EQ(k.fehler.str(), "Uebergebene Schluesselwortnummer <50> ist ungueltig\n"
                            "Uebergebenes Wort<stw> nicht als Schluesselwort verzeichnet\n"
                            "Uebergebenes Wort<stw> nicht als Schluesselwort verzeichnet\n"
                            "Uebergebenes Wort<stw> nicht als Schluesselwort verzeichnet\n"
                            "Ungueltige Zeilennummer: 0\n"
                            "Ungueltige Zeilennummer: 3\n"
                            "Ungueltige Zeilennummer: -1\n"
                            "Ungueltige Zeilennummer: 3\n"
                            "Ungueltige Zeilennummer: 3\n"
                            "Ungueltige Zeilennummer der umgeordneten Datei: 2\n"
                            "Ungueltige Zeilennummer der umgeordneten Datei: 0\n");

  // Arbitrary bytes never break the reader.
  std::string muell;
  for (int r = 0; r < 40; ++r)
    for (int c = 0; c < 256; ++c)
      muell += static_cast<char>((c * 37 + r * 11) % 256);
  Tdatein m = lesen(ordner, muell);
  m.test();
  EXPECT_GT(m.zeilenanzahl(), 1);
  EXPECT_NE(k.kontroll.str().find("KONTROLLE EINGABEDATEI ENDE\n"), std::string::npos);
}

TEST(Datei, Echo) {
  Tempordner ordner;
  Konsolenumleitung k;
  Tdatein d = lesen(ordner, "kno 1, 2\n! x\nstw_m W 0. extra");
  k.fehler.str("");
  d.eintragsanzahl("kno", 1);
  d.test();
  EXPECT_EQ(d.zeilennummer(), 1); // the echo does not move the current line
  EXPECT_EQ(k.fehler.str(), "");
  const std::string echo = k.kontroll.str();
  const std::string kopf =
      "Zeilennummer, Laenge, Wortanzahl, bKommentar, Schluesselwortnr, [Schluesselwort]: <Zeile>";
  const std::string kopfneu = "Zeilennummerneu, Zeilennummeralt, Laenge, Wortanzahl, bKommentar, "
                              "Schluesselwortnr, [Schluesselwort]: <Zeile>";
  const std::string kno = "[kno                           ]: ";
  const std::string stw_m = "[stw_m                         ]: ";
  const std::string teile[] = {
      "\n\nKONTROLLE EINGABEDATEI ANFANG\n\nEINGABEDATEI\n------------\nNzeil=3\n" + kopf + "\n",
      "\n    1,   8,  3, F,  38, " + kno + "<kno 1, 2>\n",
      "\n    2,   3,  0, W,  13, " + stw_m + "<! x>\n",
      "\n    3,  16,  4, F,  13, " + stw_m + "<stw_m W 0. extra>\n",
      "\nEINGABEDATEI UMGEORDNET MIT KOMMENTARZEILEN\nNzeilneu=3\n" + kopfneu + "\n",
      "\n    1,     2,   3,  0, W,  13, " + stw_m + "<! x>\n",
      "\n    2,     3,  16,  4, F,  13, " + stw_m + "<stw_m W 0. extra>\n",
      "\n    3,     1,   8,  3, F,  38, " + kno + "<kno 1, 2>\n",
      "\nEINGABEDATEI UMGEORDNET OHNE KOMMENTARZEILEN\nNzeilneuokz=2\n" + kopfneu + "\n",
      "\n    1,     3,  16,  4, F,  13, " + stw_m + "<stw_m W 0. extra>\n",
      "\n    2,     1,   8,  3, F,  38, " + kno + "<kno 1, 2>\n",
      "\nEINGABEDATEI ZERLEGT\nNsw=50\nSchluesselwortnr, Schluesselwortzeilenanzahl, [Schluesselwort]:\n" +
          std::string(32, ' ') + "Schluesselwortzeile, Eintragsanzahl: <Eintraege>\n",
      "\n  1,     0, [titel]:\n",
      "\n 13,     1, [stw_m]:\n" + std::string(32, ' ') + " 1,  3: b<W> f<0.> <FORMATFEHLER><extra> \n",
      "\n 38,     1, [kno]:\n" + std::string(32, ' ') +
          " 1,  2: u<1> u<2> f<1.> F<()> F<()> F<()> F<()> F<()> u<1> \n",
      "\n 49,     0, [konlin]:\n\nKONTROLLE EINGABEDATEI ENDE\n",
  };
  size_t pos = 0;
  for (const std::string& t : teile) {
    const size_t gefunden = echo.find(t, pos);
    ASSERT_NE(gefunden, std::string::npos) << t;
    pos = gefunden + t.size() - 1;
  }
  EXPECT_EQ(pos + 1, echo.size());
}
