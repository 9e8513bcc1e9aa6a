#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "frame/dateinamen.h"
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
  Testlauf lauf("");
  Konsolenumleitung k;
  Tmpm mpm;
  mpm._ausgabe_gnuplot(ZEITPU_ENDE);
  EXPECT_EQ(lauf.lesen("gpl"), "") << "switched off";

  mpm.bausdat_gnupl = true;
  mpm.bausdat_kno = mpm.bausdat_konvilok = mpm.bausdat_konvaglo = true;
  mpm.bfertig = true;
  mpm._ausgabe_gnuplot(ZEITPU_ENDE);
  const std::string farbig = lauf.lesen("gpl");
  const std::vector<std::string> f = zeilen(farbig);
  ASSERT_GT(f.size(), 10u);
  EXPECT_EQ(f[0].rfind("#Gnuplot-Steuerdatei / generiert von MPM / ", 0), 0u);
  EXPECT_EQ(f[0].substr(f[0].size() - 10), " / bende=1");
  EXPECT_TRUE(enthaelt(farbig,
                       "\n\n\n\n\n#EINSTELLUNGEN\n\n\nset terminal postscript landscape enhanced color solid "
                       "simplex \"Helvetica\" 10\nset style line  1 linetype 7 linewidth 1\n"));
  // The settings in the syntax of gnuplot 5.
  for (const char* z :
       {"\nset datafile missing \"?\"\n", "\nset title \" \" offset 0, 0 font \"Helvetica, 12\"\n",
        "\nset tics scale 0.8, 0.4\n", "\nset xlabel \"t\" offset 0, 0 font \"Helvetica, 12\"\n",
        "\nset ylabel \" \" offset 0, 0 font \"Helvetica, 12\"\n"})
    EXPECT_TRUE(enthaelt(farbig, z)) << z;
  EXPECT_TRUE(enthaelt(farbig, "\nset label \"Eingabedatei " + dateien.name(DATEI_MPM) +
                                   " / Titel unbekannt / Startzeit unbekannt\" at screen -0.02,-0.04 font "
                                   "\"Helvetica, 6\"\n"));
  // No table has rows: only the head and the settings.
  const std::string ende = "\"Helvetica, 6\"\n\nset xrange [*:*]\nset yrange [*:*]\n";
  EXPECT_EQ(farbig.substr(farbig.size() - ende.size()), ende);

  // The monochrome variant differs in the terminal and the style lines only.
  mpm.bausdat_gnupl_farbig = false;
  mpm._ausgabe_gnuplot(ZEITPU_ENDE);
  const std::vector<std::string> m = zeilen(lauf.lesen("gpl"));
  ASSERT_EQ(m.size(), f.size());
  std::vector<std::size_t> anders;
  for (std::size_t i = 1; i < m.size(); ++i)
    if (m[i] != f[i]) anders.push_back(i);
  EXPECT_EQ(anders, (std::vector<std::size_t>{8, 9, 10, 11, 12, 13, 14, 15}));
  EXPECT_EQ(m[8], "set terminal postscript landscape enhanced monochrome dashed simplex \"Helvetica\" 10");

  // A node selected alone: stride 1, start 0. Material-iteration blocks of
  // two points: point 3 in data sets 0 and 2, point 5 in data set 1.
  _material_erzeugen(&mpm, 1, 1, {1.0, 100.0, 0.25, 0.0});
  knoten(mpm, 4, 0.0, 0.0)->bausgewaehlt = true;
  for (int n : {3, 5})
    materialpunkt(mpm, n, n, 0.0)->bausgewaehlt = true;
  ueberschreiben(DATEI_DAT_KNO, "#Knotendaten\n#\n\n         4 1 0.5 1.0\n");
  ueberschreiben(DATEI_DAT_KAG, "#\n 0 0.5 1 1e-2 1e-4\n 0 0.5 2 1e-3 0\n 1 2.0 3 1e-4 1e-6\n");
  ueberschreiben(DATEI_DAT_KIL, "#\n3 0 0.5 1 1 1e-3 0 0.25\n3 0 0.5 1 2 1e-9 0 0.5\n\n\n"
                                "5 0 0.5 1 3 1e-2 0 0\n\n\n3 0 1.0 2 4 1e-6 0 0\n#Ende\n");
  mpm._ausgabe_gnuplot(ZEITPU_ENDE);
  const std::string text = lauf.lesen("gpl");
  const std::string kno = "'" + dateien.name(DATEI_DAT_KNO) + "' every 1::0 using ";
  EXPECT_TRUE(
      enthaelt(text, "\n\n\n\n\n#KNOTEN: ZUSTANDSGROESSEN UEBER ZEIT\n\nset output '" + dateien.basisname() +
                         ".kno.ps'\n\n\nset title \"Knoten 4, Masse\"\nset xlabel \"t\"\nset ylabel \"M\"\n"
                         "set xrange [*:*]\nset yrange [*:*]\nplot " +
                         kno + "3:4 title \"M\" with lines linestyle 10\n"));
  // Time over its end value 2; the logarithm of normG from 1e-6 (0) to 1e-4 (1).
  const std::string kag = "'" + dateien.name(DATEI_DAT_KAG) + "' using 3:(";
  EXPECT_TRUE(
      enthaelt(text, "set title \"global, Konvergenzverhalten\"\nset xlabel \"jges\"\nset ylabel \"\"\n"
                     "set xrange [0:3]\nset yrange [0.0:1.0]\nplot " +
                         kag + "($2/2)) title \"t (normiert)\" with lines linestyle 14, \\\n     " + kag +
                         "(($5>0)?(log($5)-(-13.815510558))/4.60517018599:0)) title"));
  const std::string kil = "'" + dateien.name(DATEI_DAT_KIL) + "' index ";
  EXPECT_TRUE(
      enthaelt(text, "set title \"Materialpunkt 3, Konvergenz der Materialiteration\"\nset xlabel \"kges\"\n"
                     "set ylabel \"\"\nset xrange [*:*]\nset yrange [0.0:1.0]\nplot " +
                         kil + "0:2:1 every 1:1:0:0 using 5:(($1==3)?($3/1):1/0) title \"t (normiert)\""));
  EXPECT_TRUE(enthaelt(
      text, kil + "1:1:1 every 1:1:0:0 using 5:(($1==5)?($8/1):1/0) title \"{/Symbol l} (normiert)\""));
  for (const char* fehlt : {"#MATERIALPUNKTE: ZUSTANDSGROESSEN", "#KNOTEN: KRAEFTE"})
    EXPECT_FALSE(enthaelt(text, fehlt)) << fehlt;
}

