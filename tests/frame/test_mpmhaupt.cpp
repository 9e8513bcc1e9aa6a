// The program as a user starts it.

#include <cstdlib>
#include <regex>

#include "testhilfe.h"

using th::enthaelt;

namespace {
// The unit square without its time-step method (the first line).
const std::string modell = th::einheitsquadrat("stw_t 0., 1., 0.5\nmat 1, 1, (1., 1., 0., 0.)").substr(29);

// Standard output goes to konsole.txt, standard error to fehler.txt.
int aufrufen(const Tempordner& ordner, const std::string& argumente, const std::string& eingabe = "") {
  const std::string befehl = "cd '" + ordner.pfad().string() + "' && printf '" + eingabe +
                             "' | '" MPM_BINARY "' " + argumente + " > konsole.txt 2> fehler.txt";
  const int status = std::system(befehl.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

// Options create no run files; a complete run, one with a misspelt keyword
// (named with its line and a hint, and the console points to the log) and
// one stopped by the user.
TEST(Programm, OptionsRunsAndStopByTheUser) {
  Tempordner ordner;
  const auto lesen = [&ordner](const std::string& name) { return datei_lesen(ordner.datei(name)); };
  ordner.schreiben("lauf.mpm", "stw_zeitschrittverf implizit\n" + modell);
  EXPECT_EQ(aufrufen(ordner, "--help"), 0);
  EXPECT_TRUE(enthaelt(lesen("konsole.txt"), "\nstw_strafverf\n"));
  EXPECT_EQ(aufrufen(ordner, "-v lauf"), 1);
  EXPECT_FALSE(std::filesystem::exists(ordner.datei("lauf.kt1.txt")));

  EXPECT_EQ(aufrufen(ordner, "lauf", ""), 0);
  EXPECT_EQ(lesen("lauf.flr.txt"), "");
  EXPECT_EQ(lesen("fehler.txt"), "");
  // The element library's registries answer inside the program.
  EXPECT_TRUE(enthaelt(lesen("lauf.kt1.txt"), "eletyp(1+), ans=ViereckLagro1Lagro1, integ=ViereckGaussN4"));
  EXPECT_TRUE(enthaelt(lesen("konsole.txt"), "\nENDE "));

  ordner.schreiben("lauf.mpm", "stw_zeitschrittverf implizit\nstw_strafferf F\n" + modell);
  EXPECT_EQ(aufrufen(ordner, "lauf", ""), 0);
  EXPECT_EQ(lesen("lauf.flr.txt"), th::golden("input/golden/meldungen.txt", "stw_strafferf.flr"));
  EXPECT_EQ(lesen("fehler.txt"), "Fehlerprotokoll lauf.flr.txt: 2 Meldungen\n");

  // An explicit run asks first; "x" stops it with status 1 and the abort output.
  ordner.schreiben("lauf.mpm", "stw_zeitschrittverf explizit\n" + modell);
  EXPECT_EQ(aufrufen(ordner, "lauf", "x\\n"), 1);
  EXPECT_TRUE(enthaelt(lesen("konsole.txt"), "FEHLER: explizites Zeitschrittverfahren nicht getestet!\n"));
  EXPECT_TRUE(enthaelt(lesen("konsole.txt"), "\nABBRUCH "));
  EXPECT_TRUE(enthaelt(lesen("lauf.dat.mpu.txt"), "#Ende / ")) << "the tables are closed after a stop";
}

TEST(Programm, DemoBuildsOnlyTheProgram) {
  Tempordner ordner;
  const std::string befehl = "make -n -C '" MPM_QUELLE "' demo BUILD='" + ordner.datei("b") + "' > '" +
                             ordner.datei("plan.txt") + "' 2>&1";
  ASSERT_EQ(std::system(befehl.c_str()), 0);
  // One build step, and it builds the program.
  const std::string plan = datei_lesen(ordner.datei("plan.txt"));
  EXPECT_EQ(th::anzahl(plan, "cmake --build"), 1) << plan;
  EXPECT_TRUE(std::regex_search(plan, std::regex("cmake --build [^\n]*--target mpm "))) << plan;
}
