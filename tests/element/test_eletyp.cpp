#include "element/eletyp.h"
#include "testhilfe.h"

using namespace ELE;
using ELETYP::Tdataset;
using ELETYP::Tkey;
using TVM::MatR;
using TVM::VekR;

namespace {

using Tabbildung = std::function<VekR(double, double)>;

// 0, 1, ..., n - 1.
bool identisch(const TVM::TVektor<int>& v, int n) {
  int i = 0;
  return v.n == n && std::all_of(v.begin(), v.end(), [&i](int k) { return k == i++; });
}

// Element data: the reference nodes of a family mapped by f.
MatR knoten(const ELEANS::Tdataset& ans, const Tabbildung& f) {
  MatR X(2, ans.Nk());
  for (int k = 0; k < ans.Nk(); ++k) {
    const VekR x = f(ans.xik[0][k], ans.xik[1][k]);
    X[0][k] = x[0];
    X[1][k] = x[1];
  }
  return X;
}

VekR affin(double a, double b) {
  return VekR{1.5 * a + 0.4 * b + 3.0, -0.2 * a + 1.1 * b - 1.0};
}
VekR gekruemmt(double a, double b) {
  return VekR{a + 0.15 * b * b + 0.1 * a * b + 2.0, b + 0.2 * a * a - 0.1 * a};
}

// Reference points inside the element.
std::vector<VekR> innen(FORM f) {
  if (f == FORM_DREIECK) return {VekR{0.2, 0.3}, VekR{0.6, 0.1}, VekR{0.05, 0.9}};
  return {VekR{0.0, 0.0}, VekR{0.3, -0.7}, VekR{-0.85, 0.6}, VekR{0.9, 0.95}};
}

} // namespace

TEST(Elementtyp, UnregisteredPairWithoutNodeMap) {
  // An unregistered pair without correspondence is reported.
  Konsolenumleitung k;
  Tdataset schlecht(Tkey(DIM_2D, FORM_VIERECK, ANSFUNK_LAGRO3, ANSFUNK_SEREO2));
  EXPECT_EQ(k.aus.str(), "\nFEHLER in ELETYP::Tdataset::init_kind(), Elementtypname=ViereckLagro3Sereo2\n");
  EXPECT_EQ(schlecht.kindux, (TVM::TVektor<int>{0, 1, 2, 3, -1, -1, -1, -1}));
}

TEST(Elementtyp, InverseMappingOnSquareAndEdges) {
  Konsolenumleitung k;
  auto quadrat = [](double a, double b) { return VekR{a + 1.0, b + 1.0}; }; // (0,0) to (2,2)
  const Tdataset& l1 = ELETYP::get_datasetref(std::string("ViereckLagro1Lagro1"));
  const MatR X1 = knoten(*l1.ansx, quadrat);
  VekR xi;
  EXPECT_TRUE(l1._xi(X1, VekR{1.5, 0.5}, xi, false));
  EXPECT_EQ(xi, (VekR{0.5, -0.5}));
  EXPECT_FALSE(l1._xi(X1, VekR{3.0, 1.0}, xi, true));
  EXPECT_EQ(xi, (VekR{2.0, 0.0}));

  // Straight-sided Lagro2 element: a point on the edge xi = 1.
  const Tdataset& l2 = ELETYP::get_datasetref(std::string("ViereckLagro2Lagro2"));
  const MatR X2 = knoten(*l2.ansx, quadrat);
  EXPECT_FALSE(l2._xi(X2, VekR{2.0, 1.5}, xi, false));
  EXPECT_EQ(xi, (VekR{1.0, 0.5}));
  EXPECT_TRUE(l2._xi(X2, VekR{2.0, 1.5}, xi, true));
  EXPECT_TRUE(l2._bpinelement(X2, VekR{2.0, 1.5}, true));

  // Polygon test for straight geometry.
  EXPECT_FALSE(l1._bpinelement(X1, VekR{0.0, 1.0}, false));
  EXPECT_TRUE(l1._bpinelement(X1, VekR{0.0, 1.0}, true));
  EXPECT_FALSE(l1._bpinelement(X1, VekR{-0.1, 1.0}, true));
  EXPECT_FALSE(l1._bpinelement(MatR(2, 4, 1.0), VekR{1.0, 1.0}, false)); // no iteration, no question
  EXPECT_EQ(k.aus.str(), "");
}

TEST(Elementtyp, InverseMappingFailures) {
  const Tdataset& l3 = ELETYP::get_datasetref(std::string("ViereckLagro3Lagro3"));
  // x = xi^3 - 2 xi: Newton for x = -2 from 0 cycles between 0 and 1.
  const MatR Xz = knoten(*l3.ansx, [](double a, double b) { return VekR{a * a * a - 2.0 * a, b}; });
  VekR xi;
  Konsolenumleitung k("ww");
  EXPECT_FALSE(l3._xi(Xz, VekR{-2.0, 0.0}, xi, true));
  const std::string aus = k.aus.str();
  EXPECT_EQ(aus.rfind(th::golden("element/golden/meldungen.txt", "xi Maximalzahl") + "xkx           =", 0),
            0u);
  EXPECT_TRUE(th::enthaelt(aus, th::frage));

  // All nodes in one point: singular Jacobian.
  k.aus.str("");
  EXPECT_FALSE(l3._xi(MatR(2, 16, 1.0), VekR{1.0, 1.0}, xi, true));
  EXPECT_EQ(k.aus.str(), "ELE::_xi(): !TVM::inverse_nxn(Jp, JIp, detJp)\n" + th::frage);

  // Non-finite or ill-sized input: false without a question.
  k.aus.str("");
  const MatR X = knoten(*l3.ansx, affin);
  EXPECT_FALSE(l3._xi(X, VekR{NAN, 0.0}, xi, true));
  EXPECT_TRUE(std::isnan(xi[0]) && std::isnan(xi[1]));
  MatR Xi = X;
  Xi[1][5] = INFINITY;
  EXPECT_FALSE(l3._xi(Xi, VekR{3.0, -1.0}, xi, true));
  EXPECT_FALSE(l3._xi(MatR(2, 4), VekR{3.0, -1.0}, xi, true));
  EXPECT_EQ(k.aus.str(), "");
}

