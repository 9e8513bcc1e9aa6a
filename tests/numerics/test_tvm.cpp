#include "numerics/tvm.h"
#include "testhilfe.h"

using namespace TVM;

namespace {
// The text form in print layout `format`; the setting is restored afterwards.
template <class T> std::string text(const T& x, int format) {
  const int alt = std::exchange(TVekMat::format(), format);
  const std::string s = th::text(x);
  TVekMat::format() = alt;
  return s;
}
} // namespace

TEST(Vektor, SizingViewsAndCopies) {
  VekR a(3, 2.5);
  a.init(-1, nullptr);
  EXPECT_EQ(a, (VekR{0, 0, 0}));

  double feld[4] = {1, 2, 3, 4};
  VekR sicht;
  sicht.ansicht(4, feld);
  sicht[1] = 20;
  EXPECT_EQ(feld[1], 20);
  sicht.init(2, nullptr); // a view cannot be resized
  EXPECT_EQ(sicht.n, 0);
  EXPECT_EQ(feld[0], 1);

  VekR b{1, 2};
  VekR kopie(b);
  kopie[0] = 5;
  EXPECT_EQ(b[0], 1);
}

TEST(Matrix, SizingProductsAndTranspose) {
  MatR a(2, 3, {1, 2, 3, 4, 5, 6});
  EXPECT_EQ(a(0, 2), 3);
  a *= MatR(3, 2, {1, 4, 2, 5, 3, 6}); // 2x3 * 3x2
  EXPECT_EQ(maxabw(a, MatR(2, 2, {14, 32, 32, 77})), 0.0);
  MatR d;
  EXPECT_EQ(maxabw(Dyade(VekR{1, 2}, VekR{3, 4, 5}, d), MatR(2, 3, {3, 4, 5, 6, 8, 10})), 0.0);
  EXPECT_EQ(MatR(3, 2, 1.0).GetCol(5), (VekR{0, 0, 0}));
}

TEST(Matrix, DeterminantsAndClosedFormInverses) {
  std::mt19937 gen(7);
  for (int n = 1; n <= 4; ++n) {
    const MatR a = zufallsmatrix(n, n, gen) + (einheitsmatrix(n) *= n); // well conditioned
    MatR ainv;
    double det = 0;
    ASSERT_TRUE(inverse_nxn(a, ainv, det)) << n;
    EXPECT_EQ(det, determinante_nxn(a));
    EXPECT_LT(maxabw(a * ainv, einheitsmatrix(n)), 1e-14) << n;
  }
  MatR ergebnis(1, 1, 9.0);
  double det = 0;
  EXPECT_FALSE(inverse_2x2(MatR(2, 2, {1, 0, 0, 1e-17}), ergebnis, det));
  EXPECT_EQ(det, 1e-17);
  EXPECT_EQ(ergebnis[0][0], 9.0);
  EXPECT_TRUE(inverse_2x2(MatR(2, 2, {1, 0, 0, 1e-15}), ergebnis, det));
  EXPECT_DOUBLE_EQ(ergebnis[1][1], 1e15);

  EXPECT_FALSE(inverse_nxn(MatR(5, 5, 1.0), ergebnis, det));
  EXPECT_EQ(determinante_nxn(MatR(2, 3, 1.0)), 0.0);
}

TEST(Matrix, LumpingAndVoigt) {
  const double faktor[] = {1.0, 0.5, 0.0};
  const MatR soll[] = {MatR(2, 2, {3, 0, 0, 3}), MatR(2, 2, {2.5, 0.5, 0.5, 2.5}), MatR(2, 2, {2, 1, 1, 2})};
  for (int i = 0; i < 3; ++i) {
    MatR k(2, 2, {2, 1, 1, 2});
    k.Konzentrieren(faktor[i]);
    EXPECT_EQ(maxabw(k, soll[i]), 0.0) << faktor[i];
  }

  // Shear entries scaled by sqrt 2 keep the double contraction.
  const double s = std::sqrt(2.0);
  VekR v, r;
  EXPECT_EQ(vektorV_transform(VekR{1, 2, 3}, v), (VekR{1, 2, 3 * s}));
  EXPECT_NEAR(vektorV_ruecktransform(v, r)[2], 3.0, 9e-16); // two roundings of a value near 3
  EXPECT_EQ(vektorV_transform(VekR{1, 2}, v), (VekR{s, 2 * s}));
  EXPECT_EQ(vektorV_transform(MatR(3, 3, {1, 4, 5, 4, 2, 6, 5, 6, 3}), v),
            (VekR{1, 2, 3, 4 * s, 5 * s, 6 * s}));
  EXPECT_EQ(MATHE::_dim1(6), 3);
  EXPECT_EQ(MATHE::_dim2(4), 0);
}

