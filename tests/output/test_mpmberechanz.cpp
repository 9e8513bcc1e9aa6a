#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "solver/mpm.h"
#include "solver/mpmobjsys.h"
#include "testhilfe.h"

using namespace MPM;

namespace {
const std::string strich = std::string(80, '-') + "\n";

// Shows time point z and returns what the console received; the control log
// must have received the same text or nothing.
std::string zeigen(Tmpm& mpm, int z, Konsolenumleitung& k) {
  k.aus.str("");
  k.kontroll.str("");
  EXPECT_TRUE(mpm._berechnungsanzeige(static_cast<ZEITPU>(z)));
  EXPECT_EQ(k.kontroll.str(), mpm.bausktr ? k.aus.str() : std::string()) << "time point " << z;
  return k.aus.str();
}

void iterationswerte(Tmpm& mpm) {
  mpm.binel = true;
  mpm.iiges = 12;
  mpm.jj = 3;
  mpm.jjges = 17;
  mpm.sys->normdU = 1.5e-3;
  mpm.sys->cosdU = -0.5;
  mpm.sys->Nkonpu = 2;
  mpm.sys->konflr = 2e-4;
  mpm.bkonkontr = mpm.bkonv = mpm.bmatkonv = true;
}

const std::string rest_komma = "binel=1, iiges=    12, jj=  3,     17, normdU= 1.500e-03, du_kontr=  -0.500, "
                               "Nkonpu=  2, konflr= 2.000e-04\n";
const std::string rest_leer = "binel=1  iiges=    12, jj=  3,     17, normdU= 1.500e-03, du_kontr=  -0.500, "
                              "Nkonpu=  2, konflr= 2.000e-04\n";
} // namespace

TEST(Berechnungsanzeige, FramedStartEndAndStopWithTheirTimeTexts) {
  Konsolenumleitung k;
  Tmpm mpm;
  const std::regex zeitform(
      R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d \[ time\(\)=\d+, clock\(\)/CLOCKS_PER_SEC=\d+\.\d{3} \])");
  // The time text is set by the call itself, so it is read afterwards; the
  // control log stays silent for the stop.
  const struct {
    ZEITPU z;
    const char* wort;
    const std::string& zeit;
  } faelle[] = {{ZEITPU_ANFANG, "START", mpm.zeitanfang},
                {ZEITPU_ENDE, "ENDE", mpm.zeitende},
                {ZEITPU_ABBRUCH, "ABBRUCH", mpm.zeitende}};
  for (const auto& f : faelle) {
    mpm.bausktr = f.z != ZEITPU_ABBRUCH;
    const std::string text = zeigen(mpm, f.z, k);
    EXPECT_EQ(text, "\n" + strich + f.wort + " " + f.zeit + "\n" + strich);
    EXPECT_TRUE(std::regex_match(f.zeit, zeitform)) << f.zeit;
    EXPECT_EQ(mpm.zeitende, f.z == ZEITPU_ANFANG ? "unbekannt" : f.zeit);
    mpm.zeitende = "";
  }
}

TEST(Berechnungsanzeige, StepAndIterationLines) {
  Konsolenumleitung k;
  Tmpm mpm;
  mpm.tt = 3;
  mpm.dt = 0.25;
  mpm.Stufe = 1;
  mpm.t_n = 0.5;
  mpm.t = 0.75;
  EXPECT_EQ(zeigen(mpm, ZEITPU_STARTWERTE, k), "Ausgabe der Startwerte\n");
  EXPECT_EQ(zeigen(mpm, ZEITPU_ZEITSCHRITTANFANG, k),
            "  ZSA: tt=    3, dt= 2.50000e-01, (Stufe=1), t_n= 5.00000e-01, t= 7.50000e-01\n");
  mpm.bwiederholung = true;
  EXPECT_EQ(zeigen(mpm, ZEITPU_ZEITSCHRITTANFANG, k),
            "W ZSA: tt=    3, dt= 2.50000e-01, (Stufe=1), t_n= 5.00000e-01, t= 7.50000e-01\n");

  iterationswerte(mpm);
  mpm.bausktr = false;
  mpm.bausdat = false;
  EXPECT_EQ(zeigen(mpm, ZEITPU_ITERATIONSSCHRITTANFANG, k), "GIA:\n");
  EXPECT_EQ(zeigen(mpm, ZEITPU_ITERATIONSSCHRITTENDE, k), "W GIE: (+), " + rest_leer);
  EXPECT_EQ(zeigen(mpm, 7, k), "KIA\n");
  EXPECT_EQ(zeigen(mpm, 8, k), "W KIE: (+), " + rest_leer);
  EXPECT_EQ(zeigen(mpm, ZEITPU_ZEITSCHRITTENDE, k), "W ZSE: (+), " + rest_komma);
  mpm.bwiederholung = false;
  mpm.bausktr = true;
  EXPECT_EQ(zeigen(mpm, ZEITPU_ITERATIONSSCHRITTENDE, k), "  GIE: (+), " + rest_leer);
  mpm.binel = false;
  EXPECT_EQ(zeigen(mpm, 8, k).substr(0, 22), "  KIE: (+), binel=0  i");

  for (int z : {0, 11, -1, 99})
    EXPECT_EQ(zeigen(mpm, z, k), "") << z;
}

TEST(Berechnungsanzeige, ConvergedMarkAndOutputLine) {
  Konsolenumleitung k;
  Tmpm mpm;
  iterationswerte(mpm);
  struct Fall {
    bool ktr, dat;
    const char* zeile;
  } faelle[] = {{true, true, "<< (ktr, dat)\n"},
                {true, false, "<< (ktr)\n"},
                {false, true, "<< (dat)\n"},
                {false, false, ""}};
  for (const Fall& f : faelle) {
    mpm.bausktr = f.ktr;
    mpm.bausdat = f.dat;
    EXPECT_EQ(zeigen(mpm, ZEITPU_ZEITSCHRITTENDE, k), "  ZSE: (+), " + rest_komma + f.zeile);
  }
  // Any missing pass flag makes the step unconverged: "(-)" and no output line.
  mpm.bausktr = mpm.bausdat = true;
  for (bool* flag : {&mpm.bkonkontr, &mpm.bkonv, &mpm.bmatkonv}) {
    *flag = false;
    EXPECT_EQ(zeigen(mpm, ZEITPU_ZEITSCHRITTENDE, k), "  ZSE: (-), " + rest_komma);
    EXPECT_EQ(zeigen(mpm, ZEITPU_ITERATIONSSCHRITTENDE, k), "  GIE: (-), " + rest_leer);
    *flag = true;
  }
}
