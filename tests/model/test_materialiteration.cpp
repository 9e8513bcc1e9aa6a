#include "testhilfe.h"

using namespace MPM;
using namespace th;
using TVM::MatR;
using TVM::VekR;

namespace {

MatR diagonale(double a, double b, double c) {
  return MatR(3, 3, {a, 0, 0, 0, b, 0, 0, 0, c});
}

// A law of three internal variables whose residuals (r, 0, 0) are played back in the
// order of the calls and whose derivative is a fixed matrix (by default the
// identity, so that each step subtracts the residual). It records what
// the iteration hands to the tangent; the stress is the viscoelastic law's.
class Skriptmaterial : public TMaterial_linvisel {
public:
  Skriptmaterial(Tmpm* m, std::vector<double> r, MatR rz = diagonale(1, 1, 1))
      : TMaterial_linvisel(m, 99, {}), residuen(std::move(r)), ableitung(std::move(rz)) {}

  VekR& _r(const VekR&, const VekR&, const VekR&, const VekR&, VekR& r, bool& biter, double) const override {
    r = VekR{residuen[std::min(aufrufe, residuen.size() - 1)], 0.0, 0.0};
    ++aufrufe;
    biter = biter_wert;
    return r;
  }
  MatR& _rz(const VekR&, const VekR&, const VekR&, const VekR&, MatR& rz, double) const override {
    return rz = ableitung;
  }
  void _CT_DT(const VekR&, const VekR&, const VekR&, const VekR&, const MatR& rzinv, MatR& CT, MatR&, bool,
              double) const override {
    letzte_rzinv = rzinv;
    CT = MatR(3, 3, 7.0);
  }

  std::vector<double> residuen;
  MatR ableitung;
  bool biter_wert = true;
  mutable std::size_t aufrufe = 0;
  mutable MatR letzte_rzinv;
};

// r_i = z_i^3 + z_i - b_i: a nonlinear law whose Newton iteration must
// converge quadratically. It records the iterates it is evaluated at.
class Kubikmaterial : public Skriptmaterial {
public:
  Kubikmaterial(Tmpm* m, VekR rechts) : Skriptmaterial(m, {}, MatR()), b(std::move(rechts)) {}

  VekR& _r(const VekR&, const VekR&, const VekR& z, const VekR&, VekR& r, bool& biter,
           double) const override {
    iterierte.push_back(VekR{z[0], z[1], z[2]});
    r = VekR{z[0] * z[0] * z[0] + z[0] - b[0], z[1] * z[1] * z[1] + z[1] - b[1],
             z[2] * z[2] * z[2] + z[2] - b[2]};
    biter = true;
    return r;
  }
  MatR& _rz(const VekR&, const VekR&, const VekR& z, const VekR&, MatR& rz, double) const override {
    return rz = diagonale(3.0 * z[0] * z[0] + 1.0, 3.0 * z[1] * z[1] + 1.0, 3.0 * z[2] * z[2] + 1.0);
  }

  VekR b;
  mutable std::vector<VekR> iterierte;
};

// Elastic-plastic law with hardening and no viscosity; plane stress.
const std::vector<double> plastisch = {1.0, 100.0, 0.25, 0.0, 1.0, 10.0};
const VekR eps_plastisch{0.03, -0.01, 0.02};

} // namespace

// A simulation with the step dt and point 1 of material 1, made from typ and
// params; the console and the logs are captured.
class Materialiteration : public ::testing::Test {
protected:
  template <class M = TMaterial> M* aufbauen(double dt, int typ, const std::vector<double>& params) {
    mpm.dt = dt;
    M* m = static_cast<M*>(_material_erzeugen(&mpm, 1, typ, params));
    mp = punkt(1, 1);
    EXPECT_TRUE(m && mp);
    return m;
  }
  TMaterialpunkt* punkt(int num, int mat) {
    mpm.stw.bipuaufmpu = false;
    return materialpunkt(mpm, num, 0.0, 0.0, 1.0, mat);
  }
  // One iteration of mp at the simulation's step; the report lands in `lauf`.
  bool iterieren() {
    lauf.dt = mpm.dt;
    return mp->materialiteration(lauf);
  }
  TMatitkontext lauf;
  Konsolenumleitung k;
  Tmpm mpm;
  TMaterialpunkt* mp = nullptr;
};

TEST_F(Materialiteration, ElasticStatesTakeNoNewtonStep) {
  auto* kv = aufbauen<TMaterial_linelvis>(0.1, 1, {1.0, 10.0, 0.2, 0.5});
  TZustgroe& zg = mp->zust;
  zg.eps = VekR{0.01, -0.02, 0.005};
  zg.epst = VekR{1.0, 2.0, -3.0};
  zg.normr = 5.0;
  ASSERT_TRUE(iterieren());
  EXPECT_EQ(zg.normr, 0.0);
  EXPECT_EQ(mp->matit[0], 0u);
  EXPECT_EQ(maxabw(zg.DT, kv->Dvis), 0.0);
  const VekR sig = kv->Cel * zg.eps + kv->Dvis * zg.epst;
  for (int i = 0; i < 3; ++i)
    EXPECT_DOUBLE_EQ(zg.sig[i], sig[i]) << i;
}

