// Contact lines: the factory's refusals, the chain of support elements,
// contact nodes and contact elements of every kind, and the text form.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "frame/mix.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjkonlin.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"
#include "solver/mpm.h"
#include "testhilfe.h"

using namespace MPM;
using TVM::VekR;

namespace {
bool enthaelt(const std::string& text, const std::string& teil) {
  return text.find(teil) != std::string::npos;
}

// Nodes 1 .. 4 at (0, 0), (1, 0), (2, 1), (3, 3).
void knoten(Tmpm& mpm) {
  static const VekR leer;
  const double x[][2] = {{0, 0}, {1, 0}, {2, 1}, {3, 3}};
  for (int n = 1; n <= 4; ++n)
    kno_erzeugen(&mpm, n, 1, 1.0, VekR{x[n - 1][0], x[n - 1][1]}, leer, leer, leer, leer, 0);
}
} // namespace

TEST(Kontaktlinie, FactoryRefusesBadRecordsAndMarksOnlyTheSupportPointsOfALine) {
  Konsolenumleitung k;
  Tmpm mpm;
  knoten(mpm);
  std::vector<unsigned int> p{1, 2, 9};
  TKontaktlinie* kl = konlin_erzeugen(&mpm, 1, OBJTYP_KNO, KONLINTYP_SPLKNO, p);
  ASSERT_NE(kl, nullptr);
  EXPECT_EQ(p, (std::vector<unsigned int>{1, 2}));
  EXPECT_EQ(mpm.konlin.suchen(1), kl);
  const std::string pos = "Eingabedatei, Zeilennummer 0\n";
  EXPECT_EQ(k.fehler.str(), pos + "FEHLER in <konlin_erzeugen(...)>: Ungueltige Punktnummer p=9\n");

  k.fehler.str("");
  p = {3, 4};
  EXPECT_EQ(konlin_erzeugen(&mpm, 1, OBJTYP_KNO, KONLINTYP_SPLKNO, p), nullptr);
  EXPECT_EQ(konlin_erzeugen(&mpm, 2, OBJTYP_ELE, KONLINTYP_SPLKNO, p), nullptr);
  EXPECT_EQ(konlin_erzeugen(&mpm, 2, OBJTYP_KNO, KONLINTYP_UNBEKANNT, p), nullptr);
  p = {3, 8};
  EXPECT_EQ(konlin_erzeugen(&mpm, 2, OBJTYP_KNO, KONLINTYP_SPLELE, p), nullptr);
  EXPECT_EQ(k.fehler.str(), pos + "Kontaktliniennummer bereits vorhanden: 1\n" + pos +
                                "Unzulaessiger Stuetzpunkttyp: ele\n" + pos +
                                "Unzulaessiger Kontaktlinientyp\n" + pos +
                                "FEHLER in <konlin_erzeugen(...)>: Ungueltige Punktnummer p=8\n" + pos +
                                "FEHLER in <konlin_erzeugen(...)>: Zu wenig Stuetzpunkte Nstuetzp=1\n");
  EXPECT_EQ(mpm.konlin.size(), 1u);
  for (int n = 1; n <= 4; ++n)
    EXPECT_EQ(PU_Z(mpm.kno.suchen(n))->bkontaktpunkt, n <= 2) << n;

  // "lin" becomes "splkno"; material points as support points, with the offset of their numbers.
  k.fehler.str("");
  mpm.stw.mpunumplus = 100;
  ASSERT_NE(_material_erzeugen(&mpm, 1, 1, {1.0, 100.0, 0.25, 0.0}), nullptr);
  static const VekR leer;
  for (int n : {101, 102}) {
    VekR x{1.0 * n, 5.0};
    mpu_erzeugen(&mpm, n, 1, 1.0, x, leer, leer, leer, leer, 0);
  }
  p = {1, 2};
  kl = konlin_erzeugen(&mpm, 7, OBJTYP_MPU, KONLINTYP_LIN, p);
  ASSERT_NE(kl, nullptr);
  EXPECT_EQ(k.fehler.str(), "konlin(7): Kontaktlinientyp lin nicht implementiert (lin->splkno)\n");
  EXPECT_EQ(kl->konlintyp, KONLINTYP_SPLKNO);
  EXPECT_EQ(kl->stuetzpu, (std::vector<TPunkt*>{PU_Z(mpm.mpu.suchen(101)), PU_Z(mpm.mpu.suchen(102))}));
  EXPECT_TRUE(kl->stuetzpu[0]->bkontaktpunkt);

  // A closed list of one point: the line asks whether to stop.
  p = {3, 3};
  EXPECT_THROW(TKontaktlinie(&mpm, 8, OBJTYP_KNO, KONLINTYP_SPLKNO, p), int);
  EXPECT_TRUE(enthaelt(k.fehler.str(), "FEHLER in <TKontaktlinie::TKontaktlinie(...)>: Zu wenig Stuetzknoten "
                                       "Nstuetzk=1<2\n"));
}

