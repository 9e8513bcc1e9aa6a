#include "approx/wolken.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ostream>
#include <sstream>
#include <string>

#include "frame/meldung.h"
#include "frame/mix.h"
#include "frame/mpmextern.h"
#include "input/mpmdimensionen.h"
#include "model/mpmobjpunkt.h"
#include "numerics/kontimech.h"

namespace WOLKE {

using TVM::MatR;
using TVM::VekR;

namespace {

constexpr double pi = 3.141592653589793;
constexpr double grad_zu_rad = 0.017453292519943295;
constexpr double eps = 2.220446049250313e-16;
// The Gaussian exp(-s^2) is cut at s = 2.5; its integral over the unit
// disc, times 6.25 / pi, is 1 - exp(-6.25).
constexpr double s_rand2 = 6.25;
const double gauss_masse = 1.0 - std::exp(-s_rand2);

bool endlich(double x) {
  return std::isfinite(x);
}

// Exponents (i, j) of the monomials x^i y^j of a basis; returns their count
// (0 for a degree or dimension without a basis).
using Exponenten = std::array<std::array<int, 2>, (maxNg + 1) * (maxNg + 1)>;

int exponenten(unsigned int g, bool vollst, unsigned int d, Exponenten& e) {
  if (g > maxNg || d < 1 || d > 2) return 0;
  int m = 0;
  if (d == 1) {
    for (unsigned int i = 0; i <= g; ++i)
      e[m++] = {static_cast<int>(i), 0};
  } else if (vollst) {
    for (unsigned int i = 0; i <= g; ++i)
      for (unsigned int j = 0; j <= g; ++j)
        e[m++] = {static_cast<int>(i), static_cast<int>(j)};
  } else {
    for (unsigned int k = 0; k <= g; ++k)
      for (unsigned int j = 0; j <= k; ++j)
        e[m++] = {static_cast<int>(k - j), static_cast<int>(j)};
  }
  return m;
}

// Powers 1, x, ..., x^maxNg.
void potenzen(double x, double* p) {
  p[0] = 1.0;
  for (unsigned int i = 1; i <= maxNg; ++i)
    p[i] = p[i - 1] * x;
}

} // namespace

TWolke::TWolke(const VekR& z, double v, double u, const VekR& halbachsen, const VekR& winkel)
    : TWolke(z, v, u, halbachsen.n >= 2 ? halbachsen[0] : 1.0, halbachsen.n >= 2 ? halbachsen[1] : 1.0,
             winkel.n >= 1 ? winkel[0] : 0.0) {}

TWolke::TWolke(const VekR& z, double v, double u, double a_, double b_, double phi_)
    : dim(z.n), vol0(v), ueberlappung(u), a(a_), b(b_), phi(phi_) {
  for (int i = 0; i < z.n && i < 3; ++i)
    zentrum[i] = z[i];
  switch (dim) {
  case 1:
    h0 = 0.5 * vol0 * ueberlappung;
    break;
  case 2:
    h0 = std::sqrt(vol0 / pi) * ueberlappung;
    break;
  case 3:
    h0 = std::pow(0.75 * vol0 / pi, 1.0 / 3.0) * ueberlappung;
    break;
  default:
    h0 = 0.0;
  }
  // Undeformed clouds (phi = 0) are the common case.
  cosphi_ = phi == 0.0 ? 1.0 : std::cos(phi * grad_zu_rad);
  sinphi_ = phi == 0.0 ? 0.0 : std::sin(phi * grad_zu_rad);
  const double abh = a * b * h0;
  abh2_ = abh * abh;
  normierung_ = vol0 * s_rand2 / (pi * a * b * h0 * h0 * gauss_masse);
  bgueltig_ = dim == 2 && endlich(zentrum[0]) && endlich(zentrum[1]) && h0 > 0.0 && a > 0.0 && b > 0.0 &&
              endlich(abh2_) && abh2_ > 0.0 && endlich(cosphi_) && endlich(sinphi_) && endlich(normierung_);
}

double TWolke::_h(double theta) const {
  const double alpha = (theta - phi) * grad_zu_rad;
  const double as = a * std::sin(alpha), bc = b * std::cos(alpha);
  return a * b * h0 / std::sqrt(as * as + bc * bc);
}

bool TWolke::_bdrinnen(const VekR& x) const {
  return x.n == dim && _bdrinnen(x.data);
}

// s = 2.5 r / h(theta), so s^2 = 6.25 ((xi / (a h0))^2 + (eta / (b h0))^2):
// the derivative of exp(-s^2) along the axes holds the change of h with the
// direction. Its radial part is -12.5 r / h^2 w.
void TWolke::_w_und_w_x(const double* x, double& w, double* w_x) const {
  w = 0.0;
  for (int i = 0; i < dim && i < 3; ++i)
    w_x[i] = 0.0;
  if (!_bdrinnen(x)) return;
  const double dx = x[0] - zentrum[0], dy = x[1] - zentrum[1];
  const double xi = cosphi_ * dx + sinphi_ * dy, eta = cosphi_ * dy - sinphi_ * dx;
  const double ah = a * h0, bh = b * h0;
  const double qx = xi / ah, qy = eta / bh;
  const double s2 = s_rand2 * (qx * qx + qy * qy);
  w = normierung_ * std::exp(-s2);
  if (xi * xi + eta * eta <= 100.0 * eps * eps) return; // r <= 2.220446e-15
  const double fx = -2.0 * s_rand2 * w * qx / ah, fy = -2.0 * s_rand2 * w * qy / bh;
  w_x[0] = cosphi_ * fx - sinphi_ * fy;
  w_x[1] = sinphi_ * fx + cosphi_ * fy;
}

void TWolke::_w_und_w_x(const VekR& x, double& w, VekR& w_x) const {
  w_x.init(dim, nullptr);
  w = 0.0;
  if (x.n == dim && dim == 2) _w_und_w_x(x.data, w, w_x.data);
}

void TWolke::_kastenhalbweiten(double& hx, double& hy) const {
  const double ac = a * cosphi_, bs = b * sinphi_, as = a * sinphi_, bc = b * cosphi_;
  hx = h0 * std::sqrt(ac * ac + bs * bs);
  hy = h0 * std::sqrt(as * as + bc * bc);
}

double TWolke::_radius() const {
  return std::max(a, b) * h0;
}

std::ostream& operator<<(std::ostream& os, const TWolke& w) {
  os << "x=(";
  for (int i = 0; i < w.dim && i < 3; ++i)
    os << (i ? ", " : "") << _str(w.zentrum[i], 10);
  return os << "), vol0=" << _str(w.vol0, 10) << ", ueberlappung=" << _str(w.ueberlappung, 10)
            << ", h0=" << _str(w._h0(), 10) << ", a=" << _str(w.a, 10) << ", b=" << _str(w.b, 10)
            << ", phi=" << _str(w.phi, 10);
}

// Basis

unsigned int _Nb(unsigned int g, bool vollst, unsigned int d) {
  if (vollst) {
    if (d > 3) return 0;
    unsigned int n = 1;
    for (unsigned int i = 0; i < d; ++i)
      n *= g + 1;
    return n;
  }
  // (g + d over d) by the rows of Pascal's triangle up to row g + d, each
  // kept only up to column d.
  std::array<unsigned long, 8> klein{};
  std::vector<unsigned long> gross;
  unsigned long* zeile = klein.data();
  if (d >= klein.size()) {
    gross.assign(d + 1, 0);
    zeile = gross.data();
  }
  zeile[0] = 1;
  for (unsigned int n = 1; n <= g + d; ++n)
    for (unsigned int k = std::min(n, d); k >= 1; --k)
      zeile[k] += zeile[k - 1];
  return static_cast<unsigned int>(zeile[d]);
}

unsigned int _Ng(unsigned int Np, bool vollst, unsigned int d) {
  if (Np < 1) {
    *konsaus << "FEHLER in <unsigned int _Ng(...)>: Np<1\n" << std::flush;
    return 0;
  }
  unsigned int g = 0;
  while (g < 32 && _Nb(g + 1, vollst, d) < Np)
    ++g;
  return g;
}

bool _b(unsigned int g, bool vollst, const VekR& x, VekR& b) {
  Exponenten e;
  const int m = exponenten(g, vollst, static_cast<unsigned int>(x.n), e);
  if (m == 0) return false;
  double px[maxNg + 1], py[maxNg + 1];
  potenzen(x[0], px);
  potenzen(x.n > 1 ? x[1] : 0.0, py);
  b.init(m, nullptr);
  for (int k = 0; k < m; ++k)
    b[k] = px[e[k][0]] * py[e[k][1]];
  return true;
}

bool _b_x(unsigned int g, bool vollst, const VekR& x, MatR& b_x) {
  Exponenten e;
  const int d = x.n;
  const int m = exponenten(g, vollst, static_cast<unsigned int>(d), e);
  if (m == 0) return false;
  double px[maxNg + 1], py[maxNg + 1];
  potenzen(x[0], px);
  potenzen(d > 1 ? x[1] : 0.0, py);
  b_x.init(m, d, nullptr);
  for (int k = 0; k < m; ++k) {
    const int i = e[k][0], j = e[k][1];
    b_x[k][0] = i > 0 ? i * px[i - 1] * py[j] : 0.0;
    if (d > 1) b_x[k][1] = j > 0 ? j * px[i] * py[j - 1] : 0.0;
  }
  return true;
}

// Moving least squares

// The basis is taken in the coordinates (y - x) / l, centred on the target
// and scaled by the largest cloud radius l: the polynomial spaces do not
// change, so neither do L and G, but the moment matrix no longer depends on
// the units and the size of the clouds, and its condition check means the
// same everywhere. At the target the basis is (1, 0, ...), its derivative
// along coordinate j 1 / l at the monomial of degree 1 in it, else 0.
bool _L_G(unsigned int& Ng, bool vollst, const std::vector<TWolke>& wolken, const VekR& x, VekR& L, MatR& G,
          double& wsum, MATHE::LOESER loeser) {
  TArbeit arbeit;
  for (const TWolke& w : wolken)
    arbeit.wolken.push_back(&w);
  return _L_G(Ng, vollst, arbeit.wolken, x, L, G, wsum, loeser, arbeit);
}

bool _L_G(unsigned int& Ng, bool vollst, const std::vector<const TWolke*>& wolken, const VekR& x, VekR& L,
          MatR& G, double& wsum, MATHE::LOESER loeser, TArbeit& arbeit) {
  const int Np = static_cast<int>(wolken.size());
  const int d = x.n;
  L.init(Np, nullptr);
  G.init(Np, d, nullptr);
  wsum = 0.0;
  if (d < 1 || d > 2) return false;
  constexpr int mmax = (maxNg + 1) * (maxNg + 1);

  // Per source: weight, its gradient, the scaled offset and the basis there;
  // on the stack for the usual few sources.
  constexpr int Nklein = 32;
  const std::size_t Narbeit = static_cast<std::size_t>(Np) * (1 + 2 * d + mmax);
  std::array<double, Nklein*(1 + 4 + mmax)> klein;
  std::vector<double> gross;
  if (Np > Nklein) gross.resize(Narbeit);
  double* w = Np > Nklein ? gross.data() : klein.data();
  double* w_x = w + Np;
  double* xi = w_x + Np * d;
  double* B = xi + Np * d;
  double l = 0.0;
  for (int k = 0; k < Np; ++k) {
    double wk_x[3] = {0.0, 0.0, 0.0};
    wolken[k]->_w_und_w_x(x.data, w[k], wk_x);
    wsum += w[k];
    for (int j = 0; j < d; ++j)
      w_x[k * d + j] = wk_x[j];
    if (wolken[k]->_bgueltig()) l = std::max(l, wolken[k]->_radius());
  }
  if (!(l > 0.0) || !endlich(l)) l = 1.0;
  for (int k = 0; k < Np; ++k)
    for (int j = 0; j < d; ++j)
      xi[k * d + j] = j < wolken[k]->dim ? (wolken[k]->zentrum[j] - x[j]) / l : 0.0;

  Ng = std::min(Ng, _Ng(static_cast<unsigned int>(Np), vollst, static_cast<unsigned int>(d)));
  Exponenten e;
  MatR& A = arbeit.A;
  MatR& Ainv = arbeit.Ainv;
  double A_x[2][mmax * mmax];
  for (;;) {
    // A degree without a basis counts as a failed inversion.
    const int m = exponenten(Ng, vollst, static_cast<unsigned int>(d), e);
    bool bgut = m > 0;
    if (bgut) {
      A.init(m, m, nullptr);
      for (int j = 0; j < d; ++j)
        std::fill(A_x[j], A_x[j] + m * m, 0.0);
      for (int k = 0; k < Np; ++k) {
        double px[maxNg + 1], py[maxNg + 1];
        potenzen(xi[k * d], px);
        potenzen(d > 1 ? xi[k * d + 1] : 0.0, py);
        double* bk = B + static_cast<std::size_t>(k) * m;
        for (int r = 0; r < m; ++r)
          bk[r] = px[e[r][0]] * py[e[r][1]];
        for (int r = 0; r < m; ++r)
          for (int s = r; s < m; ++s) {
            const double bb = bk[r] * bk[s];
            A[r][s] += w[k] * bb;
            for (int j = 0; j < d; ++j)
              A_x[j][r * m + s] += w_x[k * d + j] * bb;
          }
      }
      for (int r = 0; r < m; ++r)
        for (int s = 0; s < r; ++s) {
          A[r][s] = A[s][r];
          for (int j = 0; j < d; ++j)
            A_x[j][r * m + s] = A_x[j][s * m + r];
        }
      Ainv = A;
      double det = 0.0;
      int stellen = 0;
      bgut = TVM::loeser_inverse(Ainv, det, loeser) == 1 && Ainv.zeilen == m && Ainv.spalten == m &&
             TVM::Konditionskontrolle(A, Ainv, stellen, 3);
    }
    if (!bgut) {
      if (Ng == 0) {
        *konsaus << "<WOLKE::_L_G()>: "
                 << "\n"
                 << "Ng=0, stellen=" << Np << ", (A singulaer oder schlechte Kondition)\n"
                 << std::flush;
        return false;
      }
      --Ng;
      continue;
    }

    // c = A^-1 b, ce_j = A^-1 (b_x,j - A_x,j c); with A and A_x symmetric
    // L_k = w_k b_k.c and G_kj = w_k b_k.ce_j + w_k,j b_k.c.
    double c[mmax], ce[2][mmax], t[mmax];
    for (int r = 0; r < m; ++r)
      c[r] = Ainv[r][0];
    for (int j = 0; j < d; ++j) {
      for (int r = 0; r < m; ++r) {
        double summe = 0.0;
        for (int s = 0; s < m; ++s)
          summe += A_x[j][r * m + s] * c[s];
        const bool linear = e[r][j] == 1 && e[r][1 - j] == 0;
        t[r] = (linear ? 1.0 / l : 0.0) - summe;
      }
      for (int r = 0; r < m; ++r) {
        double summe = 0.0;
        for (int s = 0; s < m; ++s)
          summe += Ainv[r][s] * t[s];
        ce[j][r] = summe;
      }
    }
    double fehler[2] = {0.0, 0.0};
    for (int k = 0; k < Np; ++k) {
      const double* bk = B + static_cast<std::size_t>(k) * m;
      double bc = 0.0;
      for (int r = 0; r < m; ++r)
        bc += bk[r] * c[r];
      L[k] = w[k] * bc;
      for (int j = 0; j < d; ++j) {
        double bce = 0.0;
        for (int r = 0; r < m; ++r)
          bce += bk[r] * ce[j][r];
        G[k][j] = w[k] * bce + w_x[k * d + j] * bc;
        fehler[j] += G[k][j];
      }
    }
    // Written so that a sum that is not a number fails.
    if (std::fabs(fehler[0]) < 1e-6 && std::fabs(fehler[1]) < 1e-6) return true;
    const double e_max = std::isnan(fehler[0] + fehler[1])
                             ? fehler[0] + fehler[1]
                             : std::max(std::fabs(fehler[0]), std::fabs(fehler[1]));
    if (Ng > 0) {
      --Ng;
      continue;
    }
    *konsaus << "<WOLKE::_L_G()>: "
             << "Ng=0, Gfehler=" << e_max
             << ", (Ansatzfunktionsableitungen nicht hinreichend genau) -> ABBRUCH\n"
             << std::flush;
    abbruch();
    return false;
  }
}

// Search

namespace {
// Box of a cloud, widened so that every point the inside test accepts lies
// in it whatever the rounding of the offsets.
void kasten(const TWolke& w, double& xa, double& xb, double& ya, double& yb) {
  double hx = 0.0, hy = 0.0;
  w._kastenhalbweiten(hx, hy);
  const double rx = hx * (1.0 + 1e-9) + 1e-13 * std::fabs(w.zentrum[0]);
  const double ry = hy * (1.0 + 1e-9) + 1e-13 * std::fabs(w.zentrum[1]);
  xa = w.zentrum[0] - rx;
  xb = w.zentrum[0] + rx;
  ya = w.zentrum[1] - ry;
  yb = w.zentrum[1] + ry;
}

// Cell of the offset a - anfang in a row of n cells, clamped to the row; the
// quotient may exceed the int range (or be infinite) when the box spans more
// than a double holds.
int zellindex(double a, double anfang, double zelle, int n) {
  const double i = std::floor((a - anfang) / zelle);
  if (!(i > 0.0)) return 0;
  return i < n - 1 ? static_cast<int>(i) : n - 1;
}
} // namespace

TWolkenraster::TWolkenraster(const std::vector<TWolke>& wolken) : wolken_(wolken) {
  const int N = static_cast<int>(wolken.size());
  double R = 0.0;
  int Ngueltig = 0;
  double xa, xb, ya, yb;
  for (const TWolke& w : wolken) {
    if (!w._bgueltig()) continue;
    kasten(w, xa, xb, ya, yb);
    if (!endlich(xa) || !endlich(xb) || !endlich(ya) || !endlich(yb)) continue;
    if (Ngueltig++ == 0) {
      x0_ = xa;
      x1_ = xb;
      y0_ = ya;
      y1_ = yb;
    }
    x0_ = std::min(x0_, xa);
    x1_ = std::max(x1_, xb);
    y0_ = std::min(y0_, ya);
    y1_ = std::max(y1_, yb);
    R = std::max(R, w._radius());
  }
  if (Ngueltig == 0) return;

  // At most max(1024, 4 N) cells, so that scattered tiny clouds over a wide
  // area cannot exhaust the memory.
  const double grenze = std::max(1024.0, 4.0 * Ngueltig);
  const double breite = x1_ - x0_, hoehe = y1_ - y0_;
  zelle_ = R;
  double nx = 1.0, ny = 1.0;
  for (int versuch = 0; versuch < 64; ++versuch) {
    nx = std::max(1.0, std::ceil(breite / zelle_));
    ny = std::max(1.0, std::ceil(hoehe / zelle_));
    if (endlich(nx) && endlich(ny) && nx * ny <= grenze) break;
    const double faktor = endlich(nx * ny) ? std::sqrt(nx * ny / grenze) : 2.0;
    zelle_ *= std::max(faktor, 1.01);
  }
  if (!endlich(nx) || !endlich(ny) || nx * ny > grenze || !(zelle_ > 0.0)) {
    zelle_ = std::max(breite, hoehe);
    if (!(zelle_ > 0.0) || !endlich(zelle_)) zelle_ = 1.0;
    nx = ny = 1.0;
  }
  nx_ = static_cast<int>(nx);
  ny_ = static_cast<int>(ny);

  auto zellbereich = [&](double a, double b, double anfang, int n, int& i0, int& i1) {
    i0 = zellindex(a, anfang, zelle_, n);
    i1 = zellindex(b, anfang, zelle_, n);
  };
  // Two passes: count the entries of every cell, then fill them in cloud
  // order, so that every cell lists its clouds ascending.
  zellanfang_.assign(static_cast<std::size_t>(nx_) * ny_ + 1, 0);
  for (int durchgang = 0; durchgang < 2; ++durchgang) {
    std::vector<int> stelle;
    if (durchgang == 1) {
      for (std::size_t z = 1; z < zellanfang_.size(); ++z)
        zellanfang_[z] += zellanfang_[z - 1];
      eintraege_.assign(zellanfang_.back(), 0);
      stelle.assign(zellanfang_.begin(), zellanfang_.end() - 1);
    }
    for (int k = 0; k < N; ++k) {
      const TWolke& w = wolken[k];
      if (!w._bgueltig()) continue;
      kasten(w, xa, xb, ya, yb);
      if (!endlich(xa) || !endlich(xb) || !endlich(ya) || !endlich(yb)) continue;
      int ix0, ix1, iy0, iy1;
      zellbereich(xa, xb, x0_, nx_, ix0, ix1);
      zellbereich(ya, yb, y0_, ny_, iy0, iy1);
      for (int iy = iy0; iy <= iy1; ++iy)
        for (int ix = ix0; ix <= ix1; ++ix) {
          const std::size_t z = static_cast<std::size_t>(iy) * nx_ + ix;
          if (durchgang == 0)
            ++zellanfang_[z + 1];
          else
            eintraege_[stelle[z]++] = k;
        }
    }
  }
}

void TWolkenraster::_suchen(const double* x, std::vector<int>& treffer) const {
  treffer.clear();
  if (nx_ == 0 || !(x[0] >= x0_ && x[0] <= x1_ && x[1] >= y0_ && x[1] <= y1_)) return;
  const int ix = zellindex(x[0], x0_, zelle_, nx_);
  const int iy = zellindex(x[1], y0_, zelle_, ny_);
  const std::size_t z = static_cast<std::size_t>(iy) * nx_ + ix;
  for (int k = zellanfang_[z]; k < zellanfang_[z + 1]; ++k)
    if (wolken_[eintraege_[k]]._bdrinnen(x)) treffer.push_back(eintraege_[k]);
}

void _suchen_alle(const std::vector<TWolke>& wolken, const double* x, std::vector<int>& treffer) {
  treffer.clear();
  const int N = static_cast<int>(wolken.size());
  for (int k = 0; k < N; ++k)
    if (wolken[k]._bdrinnen(x)) treffer.push_back(k);
}

} // namespace WOLKE

