// GiD files, and the Tecplot and Maple files of the same small run.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "frame/mix.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"
#include "output/mpmaus.h"
#include "solver/mpm.h"
#include "testhilfe.h"

using namespace MPM;
using TVM::VekR;

namespace {
std::string n10(int n) {
  return _str(n, 10);
}
std::string xy(double x, double y) {
  return _str(x, 10) + " " + _str(y, 10);
}

// Checks that the lines appear in the text as whole lines, in this order.
void der_reihe_nach(const std::string& text, const std::vector<std::string>& zeilen) {
  std::istringstream s(text);
  std::string zeile;
  for (const std::string& z : zeilen) {
    bool gefunden = false;
    while (!gefunden && std::getline(s, zeile))
      gefunden = zeile == z;
    ASSERT_TRUE(gefunden) << "missing or out of order: <" << z << ">";
  }
}

std::string anfang(const std::string& text, const std::string& erwartet) {
  return text.substr(0, erwartet.size());
}

// One result block of a scalar over the two material points of the run.
std::string skalarblock(const std::string& name, int schritt, const std::string& w11, const std::string& w12,
                        const std::string& ende = "\n\n") {
  return "result \"" + name + "\"  \"Scherung\" " + std::to_string(schritt) +
         "  scalar  onnodes\ncomponentnames \"" + name + "\"\nvalues\n" + n10(11) + " " + w11 + "\n" +
         n10(12) + " " + w12 + "\nend values\n" + ende;
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
  // Largest node number 5: material points are shifted by 10.
  const std::string punktnetz_kopf = "#titel    =Scherung\n#objtyp   =Materialpunkte\n#delta_num=10\n\n\n"
                                     "MESH dimension 2 elemtype point nnode 1\n\n\n"
                                     "coordinates\n#GID-Knotennummer=Punktnummer, x01, x02\n";
  const std::string punktnetz =
      punktnetz_kopf + n10(11) + " " + xy(0.5, 0.5) + "\n" + n10(12) + " " + xy(4.0 / 3.0, 1.0 / 3.0) +
      "\nend coordinates\n\n\nelements\n#GID-Elementnummer=Punktnummer, "
      "GID-Knotennummer=Punktnummer\n" +
      n10(11) + " " + n10(11) + "\n" + n10(12) + " " + n10(12) + "\nend elements\n\n\n";
  EXPECT_EQ(lauf.lesen("gid.mpu.msh"), punktnetz);

  const std::string netz = lauf.lesen("gid.ele.msh");
  const std::string netzkopf =
      "#titel=Scherung\n#Elementnetz\n\n\nMESH \"Netz1\" dimension 2 elemtype quadrilateral "
      "nnode 4\n\n\ncoordinates\n#Knotenkoordinaten fuer alle Elementtypen\n"
      "#Knotennummer, x01, x02\n" +
      n10(1) + " " + xy(0, 0) + "\n";
  EXPECT_EQ(anfang(netz, netzkopf), netzkopf);
  der_reihe_nach(netz, {n10(5) + " " + xy(2, 0),
                        "end coordinates",
                        "",
                        "",
                        "elements",
                        "#4-Knoten-Viereckselemente",
                        "#Elementnummer, Knoten 1, Knoten 2, Knoten 3, Knoten 4",
                        n10(1) + " " + n10(1) + " " + n10(2) + " " + n10(3) + " " + n10(4),
                        "end elements",
                        "MESH dimension 2 elemtype quadrilateral nnode 8",
                        "end elements",
                        "MESH dimension 2 elemtype quadrilateral nnode 9",
                        "end elements",
                        "MESH dimension 2 elemtype triangle nnode 3",
                        "",
                        "",
                        "elements",
                        "#3-Knoten-Dreieckselemente",
                        "#Elementnummer, Knoten 1, Knoten 2, Knoten 3",
                        n10(2) + " " + n10(2) + " " + n10(5) + " " + n10(3),
                        "end elements",
                        "MESH dimension 2 elemtype triangle nnode 6",
                        "end elements",
                        "MESH dimension 2 elemtype linear nnode 2",
                        "",
                        "",
                        "elements",
                        "#2-Knoten-Linienelemente",
                        "#Elementnummer, Knoten 1, Knoten 2",
                        "end elements",
                        "#titel    =Scherung",
                        "#objtyp   =Materialpunkte",
                        "#titel    =Scherung",
                        "#objtyp   =Knoten",
                        "#delta_num=0"});
  EXPECT_NE(netz.find(punktnetz), std::string::npos);
  const std::string netzende = n10(5) + " " + n10(5) + "\nend elements\n\n\n";
  EXPECT_EQ(netz.substr(netz.size() - netzende.size()), netzende);

  // Results: tensor shear 0.05 t (stored: sqrt 2 times that), u1 = 0.1 t y.
  const std::string erg = lauf.lesen("gid.mpu.res");
  const std::string ergkopf =
      "GiD Post Results File 1.0\n\n\n#********** Zeitschritt tt=0, ttges=0 **********\n\n\n"
      "result \"u_netz \"  \"Scherung\" 0  vector  onnodes\n";
  EXPECT_EQ(anfang(erg, ergkopf), ergkopf);
  EXPECT_NE(
      erg.find("#********** Zeitschritt tt=1, ttges=1 **********\n\n\nresult \"u_netz \"  \"Scherung\" 1  "
               "vector  onnodes\ncomponentnames \"u_netz_1\", \"u_netz_2\"\nvalues\n" +
               n10(11) + " " + xy(0.05, 0) + "\n" + n10(12) + " " + xy(0.1 / 3.0, 0) + "\nend values\n\n\n"),
      std::string::npos);
  const std::string schritt2 = erg.substr(erg.find("tt=1"));
  EXPECT_NE(schritt2.find(skalarblock("epsilon2", 1, "0", "0", "\n") +
                          skalarblock("epsilon3", 1, "0.05", "0.05", "\n") +
                          skalarblock("sigma1", 1, "0", "0")),
            std::string::npos);
  EXPECT_NE(schritt2.find(skalarblock("sigma3", 1, "4", "4") +
                          skalarblock("vol0", 1, _str(1.0, 10), _str(0.5, 10)) +
                          skalarblock("wsumkno", 1, _str(1.0, 10), _str(1.0, 10)) +
                          skalarblock("wsummpu", 1, _str(0.0, 10), _str(0.0, 10)) +
                          skalarblock("NLkno", 1, n10(4), n10(3)) + skalarblock("NLpu", 1, n10(0), n10(0))),
            std::string::npos);
  EXPECT_NE(schritt2.find(skalarblock("gkontakt", 1, _str(0.0, 10), _str(0.0, 10)) +
                          "result \"z1 \"  \"Scherung\" 1"),
            std::string::npos);
  // Nodes after the material points in the element results, then six force blocks.
  const std::string knotenerg = lauf.lesen("gid.ele.res");
  der_reihe_nach(knotenerg.substr(knotenerg.find("tt=1")),
                 {"result \"u \"  \"Scherung\" 1  vector  onnodes", n10(12) + " " + xy(0.1 / 3.0, 0),
                  n10(3) + " " + xy(0.1, 0), "result \"fint \"  \"Scherung\" 1  vector  onnodes",
                  "componentnames \"fint1\", \"fint2\"", "result \"fc \"  \"Scherung\" 1  vector  onnodes",
                  "result \"fckon \"  \"Scherung\" 1  vector  onnodes"});
  std::string fext =
      "result \"fext \"  \"Scherung\" 1  vector  onnodes\ncomponentnames \"fext1\", \"fext2\"\nvalues\n";
  for (int n = 1; n <= 5; ++n)
    fext += n10(n) + " " + xy(0, 0) + "\n";
  EXPECT_NE(knotenerg.find(fext + "end values\n\n\nresult \"fm \"  \"Scherung\" 1  vector  onnodes\n"),
            std::string::npos);
  EXPECT_NE(
      knotenerg.find("result \"fa \"  \"Scherung\" 1  vector  onnodes\ncomponentnames \"fa1\", \"fa2\"\n"),
      std::string::npos);

  // Tecplot: both zones, current positions and the stored strains.
  const std::string e3 = " " + _str(0.0, 10) + " " + _str(0.0, 10) + " ";
  EXPECT_EQ(lauf.lesen("tpl"),
            "TITLE = \"Scherung\"\nVARIABLES =\"X\", \"Y\", \"eps1\", \"eps2\", \"eps12\"\n"
            "ZONE T=\"0.5\", F=FEPOINT, N=2, E=0, ET=QUADRILATERAL\n" +
                xy(0.525, 0.5) + e3 + _str(0.025 * std::sqrt(2.0), 10) + " \n" +
                xy(4.0 / 3.0 + 0.1 / 6.0, 1.0 / 3.0) + e3 + _str(0.025 * std::sqrt(2.0), 10) +
                " \n\nZONE T=\"1\", F=FEPOINT, N=2, E=0, "
                "ET=QUADRILATERAL, D=(FECONNECT)\n" +
                xy(0.55, 0.5) + e3 + _str(0.05 * std::sqrt(2.0), 10) + " \n" +
                xy(4.0 / 3.0 + 0.1 / 3.0, 1.0 / 3.0) + e3 + _str(0.05 * std::sqrt(2.0), 10) + " \n");

  // Maple: the record of the second step (the velocities are the run's last).
  const std::string maple = lauf.lesen("mpl");
  const auto v = [&](int n) { return _str(MPU_Z(mpm.mpu.suchen(n))->zust.ut, 10); };
  const std::string ep = xy(0, 0) + " " + _str(0.05, 10) + " " + xy(0, 0) + " " + _str(4.0, 10);
  EXPECT_EQ(maple.substr(maple.find("\n         1 ") + 1),
            n10(1) + " " + _str(1.0, 10) + "\n2\n1 " + xy(0.55, 0.5) + " " + v(1) + " " + ep + " 1\n2 " +
                xy(4.0 / 3.0 + 0.1 / 3.0, 1.0 / 3.0) + " " + v(2) + " " + ep + " 1\n5\n1 " + xy(0, 0) +
                " 1\n2 " + xy(1, 0) + " 1\n3 " + xy(1, 1) + " 1\n4 " + xy(0, 1) + " 1\n5 " + xy(2, 0) +
                " 1\n2\n1\n1\n"
                "4 1 2 3 4\n3 2 5 3\n");
  EXPECT_EQ(TVM::TVekMat::format(), 2) << "the vector printer's format is restored";
}

TEST(GiD, SwitchedOffOrRenewedMeshAndPointsWithoutElements) {
  Testlauf lauf("");
  Konsolenumleitung k("x\n");
  Tmpm mpm;
  ASSERT_NE(_material_erzeugen(&mpm, 1, 1, {1.0, 100.0, 0.25, 0.0}), nullptr);
  const VekR leer;
  for (int n : {1, 2}) {
    kno_erzeugen(&mpm, n + 6, 1, 1.0, VekR{1.0 * n, 0.0}, leer, leer, leer, leer, 0);
    VekR x{1.0 * n, 1.0};
    mpu_erzeugen(&mpm, n, 1, 1.0, x, leer, leer, leer, leer, 0);
  }
  mpm.bausdat = mpm.bkonkontr = mpm.bkonv = mpm.bmatkonv = true;
  mpm._ausgabe(ZEITPU_STARTWERTE);
  mpm._ausgabe(ZEITPU_ZEITSCHRITTENDE);
  for (const char* endung : {"gid.mpu.msh", "gid.ele.msh", "gid.mpu.res", "gid.ele.res"})
    EXPECT_EQ(lauf.lesen(endung), "") << endung;

  // A support point of a contact line has coordinates but no element.
  mpm.bausdat_gid = true;
  PU_Z(mpm.mpu.suchen(1))->bkontaktpunkt = true;
  mpm._ausgabe(ZEITPU_STARTWERTE);
  EXPECT_NE(lauf.lesen("gid.mpu.msh")
                .find("end coordinates\n\n\nelements\n#GID-Elementnummer=Punktnummer, "
                      "GID-Knotennummer=Punktnummer\n" +
                      n10(12) + " " + n10(12) + "\nend elements\n"),
            std::string::npos);
  // Without element approximations the mesh has the coordinates and the
  // contact lines only; node 7 is written right-aligned in 10 characters.
  mpm.stw.ansatz_knou_zu_pu = ANSATZ_WOLKEN;
  const std::size_t alt = lauf.lesen("gid.ele.msh").size();
  mpm._ausgabe_gid_ele_msh(DATEI_GID_ELE_MSH);
  const std::string netz = lauf.lesen("gid.ele.msh").substr(alt);
  EXPECT_NE(netz.find("#Knotennummer, x01, x02\n         7 " + xy(1, 0) + "\n" + n10(8) + " " + xy(2, 0) +
                      "\nend coordinates\n\n\nMESH dimension 2 elemtype linear nnode 2\n"),
            std::string::npos);
  EXPECT_EQ(netz.find("elemtype quadrilateral nnode 8"), std::string::npos);

  // Results of all point types (integration points come with the material
  // points) name each point by its shifted number.
  EXPECT_TRUE(mpm._ausgabe_gid_pu_res(DATEI_GID_IPU_RES, true, true, true));
  EXPECT_NE(lauf.lesen("gid.ipu.res")
                .find("values\n" + n10(11) + " 0\n" + n10(12) + " 0\n" + n10(101) + " 0\n" + n10(102) +
                      " 0\n" + n10(7) + " 0\n" + n10(8) + " 0\nend values\n\nresult \"epsilon2\""),
            std::string::npos);
  EXPECT_FALSE(mpm._ausgabe_gid_pu_msh(DATEI_GID_IPU_MSH, OBJTYP_ELE));

  // A renewed mesh stops the run before any mesh is written.
  mpm.bnetzneu = true;
  const std::string vorher = lauf.lesen("gid.mpu.msh");
  EXPECT_THROW(mpm._ausgabe_gid(ZEITPU_STARTWERTE), int);
  EXPECT_NE(
      k.aus.str().find("FEHLER in <bool Tmpm::_ausgabe_gid(AUSGABE ausg)>: bnetzneu==true\nFuer ABBRUCH"),
      std::string::npos);
  EXPECT_EQ(lauf.lesen("gid.mpu.msh"), vorher);
  EXPECT_EQ(TVM::TVekMat::format(), 2);
}
