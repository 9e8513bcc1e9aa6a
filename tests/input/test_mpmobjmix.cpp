#include "input/dateinaus.h"
#include "input/mpmobjmix.h"
#include "testhilfe.h"

using namespace MPM;
using th::enthaelt;

namespace {
// Reads `inhalt` as an input file into fresh control values; the console,
// the logs and the answers to questions go through `k`.
TSteuerparam lesen(const std::string& inhalt, Konsolenumleitung& k) {
  Tempordner ordner;
  ordner.schreiben("e.mpm", inhalt);
  Tdatein ein(ordner.datei("e.mpm"));
  k.fehler.str("");
  k.kontroll.str("");
  TSteuerparam stw;
  stw._eingabe(ein);
  TDimensionen::setzen(ELE::DIM_2D, RBDIM_SP0);
  return stw;
}

std::string G(const std::string& name) {
  return th::golden("input/golden/steuerwerte.txt", name);
}
} // namespace

TEST(Steuerwerte, TimeGridFromStepCountStepLengthOrEstimate) {
  Konsolenumleitung k;
  TSteuerparam s = lesen("stw_t 0., 1., 0., 10\n", k);
  EXPECT_DOUBLE_EQ(s.dt, 0.1);
  EXPECT_EQ(s.Nt, 10u);
  EXPECT_DOUBLE_EQ(s.dtkontakt, 0.1);
  s = lesen("stw_t 0., 1., 0.3\n", k);
  EXPECT_EQ(s.Nt, 4u);
  EXPECT_EQ(s.te, 1.0);
  s = lesen("stw_t 0., 0., 0.1, 5\n", k);
  EXPECT_DOUBLE_EQ(s.te, 0.5);
  s = lesen("stw_t 2., 1., 0.25, 0, 3, 0.01\n", k);
  EXPECT_EQ((std::vector<double>{s.ta, s.te, double(s.Nt), double(s.tta), s.dtkontakt}),
            (std::vector<double>{1, 2, 4, 3, 0.01}))
      << "start and end are swapped";

  // Without "stw_t" the step is the estimate of the default parameters
  // (l = b = d = s = rho = E = 1, nu = 0): T_K = 2, dtschaetz = T_K / 4.
  s = lesen("titel \"ohne Zeiten\"\n", k);
  EXPECT_DOUBLE_EQ(s.dt, 0.5);
  EXPECT_EQ(s.Nt, 1u);
  EXPECT_DOUBLE_EQ(s.te, 0.5);
  EXPECT_TRUE(enthaelt(k.kontroll.str(), G("schaetzung.kt1"))) << k.kontroll.str();
  EXPECT_EQ(k.fehler.str(), G("schaetzung.flr"));

  // A plane-strain estimate: c_K = sqrt(E (1 - nu) / ((1 + nu)(1 - 2 nu) rho)).
  s = lesen("stw_autodtparam (10., 1., 1., 0.5, 8., 200., 0.25)\n", k);
  const double c_K = std::sqrt(200.0 * 0.75 / (1.25 * 0.5 * 8.0));
  EXPECT_NEAR(s.dt, 2.0 * std::acos(-1.0) / (std::acos(-1.0) / 0.5 * c_K) / 4.0, 1e-15);
}

