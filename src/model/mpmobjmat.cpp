#include "model/mpmobjmat.h"

#include <cmath>
#include <ostream>
#include <string>

#include "frame/mix.h"
#include "frame/mpmextern.h"
#include "numerics/loeser.h"

namespace MPM {

using TVM::MatR;
using TVM::VekR;

namespace {

// -sqrt(2/3) as the law uses it in every yield-radius and multiplier product
// (the root of 2/3 rounded to ten digits, not the exact double).
const double mwurzel2_3 = -0.8164965809481385;

double kennwert(const std::vector<double>& params, std::size_t i, double vorgabe) {
  return i < params.size() ? params[i] : vorgabe;
}

// d := dev eps - (z1, z2, z3): half the in-plane trace removed from the
// normal components.
void dev_minus(const VekR& eps, const VekR& z, double d[3]) {
  const double halbspur = 0.5 * (eps[0] + eps[1]);
  d[0] = eps[0] - halbspur - z[0];
  d[1] = eps[1] - halbspur - z[1];
  d[2] = eps[2] - z[2];
}

// The Euclidean norm, summed as TVM::norm does.
double norm3(const double d[3]) {
  double s = 0.0;
  for (int i = 0; i < 3; ++i)
    s += d[i] * d[i];
  return std::sqrt(s);
}

// Voigt vectors and small matrices of the plane laws fit these stack buffers.
constexpr int maxvoigt = 6;

// e := eps minus the first nz components of z (missing ones taken as 0), as
// a view on `puffer` (maxvoigt long) while it fits.
VekR& eps_minus(const VekR& eps, const VekR& z, int nz, double* puffer, VekR& e) {
  if (eps.n <= maxvoigt) {
    e.ansicht(eps.n, puffer);
  } else {
    e.init(eps.n, nullptr);
  }
  for (int i = 0; i < eps.n; ++i)
    e[i] = eps[i] - (i < nz && i < z.n ? z[i] : 0.0);
  return e;
}

} // namespace

// ---------------------------------------------------------------- TMaterial

TMaterial::TMaterial(TModell* m, int n, MATERIALTYP t, double dichte)
    : TObjbasis(m, OBJTYP_MAT, n, 0, OBJSTATUS_AKTIV), rho(dichte), typ(t) {}

unsigned int TMaterial::_Nz(MATERIALTYP t) {
  switch (t) {
  case MATERIALTYP_LINELVIS:
    return 0;
  case MATERIALTYP_LINELVISPLAS:
    return static_cast<unsigned int>(dim2 + 2);
  case MATERIALTYP_LINVISEL:
    return static_cast<unsigned int>(dim2);
  default:
    return 0;
  }
}

MatR& TMaterial::_Cel(MatR& C, double E, double nu) const {
  C.init(dim2, dim2, nullptr);
  if (dim != ELE::DIM_2D || C.zeilen < 3) return C;
  double c = 0.0;
  if (rbdim == RBDIM_VZ0) {
    c = E / ((1.0 + nu) * (1.0 - 2.0 * nu));
    C[0][0] = C[1][1] = (1.0 - nu) * c;
  } else if (rbdim == RBDIM_SP0) {
    c = E / (1.0 - nu * nu);
    C[0][0] = C[1][1] = c;
  } else {
    return C;
  }
  C[0][1] = C[1][0] = nu * c;
  C[2][2] = E / (1.0 + nu);
  return C;
}

MatR& TMaterial::_rz_num(const VekR& eps, const VekR& epst, const VekR& z, const VekR& z_n, MatR& rz,
                         double dt) const {
  const int n =
      typ == MATERIALTYP_LINELVISPLAS || typ == MATERIALTYP_LINVISEL ? static_cast<int>(_Nz(typ)) : 0;
  rz.init(n, n, nullptr);
  if (n == 0) return rz;
  const double h = mpm->stw.dznumtan;
  bool biter = false;
  // Residuals and the shifted state on the stack while they fit.
  constexpr int maxstapel = 8;
  double r0w[maxstapel], riw[maxstapel], ziw[maxstapel];
  VekR r0, ri, zi;
  const bool bstapel = n <= maxstapel && z.n <= maxstapel;
  if (bstapel) {
    r0.ansicht(n, r0w);
    ri.ansicht(n, riw);
    zi.ansicht(z.n, ziw);
  }
  _r(eps, epst, z, z_n, r0, biter, dt);
  for (int i = 0; i < n; ++i) {
    zi = z;
    zi[i] += h;
    _r(eps, epst, zi, z_n, ri, biter, dt);
    for (int k = 0; k < n; ++k)
      rz[k][i] = (ri[k] - r0[k]) / h;
  }
  return rz;
}

std::ostream& operator<<(std::ostream& os, const TMaterial& mat) {
  return os << static_cast<const TObjbasis&>(mat) << ", typ=" << str_MATERIALTYP(mat.typ)
            << ", rho=" << _str(mat.rho, 10);
}

// ------------------------------------------------------ TMaterial_linelvis

TMaterial_linelvis::TMaterial_linelvis(TModell* m, int n, const std::vector<double>& p)
    : TMaterial(m, n, MATERIALTYP_LINELVIS, kennwert(p, 0, 1.0)), E(kennwert(p, 1, 1.0)),
      nu(kennwert(p, 2, 0.0)), tau(kennwert(p, 3, 0.0)) {
  _Cel(Cel, E, nu);
  Dvis = tau * Cel;
}

VekR& TMaterial_linelvis::_r(const VekR&, const VekR&, const VekR&, const VekR&, VekR& r, bool& biter,
                             double) const {
  biter = false;
  return r.init(0, nullptr);
}

MatR& TMaterial_linelvis::_rz(const VekR&, const VekR&, const VekR&, const VekR&, MatR& rz, double) const {
  return rz.init(0, 0, nullptr);
}

void TMaterial_linelvis::_CT_DT(const VekR&, const VekR&, const VekR&, const VekR&, const MatR&, MatR& CT,
                                MatR& DT, bool, double) const {
  CT = Cel;
  DT = Dvis;
}

VekR& TMaterial_linelvis::_sigma(const VekR& eps, const VekR& epst, const VekR&, VekR& sig, VekR& q,
                                 const TMaterialpunkt*) const {
  TVM::produkt(Dvis, epst, q);
  TVM::produkt(Cel, eps, sig);
  return sig += q;
}

// -------------------------------------------------- TMaterial_linelvisplas

TMaterial_linelvisplas::TMaterial_linelvisplas(TModell* m, int n, const std::vector<double>& p)
    : TMaterial(m, n, MATERIALTYP_LINELVISPLAS, kennwert(p, 0, 1.0)), E(kennwert(p, 1, 1.0)),
      nu(kennwert(p, 2, 0.0)), tau(kennwert(p, 3, 0.0)), sigy0(kennwert(p, 4, 1.0)),
      Hiso(kennwert(p, 5, 0.0)), G(E / (2.0 * (1.0 + nu))) {
  _Cel(Cel, E, nu);
  Dvis = tau * Cel;
}

VekR& TMaterial_linelvisplas::N_(const VekR& eps, const VekR& z, VekR& N, bool& bunbest) const {
  double d[3];
  dev_minus(eps, z, d);
  const double n = norm3(d);
  if (n < mpm->stw.schranke_normeps) {
    bunbest = true;
    return N.init(3, nullptr);
  }
  const double s = 1.0 / n;
  for (double& di : d)
    di *= s;
  return N.init(3, d);
}

MatR& TMaterial_linelvisplas::_Ndevepspl(const VekR& eps, const VekR& z, MatR& M) const {
  double d[3];
  dev_minus(eps, z, d);
  const double n = norm3(d);
  if (n < mpm->stw.schranke_normeps) {
    *konsaus << "\nTMaterial_linelplas::_Ndevepspl(). Ndevepspl unbestimmt";
    return M.init(3, 3, nullptr);
  }
  M.init(dim2, dim2, nullptr);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      M[i][j] = -(1.0 / n) * ((i == j ? 1.0 : 0.0) - d[i] * d[j] / (n * n));
  return M;
}

VekR& TMaterial_linelvisplas::_r(const VekR& eps, const VekR&, const VekR& z, const VekR& z_n, VekR& r,
                                 bool& biter, double) const {
  bool bunbest = false;
  double Nw[3];
  VekR N;
  N.ansicht(3, Nw);
  N_(eps, z, N, bunbest);
  const double dlambda = z[4] - z_n[4];
  double s[3];
  dev_minus(eps, z, s);
  for (double& si : s)
    si *= 2.0 * G;
  const double f = norm3(s) + mwurzel2_3 * (sigy0 + Hiso * z[3]);

  r.init(5, nullptr);
  for (int i = 0; i < 3; ++i)
    r[i] = (z[i] - z_n[i]) - dlambda * N[i];
  r[3] = (z[3] - z_n[3]) + mwurzel2_3 * dlambda;
  r[4] = f;

  biter = f >= mpm->stw.schranke_fliessbed;
  if (bunbest) {
    if (biter) {
      *konsaus << "FEHLER in TMaterial_linelvisplas::_r(): N unbestimmt\n";
      if (mpm->bausktr)
        *pck << "\n"
             << "FEHLER in TMaterial_linelvisplas::_r(): Aenderung der zusaetzlichen Variablen und N "
                "unbestimmt\n";
    }
    biter = false;
  }
  return r;
}

MatR& TMaterial_linelvisplas::_rz(const VekR& eps, const VekR&, const VekR& z, const VekR& z_n, MatR& rz,
                                  double) const {
  bool bunbest = false;
  double Nw[3], Mw[9];
  VekR N;
  MatR M;
  N.ansicht(3, Nw);
  if (dim2 == 3) M.ansicht(3, 3, Mw);
  N_(eps, z, N, bunbest);
  _Ndevepspl(eps, z, M);
  const double dlambda = z[4] - z_n[4];

  rz.init(5, 5, nullptr);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j)
      rz[i][j] = (i == j ? 1.0 : 0.0) - dlambda * M[i][j];
    rz[i][4] = -N[i];
  }
  rz[3][3] = 1.0;
  rz[3][4] = mwurzel2_3;
  for (int j = 0; j < 3; ++j)
    rz[4][j] = -2.0 * G * N[j];
  rz[4][3] = mwurzel2_3 * Hiso;
  return rz;
}

