#include <cstdlib>

#include "input/gmshimport.h"
#include "testhilfe.h"

using GMSH::TGmshnetz;

namespace {
// The mesh of `text`, which must be read (ok) or refused with no elements
// left; the reason of a refusal in `fehler`.
TGmshnetz gelesen(const std::string& text, bool ok = true, std::string* fehler = nullptr) {
  TGmshnetz netz;
  std::istringstream ein(text);
  std::string f;
  EXPECT_EQ(netz.lesen(ein, fehler ? *fehler : f), ok) << f;
  EXPECT_TRUE(ok || netz.elemente.empty());
  return netz;
}

} // namespace

TEST(GmshImport, Format22LinesOfTheModelWithTurnedElementsAndGroups) {
  // Element 3 runs clockwise; element 4 is repeated for a second physical group, as format 2.2
  // writes it; node 8 belongs to no plane element.
  std::ostringstream aus;
  gelesen(vorlage("input/daten/klein22.msh")).schreiben(aus, "klein.msh");
  EXPECT_EQ(aus.str(), vorlage("input/golden/gmsh22.mpm"));
}

TEST(GmshImport, Format41EntitiesGroupsAndTurnedNineNodeElement) {
  // A clockwise 9-node element on [0,2]^2 listed corners (0,0), (0,2), (2,2), (2,0); its edge and
  // centre nodes follow that order. 14 nodes on a physical line "oben" (entity 1 of dimension 1).
  const TGmshnetz netz = gelesen(vorlage("input/daten/neun41.msh"));
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

// Case i of input/daten/gmsh_fehler.msh gives line i of the golden file: a
// file of another kind, binary and version 4, a volume element, a 6-node
// triangle, an unknown type, a missing node, a node off the plane, a turned
// element, no plane elements, a repeated element; counts beyond the file end
// stop at its end, and a cut file is named.
TEST(GmshImport, RefusalsNameTheReason) {
  std::string meldungen;
  for (int i = 1; i <= 13; ++i) {
    std::string text = th::golden("input/daten/gmsh_fehler.msh", std::to_string(i));
    if (i == 13) text.pop_back(); // cut inside a line
    std::string fehler;
    gelesen(text, false, &fehler);
    meldungen += fehler + "\n";
  }
  EXPECT_EQ(meldungen, vorlage("input/golden/gmsh_fehler.txt"));
}

// The real mesher on a plate 2 x 1 with a hole of radius 0.25 in its middle, in both formats and
// every element kind, read by the program's model input.
TEST(GmshImport, PlateWithHoleMeshedByGmshRunsInTheProgram) {
  if (std::system("command -v gmsh > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "gmsh fehlt (Debian-Paket gmsh): Netzimport mit Gmsh nicht geprueft";
  Tempordner o;
  o.schreiben("platte.geo", vorlage("input/daten/platte.geo"));
  // Gmsh options and the node count of the elements they give.
  const std::string v = " -setnumber h 0.4 -string 'Mesh.RecombineAll=1; Mesh.RecombinationAlgorithm=3;";
  const std::string optionen[] = {"msh41 -order 1",
                                  "msh22 -order 1" + v + "'",
                                  "msh22 -order 2" + v + " Mesh.SecondOrderIncomplete=1;'",
                                  "msh41 -order 2" + v + "'",
                                  "msh41 -order 3" + v + " Mesh.SecondOrderIncomplete=1;'",
                                  "msh22 -order 3" + v + "'"};
  const int knotenzahl[] = {3, 4, 8, 9, 12, 16};
  const double loch = std::acos(-1.0) * 0.0625;
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(optionen[i]);
    const std::string befehl = "cd '" + o.pfad().string() + "' && gmsh -2 platte.geo -format " + optionen[i] +
                               " -o platte.msh > gmsh.txt 2>&1 && '" MPM_GMSH_BINARY
                               "' platte.msh > netz.mpm 2> fehler.txt";
    ASSERT_EQ(std::system(befehl.c_str()), 0) << datei_lesen(o.datei("fehler.txt"));
    const std::string netz = datei_lesen(o.datei("netz.mpm"));

    // The groups give the supports and the load of a static tension run: one line per list.
    std::string modell = "stw_zeitschrittverf implizit\nstw_strafverf F\nstw_m F\nstw_t 0., 1., 1.\n"
                         "mat 1, 1, (7850., 2.1e11, 0.3, 0.)\n";
    int nummer = 0;
    const char* lasten[][3] = {{"links", "verschiebung", "0., kon, (0., 2.), (0.)"},
                               {"ecke", "verschiebung", "90., kon, (0., 2.), (0.)"},
                               {"rechts", "kraft", "0., kon, (0., 2.), (1.e5)"}};
    for (const auto& l : lasten) {
      const size_t p = netz.find("! Gruppe \"" + std::string(l[0]) + "\"");
      ASSERT_NE(p, std::string::npos) << l[0];
      for (size_t a = netz.find("\n", p) + 1; netz.compare(a, 5, "!   (") == 0; a = netz.find("\n", a) + 1)
        modell += "punktlast " + std::to_string(++nummer) + ", kno, " + l[1] + ", " +
                  netz.substr(a + 4, netz.find("\n", a) - a - 4) + ", " + l[2] + "\n";
    }
    EXPECT_GE(nummer, 3);

    // Every element is taken (det J > 0 at its integration points) with its node count, and the
    // volumes det J w of the integration points sum to the plate less the hole: straight edges on
    // the circle leave at most 0.02 of the hole's area uncovered, curved ones far less. The run
    // goes on the straight and on one curved kind.
    Modelllauf l(modell + netz);
    MPM::Tmpm& m = l.mpm;
    if (knotenzahl[i] == 3 || knotenzahl[i] == 9)
      EXPECT_TRUE(m._steuerung());
    else
      m._eingabe_start();
    EXPECT_EQ(l.k.fehler.str(), "");
    ASSERT_EQ(static_cast<int>(m.ele.size()), th::anzahl(netz, "\nele "));
    for (const auto& e : m.ele)
      EXPECT_EQ(static_cast<int>(MPM::ELE_Z(e.second)->knox.size()), knotenzahl[i]);
    double volumen = 0.0;
    for (const auto& ip : m.ipu)
      volumen += MPM::PU_Z(ip.second)->vol0;
    EXPECT_GT(volumen, 2.0 - loch - (knotenzahl[i] <= 4 ? 0.0 : 1e-3));
    EXPECT_LT(volumen, 2.0 - loch + (knotenzahl[i] <= 4 ? 0.02 : 1e-3));
  }
}
