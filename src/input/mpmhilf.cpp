#include "input/mpmhilf.h"

#include <climits>

namespace MPM {

TVM::VekR vektor_laenge(const std::vector<double>& liste, int n) {
  TVM::VekR v(n > 0 ? n : 0);
  for (int i = 0; i < v.n && i < static_cast<int>(liste.size()); ++i)
    v[i] = liste[i];
  return v;
}

bool nummer_plus(long long num, unsigned int plus, int& ergebnis) {
  const long long summe = num + static_cast<long long>(plus);
  if (num < 0 || summe > INT_MAX) return false;
  ergebnis = static_cast<int>(summe);
  return true;
}

long long zehnerpotenz_ueber(long long x) {
  long long p = 1;
  while (p <= x && p <= LLONG_MAX / 10)
    p *= 10;
  return p;
}

} // namespace MPM