namespace MPM {

using TVM::MatR;
using TVM::VekR;

KONFIGUR _wolkenkonfigur(const TModell& mpm, OBJTYP heimatot, OBJTYP stuetzot, KONFIGUR konfigur) {
  if (heimatot == OBJTYP_KNO && stuetzot != OBJTYP_KNO && !mpm.stw.bknokoerperfest) return KONFIGUR_MOMKONF;
  return konfigur;
}

WOLKE::TWolke _wolke(TPunkt& p, KONFIGUR k, double ueberlappung) {
  double a = 1.0, b = 1.0, phi = 0.0;
  if (k == KONFIGUR_MOMKONF) {
    const TZustgroe& z = p._zg();
    VekR lambda, w;
    if (z.F.zeilen == 2 && z.F.spalten == 2 && MECH::_hauptstreck(z.F, lambda, w) && lambda.n == 2 &&
        w.n >= 1 && lambda[0] > 0.0 && lambda[1] > 0.0 && std::isfinite(lambda[0]) &&
        std::isfinite(lambda[1]) && std::isfinite(w[0])) {
      a = lambda[0];
      b = lambda[1];
      phi = w[0];
    }
  }
  return WOLKE::TWolke(p._x(k), p.vol0, ueberlappung, a, b, phi);
}

TWolkenquellen::TWolkenquellen(TModell& mpm, OBJTYP ot, KONFIGUR k, bool braster) : quellot(ot), konfigur(k) {
  const Tobjcont* reg = ot == OBJTYP_KNO ? &mpm.knou : mpm._objcont(ot);
  const double ueberlappung = mpm.stw._wolkenueberlappung(ot);
  if (reg) {
    punkte.reserve(reg->size());
    wolken.reserve(reg->size());
    for (const auto& eintrag : *reg) {
      TObjbasis* obj = eintrag.second;
      if (!obj || obj->objtyp != ot || obj->status != OBJSTATUS_AKTIV) continue;
      TPunkt* p = PU_Z(obj);
      WOLKE::TWolke w = _wolke(*p, k, ueberlappung);
      if (!w._bgueltig()) continue;
      punkte.push_back(p);
      wolken.push_back(w);
    }
  }
  if (braster) raster_ = std::make_unique<WOLKE::TWolkenraster>(wolken);
}

void TWolkenquellen::_suchen(const VekR& x, std::vector<int>& treffer) const {
  treffer.clear();
  if (x.n != 2) return;
  if (raster_)
    raster_->_suchen(x.data, treffer);
  else
    WOLKE::_suchen_alle(wolken, x.data, treffer);
}

namespace {
std::string punkttext(const TPunkt* p) {
  std::ostringstream s;
  s << static_cast<const TObjbasis*>(p);
  return s.str();
}
} // namespace

TAnsatzWolken::TAnsatzWolken(TModell* m, TPunkt* heimat, OBJTYP heimatot, OBJTYP stuetzot)
    : TAnsatz(m, heimat, heimatot, stuetzot, ANSATZ_WOLKEN) {
  if (heimatot != OBJTYP_IPU && heimatot != OBJTYP_MPU && heimatot != OBJTYP_KNO) {
    *konsaus << "FEHLER in TAnsatzWolken::TAnsatzWolken(...): "
             << "heimatot!=OBJTYP_IPU && heimatot!=OBJTYP_MPU && heimatot!=OBJTYP_KNO\n"
             << std::flush;
    abbruch();
  }
}

WOLKE::TWolke TAnsatzWolken::_wolke(int k) const {
  if (k < 0 || k >= _Np()) return WOLKE::TWolke();
  return MPM::_wolke(*stuetzpu[k], _wolkenkonfigur(*mpm, heimatOT, stuetzOT, konfigur),
                     mpm->stw._wolkenueberlappung(stuetzOT));
}

TAnsatz& TAnsatzWolken::operator=(const TAnsatz& b) {
  if (this == &b || b.ans != ans) return *this;
  TAnsatz::operator=(b);
  Ng = b.Ng;
  skal = b.skal;
  bergebnis_ = static_cast<const TAnsatzWolken&>(b).bergebnis_;
  return *this;
}

// The nodes a point couples in the system are its sources.
void TAnsatzWolken::quellen_pruefen(const std::vector<TPunkt*>& neu) {
  if (stuetzOT != OBJTYP_KNO || heimatOT == OBJTYP_KNO) return;
  if (!bergebnis_ || neu != stuetzpu) mpm->_system()->_muster_veraltet();
}

void TAnsatzWolken::quellen_pruefen(const TWolkenquellen& quellen, const std::vector<int>& treffer) {
  if (stuetzOT != OBJTYP_KNO || heimatOT == OBJTYP_KNO) return;
  bool bgleich = bergebnis_ && treffer.size() == stuetzpu.size();
  for (std::size_t i = 0; bgleich && i < treffer.size(); ++i)
    bgleich = quellen.punkte[treffer[i]] == stuetzpu[i];
  if (!bgleich) mpm->_system()->_muster_veraltet();
}

bool TAnsatzWolken::_init_von(const TAnsatzWolken& von, KONFIGUR k, VERZERR v) {
  if (&von == this || !von.bergebnis_ || von.stuetzOT != stuetzOT || von.konfigur != k) return false;
  const KONFIGUR kw = _wolkenkonfigur(*mpm, heimatOT, stuetzOT, k);
  if (kw != _wolkenkonfigur(*mpm, von.heimatOT, von.stuetzOT, k)) return false;
  arbeit = heimatpu->_x(kw);
  if (!(arbeit == von.heimatpu->_x(kw))) return false;
  konfigur = k;
  verzerr = v;
  heimatpu->status = OBJSTATUS_AKTIV;
  quellen_pruefen(von.stuetzpu);
  operator=(von);
  return true;
}

bool TAnsatzWolken::_init() {
  const KONFIGUR k = _wolkenkonfigur(*mpm, heimatOT, stuetzOT, konfigur);
  std::unique_ptr<TWolkenquellen> eigene;
  const TWolkenquellen* quellen = mpm->wolkenquellen;
  if (!quellen || quellen->quellot != stuetzOT || quellen->konfigur != k) {
    eigene = std::make_unique<TWolkenquellen>(*mpm, stuetzOT, k, false);
    quellen = eigene.get();
  }
  arbeit = heimatpu->_x(k); // the target's place
  const VekR& x = arbeit;
  std::vector<int>& treffer = quellen->ablage.treffer;
  quellen->_suchen(x, treffer);
  quellen_pruefen(*quellen, treffer);
  std::vector<const WOLKE::TWolke*>& wolken = quellen->ablage.wolken;
  stuetzpu.resize(treffer.size());
  wolken.resize(treffer.size());
  for (std::size_t i = 0; i < treffer.size(); ++i) {
    stuetzpu[i] = quellen->punkte[treffer[i]];
    wolken[i] = &quellen->wolken[treffer[i]];
  }
  bergebnis_ = false;
  Ng = mpm->stw.wolkenpolynomgrad;
  skal = 0.0;
  if (stuetzpu.empty()) {
    L.init(0, nullptr);
    G.init(0, TDimensionen::dim1, nullptr);
    heimatpu->status = OBJSTATUS_INAKTIV;
    if (_bausktr())
      *pck << "TAnsatzWolken::_init(): "
           << "heimatpu=" << punkttext(heimatpu) << ", "
           << "!Np\n";
    return false;
  }
  double wsum = 0.0;
  const bool berfolg = WOLKE::_L_G(Ng, mpm->stw.wolkenbbasisvollst, wolken, x, L, G, wsum,
                                   mpm->stw.gleichloes_ans, quellen->ablage);
  skal = wsum;
  bergebnis_ = berfolg;
  if (berfolg) return true;
  heimatpu->status = OBJSTATUS_INAKTIV;
  if (_bausktr())
    *pck << "TAnsatzWolken::_L_G(): heimatpu=" << punkttext(heimatpu) << ", "
         << "berfolg=" << _str(berfolg, 1) << "\n";
  return false;
}

} // namespace MPM
