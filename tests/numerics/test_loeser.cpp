#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "numerics/loeser.h"
#include "testhilfe.h"

using namespace TVM;
using namespace MATHE;

namespace {
const double keinezahl = std::numeric_limits<double>::quiet_NaN();

VekR zufall(int n, std::mt19937& g) {
  return zufallsmatrix(n, 1, g).GetCol(0);
}
// |A x - b| / |b|
double residuum(const MatR& a, const VekR& x, const VekR& b) {
  return norm(a * x - b) / norm(b);
}
// The four Penrose conditions of X as pseudo-inverse of A, largest defect.
double penrose(const MatR& a, const MatR& x) {
  const MatR ax = a * x, xa = x * a;
  return std::max(
      {maxabw(ax * a, a), maxabw(xa * x, x), maxabw(ax, transponiert(ax)), maxabw(xa, transponiert(xa))});
}
// Singular and symmetric: rows 0 and 1 equal.
MatR singulaer3() {
  return MatR(3, 3, {1, 1, 2, 1, 1, 2, 2, 2, 5});
}
} // namespace

TEST(Loeser, NamesParserAndSign) {
  EXPECT_EQ(namensliste(
                "LOESER", 6, [](int v) { return str_LOESER(static_cast<LOESER>(v)); },
                [](const char* w) { return static_cast<int>(_LOESER(w)); }),
            "LOESER: 1 automatisch; 2 Gauss; 3 LU; 4 SVD; 5 Profil");
  EXPECT_EQ(_LOESER("L") + _LOESER(nullptr), 0);
  EXPECT_EQ(vorz(3, -2), -3);
  EXPECT_EQ(vorz(-3, 0), 3);
}

TEST(Loeser, RandomSquareSystemsByGaussLUAndSVD) {
  std::mt19937 g(11);
  for (int n : {1, 2, 4, 60}) {
    SCOPED_TRACE(n);
    const MatR a0 = zufallsmatrix(n, n, g), bm = zufallsmatrix(n, 3, g);
    const VekR b0 = zufall(n, g);
    // Gauss-Jordan: the matrix becomes its inverse.
    MatR a = a0, xm = bm;
    VekR x = b0;
    ASSERT_TRUE(gauss(n, a.zeilen_ptr, x.data));
    EXPECT_LT(residuum(a0, x, b0), 1e-10);
    EXPECT_LT(maxabw(a0 * a, einheitsmatrix(n)), 1e-10);

    // LU: several right-hand sides and the determinant.
    double det;
    a = a0;
    ASSERT_TRUE(lu(n, a.zeilen_ptr, 3, xm.zeilen_ptr, det));
    for (int j = 0; j < 3; ++j)
      EXPECT_LT(residuum(a0, xm.GetCol(j), bm.GetCol(j)), 1e-10);
    a = a0;
    if (n <= 4) {
      EXPECT_NEAR(det, determinante_nxn(a0), 1e-14) << "closed form";
    }
    // SVD: the determinant with its sign.
    EXPECT_NEAR(svd_determinante(n, a.zeilen_ptr), det, 1e-12 * std::fabs(det) + 1e-300);
  }
}

TEST(Loeser, RefusalsOfSingularNonFiniteAndBadInput) {
  MatR s = singulaer3(), mitnan(2, 2, {1, 0, 0, keinezahl});
  VekR b{1, 2, 3};
  EXPECT_FALSE(gauss(3, s.zeilen_ptr, b.data));
  EXPECT_FALSE(gauss_inverse(2, mitnan.zeilen_ptr));
  MatR klein(1, 1, {1e-17}), gross(1, 1, {1e-15});
  EXPECT_FALSE(gauss_inverse(1, klein.zeilen_ptr));
  EXPECT_TRUE(gauss_inverse(1, gross.zeilen_ptr));
  EXPECT_FALSE(gauss(-1, nullptr, nullptr));
  // A row index out of range.
  MatR a = einheitsmatrix(2);
  int schlecht[2] = {0, 5};
  VekR c{1, 2};
  EXPECT_FALSE(NR_lubksb(2, a.zeilen_ptr, schlecht, c.data));
  EXPECT_EQ(c, (VekR{1, 2}));
}

