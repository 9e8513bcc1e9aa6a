#pragma once
// Mesh-free cloud approximation: every source point carries a cloud, an
// ellipse of the point's volume widened by an overlap factor and stretched by
// the point's deformation, with a truncated Gaussian weight; a target gets
// the moving-least-squares shape functions of a polynomial basis over the
// sources whose clouds hold it.

#include <iosfwd>
#include <memory>
#include <vector>

#include "approx/mpmans.h"
#include "input/mpmdefs.h"
#include "numerics/loeser.h"
#include "numerics/tvm.h"

namespace WOLKE {

// Highest polynomial degree of the basis.
constexpr unsigned int maxNg = 4;

// The cloud of one source point: centre, volume, overlap and the ellipse
// with the semi-axes a h0 along the angle phi and b h0 across it. Plain
// values fixed at construction, with the derived ones that the inside test
// and the weight use kept beside them; those two need dimension 2, other
// dimensions only give the base radius.
class TWolke {
public:
  TWolke() = default;
  // halbachsen: (a, b), the principal stretches; winkel: phi in degrees.
  TWolke(const TVM::VekR& zentrum, double vol0, double ueberlappung, const TVM::VekR& halbachsen,
         const TVM::VekR& winkel);
  TWolke(const TVM::VekR& zentrum, double vol0, double ueberlappung, double a, double b, double phi);

  // Radius of the circle (2-D), sphere (3-D) or half-length (1-D) of measure
  // vol0, times the overlap; 0 for other dimensions.
  double _h0() const { return h0; }
  // Radius of the ellipse in the direction theta (degrees).
  double _h(double theta) const;
  // x - centre lies within the ellipse (r <= h(theta)); never for a cloud
  // that is not valid.
  bool _bdrinnen(const TVM::VekR& x) const;
  bool _bdrinnen(const double* x) const {
    if (!bgueltig_) return false;
    const double dx = x[0] - zentrum[0], dy = x[1] - zentrum[1];
    // r^2 ((a sin)^2 + (b cos)^2) <= (a b h0)^2 in the axes of the ellipse
    const double bxi = b * (cosphi_ * dx + sinphi_ * dy), aeta = a * (cosphi_ * dy - sinphi_ * dx);
    return bxi * bxi + aeta * aeta <= abh2_;
  }
  // Weight at x and its gradient; both 0 outside.
  void _w_und_w_x(const TVM::VekR& x, double& w, TVM::VekR& w_x) const;
  void _w_und_w_x(const double* x, double& w, double* w_x) const;
  // A plane cloud of positive finite size that can hold points.
  bool _bgueltig() const { return bgueltig_; }
  // Half-widths of the axis-parallel box around the ellipse.
  void _kastenhalbweiten(double& hx, double& hy) const;
  // Largest radius, a h0 or b h0.
  double _radius() const;

  int dim = 0;
  double zentrum[3] = {0.0, 0.0, 0.0};
  double vol0 = 0.0;
  double ueberlappung = 0.0;
  double h0 = 0.0;
  double a = 1.0, b = 1.0; // semi-axis factors
  double phi = 0.0;        // direction of a, degrees

private:
  double cosphi_ = 1.0, sinphi_ = 0.0;
  double abh2_ = 0.0;       // (a b h0)^2
  double normierung_ = 0.0; // weight at the centre
  bool bgueltig_ = false;
};

std::ostream& operator<<(std::ostream& os, const TWolke& w);

// Number of basis functions of degree g in d dimensions: with `vollst` the
// tensor-product count (g+1)^d (d <= 3, else 0), without it the monomials of
// total degree at most g.
unsigned int _Nb(unsigned int g, bool vollst, unsigned int d);
// The largest degree g (at most 32) with _Nb(g) < Np; Np = 0 is reported and gives 0.
unsigned int _Ng(unsigned int Np, bool vollst, unsigned int d);
// Values (m) and derivatives (m x d) of the basis of degree g <= 4 at x in
// d = 1 or 2 dimensions. Complete basis: by total degree, x^k, x^(k-1) y,
// ..., y^k; tensor product: x^i y^j by i, then j. False for a degree or
// dimension outside these.
bool _b(unsigned int g, bool vollst, const TVM::VekR& x, TVM::VekR& b);
bool _b_x(unsigned int g, bool vollst, const TVM::VekR& x, TVM::MatR& b_x);

// Moving least squares at x over the clouds: L (one per cloud), G (one row
// per cloud, d columns) and the weight sum. Ng is lowered in place when the
// moment matrix cannot be inverted to 3 reliable digits with `loeser` or the
// gradients do not sum to zero. False (after a console message) when even
// degree 0 fails on the matrix; a failed gradient check at degree 0 asks
// the stop question.
bool _L_G(unsigned int& Ng, bool vollst, const std::vector<TWolke>& wolken, const TVM::VekR& x, TVM::VekR& L,
          TVM::MatR& G, double& wsum, MATHE::LOESER loeser = MATHE::LOESER_GAUSS);

// Work storage of `_L_G` and of the cloud approximations that a caller keeps
// between calls, so that building many of them allocates next to nothing.
struct TArbeit {
  TVM::MatR A, Ainv;
  std::vector<int> treffer;
  std::vector<const TWolke*> wolken;
};
// The same on clouds given by links, with work storage.
bool _L_G(unsigned int& Ng, bool vollst, const std::vector<const TWolke*>& wolken, const TVM::VekR& x,
          TVM::VekR& L, TVM::MatR& G, double& wsum, MATHE::LOESER loeser, TArbeit& arbeit);

// A uniform cell grid over a list of clouds: every valid cloud is entered in
// each cell its box touches, so that the clouds holding a point are among
// those of the point's cell. The cell size is the largest cloud radius,
// enlarged when the grid would have more than 4 cells per cloud. Refers to
// the list it was built for, which must outlive it unchanged.
class TWolkenraster {
public:
  explicit TWolkenraster(const std::vector<TWolke>& wolken);
  // Indices, ascending, of the clouds holding x.
  void _suchen(const double* x, std::vector<int>& treffer) const;
  long _Nzellen() const { return static_cast<long>(nx_) * ny_; }

private:
  const std::vector<TWolke>& wolken_;
  double x0_ = 0.0, y0_ = 0.0, x1_ = -1.0, y1_ = -1.0, zelle_ = 0.0;
  int nx_ = 0, ny_ = 0;
  std::vector<int> zellanfang_, eintraege_;
};

// The same by testing every cloud.
void _suchen_alle(const std::vector<TWolke>& wolken, const double* x, std::vector<int>& treffer);

} // namespace WOLKE

