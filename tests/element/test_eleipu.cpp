#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "element/eleans.h"
#include "element/eleipu.h"
#include "testhilfe.h"

using namespace ELE;
using ELEIPU::Tdataset;
using ELEIPU::Tkey;
using TVM::VekR;

namespace {

const char* const alle_namen =
    "LinieLeer\nLinieGaussN1\nLinieGaussN2\nLinieGaussN3\nLinieGaussN4\nLinieNewcotgeschlN2\n"
    "LinieNewcotgeschlN3\nLinieNewcotgeschlN4\nLinieRasteroffenN1\nLinieRasteroffenN2\nLinieRasteroffenN3\n"
    "LinieRasteroffenN4\nLinieRastergeschlN2\nLinieRastergeschlN3\nLinieRastergeschlN4\n"
    "DreieckLeer\nDreieckGaussN1\nDreieckGaussN3\nDreieckGaussN4\nDreieckGaussN6\nDreieckGaussN7\n"
    "DreieckGaussN9\nDreieckGaussN12\nDreieckGaussN13\nDreieckNewcotgeschlN3\nDreieckNewcotgeschlN6\n"
    "DreieckNewcotgeschlN10\nDreieckRastergeschlN3\nDreieckRastergeschlN6\nDreieckRastergeschlN10\n"
    "ViereckLeer\nViereckGaussN1\nViereckGaussN3\nViereckGaussN4\nViereckGaussN7\nViereckGaussN9\n"
    "ViereckGaussN16\nViereckNewcotgeschlN4\nViereckNewcotgeschlN9\nViereckNewcotgeschlN16\n"
    "ViereckRasteroffenN1\nViereckRasteroffenN4\nViereckRasteroffenN9\nViereckRasteroffenN16\n"
    "ViereckRastergeschlN4\nViereckRastergeschlN9\nViereckRastergeschlN16";

std::vector<const Tdataset*> alle_regeln() {
  std::vector<const Tdataset*> r;
  const std::string namen = alle_namen;
  std::size_t anfang = 0;
  while (anfang <= namen.size()) {
    const std::size_t ende = std::min(namen.find('\n', anfang), namen.size());
    r.push_back(ELEIPU::get_datasetptr(namen.substr(anfang, ende - anfang)));
    anfang = ende + 1;
  }
  return r;
}

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
  for (int k = 0; k < r.wp.n; ++k) {
    double m = std::pow(r.xip[0][k], i);
    if (r.xip.zeilen > 1) m *= std::pow(r.xip[1][k], j);
    s += r.wp[k] * m;
  }
  return s;
}

// Largest error over the monomials of total degree <= grad, or of degree
// <= grad in each variable for tensor rules.
double fehler(const Tdataset& r, int grad, bool tensor) {
  const FORM f = r.key.form;
  double fmax = 0.0;
  for (int i = 0; i <= grad; ++i)
    for (int j = 0; j <= (f == FORM_LINIE ? 0 : tensor ? grad : grad - i); ++j)
      fmax = std::max(fmax, std::fabs(regel(r, i, j) - exakt(f, i, j)));
  return fmax;
}

// Largest error over the monomials of total degree exactly grad.
double fehler_grad(const Tdataset& r, int grad) {
  double fmax = 0.0;
  for (int i = 0; i <= grad; ++i) {
    const int j = r.key.form == FORM_LINIE ? 0 : grad - i;
    if (r.key.form == FORM_LINIE && i != grad) continue;
    fmax = std::max(fmax, std::fabs(regel(r, i, j) - exakt(r.key.form, i, j)));
  }
  return fmax;
}

} // namespace

