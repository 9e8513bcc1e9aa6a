#include <limits>

#include "frame/mix.h"
#include "input/mpmdimensionen.h"
#include "model/mpmobjmat.h"
#include "numerics/loeser.h"
#include "output/mpmaus.h"
#include "testhilfe.h"

using namespace MPM;
using namespace th;
using TVM::MatR;
using TVM::VekR;

namespace {

// The law's value of sqrt(2/3); it is the root of 2/3 rounded to ten digits.
const double w23 = 0.8164965809481385;

// Plane strain, a simulation and captured logs for each test; restores the
// process-wide plane state afterwards.
class Material : public ::testing::Test {
protected:
  // f = 0 counts as yielding.
  Material() {
    TDimensionen::setzen(ELE::DIM_2D, RBDIM_VZ0);
    mpm.stw.schranke_fliessbed = -2.220446049250313e-12;
  }
  ~Material() override { TDimensionen::setzen(ELE::DIM_2D, alt_rbdim); }
  const RBDIM alt_rbdim = TDimensionen::rbdim;
  Konsolenumleitung k;
  Tmpm mpm;
};

// Solves r(z) = 0 by Newton steps with the analytic derivative, starting at z_n.
VekR loesen(const TMaterial& mat, const VekR& eps, const VekR& epst, const VekR& z_n, double dt) {
  VekR z(z_n), r;
  MatR rz;
  bool biter = false;
  for (int k = 0; k < 60; ++k) {
    mat._r(eps, epst, z, z_n, r, biter, dt);
    if (TVM::norm(r) < 1e-15) break;
    mat._rz(eps, epst, z, z_n, rz, dt);
    VekR dz = -1.0 * r;
    EXPECT_TRUE(MATHE::gauss(rz.zeilen, rz.zeilen_ptr, dz.data));
    z = z + dz;
  }
  return z;
}

} // namespace

TEST_F(Material, ElasticMatricesSizesAndParameterLists) {
  TMaterial_linelvis mat(&mpm, 1, {});
  MatR C;
  EXPECT_EQ(maxabw(mat._Cel(C, 1.0, 0.0), MatR(3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1})), 0.0);
  EXPECT_LT(maxabw(mat._Cel(C, 1.0, 0.25), MatR(3, 3, {1.2, 0.4, 0, 0.4, 1.2, 0, 0, 0, 0.8})), 1e-15);

  // Plane stress E = 2, nu = 0.5: c = 2 / 0.75.
  TDimensionen::setzen(ELE::DIM_2D, RBDIM_SP0);
  const double c = 8.0 / 3.0;
  EXPECT_LT(maxabw(mat._Cel(C, 2.0, 0.5), MatR(3, 3, {c, c / 2, 0, c / 2, c, 0, 0, 0, 4.0 / 3.0})), 1e-15);

  // Unknown plane state: zero matrix of the right size, old contents gone.
  TDimensionen::setzen(ELE::DIM_2D, RBDIM_UNBEKANNT);
  C.init(2, 2, nullptr, 7.0);
  EXPECT_EQ(maxabw(mat._Cel(C, 1.0, 0.25), MatR(3, 3)), 0.0);

  const unsigned int Nz[] = {0, 0, 5, 3}; // unknown, linelvis, linelvisplas, linvisel
  for (int t = 0; t < 4; ++t)
    EXPECT_EQ(TMaterial::_Nz(MATERIALTYP(t)), Nz[t]) << t;

  // Parameter lists: defaults and surplus values (plane strain again).
  TDimensionen::setzen(ELE::DIM_2D, RBDIM_VZ0);
  using L = std::vector<double>;

  TMaterial_linelvis a(&mpm, 1, {});
  EXPECT_EQ((L{a.rho, a.E, a.nu, a.tau}), (L{1, 1, 0, 0}));
  EXPECT_EQ(maxabw(a.Dvis, MatR(3, 3)), 0.0);
  // A type-1 material takes only the first four values.
  TMaterial_linelvis b(&mpm, 2, {2.0, 10.0, 0.25, 0.5, 99.0, 98.0, 97.0});
  EXPECT_EQ((L{b.rho, b.E, b.nu, b.tau}), (L{2, 10, 0.25, 0.5}));
  EXPECT_EQ(maxabw(b.Cel, a._Cel(C, 10.0, 0.25)), 0.0);
  EXPECT_EQ(maxabw(b.Dvis, 0.5 * b.Cel), 0.0);

  TMaterial_linelvisplas p(&mpm, 3, {2.0, 3.0});
  EXPECT_EQ((L{p.rho, p.E, p.nu, p.tau, p.sigy0, p.Hiso, p.G}), (L{2, 3, 0, 0, 1, 0, 1.5}));
  TMaterial_linvisel f(&mpm, 6, {1.0, 4.0, 0.25, 0.2, 3.0, 0.25, -5.0});
  EXPECT_EQ(maxabw(f.Cel2, a._Cel(C, 3.0, 0.25)), 0.0);
}

