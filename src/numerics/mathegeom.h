#pragma once
// Point-in-shape tests on reference coordinates.

#include "numerics/tvm.h"

namespace MATHE {

// p_0 lies strictly between the first entries of the two rows of `strecke`
// (in either order); with `tol` the bounds widen by 2^-52. False for a
// segment of fewer than two rows or an empty point.
bool pinstrecke(const TVM::TMatrix<double>& strecke, const TVM::TVektor<double>& p, bool tol);
// p lies strictly inside the convex polygon whose rows are its corners in
// counter-clockwise order; with `tol` points on an edge count as inside.
// No corners gives true; corners or a point with fewer than two coordinates
// give false.
bool pinpolygon(const TVM::TMatrix<double>& ecken, const TVM::TVektor<double>& p, bool tol);

} // namespace MATHE
