// ParaView output: cell mapping, number texts and collection text; whole runs
// read back by VTK's own Python reader (tests/output/vtk_lesen.py) and
// compared with the input, the data tables and the program's values.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "frame/dateinamen.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmpu.h"
#include "output/mpmausvtk.h"
#include "solver/mpm.h"
#include "testhilfe.h"

using namespace MPM;
namespace fs = std::filesystem;

namespace {

const fs::path quellen = fs::path(__FILE__).parent_path().parent_path().parent_path();

// One data set as VTK read it.
struct Datensatz {
  int teil = -1;
  double zeit = 0.0;
  std::string datei;
  std::vector<double> x;                // three per point
  std::vector<int> typ;                 // per cell
  std::vector<std::vector<long>> zelle; // point ids per cell
  std::vector<std::array<double, 2>> ort;
  std::map<std::string, std::vector<double>> feld;
};

bool vtk_python() {
  static const bool da = std::system("/usr/bin/python3 -c 'import vtkmodules.vtkIOXML' >/dev/null 2>&1") == 0;
  return da;
}

std::vector<Datensatz> vtk_lesen(const std::string& sammlung) {
  const std::string befehl =
      "/usr/bin/python3 '" + (quellen / "tests/output/vtk_lesen.py").string() + "' '" + sammlung + "'";
  std::string text;
  if (FILE* p = popen(befehl.c_str(), "r")) {
    char puffer[4096];
    for (std::size_t n; (n = std::fread(puffer, 1, sizeof puffer, p)) > 0;)
      text.append(puffer, n);
    pclose(p);
  }
  std::vector<Datensatz> saetze;
  std::istringstream zeilen(text);
  for (std::string zeile; std::getline(zeilen, zeile);) {
    std::istringstream s(zeile);
    std::string art, wort;
    s >> art;
    if (art == "datensatz") {
      saetze.emplace_back();
      s >> saetze.back().teil >> wort >> saetze.back().datei;
      saetze.back().zeit = std::strtod(wort.c_str(), nullptr);
      continue;
    }
    if (saetze.empty()) break;
    Datensatz& d = saetze.back();
    if (art == "punkte") {
      s >> wort;
      while (s >> wort)
        d.x.push_back(std::strtod(wort.c_str(), nullptr));
    } else if (art == "zelle") {
      d.typ.emplace_back();
      s >> d.typ.back();
      d.zelle.emplace_back();
      while (s >> wort && wort != "|")
        d.zelle.back().push_back(std::stol(wort));
      d.ort.emplace_back();
      s >> d.ort.back()[0] >> d.ort.back()[1];
    } else if (art == "feld") {
      std::vector<double>& werte = d.feld[(s >> wort, wort)];
      s >> wort;
      while (s >> wort)
        werte.push_back(std::strtod(wort.c_str(), nullptr));
    }
  }
  return saetze;
}

// |a - b| within `rel` of |b| (exact equality for b = 0).
::testing::AssertionResult relativ(double a, double b, double rel) {
  if (std::fabs(a - b) <= rel * std::fabs(b)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << a << " != " << b << " (rel " << rel << ")";
}

// One element of each kind, side 1, side by side at x = 0, 2, 4, ...: 3-node
// triangle, 4-, 8-, 9-, 12- and 16-node quadrilaterals, nodes numbered in
// input order. Masses, no loads, no conditions: nothing moves.
const int knotenzahl[6] = {3, 4, 8, 9, 12, 16};
std::string alle_elemente(const std::string& zeitschritte) {
  const double d = 1.0 / 3.0;
  const double ref[16][2] = {{-1, -1}, {1, -1}, {1, 1},  {-1, 1},  {-d, -1}, {d, -1}, {1, -d}, {1, d},
                             {d, 1},   {-d, 1}, {-1, d}, {-1, -d}, {-d, -d}, {d, -d}, {d, d},  {-d, d}};
  const double ref8[5][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}, {0, 0}};
  std::ostringstream s;
  s.precision(17);
  s << "stw_zeitschrittverf implizit, 0.25, 0.5\nstw_t " << zeitschritte
    << "\nstw_zstrg F\nstw_t_aus_dat W\naus_dat_vtk W\n"
    << "mat 1, 1, (7850., 2.1e11, 0.3, 0.)\neletyp 1, Dreieck, Lagro1, Lagro1, Gauss, 3\n"
    << "eletyp 2, Viereck, Lagro1, Lagro1, Gauss, 4\neletyp 3, Viereck, Sereo2, Sereo2, Gauss, 9\n"
    << "eletyp 4, Viereck, Lagro2, Lagro2, Gauss, 9\neletyp 5, Viereck, Sereo3, Sereo3, Gauss, 16\n"
    << "eletyp 6, Viereck, Lagro3, Lagro3, Gauss, 16\n";
  int n = 0;
  for (int e = 0; e < 6; ++e) {
    std::string liste;
    for (int k = 0; k < knotenzahl[e]; ++k) {
      const bool bquadr = knotenzahl[e] == 8 || knotenzahl[e] == 9;
      double xi = bquadr && k >= 4 ? ref8[k - 4][0] : ref[k][0],
             eta = bquadr && k >= 4 ? ref8[k - 4][1] : ref[k][1];
      if (e == 0 && k == 2) xi = -1.0; // triangle corner (0, 1)
      s << "kno " << ++n << ", 1, 0., (" << 2 * e + (xi + 1) / 2 << ", " << (eta + 1) / 2 << ")\n";
      liste += (k ? ", " : "") + std::to_string(n);
    }
    s << "ele " << e + 1 << ", 1, " << e + 1 << ", (" << liste << ")\n";
  }
  return s.str();
}

// Rows of a data table: the numbers of every line that is not a comment.
std::vector<std::vector<double>> tabelle(const std::string& text) {
  std::vector<std::vector<double>> zeilen;
  std::istringstream s(text);
  for (std::string zeile; std::getline(s, zeile);) {
    if (zeile.empty() || zeile[0] == '#') continue;
    std::istringstream z(zeile);
    zeilen.emplace_back();
    for (double x; z >> x;)
      zeilen.back().push_back(x);
  }
  return zeilen;
}

// Stops the run with the integer exception at the third step.
struct Abbrechender : Tmpm {
  int schritte = 0;
  bool _zeitschritt() override {
    if (++schritte == 3) throw 1;
    return Tmpm::_zeitschritt();
  }
};

} // namespace

