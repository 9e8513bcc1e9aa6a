#pragma once
// Dense linear solvers working in place on row arrays (double**, e.g. the
// `zeilen_ptr` of a TVM::TMatrix<double>), the choice among them, the
// condition check of an inverse and the sparse direct solver of the global
// system. Indices are 0-based; every kernel accepts the order 0.
//
// A vanishing pivot is one with magnitude <= 2^-52 (absolute); the SVD uses
// that bound relative to its largest singular value. Failure is a false
// result, never an exception; the matrix may then be left partly factored.

#include <functional>
#include <memory>
#include <vector>

#include "numerics/tvm.h"

namespace MATHE {

enum LOESER : int {
  LOESER_UNBEKANNT = 0,
  LOESER_AUTOMATISCH = 1, // LU, SVD when LU fails
  LOESER_GAUSS = 2,       // Gauss-Jordan, full pivoting
  LOESER_LU = 3,          // Crout LU, implicit partial pivoting
  LOESER_SVD = 4,         // singular value decomposition (pseudo-inverse)
  LOESER_PROFIL = 5       // profile Cholesky (symmetric positive definite)
};
const char* str_LOESER(LOESER l); // "unbekannt" for any other value
LOESER _LOESER(const char* name); // case-insensitive whole word; 0 if none

// |a| with the sign of b (b = 0 counts as positive).
double vorz(double a, double b);

// Gauss-Jordan elimination with full pivoting: b := A^-1 b, a := A^-1.
bool gauss(int n, double** a, double* b);
bool gauss_inverse(int n, double** a);

// Sets every w_i <= 2^-52 max(w) to 0 (singular values of the SVD); returns
// how many are 0 now.
int NR_svregw(int n, double* w);
// ainv (n x m rows) := the pseudo-inverse of the m x n matrix a by the
// regularised SVD; a becomes U. det: sign(det U det V) * prod(w) for m == n,
// 0 otherwise.
bool svd_inverse(int m, int n, double** a, double** ainv, double& det);

// Reliable decimal digits left by the condition number kappa of a system:
// 15 - round(log10(kappa) + 0.5); 0 for a zero or non-finite kappa.
int zuverlaessige_stellen(double kappa);

// Estimate of the 1-norm of A^-1 from solves (Hager's method as refined by
// Higham): `loese` replaces its n values x by A^-1 x, `loese_transp` by
// A^-T x. The estimate never exceeds the true norm; -1 when a solve fails.
double inverse_norm1(int n, const std::function<bool(double*)>& loese,
                     const std::function<bool(double*)>& loese_transp);

// Direct solver of one sparse square matrix at a time, by SuiteSparse: for
// "Profil" CHOLMOD's simplicial LDL^T of the upper triangle with AMD
// ordering (the matrix must be positive definite), for "LU", "Gauss" and
// "automatisch" KLU. The matrix comes by rows: zeilenanfang (n + 1 offsets),
// spalten (column indices, ascending in every row) and werte. The symbolic
// analysis is kept while the pattern and the method stay the same, the
// numeric factorisation while the values are bit for bit the last factorised
// ones. Owns the library's workspaces and factors.
class TDuennloeser {
public:
  TDuennloeser();
  ~TDuennloeser();
  TDuennloeser(const TDuennloeser&) = delete;
  TDuennloeser& operator=(const TDuennloeser&) = delete;

  // Factorises the matrix and estimates its 1-norm condition number. With
  // `neue_pivots` false, LU may keep the pivot order of its last
  // factorisation. False for "SVD" or an unknown method, a pattern that is
  // not square and sorted, and a failed or (for "Profil") not positive
  // definite factorisation.
  bool zerlegen(LOESER l, int n, const int* zeilenanfang, const int* spalten, const double* werte,
                bool neue_pivots);
  // b := A^-1 b with the last successful factorisation; false without one.
  bool loesen(double* b);
  // 1-norm condition estimate of the last successful factorisation.
  double kondition() const { return kondition_; }
  long Nanalysen() const { return Nanalysen_; }
  long Nzerlegungen() const { return Nzerlegungen_; }

private:
  struct Bibliothek;
  std::unique_ptr<Bibliothek> bib_;
  LOESER verfahren_ = LOESER_UNBEKANNT;
  std::vector<int> zeilenanfang_, spalten_;
  std::vector<double> werte_; // the values of the last factorisation
  bool bzerlegt_ = false;     // werte_ are factorised successfully
  double kondition_ = 0.0;
  long Nanalysen_ = 0, Nzerlegungen_ = 0;

  void freigeben();
  bool analysieren();
  bool numerisch(bool neue_pivots);
  bool loesen_transp(double* b);
  double norm1() const;
};

} // namespace MATHE

namespace TVM {

// A := A^-1 (pseudo-inverse by SVD, of the transposed shape) by the chosen
// method; returns 1 on success, 0 on failure. det is set to 0 first and then
// to the determinant the method yields. "Profil" reads only the upper
// triangle of A, from each column's first non-zero entry down to the
// diagonal. The SVD (Golub-Reinsch) takes at most 30 sweeps per singular
// value; otherwise, and for non-finite entries, the console gets a message
// and the result is 0.
int loeser_inverse(TMatrix<double>& A, double& det, MATHE::LOESER loeser);

// Reliable decimal digits of an inverse, 15 - round(log10(|A|_F |Ainv|_F) + 0.5);
// true when they reach `mindest`. A zero or non-finite product gives 0 digits
// and false.
bool Konditionskontrolle(const TMatrix<double>& A, const TMatrix<double>& Ainv, int& stellen,
                         unsigned int mindest);

} // namespace TVM