TEST(SVD, DecomposesAllShapes) {
  std::mt19937 g(13);
  const int formen[][2] = {{8, 5}, {5, 8}, {60, 40}};
  for (const auto& f : formen) {
    const int m = f[0], n = f[1];
    const MatR a0 = zufallsmatrix(m, n, g);
    MatR u = a0, v(n, n);
    VekR w(n);
    ASSERT_TRUE(NR_svdcmp(m, n, u.zeilen_ptr, w.data, v.zeilen_ptr)) << m << "x" << n;
    MatR uw = u;
    for (int i = 0; i < m; ++i)
      for (int j = 0; j < n; ++j)
        uw[i][j] *= w[j];
    EXPECT_LT(maxabw(uw * transponiert(v), a0), 1e-12) << m << "x" << n;
    EXPECT_LT(maxabw(transponiert(v) * v, einheitsmatrix(n)), 1e-12);
    if (m >= n) {
      EXPECT_LT(maxabw(transponiert(u) * u, einheitsmatrix(n)), 1e-12);
    }
    EXPECT_GE(*std::min_element(w.begin(), w.end()), 0.0);
  }
  // Exact power-of-two scaling keeps huge and tiny matrices in range.
  for (double faktor : {1e300, 1e-300}) {
    MatR a(2, 2, {3 * faktor, 0, 0, -4 * faktor}), v(2, 2);
    VekR w(2);
    ASSERT_TRUE(NR_svdcmp(2, 2, a.zeilen_ptr, w.data, v.zeilen_ptr));
    EXPECT_NEAR(std::max(w[0], w[1]) / faktor, 4, 1e-15);
    EXPECT_NEAR(std::min(w[0], w[1]) / faktor, 3, 1e-15);
  }
  // Zero matrix and order 0.
  MatR null(3, 2), v(2, 2);
  VekR w(2, 5.0);
  ASSERT_TRUE(NR_svdcmp(3, 2, null.zeilen_ptr, w.data, v.zeilen_ptr));
  EXPECT_EQ(w, (VekR{0, 0}));

  Konsolenumleitung k;
  MatR schlecht(2, 2, {1, keinezahl, 0, 1});
  EXPECT_FALSE(NR_svdcmp(2, 2, schlecht.zeilen_ptr, w.data, v.zeilen_ptr));
  EXPECT_EQ(k.aus.str(), "FEHLER in svdcmp(): Keine Konvergenz in 30 Iterationsschritten.\n");
}

TEST(SVD, RegularisesSolvesAndGivesPseudoInverseAndDeterminant) {
  std::mt19937 g(14);
  VekR w{4, 1e-17, 2, 0, 8e-16};
  EXPECT_EQ(NR_svregw(5, w.data), 3) << "4 * 2^-52 = 8.9e-16 is the bound";
  EXPECT_EQ(w, (VekR{4, 0, 2, 0, 0}));

  // Tall full-rank system: the least-squares solution meets the normal equations.
  const MatR a0 = zufallsmatrix(12, 5, g);
  const VekR b0 = zufall(12, g);
  MatR a = a0;
  VekR x(5);
  double det = 1;
  ASSERT_TRUE(svd(12, 5, a.zeilen_ptr, b0.data, x.data, det));
  EXPECT_EQ(det, 0.0);
  EXPECT_LT(norm((a0 * x - b0) * a0), 1e-12);

  // Rank-deficient rectangular: rank 3 of 10 x 6 and its transposed shape.
  const MatR r = zufallsmatrix(10, 3, g) * zufallsmatrix(3, 6, g);
  for (const MatR& a1 : {r, transponiert(r)}) {
    const int m = a1.zeilen, n = a1.spalten;
    MatR u = a1, v(n, n), ainv(n, m);
    VekR sw(n);
    ASSERT_TRUE(NR_svdcmp(m, n, u.zeilen_ptr, sw.data, v.zeilen_ptr));
    EXPECT_EQ(NR_svregw(n, sw.data), n - 3);
    u = a1;
    ASSERT_TRUE(svd_inverse(m, n, u.zeilen_ptr, ainv.zeilen_ptr, det));
    EXPECT_LT(penrose(a1, ainv), 1e-12) << m << "x" << n;
  }

  MatR s = singulaer3();
  EXPECT_EQ(svd_determinante(3, s.zeilen_ptr), 0.0);
}