TEST_F(Material, PlasticBelowOnAndAboveTheYieldSurface) {
  // E = 1, nu = 0: G = 0.5, so |s| is the norm of the deviatoric elastic strain.
  TMaterial_linelvisplas mat(&mpm, 1, {1.0, 1.0, 0.0, 0.2, 1.0, 0.5});
  const VekR epst{0.1, 0.2, 0.3}, z_n(5);
  VekR r, sig, q;
  MatR CT, DT;
  bool biter = true;

  // Deviatoric strain (0.1, -0.1, 0.2): f = sqrt(0.06) - sqrt(2/3) < 0.
  const VekR eps{0.3, 0.1, 0.2};
  mat._r(eps, epst, z_n, z_n, r, biter, 0.1);
  EXPECT_FALSE(biter);
  ASSERT_EQ(r.n, 5);
  EXPECT_NEAR(r[4], std::sqrt(0.06) - w23, 1e-15);
  mat._CT_DT(eps, epst, z_n, z_n, MatR(), CT, DT, biter, 0.1);
  EXPECT_EQ(maxabw(CT, mat.Cel), 0.0);
  EXPECT_EQ(maxabw(DT, mat.Dvis), 0.0);

  // Pure shear of exactly the yield radius: f = 0 exactly, which counts as yielding.
  const VekR eps_f{0.0, 0.0, w23};
  mat._r(eps_f, epst, z_n, z_n, r, biter, 0.1);
  ASSERT_EQ(r[4], 0.0);
  EXPECT_TRUE(biter);

  // Stress of a state with plastic strain: elastic part plus 0.2 epst.
  const VekR z{0.01, -0.01, 0.02, 0.03, 0.04}, eps_p{0.5, -0.1, 1.0};
  mat._sigma(eps_p, epst, z, sig, q, nullptr);
  EXPECT_LE(maxabw(sig, VekR{0.49 + 0.02, -0.09 + 0.04, 0.98 + 0.06}), 1e-15);
  EXPECT_EQ(k.aus.str(), "");
}

TEST_F(Material, UndeterminedFlowDirection) {
  const VekR eps{0.01, 0.01, 0.0}, epst(3), z_n(5);
  VekR N{9.0, 9.0, 9.0}, r;
  MatR M, rz;
  bool biter = true, bunbest = false;

  // Purely volumetric strain below the yield radius: elastic, no message.
  TMaterial_linelvisplas elastisch(&mpm, 1, {});
  elastisch.N_(eps, z_n, N, bunbest);
  EXPECT_TRUE(bunbest);
  elastisch._r(eps, epst, z_n, z_n, r, biter, 0.1);
  EXPECT_FALSE(biter);
  EXPECT_EQ(k.aus.str(), "");

  // Without a yield radius the yield test is met: reported, then elastic.
  TMaterial_linelvisplas ohne(&mpm, 2, {1.0, 1.0, 0.0, 0.0, 0.0, 0.0});
  mpm.bausktr = true;
  biter = true;
  ohne._r(eps, epst, z_n, z_n, r, biter, 0.1);
  EXPECT_FALSE(biter);
  EXPECT_TRUE(std::isfinite(TVM::norm(r)));
  EXPECT_EQ(k.aus.str(), golden("model/golden/material.txt", "N unbestimmt.aus"));
  EXPECT_EQ(k.kontroll.str(), golden("model/golden/material.txt", "N unbestimmt.kt1"));
  k.aus.str("");
  ohne._Ndevepspl(eps, z_n, M);
  EXPECT_EQ(k.aus.str(), "\nTMaterial_linelplas::_Ndevepspl(). Ndevepspl unbestimmt");
  EXPECT_EQ(maxabw(M, MatR(3, 3)), 0.0);
  ohne._rz(eps, epst, z_n, z_n, rz, 0.1);
  ASSERT_EQ(rz.zeilen, 5);
  EXPECT_TRUE(std::all_of(rz.data, rz.data + rz.anzahl(), [](double x) { return std::isfinite(x); })) << rz;
}

TEST_F(Material, AnalyticAndNumericalResidualDerivativesAgree) {
  mpm.stw.dznumtan = 1e-8;
  MatR rz, rzn;

  TMaterial_linelvisplas plas(&mpm, 1, {7.8, 200.0, 0.3, 0.1, 0.5, 10.0});
  const VekR eps{0.03, -0.01, 0.02}, epst{0.1, 0.0, 0.05};
  const VekR z{0.004, -0.004, 0.003, 0.01, 0.012}, z_n{0.001, -0.001, 0.0, 0.005, 0.006};
  plas._rz(eps, epst, z, z_n, rz, 0.01);
  plas._rz_num(eps, epst, z, z_n, rzn, 0.01);
  ASSERT_EQ(rzn.anzahl(), 25);
  for (long i = 0; i < rz.anzahl(); ++i)
    EXPECT_NEAR(rzn.data[i], rz.data[i], 1e-6 * std::max(1.0, std::fabs(rz.data[i]))) << "entry " << i;
}

