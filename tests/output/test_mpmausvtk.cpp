// ParaView output: whole runs read back by VTK's own Python reader
// (vtk_lesen.py) and compared with the input, the data tables and the
// program's values; the collection left by a stopped run.

#include <cstdlib>
#include <fstream>
#include <map>
#include <numeric>
#include <regex>
#include <set>

#include "frame/dateinamen.h"
#include "output/mpmausvtk.h"
#include "testhilfe.h"

using namespace MPM;
using namespace th;
namespace fs = std::filesystem;

namespace {

using Datensatz = std::map<std::string, std::vector<double>>;

bool vtk_python() {
  static const bool da = std::system("/usr/bin/python3 -c 'import vtkmodules.vtkIOXML' >/dev/null 2>&1") == 0;
  return da;
}

// The data sets of a collection as vtk_lesen.py prints them.
std::vector<Datensatz> vtk_lesen(const std::string& sammlung) {
  std::vector<Datensatz> saetze;
  const std::string befehl =
      "/usr/bin/python3 " MPM_QUELLE "/tests/output/vtk_lesen.py " + sammlung + " > " + sammlung + ".txt";
  if (std::system(befehl.c_str()) != 0) return saetze;
  for (const std::string& zeile : zeilen(datei_lesen(sammlung + ".txt"))) {
    std::istringstream s(zeile);
    std::size_t i = 0;
    std::string name, wert;
    s >> i >> name;
    if (i >= saetze.size()) saetze.resize(i + 1);
    for (std::vector<double>& werte = saetze[i][name]; s >> wert;)
      werte.push_back(std::strtod(wert.c_str(), nullptr));
  }
  return saetze;
}

} // namespace

// Only the program's own series files are removed before a new series.
TEST(Vtk, ForeignFilesAreNoSeriesFiles) {
  EXPECT_TRUE(vtk_reihendatei("lauf.kno.00012.vtu", "lauf"));
  for (const char* fremd :
       {"lauf.gid.00012.vtu", "lauf.mpu.0001a.vtu", "lauf2.mpu.00001.vtu", "lauf.mpu..vtu"})
    EXPECT_FALSE(vtk_reihendatei(fremd, "lauf")) << fremd;
}

// The bundled cantilever: the series against the data tables (their 4
// digits) and the last output against the program's values at t = 1.
TEST(Vtk, CantileverSeriesAgainstTablesAndProgram) {
  if (!vtk_python()) GTEST_SKIP() << "VTK for /usr/bin/python3 missing (Debian package python3-vtk9)";
  Modelllauf l(beispieltext("kragarm") + "aus_dat_vtk W\n");
  ASSERT_TRUE(l.mpm._steuerung());
  const std::vector<Datensatz> saetze = vtk_lesen(dateien.basisname() + ".pvd");
  ASSERT_EQ(saetze.size(), 22u);
  for (std::size_t i = 0; i < saetze.size(); ++i)
    EXPECT_NEAR(saetze[i].at("zeit")[0], 0.1 * (i / 2), 1e-15);

  // The tables start at the first step, the series at the start values.
  const auto kno = tabelle(l.lauf.lesen("dat.kno.txt")), mpu = tabelle(l.lauf.lesen("dat.mpu.txt"));
  ASSERT_EQ(kno.size(), 10u * 5u);
  ASSERT_EQ(mpu.size(), 10u * 2u);
  const double tab = 5.0001e-4;
  for (std::size_t i = 0; i < kno.size(); ++i) {
    const Datensatz& g = saetze[2 * (i / 5) + 3];
    const int p = static_cast<int>(kno[i][0]) - 1; // nodes 1, 2, ... in input order
    ASSERT_EQ(g.at("num")[p], kno[i][0]);
    for (int c = 0; c < 2; ++c)
      EXPECT_NEAR(kno[i][24 + c], g.at("u")[3 * p + c], tab * std::fabs(g.at("u")[3 * p + c])) << i;
  }
  for (std::size_t i = 0; i < mpu.size(); ++i) {
    const Datensatz& m = saetze[2 * (i / 2) + 2];
    const std::vector<double>& num = m.at("num");
    const int p = static_cast<int>(std::find(num.begin(), num.end(), mpu[i][0]) - num.begin());
    ASSERT_LT(p, static_cast<int>(num.size()));
    const double* s = &m.at("sigma")[6 * p];
    int spalte = 20;
    for (int c : {0, 1, 3}) // 11, 22, 12 among XX, YY, ZZ, XY, YZ, XZ
      EXPECT_NEAR(mpu[i][spalte++], s[c], tab * std::fabs(s[c])) << i;
  }

  // Every node (the tip, node 63, among them) and every point at t = 1.
  const double genau = 1e-12;
  const Datensatz &g = saetze[21], &m = saetze[20];
  int p = 0;
  for (const auto& eintrag : l.mpm.kno) {
    TKnoten* kn = KNO_Z(eintrag.second);
    for (int c = 0; c < 2; ++c)
      EXPECT_NEAR(g.at("u")[3 * p + c], kn->zust.u[c], genau * std::fabs(kn->zust.u[c]));
    ++p;
  }
  p = 0;
  for (const auto& eintrag : l.mpm.mpu) {
    const TVM::VekR& s = MPU_Z(eintrag.second)->_zg().sig;
    const double t[6] = {s[0], s[1], 0.0, s[2] / std::sqrt(2.0), 0.0, 0.0};
    for (int c = 0; c < 6; ++c)
      EXPECT_NEAR(m.at("sigma")[6 * p + c], t[c], genau * std::fabs(t[c])) << p;
    ++p;
  }
}

