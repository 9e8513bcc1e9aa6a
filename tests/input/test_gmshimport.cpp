#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "element/eleans.h"
#include "element/eledefs.h"
#include "element/eleipu.h"
#include "element/eletyp.h"
#include "input/dateinaus.h"
#include "input/gmshimport.h"
#include "testhilfe.h"

using GMSH::TGmshnetz;

namespace {
const std::string kopf22 = "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n";

std::string fehler_von(const std::string& text) {
  TGmshnetz netz;
  std::istringstream ein(text);
  std::string fehler;
  EXPECT_FALSE(netz.lesen(ein, fehler));
  EXPECT_TRUE(netz.elemente.empty());
  return fehler;
}

// Nodes 1 (0,0), 2 (1,0), 3 (1,1), 4 (0,1) in format 2.2, then the given element lines.
std::string quadrat22(const std::string& elemente, const std::string& z3 = "0") {
  int n = 0;
  for (char c : elemente)
    n += c == '\n';
  return kopf22 + "$Nodes\n4\n1 0 0 0\n2 1 0 0\n3 1 1 " + z3 + "\n4 0 1 0\n$EndNodes\n$Elements\n" +
         std::to_string(n) + "\n" + elemente + "$EndElements\n";
}
} // namespace

TEST(GmshImport, Format22LinesOfTheModelWithTurnedElementsAndGroups) {
  // Element 3 runs clockwise; element 4 is repeated for a second physical group, as format 2.2
  // writes it; node 8 belongs to no plane element.
  const std::string msh = vorlage("input/daten/klein22.msh");
  TGmshnetz netz;
  std::istringstream ein(msh);
  std::string fehler;
  ASSERT_TRUE(netz.lesen(ein, fehler)) << fehler;
  std::ostringstream aus;
  netz.schreiben(aus, "klein.msh");
  EXPECT_EQ(aus.str(), vorlage("input/golden/gmsh22.mpm"));
}

TEST(GmshImport, Format41EntitiesGroupsAndTurnedNineNodeElement) {
  // A clockwise 9-node element on [0,2]^2 listed corners (0,0), (0,2), (2,2), (2,0); its edge and
  // centre nodes follow that order. 14 nodes on a physical line "oben" (entity 1 of dimension 1).
  const std::string msh = vorlage("input/daten/neun41.msh");
  TGmshnetz netz;
  std::istringstream ein(msh);
  std::string fehler;
  ASSERT_TRUE(netz.lesen(ein, fehler)) << fehler;
  EXPECT_EQ(netz.version, "4.1");
  ASSERT_EQ(netz.elemente.size(), 1u);
  EXPECT_EQ(netz.elemente[0].num, 2);
  // Mirrored: corners 1 (0,0), 4 (2,0), 3 (2,2), 2 (0,2); edges (1,0), (2,1), (1,2), (0,1); centre.
  EXPECT_EQ(netz.elemente[0].knoten, (std::vector<int>{1, 4, 3, 2, 8, 7, 6, 5, 9}));
  ASSERT_EQ(netz.gruppen.size(), 1u);
  const TGmshnetz::Tgruppe& oben = netz.gruppen.at({1, 7});
  EXPECT_EQ(oben.name, "oben");
  EXPECT_EQ(oben.knoten, (std::set<int>{2, 3}));
}

