#include "frame/dateinamen.h"
#include "testhilfe.h"

using namespace MPM;

// The unit square in two elements, nodes 1 to 6 row by row.
TEST(Modelleingabe, SmallMeshIsBuiltWithCountsNumbersAndValues) {
  Modelllauf e(vorlage("input/daten/netz2x1.mpm"));
  Tmpm& m = e.mpm;
  m._eingabe_start();
  EXPECT_EQ(e.k.aus.str(), "Eingabedatei lesen\n");
  EXPECT_EQ(e.k.fehler.str(), "");
  EXPECT_EQ(m.titel, "Netz 2x1");

  // Counts: the point on 103 carries an integration point, every element
  // four integration points with a material point each.
  EXPECT_EQ((std::vector<std::size_t>{m.kno.size(), m.mpu.size(), m.ipu.size()}),
            (std::vector<std::size_t>{6, 9, 9}));

  // Numbers with the offsets 100 (mpu) and 50 (ele).
  EXPECT_NE(m.ele.suchen(51), nullptr);
  EXPECT_NE(m.ele.suchen(52), nullptr);
  EXPECT_EQ(m.mpu.begin()->first, 103);
  EXPECT_EQ(m._maxnum(OBJTYP_MPU), 111u);

  // Values: positions cut to two, the named point reached through the offset,
  // internal variables from the default lists.
  TMaterialpunkt* mp = MPU_Z(m.mpu.suchen(103));
  ASSERT_NE(mp, nullptr);
  EXPECT_EQ(mp->material, m.mat.suchen(2));
  EXPECT_EQ(mp->xa, (TVM::VekR{0.25, 0.25}));
  EXPECT_EQ(mp->zust.u, (TVM::VekR{0.01, -0.02}));
  EXPECT_DOUBLE_EQ(mp->zust.z[1], 2.0);

  EXPECT_EQ(PU_Z(m.kno.suchen(1))->xa, (TVM::VekR{0.0, 0.0}));
  for (int n : {1, 2, 3})
    EXPECT_EQ(PU_Z(m.kno.suchen(n))->zust.ut, (TVM::VekR{1.0, 2.0})) << n;
  EXPECT_EQ(PU_Z(m.kno.suchen(6))->zust.u, (TVM::VekR{0.1, 0.2}));
  EXPECT_EQ(PU_Z(m.kno.suchen(5))->zust.z, TVM::VekR(TDimensionen::maxNz, 1.0));
  EXPECT_TRUE(KNO_Z(m.kno.suchen(3))->bbewerzw);

  // Output selection: node 500 does not exist.
  EXPECT_EQ(m.Nausdat[OBJTYP_KNO], 3);
  EXPECT_TRUE(m.ele.suchen(52)->bausgewaehlt);

  // Control-log reports in their order.
  const std::string ktr = e.k.kontroll.str();
  EXPECT_EQ(ktr.rfind("Gleitkommazahlgenauigkeit\n", 0), 0u);
  std::size_t pos = 0;
  for (const char* text :
       {"STEUERWERTE\n", "\nErzeugung von Materialpunkten, Integrationspunkten und Knoten abgeschlossen\n",
        "\nMaterialpunkte: Anzahl=9\nmpu(103+), erz=mpu", "\nKontaktlinien: Anzahl=0\n"}) {
    const std::size_t neu = ktr.find(text, pos);
    ASSERT_NE(neu, std::string::npos) << text;
    pos = neu;
  }
}

// Every refusal of the object factories (records in file order, keywords in
// reading order) with its message; the refused records leave nothing behind.
TEST(Modelleingabe, RefusedRecordsLeaveTheirErrorLines) {
  Modelllauf e(vorlage("input/daten/abgelehnt.mpm"), "w\n"); // the closed line of one point asks
  Tmpm& m = e.mpm;
  m._eingabe_start();
  EXPECT_EQ(e.k.fehler.str(), vorlage("input/golden/abgelehnt.flr.txt"));
  EXPECT_EQ((std::vector<std::size_t>{m.mat.size(), m.eletyp.size(), m.mpu.size(), m.kno.size(), m.ele.size(),
                                      m.ipu.size(), m.pla.size(), m.konlin.size()}),
            (std::vector<std::size_t>{1, 3, 5, 5, 1, 5, 1, 3}));
  ASSERT_NE(m.konlin.suchen(1), nullptr); // the line of the two nodes that exist
  EXPECT_EQ(KONLIN_Z(m.konlin.suchen(1))->Nstuetzk, 2);
  EXPECT_EQ(ELE_Z(m.ele.suchen(4))->knox[2]->num, 3u); // element 3 with the offset 1, not its duplicate
  EXPECT_DOUBLE_EQ(PU_Z(m.kno.suchen(1))->xa[0], 0.0); // the duplicate left the first node
  EXPECT_EQ(PU_Z(m.mpu.suchen(1))->vola, 0.25);
}

TEST(Modelleingabe, HugeOffsetsAndNumbersDoNotBreakTheInput) {
  // An mpu offset beyond the int range (line 2), an element offset that overflows with element 1.
  Modelllauf e(vorlage("input/daten/offsets.mpm"), "w\n");
  e.mpm._eingabe_start();
  EXPECT_EQ(e.k.fehler.str(), th::golden("input/golden/meldungen.txt", "offsets.flr"));
  EXPECT_EQ(e.mpm.stw.mpunumplus, 0u);
  EXPECT_NE(e.mpm.mpu.suchen(4), nullptr);
  EXPECT_TRUE(e.mpm.ele.empty());
  EXPECT_EQ(e.k.aus.str(), "Eingabedatei lesen\nWARNUNG: belenutzen && keine Elemente\n" + th::frage);
}

TEST(Modelleingabe, MissingNodesAndElementsAskTheStopQuestion) {
  {
    Modelllauf e("mat 1, 1\n", "x\n");
    EXPECT_THROW(e.mpm._eingabe_start(), int); // the stop code: tests/frame/test_meldung.cpp
    EXPECT_EQ(e.k.aus.str() + "\n", th::golden("input/golden/meldungen.txt", "keine Knoten.aus"));
  }
  // Going on: an empty title falls back to the input file name.
  Modelllauf e("stw_berechverf W,W,W, F,F,F\nmat 1, 1\n", "w\nw\n");
  e.mpm._eingabe_start();
  EXPECT_EQ(e.mpm.titel, dateien.basisname() + ".mpm");
}

TEST(Modelleingabe, UniqueOutputNumbers) {
  Konsolenumleitung k;
  Tmpm m;
  for (const auto& [ot, n] :
       {std::pair{OBJTYP_KNO, 150u}, {OBJTYP_MPU, 480u}, {OBJTYP_ELE, 12u}, {OBJTYP_IPU, 64u}})
    m._maxnum(ot) = n;
  m.delta_num[OBJTYP_KNO] = 5;
  // The shifts (mpu 1000, ipu 10000) as the control log shows them.
  EXPECT_TRUE(m._eindeutige_nummern());
  EXPECT_EQ(k.kontroll.str(), vorlage("input/golden/nummern.kt1.txt"));

  // Numbers too large for distinct shifts in the int range: no shift, a message.
  m._maxnum(OBJTYP_KNO) = 2000000000u;
  EXPECT_FALSE(m._eindeutige_nummern());
  EXPECT_EQ(m._delta_num(OBJTYP_IPU), 0);
  EXPECT_EQ(k.fehler.str(), th::golden("input/golden/meldungen.txt", "nummern.flr"));
}
