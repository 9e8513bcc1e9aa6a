#include "numerics/loeser.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <ostream>
#include <vector>

#include <cholmod.h>
#include <klu.h>

#include "frame/mpmextern.h"
#include "frame/zeichkett.h"

namespace MATHE {

namespace {

constexpr double schranke = 2.220446049250313e-16; // 2^-52
constexpr int maxsweeps = 30;

const char* const loesernamen[] = {nullptr, "automatisch", "Gauss", "LU", "SVD", "Profil"};

bool endlich(const double* x, int n) {
  for (int i = 0; i < n; ++i)
    if (!std::isfinite(x[i])) return false;
  return true;
}
bool endlich(double** a, int z, int s) {
  for (int i = 0; i < z; ++i)
    if (!endlich(a[i], s)) return false;
  return true;
}

// Row pointers to the single elements of b, so that a vector can be used as
// an n x 1 matrix.
std::vector<double*> als_spalte(int n, double* b) {
  std::vector<double*> z(n);
  for (int i = 0; i < n; ++i)
    z[i] = b + i;
  return z;
}

// ---------------------------------------------------------------- Gauss-Jordan

// In place: each pivot is moved onto the diagonal by a row interchange and
// its row and column are then swept; det = product of pivots with the sign of
// the interchanges.
bool gauss_jordan(int n, double** a, int m, double** b, double* det) {
  if (n < 0 || m < 0) return false;
  if (n == 0) {
    if (det) *det = 1;
    return true;
  }
  if (!a || (m > 0 && !b)) return false;
  // The bookkeeping of the small systems of the material laws on the stack.
  constexpr int maxstapel = 16;
  char benutzt_s[maxstapel];
  int zeile_s[maxstapel], spalte_s[maxstapel];
  std::vector<char> benutzt_h;
  std::vector<int> zeile_h, spalte_h;
  char* benutzt = benutzt_s;
  int *zeile = zeile_s, *spalte = spalte_s;
  if (n > maxstapel) {
    benutzt_h.resize(n);
    zeile_h.resize(n);
    spalte_h.resize(n);
    benutzt = benutzt_h.data();
    zeile = zeile_h.data();
    spalte = spalte_h.data();
  }
  std::fill(benutzt, benutzt + n, 0);
  double produkt = 1;
  for (int s = 0; s < n; ++s) {
    double groesst = 0;
    int r = -1, c = -1;
    for (int i = 0; i < n; ++i) {
      if (benutzt[i]) continue;
      const double* ai = a[i];
      for (int j = 0; j < n; ++j)
        if (!benutzt[j] && std::fabs(ai[j]) > groesst) {
          groesst = std::fabs(ai[j]);
          r = i;
          c = j;
        }
    }
    if (!(groesst > schranke)) return false;
    // Bring the pivot onto the diagonal by a row interchange.
    if (r != c) {
      std::swap_ranges(a[r], a[r] + n, a[c]);
      if (m > 0) std::swap_ranges(b[r], b[r] + m, b[c]);
      produkt = -produkt;
    }
    zeile[s] = r;
    spalte[s] = c;
    benutzt[c] = 1;
    double* ac = a[c];
    double* bc = m > 0 ? b[c] : nullptr;
    produkt *= ac[c];
    const double kehr = 1.0 / ac[c];
    ac[c] = 1.0;
    for (int j = 0; j < n; ++j)
      ac[j] *= kehr;
    for (int j = 0; j < m; ++j)
      bc[j] *= kehr;
    for (int i = 0; i < n; ++i) {
      if (i == c) continue;
      double* ai = a[i];
      const double f = ai[c];
      if (f == 0.0) continue;
      ai[c] = 0.0;
      for (int j = 0; j < n; ++j)
        ai[j] -= f * ac[j];
      if (m > 0) {
        double* bi = b[i];
        for (int j = 0; j < m; ++j)
          bi[j] -= f * bc[j];
      }
    }
  }
  // The row interchanges of A show up as column interchanges of A^-1.
  for (int s = n - 1; s >= 0; --s) {
    if (zeile[s] == spalte[s]) continue;
    for (int i = 0; i < n; ++i)
      std::swap(a[i][zeile[s]], a[i][spalte[s]]);
  }
  if (!endlich(a, n, n) || (m > 0 && !endlich(b, n, m))) return false;
  if (det) *det = produkt;
  return true;
}

// ---------------------------------------------------------------------- LU

// Crout: column j of U and L from the finished columns, computed on a
// contiguous copy of the column so that both factors are read along rows.
bool lu_zerlegen(int n, double** a, int* indx, int& d) {
  d = 1;
  if (n < 0) return false;
  if (n == 0) return true;
  if (!a || !indx) return false;
  std::vector<double> skal(n), sp(n);
  for (int i = 0; i < n; ++i) {
    double groesst = 0;
    for (int j = 0; j < n; ++j)
      groesst = std::max(groesst, std::fabs(a[i][j]));
    if (!(groesst > schranke) || !std::isfinite(groesst)) return false;
    skal[i] = 1.0 / groesst;
  }
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < n; ++i)
      sp[i] = a[i][j];
    for (int i = 1; i < n; ++i) {
      const double* ai = a[i];
      const int kmax = std::min(i, j);
      double summe = sp[i];
      for (int k = 0; k < kmax; ++k)
        summe -= ai[k] * sp[k];
      sp[i] = summe;
    }
    int p = j;
    double best = -1;
    for (int i = j; i < n; ++i) {
      const double x = skal[i] * std::fabs(sp[i]);
      if (x > best) {
        best = x;
        p = i;
      }
    }
    if (p != j) {
      std::swap_ranges(a[p], a[p] + n, a[j]);
      std::swap(sp[p], sp[j]);
      std::swap(skal[p], skal[j]);
      d = -d;
    }
    indx[j] = p;
    if (!(std::fabs(sp[j]) > schranke)) return false;
    const double kehr = 1.0 / sp[j];
    for (int i = j + 1; i < n; ++i)
      sp[i] *= kehr;
    for (int i = 0; i < n; ++i)
      a[i][j] = sp[i];
  }
  return true;
}