// The command files of an elastoplastic run with every table, in both
// variants, and of an elastic run whose material-iteration table stays empty.
TEST(Gnuplot, RealGnuplotDrawsEveryPlot) {
  if (std::system("gnuplot --version >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "gnuplot is not installed (Debian package gnuplot-nox); the command files are not run";
  const std::string schalter = "\naus_dat_konv W, W, W\naus_dat_gnupl W, W\n";
  {
    Testlauf lauf(beispieltext("probe")); // it switches every table and the Gnuplot file on
    Konsolenumleitung k;
    Tmpm mpm;
    ASSERT_TRUE(mpm._steuerung());
    const std::string farbig = lauf.lesen("gpl");
    for (const char* abschnitt :
         {".kvalok.ps'", ".mpu.sigeps.ps'", ".mpu.ps'", ".kno.ps'", ".kvaglo.ps'", ".kvilok.ps'"})
      EXPECT_TRUE(enthaelt(farbig, abschnitt)) << abschnitt;
    gnuplot_pruefen(farbig, "colour");
    mpm.bausdat_gnupl_farbig = false;
    mpm._ausgabe_gnuplot(ZEITPU_ENDE);
    gnuplot_pruefen(lauf.lesen("gpl"), "monochrome");
  }
  Testlauf lauf(beispieltext("kragarm") + schalter);
  Konsolenumleitung k;
  Tmpm mpm;
  ASSERT_TRUE(mpm._steuerung());
  const std::string elastisch = lauf.lesen("gpl");
  EXPECT_FALSE(enthaelt(elastisch, ".kvilok.ps'"));
  gnuplot_pruefen(elastisch, "elastic");
}