void TMaterial_linelvisplas::_CT_DT(const VekR& eps, const VekR& epst, const VekR& z, const VekR& z_n,
                                    const MatR& rzinv, MatR& CT, MatR& DT, bool biter, double dt) const {
  DT = Dvis;
  CT = Cel;
  if (!biter) return;

  // Without the inverse of the last Newton step, invert rz at this state.
  const MatR* rzi = &rzinv;
  MatR eigen;
  if (rzinv.zeilen != 5 || rzinv.spalten != 5) {
    _rz(eps, epst, z, z_n, eigen, dt);
    if (!MATHE::gauss_inverse(5, eigen.zeilen_ptr)) return;
    rzi = &eigen;
  }

  double sigw[maxvoigt], qw[maxvoigt];
  VekR sig, q;
  if (dim2 <= maxvoigt) {
    sig.ansicht(dim2, sigw);
    q.ansicht(dim2, qw);
  }
  _sigma(eps, epst, z, sig, q, nullptr);
  const double dlambda = z[4] - z_n[4];
  const double dd = sig[0] - sig[1];
  const double m = std::sqrt(0.5 * dd * dd + sig[2] * sig[2]);
  if (!(m > 0.0) || !std::isfinite(m)) return; // no deviatoric stress: no direction to differentiate
  const double a = dlambda * G / (m * m * m);
  const double c = G / m;
  const double s3 = sig[2];

  double B[5][3] = {};
  B[0][0] = -a * s3 * s3;
  B[0][1] = a * s3 * s3;
  B[0][2] = a * s3 * dd;
  B[1][0] = a * s3 * s3;
  B[1][1] = -a * s3 * s3;
  B[1][2] = -a * s3 * dd;
  B[2][0] = a * s3 * dd;
  B[2][1] = -a * s3 * dd;
  B[2][2] = -a * dd * dd;
  B[4][0] = c * dd;
  B[4][1] = -c * dd;
  B[4][2] = 2.0 * c * s3;

  // I + P rzinv B, P = [I3 | 0] picks the plastic-strain rows.
  double Xw[9];
  MatR X;
  X.ansicht(3, 3, Xw);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      double s = i == j ? 1.0 : 0.0;
      for (int k = 0; k < 5; ++k)
        s += (*rzi)[i][k] * B[k][j];
      X[i][j] = s;
    }
  TVM::produkt(Cel, X, CT);
}

