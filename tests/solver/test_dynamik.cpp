// Start accelerations and free fall through the driver, against closed forms.

#include "testhilfe.h"

using namespace MPM;
using namespace th;

namespace {
// Records the stored start accelerations of the nodes (in registry order) and
// of material point 1, and the time and the vertical displacement of node 1
// after every completed step.
struct Fallprotokoll : Schrittprotokoll {
  std::vector<double> zeiten, u;
  std::vector<TVM::VekR> utt_start_kno;
  double utt_start_mpu = 0.0; // vertical
  Fallprotokoll() {
    vorher = [this](Schrittprotokoll&) {
      if (!zeiten.empty()) return;
      for (const auto& eintrag : kno)
        utt_start_kno.push_back(PU_Z(eintrag.second)->_zg().utt_n);
      utt_start_mpu = PU_Z(mpu.suchen(1))->_zg().utt_n[1];
    };
    nachher = [this](Schrittprotokoll&, bool) {
      zeiten.push_back(t);
      u.push_back(PU_Z(kno.suchen(1))->_zg().u[1]);
    };
  }
};
} // namespace

TEST(Dynamik, FreeFallFromTheStartAccelerationInEquilibrium) {
  // A free block of 2 x 1 elements, 0.5 x 0.5 each, under g acting on its
  // eight material points (made at the integration points), ten steps of 0.1.
  const double g = 9.81, dt = 0.1;
  for (const bool an : {false, true}) {
    Fallprotokoll mpm;
    ASSERT_TRUE(
        laufen(mpm, (an ? "stw_startbeschl W\n" : "") + modelltext("freier fall") + netz(2, 1, 0.5, 0.5)));
    ASSERT_EQ(mpm.u.size(), 10u);
    for (std::size_t i = 0; i < mpm.u.size(); ++i) {
      const double t = mpm.zeiten[i];
      // The trapezoidal rule moves a constant acceleration exactly; started
      // from rest with utt = 0 it lags by g dt t / 2 - g dt^2 / 4.
      const double erwartet = an ? -g * t * t / 2 : -(g * t * t / 2 - g * dt * t / 2 + g * dt * dt / 4);
      // Rounding: eps times cond(K) ~ 1e2 times |u| <= 5, over ten steps.
      EXPECT_NEAR(mpm.u[i], erwartet, 1e-11) << (an ? "an" : "aus") << ", t=" << t;
    }
    EXPECT_NEAR(mpm.utt_start_kno[0][1], an ? -g : 0.0, 1e-12);
    EXPECT_NEAR(mpm.utt_start_mpu, an ? -g : 0.0, 1e-12);
  }
}

TEST(Dynamik, StartAccelerationOfAStretchedSquare) {
  // A unit square (E = 100, nu = 0, rho = 1, lumped masses 1/4) starts
  // stretched by 0.01 along x: sigma_xx = 1 gives its right nodes 2 and 4 the
  // forces -1/2 and the accelerations -2; the left nodes, held exactly along
  // x, keep their start value 0.
  Fallprotokoll mpm;
  ASSERT_TRUE(laufen(
      mpm, modelltext("gedehntes quadrat") +
               netz(1, 1, 1.0, 1.0, 1.0, [](int, double x, double) { return x > 0 ? ", (0.01, 0)" : ""; })));
  ASSERT_EQ(mpm.utt_start_kno.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(mpm.utt_start_kno[i][0], i % 2 ? -2.0 : 0.0, 1e-12) << "node " << i + 1;
    EXPECT_NEAR(mpm.utt_start_kno[i][1], 0.0, 1e-12) << "node " << i + 1;
  }
}