TEST(Kontaktlinie, CountsOfEveryKindAndWhereTheContactNodesLie) {
  Konsolenumleitung k;
  Tmpm mpm;
  knoten(mpm);
  struct Fall {
    std::vector<unsigned int> p;
    KONLINTYP typ;
    bool boffen;
    int Nstuetze, Nk, Ne;
    std::vector<std::pair<double, double>> x; // contact nodes
  };
  const std::vector<Fall> faelle = {
      {{1, 2, 3, 1}, KONLINTYP_SPLKNO, false, 3, 3, 3, {{0, 0}, {1, 0}, {2, 1}}},
      {{1, 2, 3, 1}, KONLINTYP_SPLELE, false, 3, 3, 3, {{0.5, 0}, {1.5, 0.5}, {1, 0.5}}},
      {{1, 2, 3, 4}, KONLINTYP_SPLKNO, true, 3, 4, 3, {{0, 0}, {1, 0}, {2, 1}, {3, 3}}},
      {{1, 2}, KONLINTYP_SPLELE, true, 1, 2, 1, {{0, 0}, {1, 0}}},
      {{1, 2, 3}, KONLINTYP_SPLELE, true, 2, 2, 1, {{0, 0}, {2, 1}}},
      {{1, 2, 3, 4}, KONLINTYP_SPLELE, true, 3, 3, 2, {{0, 0}, {1.5, 0.5}, {3, 3}}},
  };
  unsigned int Nstuetzele = 0;
  int num = 0;
  for (const Fall& f : faelle) {
    std::vector<unsigned int> p = f.p;
    const TKontaktlinie* kl = konlin_erzeugen(&mpm, ++num, OBJTYP_KNO, f.typ, p);
    ASSERT_NE(kl, nullptr) << num;
    EXPECT_EQ(kl->boffen, f.boffen) << num;
    EXPECT_EQ(kl->Nstuetzk, static_cast<int>(f.p.size()) - (f.boffen ? 0 : 1)) << num;
    EXPECT_EQ(kl->Nstuetze, f.Nstuetze) << num;
    EXPECT_EQ(kl->Nk, f.Nk) << num;
    EXPECT_EQ(kl->Ne, f.Ne) << num;
    ASSERT_EQ(kl->konkno.size(), f.x.size()) << num;
    for (std::size_t i = 0; i < f.x.size(); ++i) {
      EXPECT_DOUBLE_EQ(kl->konkno[i]->x[0], f.x[i].first) << num << " " << i;
      EXPECT_DOUBLE_EQ(kl->konkno[i]->x[1], f.x[i].second) << num << " " << i;
    }
    // Support elements are numbered on through all lines; a closed line ends with (last, first).
    for (const auto& e : kl->stuetzele)
      EXPECT_EQ(e->num, ++Nstuetzele);
    EXPECT_EQ(kl->stuetzele.back()->k2, kl->stuetzpu[f.boffen ? f.p.size() - 1 : 0]) << num;
    // Every contact element joins consecutive nodes, the last of a closed line back to the first.
    for (int i = 0; i < kl->Ne; ++i) {
      EXPECT_EQ(kl->konele[i]->k1, kl->konkno[i].get());
      EXPECT_EQ(kl->konele[i]->k2, kl->konkno[(i + 1) % kl->Nk].get());
    }
  }
  EXPECT_EQ(k.aus.str(), "");
}

TEST(Kontaktlinie, TextFormWithItsSections) {
  Konsolenumleitung k;
  Tmpm mpm;
  knoten(mpm);
  std::vector<unsigned int> p{2, 1};
  const TKontaktlinie* kl = konlin_erzeugen(&mpm, 3, OBJTYP_KNO, KONLINTYP_SPLELE, p);
  ASSERT_NE(kl, nullptr);
  std::ostringstream s;
  s << *kl;
  const VekR t{-1.0, 0.0};
  std::ostringstream tt;
  tt << t;
  EXPECT_EQ(s.str().substr(0, s.str().find("x1=")),
            "konlin(3+), stuetzputyp=kno, konlintyp=splele, boffen=W, Nstuetzk=2, Nstuetze=1, Nk=2, Ne=1\n"
            "Stuetzknoten:\nkno(2+)\nkno(1+)\nStuetzelemente:\nstuetzele(1), k1=kno(2+), k2=kno(1+), ");
  EXPECT_TRUE(enthaelt(s.str(), ", L=" + _str(1.0, 10) + ", t=" + tt.str() + "\nKontaktknoten:\nkonkno, x="));
  EXPECT_TRUE(enthaelt(s.str(), ", stuetzele=1, xik=" + _str(-1.0, 10) + "\nkonkno, x="));
  EXPECT_TRUE(enthaelt(s.str(), "\nKontaktelemente:\nkonele, x1="));
  EXPECT_TRUE(
      enthaelt(s.str(), ", l1=" + _str(0.5, 10) + ", l2=" + _str(0.5, 10) + ", L=" + _str(1.0, 10) + "\n"));
}
