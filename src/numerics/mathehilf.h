#pragma once
// Scalar helpers: tolerant comparisons, rounding, random numbers, angles in
// degrees, polar coordinates and the eigenproblem of small symmetric matrices.

#include "numerics/tvm.h"

namespace MATHE {

// b - |tol| < a < b + |tol|, strict on both sides.
bool fastgleich(double a, double b, double tol);
// -|tol| < a < |tol|.
bool fastnull(double a, double tol);
// Rounds half up to `stellen` decimals (negative: to tens, hundreds, ...).
// Values already finer than the double spacing, and non-finite values, come
// back unchanged.
double runde(double x, int stellen);
// sqrt(a^2 + b^2) without intermediate overflow; infinite when a or b is.
double pythag(double a, double b);
// a + rand() / (RAND_MAX + 1) * (b - a): in [a, b) for a < b, in (b, a] for
// b < a. Consumes one value of the C library generator.
double zufall(double a, double b);

// w reduced to (-180, 180]; NaN for a non-finite w.
double winkel_vereinfachen(double w);
// Axis of the direction w: 1 for 0, -1 for 180, 2 for 90, -2 for 270 degrees
// (modulo 360), else 0. With `tol` a distance below 360 * 2^-52 degrees to
// the axis counts as on it. NaN and infinities give 0.
int winkel_richtung(double w, bool tol);
// w1 and w2 name the same direction modulo 360 degrees, or modulo 180 with
// `halbkreis` (opposite directions count as equal). With `tol` a distance
// below period * 2^-52 counts as equal.
bool b_winkel_gleich(double w1, double w2, bool tol, bool halbkreis);
// Sine and cosine of w degrees, exactly 0, 1 or -1 on the axes.
double sin(double w, bool tol);
double cos(double w, bool tol);
// Polar form of a vector of length 2: r = |v|, winkel (length 1) in
// (-180, 180] degrees. Squared length below 2^-52 or another vector length
// gives r = 0 and angle 0.
void polar(const TVM::TVektor<double>& v, double& r, TVM::TVektor<double>& winkel);

} // namespace MATHE

namespace TVM {

// Eigenvalues (descending) and eigenvectors (rows of V) of a symmetric matrix.
// Order 1: lambda = (A00), V = (1), winkel empty. Order 2: winkel holds the
// angle of the first eigenvector (degrees, its cosine >= 0). Order 3 is not
// provided: lambda, V and winkel become zero of size 3, 3x3 and 2 and the
// result is false. Other orders, non-square, unsymmetric or non-finite input:
// false with the outputs untouched.
bool eigen_nxn_sym(const TMatrix<double>& A, TVektor<double>& lambda, TMatrix<double>& V,
                   TVektor<double>& winkel);

} // namespace TVM
