#include <cstdlib>

#include "frame/dateinamen.h"
#include "output/mpmaus.h"
#include "testhilfe.h"

using namespace MPM;
using namespace th;

namespace {
// The text of a command file after its first line, which must name the
// program and end with the end flag.
std::string ohne_kopfzeile(const std::string& gpl) {
  const std::size_t n = std::min(gpl.find('\n'), gpl.size());
  EXPECT_EQ(gpl.rfind("#Gnuplot-Steuerdatei / generiert von MPM / ", 0), 0u);
  EXPECT_EQ(gpl.substr(n < 10 ? 0 : n - 10, 10), " / bende=1");
  return gpl.substr(std::min(n + 1, gpl.size()));
}

// Block `name` of the golden file, BASIS standing for the run's base name.
std::string gold(const std::string& name) {
  std::string text = golden("output/golden/gnuplot.txt", name);
  for (std::size_t i = text.find("BASIS"); i != std::string::npos; i = text.find("BASIS", i))
    text.replace(i, 5, dateien.basisname());
  return text;
}

// Runs gnuplot on the command file; true when it exits with 0 and every
// PostScript file it names exists and is not empty.
void gnuplot_pruefen(const std::string& kommando, const std::string& was) {
  SCOPED_TRACE(was);
  const std::string gpl = dateien.name(DATEI_GPL);
  ASSERT_EQ(std::system(("gnuplot '" + gpl + "' 2>'" + gpl + ".fehler'").c_str()), 0)
      << datei_lesen(gpl + ".fehler");
  int n = 0;
  for (const std::string& z : zeilen(kommando))
    if (z.rfind("set output '", 0) == 0) {
      const std::string ps = z.substr(12, z.size() - 13);
      EXPECT_TRUE(std::filesystem::exists(ps) && std::filesystem::file_size(ps) > 0) << ps;
      ++n;
    }
  EXPECT_GT(n, 0);
}
} // namespace

TEST(Gnuplot, HeadSettingsAndSectionsOnlyForTablesWithRows) {
  Modelllauf l("");
  Tmpm& mpm = l.mpm;
  mpm._ausgabe_gnuplot(ZEITPU_ENDE);
  EXPECT_EQ(l.lauf.lesen("gpl"), "") << "switched off";

  // No table has rows: only the head and the settings, in the syntax of
  // gnuplot 5; the monochrome variant differs in the terminal and the style
  // lines only.
  mpm.bausdat_gnupl = mpm.bausdat_kno = mpm.bausdat_konvilok = mpm.bausdat_konvaglo = mpm.bfertig = true;
  mpm._ausgabe_gnuplot(ZEITPU_ENDE);
  EXPECT_EQ(ohne_kopfzeile(l.lauf.lesen("gpl")), gold("farbig"));
  mpm.bausdat_gnupl_farbig = false;
  mpm._ausgabe_gnuplot(ZEITPU_ENDE);
  EXPECT_EQ(ohne_kopfzeile(l.lauf.lesen("gpl")), gold("einfarbig"));

  // A node selected alone: stride 1, start 0. Time over its end value 2; the
  // logarithm of normG from 1e-6 (0) to 1e-4 (1). Material-iteration blocks
  // of two points: point 3 in data sets 0 and 2, point 5 in data set 1. No
  // sections for the point states and the node forces.
  _material_erzeugen(&mpm, 1, 1, {1.0, 100.0, 0.25, 0.0});
  knoten(mpm, 4, 0.0, 0.0)->bausgewaehlt = true;
  for (int n : {3, 5})
    materialpunkt(mpm, n, n, 0.0)->bausgewaehlt = true;
  ueberschreiben(DATEI_DAT_KNO, "#Knotendaten\n#\n\n         4 1 0.5 1.0\n");
  ueberschreiben(DATEI_DAT_KAG, "#\n 0 0.5 1 1e-2 1e-4\n 0 0.5 2 1e-3 0\n 1 2.0 3 1e-4 1e-6\n");
  ueberschreiben(DATEI_DAT_KIL, "#\n3 0 0.5 1 1 1e-3 0 0.25\n3 0 0.5 1 2 1e-9 0 0.5\n\n\n"
                                "5 0 0.5 1 3 1e-2 0 0\n\n\n3 0 1.0 2 4 1e-6 0 0\n#Ende\n");
  mpm._ausgabe_gnuplot(ZEITPU_ENDE);
  EXPECT_EQ(ohne_kopfzeile(l.lauf.lesen("gpl")), gold("einfarbig") + gold("Abschnitte"));
}

// The command files of an elastoplastic run with every table, in both
// variants, and of an elastic run whose material-iteration table stays empty.
TEST(Gnuplot, RealGnuplotDrawsEveryPlot) {
  if (std::system("gnuplot --version >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "gnuplot is not installed (Debian package gnuplot-nox); the command files are not run";
  {
    Modelllauf l(beispieltext("probe")); // it switches every table and the Gnuplot file on
    ASSERT_TRUE(l.mpm._steuerung());
    const std::string farbig = l.lauf.lesen("gpl");
    for (const char* abschnitt :
         {".kvalok.ps'", ".mpu.sigeps.ps'", ".mpu.ps'", ".kno.ps'", ".kvaglo.ps'", ".kvilok.ps'"})
      EXPECT_TRUE(enthaelt(farbig, abschnitt)) << abschnitt;
    gnuplot_pruefen(farbig, "colour");
    l.mpm.bausdat_gnupl_farbig = false;
    l.mpm._ausgabe_gnuplot(ZEITPU_ENDE);
    gnuplot_pruefen(l.lauf.lesen("gpl"), "monochrome");
  }
  Modelllauf l(beispieltext("kragarm") + "\naus_dat_konv W, W, W\naus_dat_gnupl W, W\n");
  ASSERT_TRUE(l.mpm._steuerung());
  const std::string elastisch = l.lauf.lesen("gpl");
  EXPECT_FALSE(enthaelt(elastisch, ".kvilok.ps'"));
  gnuplot_pruefen(elastisch, "elastic");
}
