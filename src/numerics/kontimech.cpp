#include "numerics/kontimech.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <sstream>

#include "frame/fehler.h"
#include "frame/mpmextern.h"
#include "numerics/mathehilf.h"

namespace MECH {

using TVM::MatR;
using TVM::VekR;

bool _hauptstreck(const MatR& F, VekR& lambda, VekR& w) {
  MatR Ft;
  TVM::Transponieren(F, Ft);
  const MatR C = Ft * F;
  MatR V;
  if (!TVM::eigen_nxn_sym(C, lambda, V, w)) {
    std::ostringstream text;
    text << "<bool _hauptstreck(...)> "
         << "Eigenwerte von FT*F nicht berechnet, FT*F=" << C;
    debtest(0, text.str());
    return false;
  }
  // F^T F is positive semi-definite; rounding may leave a tiny negative
  // eigenvalue of a singular F, whose stretch is 0.
  for (double& l : lambda)
    l = std::sqrt(std::max(l, 0.0));
  return true;
}

bool _F_zerlegung_multiplik(const MatR& F, const MatR& Fa, MatR& Fb) {
  MatR Fainv;
  double det = 0.0;
  if (!TVM::inverse_nxn(Fa, Fainv, det)) {
    *konsaus << "<bool _F_zerlegung_multiplik(...)>: Invertierung von Fa gescheitert\n"
             << "Fa=" << Fa << "\n"
             << std::flush;
    debtest(0, "<bool _F_zerlegung_multiplik(...)>");
    return false;
  }
  if (F.spalten != Fainv.zeilen) {
    debtest(0, "<bool _F_zerlegung_multiplik(...)>");
    return false;
  }
  Fb = F * Fainv;
  return true;
}

} // namespace MECH