TEST(Integrationsregeln, NamesAndLookups) {
  EXPECT_EQ(ELEIPU::_name(DIM_2D, FORM_VIERECK, IPU_GAUSS, 4), "ViereckGaussN4");
  EXPECT_EQ(ELEIPU::_name(DIM_1D, FORM_LINIE, IPU_LEER, 0), "LinieLeer");
  EXPECT_EQ(Tkey(DIM_2D, FORM_DREIECK, IPU_NEWCOTGESCHL, 10).name, "DreieckNewcotgeschlN10");
  EXPECT_TRUE(Tkey(DIM_2D, FORM_VIERECK, IPU_GAUSS, 9) < Tkey(DIM_2D, FORM_VIERECK, IPU_GAUSS, 16));
  EXPECT_TRUE(Tkey(DIM_2D, FORM_VIERECK, IPU_GAUSS, 16) < Tkey(DIM_2D, FORM_VIERECK, IPU_NEWCOTGESCHL, 4));
  EXPECT_TRUE(Tkey(DIM_1D, FORM_VIERECK, IPU_RASTERGESCHL, 16) < Tkey(DIM_2D, FORM_LINIE, IPU_LEER, 0));
  std::string namen;
  EXPECT_EQ(ELEIPU::get_datasetnames(namen), alle_namen);

  Konsolenumleitung k;
  const Tkey vg4(DIM_2D, FORM_VIERECK, IPU_GAUSS, 4);
  const Tdataset* r = ELEIPU::get_datasetptr(vg4);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(ELEIPU::get_datasetptr(std::string("ViereckGaussN4")), r);
  EXPECT_EQ(&ELEIPU::get_datasetref(vg4), r);
  EXPECT_EQ(&ELEIPU::get_datasetref(std::string("ViereckGaussN4")), r);
  EXPECT_EQ(k.aus.str(), "");

  EXPECT_EQ(ELEIPU::get_datasetptr(Tkey(DIM_2D, FORM_VIERECK, IPU_GAUSS, 5)), nullptr);
  EXPECT_EQ(k.aus.str(), "\nELEIPU::TdatasetPtr::getdatasetptr(): kein Eintrag zu Schluessel ViereckGaussN5");
  k.aus.str("");
  EXPECT_EQ(ELEIPU::get_datasetptr(Tkey(DIM_2D, FORM_VIERECK, IPU_NEWCOTOFFEN, 4)), nullptr);
  EXPECT_EQ(k.aus.str(),
            "\nELEIPU::TdatasetPtr::getdatasetptr(): kein Eintrag zu Schluessel ViereckNewcotoffenN4");
  k.aus.str("");
  EXPECT_EQ(ELEIPU::get_datasetptr(std::string("ViereckGaussN2")), nullptr);
  EXPECT_EQ(k.aus.str(), "\nELEIPU::TdatasetPtr::getdatasetptr(): kein Eintrag zu Name ViereckGaussN2");
  EXPECT_THROW(ELEIPU::get_datasetref(Tkey(DIM_2D, FORM_DREIECK, IPU_RASTEROFFEN, 3)), int);
  EXPECT_THROW(ELEIPU::get_datasetref(std::string("")), int);

  // The empty rule exists and has no points; the 4-point triangle rule keeps its negative weight.
  const Tdataset& leer = ELEIPU::get_datasetref(std::string("ViereckLeer"));
  EXPECT_EQ(leer.key.N, 0u);
  EXPECT_EQ(leer.xip.spalten, 0);
  EXPECT_EQ(leer.wp.n, 0);
  const Tdataset& d4 = ELEIPU::get_datasetref(std::string("DreieckGaussN4"));
  EXPECT_EQ(d4.wp[0], -0.28125);
  EXPECT_NEAR(d4.wp[1], 0.260416666667, 1e-12);
}

TEST(Integrationsregeln, ShapesWeightsAndLinearExactness) {
  const std::vector<const Tdataset*> regeln = alle_regeln();
  ASSERT_EQ(regeln.size(), 47u);
  for (const Tdataset* r : regeln) {
    ASSERT_NE(r, nullptr);
    SCOPED_TRACE(r->key.name);
    const int N = static_cast<int>(r->key.N);
    ASSERT_EQ(r->wp.n, N);
    ASSERT_EQ(r->xip.spalten, N);
    if (N == 0) continue;
    ASSERT_EQ(r->xip.zeilen, DIM1(r->key.dim));
    const double mass = r->key.form == FORM_LINIE ? 2.0 : r->key.form == FORM_DREIECK ? 0.5 : 4.0;
    EXPECT_NEAR(regel(*r, 0, 0), mass, 1e-11);
    EXPECT_LT(fehler(*r, 1, false), 1e-11);
    // Every point lies in the closed reference element.
    const ELEANS::Tkey ak(r->key.dim, r->key.form, ANSFUNK_LAGRO1);
    for (int k = 0; k < N; ++k)
      EXPECT_TRUE(_bxi(r->xip.GetCol(k), ak, true)) << "point " << k;
  }
}