TEST(Profil, ReadsOnlyUpperProfileAndRefusesIndefinite) {
  std::mt19937 g(15);
  // Banded SPD with zero columns heads (profile starts below the top) and
  // garbage in the lower triangle.
  const int n = 40;
  MatR band(n, n);
  for (int i = 0; i < n; ++i) {
    band[i][i] = 4.0 + (i % 3);
    if (i + 1 < n) band[i][i + 1] = band[i + 1][i] = -1.0;
    if (i + 3 < n && i % 2 == 0) band[i][i + 3] = band[i + 3][i] = 0.5;
  }
  const MatR band0 = band;
  for (int i = 1; i < n; ++i)
    for (int j = 0; j < i; ++j)
      band[i][j] = i % 2 ? keinezahl : 1e30;
  const MatR band1 = band;
  const VekR b0 = zufall(n, g);
  VekR x = b0;
  ASSERT_TRUE(profil(n, band.zeilen_ptr, x.data));
  EXPECT_LT(residuum(band0, x, b0), 1e-12);
  EXPECT_EQ(std::memcmp(band.data, band1.data, sizeof(double) * band.anzahl()), 0) << "only read";
  ASSERT_TRUE(profil_inverse(n, band.zeilen_ptr));
  EXPECT_LT(maxabw(band0 * band, einheitsmatrix(n)), 1e-12);

  // Packed form on a hand-factored matrix: column 2 starts at row 1.
  // [4 2 0; 2 5 3; 0 3 10] = U^T U, U = [2 1 0; 0 2 1.5; 0 0 sqrt(7.75)].
  std::vector<double> werte{4, 2, 5, 3, 10};
  double* spalten[] = {&werte[0], &werte[1], &werte[3], &werte[5]};
  VekR b{6, 10, 13};
  ASSERT_TRUE(profil(3, b.data, 5, spalten));
  for (double xi : b)
    EXPECT_NEAR(xi, 1.0, 1e-15);
  std::vector<double> w2{4, 2, 5, 3, 10};
  double* zu_hoch[] = {&w2[0], &w2[1], &w2[1], &w2[5]}; // column 1 empty, column 2 taller than 3
  EXPECT_FALSE(profil(3, b.data, 5, zu_hoch));

  MatR indefinit(2, 2, {1, 2, 2, 1}), sing = singulaer3();
  VekR c{1, 1, 1};
  EXPECT_FALSE(profil(2, indefinit.zeilen_ptr, c.data));
  EXPECT_FALSE(profil_inverse(3, sing.zeilen_ptr));
}

TEST(LoeserInverse, DispatchFallbackAndConditionCheck) {
  std::mt19937 g(16);
  const MatR b = zufallsmatrix(6, 6, g);
  MatR a0 = b * transponiert(b); // symmetric positive definite
  a0 += einheitsmatrix(6);
  MatR kopie = a0;
  const double dlu = lu_determinante(6, kopie.zeilen_ptr);
  for (LOESER l : {LOESER_AUTOMATISCH, LOESER_GAUSS, LOESER_LU, LOESER_SVD, LOESER_PROFIL}) {
    MatR a = a0;
    double det = 0;
    ASSERT_EQ(loeser_inverse(a, det, l), 1) << str_LOESER(l);
    EXPECT_LT(maxabw(a0 * a, einheitsmatrix(6)), 1e-10) << str_LOESER(l);
    EXPECT_NEAR(det, dlu, 1e-10 * dlu) << str_LOESER(l);
  }
  // Determinant signs follow the row interchanges: det = -(1 * 2 * 4).
  for (LOESER l : {LOESER_AUTOMATISCH, LOESER_GAUSS, LOESER_LU, LOESER_SVD}) {
    MatR p(3, 3, {0, 0, 1, 0, 2, 0, 4, 0, 0});
    double det = 0;
    ASSERT_EQ(loeser_inverse(p, det, l), 1);
    EXPECT_NEAR(det, -8.0, 1e-14) << str_LOESER(l);
  }
  // Singular: the exact methods fail, "automatisch" falls back to the pseudo-inverse.
  const MatR s0 = singulaer3();
  for (LOESER l : {LOESER_GAUSS, LOESER_LU, LOESER_PROFIL}) {
    MatR s = s0;
    double det = 5;
    EXPECT_EQ(loeser_inverse(s, det, l), 0) << str_LOESER(l);
    EXPECT_EQ(det, 0.0);
  }
  for (LOESER l : {LOESER_AUTOMATISCH, LOESER_SVD}) {
    MatR s = s0;
    double det = 5;
    ASSERT_EQ(loeser_inverse(s, det, l), 1);
    EXPECT_EQ(det, 0.0);
    EXPECT_LT(penrose(s0, s), 1e-12);
  }
  // Non-square: only the pseudo-inverse, of the transposed shape.
  const MatR r0 = zufallsmatrix(4, 6, g);
  MatR r = r0;
  double det = 5;
  ASSERT_EQ(loeser_inverse(r, det, LOESER_AUTOMATISCH), 1);
  EXPECT_EQ(r.zeilen, 6);
  EXPECT_LT(penrose(r0, r), 1e-12);
  r = r0;
  EXPECT_EQ(loeser_inverse(r, det, LOESER_GAUSS), 0);
  EXPECT_EQ(loeser_inverse(r, det, LOESER_UNBEKANNT), 0);

  // Condition check: identity of order 4 has kappa 4, log10 4 + 0.5 = 1.10.
  int stellen = 0;
  const MatR e4 = einheitsmatrix(4);
  EXPECT_TRUE(Konditionskontrolle(e4, e4, stellen, 3));
  EXPECT_EQ(stellen, 14);
  EXPECT_FALSE(Konditionskontrolle(e4, e4, stellen, 15));
  EXPECT_FALSE(Konditionskontrolle(MatR(1, 1, {keinezahl}), e4, stellen, 0));
}

