#include "numerics/mathegeom.h"

#include <algorithm>

namespace MATHE {

namespace {
constexpr double eps = 2.220446049250313e-16;
}

bool pinstrecke(const TVM::TMatrix<double>& strecke, const TVM::TVektor<double>& p, bool tol) {
  if (strecke.zeilen < 2 || strecke.spalten < 1 || p.n < 1) return false;
  const double lo = std::min(strecke[0][0], strecke[1][0]);
  const double hi = std::max(strecke[0][0], strecke[1][0]);
  const double e = tol ? eps : 0.0;
  return lo < p[0] + e && p[0] - e < hi;
}

bool pinpolygon(const TVM::TMatrix<double>& ecken, const TVM::TVektor<double>& p, bool tol) {
  const int n = ecken.zeilen;
  if (n == 0) return true;
  if (ecken.spalten < 2 || p.n < 2) return false;
  const double e = tol ? eps : 0.0;
  for (int i = 0; i < n; ++i) {
    const double* a = ecken[i];
    const double* b = ecken[(i + 1) % n];
    // Cross product of the edge a->b with a->p: positive left of the edge.
    const double kreuz = (p[1] - a[1]) * (b[0] - a[0]) - (p[0] - a[0]) * (b[1] - a[1]);
    if (!(kreuz + e > 0.0)) return false;
  }
  return true;
}

} // namespace MATHE