// Per element type: corners come first in every family, so both node maps
// run 0, 1, 2, ... and every pair of corresponding nodes sits at the same
// reference position; affine and curved maps and their inverses agree, the
// shape functions of the unknowns reproduce a linear field and its gradient.
TEST(Elementtyp, NodeMapsMappingsRoundTripAndUnknownsReproduceLinearFields) {
  Konsolenumleitung konsole;
  // f, df/dx, df/dy of a linear field.
  const Tabbildung lin = [](double x, double y) { return VekR{2.0 + 3.0 * x - 5.0 * y, 3.0, -5.0}; };
  int Nlagrange = 0, Nhermite = 0;
  for (const Tdataset* d : th::datensaetze(ELETYP::get_datasetnames, ELETYP::get_datasetptr)) {
    SCOPED_TRACE(d->name);
    EXPECT_TRUE(identisch(d->kindxu, d->Nx()));
    EXPECT_TRUE(identisch(d->kindux, d->Nu()));
    for (int i = 0; i < std::min(d->Nx(), d->Nu()); ++i)
      EXPECT_EQ(d->ansx->xik.GetCol(i), d->ansu->xik.GetCol(i)) << "Knoten " << i;
    const bool herm = d->key.ansfunku >= ANSFUNK_HERMC1O1;
    ++(herm ? Nhermite : Nlagrange);
    // Perturbed nodes where a Lagrange unknown family spans the geometry, else affine.
    const bool bspann = !herm && (d->key.ansfunkx == d->key.ansfunku || d->key.ansfunkx == ANSFUNK_LAGRO1);
    MatR Xx = knoten(*d->ansx, affin);
    for (int k = 0; bspann && k < d->Nx(); ++k) {
      Xx[0][k] += 0.05 * std::sin(k + 1.0);
      Xx[1][k] += 0.05 * std::cos(2.0 * k + 1.0);
    }
    // Unknown nodes on the geometry; a Hermite node carries value and gradient.
    const int NL = herm ? 3 : 1;
    MatR Xu(2, d->Nu());
    VekR dl(NL * d->Nu());
    for (int k = 0; k < d->Nu(); ++k) {
      VekR xk;
      ASSERT_TRUE(d->_x(Xx, d->ansu->xik.GetCol(k), xk));
      Xu[0][k] = xk[0];
      Xu[1][k] = xk[1];
      for (int j = 0; j < NL; ++j)
        dl[NL * k + j] = lin(xk[0], xk[1])[j];
    }
    const MatR Xa = knoten(*d->ansx, affin), Xg = knoten(*d->ansx, gekruemmt);
    for (const VekR& xi : innen(d->key.form)) {
      VekR x, xi1;
      ASSERT_TRUE(d->_x(Xa, xi, x));
      EXPECT_LT(maxabw(x, affin(xi[0], xi[1])), 1e-13);
      EXPECT_TRUE(d->_xi(Xa, x, xi1, false));
      EXPECT_LT(maxabw(xi1, xi), 1e-12);
      // Curved edges where the geometry family allows them.
      ASSERT_TRUE(d->_x(Xg, xi, x));
      EXPECT_TRUE(d->_xi(Xg, x, xi1, false));
      EXPECT_LT(maxabw(xi1, xi), 1e-12);
      EXPECT_TRUE(d->_bpinelement(Xg, x, false));

      double detJ;
      VekR Lu;
      MatR Gu, J;
      ASSERT_TRUE(d->_Lu_Gu_detJ(Xx, Xu, xi, detJ, Lu, Gu));
      ASSERT_TRUE(d->_J(Xx, xi, J) && d->_x(Xx, xi, x));
      EXPECT_DOUBLE_EQ(detJ, TVM::determinante_nxn(J));
      EXPECT_GT(detJ, 0.0);
      ASSERT_TRUE(Lu.n == dl.n && Gu.zeilen == dl.n && Gu.spalten == 2);
      EXPECT_NEAR(TVM::skalarprodukt(Lu, dl), lin(x[0], x[1])[0], herm ? 1e-11 : 1e-12);
      EXPECT_LT(maxabw(dl * Gu, VekR{3.0, -5.0}), herm ? 1e-12 : 1e-11);
    }
  }
  EXPECT_EQ(Nlagrange, 10);
  EXPECT_EQ(Nhermite, 5);
  EXPECT_EQ(konsole.aus.str(), "");
}

TEST(Elementtyp, SingularJacobianInUnknownGradientsAndTextForm) {
  const Tdataset& d = ELETYP::get_datasetref(std::string("ViereckLagro1Lagro2"));
  const MatR Xx(2, 4, {0.0, 1.0, 2.0, 3.0, 0.0, 0.0, 0.0, 0.0}); // corners on a line
  double detJ = 7.0;
  VekR Lu;
  MatR Gu(9, 2, 4.0);
  EXPECT_FALSE(d._Lu_Gu_detJ(Xx, MatR(2, 9), VekR{0.2, 0.1}, detJ, Lu, Gu));
  EXPECT_EQ(detJ, 0.0);
  EXPECT_EQ(maxabw(Gu, MatR(9, 2)), 0.0);
  EXPECT_EQ(th::text(d), vorlage("element/golden/eletyp_text.txt"));
}