VekR& TMaterial_linelvisplas::_sigma(const VekR& eps, const VekR& epst, const VekR& z, VekR& sig, VekR& q,
                                     const TMaterialpunkt*) const {
  TVM::produkt(Dvis, epst, q);
  double ew[maxvoigt];
  VekR e;
  TVM::produkt(Cel, eps_minus(eps, z, 3, ew, e), sig);
  return sig += q;
}

// ------------------------------------------------------ TMaterial_linvisel

TMaterial_linvisel::TMaterial_linvisel(TModell* m, int n, const std::vector<double>& p)
    : TMaterial(m, n, MATERIALTYP_LINVISEL, kennwert(p, 0, 1.0)), E(kennwert(p, 1, 1.0)),
      nu(kennwert(p, 2, 0.0)), tau(kennwert(p, 3, 0.0)), E2(kennwert(p, 4, 1.0)), nu2(kennwert(p, 5, 0.0)) {
  _Cel(Cel, E, nu);
  _Cel(Cel2, E2, nu2);
}

VekR& TMaterial_linvisel::_r(const VekR& eps, const VekR&, const VekR& z, const VekR& z_n, VekR& r,
                             bool& biter, double dt) const {
  const int n = dim2;
  const double faktor = dt / tau;
  r.init(n, nullptr);
  for (int i = 0; i < n; ++i)
    r[i] = (z[i] - z_n[i]) - faktor * (eps[i] - z[i]);
  biter = true;
  return r;
}

