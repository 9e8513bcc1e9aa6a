#pragma once
// The parts of a contact line: straight support elements between support
// points, contact nodes with a position and a unit tangent, and cubic contact
// elements between two contact nodes that project points onto themselves.
// A contact line owns all of them; they only link to the model's points and
// to each other. Positions are always those of the current configuration.

#include <iosfwd>

#include "numerics/tvm.h"

namespace MPM {

class TModell;
class TPunkt;

// The chord from k1 to k2: length L and unit tangent t (zero when the two
// points coincide or one is missing).
class TStuetzelement {
public:
  TStuetzelement(unsigned int num, TPunkt* k1, TPunkt* k2);
  void init();

  unsigned int num;
  TPunkt* k1;
  TPunkt* k2;
  double L = 0.0;
  TVM::VekR t;
};

// A point of the smooth line with its unit tangent. The base class only
// reports that it was used.
class TKontaktknoten {
public:
  TKontaktknoten();
  virtual ~TKontaktknoten() = default;
  virtual void init();
  // Whether p is one of the support points this node is built from.
  virtual bool ist_stuetzpu(const TPunkt* p) const;
  virtual void _text(std::ostream& os) const;

  TVM::VekR x, t;
};

// A node at the support point shared by its two elements (one of them null at
// the ends of an open line); its tangent is the mean of theirs.
class TKontaktknoten_kno : public TKontaktknoten {
public:
  TKontaktknoten_kno(TStuetzelement* stuetzele1, TStuetzelement* stuetzele2);
  void init() override;
  bool ist_stuetzpu(const TPunkt* p) const override;
  void _text(std::ostream& os) const override;

  TStuetzelement* stuetzele1;
  TStuetzelement* stuetzele2;
};

// A node at the parameter xik in [-1, 1] of one support element, with that
// element's tangent.
class TKontaktknoten_ele : public TKontaktknoten {
public:
  TKontaktknoten_ele(TStuetzelement* stuetzele, double xik);
  void init() override;
  bool ist_stuetzpu(const TPunkt* p) const override;
  void _text(std::ostream& os) const override;

  TStuetzelement* stuetzele;
  double xik;
};

// The cubic x(xi) = a0 + a1 xi + a2 xi^2 + a3 xi^3, xi in [-1, 1], from k1 to
// k2 with the directions of their tangents. Its normal is the tangent turned
// clockwise. Reads the search distance from the simulation's control values.
class TKontaktelement {
public:
  TKontaktelement(TModell* mpm, TKontaktknoten* k1, TKontaktknoten* k2);
  void init();

  TVM::VekR& _x(double xi, TVM::VekR& x) const;
  // Unit normal and unit tangent at xi; (1, 0) where the tangent vanishes.
  TVM::VekR& _n(double xi, TVM::VekR& n) const;
  TVM::VekR& _t(double xi, TVM::VekR& t) const;
  // Residual and Jacobian of x(xi) + eta (x2', -x1') - p in (xi, eta);
  // whether -1 <= xi <= 1.
  bool _r_und_r_z(const TVM::VekR& xieta, const TVM::VekR& p, TVM::VekR& r, TVM::MatR& rz) const;
  // Gap g along the normal n of the closest point of this element to pu;
  // false when pu cannot touch it (a support point, too far, no projection).
  bool kontakt(TPunkt* pu, double& g, TVM::VekR& n) const;
  void _text(std::ostream& os) const;

  TModell* mpm;
  TKontaktknoten* k1;
  TKontaktknoten* k2;
  double L = 0.0, l1 = 0.0, l2 = 0.0;
  double a[4][2] = {}; // a0 .. a3

private:
  void ableitungen(double xi, double x[2], double x1[2], double x2[2]) const;
  void residuum(double xi, double eta, const double p[2], double r[2], double rz[2][2]) const;
};

std::ostream& operator<<(std::ostream& os, const TStuetzelement& e);
std::ostream& operator<<(std::ostream& os, const TKontaktknoten& k);
std::ostream& operator<<(std::ostream& os, const TKontaktelement& e);

} // namespace MPM