TEST(Steuerwerte, OutputIntervalsAndNewmarkCoefficients) {
  Konsolenumleitung k;
  TSteuerparam s = lesen("stw_t 0., 1., 0.1\nstw_t_aus_dat F, 0.3, (0.5, 0.2, 0.5)\n"
                         "stw_t_aus_ktr W, 0.05, (), 0, (s 1, 7, 3)\n",
                         k);
  EXPECT_EQ(s.dNtausdat, 3u);
  EXPECT_EQ(s.tausdat, (std::set<double>{0.2, 0.5}));
  EXPECT_DOUBLE_EQ(s.dtausktr, 0.1);
  EXPECT_EQ(s.dNtausktr, 1u);
  EXPECT_EQ(s.Ntausktr, (std::set<unsigned>{1, 4, 7}));

  s = lesen("stw_t 0., 1., 0.1\nstw_t_aus_dat F, 0., (), 0\nstw_t_aus_ktr F, 0., (), 2\n", k);
  EXPECT_EQ(s.dNtausdat, s.Nt);
  EXPECT_DOUBLE_EQ(s.dtausdat, 1.0);
  EXPECT_DOUBLE_EQ(s.dtausktr, 0.2);

  s = lesen("stw_t 0., 1., 0.1\nstw_zeitschrittverf implizit, 0.25, 0.5\n", k);
  EXPECT_LT(maxabw(s.newmark_koeff, TVM::VekR{400.0, 40.0, 1.0, 20.0, -1.0, 0.0}), 1e-12 * 400)
      << s.newmark_koeff;
  s._init_zeitschrittparam(0.0);
  EXPECT_EQ(s.newmark_koeff, TVM::VekR(6));
}

TEST(Steuerwerte, CorrectedValuesAndTheirMessages) {
  Konsolenumleitung k;
  using L = std::vector<double>;
  TSteuerparam s = lesen("stw_zeitschrittverf explizit, 0.3, 0.6\nstw_m F, 1.5\n", k);
  EXPECT_EQ((L{s.newmark_beta, s.newmark_gamma, double(s.bmassen), s.m_verklumpen}), (L{0.25, 0.5, 1, 0}));
  EXPECT_EQ(k.fehler.str(), G("massen.flr"));

  // Every value out of range, with its message and the value used.
  s = lesen(vorlage("input/daten/korrigiert.mpm"), k);
  EXPECT_EQ(
      (L{double(s.wolkenpolynomgrad), s.wolkenueberlappung_mpu, s.schmutzxa, s.kontakt_straffunkparam[0],
         s.kontakt_grenzg, double(s.zstrg_Nteile), double(s.zstrg_Nstufen)}),
      (L{1, 0.5, 1e-10, 1e8, 2, 2, 50}));
  EXPECT_EQ(s.uebertragrichtstart, UEBERTRAGRICHTSTART_KNO_ZU_MPU);
  EXPECT_EQ(s.gleichloes_bil, MATHE::LOESER_LU);
  EXPECT_EQ(k.fehler.str(), vorlage("input/golden/korrigiert.flr.txt"));
  EXPECT_EQ(TDimensionen::dim1, 2);

  // A short list keeps the preset tail, here nu = 0.5: the estimate breaks
  // down (incompressible), and the step falls back to 1 with a message.
  s = lesen("stw_bilanzit 25\nstw_autodtparam (2., 3.)\n", k);
  EXPECT_EQ(s.autodtparam, (TVM::VekR{2, 3, 1, 1, 1, 1, 0.5}));
  // Absent entries keep the presets.
  EXPECT_EQ((L{double(s.maxNbilanzit), s.schranke_normdU, s.dt, s.schranke_normeps, s.schranke_fliessbed}),
            (L{25, 1e-6, 1, 2.220446E-12, -1e-12}));
  EXPECT_EQ(s.gleichloes_bil, MATHE::LOESER_PROFIL);
  EXPECT_TRUE(s.bneuberech);
  EXPECT_TRUE(enthaelt(k.fehler.str(), G("dtschaetz.flr"))) << k.fehler.str();
}