bool lu_loesen(int n, double** a, const int* indx, double* b) {
  if (n < 0) return false;
  if (n == 0) return true;
  if (!a || !indx || !b) return false;
  for (int i = 0; i < n; ++i)
    if (indx[i] < 0 || indx[i] >= n) return false;
  for (int i = 0; i < n; ++i)
    if (indx[i] != i) std::swap(b[i], b[indx[i]]);
  // L y = P b, starting at the first non-zero entry of P b.
  int erst = -1;
  for (int i = 0; i < n; ++i) {
    double summe = b[i];
    if (erst >= 0) {
      const double* ai = a[i];
      for (int k = erst; k < i; ++k)
        summe -= ai[k] * b[k];
    } else if (summe != 0.0) {
      erst = i;
    }
    b[i] = summe;
  }
  if (erst < 0) return true;
  for (int i = n - 1; i >= 0; --i) {
    const double* ai = a[i];
    double summe = b[i];
    for (int k = i + 1; k < n; ++k)
      summe -= ai[k] * b[k];
    b[i] = summe / ai[i];
  }
  return true;
}

double lu_det(int n, double** a, int d) {
  double det = d;
  for (int i = 0; i < n; ++i)
    det *= a[i][i];
  return det;
}

// --------------------------------------------------------------------- SVD

struct Drehung {
  double c, s, r;
};
// The plane rotation mapping (x, y) to (r, 0), r >= 0; the identity for (0, 0).
Drehung drehung(double x, double y) {
  const double ax = std::fabs(x), ay = std::fabs(y);
  double r;
  if (ax > ay) {
    const double q = ay / ax;
    r = ax * std::sqrt(1.0 + q * q);
  } else if (ay > 0) {
    const double q = ax / ay;
    r = ay * std::sqrt(1.0 + q * q);
  } else {
    return {1.0, 0.0, 0.0};
  }
  return {x / r, y / r, r};
}
// Columns i and j of rows 0..z-1: (p, q) -> (c p + s q, c q - s p).
void spalten_drehen(double** a, int z, int i, int j, double c, double s) {
  for (int p = 0; p < z; ++p) {
    double* ap = a[p];
    const double x = ap[i], y = ap[j];
    ap[i] = c * x + s * y;
    ap[j] = c * y - s * x;
  }
}

void nicht_konvergiert() {
  *konsaus << "FEHLER in svdcmp(): Keine Konvergenz in 30 Iterationsschritten.\n";
}

