#pragma once
// Integration rules of the element library: for every combination of
// dimension, reference shape, kind of rule and point count the reference
// coordinates of the points and their weights.

#include <iosfwd>
#include <string>

#include "element/eledefs.h"
#include "numerics/tvm.h"

namespace ELEIPU {

// Names a rule. Ordered by dimension, shape, kind, point count; `name`
// follows from those and plays no part in the ordering.
struct Tkey {
  ELE::DIM dim = ELE::DIM_UNBEKANNT;
  ELE::FORM form = ELE::FORM_UNBEKANNT;
  ELE::IPU ipu = ELE::IPU_UNBEKANNT;
  unsigned N = 0;
  std::string name;

  Tkey() = default;
  Tkey(ELE::DIM d, ELE::FORM f, ELE::IPU i, unsigned n);
  bool operator<(const Tkey& b) const;
};

// Form name + kind name, then "N" and the count unless it is 0,
// e.g. "ViereckGaussN4", "LinieLeer".
std::string _name(ELE::DIM d, ELE::FORM f, ELE::IPU i, unsigned n);

// One rule. Created once by the registry and never changed; callers get
// const pointers into the registry. The weights sum to the reference measure.
struct Tdataset {
  Tkey key;
  TVM::MatR xip; // DIM1 x N, column i = reference coordinates of point i
  TVM::VekR wp;  // weight of each point
};

std::ostream& operator<<(std::ostream& os, const Tdataset& ds);

// Null after a console note when missing.
const Tdataset* get_datasetptr(const Tkey& key);
const Tdataset* get_datasetptr(const std::string& name);
// For rules known to exist; a missing one is noted as above and stops the run.
const Tdataset& get_datasetref(const Tkey& key);
const Tdataset& get_datasetref(const std::string& name);
// All names in key order, separated by line feeds.
std::string& get_datasetnames(std::string& namen);

} // namespace ELEIPU
