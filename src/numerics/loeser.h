#pragma once
// Dense linear solvers working in place on row arrays (double**, e.g. the
// `zeilen_ptr` of a TVM::TMatrix<double>), the choice among them, the
// condition check of an inverse, the partition of matrices and vectors by
// classes, and the sparse direct solver of the global system. Indices are
// 0-based; every kernel accepts the order 0.
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

// Gauss-Jordan elimination with full pivoting: a (n x n) becomes A^-1 and the
// m columns of b (n rows) become the solutions. m may be 0 (b unused).
bool NR_gauss(int n, double** a, int m, double** b);
bool gauss(int n, double** a, double* b);
bool gauss(int n, double** a, int m, double** b);
bool gauss_inverse(int n, double** a);

// Crout LU with implicit (row-scaled) partial pivoting, L unit lower and U
// upper in a. Row j was interchanged with row indx[j] at step j; d is the
// parity of the interchanges (+1 or -1).
bool NR_ludcmp(int n, double** a, int* indx, int& d);
bool NR_ludcmp(int n, double** a, int* indx, double& d);
// b := A^-1 b on the factors of NR_ludcmp; false for an invalid indx.
bool NR_lubksb(int n, double** a, const int* indx, double* b);
// Factor and solve one or m right-hand sides (b: n rows, m columns);
// det = d * prod(u_ii), 0 when the factorisation fails.
bool lu(int n, double** a, double* b, double& det);
bool lu(int n, double** a, int m, double** b, double& det);
// a := A^-1; det as above (0 first). On failure a is left unchanged.
bool lu_inverse(int n, double** a, double& det);
// Determinant by LU; 0 when the factorisation fails. a is left unchanged.
double lu_determinante(int n, double** a);

// Golub-Reinsch SVD A = U diag(w) V^T of an m x n matrix: a becomes U (m x n),
// w the n singular values (>= 0, unsorted), v (n x n) the orthogonal V. For
// m < n the missing rows count as zero rows. At most 30 sweeps per singular
// value; otherwise (and for non-finite entries) the console gets a message and
// the result is false. `iterationen` receives the largest sweep count of one
// singular value, `anorm` the norm estimate of the bidiagonal form.
bool NR_svdcmp(int m, int n, double** a, double* w, double** v, int* iterationen = nullptr,
               double* anorm = nullptr);
// Sets every w_i <= 2^-52 max(w) to 0; returns how many are 0 now.
int NR_svregw(int n, double* w);
// x := V diag(w)^+ U^T b, skipping zero singular values (x may be b if m == n).
void NR_svbksb(int m, int n, double** u, double* w, double** v, double* b, double* x);
// Least-squares (minimum-norm) solutions by the regularised SVD; a becomes U.
// b has m rows (k columns), x n rows (k columns). det: the determinant
// sign(det U det V) * prod(w) for m == n, 0 otherwise.
bool svd(int m, int n, double** a, double* b, double* x, double& det);
bool svd(int m, int n, double** a, int k, double** b, double** x, double& det);
// ainv (n x m rows) := the pseudo-inverse of a; a becomes U; det as for svd.
bool svd_inverse(int m, int n, double** a, double** ainv, double& det);
// Determinant by SVD (0 on failure). a is left unchanged.
double svd_determinante(int n, double** a);

// Profile Cholesky A = U^T U of a symmetric positive definite matrix. Only the
// upper triangle of a is read, from each column's profile start (the first
// row with a non-zero entry) down to the diagonal; a itself is not changed.
// b := A^-1 b.
bool profil(int n, double** a, double* b);
// The same on a matrix already packed by columns: x[0..n] are n + 1 pointers
// into one array of m values, column j running from x[j] (its profile start
// row j - (x[j+1] - x[j]) + 1) to x[j+1] - 1 (its diagonal). The values are
// replaced by U and b by A^-1 b. False for a malformed table.
bool profil(int n, double* b, int m, double** x);
// a := A^-1 (the whole matrix is written).
bool profil_inverse(int n, double** a);

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
// to the determinant the method yields.
int loeser_inverse(TMatrix<double>& A, double& det, MATHE::LOESER loeser);

// Reliable decimal digits of an inverse, 15 - round(log10(|A|_F |Ainv|_F) + 0.5);
// true when they reach `mindest`. A zero or non-finite product gives 0 digits
// and false.
bool Konditionskontrolle(const TMatrix<double>& A, const TMatrix<double>& Ainv, int& stellen,
                         unsigned int mindest);

// Partition by class: entry i belongs to class typ[i]; classes >= n belong to
// no part. Parts keep the order of their entries. MatrixZerlegung fills the
// nz * ns blocks teile[r * ns + s] (row class r, column class s).
void MatrixZerlegung(TMatrix<double>& A, unsigned int nz, unsigned int ns, TVektor<unsigned int>& zeilentyp,
                     TVektor<unsigned int>& spaltentyp, TMatrix<double>* teile);
void VektorZerlegung(TVektor<double>& v, unsigned int n, TVektor<unsigned int>& typ, TVektor<double>* teile);
// Writes the parts back at the positions of their class; entries of class >= n
// (and positions a too short part does not cover) keep their values.
void VektorZusammenfassung(TVektor<double>& v, unsigned int n, TVektor<unsigned int>& typ,
                           TVektor<double>* teile);

} // namespace TVM
