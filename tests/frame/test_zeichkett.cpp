#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "frame/zeichkett.h"

namespace {
bool immer(char) {
  return true;
}
std::string text_von(const skontroll& s) {
  std::ostringstream aus;
  aus << s;
  return aus.str();
}
} // namespace

TEST(Ueberlesen, TextFormsStopAtEndOfLineAndMaximum) {
  const char* t = "  \t x";
  EXPECT_EQ(ueberleseleerzeich(t), t + 4);
  EXPECT_EQ(ueberleseleerzeich(t, 2), t + 2);
  const char* z = "ab\ncd";
  EXPECT_EQ(ueberlesezeich(z, immer), z + 2);
  EXPECT_EQ(ueberlesezeich(z, immer, 1), z + 1);
  const char* c = "ab\r";
  EXPECT_EQ(ueberlesezeich(c, immer), c + 2);
  const char* trenn = ",;|x";
  EXPECT_EQ(ueberlesetrennzeich(trenn), trenn + 3);
  EXPECT_EQ(ueberlesetrennzeich(trenn, 1), trenn + 1);
  const char* kl = "([{<x";
  EXPECT_EQ(ueberleseklammerzeich(kl), kl + 4);
  const char* komm = "!!x";
  EXPECT_EQ(ueberlesekommzeich(komm), komm + 2);
  const char* anf = "\"\"x";
  EXPECT_EQ(ueberleseanfzeich(anf), anf + 2);

  const char* a = "  ,  x";
  EXPECT_EQ(ueberleseleer1trennleerzeich(a), a + 5);
  const char* b = " ,, x";
  EXPECT_EQ(ueberleseleer1trennleerzeich(b), b + 2);
  const char* d = "x";
  EXPECT_EQ(ueberleseleer1trennleerzeich(d), d);
  EXPECT_EQ(ueberleseleerzeich(nullptr), nullptr);
}

TEST(Ueberlesen, StreamFormsCountAndPutBack) {
  std::istringstream s1("  ,;x");
  EXPECT_EQ(ueberlesetrennzeich(s1), 2);
  char c = 0;
  s1 >> c;
  EXPECT_EQ(c, 'x');

  std::istringstream s2(",;x");
  EXPECT_EQ(ueberlesetrennzeich(s2, 1), 1);
  s2 >> c;
  EXPECT_EQ(c, ';');

  std::istringstream s3(" , , y");
  EXPECT_EQ(ueberleseleer1trennleerzeich(s3), 1);
  s3 >> c;
  EXPECT_EQ(c, ',');

  std::istringstream s4("((");
  EXPECT_EQ(ueberleseklammerzeich(s4), 2);
  EXPECT_FALSE(s4.fail());
  EXPECT_TRUE(s4.eof());
}

TEST(Woerter, WordRules) {
  struct Fall {
    const char* text;
    const char* wort;
    int rest; // characters left after the word
  };
  const Fall faelle[] = {
      {"  abc def", "abc", 4},
      {"(1, 2] x", "(1, 2]", 2},
      {"(1 (2) 3)", "(1 (", 5},
      {"(1, 2", "(1, 2", 0},
      {"\"a b\" c", "\"a b\"", 2},
      {"\"a, b", "\"a, b", 0},
      {"abc,def", "abc", 4},
      {"abc!x", "abc", 2},
      {"abc(1)", "abc", 3},
      {"ab\"c\"", "ab", 3},
      {",x", "", 2},
      {"", "", 0},
      {"  ! rest", "", 6},
      {"x\r\ny", "x", 3},
      {"{1 ! 2}", "{1 ! 2}", 0},
  };
  for (const Fall& f : faelle) {
    char puffer[32];
    const char* ende = wort1(f.text, puffer, 31);
    EXPECT_STREQ(puffer, f.wort) << f.text;
    EXPECT_EQ(std::string(ende).size(), static_cast<size_t>(f.rest)) << f.text;
    std::string w;
    EXPECT_EQ(wort1(f.text, w), ende);
    EXPECT_EQ(w, f.wort);
  }
  char kurz[4];
  const char* t = "abcdef ghi";
  EXPECT_EQ(wort1(t, kurz, 3), t + 6);
  EXPECT_STREQ(kurz, "abc");
  EXPECT_EQ(wort1(t, nullptr, 0), t + 6);
}

TEST(Woerter, CountingAndPicking) {
  EXPECT_EQ(woerteranz("kno 1, 2"), 3);
  EXPECT_EQ(woerteranz("kno 1 , 2"), 3);
  EXPECT_EQ(woerteranz("kno 1;2"), 3);
  EXPECT_EQ(woerteranz("kno 1|2"), 3);
  EXPECT_EQ(woerteranz("kno 1 2"), 3);
  EXPECT_EQ(woerteranz("kno 1,,2"), 4);
  EXPECT_EQ(woerteranz("kno 1, ,2"), 4);
  EXPECT_EQ(woerteranz("1, 2, ! rest"), 2);
  EXPECT_EQ(woerteranz("mat 1, 1, (1., 1., 0., 1., 0.), 1 ! Bemerkung, mit Komma"), 5);
  EXPECT_EQ(woerteranz("0, 1, 1., (), (), (), (), (), 1,"), 9);
  EXPECT_EQ(woerteranz(",,"), 2);
  EXPECT_EQ(woerteranz(""), 0);
  EXPECT_EQ(woerteranz("   ! x"), 0);
  EXPECT_EQ(woerteranz("a\r\nb"), 1);
  EXPECT_EQ(woerteranz(nullptr), 0);

  EXPECT_EQ(wort("kno 1,,2", 3), "");
  EXPECT_EQ(wort("kno 1,,2", 4), "2");
  EXPECT_EQ(wort("kno (1 2) \"a b\"", 3), "\"a b\"");
  EXPECT_EQ(wort("a b", 3), "");
  EXPECT_EQ(wort("a ! b", 2), "");
  EXPECT_EQ(wort("a b", 0), "");
  char puffer[8] = "alt";
  EXPECT_STREQ(wort("eins zwei drei", puffer, 2, 3), "zwe");
  EXPECT_STREQ(wort("eins", puffer, 2, 7), "");

  char p0[8], p1[8], p2[8], p3[8] = "alt";
  char* puffer4[] = {p0, p1, p2, p3};
  const char* t = "x, (1 2) \"q\"";
  EXPECT_EQ(woerter(t, puffer4, 4, 7), t + 12);
  EXPECT_STREQ(p0, "x");
  EXPECT_STREQ(p1, "(1 2)");
  EXPECT_STREQ(p2, "\"q\"");
  EXPECT_STREQ(p3, "");
}

TEST(Woerter, PositionPrint) {
  const char* t = "kno 1, 2\r\n";
  EXPECT_EQ(text_von(skontroll(t, t + 4)), "[4 -- 8], <1, 2> '\\r'");
  EXPECT_EQ(text_von(skontroll("ab\ncd")), "[0 -- 2], <ab> '\\n'");
  EXPECT_EQ(text_von(skontroll("")), "[0 -- 0], <> '\\0'");
  const std::string mit255 = std::string("x") + static_cast<char>(255);
  EXPECT_EQ(text_von(skontroll(mit255.c_str())), "[0 -- 1], <x> EOF");
}
