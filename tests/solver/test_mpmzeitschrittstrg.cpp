#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <new>
#include <sstream>
#include <string>

#include "solver/mpm.h"
#include "testhilfe.h"

using namespace MPM;
using namespace th;

namespace {
// Replaces the step by a scripted sequence of outcomes and records what the
// time loop hands to each step.
struct Drehbuch : Tmpm {
  struct Aufruf {
    double t_n, dt, t;
    int Stufe, tt;
    bool bgrundschritt, bwiederholung;
  };
  std::deque<bool> ergebnisse; // empty: every further step succeeds
  std::vector<Aufruf> aufrufe;

  bool _zeitschritt() override {
    aufrufe.push_back({t_n, dt, t, Stufe, tt, bgrundschritt, bwiederholung});
    if (aufrufe.size() > 1000) throw 99; // a loop that never ends
    if (ergebnisse.empty()) return true;
    const bool ok = ergebnisse.front();
    ergebnisse.pop_front();
    return ok;
  }
};

void zeiten(Drehbuch& d, double ta, unsigned tta, double dt, unsigned Nt, bool bzstrg, unsigned q = 2,
            unsigned L = 2) {
  d.stw.ta = ta;
  d.stw.tta = tta;
  d.stw.dt = dt;
  d.stw.Nt = Nt;
  d.stw.bzstrg = bzstrg;
  d.stw.zstrg_Nteile = q;
  d.stw.zstrg_Nstufen = L;
}
} // namespace

TEST(Zeitschleife, RefinementHalvesTwiceThenGrowsBackLevelByLevel) {
  Konsolenumleitung k;
  Drehbuch d;
  zeiten(d, 0.0, 3, 1.0, 2, true);
  d.ergebnisse = {false, false, true, true, true};
  EXPECT_EQ(d._zeitschrittsteuerung(), 1);
  EXPECT_EQ(k.aus.str(), "Zeitschritte\nZeitschrittverkleinerung\nZeitschrittverkleinerung\n"
                         "Zeitschrittvergroesserung\nZeitschrittvergroesserung\n");
  ASSERT_EQ(d.aufrufe.size(), 6u);
  // The last step starts at ta + tta dt + dt.
  const double t_n[] = {3.0, 3.0, 3.0, 3.25, 3.5, 4.0};
  const double dt[] = {1.0, 0.5, 0.25, 0.25, 0.5, 1.0};
  const int stufe[] = {0, 1, 2, 2, 1, 0};
  const bool grund[] = {true, false, false, false, false, true};
  const bool wiederholt[] = {false, true, true, false, false, false};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(d.aufrufe[i].t_n, t_n[i]) << i;
    EXPECT_EQ(d.aufrufe[i].t, t_n[i] + dt[i]) << i;
    EXPECT_EQ(d.aufrufe[i].Stufe, stufe[i]) << i;
    EXPECT_EQ(d.aufrufe[i].bgrundschritt, grund[i]) << i;
    EXPECT_EQ(d.aufrufe[i].bwiederholung, wiederholt[i]) << i;
  }
  EXPECT_EQ(d.aufrufe[5].tt, 4);
  EXPECT_EQ(d.zsges, 4);
  EXPECT_TRUE(d.bfertig);
}

TEST(Zeitschleife, NoStepsForZeroStepCount) {
  for (bool bzstrg : {false, true}) {
    Konsolenumleitung k;
    Drehbuch d;
    zeiten(d, 0.0, 0, 0.1, 0, bzstrg);
    d._zeitschrittsteuerung();
    EXPECT_TRUE(d.aufrufe.empty());
    EXPECT_TRUE(d.bfertig);
  }
}

TEST(Zeitschleife, WithoutStepControlAFailureAsksWhetherToStop) {
  {
    Konsolenumleitung k("w\n");
    Drehbuch d;
    zeiten(d, 1.0, 5, 0.5, 3, false);
    d.ergebnisse = {true, false, true};
    d._zeitschrittsteuerung();
    ASSERT_EQ(d.aufrufe.size(), 3u);
    EXPECT_EQ(d.aufrufe[2].t_n, 2.0);
    EXPECT_EQ(d.aufrufe[2].tt, 7);
    EXPECT_EQ(d.zsges, 3);
    EXPECT_EQ(k.aus.str(), "Zeitschritte\nKeine Konvergenz und keine Zeitschrittsteuerung -> Abbruch\n"
                           "Fuer ABBRUCH \"x\", fuer WEITER beliebiges Zeichen eingeben:");
  }
  Konsolenumleitung k("x\n");
  Drehbuch d;
  zeiten(d, 0.0, 0, 0.5, 3, false);
  d.ergebnisse = {false};
  EXPECT_THROW(d._zeitschrittsteuerung(), int);
  EXPECT_EQ(d.aufrufe.size(), 1u);
}