TEST(Integrationsregeln, ExactDegrees) {
  struct Grad {
    const char* name;
    int grad;
    bool tensor;
  };
  const Grad grade[] = {
      {"LinieGaussN1", 1, false},          {"LinieGaussN2", 3, false},
      {"LinieGaussN3", 5, false},          {"LinieGaussN4", 7, false},
      {"DreieckGaussN1", 1, false},        {"DreieckGaussN3", 2, false},
      {"DreieckGaussN4", 3, false},        {"DreieckGaussN6", 4, false},
      {"DreieckGaussN7", 5, false},        {"DreieckGaussN9", 5, false},
      {"DreieckGaussN12", 6, false},       {"DreieckGaussN13", 7, false},
      {"ViereckGaussN1", 1, false},        {"ViereckGaussN3", 2, false},
      {"ViereckGaussN4", 3, true},         {"ViereckGaussN7", 5, false},
      {"ViereckGaussN9", 5, true},         {"ViereckGaussN16", 7, true},
      {"LinieNewcotgeschlN2", 1, false},   {"LinieNewcotgeschlN3", 3, false},
      {"LinieNewcotgeschlN4", 3, false},   {"DreieckNewcotgeschlN3", 1, false},
      {"DreieckNewcotgeschlN6", 2, false}, {"DreieckNewcotgeschlN10", 3, false},
      {"ViereckNewcotgeschlN4", 1, true},  {"ViereckNewcotgeschlN9", 3, true},
      {"ViereckNewcotgeschlN16", 3, true}, {"LinieRasteroffenN3", 1, false},
      {"ViereckRasteroffenN16", 1, true},  {"DreieckRastergeschlN10", 1, false},
  };
  for (const Grad& g : grade) {
    const Tdataset& r = ELEIPU::get_datasetref(std::string(g.name));
    // Closed forms where the tables have them; the other triangle constants carry 12 digits.
    const bool gerundet = r.key.form == FORM_DREIECK && r.key.N >= 6 && r.key.N != 7;
    EXPECT_LT(fehler(r, g.grad, g.tensor), gerundet ? 1e-11 : 1e-14) << g.name;
    EXPECT_GT(fehler_grad(r, g.grad + 1), 1e-8) << g.name; // and not one degree more
  }
}

