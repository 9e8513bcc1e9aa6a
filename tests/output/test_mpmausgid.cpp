// GiD files, and the Tecplot and Maple files of the same small run.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "frame/mix.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"
#include "output/mpmaus.h"
#include "solver/mpm.h"
#include "testhilfe.h"

using namespace MPM;
using namespace th;
using TVM::VekR;

namespace {
std::string n10(int n) {
  return _str(n, 10);
}
std::string xy(double x, double y) {
  return _str(x, 10) + " " + _str(y, 10);
}

// One scalar result block of step 1 over the two material points.
std::string skalar(const std::string& name, const std::string& w11, const std::string& w12,
                   const char* ende = "\n\n") {
  return "result \"" + name + "\"  \"Scherung\" 1  scalar  onnodes\ncomponentnames \"" + name +
         "\"\nvalues\n" + n10(11) + " " + w11 + "\n" + n10(12) + " " + w12 + "\nend values\n" + ende;
}

// Simple shear by prescribed displacements of every node: u1 = 0.1 t y,
// u2 = 0, so every strain is eps12 = 0.05 t (tensor component) and the
// stress sig12 = E / (1 + nu) eps12 = 80 eps12. A quadrilateral and a
// triangle with one integration point each carry the material points 1 at
// (0.5, 0.5) and 2 at (4/3, 1/3). Two static steps of 0.5, output at both.
const char* const scherung = R"(titel "Scherung"
aus_dat_gid W
aus_dat_tecpl W
aus_dat_maple W
stw_zeitschrittverf implizit
stw_t 0., 1., 0.5
stw_m F
stw_strafverf F
stw_t_aus_dat W
mat 1, 1, (1., 100., 0.25, 0.)
eletyp 1, Viereck, Lagro1, Lagro1, Gauss, 1
eletyp 2, Dreieck, Lagro1, Lagro1, Gauss, 1
kno 1, 1, 0., (0., 0.)
kno 2, 1, 0., (1., 0.)
kno 3, 1, 0., (1., 1.)
kno 4, 1, 0., (0., 1.)
kno 5, 1, 0., (2., 0.)
ele 1, 1, 1, (1, 2, 3, 4)
ele 2, 1, 2, (2, 5, 3)
punktlast 1, kno, verschiebung, (1, 2, 3, 4, 5), 90., kon, (0., 9.), (0.)
punktlast 2, kno, verschiebung, (1, 2, 5), 0., kon, (0., 9.), (0.)
punktlast 3, kno, verschiebung, (3, 4), 0., lin, (0., 2.), (0., 0.2)
)";
} // namespace

