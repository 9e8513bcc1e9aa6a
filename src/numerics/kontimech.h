#pragma once
// Kinematics of plane deformation gradients: principal stretches and the
// multiplicative split F = Fb * Fa.

#include "numerics/tvm.h"

namespace MECH {

// Principal stretches of F: the square roots of the eigenvalues of F^T F, in
// the order of the symmetric eigen-solver; w receives that solver's angle
// vector. False (outputs as the solver left them) when the eigenproblem
// cannot be solved.
bool _hauptstreck(const TVM::MatR& F, TVM::VekR& lambda, TVM::VekR& w);

// Fb = F * Fa^-1. False, with Fb untouched, when Fa cannot be inverted or the
// sizes do not fit.
bool _F_zerlegung_multiplik(const TVM::MatR& F, const TVM::MatR& Fa, TVM::MatR& Fb);

} // namespace MECH