TEST(GmshImport, RefusalsNameTheReason) {
  EXPECT_EQ(fehler_von("kno 1, 1, 1., (0, 0)\n"),
            "Zeile 1: keine Gmsh-Datei: sie beginnt nicht mit $MeshFormat");
  EXPECT_EQ(
      fehler_von("$MeshFormat\n2.2 1 8\n$EndMeshFormat\n"),
      "Zeile 2: binaere MSH-Dateien werden nicht unterstuetzt; in Gmsh als ASCII speichern (-format msh41)");
  EXPECT_EQ(fehler_von("$MeshFormat\n4 0 8\n$EndMeshFormat\n"),
            "Zeile 2: MSH-Version 4 wird nicht unterstuetzt, nur 4.1 und 2.2 (Gmsh: -format msh41)");
  EXPECT_EQ(fehler_von(quadrat22("1 4 2 0 1 1 2 3 4\n")),
            "Zeile 13: 3-D-Netz: Volumenelemente (Tetraeder mit 4 Knoten) werden nicht unterstuetzt, nur "
            "ebene Netze");
  EXPECT_EQ(fehler_von(quadrat22("1 9 2 0 1 1 2 3 4 2 3\n")),
            "Zeile 13: Gmsh-Elementtyp 9 (Dreieck mit 6 Knoten) wird nicht unterstuetzt; moeglich sind "
            "Dreiecke mit "
            "3 Knoten und Vierecke mit 4, 8, 9, 12 oder 16 Knoten");
  EXPECT_EQ(fehler_von(quadrat22("1 99 2 0 1 1 2 3 4\n")), "Zeile 13: unbekannter Gmsh-Elementtyp 99");
  EXPECT_EQ(fehler_von(quadrat22("1 3 2 0 1 1 2 3 9\n")), "Element 1 nennt den fehlenden Knoten 9");
  EXPECT_EQ(fehler_von(quadrat22("1 3 2 0 1 1 2 3 4\n", "0.5")),
            "Knoten 3 liegt nicht in der Ebene z = 0 (z = 0.5); nur ebene Netze in der x-y-Ebene werden "
            "unterstuetzt");
  EXPECT_EQ(fehler_von(quadrat22("1 3 2 0 1 1 2 4 3\n")),
            "Element 1 ist entartet oder verzerrt (det J <= 0 an einem Integrationspunkt)");
  EXPECT_EQ(fehler_von(quadrat22("1 1 2 0 1 1 2\n")),
            "keine ebenen Elemente (Dreiecke oder Vierecke) im Netz");
  EXPECT_EQ(fehler_von(quadrat22("1 3 2 0 1 1 2 3 4\n1 3 2 0 1 2 3 4 1\n")),
            "Zeile 14: Elementnummer 1 doppelt");
  // Counts beyond the file end at its end; a cut file is named.
  EXPECT_EQ(fehler_von(kopf22 + "$Nodes\n1000000000000\n1 0 0 0\n$EndNodes\n"),
            "Zeile 7: Knotennummer erwartet, gelesen: \"$EndNodes\"");
  EXPECT_EQ(fehler_von(kopf22 + "$Nodes\n2\n1 0 0 0\n2 1"), "Zeile 7: Dateiende in $Nodes");
}