namespace MPM {

class TModell;
class TPunkt;

// The clouds of all active points of one source type in one configuration,
// in number order (nodes: the unknown nodes), and how they are searched: by
// the cell grid or by testing every one. Built for one group of
// approximations and dropped after it; links to the points, owns the clouds.
class TWolkenquellen {
public:
  TWolkenquellen(TModell& mpm, OBJTYP quellot, KONFIGUR konfigur, bool braster);
  TWolkenquellen(const TWolkenquellen&) = delete;
  TWolkenquellen& operator=(const TWolkenquellen&) = delete;
  // Indices into punkte and wolken, ascending, of the clouds holding x.
  void _suchen(const TVM::VekR& x, std::vector<int>& treffer) const;

  OBJTYP quellot;
  KONFIGUR konfigur;
  std::vector<TPunkt*> punkte;
  std::vector<WOLKE::TWolke> wolken;
  // Scratch storage of the approximations built from these clouds, one at a time.
  mutable WOLKE::TArbeit ablage;

private:
  std::unique_ptr<WOLKE::TWolkenraster> raster_; // null: every cloud is tested
};

// The configuration in which the clouds of an approximation are formed: that
// of the weak form (konfigur), except for nodes that do not move with the
// body and take values from points. Such a node stands at its mesh place,
// which only the current configuration knows (a node without material
// around it has no reference position), and its values need L alone.
KONFIGUR _wolkenkonfigur(const TModell& mpm, OBJTYP heimatot, OBJTYP stuetzot, KONFIGUR konfigur);

// The cloud of point p in configuration k: centre _x(k), volume vol0, the
// overlap given and, in the current configuration, the principal stretches
// and direction of the point's deformation gradient (in the reference
// configuration the cloud is undeformed).
WOLKE::TWolke _wolke(TPunkt& p, KONFIGUR k, double ueberlappung);

// Target an integration point, material point or node; sources the points
// whose clouds hold the target. The weight sum goes to `skal`, the degree
// used to `Ng`. The clouds of the sources are not kept: `_wolke` forms them
// anew from the source points.
class TAnsatzWolken : public TAnsatz {
public:
  TAnsatzWolken(TModell* mpm, TPunkt* heimatpu, OBJTYP heimatOT, OBJTYP stuetzOT);
  using TAnsatz::_init;
  // With the same kind: also the degree, the weight sum and the success.
  TAnsatz& operator=(const TAnsatz& b) override;
  // The cloud of source k as it stands now (as at the last build while the
  // sources have not moved).
  WOLKE::TWolke _wolke(int k) const;
  // Takes the result of a successful build for a point at the same place
  // from the same sources (an integration point on its material point)
  // instead of building its own; false, taking nothing, when the places,
  // source types or configurations differ.
  bool _init_von(const TAnsatzWolken& von, KONFIGUR konfigur, VERZERR verzerr);

protected:
  // Sources from the clouds the mesh setup has built for this group
  // (`TModell::wolkenquellen`), or from clouds built here and tested one by
  // one; target and clouds in the configuration `_wolkenkonfigur`.
  bool _init() override;

private:
  bool bergebnis_ = false; // the last build succeeded
  // Tell the system when the sources of a point from the nodes change.
  void quellen_pruefen(const std::vector<TPunkt*>& neu);
  void quellen_pruefen(const TWolkenquellen& quellen, const std::vector<int>& treffer);
};

inline TAnsatzWolken* ANSATZWOLKEN_Z(TAnsatz* a) {
  return static_cast<TAnsatzWolken*>(a);
}

} // namespace MPM