// SVD for m >= n >= 1. Householder bidiagonalisation B = U^T A V, backward
// accumulation of U (in place) and V, then implicit-shift QR sweeps on B.
// vorzeichen receives det U * det V for m == n (reflections count -1).
bool svd_kern(int m, int n, double** u, double* w, double** v, int& vorzeichen) {
  vorzeichen = 1;
  double amax = 0;
  for (int i = 0; i < m; ++i)
    for (int j = 0; j < n; ++j) {
      const double x = std::fabs(u[i][j]);
      if (!(x <= DBL_MAX)) {
        nicht_konvergiert();
        return false;
      }
      amax = std::max(amax, x);
    }
  // Keep squares in range by an exact power-of-two scaling.
  int exponent = 0;
  if (amax > 0) std::frexp(amax, &exponent);
  const bool skaliert = exponent > 500 || exponent < -500;
  if (skaliert)
    for (int i = 0; i < m; ++i)
      for (int j = 0; j < n; ++j)
        u[i][j] = std::ldexp(u[i][j], -exponent);

  std::vector<double> f(n, 0.0), hl(n, 0.0), hr(n, 0.0), s(n, 0.0);
  // Bidiagonalisation: w the diagonal, f[k] the entry (k, k+1). A reflection
  // I - v v^T / h keeps its vector in the column (left) or row (right).
  for (int k = 0; k < n; ++k) {
    w[k] = u[k][k];
    if (k + 1 < m) {
      double sigma2 = 0;
      for (int i = k; i < m; ++i)
        sigma2 += u[i][k] * u[i][k];
      const double x0 = u[k][k];
      const double alpha = -vorz(std::sqrt(sigma2), x0);
      const double h = sigma2 - alpha * x0;
      if (h > DBL_MIN) {
        u[k][k] = x0 - alpha;
        hl[k] = h;
        w[k] = alpha;
        vorzeichen = -vorzeichen;
        if (k + 1 < n) {
          std::fill(s.begin() + k + 1, s.end(), 0.0);
          for (int i = k; i < m; ++i) {
            const double vi = u[i][k];
            if (vi == 0.0) continue;
            const double* ui = u[i];
            for (int j = k + 1; j < n; ++j)
              s[j] += vi * ui[j];
          }
          for (int j = k + 1; j < n; ++j)
            s[j] /= h;
          for (int i = k; i < m; ++i) {
            const double vi = u[i][k];
            if (vi == 0.0) continue;
            double* ui = u[i];
            for (int j = k + 1; j < n; ++j)
              ui[j] -= vi * s[j];
          }
        }
      }
    }
    if (k + 1 < n) f[k] = u[k][k + 1];
    if (k + 2 < n) {
      double* zk = u[k];
      double sigma2 = 0;
      for (int j = k + 1; j < n; ++j)
        sigma2 += zk[j] * zk[j];
      const double x0 = zk[k + 1];
      const double alpha = -vorz(std::sqrt(sigma2), x0);
      const double h = sigma2 - alpha * x0;
      if (h > DBL_MIN) {
        zk[k + 1] = x0 - alpha;
        hr[k] = h;
        f[k] = alpha;
        vorzeichen = -vorzeichen;
        for (int i = k + 1; i < m; ++i) {
          double* ui = u[i];
          double t = 0;
          for (int j = k + 1; j < n; ++j)
            t += ui[j] * zk[j];
          t /= h;
          if (t == 0.0) continue;
          for (int j = k + 1; j < n; ++j)
            ui[j] -= t * zk[j];
        }
      }
    }
  }

  // V = H_0 H_1 ... of the right reflections, built from the last one.
  for (int i = 0; i < n; ++i) {
    std::fill(v[i], v[i] + n, 0.0);
    v[i][i] = 1.0;
  }
  for (int k = n - 3; k >= 0; --k) {
    if (hr[k] == 0.0) continue;
    const double* zk = u[k];
    std::fill(s.begin() + k + 1, s.end(), 0.0);
    for (int i = k + 1; i < n; ++i) {
      const double vi = zk[i];
      if (vi == 0.0) continue;
      const double* wi = v[i];
      for (int j = k + 1; j < n; ++j)
        s[j] += vi * wi[j];
    }
    for (int j = k + 1; j < n; ++j)
      s[j] /= hr[k];
    for (int i = k + 1; i < n; ++i) {
      const double vi = zk[i];
      if (vi == 0.0) continue;
      double* wi = v[i];
      for (int j = k + 1; j < n; ++j)
        wi[j] -= vi * s[j];
    }
  }

  // U = H_0 H_1 ... of the left reflections applied to the first n columns
  // of the identity, in place: step k fills column k and updates the columns
  // right of it; row k there is zero in the partial product.
  for (int k = n - 1; k >= 0; --k) {
    std::fill(u[k] + k + 1, u[k] + n, 0.0);
    for (int i = 0; i < k; ++i)
      u[i][k] = 0.0;
    if (hl[k] == 0.0) {
      for (int i = k; i < m; ++i)
        u[i][k] = 0.0;
      u[k][k] = 1.0;
      continue;
    }
    const double h = hl[k];
    std::fill(s.begin() + k + 1, s.end(), 0.0);
    for (int i = k + 1; i < m; ++i) {
      const double vi = u[i][k];
      if (vi == 0.0) continue;
      const double* ui = u[i];
      for (int j = k + 1; j < n; ++j)
        s[j] += vi * ui[j];
    }
    for (int j = k + 1; j < n; ++j)
      s[j] /= h;
    for (int i = k; i < m; ++i) {
      const double vi = u[i][k];
      if (vi == 0.0) continue;
      double* ui = u[i];
      for (int j = k + 1; j < n; ++j)
        ui[j] -= vi * s[j];
    }
    const double faktor = -u[k][k] / h;
    for (int i = k; i < m; ++i)
      u[i][k] *= faktor;
    u[k][k] += 1.0;
  }

  // Diagonalisation of B by Golub-Kahan steps with Wilkinson shift.
  double anorm = 0;
  for (int i = 0; i < n; ++i)
    anorm = std::max(anorm, std::fabs(w[i]) + std::fabs(f[i]));
  const double tol = schranke * anorm;
  for (int k = n - 1; k >= 0; --k) {
    for (int sweep = 0;; ++sweep) {
      // Split off the block l..k: f[l-1] negligible, or w[l-1] negligible
      // and f[l-1] then chased out along row l-1 by left rotations.
      int l = k;
      bool tilgen = false;
      for (; l > 0; --l) {
        if (std::fabs(f[l - 1]) <= tol) break;
        if (std::fabs(w[l - 1]) <= tol) {
          tilgen = true;
          break;
        }
      }
      if (tilgen) {
        double g = f[l - 1];
        f[l - 1] = 0.0;
        for (int i = l; i <= k && std::fabs(g) > tol; ++i) {
          const Drehung r = drehung(w[i], g);
          w[i] = r.r;
          if (i < k) {
            g = -r.s * f[i];
            f[i] *= r.c;
          }
          spalten_drehen(u, m, i, l - 1, r.c, r.s);
        }
      }
      if (l == k) {
        if (w[k] < 0) {
          w[k] = -w[k];
          for (int p = 0; p < n; ++p)
            v[p][k] = -v[p][k];
          vorzeichen = -vorzeichen;
        }
        break;
      }
      if (sweep >= maxsweeps) {
        nicht_konvergiert();
        return false;
      }

      // Shift: the eigenvalue of the trailing 2 x 2 of B^T B nearer its last entry.
      const double fk2 = k - 1 > l ? f[k - 2] : 0.0;
      const double t11 = w[k - 1] * w[k - 1] + fk2 * fk2;
      const double t12 = w[k - 1] * f[k - 1];
      const double t22 = w[k] * w[k] + f[k - 1] * f[k - 1];
      const double delta = 0.5 * (t11 - t22);
      const double nenner = delta + vorz(std::sqrt(delta * delta + t12 * t12), delta);
      const double mu = nenner != 0.0 ? t22 - t12 * t12 / nenner : t22;
      double y = w[l] * w[l] - mu;
      double z = w[l] * f[l];
      for (int i = l; i < k; ++i) {
        // Right rotation of columns i, i+1 (V), creating a bulge at (i+1, i).
        const Drehung r = drehung(y, z);
        if (i > l) f[i - 1] = r.r;
        const double di = w[i], fi = f[i];
        w[i] = r.c * di + r.s * fi;
        f[i] = r.c * fi - r.s * di;
        const double beule = r.s * w[i + 1];
        w[i + 1] *= r.c;
        spalten_drehen(v, n, i, i + 1, r.c, r.s);
        // Left rotation of rows i, i+1 (U), moving the bulge to (i, i+2).
        const Drehung q = drehung(w[i], beule);
        w[i] = q.r;
        const double fi2 = f[i], di1 = w[i + 1];
        f[i] = q.c * fi2 + q.s * di1;
        w[i + 1] = q.c * di1 - q.s * fi2;
        if (i + 1 < k) {
          z = q.s * f[i + 1];
          f[i + 1] *= q.c;
        }
        y = f[i];
        spalten_drehen(u, m, i, i + 1, q.c, q.s);
      }
    }
  }
  if (skaliert)
    for (int i = 0; i < n; ++i)
      w[i] = std::ldexp(w[i], exponent);
  return true;
}

