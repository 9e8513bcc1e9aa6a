// The program as a user starts it.

#include <gtest/gtest.h>

#include <cstdlib>

#include "testhilfe.h"

namespace {
const std::string modell = "stw_t 0., 1., 0.5\nmat 1, 1, (1., 1., 0., 0.)\neletyp 1\n"
                           "kno 1, 1, 1., (0, 0)\nkno 2, 1, 1., (1, 0)\nkno 3, 1, 1., (1, 1)\n"
                           "kno 4, 1, 1., (0, 1)\nele 1, 1, 1, (1, 2, 3, 4)\n";

int programm(const Tempordner& ordner, const std::string& eingabe) {
  const std::string befehl = "cd '" + ordner.pfad().string() + "' && printf '" + eingabe + "' | '" MPM_BINARY
                             "' lauf > konsole.txt 2>&1";
  const int status = std::system(befehl.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

TEST(Programm, CompleteRunAndStopByTheUser) {
  Tempordner ordner;
  ordner.schreiben("lauf.mpm", modell + "stw_zeitschrittverf implizit\n");
  EXPECT_EQ(programm(ordner, ""), 0);
  EXPECT_EQ(datei_lesen(ordner.datei("lauf.flr.txt")), "");
  // The element library's registries answer inside the program.
  EXPECT_NE(datei_lesen(ordner.datei("lauf.kt1.txt")).find("eletyp(1+), ans=ViereckLagro1Lagro1, integ=ViereckGaussN4"),
            std::string::npos);
  EXPECT_NE(datei_lesen(ordner.datei("konsole.txt")).find("\nENDE "), std::string::npos);

  // An explicit run asks first; "x" stops it with status 1 and the abort output.
  ordner.schreiben("lauf.mpm", modell + "stw_zeitschrittverf explizit\n");
  EXPECT_EQ(programm(ordner, "x\\n"), 1);
  const std::string konsole = datei_lesen(ordner.datei("konsole.txt"));
  EXPECT_NE(konsole.find("FEHLER: explizites Zeitschrittverfahren nicht getestet!\n"), std::string::npos);
  EXPECT_NE(konsole.find("\nABBRUCH "), std::string::npos);
  EXPECT_NE(datei_lesen(ordner.datei("lauf.dat.mpu.txt")).find("#Ende / "), std::string::npos)
      << "the tables are closed after a stop";
}
