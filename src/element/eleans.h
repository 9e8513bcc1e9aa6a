#pragma once
// Shape-function datasets of the element library: for every combination of
// dimension, reference shape and family the reference nodes, their shares of
// the reference measure, the boundary order and the shape functions.

#include <iosfwd>
#include <string>

#include "element/eledefs.h"
#include "numerics/tvm.h"

namespace ELEANS {

// Names a dataset. Ordered by dimension, shape, family; `name` follows from
// those three and plays no part in the ordering.
struct Tkey {
  ELE::DIM dim = ELE::DIM_UNBEKANNT;
  ELE::FORM form = ELE::FORM_UNBEKANNT;
  ELE::ANSFUNK ansfunk = ELE::ANSFUNK_UNBEKANNT;
  std::string name;

  Tkey() = default;
  Tkey(ELE::DIM d, ELE::FORM f, ELE::ANSFUNK a);
  bool operator<(const Tkey& b) const;
};

// Form name followed by the family name, e.g. "ViereckLagro2".
std::string _name(ELE::DIM d, ELE::FORM f, ELE::ANSFUNK a);

// Inside test on the reference element; `btol` widens it by the machine epsilon.
using Tbxi = bool (*)(const TVM::VekR& xi, bool btol);
// Values (Nk*NLk) and reference derivatives ((Nk*NLk) x DIM1) at xi. The
// element data xk (DIM1 x nodes, physical) is read by the Hermite families
// only: the line family of order N reads row 0, columns 0 to N, as the nodes
// of the line Lagrange dataset of order N; the quadrilateral ones of order N
// read rows 0 and 1 of the edge nodes of the Lagrange (or serendipity)
// geometry of that order, columns 0-3 for order 1, 0-7 for order 2 and 0-11
// for order 3. Too little element data gives false.
using TL = bool (*)(const TVM::MatR& xk, const TVM::VekR& xi, TVM::VekR& L);
using TL_xi = bool (*)(const TVM::MatR& xk, const TVM::VekR& xi, TVM::MatR& L_xi);

// One shape-function family on one reference shape. Created once by the
// registry and never changed; callers get const pointers into the registry.
struct Tdataset {
  Tkey key;
  TVM::MatR xik;             // DIM1 x Nk, column k = reference coordinates of node k
  TVM::VekR wk;              // share of the reference measure per node
  TVM::TVektor<int> randkno; // boundary nodes in their order around the element
  Tbxi _bxi = nullptr;
  TL _L = nullptr;
  TL_xi _L_xi = nullptr;

  int Nk() const { return xik.spalten; }
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

} // namespace ELEANS

namespace ELE {

// Node count of a family on a shape; 0 without meaning.
int Nknoten(FORM f, ANSFUNK a);

// The functions below are silent and false when the key has no dataset.
bool _bxi(const TVM::VekR& xi, const ELEANS::Tkey& key, bool btol);
bool L_(const TVM::MatR& xk, const TVM::VekR& xi, TVM::VekR& L, const ELEANS::Tkey& key);
inline bool _L(const TVM::MatR& xk, const TVM::VekR& xi, TVM::VekR& L, const ELEANS::Tkey& key) {
  return L_(xk, xi, L, key);
}
bool _L_xi(const TVM::MatR& xk, const TVM::VekR& xi, TVM::MatR& L_xi, const ELEANS::Tkey& key);
// x := xk * L(xi); false also when xk has not one column per shape function.
bool _x(const TVM::MatR& xk, const TVM::VekR& xi, TVM::VekR& x, const ELEANS::Tkey& key);

// Centroid of the reference element, DIM1 components.
TVM::VekR& _schwerpu_einheitsele(DIM d, FORM f, TVM::VekR& xs);

// Interpolation matrix of a vector field: DIM1 x (DIM1*Nk*NLk), unknowns node
// by node, then component, then per-node function. Zero when L does not have
// Nk*NLk entries; empty for an unknown dimension or unusable counts.
TVM::MatR& _Lmat(const TVM::VekR& L, TVM::MatR& Lmat, DIM d, int Nk, int NLk);
// Strain matrix for scaled Voigt strains from the physical gradients G
// ((Nk*NLk) x DIM1): DIM2 x (DIM1*Nk*NLk). Zero when G has another size;
// empty for 3-D, an unknown dimension or unusable counts.
TVM::MatR& _Gepsmat(const TVM::MatR& G, TVM::MatR& B, DIM d, int Nk, int NLk);

} // namespace ELE