// Any shape; a matrix with fewer rows than columns is decomposed with zero
// rows appended, of which U keeps the first m rows.
bool svd_zerlegen(int m, int n, double** a, double* w, double** v, int& vorzeichen) {
  vorzeichen = 1;
  if (m < 0 || n < 0) return false;
  if (n == 0) return true;
  if ((m > 0 && !a) || !w || !v) return false;
  if (m >= n) return svd_kern(m, n, a, w, v, vorzeichen);
  TVM::MatR p(n, n);
  for (int i = 0; i < m; ++i)
    std::copy(a[i], a[i] + n, p.zeilen_ptr[i]);
  if (!svd_kern(n, n, p.zeilen_ptr, w, v, vorzeichen)) return false;
  for (int i = 0; i < m; ++i)
    std::copy(p.zeilen_ptr[i], p.zeilen_ptr[i] + n, a[i]);
  return true;
}

double svd_det(int m, int n, const double* w, int vorzeichen) {
  if (m != n) return 0.0;
  double det = vorzeichen;
  for (int i = 0; i < n; ++i)
    det *= w[i];
  return det;
}

// ----------------------------------------------------------------- profile

// Upper profile of a packed by columns; spalten[j] .. spalten[j+1] - 1 hold
// column j from its profile start down to the diagonal.
struct Profil {
  std::vector<double> werte;
  std::vector<double*> spalten;
};

void profil_packen(int n, double** a, Profil& p) {
  std::vector<int> start(n);
  std::size_t summe = 0;
  for (int j = 0; j < n; ++j) {
    int i = 0;
    while (i < j && a[i][j] == 0.0)
      ++i;
    start[j] = i;
    summe += static_cast<std::size_t>(j - i + 1);
  }
  p.werte.resize(summe);
  p.spalten.resize(static_cast<std::size_t>(n) + 1);
  double* z = p.werte.data();
  for (int j = 0; j < n; ++j) {
    p.spalten[j] = z;
    for (int i = start[j]; i <= j; ++i)
      *z++ = a[i][j];
  }
  p.spalten[n] = z;
}

inline int hoehe(double* const* x, int j) {
  return static_cast<int>(x[j + 1] - x[j]);
}