TEST(GiD, WithTecplotAndMapleFilesOfASmallRunLineByLine) {
  Testlauf lauf(scherung);
  Konsolenumleitung k;
  Tmpm mpm;
  ASSERT_TRUE(mpm._steuerung());
  ASSERT_EQ(lauf.lesen("flr.txt"), "");
  // Largest node number 5: material points are shifted by 10. The meshes
  // and the Tecplot file with the current positions and the stored strains.
  for (const char* datei : {"gid.mpu.msh", "gid.ele.msh", "tpl"})
    EXPECT_EQ(lauf.lesen(datei), golden("output/golden/scherung.txt", datei)) << datei;

  // Results of the second step: tensor shear 0.05 (stored: sqrt 2 times that), u1 = 0.1 y.
  const std::string erg = lauf.lesen("gid.mpu.res");
  EXPECT_EQ(
      erg.rfind("GiD Post Results File 1.0\n\n\n#********** Zeitschritt tt=0, ttges=0 **********\n\n\n", 0),
      0u);
  EXPECT_TRUE(
      enthaelt(erg, "#********** Zeitschritt tt=1, ttges=1 **********\n\n\nresult \"u_netz \"  \"Scherung\" 1"
                    "  vector  onnodes\ncomponentnames \"u_netz_1\", \"u_netz_2\"\nvalues\n" +
                        n10(11) + " " + xy(0.05, 0) + "\n" + n10(12) + " " + xy(0.1 / 3.0, 0) +
                        "\nend values\n\n\nresult \"u \"  \"Scherung\" 1  vector  onnodes\n"));
  EXPECT_TRUE(enthaelt(erg, skalar("epsilon2", "0", "0", "\n") + skalar("epsilon3", "0.05", "0.05", "\n") +
                                skalar("sigma1", "0", "0")));
  const std::string eins = _str(1.0, 10), null = _str(0.0, 10);
  EXPECT_TRUE(enthaelt(erg, skalar("sigma3", "4", "4") + skalar("vol0", eins, _str(0.5, 10)) +
                                skalar("wsumkno", eins, eins) + skalar("wsummpu", null, null) +
                                skalar("NLkno", n10(4), n10(3)) + skalar("NLpu", n10(0), n10(0)) +
                                skalar("Ngkno", n10(0), n10(0))));
  EXPECT_TRUE(enthaelt(erg, skalar("gkontakt", null, null) + "result \"z1 \"  \"Scherung\" 1  scalar"));
  // Nodes after the material points in the element results, then six force blocks.
  const std::string knotenerg = lauf.lesen("gid.ele.res");
  EXPECT_TRUE(enthaelt(knotenerg, n10(12) + " " + xy(0.1 / 3.0, 0) + "\n" + n10(1) + " " + xy(0, 0) + "\n" +
                                      n10(2) + " " + xy(0, 0) + "\n" + n10(3) + " " + xy(0.1, 0) + "\n"));
  std::size_t pos = knotenerg.rfind("ttges=1");
  for (const char* f : {"fint", "fc", "fckon", "fext", "fm", "fa"}) {
    pos = knotenerg.find("\nresult \"" + std::string(f) +
                             " \"  \"Scherung\" 1  vector  onnodes\ncomponentnames \"" + f + "1\", \"" + f +
                             "2\"\n",
                         pos);
    EXPECT_NE(pos, std::string::npos) << f;
  }

  // Maple: the record of the second step (the velocities are the run's last).
  const std::string maple = lauf.lesen("mpl");
  const auto v = [&](int n) { return _str(MPU_Z(mpm.mpu.suchen(n))->zust.ut, 10); };
  const std::string ep = xy(0, 0) + " " + _str(0.05, 10) + " " + xy(0, 0) + " " + _str(4.0, 10) + " 1\n";
  std::string satz = n10(1) + " " + eins + "\n2\n1 " + xy(0.55, 0.5) + " " + v(1) + " " + ep + "2 " +
                     xy(4.0 / 3.0 + 0.1 / 3.0, 1.0 / 3.0) + " " + v(2) + " " + ep + "5\n";
  for (const auto& [n, x, y] :
       std::vector<std::tuple<int, double, double>>{{1, 0, 0}, {2, 1, 0}, {3, 1, 1}, {4, 0, 1}, {5, 2, 0}})
    satz += std::to_string(n) + " " + xy(x, y) + " 1\n";
  EXPECT_EQ(maple.substr(maple.find("\n         1 ") + 1), satz + "2\n1\n1\n4 1 2 3 4\n3 2 5 3\n");
  EXPECT_EQ(TVM::TVekMat::format(), 2) << "the vector printer's format is restored";
}