// The real mesher on a plate 2 x 1 with a hole of radius 0.25 in its middle, in both formats and
// every element kind.
TEST(GmshImport, PlateWithHoleMeshedByGmshRunsInTheProgram) {
  if (std::system("command -v gmsh > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "gmsh fehlt (Debian-Paket gmsh): Netzimport mit Gmsh nicht geprueft";
  Tempordner o;
  o.schreiben("platte.geo", vorlage("input/daten/platte.geo"));
  struct Fall {
    const char* format;
    std::string optionen;
    int eletyp; // = node count
  };
  const std::string viereck =
      " -setnumber h 0.4 -string 'Mesh.RecombineAll=1; Mesh.RecombinationAlgorithm=3;";
  const Fall faelle[] = {
      {"msh41", "-order 1", 3},
      {"msh22", ("-order 1" + viereck + "'"), 4},
      {"msh22", ("-order 2" + viereck + " Mesh.SecondOrderIncomplete=1;'"), 8},
      {"msh41", ("-order 2" + viereck + "'"), 9},
      {"msh41", ("-order 3" + viereck + " Mesh.SecondOrderIncomplete=1;'"), 12},
      {"msh22", ("-order 3" + viereck + "'"), 16},
  };
  const double pi = std::acos(-1.0);
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.optionen);
    const std::string befehl =
        "cd '" + o.pfad().string() + "' && gmsh -2 platte.geo " + f.optionen + " -format " + f.format +
        " -o platte.msh > gmsh.txt 2>&1 && '" MPM_GMSH_BINARY "' platte.msh > netz.mpm 2> fehler.txt";
    ASSERT_EQ(std::system(befehl.c_str()), 0) << datei_lesen(o.datei("fehler.txt"));
    const std::string netz = datei_lesen(o.datei("netz.mpm"));

    // Every element through the program's reader: det J > 0 at its integration points, and the
    // volume det J w summed over them.
    Konsolenumleitung k;
    Tdatein d(o.datei("netz.mpm"));
    ASSERT_EQ(d.zeilenanzahl("eletyp"), 1) << netz.substr(0, 400);
    std::string form, ansx;
    int Nipu = 0, typnum = 0;
    d.eintrag("eletyp", typnum, 1, 1);
    d.eintrag("eletyp", form, 1, 2);
    d.eintrag("eletyp", ansx, 1, 3);
    d.eintrag("eletyp", Nipu, 1, 6);
    EXPECT_EQ(typnum, f.eletyp);
    const ELE::ANSFUNK ans = ELE::_ANSFUNK(ansx.c_str());
    const ELETYP::Tdataset* ds =
        ELETYP::get_datasetptr(ELETYP::Tkey(ELE::DIM_2D, ELE::_FORM(form.c_str()), ans, ans));
    const ELEIPU::Tdataset* regel = ELEIPU::get_datasetptr(
        ELEIPU::Tkey(ELE::DIM_2D, ELE::_FORM(form.c_str()), ELE::IPU_GAUSS, static_cast<unsigned>(Nipu)));
    ASSERT_TRUE(ds && regel);
    ASSERT_EQ(ds->Nx(), f.eletyp);

    std::map<unsigned, std::vector<double>> x;
    for (int i = 1; i <= d.zeilenanzahl("kno"); ++i) {
      unsigned num = 0;
      std::vector<double> x0;
      d.eintrag("kno", num, i, 1);
      d.eintrag("kno", x0, i, 4);
      ASSERT_EQ(x0.size(), 2u);
      x[num] = x0;
    }
    double volumen = 0.0, detJmin = HUGE_VAL;
    for (int i = 1; i <= d.zeilenanzahl("ele"); ++i) {
      std::vector<unsigned> kn;
      d.eintrag("ele", kn, i, 4);
      ASSERT_EQ(kn.size(), static_cast<size_t>(f.eletyp));
      TVM::MatR Xx(2, f.eletyp), J;
      for (int m = 0; m < f.eletyp; ++m) {
        ASSERT_EQ(x.count(kn[m]), 1u);
        Xx[0][m] = x[kn[m]][0];
        Xx[1][m] = x[kn[m]][1];
      }
      for (int p = 0; p < regel->xip.spalten; ++p) {
        ASSERT_TRUE(ds->_J(Xx, TVM::VekR{regel->xip[0][p], regel->xip[1][p]}, J));
        const double detJ = J[0][0] * J[1][1] - J[0][1] * J[1][0];
        detJmin = std::min(detJmin, detJ);
        volumen += detJ * regel->wp[p];
      }
    }
    EXPECT_GT(detJmin, 0.0);
    EXPECT_EQ(k.fehler.str(), "");
    // The plate less the hole: straight edges on the circle leave at most 0.02 of the hole's area
    // uncovered, curved ones far less.
    const double loch = pi * 0.0625;
    EXPECT_GT(volumen, 2.0 - loch - (f.eletyp <= 4 ? 0.0 : 1e-3));
    EXPECT_LT(volumen, 2.0 - loch + (f.eletyp <= 4 ? 0.02 : 1e-3));

    // The groups give the supports and the load of a static tension run: one line per list. The
    // program runs on the straight and on one curved kind.
    if (f.eletyp != 3 && f.eletyp != 9) continue;
    std::string modell = "stw_zeitschrittverf implizit\nstw_strafverf F\nstw_m F\nstw_t 0., 1., 1.\n"
                         "mat 1, 1, (7850., 2.1e11, 0.3, 0.)\n";
    int nummer = 0;
    auto lasten = [&](const std::string& gruppe, const std::string& art, const std::string& richtung,
                      const std::string& wert) {
      const size_t p = netz.find("! Gruppe \"" + gruppe + "\"");
      ASSERT_NE(p, std::string::npos) << gruppe;
      for (size_t a = netz.find("\n", p) + 1; netz.compare(a, 5, "!   (") == 0; a = netz.find("\n", a) + 1)
        modell += "punktlast " + std::to_string(++nummer) + ", kno, " + art + ", " +
                  netz.substr(a + 4, netz.find("\n", a) - a - 4) + ", " + richtung + ", kon, (0., 2.), (" +
                  wert + ")\n";
    };
    lasten("links", "verschiebung", "0.", "0.");
    lasten("ecke", "verschiebung", "90.", "0.");
    lasten("rechts", "kraft", "0.", "1.e5");
    EXPECT_GE(nummer, 3);
    o.schreiben("lauf.mpm", modell + netz);
    const std::string lauf = "cd '" + o.pfad().string() + "' && '" MPM_BINARY "' lauf > konsole.txt 2>&1";
    EXPECT_EQ(std::system(lauf.c_str()), 0);
    EXPECT_EQ(datei_lesen(o.datei("lauf.flr.txt")), "");
    EXPECT_NE(datei_lesen(o.datei("lauf.kt1.txt"))
                  .find("\nElemente: Anzahl=" + std::to_string(d.zeilenanzahl("ele"))),
              std::string::npos);
  }
}