TEST(Zeitschleife, FinestLevelRepeatsWhenTheUserGoesOn) {
  Konsolenumleitung k("w\nw\n");
  Drehbuch d;
  zeiten(d, 0.0, 0, 1.0, 1, true, 2, 1);
  // The base step fails from the start: level 0 -> 1, then twice at level 1.
  d.ergebnisse = {false, true, false, false, true};
  d._zeitschrittsteuerung();
  ASSERT_EQ(d.aufrufe.size(), 5u);
  for (int i = 2; i < 5; ++i) {
    EXPECT_EQ(d.aufrufe[i].Stufe, 1) << i;
    EXPECT_EQ(d.aufrufe[i].t_n, 0.5) << "the repeated sub-step starts where it did";
  }
  EXPECT_EQ(k.aus.str(), "Zeitschritte\nZeitschrittverkleinerung\nZeitschrittverkleinerung\n"
                         "Keine Konvergenz trotz Zeitschrittverkleinerung\n"
                         "Fuer ABBRUCH \"x\", fuer WEITER beliebiges Zeichen eingeben:"
                         "Zeitschrittverkleinerung\nKeine Konvergenz trotz Zeitschrittverkleinerung\n"
                         "Fuer ABBRUCH \"x\", fuer WEITER beliebiges Zeichen eingeben:"
                         "Zeitschrittvergroesserung\n");
  EXPECT_TRUE(d.bfertig);
}

// An empty model converges at once; a second iteration follows all the same.
TEST(Zeitschritt, AtLeastTwoEquilibriumIterations) {
  Konsolenumleitung k;
  Tmpm mpm;
  mpm.dt = 0.1;
  EXPECT_TRUE(mpm._zeitschritt());
  EXPECT_EQ(mpm.jj, 2);
}

// Heap allocations counted while `bzaehlen` is set; every other test runs
// through the same replacement without counting.
namespace {
bool bzaehlen = false;
long Nallokationen = 0;
} // namespace

void* operator new(std::size_t n) {
  if (bzaehlen) ++Nallokationen;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
  return ::operator new(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  if (bzaehlen) ++Nallokationen;
  return std::malloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept {
  return ::operator new(n, t);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {
// A cantilever of nx x ny bilinear elements with points at the Gauss
// points, clamped by penalties, pulled at its tip, three implicit steps.
std::string kragarm(int nx, int ny, const std::string& zusatz) {
  std::ostringstream s;
  s << "stw_dimension 2d, Sp0\nstw_zeitschrittverf implizit, 0.25, 0.5\nstw_t 0., 3.e-4, 1.e-4\nstw_zstrg F\n"
    << "stw_m W, 0.\nstw_strafverf W, 1.e13\nstw_t_aus_dat F\nstw_t_aus_ktr F\n"
    << "eletyp 1, Viereck, Lagro1, Lagro1, Gauss, 4, 1\n"
    << zusatz;
  s << netz(nx, ny, 2.0 / nx, 0.5 / ny);
  std::string fest, spitze;
  for (int j = 0; j <= ny; ++j) {
    fest += (j ? ", " : "") + std::to_string(j * (nx + 1) + 1);
    spitze += (j ? ", " : "") + std::to_string(j * (nx + 1) + nx + 1);
  }
  s << "punktlast 1, kno, verschiebung, (" << fest << "), 0., kon, (0., 1.), (0.)\n"
    << "punktlast 2, kno, verschiebung, (" << fest << "), 90., kon, (0., 1.), (0.)\n"
    << "punktlast 3, kno, kraft, (" << spitze << "), 90., kon, (0., 1.), (-1.e4)\n";
  return s.str();
}
} // namespace

// After a step, the passes of an equilibrium iteration that work point by
// point allocate nothing, whatever the strain measure, configuration and
// material law. (The solution in between may factorise anew, and the
// factorisation takes its workspace once per iteration.)
TEST(Zeitschritt, IterationPassesAllocateNothing) {
  const std::string elastisch = "mat 1, 1, (7850., 2.1e11, 0.3, 0.)\n";
  const std::string plastisch = "mat 1, 2, (7850., 2.1e11, 0.3, 1.e-3, 2.e8, 2.1e9)\n";
  const std::string verfahren = "stw_berechverf W, W, W, F, W, F, ele, kopieren, eleinv, ";
  const std::string faelle[] = {elastisch, plastisch + verfahren + "refkonf, groverz\n",
                                elastisch + verfahren + "momkonf, klnverz\n",
                                plastisch + verfahren + "momkonf, groverz\n"};
  for (const std::string& fall : faelle) {
    Konsolenumleitung k;
    Testlauf lauf(kragarm(8, 2, fall));
    Tmpm mpm;
    ASSERT_TRUE(mpm._steuerung()) << fall;
    ASSERT_TRUE(mpm.bfertig) << fall;
    Nallokationen = 0;
    bzaehlen = true;
    for (int jj = 0; jj < 2; ++jj) {
      mpm._verschiebungsrbs();
      if (mpm.stw.konfigur == KONFIGUR_MOMKONF) mpm._L_G();
      mpm._verzerrungen_mpu();
      mpm._z_CT_DT_sigma_mpu();
      mpm._transfer(OBJTYP_MPU, OBJTYP_IPU, ZUSTGROE_SEKUNDAER);
      mpm._M_Fm_KT_Fint();
      bzaehlen = false;
      mpm._U_Ut_Utt();
      bzaehlen = true;
      mpm._transfer_ergebnisse();
    }
    bzaehlen = false;
    EXPECT_EQ(Nallokationen, 0) << fall;
  }
}
