#include "element/eletyp.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <ostream>

#include "element/eleglob.h"
#include "frame/meldung.h"
#include "frame/mpmextern.h"
#include "numerics/mathegeom.h"

namespace ELETYP {

using TVM::MatR;
using TVM::VekR;
using namespace ELE;

namespace {

// Residual norm below which the Newton iteration of `_xi` stops.
constexpr double xitol = 2.220446e-12;
// Passes of `_xi`; the last one only reports, so 11 updates are made.
constexpr int maxdurchgaenge = 12;

bool hermite(ANSFUNK a) {
  return a >= ANSFUNK_HERMC1O1 && a <= ANSFUNK_HERMC1O3;
}

bool endlich(const double* a, long n) {
  for (long k = 0; k < n; ++k)
    if (!std::isfinite(a[k])) return false;
  return true;
}

// Node i of dataset a and node j of dataset b have equal reference coordinates.
bool gleicher_knoten(const ELEANS::Tdataset& a, int i, const ELEANS::Tdataset& b, int j) {
  if (a.xik.zeilen != b.xik.zeilen) return false;
  for (int c = 0; c < a.xik.zeilen; ++c)
    if (a.xik[c][i] != b.xik[c][j]) return false;
  return true;
}

using Tregister = std::map<Tkey, Tdataset>;

Tregister fuellen() {
  const ANSFUNK L1 = ANSFUNK_LAGRO1, L2 = ANSFUNK_LAGRO2, L3 = ANSFUNK_LAGRO3, S2 = ANSFUNK_SEREO2,
                S3 = ANSFUNK_SEREO3, H1 = ANSFUNK_HERMC1O1, H2 = ANSFUNK_HERMC1O2, H3 = ANSFUNK_HERMC1O3;
  const ANSFUNK viereck[][2] = {{L1, L1}, {L2, L2}, {L3, L3}, {S2, S2}, {S3, S3}, {L1, L2}, {L1, L3},
                                {L2, L1}, {L3, L1}, {L1, H1}, {L2, H2}, {L3, H3}, {S2, H2}, {S3, H3}};
  Tregister reg;
  const Tkey dreieck(DIM_2D, FORM_DREIECK, L1, L1);
  reg.emplace(dreieck, Tdataset(dreieck));
  for (const auto& paar : viereck) {
    const Tkey key(DIM_2D, FORM_VIERECK, paar[0], paar[1]);
    reg.emplace(key, Tdataset(key));
  }
  return reg;
}

// Filled on first use, never changed afterwards.
const Tregister& register_typ() {
  static const Tregister reg = fuellen();
  return reg;
}

} // namespace

Tkey::Tkey(DIM d, FORM f, ANSFUNK x, ANSFUNK u)
    : dim(d), form(f), ansfunkx(x), ansfunku(u), name(_name(d, f, x, u)) {}

bool Tkey::operator<(const Tkey& b) const {
  if (dim != b.dim) return dim < b.dim;
  if (form != b.form) return form < b.form;
  if (ansfunkx != b.ansfunkx) return ansfunkx < b.ansfunkx;
  return ansfunku < b.ansfunku;
}

std::string _name(DIM, FORM f, ANSFUNK x, ANSFUNK u) {
  return std::string(str_FORM(f)) + str_ANSFUNK(x) + str_ANSFUNK(u);
}

Tdataset::Tdataset(const Tkey& k) : key(k), name(k.name) {
  ansx = ELEANS::get_datasetptr(ELEANS::Tkey(k.dim, k.form, k.ansfunkx));
  ansu = ELEANS::get_datasetptr(ELEANS::Tkey(k.dim, k.form, k.ansfunku));
  init_kind();
}

void Tdataset::init_kind() {
  const int nx = Nx(), nu = Nu();
  kindxu.init(nx, nullptr, -1);
  kindux.init(nu, nullptr, -1);
  if (nx == nu) {
    for (int i = 0; i < nx; ++i)
      if (gleicher_knoten(*ansx, i, *ansu, i)) kindxu[i] = kindux[i] = i;
  } else if (nx < nu) {
    int cursor = 0;
    for (int j = 0; j < nu; ++j) {
      kindux[j] = j;
      if (cursor < nx && gleicher_knoten(*ansx, cursor, *ansu, j)) kindxu[cursor++] = j;
    }
  } else {
    int cursor = 0;
    for (int i = 0; i < nx; ++i) {
      kindxu[i] = i;
      if (cursor < nu && gleicher_knoten(*ansx, i, *ansu, cursor)) kindux[cursor++] = i;
    }
  }
  bool bvollstaendig = ansx && ansu;
  for (int v : kindxu)
    bvollstaendig = bvollstaendig && v >= 0;
  for (int v : kindux)
    bvollstaendig = bvollstaendig && v >= 0;
  if (!bvollstaendig)
    *konsaus << "\nFEHLER in ELETYP::Tdataset::init_kind(), Elementtypname=" << name << "\n";
}

bool Tdataset::_x(const MatR& Xx, const VekR& xi, VekR& x) const {
  VekR Lx;
  if (!ansx || Xx.zeilen != DIM1(key.dim) || Xx.spalten != Nx() || !ansx->_L(Xx, xi, Lx)) return false;
  x = Xx * Lx;
  return x.n == Xx.zeilen;
}

bool Tdataset::_J(const MatR& Xx, const VekR& xi, MatR& J) const {
  if (!ansx || Xx.zeilen != DIM1(key.dim) || Xx.spalten != Nx()) return false;
  // The derivatives of a family with one function per node, up to four
  // nodes (the rows the matrix holds in itself), on the stack.
  constexpr int maxstapel = 4;
  double stapel[maxstapel * 3];
  MatR Lx_xi;
  if (!hermite(key.ansfunkx) && Nx() <= maxstapel && Xx.zeilen <= 3) Lx_xi.ansicht(Nx(), Xx.zeilen, stapel);
  if (!ansx->_L_xi(Xx, xi, Lx_xi)) return false;
  TVM::produkt(Xx, Lx_xi, J);
  return J.zeilen == Xx.zeilen && J.spalten == Xx.zeilen;
}

bool Tdataset::_xi(const MatR& Xx, const VekR& x, VekR& xi, bool btol) const {
  const int d1 = DIM1(key.dim);
  if (!ansx || d1 == 0 || Xx.zeilen != d1 || Xx.spalten != Nx() || x.n != d1) return false;
  if (!endlich(Xx.data, Xx.anzahl()) || !endlich(x.data, x.n)) {
    xi.init(d1, nullptr, std::numeric_limits<double>::quiet_NaN());
    return false;
  }
  xi.init(d1, nullptr, 0.0);
  if (xi.n != d1) return false;
  VekR Lx, x1, r;
  MatR Lx_xi, J, JI;
  double detJ = 0.0;
  for (int it = 1;; ++it) {
    if (it == maxdurchgaenge) {
      *konsaus << "ELE::_xi(): Maximalzahl an Iterationsschritten erreicht\n"
               << "Iterationsschritt it=" << it << "\n"
               << "xkx           =" << Xx << "\n"
               << "Lxp           =" << Lx << "\n"
               << "Lxp_xi        =" << Lx_xi << "\n"
               << "Jp=xkx*Lxp_xi =" << J << "\n"
               << "xp1=xkx*Lxp   =" << x1 << "\n"
               << "r=xp1-xp      =" << r << "\n"
               << "xip1=xip-JIp*r=" << xi << "\n";
      abbruch();
      return false;
    }
    if (!ansx->_L(Xx, xi, Lx) || !ansx->_L_xi(Xx, xi, Lx_xi)) return false;
    J = Xx * Lx_xi;
    if (!TVM::inverse_nxn(J, JI, detJ)) {
      *konsaus << "ELE::_xi(): !TVM::inverse_nxn(Jp, JIp, detJp)\n";
      abbruch();
      return false;
    }
    x1 = Xx * Lx;
    r = x1 - x;
    xi -= JI * r;
    if (TVM::norm(r) < xitol) break;
  }
  return ansx->_bxi(xi, btol);
}

bool Tdataset::_bpinelement(const MatR& Xx, const VekR& x, bool btol) const {
  const int d1 = DIM1(key.dim);
  if (!ansx || d1 == 0 || Xx.zeilen != d1 || Xx.spalten != Nx() || x.n != d1) return false;
  if (key.dim == DIM_1D) {
    const MatR strecke(2, 1, {Xx[0][0], Xx[0][1]});
    return MATHE::pinstrecke(strecke, x, btol);
  }
  if (key.dim == DIM_2D && key.ansfunkx == ANSFUNK_LAGRO1) {
    const int necken = Necken(key.form);
    MatR ecken(necken, 2);
    for (int k = 0; k < necken; ++k)
      for (int c = 0; c < 2; ++c)
        ecken[k][c] = Xx[c][k];
    return MATHE::pinpolygon(ecken, x, btol);
  }
  VekR xi;
  return _xi(Xx, x, xi, btol);
}

bool Tdataset::_Lu_Gu_detJ(const MatR& Xx, const MatR& Xu, const VekR& xi, double& detJ, VekR& Lu,
                           MatR& Gu) const {
  detJ = 0.0;
  const MatR& Xdaten = hermite(key.ansfunku) ? Xx : Xu;
  // The reference derivatives are formed in Gu and turned into the physical
  // ones row by row; J and its inverse on the stack.
  const int z0 = Gu.zeilen, s0 = Gu.spalten;
  const int d1 = Xx.zeilen;
  double stapel[2 * 9];
  MatR J, JI;
  if (d1 >= 1 && d1 <= 3) {
    J.ansicht(d1, d1, stapel);
    JI.ansicht(d1, d1, stapel + 9);
  }
  if (!ansu || !ansu->_L(Xdaten, xi, Lu) || !ansu->_L_xi(Xdaten, xi, Gu) || !_J(Xx, xi, J)) {
    Lu.init(-1, nullptr, 0.0);
    Gu.init(z0, s0, nullptr, 0.0);
    return false;
  }
  const bool binvers = TVM::inverse_nxn(J, JI, detJ);
  if (!binvers) JI.init(J.zeilen, J.spalten, nullptr, 0.0);
  // Gu := Gu JI with the arithmetic of the matrix product.
  if (Gu.spalten > 3 || JI.zeilen != Gu.spalten) {
    const MatR Lu_xi(Gu);
    TVM::produkt(Lu_xi, JI, Gu);
    return binvers;
  }
  double zeile[3];
  for (int i = 0; i < Gu.zeilen; ++i) {
    double* g = Gu[i];
    const int n = Gu.spalten;
    std::copy(g, g + n, zeile);
    std::fill(g, g + JI.spalten, 0.0);
    for (int k = 0; k < n; ++k) {
      const double aik = zeile[k];
      if (aik == 0.0) continue;
      for (int j = 0; j < JI.spalten; ++j)
        g[j] += aik * JI[k][j];
    }
  }
  return binvers;
}

std::ostream& operator<<(std::ostream& os, const Tdataset& ds) {
  static const ELEANS::Tdataset leer;
  const ELEANS::Tdataset& x = ds.ansx ? *ds.ansx : leer;
  const ELEANS::Tdataset& u = ds.ansu ? *ds.ansu : leer;
  return os << "[key =" << ds.name << "]\n"
            << "xikx     =" << x.xik << "\n"
            << "xiku     =" << u.xik << "\n"
            << "wkx      =" << x.wk << "\n"
            << "wku      =" << u.wk << "\n"
            << "randknox =" << x.randkno << "\n"
            << "randknou =" << u.randkno << "\n";
}

const Tdataset* get_datasetptr(const Tkey& key) {
  const Tregister& reg = register_typ();
  const auto it = reg.find(key);
  if (it != reg.end()) return &it->second;
  *konsaus << "\nELETYP::TdatasetPtr::getdatasetptr(): kein Eintrag zu Schluessel "
           << _name(key.dim, key.form, key.ansfunkx, key.ansfunku);
  return nullptr;
}

const Tdataset* get_datasetptr(const std::string& name) {
  return ELE::nach_name(
      register_typ(), name, [](const Tdataset& ds) { return ds.name; },
      "\nELETYP::TdatasetPtr::getdatasetptr(): kein Eintrag zu Name ");
}

const Tdataset& get_datasetref(const Tkey& key) {
  return ELE::vorhanden(get_datasetptr(key));
}
const Tdataset& get_datasetref(const std::string& name) {
  return ELE::vorhanden(get_datasetptr(name));
}

std::string& get_datasetnames(std::string& namen) {
  return ELE::alle_namen(register_typ(), namen, [](const Tdataset& ds) { return ds.name; });
}

} // namespace ELETYP