TEST(Zerlegung, SplitsAndMergesByClass) {
  // Classes (0, 1): four 1 x 1 blocks in the order K11, K12, K21, K22.
  MatR k(2, 2, {1, 2, 3, 4});
  TVektor<unsigned int> typ{0, 1};
  MatR teile[4];
  MatrixZerlegung(k, 2, 2, typ, typ, teile);
  for (int b = 0; b < 4; ++b) {
    ASSERT_EQ(teile[b].zeilen, 1);
    ASSERT_EQ(teile[b].spalten, 1);
    EXPECT_EQ(teile[b][0][0], b + 1.0);
  }
  // Classes (0, 2, 1, 0, 2): entries of class 2 vanish from all blocks.
  MatR a(5, 5);
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 5; ++j)
      a[i][j] = 10 * i + j;
  TVektor<unsigned int> t{0, 2, 1, 0, 2};
  MatrixZerlegung(a, 2, 2, t, t, teile);
  EXPECT_EQ(maxabw(teile[0], MatR(2, 2, {0, 3, 30, 33})), 0.0);
  EXPECT_EQ(maxabw(teile[1], MatR(2, 1, {2, 32})), 0.0);

  VekR v{10, 20, 30, 40, 50};
  VekR vt[2];
  VektorZerlegung(v, 2, t, vt);
  EXPECT_EQ(vt[0], (VekR{10, 40}));
  EXPECT_EQ(vt[1], (VekR{30}));
  vt[0] = VekR{-1, -4};
  vt[1] = VekR{-3};
  VektorZusammenfassung(v, 2, t, vt);
  EXPECT_EQ(v, (VekR{-1, 20, -3, -4, 50}));
  // A part too short for its class leaves the uncovered entries alone.
  vt[0] = VekR{7};
  VektorZusammenfassung(v, 2, t, vt);
  EXPECT_EQ(v, (VekR{7, 20, -3, -4, 50}));
}

namespace {
// The matrix by rows, keeping its non-zero entries and every diagonal entry.
struct Zeilen {
  std::vector<int> anfang{0}, spalten;
  std::vector<double> werte;
  explicit Zeilen(const MatR& a) {
    for (int i = 0; i < a.zeilen; ++i) {
      for (int j = 0; j < a.spalten; ++j)
        if (a[i][j] != 0.0 || i == j) {
          spalten.push_back(j);
          werte.push_back(a[i][j]);
        }
      anfang.push_back(static_cast<int>(spalten.size()));
    }
  }
  bool zerlegen(TDuennloeser& l, LOESER art, bool neu = true) {
    return l.zerlegen(art, static_cast<int>(anfang.size()) - 1, anfang.data(), spalten.data(), werte.data(),
                      neu);
  }
};

// tridiag(-1, 2, -1) of order n: (A^-1)_ij = min(i,j) (n+1-max(i,j)) / (n+1)
// (from 1), column sums j (n+1-j) / 2, and |A|_1 = 4.
MatR laplace(int n) {
  MatR a(n, n);
  for (int i = 0; i < n; ++i) {
    a[i][i] = 2;
    if (i > 0) a[i][i - 1] = a[i - 1][i] = -1;
  }
  return a;
}
} // namespace

