#include <map>

#include "element/eleipu.h"
#include "testhilfe.h"

using namespace ELE;
using ELEIPU::get_datasetref;
using ELEIPU::Tdataset;
using ELEIPU::Tkey;
using TVM::MatR;
using TVM::VekR;

namespace {

double fak(int n) {
  return n <= 1 ? 1.0 : n * fak(n - 1);
}
double linie_int(int i) {
  return i % 2 ? 0.0 : 2.0 / (i + 1);
}

// Exact integral of xi^i eta^j over the reference element.
double exakt(FORM f, int i, int j) {
  if (f == FORM_LINIE) return linie_int(i);
  if (f == FORM_DREIECK) return fak(i) * fak(j) / fak(i + j + 2);
  return linie_int(i) * linie_int(j);
}

double regel(const Tdataset& r, int i, int j) {
  double s = 0.0;
  for (int k = 0; k < r.wp.n; ++k)
    s += r.wp[k] * std::pow(r.xip[0][k], i) * (r.xip.zeilen > 1 ? std::pow(r.xip[1][k], j) : 1.0);
  return s;
}

// Largest error over the monomials of total degree <= grad, or (nur_grad) of
// total degree exactly grad.
double fehler(const Tdataset& r, int grad, bool nur_grad = false) {
  const FORM f = r.key.form;
  double fmax = 0.0;
  for (int i = 0; i <= grad; ++i)
    for (int j = 0; j <= (f == FORM_LINIE ? 0 : grad - i); ++j)
      if (!nur_grad || i + j == grad) fmax = std::max(fmax, std::fabs(regel(r, i, j) - exakt(f, i, j)));
  return fmax;
}

} // namespace

// Every rule has its points in the closed reference element and integrates
// the monomials up to its degree exactly (the constant one gives the
// measure), and not one degree more; unlisted rules at least the linear
// ones. The tensor-product quadrilateral rules follow from their line rules
// (below).
TEST(Integrationsregeln, ShapesPointsAndExactDegrees) {
  // Rule name and exact degree, for the rules whose degree is known.
  std::map<std::string, int> grade;
  std::istringstream tabelle(vorlage("element/golden/grade.txt"));
  for (std::string name; tabelle >> name;)
    tabelle >> grade[name];
  ASSERT_EQ(grade.size(), 21u);
  std::size_t gefunden = 0;
  std::string alle;
  for (const std::string& name : th::zeilen(ELEIPU::get_datasetnames(alle))) {
    const Tdataset* r = ELEIPU::get_datasetptr(name);
    ASSERT_NE(r, nullptr) << name;
    SCOPED_TRACE(name);
    EXPECT_EQ(r->key.name, name);
    const int N = static_cast<int>(r->key.N);
    ASSERT_EQ(r->wp.n, N);
    ASSERT_EQ(r->xip.spalten, N);
    if (N == 0) continue;
    ASSERT_EQ(r->xip.zeilen, DIM1(r->key.dim));
    const ELEANS::Tkey ak(r->key.dim, r->key.form, ANSFUNK_LAGRO1);
    for (int k = 0; k < N; ++k)
      EXPECT_TRUE(_bxi(r->xip.GetCol(k), ak, true)) << "point " << k;
    // Closed forms where the tables have them; the other triangle constants carry 12 digits.
    const auto g = grade.find(name);
    const bool gerundet = g == grade.end() || (r->key.form == FORM_DREIECK && N >= 6 && N != 7);
    EXPECT_LT(fehler(*r, g == grade.end() ? 1 : g->second), gerundet ? 1e-11 : 1e-14);
    if (g == grade.end()) continue;
    EXPECT_GT(fehler(*r, g->second + 1, true), 1e-8); // and not one degree more
    ++gefunden;
  }
  EXPECT_EQ(gefunden, grade.size());
}