// In-place U^T U factorisation; u_ij = (a_ij - sum_k u_ki u_kj) / u_ii over the
// common profile, u_jj = sqrt of the reduced diagonal.
bool profil_zerlegen(int n, double* const* x) {
  for (int j = 0; j < n; ++j) {
    double* cj = x[j];
    const int sj = j - hoehe(x, j) + 1;
    for (int i = sj; i < j; ++i) {
      const double* ci = x[i];
      const int si = i - hoehe(x, i) + 1;
      double summe = cj[i - sj];
      for (int k = std::max(si, sj); k < i; ++k)
        summe -= ci[k - si] * cj[k - sj];
      cj[i - sj] = summe / ci[i - si];
    }
    double r = cj[j - sj];
    for (int k = sj; k < j; ++k)
      r -= cj[k - sj] * cj[k - sj];
    // Also refuses a negative reduced diagonal (matrix not positive definite).
    if (!(r > schranke)) return false;
    cj[j - sj] = std::sqrt(r);
  }
  return true;
}

// b := A^-1 b on the factor; b[0..erster-1] must be 0.
void profil_loesen(int n, double* const* x, double* b, int erster) {
  for (int j = erster; j < n; ++j) {
    const double* cj = x[j];
    const int sj = j - hoehe(x, j) + 1;
    double summe = b[j];
    for (int k = std::max(sj, erster); k < j; ++k)
      summe -= cj[k - sj] * b[k];
    b[j] = summe / cj[j - sj];
  }
  for (int j = n - 1; j >= 0; --j) {
    const double* cj = x[j];
    const int sj = j - hoehe(x, j) + 1;
    const double xj = b[j] / cj[j - sj];
    b[j] = xj;
    if (xj == 0.0) continue;
    for (int k = sj; k < j; ++k)
      b[k] -= cj[k - sj] * xj;
  }
}

bool profil_invertieren(int n, double** a, double* det) {
  if (n < 0) return false;
  if (n == 0) {
    if (det) *det = 1;
    return true;
  }
  if (!a) return false;
  Profil p;
  profil_packen(n, a, p);
  double* const* x = p.spalten.data();
  if (!profil_zerlegen(n, x)) return false;
  std::vector<double> y(n);
  double produkt = 1;
  for (int j = 0; j < n; ++j) {
    const double ujj = x[j][hoehe(x, j) - 1];
    produkt *= ujj * ujj;
  }
  // A^-1 is symmetric: column j of it becomes row j of a.
  for (int j = 0; j < n; ++j) {
    std::fill(y.begin(), y.end(), 0.0);
    y[j] = 1.0;
    profil_loesen(n, x, y.data(), j);
    if (!endlich(y.data(), n)) return false;
    std::copy(y.begin(), y.end(), a[j]);
  }
  if (det) *det = produkt;
  return true;
}

bool lu_invertieren(int n, double** a, double& det) {
  det = 0;
  if (n < 0) return false;
  if (n == 0) {
    det = 1;
    return true;
  }
  if (!a) return false;
  TVM::MatR f(n, n);
  for (int i = 0; i < n; ++i)
    std::copy(a[i], a[i] + n, f.zeilen_ptr[i]);
  std::vector<int> indx(n);
  int d;
  if (!lu_zerlegen(n, f.zeilen_ptr, indx.data(), d)) return false;
  TVM::MatR ergebnis(n, n);
  std::vector<double> e(n);
  for (int j = 0; j < n; ++j) {
    std::fill(e.begin(), e.end(), 0.0);
    e[j] = 1.0;
    lu_loesen(n, f.zeilen_ptr, indx.data(), e.data());
    if (!endlich(e.data(), n)) return false;
    for (int i = 0; i < n; ++i)
      ergebnis[i][j] = e[i];
  }
  for (int i = 0; i < n; ++i)
    std::copy(ergebnis.zeilen_ptr[i], ergebnis.zeilen_ptr[i] + n, a[i]);
  det = lu_det(n, f.zeilen_ptr, d);
  return true;
}

} // namespace

const char* str_LOESER(LOESER l) {
  return l >= 1 && l <= 5 ? loesernamen[l] : "unbekannt";
}

LOESER _LOESER(const char* name) {
  if (!name) return LOESER_UNBEKANNT;
  for (int i = 1; i <= 5; ++i)
    if (strcmp1(name, loesernamen[i]) == 0) return static_cast<LOESER>(i);
  return LOESER_UNBEKANNT;
}

double vorz(double a, double b) {
  return b >= 0.0 ? std::fabs(a) : -std::fabs(a);
}

bool gauss(int n, double** a, double* b) {
  if (n > 0 && !b) return false;
  std::vector<double*> z = als_spalte(std::max(n, 0), b);
  return gauss_jordan(n, a, 1, z.data(), nullptr);
}

bool gauss_inverse(int n, double** a) {
  return gauss_jordan(n, a, 0, nullptr, nullptr);
}

int NR_svregw(int n, double* w) {
  if (n <= 0 || !w) return 0;
  double wmax = 0;
  for (int i = 0; i < n; ++i)
    wmax = std::max(wmax, w[i]);
  const double grenze = schranke * wmax;
  int anzahl = 0;
  for (int i = 0; i < n; ++i)
    if (w[i] <= grenze) {
      w[i] = 0.0;
      ++anzahl;
    }
  return anzahl;
}