TEST(GiD, SwitchedOffOrRenewedMeshAndPointsWithoutElements) {
  Testlauf lauf("");
  Konsolenumleitung k("x\n");
  Tmpm mpm;
  ASSERT_NE(_material_erzeugen(&mpm, 1, 1, {1.0, 100.0, 0.25, 0.0}), nullptr);
  for (int n : {1, 2}) {
    knoten(mpm, n + 6, n, 0.0);
    materialpunkt(mpm, n, n, 1.0);
  }
  mpm.bausdat = mpm.bkonkontr = mpm.bkonv = mpm.bmatkonv = true;
  const std::string null6 = xy(0, 0) + " " + _str(0.0, 10) + " " + xy(0, 0) + " " + _str(0.0, 10);
  mpm._ausgabe(ZEITPU_STARTWERTE);
  mpm._ausgabe(ZEITPU_ZEITSCHRITTENDE);
  for (const char* endung : {"gid.mpu.msh", "gid.ele.msh", "gid.mpu.res", "gid.ele.res"})
    EXPECT_EQ(lauf.lesen(endung), "") << endung;

  // A support point of a contact line has coordinates but no element.
  mpm.bausdat_gid = true;
  PU_Z(mpm.mpu.suchen(1))->bkontaktpunkt = true;
  mpm._ausgabe(ZEITPU_STARTWERTE);
  EXPECT_TRUE(
      enthaelt(lauf.lesen("gid.mpu.msh"), "Punktnummer\n" + n10(12) + " " + n10(12) + "\nend elements\n"));
  // Without element approximations the mesh has the coordinates and the
  // contact lines only; node 7 is written right-aligned in 10 characters.
  mpm.stw.ansatz_knou_zu_pu = ANSATZ_WOLKEN;
  const std::size_t alt = lauf.lesen("gid.ele.msh").size();
  mpm._ausgabe_gid_ele_msh(DATEI_GID_ELE_MSH);
  EXPECT_TRUE(
      enthaelt(lauf.lesen("gid.ele.msh").substr(alt),
               "#Knotennummer, x01, x02\n         7 " + xy(1, 0) + "\n" + n10(8) + " " + xy(2, 0) +
                   "\nend coordinates\n\n\nMESH dimension 2 elemtype linear nnode 2\n\n\nelements\n"
                   "#2-Knoten-Linienelemente\n#Elementnummer, Knoten 1, Knoten 2\nend elements\n\n\n"));

  // Results of all point types (integration points come with the material
  // points) name each point by its shifted number.
  EXPECT_TRUE(mpm._ausgabe_gid_pu_res(DATEI_GID_IPU_RES, true, true, true));
  EXPECT_TRUE(enthaelt(lauf.lesen("gid.ipu.res"),
                       "values\n" + n10(11) + " 0\n" + n10(12) + " 0\n" + n10(101) + " 0\n" + n10(102) +
                           " 0\n" + n10(7) + " 0\n" + n10(8) + " 0\nend values\n\nresult \"epsilon2\""));
  EXPECT_FALSE(mpm._ausgabe_gid_pu_msh(DATEI_GID_IPU_MSH, OBJTYP_ELE));

  // An inactive material point keeps its Maple line, with status 0.
  mpm.bausdat_maple = true;
  mpm.mpu.suchen(2)->status = OBJSTATUS_INAKTIV;
  mpm._ausgabe(ZEITPU_ZEITSCHRITTENDE);
  EXPECT_TRUE(enthaelt(lauf.lesen("mpl"), "\n2\n1 " + xy(1, 1) + " " + xy(0, 0) + " " + null6 + " 1\n2 " +
                                              xy(2, 1) + " " + xy(0, 0) + " " + null6 + " 0\n2\n7 "));

  // A renewed mesh stops the run before any mesh is written.
  mpm.bnetzneu = true;
  const std::string vorher = lauf.lesen("gid.mpu.msh");
  EXPECT_THROW(mpm._ausgabe_gid(ZEITPU_STARTWERTE), int);
  EXPECT_TRUE(enthaelt(k.aus.str(),
                       "FEHLER in <bool Tmpm::_ausgabe_gid(AUSGABE ausg)>: bnetzneu==true\nFuer ABBRUCH"));
  EXPECT_EQ(lauf.lesen("gid.mpu.msh"), vorher);
  EXPECT_EQ(TVM::TVekMat::format(), 2);
}

