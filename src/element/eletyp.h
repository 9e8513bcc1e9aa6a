#pragma once
// Element-type datasets: the admissible pairs of a geometry family and an
// unknown family on one reference shape, the correspondence of their nodes,
// and the mapping between reference and physical coordinates of an element.

#include <iosfwd>
#include <string>

#include "element/eleans.h"
#include "element/eledefs.h"
#include "numerics/tvm.h"

namespace ELETYP {

// Names a dataset. Ordered by dimension, shape, geometry family, unknown
// family; `name` follows from those and plays no part in the ordering.
struct Tkey {
  ELE::DIM dim = ELE::DIM_UNBEKANNT;
  ELE::FORM form = ELE::FORM_UNBEKANNT;
  ELE::ANSFUNK ansfunkx = ELE::ANSFUNK_UNBEKANNT; // geometry
  ELE::ANSFUNK ansfunku = ELE::ANSFUNK_UNBEKANNT; // unknown field
  std::string name;

  Tkey() = default;
  Tkey(ELE::DIM d, ELE::FORM f, ELE::ANSFUNK x, ELE::ANSFUNK u);
  bool operator<(const Tkey& b) const;
};

// Form name + geometry family name + unknown family name,
// e.g. "ViereckLagro1Lagro2".
std::string _name(ELE::DIM d, ELE::FORM f, ELE::ANSFUNK x, ELE::ANSFUNK u);

// One pair of families. Refers to (does not own) the two shape-function
// datasets of the registry; created once by the registry and never changed.
//
// Element data: Xx is DIM1 x Nx, column k = physical coordinates of geometry
// node k in the geometry family's node order; Xu likewise for the unknown
// nodes.
//
// Node maps: an element lists its input nodes in the node order of the family
// with more nodes; the other family uses the coinciding subset. The maps give
// for each node of a family its index in that input list:
//  - Nx = Nu: kindxu[i] = kindux[i] = i where both nodes i coincide.
//  - Nx < Nu: kindux = (0, 1, ..., Nu-1); kindxu[i] = the unknown node at the
//    place of geometry node i.
//  - Nx > Nu: kindxu = (0, 1, ..., Nx-1); kindux[j] = the geometry node at the
//    place of unknown node j.
// An entry -1 means no coinciding node (reported by `init_kind`).
struct Tdataset {
  Tkey key;
  std::string name;
  const ELEANS::Tdataset* ansx = nullptr; // geometry family
  const ELEANS::Tdataset* ansu = nullptr; // unknown family
  TVM::TVektor<int> kindxu;               // one entry per geometry node
  TVM::TVektor<int> kindux;               // one entry per unknown node

  Tdataset() = default;
  // Looks up both families (a missing one is noted on the console by the
  // shape-function registry) and builds the node maps.
  explicit Tdataset(const Tkey& k);

  int Nx() const { return ansx ? ansx->Nk() : 0; }
  int Nu() const { return ansu ? ansu->Nk() : 0; }

  // Builds both node maps from the reference coordinates (exact comparison);
  // a map left incomplete is reported on the console.
  void init_kind();

  // x := Xx * Lx(xi).
  bool _x(const TVM::MatR& Xx, const TVM::VekR& xi, TVM::VekR& x) const;
  // J := Xx * Lx_xi(xi), J[i][j] = dx_i/dxi_j; false when the geometry family
  // cannot be evaluated or Xx does not fit.
  bool _J(const TVM::MatR& Xx, const TVM::VekR& xi, TVM::MatR& J) const;
  // Reference point xi of the physical point x by Newton iteration from the
  // reference origin; the result is the geometry family's inside test of xi.
  // A singular Jacobian or no convergence within 11 updates prints a
  // diagnosis and asks the stop question; when the run goes on the result is
  // false. Non-finite coordinates give false and xi = NaN without a question.
  bool _xi(const TVM::MatR& Xx, const TVM::VekR& x, TVM::VekR& xi, bool btol) const;
  // Whether x lies in the element: a segment or polygon test for straight
  // (order-1 Lagrange) geometry, else the inverse mapping.
  bool _bpinelement(const TVM::MatR& Xx, const TVM::VekR& x, bool btol) const;
  // Lu := unknown-family values at xi, Gu := their gradients with respect to
  // the physical coordinates (one row per shape function), detJ := det of the
  // geometry Jacobian. The Hermite families take their corner slopes from
  // the geometry, so they read Xx; the other families read neither Xx nor Xu.
  // Returns whether the Jacobian could be inverted; when not, Gu is zero and
  // detJ is the (near-zero) determinant. When a family cannot be evaluated,
  // Lu and Gu are zero-filled at their size, detJ is 0 and the result false.
  bool _Lu_Gu_detJ(const TVM::MatR& Xx, const TVM::MatR& Xu, const TVM::VekR& xi, double& detJ, TVM::VekR& Lu,
                   TVM::MatR& Gu) const;
};

std::ostream& operator<<(std::ostream& os, const Tdataset& ds);

// Null after a console note when missing.
const Tdataset* get_datasetptr(const Tkey& key);
const Tdataset* get_datasetptr(const std::string& name);
// For datasets known to exist; a missing one is noted as above and stops the run.
const Tdataset& get_datasetref(const Tkey& key);
const Tdataset& get_datasetref(const std::string& name);
// All names in key order, separated by line feeds.
std::string& get_datasetnames(std::string& namen);

} // namespace ELETYP
