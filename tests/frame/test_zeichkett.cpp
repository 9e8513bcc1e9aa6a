#include "frame/zeichkett.h"
#include "testhilfe.h"

// Only the text forms of the blank, separator and one-separator skips serve
// the program.
TEST(Ueberlesen, TextFormsStopAtEndOfLineAndMaximum) {
  using Tfunk = const char* (*)(const char*, int);
  const Tfunk leer = ueberleseleerzeich, trenn = ueberlesetrennzeich;
  static bool (*const immer)(char) = [](char) { return true; };
  const Tfunk alle = [](const char* t, int m) { return ueberlesezeich(t, immer, m); };
  const Tfunk l1t = [](const char* t, int) { return ueberleseleer1trennleerzeich(t); };
  const struct {
    Tfunk f;
    const char* text;
    int max, weite;
  } faelle[] = {{leer, "  \t x", 0, 4}, {leer, "  \t x", 2, 2}, {alle, "ab\ncd", 0, 2}, {alle, "ab\r", 0, 2},
                {trenn, ",;|x", 0, 3},  {l1t, "  ,  x", 0, 5},  {l1t, " ,, x", 0, 2}};
  for (const auto& f : faelle)
    EXPECT_EQ(f.f(f.text, f.max), f.text + f.weite) << f.text << " " << f.max;
  EXPECT_EQ(ueberleseleerzeich(nullptr), nullptr);
}

TEST(Woerter, WordRules) {
  struct Fall {
    const char* text;
    const char* wort;
    int rest; // characters left after the word
  };
  const Fall faelle[] = {{"  abc def", "abc", 4},     {"(1, 2] x", "(1, 2]", 2}, {",x", "", 2},
                         {"(1 (2) 3)", "(1 (", 5},    {"(1, 2", "(1, 2", 0},     {"", "", 0},
                         {"\"a b\" c", "\"a b\"", 2}, {"\"a, b", "\"a, b", 0},   {"  ! rest", "", 6},
                         {"abc(1)", "abc", 3},        {"x\r\ny", "x", 3},        {"ab\"c\"", "ab", 3},
                         {"{1 ! 2}", "{1 ! 2}", 0},   {"abc!x", "abc", 2}};
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
  const struct {
    const char* text;
    int n;
  } anzahlen[] = {
      {"kno 1 , 2", 3}, {",,", 2},    {"kno 1 2", 3}, {"kno 1,,2", 4},      {"kno 1, ,2", 4},         {"", 0},
      {"a\r\nb", 1},    {nullptr, 0}, {"   ! x", 0},  {"0, (), (), 1,", 4}, {"a, (1., 0.) ! b, c", 2}};
  for (const auto& a : anzahlen)
    EXPECT_EQ(woerteranz(a.text), a.n) << (a.text ? a.text : "null");

  const struct {
    const char* text;
    int n;
    const char* wort;
  } woerter_[] = {{"kno 1,,2", 3, ""}, {"kno 1,,2", 4, "2"}, {"kno (1 2) \"a b\"", 3, "\"a b\""},
                  {"a b", 3, ""},      {"a ! b", 2, ""},     {"a b", 0, ""}};
  for (const auto& w : woerter_)
    EXPECT_EQ(wort(w.text, w.n), w.wort) << w.text << " " << w.n;
}

TEST(Woerter, PositionPrint) {
  const char* t = "kno 1, 2\r\n";
  EXPECT_EQ(th::text(skontroll(t, t + 4)), "[4 -- 8], <1, 2> '\\r'");
  EXPECT_EQ(th::text(skontroll("")), "[0 -- 0], <> '\\0'");
  const std::string mit255 = std::string("x") + static_cast<char>(255);
  EXPECT_EQ(th::text(skontroll(mit255.c_str())), "[0 -- 1], <x> EOF");
}