TEST_F(Materialiteration, ElasticPlasticConvergesQuadratically) {
  auto* ep = aufbauen<TMaterial_linelvisplas>(0.01, 2, plastisch);
  TZustgroe& zg = mp->zust;
  zg.eps = eps_plastisch;
  unsigned int gemeldet = 0;
  lauf.schritt = [&](TMaterialpunkt& p) {
    EXPECT_EQ(&p, mp);
    ++gemeldet;
  };
  ASSERT_TRUE(iterieren());
  // With linear hardening the first step lands on the radial return; the
  // second only confirms it.
  EXPECT_GE(mp->matit[0], 2u);
  EXPECT_EQ(gemeldet, mp->matit[0]) << "every inner step is reported";
  EXPECT_TRUE(lauf.binel);
  // The converged state lies on the hardened yield surface.
  VekR r;
  bool biter = false;
  ep->_r(zg.eps, zg.epst, zg.z, zg.z_n, r, biter, mpm.dt);
  EXPECT_LT(TVM::norm(r), 1e-12);
  const double w23 = 0.8164965809481385; // the law's sqrt(2/3)
  // Radial return: dlambda = (|s_trial| - w23 sigy0) / (2G + w23^2 Hiso), |s_trial| = 80 * 0.02 * sqrt(3).
  EXPECT_NEAR(zg.z[4], (1.6 * std::sqrt(3.0) - w23) / (80.0 + w23 * w23 * 10.0), 1e-15);
  EXPECT_LE(maxabw(zg.sig, ep->Cel * (zg.eps - VekR{zg.z[0], zg.z[1], zg.z[2]})), 1e-14);
}

TEST_F(Materialiteration, NewtonStepsOfANonlinearLawConvergeQuadratically) {
  aufbauen(1.0, 1, {});
  mpm.stw.maxNmatit = 50;
  Kubikmaterial kubik(&mpm, VekR{2.0, 3.0, 0.5});
  mp->material = &kubik;
  ASSERT_TRUE(iterieren());
  EXPECT_NEAR(mp->zust.z[0], 1.0, 1e-15);
  const std::vector<VekR>& z = kubik.iterierte;
  const auto dz = [&z](std::size_t i) { return TVM::norm(z[i] - z[i - 1]); }; // the step to iterate i
  int quadratisch = 0;
  for (std::size_t i = 1; i + 1 < z.size(); ++i) {
    if (dz(i) > 0.1 || dz(i + 1) < 1e-15) continue;
    EXPECT_LE(dz(i + 1), 2.0 * dz(i) * dz(i)) << i;
    ++quadratisch;
  }
  EXPECT_GE(quadratisch, 2);
}

TEST_F(Materialiteration, LinearViscoelasticLawConvergesAtTheSecondStep) {
  auto* ve = aufbauen<TMaterial_linvisel>(1.0, 3, {1.0, 10.0, 0.2, 2.0, 5.0, 0.1});
  TZustgroe& zg = mp->zust;
  unsigned int schritte = 0;
  for (double dt : {2e-3, 1.0, 2e3}) {
    mpm.dt = dt;
    zg.z_n = VekR{0.001, 0.002, -0.001, 0.0, 0.0};
    zg.eps = VekR{0.01, -0.005, 0.02};
    ASSERT_TRUE(iterieren()) << dt;
    schritte += 2;
    EXPECT_EQ(mp->matit[0], schritte) << dt;
    const MatR CT = ve->Cel + (2.0 / (2.0 + dt)) * ve->Cel2;
    EXPECT_LE(maxabw(zg.CT, CT), 1e-14 * maxbetrag(CT)) << dt;
    // z = (z_n + a eps) / (1 + a), a = dt / 2.
    const VekR zv = (1.0 / (1.0 + dt / 2.0)) * (VekR{zg.z_n[0], zg.z_n[1], zg.z_n[2]} + (dt / 2.0) * zg.eps);
    EXPECT_LE(maxabw(zg.sig, ve->Cel * zg.eps + ve->Cel2 * (zg.eps - zv)), 1e-14) << dt;
  }
  EXPECT_EQ(k.aus.str(), "");
}