// A run stopped at its third step: the collection names exactly the files
// written (start values and two steps), files of an earlier series of the
// same name are gone; with contact on the points carry their penetration
// depth. VTK reads back the cell types and connectivity of every element
// kind and interpolates in each cell as the element does; volumes,
// densities and lumped masses add up to the model's. Without the switch
// nothing of the series is written; the run file "vtk" stays empty.
TEST(Vtk, StoppedRunWithEveryElementKind) {
  // One element of each kind on the unit square shifted by 2 e (3-node
  // triangle, 4-, 8-, 9-, 12- and 16-node quadrilaterals, nodes numbered in
  // input order). Masses, no loads, no conditions: nothing moves.
  const std::string alle = vorlage("output/daten/alle_elemente.mpm");
  Konsolenumleitung k;
  {
    Modelllauf l(alle + "stw_t 0., 1., 0.5\n");
    ASSERT_TRUE(l.mpm._steuerung());
    for (const auto& eintrag : fs::directory_iterator(fs::path(dateien.basisname()).parent_path()))
      EXPECT_TRUE(eintrag.path().extension() != ".vtu" && eintrag.path().extension() != ".pvd")
          << eintrag.path();
    EXPECT_EQ(l.lauf.lesen("vtk"), "");
  }
  {
    Testlauf lauf(alle + "stw_t 0., 1., 0.25\naus_dat_vtk W\nstw_kontakt W\n");
    const fs::path ordner = fs::path(dateien.basisname()).parent_path();
    for (const char* alt : {"lauf.pvd", "lauf.kno.00007.vtu", "lauf.mpu.00003.vtu"})
      std::ofstream((ordner / alt).string()) << "alt";
    Schrittprotokoll mpm;
    int schritte = 0;
    mpm.vorher = [&](Schrittprotokoll&) {
      if (++schritte == 3) throw 1;
    };
    EXPECT_THROW(mpm._steuerung(), int);
    EXPECT_EQ(lauf.lesen("vtk"), "");
    std::set<std::string> geschrieben, gelistet;
    for (const auto& eintrag : fs::directory_iterator(ordner))
      if (eintrag.path().extension() == ".vtu") geschrieben.insert(eintrag.path().filename().string());
    const std::string sammlung = lauf.lesen("pvd");
    const std::regex datei("file=\"([^\"]+)\"");
    for (std::sregex_iterator i(sammlung.begin(), sammlung.end(), datei), ende; i != ende; ++i)
      gelistet.insert((*i)[1]);
    EXPECT_EQ(gelistet.size(), 6u);
    EXPECT_EQ(gelistet, geschrieben);
    if (!vtk_python()) GTEST_SKIP() << "VTK for /usr/bin/python3 missing (Debian package python3-vtk9)";
    const std::vector<Datensatz> saetze = vtk_lesen(dateien.basisname() + ".pvd");
    ASSERT_EQ(saetze.size(), 6u);
    for (int i = 0; i < 6; ++i)
      EXPECT_EQ(saetze[i].at("teil"), std::vector<double>({i % 2 * 1.0})) << i;
    EXPECT_EQ(saetze[5].at("zeit"), std::vector<double>({0.5}));
    EXPECT_EQ(saetze[4].count("kontaktabstand"), 1u);
    const double flaeche = 5.5, rho = 7850.0;

    const Datensatz& m = saetze[4];
    ASSERT_EQ(m.at("x").size(), 3 * mpm.mpu.size());
    EXPECT_EQ(m.at("typ"), std::vector<double>(mpm.mpu.size(), 1.0));
    std::vector<double> ids(mpm.mpu.size());
    std::iota(ids.begin(), ids.end(), 0.0);
    EXPECT_EQ(m.at("ids"), ids);
    EXPECT_EQ(m.at("rho"), std::vector<double>(ids.size(), rho));
    EXPECT_NEAR(std::accumulate(m.at("vol").begin(), m.at("vol").end(), 0.0), flaeche, 1e-14 * flaeche);

    // The node numbers of the cells in VTK order; -1 for the four interior
    // points added to the 12-node element.
    const Datensatz& g = saetze[5];
    EXPECT_EQ(g.at("typ"), std::vector<double>({5, 9, 23, 28, 70, 70}));
    std::vector<double> knoten;
    for (double id : g.at("ids"))
      knoten.push_back(g.at("num").at(static_cast<std::size_t>(id)));
    EXPECT_EQ(knoten, tabelle(vorlage("output/golden/vtk_zellen.txt"))[0]);
    EXPECT_EQ(g.at("num").size(), 52u + 4u);
    // The parametric point (0.25, 0.6) of every (affine) cell; in the 12-node
    // one this holds only with the right interior points.
    for (int i = 0; i < 12; ++i)
      EXPECT_NEAR(g.at("ort")[i], i % 2 ? 0.6 : i + 0.25, 1e-14) << "element " << i / 2 + 1;
    EXPECT_NEAR(std::accumulate(g.at("M").begin(), g.at("M").end(), 0.0), rho * flaeche,
                1e-13 * rho * flaeche);
  }
}