// Every layout of every kind of entry, checked against the file.
TEST(Textform, FourLayouts) {
  std::string alle;
  for (int f = 0; f <= 3; ++f)
    alle += "== " + std::to_string(f) + "\n" + text(VekR{1, -2}, f) + "\n" + text(VekR(), f) + "\n" +
            text(VekR{0.0}, f) + "\n" + text(MatR(2, 2, {1, 2, 3, 4}), f) + "\n" +
            text(TVektor<int>{3, -1}, f) + "\n" + text(TVektor<bool>{true, false}, f) + "\n";
  EXPECT_EQ(alle, vorlage("numerics/golden/textform.txt"));
  EXPECT_EQ(TVekMat::format(), 2);
}

// Row tables in the matrix and on the heap survive moves and swaps; products
// go into a given result, a view of the wrong size stays empty; a matrix
// transposed onto itself.
TEST(Matrix, RowTablesMovesAndProductsIntoResults) {
  MatR klein(2, 3, {1, 2, 3, 4, 5, 6}), gross(7, 2, 1.0);
  gross[6][1] = 9.0;
  MatR a(std::move(klein)), b(std::move(gross));
  EXPECT_EQ(a[1][2], 6.0);
  EXPECT_EQ(b[6][1], 9.0);
  std::swap(a, b);
  EXPECT_EQ(a[6][1], 9.0);
  EXPECT_EQ(b[1][0], 4.0);
  a.init(2, 7, nullptr, 2.0); // same count, new shape: the rows follow
  EXPECT_EQ(a[1] - a[0], 7);
  a.init(9, 9, nullptr, 1.0);
  EXPECT_EQ(a[8][8], 1.0);

  double puffer[4];
  MatR sicht;
  sicht.ansicht(2, 2, puffer);
  const MatR p(2, 3, {1, 0, 2, 0, 1, 0}), q(3, 2, {1, 2, 3, 4, 5, 6});
  EXPECT_EQ(maxabw(produkt(p, q, sicht), MatR(2, 2, {11, 14, 3, 4})), 0.0);
  EXPECT_EQ(sicht.data, puffer);
  VekR y;
  EXPECT_EQ(produkt(p, VekR{1, 1, 1}, y), (VekR{3, 1}));
  EXPECT_EQ(produkt(VekR{1, 2}, p, y), (VekR{1, 2, 2}));
  MatR zu_klein;
  zu_klein.ansicht(1, 1, puffer);
  produkt(p, q, zu_klein);
  EXPECT_EQ(zu_klein.anzahl(), 0);
  EXPECT_EQ(puffer[0], 11.0) << "nothing written";

  MatR t(2, 3, {1, 2, 3, 4, 5, 6});
  EXPECT_EQ(maxabw(Transponieren(t, t), MatR(3, 2, {1, 4, 2, 5, 3, 6})), 0.0);

  double x[3] = {1, 2, 3}, z[3] = {1, 1, 1};
  vielfaches_addieren(z, x, -2.0, 3);
  EXPECT_EQ(z[2], -5.0);
}

// Without NDEBUG an index outside a vector or matrix stops the program and
// names the index and the bound; the last valid indices pass.
TEST(IndexDeathTest, OutOfRangeStops) {
#ifdef NDEBUG
  GTEST_SKIP() << "index checks are compiled only without NDEBUG (the Debug build of make check-asan)";
#else
  VekR v(3);
  MatR m(2, 3);
  const MatR& k = m;
  v[2] = m[1][2] = m(1, 2) = k[1][2] + 1.0;
  EXPECT_EQ(v[2], 1.0);
  EXPECT_DEATH(v[3] = 1.0, "Index 3 ausserhalb von \\[0, 3\\)");
  EXPECT_DEATH(v[-1] = 1.0, "Index -1 ausserhalb von \\[0, 3\\)");
  EXPECT_DEATH(m[2][0] = 1.0, "Index 2 ausserhalb von \\[0, 2\\)");
  EXPECT_DEATH(m[1][3] = 1.0, "Index 3 ausserhalb von \\[0, 3\\)");
  EXPECT_DEATH(v[0] = k[0][-1], "Index -1 ausserhalb von \\[0, 3\\)");
  EXPECT_DEATH(m(0, 3) = 1.0, "Index 3 ausserhalb von \\[0, 3\\)");
  EXPECT_DEATH(v[0] = k(2, 0), "Index 2 ausserhalb von \\[0, 2\\)");
  EXPECT_DEATH(VekR()[0] = 1.0, "Index 0 ausserhalb von \\[0, 0\\)");
#endif
}
