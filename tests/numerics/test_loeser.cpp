#include "numerics/loeser.h"
#include "testhilfe.h"

using namespace TVM;
using namespace MATHE;

namespace {
const double keinezahl = std::nan("");
const LOESER alle[] = {LOESER_AUTOMATISCH, LOESER_GAUSS, LOESER_LU, LOESER_SVD, LOESER_PROFIL};

// The four Penrose conditions of X as pseudo-inverse of A, largest defect.
double penrose(const MatR& a, const MatR& x) {
  const MatR ax = a * x, xa = x * a;
  return std::max(
      {maxabw(ax * a, a), maxabw(xa * x, x), maxabw(ax, transponiert(ax)), maxabw(xa, transponiert(xa))});
}

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

// The solution for b, with a failed expectation when the solve fails.
VekR loesung(TDuennloeser& l, VekR b) {
  EXPECT_TRUE(l.loesen(b.data));
  return b;
}
} // namespace

TEST(Loeser, NamesParserAndSign) {
  // The name table: with the others in tests/input/test_mpmdefs.cpp.
  EXPECT_EQ(_LOESER("L") + _LOESER(nullptr), 0);
  EXPECT_EQ(vorz(3, -2), -3);
  EXPECT_EQ(vorz(-3, 0), 3);
}