// A unit square of four material points resting on the floor line 1 of the
// free nodes 11 and 12 (p0 = 1e7, weight 9810 N): each bottom node carries
// 4905 N at the gap -4.905e-4. Line 2 runs through the material points 1 and 2.
TEST(GiD, ContactLinesGapsAndContactForces) {
  Testlauf lauf("titel \"Kontakt\"\naus_dat_gid W\nstw_zeitschrittverf implizit\nstw_t 0., 1., 1.\nstw_m F\n"
                "stw_strafverf F\nstw_bilanzit 20, 1.e-12\nstw_kontakt W, 0.01, (1.e7)\n"
                "mat 1, 1, (1000., 1.e6, 0.3, 0.)\neletyp 1, Viereck, Lagro1, Lagro1, Leer, 0\n"
                "kno 1, 1, 0., (0., -0.001)\nkno 2, 1, 0., (1., -0.001)\nkno 3, 1, 0., (1., 0.999)\n"
                "kno 4, 1, 0., (0., 0.999)\nkno 11, 1, 0., (2., 0.)\nkno 12, 1, 0., (-1., 0.)\n"
                "ele 1, 1, 1, (1, 2, 3, 4)\nmpu 1, 1, 0.25, (0.25, 0.249)\nmpu 2, 1, 0.25, (0.75, 0.249)\n"
                "mpu 3, 1, 0.25, (0.25, 0.749)\nmpu 4, 1, 0.25, (0.75, 0.749)\n"
                "punktlast 1, mpu, beschleunigung, (1, 2, 3, 4), 270., kon, (0., 9.), (9.81)\n"
                "punktlast 2, kno, verschiebung, (1), 0., kon, (0., 9.), (0.)\n"
                "konlin 1, kno, splkno, (11, 12)\nkonlin 2, mpu, splele, (1, 2)\n");
  Konsolenumleitung k;
  Tmpm mpm;
  ASSERT_TRUE(mpm._steuerung());
  ASSERT_EQ(lauf.lesen("flr.txt"), "");
  // Material points are shifted by 100; their support points have no point element.
  const std::string netz = lauf.lesen("gid.ele.msh");
  EXPECT_TRUE(enthaelt(netz, "#2-Knoten-Linienelemente\n#Elementnummer, Knoten 1, Knoten 2\n" + n10(1) + " " +
                                 n10(11) + " " + n10(12) + "\n" + n10(2) + " " + n10(101) + " " + n10(102) +
                                 "\nend elements\n"));
  const std::string punktelemente = "Punktnummer, GID-Knotennummer=Punktnummer\n";
  EXPECT_TRUE(enthaelt(lauf.lesen("gid.mpu.msh"), punktelemente + n10(103) + " " + n10(103) + "\n" +
                                                      n10(104) + " " + n10(104) + "\nend elements\n"));

  const std::string erg = lauf.lesen("gid.ele.res"), null = _str(0.0, 10), g = _str(-4.905e-4, 10);
  std::string werte = "componentnames \"gkontakt\"\nvalues\n";
  for (int n : {101, 102, 103, 104})
    werte += n10(n) + " " + null + "\n";
  for (const auto& [n, w] : std::vector<std::pair<int, std::string>>{{1, g},
                                                                     {2, g},
                                                                     {3, _str(0.01, 10)},
                                                                     {4, _str(0.01, 10)},
                                                                     {11, _str(0.01, 10)},
                                                                     {12, _str(0.01, 10)}})
    werte += n10(n) + " " + w + "\n";
  EXPECT_TRUE(enthaelt(erg, werte + "end values\n")) << erg;
  EXPECT_TRUE(enthaelt(erg, "componentnames \"fckon1\", \"fckon2\"\nvalues\n" + n10(1) + " " + xy(0, 4905) +
                                "\n" + n10(2) + " " + xy(0, 4905) + "\n" + n10(3) + " " + xy(0, 0) + "\n"));
}