TEST_F(Material, PlasticConsistentTangentMatchesDifferencedStress) {
  const VekR epst(3);
  // Previous state with traceless plastic strain, as the flow produces it.
  const VekR z_n{0.002, -0.002, 0.001, 0.004, 0.005};

  for (RBDIM rb : {RBDIM_VZ0, RBDIM_SP0}) {
    TDimensionen::setzen(ELE::DIM_2D, rb);
    for (double tau : {0.0, 0.3}) {
      SCOPED_TRACE(std::string(str_RBDIM(rb)) + " tau=" + std::to_string(tau));
      TMaterial_linelvisplas mat(&mpm, 1, {1.0, 100.0, 0.3, tau, 0.2, 5.0});
      const VekR eps{0.012, -0.004, 0.009};

      const VekR z = loesen(mat, eps, epst, z_n, 0.01);
      VekR r;
      bool biter = false;
      mat._r(eps, epst, z, z_n, r, biter, 0.01);
      ASSERT_LT(TVM::norm(r), 1e-13);
      ASSERT_TRUE(biter);
      ASSERT_GT(z[4] - z_n[4], 1e-3) << "the step must be plastic";

      MatR rzinv, CT, DT;
      mat._rz(eps, epst, z, z_n, rzinv, 0.01);
      ASSERT_TRUE(MATHE::gauss_inverse(5, rzinv.zeilen_ptr));
      mat._CT_DT(eps, epst, z, z_n, rzinv, CT, DT, true, 0.01);
      EXPECT_EQ(maxabw(DT, mat.Dvis), 0.0);

      // Central differences of the converged stress.
      const double h = 1e-7;
      MatR CTfd(3, 3);
      for (int j = 0; j < 3; ++j) {
        VekR ep(eps), em(eps), sp, sm, q;
        ep[j] += h;
        em[j] -= h;
        mat._sigma(ep, epst, loesen(mat, ep, epst, z_n, 0.01), sp, q, nullptr);
        mat._sigma(em, epst, loesen(mat, em, epst, z_n, 0.01), sm, q, nullptr);
        for (int i = 0; i < 3; ++i)
          CTfd[i][j] = (sp[i] - sm[i]) / (2.0 * h);
      }
      EXPECT_LT(maxabw(CT, CTfd), 1e-5 * maxbetrag(CTfd)) << "CT=" << CT << "\nCTfd=" << CTfd;

      // Without the inverse of a Newton step the tangent is formed at the state itself.
      MatR CT0;
      mat._CT_DT(eps, epst, z, z_n, MatR(), CT0, DT, true, 0.01);
      EXPECT_LT(maxabw(CT0, CT), 1e-12 * maxbetrag(CT));
    }
  }
}

TEST_F(Material, FactoryCreatesRegistersAndRefuses) {
  const std::string vorn = "Eingabedatei, Zeilennummer 0: ";

  TMaterial* m1 = _material_erzeugen(&mpm, 3, 1, {2.0, 1.0, 0.25, 0.1});
  ASSERT_NE(dynamic_cast<TMaterial_linelvis*>(m1), nullptr);
  EXPECT_EQ(MAT_Z(mpm.mat.suchen(3)), m1);
  TMaterial* m2 = _material_erzeugen(&mpm, -1, 2, {});
  ASSERT_NE(dynamic_cast<TMaterial_linelvisplas*>(m2), nullptr);
  EXPECT_EQ(m2->num, 4u) << "automatic numbers follow the highest one";
  EXPECT_NE(dynamic_cast<TMaterial_linvisel*>(_material_erzeugen(&mpm, 7, 3, {1.0, 1.0, 0.0, 0.5})), nullptr);
  EXPECT_EQ(k.fehler.str(), "");

  EXPECT_EQ(text(*m1), "mat(3+), typ=linear elastisch-viskos, rho=" + _str(2.0, 10));

  // The other refusals are checked through the model input (tests/input/test_mpmein.cpp).
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const auto& [params, grund] :
       {std::pair<std::vector<double>, std::string>{{1.0, 1.0, 0.5}, "nu <= -1 oder nu >= 0.5"},
        {{1.0, nan}, "nicht endlich"}}) {
    k.fehler.str("");
    EXPECT_EQ(_material_erzeugen(&mpm, 13, 1, params), nullptr) << grund;
    EXPECT_EQ(k.fehler.str(), vorn + "Materialkennwerte unzulaessig (" + grund + "): Materialnummer 13\n");
  }
  EXPECT_EQ(mpm.mat.size(), 3u);
}