TEST_F(Materialiteration, ConvergenceTestsAreStrictAndTheRateIsCheckedFromTheSecondCorrection) {
  aufbauen(1.0, 1, {});
  TZustgroe& zg = mp->zust;

  // Thresholds met with equality do not count: after step 1 normdz equals
  // its bound, after step 2 normr does; step 3 is inside both.
  Skriptmaterial streng(&mpm, {-0.5, -0.1, -0.25, 0.2});
  mp->material = &streng;
  mpm.stw.schranke_normdz = 0.5;
  mpm.stw.schranke_normr = 0.25;
  ASSERT_TRUE(iterieren());
  EXPECT_EQ(mp->matit[0], 3u);
  EXPECT_DOUBLE_EQ(zg.z[0], 0.85);
  EXPECT_EQ(zg.normdz, 0.25);
  EXPECT_EQ(zg.normr, 0.2);
  EXPECT_EQ(maxabw(streng.letzte_rzinv, diagonale(1, 1, 1)), 0.0);

  // Without inelastic evolution: one residual, no step, the tangent gets no inverse.
  streng.biter_wert = false;
  streng.aufrufe = 0;
  zg.z = VekR{1, 2, 3, 4, 5};
  ASSERT_TRUE(iterieren());
  EXPECT_EQ(streng.aufrufe, 1u);
  EXPECT_EQ(streng.letzte_rzinv.zeilen, 0);
  EXPECT_EQ(zg.z, zg.z_n);

  // A rate of 2 is met by 0.5 then 0.25 (the bound itself), not by 1e-1 then 2e-2.
  mpm.stw.schranke_normdz = mpm.stw.schranke_normr = 1e-12;
  mpm.stw.bkonvkontrmatit = true;
  mpm.stw.minkonvmatit = 2.0;
  Skriptmaterial genau(&mpm, {-0.5, -0.25, 0});
  mp->material = &genau;
  mp->matit[0] = 0;
  ASSERT_TRUE(iterieren());
  EXPECT_EQ(mp->matit[0], 3u);
  Skriptmaterial langsam(&mpm, {-0.1, -0.02, 1});
  mp->material = &langsam;
  mp->matit[0] = 0;
  zg.sig = VekR{5, 5, 5};
  k.aus.str("");
  EXPECT_FALSE(iterieren());
  EXPECT_EQ(k.aus.str(), "Keine hinreichende Konvergenz (ii=2, normdz_k=0.1, normdz=0.02)\n");
  EXPECT_DOUBLE_EQ(zg.z[0], 0.12); // the last iterate is kept
  EXPECT_EQ(zg.sig, (VekR{5, 5, 5}));
}

TEST_F(Materialiteration, InaccurateInversionAsksWhetherToStop) {
  aufbauen(1.0, 1, {});
  TZustgroe& zg = mp->zust;
  Skriptmaterial schlecht(&mpm, {1}, diagonale(1, 1e-12, 1));
  mp->material = &schlecht;
  Konsolenumleitung e("xw"); // stop, then go on
  EXPECT_THROW(iterieren(), int);
  EXPECT_EQ(e.aus.str(), "Invertierung von rz_analyt ungenau:, stellen=2, minstellen=3\n" + frage);
  zg.z = VekR{1, 2, 3, 4, 5};
  EXPECT_FALSE(iterieren());
  EXPECT_EQ(zg.z, zg.z_n); // no correction from the rejected inverse
}

TEST_F(Materialiteration, SweepSkipsInactivePointsAndStopsAtTheFirstFailure) {
  aufbauen(0.01, 1, {1.0, 10.0, 0.2, 0.0});
  _material_erzeugen(&mpm, 2, 2, plastisch);
  TMaterialpunkt *p2 = punkt(2, 2), *p3 = punkt(3, 2), *p4 = punkt(4, 1);
  for (TMaterialpunkt* p : {mp, p2, p3, p4}) {
    p->zust.eps = VekR{0.001, 0.0, 0.0};
    p->zust.sig = VekR{-9, -9, -9};
  }
  p2->zust.eps = eps_plastisch;
  p2->status = OBJSTATUS_INAKTIV;
  mpm.binel = true;
  mpm.iiges = 0;
  EXPECT_TRUE(mpm._z_CT_DT_sigma_mpu() && mpm.bmatkonv);
  EXPECT_FALSE(mpm.binel);
  EXPECT_EQ(mpm.iiges, 0) << "elastic points take no inner step";
  EXPECT_EQ(p2->zust.sig, (VekR{-9, -9, -9}));
  EXPECT_NE(p4->zust.sig, (VekR{-9, -9, -9}));

  // The active plastic point 3 fails with no step allowed, is reset and
  // reported; point 4 is not reached.
  p3->zust.eps = eps_plastisch;
  p3->zust.z = VekR{1, 2, 3, 4, 5};
  p4->zust.sig = VekR{-9, -9, -9};
  mpm.stw.maxNmatit = 0;
  mpm.bkonv = true;
  EXPECT_FALSE(mpm._z_CT_DT_sigma_mpu());
  EXPECT_FALSE(mpm.bmatkonv || mpm.bkonv);
  EXPECT_EQ(p4->zust.sig, (VekR{-9, -9, -9}));
  EXPECT_GT(p3->zust.normr, 0.0);
  EXPECT_EQ(p3->zust.z, p3->zust.z_n);
  EXPECT_EQ(p3->matit[0], 0u);
  EXPECT_EQ(k.aus.str(), "Maximalzahl der Materialiterationsschritte erreicht,(ii=0, normr=" +
                             text(p3->zust.normr) + ", normdz=0)\n");
}
