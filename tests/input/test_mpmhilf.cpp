#include <climits>

#include "input/dateinaus.h"
#include "input/mpmhilf.h"
#include "testhilfe.h"

using namespace MPM;

TEST(Eingabehilfen, ListLengthsNumberOffsetsAndPowersOfTen) {
  EXPECT_EQ(vektor_laenge({1.5, -2.0, 7.0}, 2), (TVM::VekR{1.5, -2.0}));
  EXPECT_EQ(vektor_laenge({}, 2), (TVM::VekR{0, 0}));
  EXPECT_EQ(vektor_laenge({4.0}, 5), (TVM::VekR{4, 0, 0, 0, 0}));
  EXPECT_EQ(vektor_laenge({1.0}, -3).n, 0);

  // Numbers with offsets stay in the int range.
  int n = -7;
  EXPECT_TRUE(nummer_plus(3, 100, n));
  EXPECT_EQ(n, 103);
  EXPECT_TRUE(nummer_plus(INT_MAX, 0, n));
  n = -7;
  EXPECT_FALSE(nummer_plus(INT_MAX, 1, n) || nummer_plus(4294967295LL, 0, n) || nummer_plus(-1, 5, n));
  EXPECT_EQ(n, -7); // untouched on refusal

  const long long zahl[] = {-5, 9, 10, 2147483647LL}, potenz[] = {1, 10, 100, 10000000000LL};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(zehnerpotenz_ueber(zahl[i]), potenz[i]) << zahl[i];
}

TEST(Eingabehilfen, RecordReaderPresetsFromDefaultsAndMarksUnreadableEntries) {
  Konsolenumleitung k;
  Tempordner ordner;
  ordner.schreiben("s.mpm", "kno 7, 2, , (1., 2.)\nkno 8, 1, 2., (a, b)\nkno\n");
  Tdatein ein(ordner.datei("s.mpm"));

  int num = -1, matnum = -1, farbe = -1;
  double vol = -1.0;
  std::vector<double> x0, u{9.0};
  TSatzleser s(ein, "kno", 1);
  s(1, num)(2, matnum)(3, vol)(4, x0)(5, u)(9, farbe);
  EXPECT_TRUE(s.ok());
  EXPECT_EQ((std::vector<int>{num, matnum, farbe, ein.zeilennummer()}), (std::vector<int>{7, 2, 1, 1}));
  EXPECT_EQ(vol, 1.0); // empty entry: the keyword's default
  EXPECT_EQ(x0, (std::vector<double>{1.0, 2.0}));
  EXPECT_TRUE(u.empty()); // short line: the default "()"

  std::vector<double> x1{5.0};
  TSatzleser t(ein, "kno", 2);
  t(1, num)(4, x1)(3, vol);
  EXPECT_FALSE(t.ok());
  EXPECT_EQ(t.fehlereintrag(), 4);
  EXPECT_EQ(vol, 2.0);
  EXPECT_TRUE(x1.empty()); // preset from the default, the bad list left it so
  EXPECT_EQ(k.fehler.str(), "Einlesen gescheitert. Schluesselwort=kno, Zeilennummer=2, Eintragsnummer=4\n");

  TSatzleser nur(ein, "kno", 3);
  num = -1;
  nur(1, num)(2, matnum);
  EXPECT_TRUE(nur.ok());
  EXPECT_EQ((std::vector<int>{num, matnum}), (std::vector<int>{0, 1}));
}