// Every kind inverts random matrices, unsymmetric (all but "Profil") and
// symmetric positive definite; the determinant meets the closed form up to
// order 4 and, beyond, the one of the first kind.
TEST(Loeser, EveryKindInvertsAndGivesTheDeterminant) {
  std::mt19937 g(11);
  for (int n : {1, 2, 4, 6, 60})
    for (bool spd : {false, true}) {
      MatR a0 = zufallsmatrix(n, n, g);
      if (spd) a0 = a0 * transponiert(a0) + einheitsmatrix(n);
      double dref = n <= 4 ? determinante_nxn(a0) : 0.0;
      for (LOESER l : alle) {
        if (l == LOESER_PROFIL && !spd) continue;
        SCOPED_TRACE(std::to_string(n) + (spd ? " spd " : " ") + str_LOESER(l));
        MatR a = a0;
        double det = 0;
        ASSERT_EQ(loeser_inverse(a, det, l), 1);
        EXPECT_LT(maxabw(a0 * a, einheitsmatrix(n)), 1e-10);
        if (dref == 0.0) dref = det;
        EXPECT_NEAR(det, dref, 1e-10 * std::fabs(dref));
      }
    }
  // Determinant signs follow the row interchanges: det = -(1 * 2 * 4).
  for (LOESER l : {LOESER_AUTOMATISCH, LOESER_GAUSS, LOESER_LU, LOESER_SVD}) {
    MatR p(3, 3, {0, 0, 1, 0, 2, 0, 4, 0, 0});
    double det = 0;
    ASSERT_EQ(loeser_inverse(p, det, l), 1);
    EXPECT_NEAR(det, -8.0, 1e-14) << str_LOESER(l);
  }
  // Singular: the exact methods fail, "automatisch" falls back to the pseudo-inverse.
  const MatR s0(3, 3, {1, 1, 2, 1, 1, 2, 2, 2, 5}); // symmetric, rows 0 and 1 equal
  for (LOESER l : alle) {
    const bool pseudo = l == LOESER_AUTOMATISCH || l == LOESER_SVD;
    MatR s = s0;
    double det = 5;
    ASSERT_EQ(loeser_inverse(s, det, l), pseudo ? 1 : 0) << str_LOESER(l);
    EXPECT_EQ(det, 0.0);
    EXPECT_TRUE(!pseudo || penrose(s0, s) < 1e-12) << penrose(s0, s);
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

  // Gauss-Jordan refuses non-finite and nearly singular matrices.
  MatR mitnan(2, 2, {1, 0, 0, keinezahl}), klein(1, 1, {1e-17}), gross(1, 1, {1e-15});
  EXPECT_FALSE(gauss_inverse(2, mitnan.zeilen_ptr));
  EXPECT_FALSE(gauss_inverse(1, klein.zeilen_ptr));
  EXPECT_TRUE(gauss_inverse(1, gross.zeilen_ptr));
}

// The pseudo-inverse of every shape, full rank and of rank 3; exact
// power-of-two scaling keeps huge and tiny matrices in range; the zero matrix
// has the zero pseudo-inverse; a NaN stops the iteration.
TEST(SVD, PseudoInverseOfAllShapes) {
  std::mt19937 g(13);
  const MatR r = zufallsmatrix(10, 3, g) * zufallsmatrix(3, 6, g);
  for (const MatR& a0 :
       {zufallsmatrix(8, 5, g), zufallsmatrix(5, 8, g), zufallsmatrix(60, 40, g), r, transponiert(r)}) {
    MatR a = a0;
    double det = 1;
    ASSERT_EQ(loeser_inverse(a, det, LOESER_SVD), 1);
    EXPECT_LT(penrose(a0, a), 1e-12) << a0.zeilen << "x" << a0.spalten;
  }
  double det = 1;
  for (double faktor : {1e300, 1e-300}) {
    MatR a(2, 2, {3 * faktor, 0, 0, -4 * faktor});
    ASSERT_EQ(loeser_inverse(a, det, LOESER_SVD), 1);
    EXPECT_LT(maxabw(a *= faktor, MatR(2, 2, {1.0 / 3.0, 0, 0, -0.25})), 1e-15) << faktor;
  }
  MatR null(3, 2);
  ASSERT_EQ(loeser_inverse(null, det, LOESER_SVD), 1);
  EXPECT_EQ(maxabw(null, MatR(2, 3)), 0.0);

  // Singular values up to 4 * 2^-52 times the largest (8.9e-16 here) count as zero.
  VekR w{4, 1e-17, 2, 0, 8e-16};
  EXPECT_EQ(NR_svregw(5, w.data), 3);
  EXPECT_EQ(w, (VekR{4, 0, 2, 0, 0}));

  Konsolenumleitung k;
  MatR schlecht(2, 2, {1, keinezahl, 0, 1});
  EXPECT_EQ(loeser_inverse(schlecht, det, LOESER_SVD), 0);
  EXPECT_EQ(k.aus.str(), "FEHLER in svdcmp(): Keine Konvergenz in 30 Iterationsschritten.\n");
}

// Banded SPD with zero column heads (the profile starts below the top) and
// garbage in the lower triangle, which "Profil" must not read.
TEST(Profil, ReadsOnlyUpperProfileAndRefusesIndefinite) {
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
  double det = 0;
  ASSERT_EQ(loeser_inverse(band, det, LOESER_PROFIL), 1);
  EXPECT_LT(maxabw(band0 * band, einheitsmatrix(n)), 1e-12);

  MatR indefinit(2, 2, {1, 2, 2, 1});
  EXPECT_EQ(loeser_inverse(indefinit, det, LOESER_PROFIL), 0);
}

TEST(LoeserInverse, ConditionCheck) {
  // Identity of order 4 has kappa 4, log10 4 + 0.5 = 1.10.
  int stellen = 0;
  const MatR e4 = einheitsmatrix(4);
  EXPECT_TRUE(Konditionskontrolle(e4, e4, stellen, 3));
  EXPECT_EQ(stellen, 14);
  EXPECT_FALSE(Konditionskontrolle(e4, e4, stellen, 15));
  EXPECT_FALSE(Konditionskontrolle(MatR(1, 1, {keinezahl}), e4, stellen, 0));
}

TEST(DuennLoeser, SolvesKeepsItsWorkAndRefuses) {
  Zeilen l5(laplace(5));
  for (LOESER art : {LOESER_PROFIL, LOESER_LU}) {
    SCOPED_TRACE(str_LOESER(art));
    TDuennloeser l;
    ASSERT_TRUE(l5.zerlegen(l, art));
    EXPECT_LT(maxabw(loesung(l, {1, 0, 0, 0, 0}), VekR{5, 4, 3, 2, 1} *= 1.0 / 6.0), 1e-15);
    // kappa_1 = 4 * 3 (6 - 3) / 2; the estimate is exact for a positive inverse.
    EXPECT_NEAR(l.kondition(), 18.0, 18.0 * 1e-14);
    // Equal values keep the factors, new values only the analysis, a new
    // method both.
    ASSERT_TRUE(l5.zerlegen(l, art));
    EXPECT_EQ(std::make_pair(l.Nanalysen(), l.Nzerlegungen()), std::make_pair(1L, 1L));
    Zeilen doppelt(laplace(5) *= 2.0);
    ASSERT_TRUE(doppelt.zerlegen(l, art, false));
    EXPECT_EQ(std::make_pair(l.Nanalysen(), l.Nzerlegungen()), std::make_pair(1L, 2L));
    EXPECT_NEAR(loesung(l, {1, 0, 0, 0, 0})[4], 1.0 / 12.0, 1e-15);
    ASSERT_TRUE(doppelt.zerlegen(l, art == LOESER_PROFIL ? LOESER_GAUSS : LOESER_PROFIL));
    EXPECT_EQ(l.Nanalysen(), 2);
  }

  // Unsymmetric: LU solves A x = b, not A^T x = b.
  const MatR u(3, 3, {4, 1, 0, 2, 5, 1, 0, 3, 6});
  TDuennloeser l;
  ASSERT_TRUE(Zeilen(u).zerlegen(l, LOESER_AUTOMATISCH));
  EXPECT_LT(maxabw(u * loesung(l, {1, 2, 3}), VekR{1, 2, 3}), 1e-15);
  // |A|_1 = 9; A^-1 = [27 -6 1; -12 24 -4; 6 -12 18] / 96, |A^-1|_1 = 45 / 96.
  EXPECT_NEAR(l.kondition(), 9.0 * 45.0 / 96.0, 1e-14);

  // "Profil" reads the upper triangle only, as the profile solver does.
  ASSERT_TRUE(Zeilen(MatR(2, 2, {2, -1, 5, 2})).zerlegen(l, LOESER_PROFIL));
  EXPECT_LT(maxabw(loesung(l, {1, 0}), VekR{2.0 / 3.0, 1.0 / 3.0}), 1e-15);

  // Indefinite: refused as "Profil", solved by LU; singular: refused by both.
  Zeilen indefinit(MatR(2, 2, {1, 2, 2, 1}));
  EXPECT_FALSE(indefinit.zerlegen(l, LOESER_PROFIL));
  VekR x{1, 1};
  EXPECT_FALSE(l.loesen(x.data)) << "no factors after a failure";
  ASSERT_TRUE(indefinit.zerlegen(l, LOESER_LU));
  EXPECT_LT(maxabw(loesung(l, {3, 3}), VekR{1, 1}), 1e-15);
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
  const double kappa[] = {4.0, 0.99e12, 1e12, 0.0, keinezahl};
  const int stellen[] = {14, 3, 2, 0, 0};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(zuverlaessige_stellen(kappa[i]), stellen[i]) << kappa[i];
}
