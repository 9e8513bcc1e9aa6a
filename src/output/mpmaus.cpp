#include "output/mpmaus.h"

#include <cmath>

#include "solver/mpm.h"

bool bausktr = true;

namespace MPM {

int Tmpm::_bausgabe() {
  bausktr = stw.bimmerausktr || _bausgabe(stw.dtausktr, stw.tausktr);
  ::bausktr = bausktr;
  bausdat = stw.bimmerausdat || _bausgabe(stw.dtausdat, stw.tausdat);
  return 1;
}

bool Tmpm::_bausgabe(double dtaus, const std::set<double>& taus) const {
  const double x = (t - stw.ta) / dtaus;
  if (std::fabs((x - std::nearbyint(x)) * dtaus) <= 2.220446049250313E-12) return true;
  for (double ta : taus)
    if (std::fabs(ta - t) <= 4.440892098500626E-15) return true;
  return false;
}

bool Tmpm::_bausgabe(unsigned int dNtaus, const std::set<unsigned int>& Ntaus) const {
  const long long schritte = static_cast<long long>(tt) - stw.tta;
  if (dNtaus != 0 && schritte % dNtaus == 0) return true;
  return tt >= 0 && Ntaus.count(static_cast<unsigned int>(tt)) > 0;
}

} // namespace MPM
