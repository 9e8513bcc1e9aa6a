// The program as a user starts it.

#include <gtest/gtest.h>

#include <cstdlib>

#include "testhilfe.h"

namespace {
const std::string modell = "stw_t 0., 1., 0.5\nmat 1, 1, (1., 1., 0., 0.)\neletyp 1\n"
                           "kno 1, 1, 1., (0, 0)\nkno 2, 1, 1., (1, 0)\nkno 3, 1, 1., (1, 1)\n"
                           "kno 4, 1, 1., (0, 1)\nele 1, 1, 1, (1, 2, 3, 4)\n";

// Standard output goes to konsole.txt, standard error to fehler.txt.
int aufrufen(const Tempordner& ordner, const std::string& argumente, const std::string& eingabe = "") {
  const std::string befehl = "cd '" + ordner.pfad().string() + "' && printf '" + eingabe +
                             "' | '" MPM_BINARY "' " + argumente + " > konsole.txt 2> fehler.txt";
  const int status = std::system(befehl.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

TEST(Programm, CompleteRunAndStopByTheUser) {
  Tempordner ordner;
  ordner.schreiben("lauf.mpm", modell + "stw_zeitschrittverf implizit\n");
  EXPECT_EQ(aufrufen(ordner, "lauf", ""), 0);
  EXPECT_EQ(datei_lesen(ordner.datei("lauf.flr.txt")), "");
  // The element library's registries answer inside the program.
  EXPECT_NE(datei_lesen(ordner.datei("lauf.kt1.txt"))
                .find("eletyp(1+), ans=ViereckLagro1Lagro1, integ=ViereckGaussN4"),
            std::string::npos);
  EXPECT_NE(datei_lesen(ordner.datei("konsole.txt")).find("\nENDE "), std::string::npos);

  // An explicit run asks first; "x" stops it with status 1 and the abort output.
  ordner.schreiben("lauf.mpm", modell + "stw_zeitschrittverf explizit\n");
  EXPECT_EQ(aufrufen(ordner, "lauf", "x\\n"), 1);
  const std::string konsole = datei_lesen(ordner.datei("konsole.txt"));
  EXPECT_NE(konsole.find("FEHLER: explizites Zeitschrittverfahren nicht getestet!\n"), std::string::npos);
  EXPECT_NE(konsole.find("\nABBRUCH "), std::string::npos);
  EXPECT_NE(datei_lesen(ordner.datei("lauf.dat.mpu.txt")).find("#Ende / "), std::string::npos)
      << "the tables are closed after a stop";
}

TEST(Programm, OptionsCreateNoRunFiles) {
  Tempordner ordner;
  ordner.schreiben("lauf.mpm", modell);
  EXPECT_EQ(aufrufen(ordner, "--help"), 0);
  EXPECT_NE(datei_lesen(ordner.datei("konsole.txt")).find("\nstw_strafverf\n"), std::string::npos);
  EXPECT_EQ(aufrufen(ordner, "-v lauf"), 1);
  EXPECT_FALSE(std::filesystem::exists(ordner.datei("lauf.kt1.txt")));
}

TEST(Programm, MisspeltKeywordIsNamedWithLineAndHintAndTheConsolePointsToTheLog) {
  Tempordner ordner;
  ordner.schreiben("lauf.mpm", "stw_zeitschrittverf implizit\nstw_strafferf F\n" + modell);
  EXPECT_EQ(aufrufen(ordner, "lauf", ""), 0);
  EXPECT_EQ(datei_lesen(ordner.datei("lauf.flr.txt")),
            "Eingabedatei, Zeilennummer 2: Uebergebenes Wort<stw_strafferf> nicht als Schluesselwort "
            "verzeichnet; meinten Sie stw_strafverf?\nUnbekanntes Schluesselwort\n");
  EXPECT_EQ(datei_lesen(ordner.datei("fehler.txt")), "Fehlerprotokoll lauf.flr.txt: 2 Meldungen\n");
}

TEST(Programm, DemoBuildsOnlyTheProgram) {
  Tempordner ordner;
  const std::string befehl = "make -n -C '" MPM_QUELLE "' demo BUILD='" + ordner.datei("b") + "' > '" +
                             ordner.datei("plan.txt") + "' 2>&1";
  ASSERT_EQ(std::system(befehl.c_str()), 0);
  std::istringstream plan(datei_lesen(ordner.datei("plan.txt")));
  int bauen = 0;
  for (std::string zeile; std::getline(plan, zeile);) {
    if (zeile.find("cmake --build") == std::string::npos) continue;
    ++bauen;
    EXPECT_NE(zeile.find("--target mpm "), std::string::npos) << zeile;
  }
  EXPECT_EQ(bauen, 1);
}
