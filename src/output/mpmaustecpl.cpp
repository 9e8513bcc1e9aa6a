// Tecplot finite-element point file of the material points: one zone per
// data output of a completed step. The first record the file receives brings
// the title, the variables and the connectivity that later zones reuse.

#include <algorithm>
#include <sstream>
#include <string>

#include "model/mpmobjpunkt.h"
#include "output/mpmaus.h"
#include "solver/mpm.h"

namespace MPM {

bool Tmpm::_ausgabe_tecplot(ZEITPU z) {
  if (!bausdat_tecpl || z != ZEITPU_ZEITSCHRITTENDE) return true;
  // A zone without points is no valid Tecplot zone; the header waits for one.
  const int N = static_cast<int>(mpu.size());
  if (N == 0) return true;
  // Quadrilaterals over consecutive pairs of points, as across a strip.
  const int E = std::max(N / 2 - 1, 0);
  const bool berster = !bkopf_tecpl;
  std::ostringstream s;
  if (berster)
    s << "TITLE = \"" << titel << "\"\n"
      << "VARIABLES =\"X\", \"Y\", \"eps1\", \"eps2\", \"eps12\"\n";
  s << "ZONE T=\"" << t << "\", F=FEPOINT, N=" << N << ", E=" << E << ", ET=QUADRILATERAL"
    << (berster ? "\n" : ", D=(FECONNECT)\n");
  for (const auto& e : mpu) {
    TPunkt* p = PU_Z(e.second);
    const TVM::VekR& x = p->_x(KONFIGUR_MOMKONF);
    const TVM::VekR& eps = p->_zg().eps;
    for (int c = 0; c < x.n; ++c)
      s << _str(x[c], 10) << " ";
    for (int c = 0; c < eps.n; ++c)
      s << _str(eps[c], 10) << " ";
    s << "\n";
  }
  if (berster) {
    s << "\n";
    for (int j = 0; j < E; ++j)
      s << 2 * j + 1 << " " << 2 * j + 3 << " " << 2 * j + 4 << " " << 2 * j + 2 << "\n";
  }
  anhaengen(DATEI_TPL, s.str());
  bkopf_tecpl = true;
  return true;
}

} // namespace MPM
