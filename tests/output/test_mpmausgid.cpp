// GiD files, and the Tecplot and Maple files of the same small run.

#include "output/mpmaus.h"
#include "testhilfe.h"

using namespace MPM;
using namespace th;

namespace {
// The blocks "NAME 1" .. "NAME n" of the golden file are parts of `text`.
void teile(const std::string& text, const std::string& golddatei, const std::string& name, int n) {
  for (int i = 1; i <= n; ++i) {
    const std::string teil = golden("output/golden/" + golddatei, name + " " + std::to_string(i));
    EXPECT_TRUE(enthaelt(text, teil)) << name << " " << i << ":\n" << teil;
  }
}
} // namespace

// Simple shear by prescribed displacements of every node: u1 = 0.1 t y,
// u2 = 0, so every strain is eps12 = 0.05 t (tensor component; stored:
// sqrt 2 times that) and the stress sig12 = E / (1 + nu) eps12 = 80 eps12. A
// quadrilateral and a triangle with one integration point each carry the
// material points 1 at (0.5, 0.5) and 2 at (4/3, 1/3). Two static steps of
// 0.5, output at both. Largest node number 5: material points are shifted by 10.
TEST(GiD, WithTecplotAndMapleFilesOfASmallRunLineByLine) {
  Modelllauf l(vorlage("output/daten/scherung.mpm"));
  ASSERT_TRUE(l.mpm._steuerung());
  ASSERT_EQ(l.k.fehler.str(), "");
  // The meshes and the Tecplot file with the current positions and the stored strains.
  for (const char* datei : {"gid.mpu.msh", "gid.ele.msh", "tpl"})
    EXPECT_EQ(l.lauf.lesen(datei), golden("output/golden/scherung.txt", datei)) << datei;

  // Results of the second step: u1 = 0.1 y, eps12 = 0.05, sig12 = 4.
  const std::string erg = l.lauf.lesen("gid.mpu.res");
  EXPECT_EQ(erg.rfind(golden("output/golden/scherung.txt", "gid.mpu.res Anfang"), 0), 0u);
  teile(erg, "scherung.txt", "gid.mpu.res", 4);
  // Nodes after the material points in the element results, then six force blocks.
  const std::string knotenerg = l.lauf.lesen("gid.ele.res");
  teile(knotenerg, "scherung.txt", "gid.ele.res", 1);
  std::size_t pos = knotenerg.rfind("ttges=1");
  for (const std::string f : {"fint", "fc", "fckon", "fext", "fm", "fa"}) {
    pos = knotenerg.find("\nresult \"" + f + " \"  \"Scherung\" 1  vector  onnodes\ncomponentnames \"" + f +
                             "1\", \"" + f + "2\"\n",
                         pos);
    EXPECT_NE(pos, std::string::npos) << f;
  }

  // Maple: the record of the second step (the velocities are the run's last).
  const std::string maple = l.lauf.lesen("mpl");
  std::string satz = golden("output/golden/scherung.txt", "mpl");
  for (int n : {1, 2})
    satz.replace(satz.find("UT"), 2, _str(MPU_Z(l.mpm.mpu.suchen(n))->zust.ut, 10));
  EXPECT_EQ(maple.substr(maple.find("\n         1 ") + 1), satz);
  EXPECT_EQ(TVM::TVekMat::format(), 2) << "the vector printer's format is restored";
}

TEST(GiD, SwitchedOffOrRenewedMeshAndPointsWithoutElements) {
  Modelllauf l("", "x\n");
  Tmpm& mpm = l.mpm;
  ASSERT_NE(_material_erzeugen(&mpm, 1, 1, {1.0, 100.0, 0.25, 0.0}), nullptr);
  for (int n : {1, 2}) {
    knoten(mpm, n + 6, n, 0.0);
    materialpunkt(mpm, n, n, 1.0);
  }
  mpm.bausdat = mpm.bkonkontr = mpm.bkonv = mpm.bmatkonv = true;
  mpm._ausgabe(ZEITPU_STARTWERTE);
  mpm._ausgabe(ZEITPU_ZEITSCHRITTENDE);
  for (const char* endung : {"gid.mpu.msh", "gid.ele.msh", "gid.mpu.res", "gid.ele.res"})
    EXPECT_EQ(l.lauf.lesen(endung), "") << endung;

  // A support point of a contact line (12) has coordinates but no element.
  mpm.bausdat_gid = true;
  PU_Z(mpm.mpu.suchen(1))->bkontaktpunkt = true;
  mpm._ausgabe(ZEITPU_STARTWERTE);
  teile(l.lauf.lesen("gid.mpu.msh"), "gid.txt", "gid.mpu.msh", 1);
  // Without element approximations the mesh has the coordinates and the
  // contact lines only; node 7 is written right-aligned in 10 characters.
  mpm.stw.ansatz_knou_zu_pu = ANSATZ_WOLKEN;
  const std::size_t alt = l.lauf.lesen("gid.ele.msh").size();
  mpm._ausgabe_gid_ele_msh(DATEI_GID_ELE_MSH);
  teile(l.lauf.lesen("gid.ele.msh").substr(alt), "gid.txt", "gid.ele.msh", 1);

  // Results of all point types (integration points come with the material
  // points) name each point by its shifted number.
  EXPECT_TRUE(mpm._ausgabe_gid_pu_res(DATEI_GID_IPU_RES, true, true, true));
  teile(l.lauf.lesen("gid.ipu.res"), "gid.txt", "gid.ipu.res", 1);
  EXPECT_FALSE(mpm._ausgabe_gid_pu_msh(DATEI_GID_IPU_MSH, OBJTYP_ELE));

  // An inactive material point keeps its Maple line, with status 0.
  mpm.bausdat_maple = true;
  mpm.mpu.suchen(2)->status = OBJSTATUS_INAKTIV;
  mpm._ausgabe(ZEITPU_ZEITSCHRITTENDE);
  teile(l.lauf.lesen("mpl"), "gid.txt", "mpl", 1);

  // A renewed mesh stops the run before any mesh is written.
  mpm.bnetzneu = true;
  const std::string vorher = l.lauf.lesen("gid.mpu.msh");
  EXPECT_THROW(mpm._ausgabe_gid(ZEITPU_STARTWERTE), int);
  EXPECT_TRUE(enthaelt(l.k.aus.str(),
                       "FEHLER in <bool Tmpm::_ausgabe_gid(AUSGABE ausg)>: bnetzneu==true\nFuer ABBRUCH"));
  EXPECT_EQ(l.lauf.lesen("gid.mpu.msh"), vorher);
  EXPECT_EQ(TVM::TVekMat::format(), 2);
}

// A unit square of four material points resting on the floor line 1 of the
// free nodes 11 and 12 (p0 = 1e7, weight 9810 N): each bottom node carries
// 4905 N at the gap -4.905e-4. Line 2 runs through the material points 1
// and 2. Material points are shifted by 100; their support points have no
// point element.
TEST(GiD, ContactLinesGapsAndContactForces) {
  Modelllauf l(vorlage("output/daten/kontakt.mpm"));
  ASSERT_TRUE(l.mpm._steuerung());
  ASSERT_EQ(l.k.fehler.str(), "");
  teile(l.lauf.lesen("gid.ele.msh"), "kontakt.txt", "gid.ele.msh", 1);
  teile(l.lauf.lesen("gid.mpu.msh"), "kontakt.txt", "gid.mpu.msh", 1);
  teile(l.lauf.lesen("gid.ele.res"), "kontakt.txt", "gid.ele.res", 2);
}