TEST(Integrationsregeln, PointsAndWeightsOfTheTables) {
  // Rules whose points the exactness does not fix.
  const Tdataset &r4 = get_datasetref("LinieRasteroffenN4"), &d3 = get_datasetref("DreieckGaussN3"),
                 &v3 = get_datasetref("ViereckGaussN3");
  EXPECT_EQ(maxabw(r4.xip, MatR(1, 4, {-0.75, 0.75, -0.25, 0.25})), 0.0);
  EXPECT_EQ(r4.wp, (VekR{0.5, 0.5, 0.5, 0.5}));
  const double e6 = 1.0 / 6.0;
  EXPECT_LT(maxabw(d3.xip, MatR(2, 3, {e6, 2.0 / 3.0, e6, e6, e6, 2.0 / 3.0})), 1e-15);
  EXPECT_EQ(get_datasetref("DreieckGaussN4").wp[0], -0.28125); // accepted with a negative weight
  const double a = 0.816496580928, b = 0.408248290464, c = 0.707106781187;
  EXPECT_LT(maxabw(v3.xip, MatR(2, 3, {a, -b, -b, 0.0, c, -c})), 1e-12);

  // Every other quadrilateral rule is the tensor product of the line rule of
  // the same kind, its points in the node order of the Lagrange dataset.
  for (const char* art : {"Gauss", "Newcotgeschl", "Rasteroffen", "Rastergeschl"})
    for (int n = 2; n <= 4; ++n) {
      const std::string vname = "Viereck" + std::string(art) + "N" + std::to_string(n * n);
      SCOPED_TRACE(vname);
      const Tdataset &v = get_datasetref(vname),
                     &l = get_datasetref("Linie" + std::string(art) + "N" + std::to_string(n));
      const ANSFUNK an = static_cast<ANSFUNK>(ANSFUNK_LAGRO1 + n - 2);
      const ELEANS::Tdataset& dv = ELEANS::get_datasetref(ELEANS::Tkey(DIM_2D, FORM_VIERECK, an));
      const ELEANS::Tdataset& dl = ELEANS::get_datasetref(ELEANS::Tkey(DIM_1D, FORM_LINIE, an));
      ASSERT_EQ(v.wp.n, dv.Nk());
      for (int m = 0; m < v.wp.n; ++m) {
        int i[2] = {-1, -1};
        for (int r = 0; r < 2; ++r)
          for (int j = 0; j < dl.Nk(); ++j)
            if (dl.xik[0][j] == dv.xik[r][m]) i[r] = j;
        ASSERT_TRUE(i[0] >= 0 && i[1] >= 0);
        EXPECT_EQ(v.xip.GetCol(m), (VekR{l.xip[0][i[0]], l.xip[0][i[1]]})) << m;
        EXPECT_DOUBLE_EQ(v.wp[m], l.wp[i[0]] * l.wp[i[1]]) << m;
      }
    }

  // Closed Newton-Cotes and closed grid rules sit on the Lagrange nodes; the
  // grid rules weigh them with the nodal shares.
  for (FORM f : {FORM_LINIE, FORM_DREIECK, FORM_VIERECK})
    for (ANSFUNK an : {ANSFUNK_LAGRO1, ANSFUNK_LAGRO2, ANSFUNK_LAGRO3}) {
      const DIM d = f == FORM_LINIE ? DIM_1D : DIM_2D;
      const ELEANS::Tdataset& ds = ELEANS::get_datasetref(ELEANS::Tkey(d, f, an));
      const unsigned N = static_cast<unsigned>(ds.Nk());
      const Tdataset &rg = get_datasetref(Tkey(d, f, IPU_RASTERGESCHL, N)),
                     &nc = get_datasetref(Tkey(d, f, IPU_NEWCOTGESCHL, N));
      EXPECT_EQ(rg.wp, ds.wk) << rg.key.name;
      EXPECT_EQ(maxabw(rg.xip, ds.xik), 0.0) << rg.key.name;
      EXPECT_EQ(maxabw(nc.xip, ds.xik), 0.0) << nc.key.name;
    }
}
