#include "solver/mpmkonele.h"

#include <cmath>
#include <ostream>

#include "frame/mix.h"
#include "frame/mpmextern.h"
#include "model/mpmobjbas.h"
#include "model/mpmobjpunkt.h"

namespace MPM {

namespace {
constexpr double eps = 2.220446e-16;
// Tangents this close to parallel leave the tangent lengths undetermined.
constexpr double eps_parallel = 2.220446e-12;
// The parameter range of a projection, with room for rounding.
constexpr double xi_grenze = 1.0000000000000222;

void position(TPunkt* p, double x[2]) {
  x[0] = x[1] = 0.0;
  if (!p) return;
  const TVM::VekR& xp = p->_x(KONFIGUR_MOMKONF);
  for (int i = 0; i < 2 && i < xp.n; ++i)
    x[i] = xp[i];
}

TVM::VekR& als_vektor(double a, double b, TVM::VekR& v) {
  v.init(2, nullptr);
  v[0] = a;
  v[1] = b;
  return v;
}

void vektor_text(std::ostream& os, const double v[2]) {
  TVM::VekR w;
  os << als_vektor(v[0], v[1], w);
}
} // namespace

TStuetzelement::TStuetzelement(unsigned int n, TPunkt* a, TPunkt* b) : num(n), k1(a), k2(b), t(2) {
  if (!k1 || !k2 || k1 == k2) *konsaus << "FEHLER in <TStuetzelement::TStuetzelement(...)>\n" << std::flush;
}

void TStuetzelement::init() {
  double x1[2], x2[2];
  position(k1, x1);
  position(k2, x2);
  const double d0 = x2[0] - x1[0], d1 = x2[1] - x1[1];
  L = k1 && k2 ? std::hypot(d0, d1) : 0.0;
  if (L < eps) {
    t.init(2, nullptr);
    return;
  }
  als_vektor(d0 / L, d1 / L, t);
}

TKontaktknoten::TKontaktknoten() : x(2), t(2) {}

void TKontaktknoten::init() {
  *konsaus << "FEHLER: <TKontaktknoten::init()>\n" << std::flush;
}

bool TKontaktknoten::ist_stuetzpu(const TPunkt*) const {
  *konsaus << "FEHLER: <TKontaktknoten::ist_stuetzpu()>\n" << std::flush;
  return false;
}

void TKontaktknoten::_text(std::ostream& os) const {
  os << "konkno, x=" << x << ", t=" << t;
}

TKontaktknoten_kno::TKontaktknoten_kno(TStuetzelement* e1, TStuetzelement* e2)
    : stuetzele1(e1), stuetzele2(e2) {
  if (!e1 && !e2) *konsaus << "FEHLER in <TKontaktknoten_kno::TKontaktknoten_kno(...)>\n" << std::flush;
}

void TKontaktknoten_kno::init() {
  double p[2];
  position(stuetzele1 ? stuetzele1->k2 : stuetzele2 ? stuetzele2->k1 : nullptr, p);
  als_vektor(p[0], p[1], x);
  double s[2] = {0.0, 0.0};
  for (const TStuetzelement* e : {stuetzele1, stuetzele2})
    if (e)
      for (int i = 0; i < 2; ++i)
        s[i] += e->t[i];
  const double laenge = std::hypot(s[0], s[1]);
  if (laenge >= eps) {
    als_vektor(s[0] / laenge, s[1] / laenge, t);
    return;
  }
  // The two tangents cancel: the line turns back on itself here.
  const TStuetzelement* e = stuetzele1 ? stuetzele1 : stuetzele2;
  if (e)
    als_vektor(-e->t[1], e->t[0], t);
  else
    t.init(2, nullptr);
}

bool TKontaktknoten_kno::ist_stuetzpu(const TPunkt* p) const {
  for (const TStuetzelement* e : {stuetzele1, stuetzele2})
    if (e && p && (e->k1 == p || e->k2 == p)) return true;
  return false;
}

void TKontaktknoten_kno::_text(std::ostream& os) const {
  TKontaktknoten::_text(os);
  os << ", stuetzele1=";
  if (stuetzele1)
    os << stuetzele1->num;
  else
    os << "NULL";
  os << ", stuetzele2=";
  if (stuetzele2)
    os << stuetzele2->num;
  else
    os << "NULL";
}

TKontaktknoten_ele::TKontaktknoten_ele(TStuetzelement* e, double xi) : stuetzele(e), xik(xi) {
  if (!e || !(xi >= -1.0 && xi <= 1.0))
    *konsaus << "FEHLER in <TKontaktknoten_ele::TKontaktknoten_ele(...)>\n" << std::flush;
}

void TKontaktknoten_ele::init() {
  double p1[2], p2[2];
  position(stuetzele ? stuetzele->k1 : nullptr, p1);
  position(stuetzele ? stuetzele->k2 : nullptr, p2);
  als_vektor(0.5 * (1.0 + xik) * p2[0] + 0.5 * (1.0 - xik) * p1[0],
             0.5 * (1.0 + xik) * p2[1] + 0.5 * (1.0 - xik) * p1[1], x);
  if (stuetzele)
    t = stuetzele->t;
  else
    t.init(2, nullptr);
}

bool TKontaktknoten_ele::ist_stuetzpu(const TPunkt* p) const {
  return stuetzele && p && (stuetzele->k1 == p || stuetzele->k2 == p);
}

void TKontaktknoten_ele::_text(std::ostream& os) const {
  TKontaktknoten::_text(os);
  os << ", stuetzele=";
  if (stuetzele)
    os << stuetzele->num;
  else
    os << "NULL";
  os << ", xik=" << _str(xik, 10);
}

TKontaktelement::TKontaktelement(TModell* m, TKontaktknoten* erster, TKontaktknoten* zweiter)
    : mpm(m), k1(erster), k2(zweiter) {}

void TKontaktelement::init() {
  if (!k1 || !k2) return;
  const double p1[2] = {k1->x[0], k1->x[1]}, p2[2] = {k2->x[0], k2->x[1]};
  const double t1[2] = {k1->t[0], k1->t[1]}, t2[2] = {k2->t[0], k2->t[1]};
  const double d[2] = {p2[0] - p1[0], p2[1] - p1[1]};
  L = std::hypot(d[0], d[1]);
  if (L < eps)
    *konsaus << "FEHLER in <void TKontaktelement::init()>: L < _REAL_EPSILON\n"
             << *this << "\n"
             << std::flush;

  // [t1 | -t2] (l1, l2) = p2 - p1: the end tangents scaled to meet the chord.
  const double det = -t1[0] * t2[1] + t2[0] * t1[1];
  l1 = l2 = 0.5 * L;
  if (std::fabs(det) >= eps_parallel) {
    const double s1 = std::fabs((-d[0] * t2[1] + t2[0] * d[1]) / det);
    const double s2 = std::fabs((t1[0] * d[1] - t1[1] * d[0]) / det);
    if (s1 + s2 >= eps && std::isfinite(s1 + s2)) {
      l1 = s1 * L / (s1 + s2);
      l2 = s2 * L / (s1 + s2);
    }
  }
  for (int i = 0; i < 2; ++i) {
    a[0][i] = 0.5 * p1[i] + 0.5 * p2[i] + 0.25 * l1 * t1[i] - 0.25 * l2 * t2[i];
    a[1][i] = -0.75 * p1[i] + 0.75 * p2[i] - 0.25 * l1 * t1[i] - 0.25 * l2 * t2[i];
    a[2][i] = -0.25 * l1 * t1[i] + 0.25 * l2 * t2[i];
    a[3][i] = 0.25 * p1[i] - 0.25 * p2[i] + 0.25 * l1 * t1[i] + 0.25 * l2 * t2[i];
  }
}

void TKontaktelement::ableitungen(double xi, double x[2], double x1[2], double x2[2]) const {
  for (int i = 0; i < 2; ++i) {
    x[i] = a[0][i] + xi * (a[1][i] + xi * (a[2][i] + xi * a[3][i]));
    x1[i] = a[1][i] + xi * (2.0 * a[2][i] + 3.0 * xi * a[3][i]);
    x2[i] = 2.0 * a[2][i] + 6.0 * xi * a[3][i];
  }
}

TVM::VekR& TKontaktelement::_x(double xi, TVM::VekR& x) const {
  double p[2], d1[2], d2[2];
  ableitungen(xi, p, d1, d2);
  return als_vektor(p[0], p[1], x);
}

TVM::VekR& TKontaktelement::_n(double xi, TVM::VekR& n) const {
  double p[2], d1[2], d2[2];
  ableitungen(xi, p, d1, d2);
  const double laenge = std::hypot(d1[0], d1[1]);
  return laenge < eps ? als_vektor(1.0, 0.0, n) : als_vektor(d1[1] / laenge, -d1[0] / laenge, n);
}

TVM::VekR& TKontaktelement::_t(double xi, TVM::VekR& t) const {
  double p[2], d1[2], d2[2];
  ableitungen(xi, p, d1, d2);
  const double laenge = std::hypot(d1[0], d1[1]);
  return laenge < eps ? als_vektor(1.0, 0.0, t) : als_vektor(d1[0] / laenge, d1[1] / laenge, t);
}

void TKontaktelement::residuum(double xi, double eta, const double p[2], double r[2], double rz[2][2]) const {
  double x[2], d1[2], d2[2];
  ableitungen(xi, x, d1, d2);
  r[0] = x[0] + eta * d1[1] - p[0];
  r[1] = x[1] - eta * d1[0] - p[1];
  rz[0][0] = d1[0] + eta * d2[1];
  rz[0][1] = d1[1];
  rz[1][0] = d1[1] - eta * d2[0];
  rz[1][1] = -d1[0];
}

bool TKontaktelement::_r_und_r_z(const TVM::VekR& xieta, const TVM::VekR& p, TVM::VekR& r,
                                 TVM::MatR& rz) const {
  const double pp[2] = {p[0], p[1]};
  double rr[2], j[2][2];
  residuum(xieta[0], xieta[1], pp, rr, j);
  als_vektor(rr[0], rr[1], r);
  rz.init(2, 2, &j[0][0]);
  return xieta[0] >= -1.0 && xieta[0] <= 1.0;
}

bool TKontaktelement::kontakt(TPunkt* pu, double& g, TVM::VekR& n) const {
  n.init(2, nullptr);
  if (!pu || !k1 || !k2 || pu->bkontaktpunkt || k1->ist_stuetzpu(pu) || k2->ist_stuetzpu(pu)) return false;
  const double grenzg = mpm->stw.kontakt_grenzg;
  double p[2];
  position(pu, p);
  const double m[2] = {0.5 * (k1->x[0] + k2->x[0]), 0.5 * (k1->x[1] + k2->x[1])};
  if (!(std::hypot(p[0] - m[0], p[1] - m[1]) < 0.5 * L + grenzg)) return false;

  // Newton on (xi, eta) with p = x(xi) + eta * (unnormalised normal).
  double xi = 0.0, eta = 0.0;
  for (int schritt = 0; schritt < 10; ++schritt) {
    double r[2], j[2][2];
    residuum(xi, eta, p, r, j);
    const double det = j[0][0] * j[1][1] - j[0][1] * j[1][0];
    if (!(std::fabs(det) > 0.0) || !std::isfinite(det)) return false;
    xi -= (j[1][1] * r[0] - j[0][1] * r[1]) / det;
    eta -= (-j[1][0] * r[0] + j[0][0] * r[1]) / det;
    if (!(xi > -1.5 && xi < 1.5)) return false;
    if (std::hypot(r[0], r[1]) < eps) break;
  }
  if (!(xi >= -xi_grenze && xi <= xi_grenze)) return false;

  _n(xi, n);
  double x[2], d1[2], d2[2];
  ableitungen(xi, x, d1, d2);
  g = (p[0] - x[0]) * n[0] + (p[1] - x[1]) * n[1];
  if (g <= -grenzg) {
    // Too deep behind the line to tell which side the point came from.
    g = grenzg;
    n.init(2, nullptr);
  }
  return true;
}

void TKontaktelement::_text(std::ostream& os) const {
  const double x1[2] = {k1 ? k1->x[0] : 0.0, k1 ? k1->x[1] : 0.0};
  const double x2[2] = {k2 ? k2->x[0] : 0.0, k2 ? k2->x[1] : 0.0};
  const double t1[2] = {k1 ? k1->t[0] : 0.0, k1 ? k1->t[1] : 0.0};
  const double t2[2] = {k2 ? k2->t[0] : 0.0, k2 ? k2->t[1] : 0.0};
  os << "konele, x1=";
  vektor_text(os, x1);
  os << ", x2=";
  vektor_text(os, x2);
  os << ", t1=";
  vektor_text(os, t1);
  os << ", t2=";
  vektor_text(os, t2);
  os << ", l1=" << _str(l1, 10) << ", l2=" << _str(l2, 10) << ", L=" << _str(L, 10);
}

std::ostream& operator<<(std::ostream& os, const TStuetzelement& e) {
  TVM::VekR x1(2), x2(2);
  if (e.k1) x1 = e.k1->_x(KONFIGUR_MOMKONF);
  if (e.k2) x2 = e.k2->_x(KONFIGUR_MOMKONF);
  return os << "stuetzele(" << e.num << "), k1=" << static_cast<const TObjbasis*>(e.k1)
            << ", k2=" << static_cast<const TObjbasis*>(e.k2) << ", x1=" << x1 << ", x2=" << x2
            << ", L=" << _str(e.L, 10) << ", t=" << e.t;
}

std::ostream& operator<<(std::ostream& os, const TKontaktknoten& k) {
  k._text(os);
  return os;
}

std::ostream& operator<<(std::ostream& os, const TKontaktelement& e) {
  e._text(os);
  return os;
}

} // namespace MPM
