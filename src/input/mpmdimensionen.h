#pragma once
// Process-wide dimension settings of a run, set once by the model input.
// They start as the plane-stress two-dimensional case.

#include <iosfwd>

#include "element/eledefs.h"
#include "input/mpmdefs.h"
#include "numerics/tvm.h"

namespace MPM {

class TDimensionen {
public:
  static ELE::DIM dim;
  static RBDIM rbdim;
  static int dim1;                                // vector components
  static int dim2;                                // strain and stress components
  static int maxNq;                               // equals dim2
  static int maxNz;                               // dim2 + 2 internal variables per point
  static TVM::VekR vek_dim1, vek_dim2, vek_maxNz; // zero vectors of those lengths

  // Sets dim and rbdim and derives the counts and zero vectors.
  static void setzen(ELE::DIM d, RBDIM r);
};

std::ostream& operator<<(std::ostream& os, const TDimensionen& d);

} // namespace MPM
