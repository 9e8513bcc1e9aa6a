#include "element/eleipu.h"

#include <cmath>
#include <map>
#include <ostream>
#include <vector>

#include "element/eleans.h"
#include "element/eleglob.h"
#include "frame/mpmextern.h"

namespace ELEIPU {

using TVM::MatR;
using TVM::VekR;
using namespace ELE;

namespace {

// Points (coordinates point by point) and weights of a rule under construction.
struct Tregel {
  std::vector<double> p, w;
  void punkt(double x, double gewicht) {
    p.push_back(x);
    w.push_back(gewicht);
  }
  void punkt(double x, double y, double gewicht) {
    p.push_back(x);
    p.push_back(y);
    w.push_back(gewicht);
  }
};

Tregel linie(std::vector<double> p, std::vector<double> w) {
  return {std::move(p), std::move(w)};
}

// Triangle orbit of (a, a): (a, a), (1 - 2a, a), (a, 1 - 2a).
void orbit3(Tregel& r, double a, double w) {
  r.punkt(a, a, w);
  r.punkt(1.0 - 2.0 * a, a, w);
  r.punkt(a, 1.0 - 2.0 * a, w);
}
// The six points whose barycentric coordinates are the permutations of (a, b, 1 - a - b).
void orbit6(Tregel& r, double a, double b, double w) {
  const double c = 1.0 - a - b;
  r.punkt(a, b, w);
  r.punkt(c, a, w);
  r.punkt(b, c, w);
  r.punkt(b, a, w);
  r.punkt(a, c, w);
  r.punkt(c, b, w);
}

const ELEANS::Tdataset& lagrange(FORM f, ANSFUNK a) {
  return ELEANS::get_datasetref(ELEANS::Tkey(f == FORM_LINIE ? DIM_1D : DIM_2D, f, a));
}

// The nodes of a Lagrange dataset with the given weights.
Tregel knoten(FORM f, ANSFUNK a, std::vector<double> w) {
  const ELEANS::Tdataset& ds = lagrange(f, a);
  Tregel r;
  for (int k = 0; k < ds.Nk(); ++k)
    for (int i = 0; i < ds.xik.zeilen; ++i)
      r.p.push_back(ds.xik[i][k]);
  r.w = std::move(w);
  return r;
}

// The nodes of a Lagrange dataset with its nodal shares as weights.
Tregel knoten(FORM f, ANSFUNK a) {
  const ELEANS::Tdataset& ds = lagrange(f, a);
  return knoten(f, a, std::vector<double>(ds.wk.begin(), ds.wk.end()));
}

// Tensor rule of a line rule whose points follow the node order of the line
// Lagrange dataset of family a; the points follow the quadrilateral's nodes.
Tregel tensor(const Tregel& li, ANSFUNK a) {
  const ELEANS::Tdataset& dl = lagrange(FORM_LINIE, a);
  const ELEANS::Tdataset& dv = lagrange(FORM_VIERECK, a);
  auto index = [&dl](double x) {
    for (int m = 0; m < dl.Nk(); ++m)
      if (dl.xik[0][m] == x) return m;
    return 0;
  };
  Tregel r;
  for (int k = 0; k < dv.Nk(); ++k) {
    const int i = index(dv.xik[0][k]), j = index(dv.xik[1][k]);
    r.punkt(li.p[i], li.p[j], li.w[i] * li.w[j]);
  }
  return r;
}

using Tregister = std::map<Tkey, Tdataset>;

void eintragen(Tregister& reg, FORM f, IPU i, const Tregel& r) {
  const DIM d = f == FORM_LINIE ? DIM_1D : DIM_2D;
  const int d1 = DIM1(d), N = static_cast<int>(r.w.size());
  Tdataset ds;
  ds.key = Tkey(d, f, i, static_cast<unsigned>(N));
  ds.xip.init(d1, N, nullptr);
  for (int k = 0; k < N; ++k)
    for (int c = 0; c < d1; ++c)
      ds.xip[c][k] = r.p[k * d1 + c];
  ds.wp = VekR(r.w);
  reg.emplace(ds.key, std::move(ds));
}

void gauss(Tregister& reg) {
  const FORM LI = FORM_LINIE, DR = FORM_DREIECK, VI = FORM_VIERECK;
  const double g2 = 1.0 / std::sqrt(3.0), g3 = std::sqrt(0.6);
  const double r4 = 2.0 * std::sqrt(1.2), a4 = std::sqrt((3.0 + r4) / 7.0), b4 = std::sqrt((3.0 - r4) / 7.0);
  const double wa4 = (18.0 - std::sqrt(30.0)) / 36.0, wb4 = (18.0 + std::sqrt(30.0)) / 36.0;
  const Tregel li1 = linie({0.0}, {2.0});
  const Tregel li2 = linie({-g2, g2}, {1.0, 1.0});
  const Tregel li3 = linie({-g3, g3, 0.0}, {5.0 / 9.0, 5.0 / 9.0, 8.0 / 9.0});
  const Tregel li4 = linie({-a4, a4, -b4, b4}, {wa4, wa4, wb4, wb4});
  for (const Tregel* r : {&li1, &li2, &li3, &li4})
    eintragen(reg, LI, IPU_GAUSS, *r);

  const double d3 = 1.0 / 3.0;
  Tregel r;
  r.punkt(d3, d3, 0.5);
  eintragen(reg, DR, IPU_GAUSS, r);
  r = Tregel();
  orbit3(r, 1.0 / 6.0, 1.0 / 6.0);
  eintragen(reg, DR, IPU_GAUSS, r);
  r = Tregel();
  r.punkt(d3, d3, -27.0 / 96.0);
  orbit3(r, 0.2, 25.0 / 96.0);
  eintragen(reg, DR, IPU_GAUSS, r);
  r = Tregel();
  orbit3(r, 0.445948490916, 0.111690794839);
  orbit3(r, 0.09157621351, 0.054975871828);
  eintragen(reg, DR, IPU_GAUSS, r);
  r = Tregel();
  const double w15 = std::sqrt(15.0);
  r.punkt(d3, d3, 0.1125);
  orbit3(r, (6.0 + w15) / 21.0, (155.0 + w15) / 2400.0);
  orbit3(r, (6.0 - w15) / 21.0, (155.0 - w15) / 2400.0);
  eintragen(reg, DR, IPU_GAUSS, r);
  r = Tregel();
  orbit3(r, 0.437525248383, 0.10297525238);
  orbit6(r, 0.165409927390, 0.037477420750, 0.031845707143);
  eintragen(reg, DR, IPU_GAUSS, r);
  r = Tregel();
  orbit3(r, 0.063089014492, 0.025422453185);
  orbit3(r, 0.249286745171, 0.058393137863);
  orbit6(r, 0.053145049845, 0.310352451034, 0.041425537809);
  eintragen(reg, DR, IPU_GAUSS, r);
  r = Tregel();
  r.punkt(d3, d3, -0.074785022234);
  orbit3(r, 0.260345966079, 0.087807628717);
  orbit3(r, 0.065130102902, 0.026673617804);
  orbit6(r, 0.048690315425, 0.312865496005, 0.038556880445);
  eintragen(reg, DR, IPU_GAUSS, r);

  r = Tregel();
  r.punkt(0.0, 0.0, 4.0);
  eintragen(reg, VI, IPU_GAUSS, r);
  r = Tregel();
  const double v3 = std::sqrt(2.0 / 3.0), v6 = 1.0 / std::sqrt(6.0), v2 = std::sqrt(0.5);
  r.punkt(v3, 0.0, 4.0 / 3.0);
  r.punkt(-v6, v2, 4.0 / 3.0);
  r.punkt(-v6, -v2, 4.0 / 3.0);
  eintragen(reg, VI, IPU_GAUSS, r);
  eintragen(reg, VI, IPU_GAUSS, tensor(li2, ANSFUNK_LAGRO1));
  // Degree 5: a pair on the diagonal, four points at the coordinates b and c
  // (b^2 + c^2 = 14/15, b c = 1/3) turned against it.
  r = Tregel();
  const double a7 = std::sqrt(7.0 / 15.0), s7 = std::sqrt(1.6), t7 = std::sqrt(4.0 / 15.0);
  const double b7 = 0.5 * (s7 + t7), c7 = 0.5 * (s7 - t7);
  r.punkt(0.0, 0.0, 8.0 / 7.0);
  r.punkt(-a7, -a7, 25.0 / 42.0);
  r.punkt(a7, a7, 25.0 / 42.0);
  r.punkt(c7, -b7, 5.0 / 12.0);
  r.punkt(b7, -c7, 5.0 / 12.0);
  r.punkt(-c7, b7, 5.0 / 12.0);
  r.punkt(-b7, c7, 5.0 / 12.0);
  eintragen(reg, VI, IPU_GAUSS, r);
  eintragen(reg, VI, IPU_GAUSS, tensor(li3, ANSFUNK_LAGRO2));
  eintragen(reg, VI, IPU_GAUSS, tensor(li4, ANSFUNK_LAGRO3));
}

void newton_cotes(Tregister& reg) {
  const FORM LI = FORM_LINIE, DR = FORM_DREIECK, VI = FORM_VIERECK;
  const Tregel li2 = knoten(LI, ANSFUNK_LAGRO1, {1.0, 1.0});
  const Tregel li3 = knoten(LI, ANSFUNK_LAGRO2, {1.0 / 3.0, 1.0 / 3.0, 4.0 / 3.0});
  const Tregel li4 = knoten(LI, ANSFUNK_LAGRO3, {0.25, 0.25, 0.75, 0.75});
  for (const Tregel* r : {&li2, &li3, &li4})
    eintragen(reg, LI, IPU_NEWCOTGESCHL, *r);

  const double e6 = 1.0 / 6.0, e60 = 1.0 / 60.0, k = 3.0 / 80.0;
  eintragen(reg, DR, IPU_NEWCOTGESCHL, knoten(DR, ANSFUNK_LAGRO1, {e6, e6, e6}));
  eintragen(reg, DR, IPU_NEWCOTGESCHL, knoten(DR, ANSFUNK_LAGRO2, {0.0, 0.0, 0.0, e6, e6, e6}));
  eintragen(reg, DR, IPU_NEWCOTGESCHL,
            knoten(DR, ANSFUNK_LAGRO3, {e60, e60, e60, k, k, k, k, k, k, 9.0 / 40.0}));

  eintragen(reg, VI, IPU_NEWCOTGESCHL, tensor(li2, ANSFUNK_LAGRO1));
  eintragen(reg, VI, IPU_NEWCOTGESCHL, tensor(li3, ANSFUNK_LAGRO2));
  eintragen(reg, VI, IPU_NEWCOTGESCHL, tensor(li4, ANSFUNK_LAGRO3));
}

void raster(Tregister& reg) {
  const FORM LI = FORM_LINIE, DR = FORM_DREIECK, VI = FORM_VIERECK;
  const double z3 = 2.0 / 3.0;
  const Tregel li1 = linie({0.0}, {2.0});
  const Tregel li2 = linie({-0.5, 0.5}, {1.0, 1.0});
  const Tregel li3 = linie({-z3, z3, 0.0}, {z3, z3, z3});
  const Tregel li4 = linie({-0.75, 0.75, -0.25, 0.25}, {0.5, 0.5, 0.5, 0.5});
  for (const Tregel* r : {&li1, &li2, &li3, &li4})
    eintragen(reg, LI, IPU_RASTEROFFEN, *r);
  Tregel r;
  r.punkt(0.0, 0.0, 4.0);
  eintragen(reg, VI, IPU_RASTEROFFEN, r);
  eintragen(reg, VI, IPU_RASTEROFFEN, tensor(li2, ANSFUNK_LAGRO1));
  eintragen(reg, VI, IPU_RASTEROFFEN, tensor(li3, ANSFUNK_LAGRO2));
  eintragen(reg, VI, IPU_RASTEROFFEN, tensor(li4, ANSFUNK_LAGRO3));

  for (FORM f : {LI, DR, VI})
    for (ANSFUNK a : {ANSFUNK_LAGRO1, ANSFUNK_LAGRO2, ANSFUNK_LAGRO3})
      eintragen(reg, f, IPU_RASTERGESCHL, knoten(f, a));
}

Tregister fuellen() {
  Tregister reg;
  for (FORM f : {FORM_LINIE, FORM_DREIECK, FORM_VIERECK})
    eintragen(reg, f, IPU_LEER, Tregel());
  gauss(reg);
  newton_cotes(reg);
  raster(reg);
  return reg;
}

// Filled on first use, never changed afterwards.
const Tregister& register_ipu() {
  static const Tregister reg = fuellen();
  return reg;
}

} // namespace

Tkey::Tkey(DIM d, FORM f, IPU i, unsigned n) : dim(d), form(f), ipu(i), N(n), name(_name(d, f, i, n)) {}

bool Tkey::operator<(const Tkey& b) const {
  if (dim != b.dim) return dim < b.dim;
  if (form != b.form) return form < b.form;
  if (ipu != b.ipu) return ipu < b.ipu;
  return N < b.N;
}

std::string _name(DIM, FORM f, IPU i, unsigned n) {
  std::string name = std::string(str_FORM(f)) + str_IPU(i);
  if (n != 0) name += "N" + std::to_string(n);
  return name;
}

std::ostream& operator<<(std::ostream& os, const Tdataset& ds) {
  return os << "[key =" << ds.key.name << "]\n"
            << "xip =" << ds.xip << "\n"
            << "wp  =" << ds.wp << "\n";
}

const Tdataset* get_datasetptr(const Tkey& key) {
  const Tregister& reg = register_ipu();
  const auto it = reg.find(key);
  if (it != reg.end()) return &it->second;
  *konsaus << "\nELEIPU::TdatasetPtr::getdatasetptr(): kein Eintrag zu Schluessel "
           << _name(key.dim, key.form, key.ipu, key.N);
  return nullptr;
}

const Tdataset* get_datasetptr(const std::string& name) {
  return ELE::nach_name(
      register_ipu(), name, [](const Tdataset& ds) { return ds.key.name; },
      "\nELEIPU::TdatasetPtr::getdatasetptr(): kein Eintrag zu Name ");
}

const Tdataset& get_datasetref(const Tkey& key) {
  return ELE::vorhanden(get_datasetptr(key));
}
const Tdataset& get_datasetref(const std::string& name) {
  return ELE::vorhanden(get_datasetptr(name));
}

std::string& get_datasetnames(std::string& namen) {
  return ELE::alle_namen(register_ipu(), namen, [](const Tdataset& ds) { return ds.key.name; });
}

} // namespace ELEIPU