// The contact penalty law takes one or two parameters; more are reported and
// cut, a second one not above 0 is reported and dropped.
TEST(Steuerwerte, ContactPenaltyParameters) {
  Konsolenumleitung k;
  TSteuerparam s = lesen("stw_zeitschrittverf implizit\nstw_kontakt W, 0.2, (5.e5, 1.e-3, 7.)\n", k);
  EXPECT_EQ(s.kontakt_straffunkparam, (TVM::VekR{5e5, 1e-3}));
  EXPECT_EQ(k.fehler.str(), G("kontakt3.flr"));
  s = lesen("stw_zeitschrittverf implizit\nstw_kontakt W, -0.2, (0., 0.)\n", k);
  EXPECT_EQ(s.kontakt_straffunkparam, (TVM::VekR{1e8}));
  EXPECT_EQ(s.kontakt_grenzg, 1.0);
  EXPECT_EQ(k.fehler.str(), G("kontakt0.flr"));
  EXPECT_EQ(lesen("stw_kontakt W, 0.2, ()\n", k).kontakt_straffunkparam, (TVM::VekR{1e6}));
}

TEST(Steuerwerte, ContradictoryMethodChoiceAsksToStop) {
  {
    Konsolenumleitung k("w\nw\n");
    EXPECT_TRUE(lesen("stw_berechverf W, F, W, W, W, F\n", k).bmpuaufkno);
    EXPECT_EQ(k.aus.str() + "\n", G("berechverf.aus"));
    EXPECT_TRUE(enthaelt(k.fehler.str(), G("berechverf.flr")));
  }
  const std::pair<const char*, const char*> faelle[] = {{"kopie, eleinv, refkonf", "/Ansatz\n"},
                                                        {"kopieren, eleinv, spaet", "/Konfiguration\n"}};
  for (const auto& [wahl, text] : faelle) {
    Konsolenumleitung k("x\n");
    EXPECT_THROW(lesen(std::string("stw_berechverf W,W,W, F,W,F, ele, ") + wahl + ", klnverz\n", k), int);
    EXPECT_TRUE(enthaelt(k.aus.str(), std::string("FEHLER Fehler bei Auswahl Berechnungsverfahren") + text))
        << k.aus.str();
  }
  Konsolenumleitung k("");
  TSteuerparam s = lesen("stw_berechverf W,W,W, F,W,F, wolken, kopieren, eleinv, momkonf, groverz\n", k);
  EXPECT_EQ(k.aus.str(), "");
  EXPECT_FALSE(s.belenutzen);
  EXPECT_EQ(s._ANSATZ(OBJTYP_KNO, OBJTYP_IPU), ANSATZ_WOLKEN);
  EXPECT_EQ(s._ANSATZ(OBJTYP_IPU, OBJTYP_KNO), ANSATZ_ELEINV);
  EXPECT_EQ(s._ANSATZ(OBJTYP_MPU, OBJTYP_IPU), ANSATZ_KOPIEREN);
  EXPECT_EQ(s._ANSATZ(OBJTYP_IPU, OBJTYP_MPU), ANSATZ_UNBEKANNT);
  EXPECT_EQ(s._wolkenueberlappung(OBJTYP_KNO), 3.0);
}

TEST(Steuerwerte, Echo) {
  Konsolenumleitung k;
  TSteuerparam s = lesen("stw_numplus 7\nstw_gleichloes_bil Gauss\n", k);
  const std::string echo = k.kontroll.str().substr(k.kontroll.str().find("\nSTEUERWERTE\n"));
  for (int i = 1; i <= 5; ++i)
    EXPECT_TRUE(enthaelt(echo, G("echo.kt1 " + std::to_string(i)))) << i;
  EXPECT_FALSE(enthaelt(echo, "newmark_koeff"));
  EXPECT_FALSE(s.bstartbeschl) << "the start acceleration is opt-in";
}

TEST(Steuerwerte, StartAccelerationNeedsMasses) {
  Konsolenumleitung k;
  const std::string implizit = "stw_zeitschrittverf implizit\n";
  EXPECT_TRUE(lesen(implizit + "stw_startbeschl W\n", k).bstartbeschl);
  EXPECT_EQ(k.fehler.str(), "");
  EXPECT_TRUE(lesen(implizit + "stw_m F\nstw_startbeschl W\n", k).bstartbeschl);
  EXPECT_EQ(k.fehler.str(), G("startbeschl.flr"));
}
