#include <regex>

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

// Shows the time points in turn: each output after a line "[z]".
std::string zeigen(Tmpm& mpm, std::initializer_list<int> zeitpunkte, Konsolenumleitung& k) {
  std::string text;
  for (int z : zeitpunkte)
    text += "[" + std::to_string(z) + "]\n" + zeigen(mpm, z, k);
  return text;
}
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

// The step lines; the iteration lines with the repetition mark and with
// and without the output switches, each of the three pass flags missing;
// the converged mark and the output line of every switch pair.
TEST(Berechnungsanzeige, StepIterationAndOutputLines) {
  Konsolenumleitung k;
  Tmpm mpm;
  mpm.tt = 3;
  mpm.dt = 0.25;
  mpm.Stufe = 1;
  mpm.t_n = 0.5;
  mpm.t = 0.75;
  std::string text = zeigen(mpm, {ZEITPU_STARTWERTE, ZEITPU_ZEITSCHRITTANFANG}, k);
  mpm.bwiederholung = true;
  text += zeigen(mpm, {ZEITPU_ZEITSCHRITTANFANG}, k);
  mpm.binel = true;
  mpm.iiges = 12;
  mpm.jj = 3;
  mpm.jjges = 17;
  mpm.sys->normdU = 1.5e-3;
  mpm.sys->cosdU = -0.5;
  mpm.sys->Nkonpu = 2;
  mpm.sys->konflr = 2e-4;
  mpm.bkonkontr = mpm.bkonv = mpm.bmatkonv = true;
  mpm.bausktr = mpm.bausdat = false;
  text += zeigen(
      mpm, {ZEITPU_ITERATIONSSCHRITTANFANG, ZEITPU_ITERATIONSSCHRITTENDE, 7, 8, ZEITPU_ZEITSCHRITTENDE}, k);
  mpm.bwiederholung = false;
  mpm.bausktr = true;
  text += zeigen(mpm, {ZEITPU_ITERATIONSSCHRITTENDE}, k);
  mpm.binel = false;
  text += zeigen(mpm, {8, 0, 11, -1, 99}, k);
  mpm.binel = mpm.bausdat = true;
  for (bool* flag : {&mpm.bkonkontr, &mpm.bkonv, &mpm.bmatkonv}) {
    *flag = false;
    text += zeigen(mpm, {ZEITPU_ZEITSCHRITTENDE, ZEITPU_ITERATIONSSCHRITTENDE}, k);
    *flag = true;
  }
  // The output line after a converged step names the switched-on outputs.
  for (bool ktr : {true, false})
    for (bool dat : {true, false}) {
      mpm.bausktr = ktr;
      mpm.bausdat = dat;
      text += zeigen(mpm, {ZEITPU_ZEITSCHRITTENDE}, k);
    }
  EXPECT_EQ(text, th::golden("output/golden/berechnungsanzeige.txt", "Schritte"));
}