bool svd_inverse(int m, int n, double** a, double** ainv, double& det) {
  det = 0;
  if (m < 0 || n < 0) return false;
  if (m > 0 && n > 0 && !ainv) return false;
  std::vector<double> w(std::max(n, 1));
  TVM::MatR v(n, n);
  int vz;
  if (!svd_zerlegen(m, n, a, w.data(), v.zeilen_ptr, vz)) return false;
  NR_svregw(n, w.data());
  det = svd_det(m, n, w.data(), vz);
  if (m == 0) return true;
  // t = diag(w)^+ U^T (n x m), then ainv = V t.
  TVM::MatR t(n, m);
  for (int i = 0; i < m; ++i) {
    const double* ai = a[i];
    for (int j = 0; j < n; ++j)
      t[j][i] = w[j] != 0.0 ? ai[j] / w[j] : 0.0;
  }
  for (int i = 0; i < n; ++i) {
    double* zi = ainv[i];
    std::fill(zi, zi + m, 0.0);
    const double* vi = v[i];
    for (int k = 0; k < n; ++k) {
      if (vi[k] == 0.0 || w[k] == 0.0) continue;
      const double* tk = t[k];
      for (int j = 0; j < m; ++j)
        zi[j] += vi[k] * tk[j];
    }
  }
  return true;
}

int zuverlaessige_stellen(double kappa) {
  if (!(kappa > 0) || !std::isfinite(kappa)) return 0;
  return 15 - static_cast<int>(std::lround(std::log10(kappa) + 0.5));
}

// The iteration moves between unit vectors e_j, each chosen where A^-T
// sign(A^-1 x) is largest, until the estimate stops growing; a last test
// vector of alternating signs catches matrices that fool the iteration.
double inverse_norm1(int n, const std::function<bool(double*)>& loese,
                     const std::function<bool(double*)>& loese_transp) {
  if (n <= 0) return 0.0;
  auto summe = [n](const std::vector<double>& v) {
    double s = 0;
    for (int i = 0; i < n; ++i)
      s += std::fabs(v[i]);
    return s;
  };
  auto groesster = [n](const std::vector<double>& v) {
    int j = 0;
    for (int i = 1; i < n; ++i)
      if (std::fabs(v[i]) > std::fabs(v[j])) j = i;
    return j;
  };
  std::vector<double> x(n, 1.0 / n), vorz(n), z(n);
  if (!loese(x.data())) return -1;
  double schaetzung = summe(x);
  if (n == 1) return schaetzung;
  for (int i = 0; i < n; ++i)
    vorz[i] = x[i] >= 0 ? 1.0 : -1.0;
  z = vorz;
  if (!loese_transp(z.data())) return -1;
  int j = groesster(z);
  for (int schritt = 2; schritt <= 5; ++schritt) {
    std::fill(x.begin(), x.end(), 0.0);
    x[j] = 1.0;
    if (!loese(x.data())) return -1;
    const double vorher = schaetzung;
    schaetzung = std::max(vorher, summe(x));
    bool gleich = true;
    for (int i = 0; i < n && gleich; ++i)
      gleich = (x[i] >= 0 ? 1.0 : -1.0) == vorz[i];
    if (gleich || schaetzung <= vorher) break;
    for (int i = 0; i < n; ++i)
      vorz[i] = x[i] >= 0 ? 1.0 : -1.0;
    z = vorz;
    if (!loese_transp(z.data())) return -1;
    const int jvorher = j;
    j = groesster(z);
    if (std::fabs(z[jvorher]) == std::fabs(z[j])) break;
  }
  for (int i = 0; i < n; ++i)
    x[i] = (i % 2 ? -1.0 : 1.0) * (1.0 + static_cast<double>(i) / (n - 1));
  if (!loese(x.data())) return -1;
  return std::max(schaetzung, 2.0 * summe(x) / (3.0 * n));
}

// ------------------------------------------------------------ sparse solver

// CHOLMOD and KLU take matrices by columns. The rows of A read as columns are
// A^T: its lower triangle is the upper triangle of A, and KLU factorises A^T,
// so that A x = b is KLU's transposed solve.
struct TDuennloeser::Bibliothek {
  cholmod_common c;
  cholmod_factor* L = nullptr;
  // Solution and workspace of the solves, kept from one to the next.
  cholmod_dense *X = nullptr, *Y = nullptr, *E = nullptr;
  klu_common k;
  klu_symbolic* symbolisch = nullptr;
  klu_numeric* numerisch = nullptr;

