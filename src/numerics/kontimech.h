#pragma once
// Kinematics of plane deformation gradients: principal stretches.

#include "numerics/tvm.h"

namespace MECH {

// Principal stretches of F: the square roots of the eigenvalues of F^T F, in
// the order of the symmetric eigen-solver; w receives that solver's angle
// vector. False (outputs as the solver left them) when the eigenproblem
// cannot be solved.
bool _hauptstreck(const TVM::MatR& F, TVM::VekR& lambda, TVM::VekR& w);

} // namespace MECH

namespace MECH {

// Scaled-Voigt matrix P of the map A -> F A F^T on symmetric plane tensors, so
// that the push-forward of a stress is P s and of a tangent P C P^T (times
// 1/J for the Kirchhoff-to-Cauchy step).
TVM::MatR& _P_voigt(const TVM::MatR& F, TVM::MatR& P);

// Variation of the Green-Lagrange strain, dE = sym(F^T dH), as a scaled-Voigt
// matrix over the displacements of n sources (dim1 per source, in source
// order), from their reference gradients G (n x 2).
TVM::MatR& _B_F(const TVM::MatR& G, const TVM::MatR& F, TVM::MatR& B);

// Adds the geometric stiffness V g_k^T S g_l I (stress S as a scaled-Voigt
// vector, gradients G n x 2) to the block matrix K (2n x 2n).
void _K_geo_addieren(const TVM::MatR& G, const TVM::VekR& S, double V, TVM::MatR& K);

// Adds the stress terms of small-strain forces on the current geometry,
// V (sigma g_k g_l^T - sigma g_l g_k^T) for sources k, l, to K (2n x 2n); the
// first comes from the change of volume, the second from that of g_k.
void _K_spannung_addieren(const TVM::MatR& G, const TVM::VekR& sig, double V, TVM::MatR& K);

} // namespace MECH
