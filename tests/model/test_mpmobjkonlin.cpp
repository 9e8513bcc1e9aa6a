// Contact lines: point lists and the chain of support elements,
// contact nodes and contact elements of every kind.

#include "testhilfe.h"

using namespace MPM;
using TVM::VekR;

// The other refusals of the factory are checked through the model input
// (tests/input/test_mpmein.cpp).
TEST(Kontaktlinie, CleanedPointListsAndTheTextForm) {
  Konsolenumleitung k;
  Tmpm mpm;
  th::knoten(mpm, {{0, 0}, {1, 0}, {2, 1}, {3, 3}});
  const std::string texte = "model/golden/texte.txt", pos = "Eingabedatei, Zeilennummer 0\n",
                    f = "FEHLER in <konlin_erzeugen(...)>: ";
  std::vector<unsigned int> p{2, 9, 1};
  const TKontaktlinie* kl = konlin_erzeugen(&mpm, 1, OBJTYP_KNO, KONLINTYP_LIN, p);
  ASSERT_NE(kl, nullptr);
  EXPECT_EQ(p, (std::vector<unsigned int>{2, 1}));
  EXPECT_EQ(k.fehler.str(), th::golden(texte, "konlin lin"));
  // Only the points of the line made leave the contact search.
  for (int n = 1; n <= 4; ++n)
    EXPECT_EQ(PU_Z(mpm.kno.suchen(n))->bkontaktpunkt, n <= 2) << n;

  const std::string s = th::text(*kl);
  EXPECT_EQ(s.substr(0, s.find("x1=")) + "\n", th::golden(texte, "konlin"));
  EXPECT_TRUE(th::enthaelt(s, ", stuetzele1=NULL, stuetzele2=1\nkonkno, x="));

  // A closed list of one point asks whether to stop.
  p = {3, 3};
  EXPECT_THROW(TKontaktlinie(&mpm, 8, OBJTYP_KNO, KONLINTYP_SPLKNO, p), int);
  EXPECT_TRUE(th::enthaelt(k.fehler.str(), th::golden(texte, "konlin zu kurz")));

  // Every point once, only a last number equal to the first closes the line
  // (the messages of a long list are checked through the model input).
  k.fehler.str("");
  p = {3, 3, 3, 4};
  kl = konlin_erzeugen(&mpm, 3, OBJTYP_KNO, KONLINTYP_SPLKNO, p);
  ASSERT_NE(kl, nullptr);
  EXPECT_EQ(p, (std::vector<unsigned int>{3, 4}));
  EXPECT_EQ(kl->Nstuetzk, 2);
  EXPECT_EQ(k.fehler.str(), pos + f + "Punktnummer mehrfach p=3\n" + pos + f + "Punktnummer mehrfach p=3\n");
  p = {1, 2, 3, 1, 1};
  kl = konlin_erzeugen(&mpm, 4, OBJTYP_KNO, KONLINTYP_SPLKNO, p);
  ASSERT_NE(kl, nullptr);
  EXPECT_EQ(p, (std::vector<unsigned int>{1, 2, 3, 1}));
  EXPECT_FALSE(kl->boffen);
}

TEST(Kontaktlinie, CountsOfEveryKindAndWhereTheContactNodesLie) {
  Konsolenumleitung k;
  Tmpm mpm;
  th::knoten(mpm, {{0, 0}, {1, 0}, {2, 1}, {3, 3}});
  // Points, type, counts of support elements, contact nodes and contact elements, contact node positions.
  using Fall = std::tuple<std::vector<unsigned int>, KONLINTYP, std::vector<int>, std::vector<VekR>>;
  const Fall faelle[] = {
      {{1, 2, 3, 1}, KONLINTYP_SPLKNO, {3, 3, 3}, {{0, 0}, {1, 0}, {2, 1}}},
      {{1, 2, 3, 1}, KONLINTYP_SPLELE, {3, 3, 3}, {{0.5, 0}, {1.5, 0.5}, {1, 0.5}}},
      {{1, 2, 3, 4}, KONLINTYP_SPLKNO, {3, 4, 3}, {{0, 0}, {1, 0}, {2, 1}, {3, 3}}},
      {{1, 2}, KONLINTYP_SPLELE, {1, 2, 1}, {{0, 0}, {1, 0}}},
      {{1, 2, 3}, KONLINTYP_SPLELE, {2, 2, 1}, {{0, 0}, {2, 1}}},
      {{1, 2, 3, 4}, KONLINTYP_SPLELE, {3, 3, 2}, {{0, 0}, {1.5, 0.5}, {3, 3}}},
  };
  unsigned int Nstuetzele = 0;
  int num = 0;
  for (const auto& [punkte, typ, anzahl, x] : faelle) {
    std::vector<unsigned int> p = punkte;
    const TKontaktlinie* kl = konlin_erzeugen(&mpm, ++num, OBJTYP_KNO, typ, p);
    ASSERT_NE(kl, nullptr) << num;
    const bool boffen = punkte.front() != punkte.back();
    EXPECT_EQ(kl->boffen, boffen) << num;
    EXPECT_EQ(kl->Nstuetzk, static_cast<int>(punkte.size()) - !boffen) << num;
    EXPECT_EQ(std::vector<int>({kl->Nstuetze, kl->Nk, kl->Ne}), anzahl) << num;
    ASSERT_EQ(kl->konkno.size(), x.size()) << num;
    for (std::size_t i = 0; i < x.size(); ++i)
      EXPECT_EQ(kl->konkno[i]->x, x[i]) << num << " " << i;
    // Support elements are numbered on through all lines; a closed line ends with (last, first).
    EXPECT_EQ(kl->stuetzele.back()->num, Nstuetzele += anzahl[0]) << num;
    EXPECT_EQ(kl->stuetzele.back()->k2, kl->stuetzpu[boffen ? punkte.size() - 1 : 0]) << num;
    for (int i = 0; i < kl->Ne; ++i)
      EXPECT_EQ(kl->konele[i]->k2, kl->konkno[(i + 1) % kl->Nk].get()) << num << " " << i;
  }
  EXPECT_EQ(k.aus.str(), "");
}
