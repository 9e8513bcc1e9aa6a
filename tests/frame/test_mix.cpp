#include <cctype>
#include <cstdio>

#include "frame/genau.h"
#include "frame/mix.h"
#include "frame/zeichkett.h"
#include "testhilfe.h"

TEST(Zahltext, DoubleWidthsAndZeroCases) {
  EXPECT_EQ(_str(1.5, 20), "1.500000e+00");
  EXPECT_EQ(_str(1.5, 6), "1.500000e+00");

  EXPECT_EQ(_str(0.0, 10), " 0.       ");
  EXPECT_EQ(_str(0.0, 10, true), " 0.       ");
  EXPECT_EQ(_str(1e-20, 10, true), " 0.000    ");
  EXPECT_EQ(_str(-1e-20, 7, true), " 0.0   ");
  EXPECT_EQ(_str(1e-20, 10), " 1.000e-20");
  EXPECT_EQ(_str(3e-16, 10, true), " 3.000e-16");

  // The digits are those of the C library's "%*.*Le": rounding ties, three
  // exponent digits, the extremes and non-finite values.
  for (double x : {1.0, -123450.0, -3.25e-7, 0.125, 2.5, 9.5, 99999.95, 123456.5, -0.3, 1e100, 1e-310, 5e-324,
                   1.7976931348623157e308, -9.999999999999e-101, 1.0 / 3, HUGE_VAL, -HUGE_VAL, std::nan("")})
    for (int w = 7; w <= 17; ++w) {
      char c[64];
      std::snprintf(c, sizeof c, "%*.*Le", w, w - 7, static_cast<long double>(x));
      EXPECT_EQ(_str(x, w), c) << w << " " << x;
    }
}

TEST(Zahltext, IntegersBoolsAndTexts) {
  EXPECT_EQ(_str(42, 5), "   42");
  EXPECT_EQ(_str(-42, 1), "-42");
  EXPECT_EQ(_str(42, 13), "42");
  EXPECT_EQ(_str(42, 0), "42");
  EXPECT_EQ(_str(7u, 12), "           7");
  EXPECT_EQ(_str(4000000000u, 3), "4000000000");
  EXPECT_EQ(_str(true, 3), "  W");
  EXPECT_EQ(_str(false, 0), "F");
  EXPECT_EQ(_str(true, 99).size(), 50u);
  EXPECT_EQ(_str(std::string("abc"), 10), "\"abc\"");
  EXPECT_EQ(_str("kno", 2), "\"kno\"");
  EXPECT_EQ(_str1(3.14159), "   3.142");
  EXPECT_EQ(_str1(-1234.5, 4, 9), "-1234.500");
}

TEST(Zeichen, ClassesAndComparison) {
  EXPECT_TRUE(istendzeich('\0'));
  EXPECT_TRUE(istendzeich('\r'));
  EXPECT_TRUE(istendzeich(static_cast<char>(255)));
  EXPECT_FALSE(istendzeich(static_cast<char>(254)));
  EXPECT_TRUE(isttrennzeich('|'));
  EXPECT_FALSE(isttrennzeich(' '));
  EXPECT_TRUE(istklammerzeich('<'));
  EXPECT_TRUE(istklammerzeich('}'));
  EXPECT_FALSE(istklammerzeich('"'));
  EXPECT_TRUE(istzahlenbestandteil('.'));
  EXPECT_FALSE(istzahlenbestandteil('e'));

  EXPECT_EQ(zeich1(" \t \t"), '\0');
  EXPECT_EQ(zeich1("  \tx y"), 'x');

  EXPECT_EQ(strcmp1("KnO", "kno"), 0);
  EXPECT_EQ(strcmp1("kno", "knoten"), -1);
  EXPECT_EQ(strcmp1("eleinv", "ele"), 1);
  EXPECT_EQ(strcmp1("ele", "eleinv"), -1);
  EXPECT_GT(strcmp1("b", "A"), 0);
  EXPECT_EQ(strcmp1("a", "C"), 'a' - 'c');
  EXPECT_EQ(strcmp1("", ""), 0);
  // Every pair of bytes in the order std::tolower gives them in the "C" locale.
  for (int a = 1; a < 256; ++a)
    for (int b = 1; b < 256; ++b) {
      const char sa[] = {static_cast<char>(a), 'x', '\0'}, sb[] = {static_cast<char>(b), 'x', '\0'};
      ASSERT_EQ(strcmp1(sa, sb), std::tolower(a) - std::tolower(b)) << a << " " << b;
    }
}

TEST(Gleitkomma, DescriptionTexts) {
  EXPECT_EQ(gleitkommazahlgenauigkeit().rfind("float=32 bit, <double=64 bit>, long double=", 0), 0u);
  const std::string g = gleitkommazahlgrenzwerte();
  EXPECT_EQ(std::count(g.begin(), g.end(), '\n'), 6);
  for (const char* wert : {"_REAL_DIG      = 15", "_REAL_EPSILON  = 2.22045e-16",
                           "_REAL_MAX      = 1.79769e+308", "_REAL_MIN_EXP  = -1021"})
    EXPECT_TRUE(th::enthaelt(g, wert)) << wert;
  // All value names start in the same column.
  for (const std::string& zeile : th::zeilen(g))
    EXPECT_EQ(zeile.find("_REAL_"), 54u) << zeile;
}