TEST(Integrationsregeln, PointsAndWeightsOfTheTables) {
  auto regel_ = [](const char* n) -> const Tdataset& { return ELEIPU::get_datasetref(std::string(n)); };
  const Tdataset& l4 = regel_("LinieGaussN4");
  EXPECT_EQ(l4.xip.zeilen, 1);
  EXPECT_NEAR(l4.xip[0][0], -0.861136311594, 1e-12);
  EXPECT_NEAR(l4.xip[0][3], 0.339981043585, 1e-12);
  EXPECT_NEAR(l4.wp[1], 0.347854845137, 1e-12);
  EXPECT_NEAR(l4.wp[2], 0.652145154863, 1e-12);
  EXPECT_NEAR(regel_("LinieGaussN2").xip[0][1], 0.57735026919, 1e-11);
  const Tdataset& l3 = regel_("LinieGaussN3");
  EXPECT_NEAR(l3.xip[0][0], -0.774596669241, 1e-12);
  EXPECT_EQ(l3.xip[0][2], 0.0);
  EXPECT_DOUBLE_EQ(l3.wp[2], 8.0 / 9.0);

  const Tdataset& d7 = regel_("DreieckGaussN7");
  EXPECT_DOUBLE_EQ(d7.wp[0], 0.1125);
  EXPECT_NEAR(d7.xip[0][1], 0.470142064105, 1e-12);
  EXPECT_NEAR(d7.xip[0][2], 1.0 - 2.0 * 0.470142064105, 1e-12);
  EXPECT_NEAR(d7.wp[3], 0.066197076395, 1e-12);
  EXPECT_NEAR(d7.xip[1][6], 1.0 - 2.0 * 0.101286507323, 1e-12);
  EXPECT_NEAR(d7.wp[6], 0.062969590272, 1e-12);
  const Tdataset& d3 = regel_("DreieckGaussN3");
  EXPECT_DOUBLE_EQ(d3.xip[0][1], 2.0 / 3.0);
  EXPECT_DOUBLE_EQ(d3.xip[1][1], 1.0 / 6.0);
  // Six-point orbit: the permutations of (a, b, 1 - a - b).
  const Tdataset& d9 = regel_("DreieckGaussN9");
  const double a = 0.165409927390, b = 0.037477420750, c = 1.0 - a - b;
  const double erwartet[6][2] = {{a, b}, {b, a}, {a, c}, {c, a}, {b, c}, {c, b}};
  for (const auto& p : erwartet) {
    int treffer = 0;
    for (int k = 3; k < 9; ++k)
      if (std::fabs(d9.xip[0][k] - p[0]) < 1e-15 && std::fabs(d9.xip[1][k] - p[1]) < 1e-15) ++treffer;
    EXPECT_EQ(treffer, 1) << p[0] << " " << p[1];
  }

  const Tdataset& v3 = regel_("ViereckGaussN3");
  EXPECT_NEAR(v3.xip[0][0], 0.816496580928, 1e-12);
  EXPECT_NEAR(v3.xip[0][1], -0.408248290464, 1e-12);
  EXPECT_NEAR(v3.xip[1][2], -0.707106781187, 1e-12);
  const Tdataset& v7 = regel_("ViereckGaussN7");
  EXPECT_DOUBLE_EQ(v7.wp[0], 8.0 / 7.0);
  EXPECT_NEAR(v7.xip[0][2], 0.683130051064, 1e-12);
  EXPECT_NEAR(v7.xip[0][4], 0.890654421781, 1e-12);
  EXPECT_NEAR(v7.xip[1][4], -0.374256642287, 1e-12);
  EXPECT_DOUBLE_EQ(v7.wp[6], 5.0 / 12.0);
  const Tdataset& v4 = regel_("ViereckGaussN4");
  const double g = 0.57735026919, ecken[4][2] = {{-g, -g}, {g, -g}, {g, g}, {-g, g}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_NEAR(v4.xip[0][k], ecken[k][0], 1e-11);
    EXPECT_NEAR(v4.xip[1][k], ecken[k][1], 1e-11);
  }
  const Tdataset& v9 = regel_("ViereckGaussN9");
  EXPECT_NEAR(v9.xip[0][5], 0.774596669241, 1e-12);
  EXPECT_EQ(v9.xip[1][5], 0.0);
  EXPECT_NEAR(v9.wp[0], 25.0 / 81.0, 1e-15);
  EXPECT_NEAR(v9.wp[7], 40.0 / 81.0, 1e-15);
  EXPECT_NEAR(v9.wp[8], 64.0 / 81.0, 1e-15);
  const Tdataset& v16 = regel_("ViereckGaussN16");
  EXPECT_NEAR(v16.xip[0][5], 0.339981043585, 1e-12);
  EXPECT_NEAR(v16.xip[1][5], -0.861136311594, 1e-12);
  EXPECT_NEAR(v16.wp[3], 0.121002993286, 1e-12);
  EXPECT_NEAR(v16.wp[10], 0.226851851852, 1e-12);
  EXPECT_NEAR(v16.wp[15], 0.425293303011, 1e-12);

  EXPECT_DOUBLE_EQ(regel_("LinieNewcotgeschlN4").wp[2], 0.75);
  const Tdataset& dn10 = regel_("DreieckNewcotgeschlN10");
  EXPECT_DOUBLE_EQ(dn10.wp[2], 1.0 / 60.0);
  EXPECT_DOUBLE_EQ(dn10.wp[8], 0.0375);
  EXPECT_DOUBLE_EQ(dn10.wp[9], 0.225);
  EXPECT_EQ(regel_("DreieckNewcotgeschlN6").wp[1], 0.0);
  const Tdataset& vn9 = regel_("ViereckNewcotgeschlN9");
  EXPECT_DOUBLE_EQ(vn9.wp[3], 1.0 / 9.0);
  EXPECT_DOUBLE_EQ(vn9.wp[6], 4.0 / 9.0);
  EXPECT_DOUBLE_EQ(vn9.wp[8], 16.0 / 9.0);
  EXPECT_DOUBLE_EQ(regel_("ViereckNewcotgeschlN16").wp[11], 3.0 / 16.0);
  const Tdataset& vr16 = regel_("ViereckRasteroffenN16");
  EXPECT_EQ(vr16.xip[0][6], 0.75);
  EXPECT_EQ(vr16.xip[1][6], -0.25);
  EXPECT_EQ(vr16.wp[6], 0.25);
  const Tdataset& lr3 = regel_("LinieRasteroffenN3");
  EXPECT_DOUBLE_EQ(lr3.xip[0][1], 2.0 / 3.0);
  EXPECT_DOUBLE_EQ(lr3.wp[2], 2.0 / 3.0);

  // Closed Newton-Cotes and closed grid rules sit on the Lagrange nodes; the
  // grid rules weigh them with the nodal shares.
  for (FORM f : {FORM_LINIE, FORM_DREIECK, FORM_VIERECK})
    for (ANSFUNK an : {ANSFUNK_LAGRO1, ANSFUNK_LAGRO2, ANSFUNK_LAGRO3}) {
      const DIM d = f == FORM_LINIE ? DIM_1D : DIM_2D;
      const ELEANS::Tdataset& ds = ELEANS::get_datasetref(ELEANS::Tkey(d, f, an));
      const unsigned N = static_cast<unsigned>(ds.Nk());
      const Tdataset& rg = ELEIPU::get_datasetref(Tkey(d, f, IPU_RASTERGESCHL, N));
      const Tdataset& nc = ELEIPU::get_datasetref(Tkey(d, f, IPU_NEWCOTGESCHL, N));
      EXPECT_EQ(rg.wp, ds.wk) << rg.key.name;
      for (long i = 0; i < ds.xik.anzahl(); ++i) {
        EXPECT_EQ(rg.xip.data[i], ds.xik.data[i]) << rg.key.name;
        EXPECT_EQ(nc.xip.data[i], ds.xik.data[i]) << nc.key.name;
      }
    }
}