  Bibliothek() {
    cholmod_start(&c);
    c.print = 0;
    c.supernodal = CHOLMOD_SIMPLICIAL;
    c.final_ll = 0;
    c.nmethods = 1;
    c.method[0].ordering = CHOLMOD_AMD;
    klu_defaults(&k);
  }
  ~Bibliothek() {
    freigeben();
    cholmod_finish(&c);
  }
  Bibliothek(const Bibliothek&) = delete;
  Bibliothek& operator=(const Bibliothek&) = delete;
  void freigeben() {
    if (L) cholmod_free_factor(&L, &c);
    for (cholmod_dense** d : {&X, &Y, &E})
      if (*d) cholmod_free_dense(d, &c);
    if (numerisch) klu_free_numeric(&numerisch, &k);
    if (symbolisch) klu_free_symbolic(&symbolisch, &k);
  }
  cholmod_sparse obere_dreieck(int n, std::vector<int>& za, std::vector<int>& sp, std::vector<double>& w) {
    cholmod_sparse A{};
    A.nrow = A.ncol = static_cast<size_t>(n);
    A.nzmax = sp.size();
    A.p = za.data();
    A.i = sp.data();
    A.x = w.data();
    A.stype = -1;
    A.itype = CHOLMOD_INT;
    A.xtype = CHOLMOD_REAL;
    A.dtype = CHOLMOD_DOUBLE;
    A.sorted = 1;
    A.packed = 1;
    return A;
  }
};

TDuennloeser::TDuennloeser() : bib_(std::make_unique<Bibliothek>()) {}
TDuennloeser::~TDuennloeser() = default;

void TDuennloeser::freigeben() {
  bib_->freigeben();
  verfahren_ = LOESER_UNBEKANNT;
  zeilenanfang_.clear();
  spalten_.clear();
  werte_.clear();
  bzerlegt_ = false;
  kondition_ = 0.0;
}

bool TDuennloeser::zerlegen(LOESER l, int n, const int* zeilenanfang, const int* spalten, const double* werte,
                            bool neue_pivots) {
  const bool bekannt = l == LOESER_PROFIL || l == LOESER_LU || l == LOESER_GAUSS || l == LOESER_AUTOMATISCH;
  if (!bekannt || n <= 0 || !zeilenanfang || !spalten || !werte || zeilenanfang[0] != 0) {
    bzerlegt_ = false;
    return false;
  }
  const LOESER art = l == LOESER_PROFIL ? LOESER_PROFIL : LOESER_LU;
  const int nnz = zeilenanfang[n];
  const bool gleich = art == verfahren_ && static_cast<int>(zeilenanfang_.size()) == n + 1 &&
                      std::equal(zeilenanfang, zeilenanfang + n + 1, zeilenanfang_.begin()) &&
                      std::equal(spalten, spalten + nnz, spalten_.begin());
  if (!gleich) {
    freigeben();
    for (int i = 0; i < n; ++i) {
      if (zeilenanfang[i + 1] < zeilenanfang[i]) return false;
      for (int k = zeilenanfang[i]; k < zeilenanfang[i + 1]; ++k)
        if (spalten[k] < 0 || spalten[k] >= n || (k > zeilenanfang[i] && spalten[k] <= spalten[k - 1]))
          return false;
    }
    zeilenanfang_.assign(zeilenanfang, zeilenanfang + n + 1);
    spalten_.assign(spalten, spalten + nnz);
    verfahren_ = art;
    if (!analysieren()) {
      freigeben();
      return false;
    }
  } else if (bzerlegt_ && std::equal(werte, werte + nnz, werte_.begin())) {
    return true;
  }
  werte_.assign(werte, werte + nnz);
  bzerlegt_ = numerisch(neue_pivots);
  return bzerlegt_;
}

bool TDuennloeser::analysieren() {
  ++Nanalysen_;
  const int n = static_cast<int>(zeilenanfang_.size()) - 1;
  werte_.assign(spalten_.size(), 0.0);
  if (verfahren_ == LOESER_PROFIL) {
    cholmod_sparse A = bib_->obere_dreieck(n, zeilenanfang_, spalten_, werte_);
    bib_->L = cholmod_analyze(&A, &bib_->c);
    return bib_->L && bib_->c.status == CHOLMOD_OK;
  }
  bib_->symbolisch = klu_analyze(n, zeilenanfang_.data(), spalten_.data(), &bib_->k);
  return bib_->symbolisch && bib_->k.status == KLU_OK;
}

bool TDuennloeser::numerisch(bool neue_pivots) {
  ++Nzerlegungen_;
  const int n = static_cast<int>(zeilenanfang_.size()) - 1;
  Bibliothek& b = *bib_;
  std::function<bool(double*)> loese = [this](double* x) { return loesen(x); };
  std::function<bool(double*)> loese_transp = loese;
  if (verfahren_ == LOESER_PROFIL) {
    cholmod_sparse A = b.obere_dreieck(n, zeilenanfang_, spalten_, werte_);
    if (!cholmod_factorize(&A, b.L, &b.c) || b.c.status != CHOLMOD_OK || b.L->minor < b.L->n) return false;
    // D leads every column of the simplicial LDL^T factor.
    const double* x = static_cast<const double*>(b.L->x);
    const int* p = static_cast<const int*>(b.L->p);
    for (int j = 0; j < n; ++j)
      if (!(x[p[j]] > 0) || !std::isfinite(x[p[j]])) return false;
  } else {
    bool ok = false;
    if (b.numerisch && !neue_pivots)
      ok = klu_refactor(zeilenanfang_.data(), spalten_.data(), werte_.data(), b.symbolisch, b.numerisch,
                        &b.k) &&
           b.k.status == KLU_OK;
    if (!ok) {
      if (b.numerisch) klu_free_numeric(&b.numerisch, &b.k);
      b.numerisch = klu_factor(zeilenanfang_.data(), spalten_.data(), werte_.data(), b.symbolisch, &b.k);
      ok = b.numerisch && b.k.status == KLU_OK;
    }
    if (!ok) return false;
    loese_transp = [this](double* x) { return loesen_transp(x); };
  }
  // loesen() needs the flag while the condition is estimated.
  bzerlegt_ = true;
  const double inv = inverse_norm1(n, loese, loese_transp);
  kondition_ = norm1() * inv;
  return inv >= 0 && std::isfinite(kondition_);
}