TEST(DuennLoeser, SolvesKeepsItsWorkAndRefuses) {
  Zeilen l5(laplace(5));
  for (LOESER art : {LOESER_PROFIL, LOESER_LU}) {
    SCOPED_TRACE(str_LOESER(art));
    TDuennloeser l;
    ASSERT_TRUE(l5.zerlegen(l, art));
    VekR x{1, 0, 0, 0, 0};
    ASSERT_TRUE(l.loesen(x.data));
    EXPECT_LT(maxabw(x, VekR{5, 4, 3, 2, 1} *= 1.0 / 6.0), 1e-15);
    // kappa_1 = 4 * 3 (6 - 3) / 2; the estimate is exact for a positive inverse.
    EXPECT_NEAR(l.kondition(), 18.0, 18.0 * 1e-14);
    // Equal values keep the factors, new values only the analysis, a new
    // method both.
    ASSERT_TRUE(l5.zerlegen(l, art));
    EXPECT_EQ(l.Nanalysen(), 1);
    EXPECT_EQ(l.Nzerlegungen(), 1);
    Zeilen doppelt(laplace(5) *= 2.0);
    ASSERT_TRUE(doppelt.zerlegen(l, art, false));
    EXPECT_EQ(l.Nanalysen(), 1);
    EXPECT_EQ(l.Nzerlegungen(), 2);
    x.init({1, 0, 0, 0, 0});
    ASSERT_TRUE(l.loesen(x.data));
    EXPECT_NEAR(x[4], 1.0 / 12.0, 1e-15);
    ASSERT_TRUE(doppelt.zerlegen(l, art == LOESER_PROFIL ? LOESER_GAUSS : LOESER_PROFIL));
    EXPECT_EQ(l.Nanalysen(), 2);
  }

  // Unsymmetric: LU solves A x = b, not A^T x = b.
  const MatR u(3, 3, {4, 1, 0, 2, 5, 1, 0, 3, 6});
  Zeilen zu(u);
  TDuennloeser l;
  ASSERT_TRUE(zu.zerlegen(l, LOESER_AUTOMATISCH));
  VekR x{1, 2, 3};
  ASSERT_TRUE(l.loesen(x.data));
  EXPECT_LT(maxabw(u * x, VekR{1, 2, 3}), 1e-15);
  // |A|_1 = 9; A^-1 = [27 -6 1; -12 24 -4; 6 -12 18] / 96, |A^-1|_1 = 45 / 96.
  EXPECT_NEAR(l.kondition(), 9.0 * 45.0 / 96.0, 1e-14);

  // "Profil" reads the upper triangle only, as the profile solver does.
  Zeilen oben(MatR(2, 2, {2, -1, 5, 2}));
  ASSERT_TRUE(oben.zerlegen(l, LOESER_PROFIL));
  x.init({1, 0});
  ASSERT_TRUE(l.loesen(x.data));
  EXPECT_LT(maxabw(x, VekR{2.0 / 3.0, 1.0 / 3.0}), 1e-15);

  // Indefinite: refused as "Profil", solved by LU; singular: refused by both.
  Zeilen indefinit(MatR(2, 2, {1, 2, 2, 1}));
  EXPECT_FALSE(indefinit.zerlegen(l, LOESER_PROFIL));
  EXPECT_FALSE(l.loesen(x.data)) << "no factors after a failure";
  ASSERT_TRUE(indefinit.zerlegen(l, LOESER_LU));
  x.init({3, 3});
  ASSERT_TRUE(l.loesen(x.data));
  EXPECT_LT(maxabw(x, VekR{1, 1}), 1e-15);
  Zeilen singulaer(MatR(2, 2, {1, 1, 1, 1}));
  for (LOESER art : {LOESER_PROFIL, LOESER_LU, LOESER_SVD, LOESER_UNBEKANNT})
    EXPECT_FALSE(singulaer.zerlegen(l, art)) << str_LOESER(art);
  // A pattern out of order or out of range is refused.
  Zeilen kaputt(u);
  std::swap(kaputt.spalten[0], kaputt.spalten[1]);
  EXPECT_FALSE(kaputt.zerlegen(l, LOESER_LU));
  kaputt.spalten[0] = 7;
  EXPECT_FALSE(kaputt.zerlegen(l, LOESER_LU));
}

TEST(DuennLoeser, ConditionEstimateAndReliableDigits) {
  EXPECT_EQ(inverse_norm1(
                3, [](double*) { return false; }, [](double*) { return true; }),
            -1.0);

  // Three digits hold up to kappa just below 1e12.
  EXPECT_EQ(zuverlaessige_stellen(4.0), 14);
  EXPECT_EQ(zuverlaessige_stellen(0.99e12), 3);
  EXPECT_EQ(zuverlaessige_stellen(1e12), 2);
  EXPECT_EQ(zuverlaessige_stellen(0.0), 0);
  EXPECT_EQ(zuverlaessige_stellen(keinezahl), 0);
}