TEST(Vtk, CellsNumbersFileNamesAndCollection) {
  const std::vector<int> lagrange16 = {0, 1, 2, 3, 4, 5, 6, 7, 9, 8, 11, 10, 12, 13, 15, 14};
  EXPECT_EQ(vtk_zelle(ELE::FORM_DREIECK, 3).typ, 5);
  EXPECT_EQ(vtk_zelle(ELE::FORM_VIERECK, 8).knoten, std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(vtk_zelle(ELE::FORM_VIERECK, 9).typ, 28);
  const TVtkzelle z16 = vtk_zelle(ELE::FORM_VIERECK, 16), z12 = vtk_zelle(ELE::FORM_VIERECK, 12);
  EXPECT_EQ(z16.typ, 70);
  EXPECT_EQ(z16.knoten, lagrange16);
  EXPECT_TRUE(z16.zusatz.empty());
  EXPECT_EQ(z12.knoten, std::vector<int>(lagrange16.begin(), lagrange16.begin() + 12));
  ASSERT_EQ(z12.zusatz.size(), 4u);
  EXPECT_EQ(z12.zusatz[2][0], -1.0 / 3.0);
  EXPECT_EQ(z12.zusatz[2][1], 1.0 / 3.0);
  EXPECT_EQ(vtk_zelle(ELE::FORM_DREIECK, 6).typ, VTKZELLE_KEINE);
  EXPECT_EQ(vtk_zelle(ELE::FORM_LINIE, 2).typ, VTKZELLE_KEINE);

  EXPECT_EQ(vtk_zahl(0.1), "0.1");
  EXPECT_EQ(vtk_zahl(-2.0), "-2");
  for (double x : {1.0 / 3.0, -2.5e-300, 1.7976931348623157e308, 4.9e-324, 0.1 + 0.2})
    EXPECT_EQ(std::strtod(vtk_zahl(x).c_str(), nullptr), x) << vtk_zahl(x);

  EXPECT_EQ(vtk_dateiname("ordner/lauf", "kno", 7), "ordner/lauf.kno.00007.vtu");
  EXPECT_TRUE(vtk_reihendatei("lauf.mpu.00012.vtu", "lauf"));
  EXPECT_TRUE(vtk_reihendatei("lauf.kno.123456.vtu", "lauf"));
  for (const char* fremd : {"lauf.gid.00012.vtu", "lauf.mpu..vtu", "lauf.mpu.0001a.vtu",
                            "lauf2.mpu.00001.vtu", "lauf.mpu.00001.vtk", "lauf.mpu.00001.vtu.neu"})
    EXPECT_FALSE(vtk_reihendatei(fremd, "lauf")) << fremd;

  EXPECT_EQ(vtk_sammlung("a&b", {0.0, 0.25}),
            "<?xml version=\"1.0\"?>\n"
            "<VTKFile type=\"Collection\" version=\"0.1\" byte_order=\"LittleEndian\">\n<Collection>\n"
            "<DataSet timestep=\"0\" group=\"\" part=\"0\" name=\"mpu\" file=\"a&amp;b.mpu.00000.vtu\"/>\n"
            "<DataSet timestep=\"0\" group=\"\" part=\"1\" name=\"kno\" file=\"a&amp;b.kno.00000.vtu\"/>\n"
            "<DataSet timestep=\"0.25\" group=\"\" part=\"0\" name=\"mpu\" file=\"a&amp;b.mpu.00001.vtu\"/>\n"
            "<DataSet timestep=\"0.25\" group=\"\" part=\"1\" name=\"kno\" file=\"a&amp;b.kno.00001.vtu\"/>\n"
            "</Collection>\n</VTKFile>\n");
}

// Connectivity, cell types and VTK's own interpolation of every element
// kind; volumes, densities and lumped masses against the area of the model.
TEST(Vtk, EveryElementKindReadBackByVtk) {
  if (!vtk_python()) GTEST_SKIP() << "VTK for /usr/bin/python3 missing (Debian package python3-vtk9)";
  Konsolenumleitung k;
  Testlauf lauf(alle_elemente("0., 1., 1."));
  Tmpm mpm;
  ASSERT_TRUE(mpm._steuerung());
  EXPECT_EQ(lauf.lesen("flr.txt"), "");
  EXPECT_EQ(lauf.lesen("vtk"), "");
  const std::vector<Datensatz> saetze = vtk_lesen(dateien.basisname() + ".pvd");
  ASSERT_EQ(saetze.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(saetze[i].teil, i % 2);
    EXPECT_EQ(saetze[i].zeit, i / 2);
  }
  const double flaeche = 5.5, rho = 7850.0;

  const Datensatz& m = saetze[2];
  ASSERT_EQ(m.x.size(), 3 * mpm.mpu.size());
  ASSERT_EQ(m.typ.size(), mpm.mpu.size());
  double vol = 0.0;
  for (std::size_t i = 0; i < m.typ.size(); ++i) {
    EXPECT_EQ(m.typ[i], 1);
    EXPECT_EQ(m.zelle[i], std::vector<long>{static_cast<long>(i)});
    vol += m.feld.at("vol")[i];
    EXPECT_EQ(m.feld.at("rho")[i], rho);
  }
  EXPECT_TRUE(relativ(vol, flaeche, 1e-14));

  // Element nodes in VTK order, as input positions; -1 for the four interior
  // points added to the 12-node element.
  const std::vector<std::vector<int>> folge = {{0, 1, 2},
                                               {0, 1, 2, 3},
                                               {0, 1, 2, 3, 4, 5, 6, 7},
                                               {0, 1, 2, 3, 4, 5, 6, 7, 8},
                                               {0, 1, 2, 3, 4, 5, 6, 7, 9, 8, 11, 10, -1, -1, -1, -1},
                                               {0, 1, 2, 3, 4, 5, 6, 7, 9, 8, 11, 10, 12, 13, 15, 14}};
  const int typ[6] = {5, 9, 23, 28, 70, 70};
  const Datensatz& g = saetze[3];
  const std::vector<double>& num = g.feld.at("num");
  ASSERT_EQ(num.size(), 52u + 4u);
  ASSERT_EQ(g.typ.size(), 6u);
  int erster = 1;
  double masse = 0.0;
  for (int e = 0; e < 6; ++e) {
    EXPECT_EQ(g.typ[e], typ[e]);
    ASSERT_EQ(g.zelle[e].size(), folge[e].size());
    int innen = 0;
    for (std::size_t k = 0; k < folge[e].size(); ++k) {
      const long p = g.zelle[e][k];
      EXPECT_EQ(num[p], folge[e][k] < 0 ? -1 : erster + folge[e][k])
          << "element " << e + 1 << ", point " << k;
      if (folge[e][k] >= 0) continue;
      // Interior points at (1/3, 1/3), (2/3, 1/3), (1/3, 2/3), (2/3, 2/3) of the square.
      EXPECT_NEAR(g.x[3 * p], 2 * e + (1 + innen % 2) / 3.0, 1e-14);
      EXPECT_NEAR(g.x[3 * p + 1], (1 + innen++ / 2) / 3.0, 1e-14);
    }
    // The parametric point (0.25, 0.6) lies there in every (affine) cell.
    EXPECT_NEAR(g.ort[e][0], 2 * e + 0.25, 1e-14) << "element " << e + 1;
    EXPECT_NEAR(g.ort[e][1], 0.6, 1e-14) << "element " << e + 1;
    erster += knotenzahl[e];
  }
  for (double M : g.feld.at("M"))
    masse += M;
  EXPECT_TRUE(relativ(masse, rho * flaeche, 1e-13));
}

// The bundled cantilever: the series against the data tables (their 4
// digits) and against the program's own values after the run.
TEST(Vtk, CantileverSeriesAgainstTablesAndProgram) {
  if (!vtk_python()) GTEST_SKIP() << "VTK for /usr/bin/python3 missing (Debian package python3-vtk9)";
  Konsolenumleitung k;
  Testlauf lauf(datei_lesen((quellen / "examples/kragarm.mpm").string()) + "aus_dat_vtk W\n");
  Tmpm mpm;
  ASSERT_TRUE(mpm._steuerung());
  const std::vector<Datensatz> saetze = vtk_lesen(dateien.basisname() + ".pvd");
  ASSERT_EQ(saetze.size(), 22u);
  for (std::size_t i = 0; i < saetze.size(); ++i)
    EXPECT_NEAR(saetze[i].zeit, 0.1 * (i / 2), 1e-15);

  // Table rows start at the first step; the series at the start values.
  const auto kno = tabelle(lauf.lesen("dat.kno.txt")), mpu = tabelle(lauf.lesen("dat.mpu.txt"));
  ASSERT_EQ(kno.size(), 10u * 5u);
  ASSERT_EQ(mpu.size(), 10u * 2u);
  const double tab = 5.0001e-4;
  for (std::size_t i = 0; i < kno.size(); ++i) {
    const Datensatz& g = saetze[2 * (i / 5 + 1) + 1];
    const long p = static_cast<long>(kno[i][0]) - 1; // nodes are numbered 1, 2, ... in input order
    ASSERT_EQ(g.feld.at("num")[p], kno[i][0]);
    for (int c = 0; c < 2; ++c) {
      EXPECT_TRUE(relativ(kno[i][24 + c], g.feld.at("u")[3 * p + c], tab)) << i;
      EXPECT_TRUE(relativ(kno[i][12 + c], g.feld.at("fint")[3 * p + c], tab)) << i;
    }
  }
  for (std::size_t i = 0; i < mpu.size(); ++i) {
    const Datensatz& m = saetze[2 * (i / 2 + 1)];
    const std::vector<double>& num = m.feld.at("num");
    const long p = std::find(num.begin(), num.end(), mpu[i][0]) - num.begin();
    ASSERT_LT(p, static_cast<long>(num.size()));
    const int komponente[3] = {0, 1, 3}; // 11, 22, 12 among XX, YY, ZZ, XY, YZ, XZ
    for (int c = 0; c < 3; ++c)
      EXPECT_TRUE(relativ(mpu[i][20 + c], m.feld.at("sigma")[6 * p + komponente[c]], tab)) << i;
  }

  // Full precision: the last output against the program's state at t = 1.
  const Datensatz &g = saetze[21], &m = saetze[20];
  const double genau = 1e-12;
  long p = 0;
  for (const auto& eintrag : mpm.kno) {
    TKnoten* kn = KNO_Z(eintrag.second);
    for (int c = 0; c < 2; ++c) {
      EXPECT_TRUE(relativ(g.feld.at("u")[3 * p + c], kn->zust.u[c], genau));
      EXPECT_TRUE(relativ(g.x[3 * p + c], kn->x0[c] + kn->zust.u[c], genau));
    }
    ++p;
  }
  EXPECT_TRUE(relativ(g.feld.at("u")[3 * 62 + 1], KNO_Z(mpm.kno.suchen(63))->zust.u[1], genau)); // the tip
  p = 0;
  for (const auto& eintrag : mpm.mpu) {
    const TVM::VekR& s = MPU_Z(eintrag.second)->_zg().sig;
    const double t[6] = {s[0], s[1], 0.0, s[2] / std::sqrt(2.0), 0.0, 0.0};
    for (int c = 0; c < 6; ++c)
      EXPECT_TRUE(relativ(m.feld.at("sigma")[6 * p + c], t[c], genau)) << p;
    ++p;
  }
}

// A stopped run: the collection names exactly the files written; files of
// an earlier series of the same name are gone. Without the switch nothing of
// the series is written and the run file "vtk" stays empty.
TEST(Vtk, StoppedRunLeavesCollectionOfWrittenFiles) {
  Konsolenumleitung k;
  {
    Testlauf lauf(alle_elemente("0., 1., 0.25"));
    const fs::path ordner = fs::path(dateien.basisname()).parent_path();
    for (const char* alt : {"lauf.pvd", "lauf.kno.00007.vtu", "lauf.mpu.00003.vtu"})
      std::ofstream((ordner / alt).string()) << "alt";
    Abbrechender mpm;
    EXPECT_THROW(mpm._steuerung(), int);
    std::set<std::string> geschrieben, gelistet;
    for (const auto& eintrag : fs::directory_iterator(ordner))
      if (eintrag.path().extension() == ".vtu") geschrieben.insert(eintrag.path().filename().string());
    const std::string sammlung = lauf.lesen("pvd");
    const std::regex datei("file=\"([^\"]+)\"");
    for (std::sregex_iterator i(sammlung.begin(), sammlung.end(), datei), ende; i != ende; ++i)
      gelistet.insert((*i)[1]);
    EXPECT_EQ(gelistet.size(), 6u); // start values and two steps
    EXPECT_EQ(gelistet, geschrieben);
  }
  std::string ohne = alle_elemente("0., 1., 0.5");
  ohne.erase(ohne.find("aus_dat_vtk W\n"), 14);
  Testlauf lauf(ohne);
  Tmpm mpm;
  ASSERT_TRUE(mpm._steuerung());
  const fs::path ordner = fs::path(dateien.basisname()).parent_path();
  for (const auto& eintrag : fs::directory_iterator(ordner))
    EXPECT_TRUE(eintrag.path().extension() != ".vtu" && eintrag.path().extension() != ".pvd")
        << eintrag.path();
  EXPECT_TRUE(fs::exists(ordner / "lauf.vtk"));
  EXPECT_EQ(lauf.lesen("vtk"), "");
}