double TDuennloeser::norm1() const {
  const int n = static_cast<int>(zeilenanfang_.size()) - 1;
  std::vector<double> spaltensumme(n, 0.0);
  for (int i = 0; i < n; ++i)
    for (int k = zeilenanfang_[i]; k < zeilenanfang_[i + 1]; ++k) {
      const int j = spalten_[k];
      const double a = std::fabs(werte_[k]);
      if (verfahren_ != LOESER_PROFIL) {
        spaltensumme[j] += a;
      } else if (j >= i) {
        spaltensumme[j] += a;
        if (j > i) spaltensumme[i] += a;
      }
    }
  return n > 0 ? *std::max_element(spaltensumme.begin(), spaltensumme.end()) : 0.0;
}

bool TDuennloeser::loesen(double* x) {
  if (!bzerlegt_ || !x) return false;
  const int n = static_cast<int>(zeilenanfang_.size()) - 1;
  Bibliothek& b = *bib_;
  if (verfahren_ == LOESER_PROFIL) {
    cholmod_dense B{};
    B.nrow = B.nzmax = B.d = static_cast<size_t>(n);
    B.ncol = 1;
    B.x = x;
    B.xtype = CHOLMOD_REAL;
    B.dtype = CHOLMOD_DOUBLE;
    if (!cholmod_solve2(CHOLMOD_A, b.L, &B, nullptr, &b.X, nullptr, &b.Y, &b.E, &b.c) || !b.X) return false;
    std::copy_n(static_cast<const double*>(b.X->x), n, x);
  } else if (!klu_tsolve(b.symbolisch, b.numerisch, n, 1, x, &b.k)) {
    return false;
  }
  return endlich(x, n);
}

bool TDuennloeser::loesen_transp(double* x) {
  const int n = static_cast<int>(zeilenanfang_.size()) - 1;
  return bzerlegt_ && klu_solve(bib_->symbolisch, bib_->numerisch, n, 1, x, &bib_->k) && endlich(x, n);
}

} // namespace MATHE

namespace TVM {

namespace {
double frobenius(const MatR& a) {
  double groesst = 0;
  for (long k = 0; k < a.anzahl(); ++k)
    groesst = std::max(groesst, std::fabs(a.data[k]));
  if (!(groesst > 0) || !std::isfinite(groesst)) return groesst;
  double summe = 0;
  for (long k = 0; k < a.anzahl(); ++k) {
    const double q = a.data[k] / groesst;
    summe += q * q;
  }
  return groesst * std::sqrt(summe);
}
} // namespace

int loeser_inverse(MatR& A, double& det, MATHE::LOESER loeser) {
  det = 0;
  const bool quadratisch = A.zeilen == A.spalten;
  const int n = A.zeilen;
  switch (loeser) {
  case MATHE::LOESER_GAUSS:
    return quadratisch && MATHE::gauss_jordan(n, A.zeilen_ptr, 0, nullptr, &det) ? 1 : 0;
  case MATHE::LOESER_LU:
    return quadratisch && MATHE::lu_invertieren(n, A.zeilen_ptr, det) ? 1 : 0;
  case MATHE::LOESER_PROFIL:
    return quadratisch && MATHE::profil_invertieren(n, A.zeilen_ptr, &det) ? 1 : 0;
  case MATHE::LOESER_AUTOMATISCH:
    // A failed LU leaves A unchanged, so the SVD sees the original matrix.
    if (quadratisch && MATHE::lu_invertieren(n, A.zeilen_ptr, det)) return 1;
    break;
  case MATHE::LOESER_SVD:
    break;
  default:
    return 0;
  }
  MatR t(A.spalten, A.zeilen);
  if (!MATHE::svd_inverse(A.zeilen, A.spalten, A.zeilen_ptr, t.zeilen_ptr, det)) return 0;
  A = t;
  return 1;
}

bool Konditionskontrolle(const MatR& A, const MatR& Ainv, int& stellen, unsigned int mindest) {
  const double kappa = frobenius(A) * frobenius(Ainv);
  stellen = MATHE::zuverlaessige_stellen(kappa);
  if (!(kappa > 0) || !std::isfinite(kappa)) return false;
  return stellen >= 0 && static_cast<unsigned int>(stellen) >= mindest;
}

} // namespace TVM