MatR& TMaterial_linvisel::_rz(const VekR&, const VekR&, const VekR&, const VekR&, MatR& rz, double dt) const {
  const int n = dim2;
  rz.init(n, n, nullptr);
  for (int i = 0; i < n; ++i)
    rz[i][i] = 1.0 + dt / tau;
  return rz;
}

void TMaterial_linvisel::_CT_DT(const VekR&, const VekR&, const VekR&, const VekR&, const MatR&, MatR& CT,
                                MatR&, bool, double dt) const {
  const double faktor = tau / (tau + dt);
  CT = Cel;
  if (CT.anzahl() != Cel2.anzahl()) return;
  for (long k = 0; k < CT.anzahl(); ++k)
    CT.data[k] += Cel2.data[k] * faktor;
}

VekR& TMaterial_linvisel::_sigma(const VekR& eps, const VekR&, const VekR& z, VekR& sig, VekR& q,
                                 const TMaterialpunkt*) const {
  double ew[maxvoigt];
  VekR e;
  TVM::produkt(Cel2, eps_minus(eps, z, dim2, ew, e), q);
  TVM::produkt(Cel, eps, sig);
  return sig += q;
}

// ----------------------------------------------------------------- factory

namespace {

// The reason why the parameters of a material of type t are refused, or
// empty when they are acceptable.
std::string kennwertfehler(MATERIALTYP t, const std::vector<double>& p) {
  const std::size_t anzahl = t == MATERIALTYP_LINELVIS ? 4 : 6;
  for (std::size_t i = 0; i < anzahl && i < p.size(); ++i)
    if (!std::isfinite(p[i])) return "nicht endlich";

  const bool vz0 = TDimensionen::rbdim == RBDIM_VZ0;
  const double rho = kennwert(p, 0, 1.0), E = kennwert(p, 1, 1.0), nu = kennwert(p, 2, 0.0);
  const double tau = kennwert(p, 3, 0.0);
  if (rho < 0.0) return "rho < 0";
  if (E <= 0.0) return "E <= 0";
  if (nu <= -1.0 || nu >= (vz0 ? 0.5 : 1.0)) return vz0 ? "nu <= -1 oder nu >= 0.5" : "nu <= -1 oder nu >= 1";
  if (t != MATERIALTYP_LINVISEL) return tau < 0.0 ? "tau < 0" : "";

  if (tau <= 0.0) return "tau <= 0";
  const double E2 = kennwert(p, 4, 1.0), nu2 = kennwert(p, 5, 0.0);
  if (E2 < 0.0) return "E2 < 0";
  if (E2 > 0.0 && (nu2 <= -1.0 || nu2 >= (vz0 ? 0.5 : 1.0)))
    return vz0 ? "nu2 <= -1 oder nu2 >= 0.5" : "nu2 <= -1 oder nu2 >= 1";
  return "";
}

} // namespace

TMaterial* _material_erzeugen(TModell* mpm, int num, int typ, const std::vector<double>& params) {
  if (mpm->mat.suchen(num)) {
    *pcf << mpm->_str_eindatpos() << ": Materialnummer bereits vorhanden: " << num << "\n";
    return nullptr;
  }
  const MATERIALTYP t = _MATERIALTYP(typ);
  if (t == MATERIALTYP_UNBEKANNT) {
    *pcf << mpm->_str_eindatpos() << ": Ungueltiger Materialtyp: " << typ << "\n";
    return nullptr;
  }
  const std::string grund = kennwertfehler(t, params);
  if (!grund.empty()) {
    *pcf << mpm->_str_eindatpos() << ": Materialkennwerte unzulaessig (" << grund << "): Materialnummer "
         << num << "\n";
    return nullptr;
  }

  // A material refused by the registry stays unused in the model's memory.
  TMaterial* neu;
  switch (t) {
  case MATERIALTYP_LINELVIS:
    neu = mpm->_anlegen<TMaterial_linelvis>(mpm, num, params);
    break;
  case MATERIALTYP_LINELVISPLAS:
    neu = mpm->_anlegen<TMaterial_linelvisplas>(mpm, num, params);
    break;
  default:
    neu = mpm->_anlegen<TMaterial_linvisel>(mpm, num, params);
    break;
  }
  return mpm->mat.einfuegen(static_cast<int>(neu->num), neu) ? neu : nullptr;
}

} // namespace MPM
