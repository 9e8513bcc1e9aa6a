#pragma once
// Contact lines: an ordered chain of support points (nodes or material points
// of the model) carrying a smooth line that other points may touch. The line
// owns its support elements, contact nodes and contact elements; the support
// points belong to the model. Its geometry follows the support points.

#include <iosfwd>
#include <memory>
#include <vector>

#include "model/mpmobjbas.h"
#include "numerics/tvm.h"
#include "solver/mpmkonele.h"

namespace MPM {

class TPunkt;

// One contact line: its support points (links into the model) and the parts
// built from them, which it owns.
class TKontaktlinie : public TObjbasis {
public:
  // Builds the chain from the point numbers (already shifted by the input's
  // offset); the line is closed when the first and last number agree. Fewer
  // than two distinct support points ask whether to stop.
  TKontaktlinie(TModell* mpm, int num, OBJTYP puobjtyp, KONLINTYP typ, std::vector<unsigned int>& punum);

  // Geometry from the current positions: support elements, contact nodes,
  // contact elements, in this order.
  void init();
  // The contact of pu with the nearest of the elements that report one (a
  // later element replaces an earlier one only with a strictly smaller |g|).
  bool kontakt(TPunkt* pu, double& g, TVM::VekR& n) const;

  OBJTYP stuetzputyp;
  KONLINTYP konlintyp;
  bool boffen = true;
  std::vector<TPunkt*> stuetzpu;
  std::vector<std::unique_ptr<TStuetzelement>> stuetzele;
  std::vector<std::unique_ptr<TKontaktknoten>> konkno;
  std::vector<std::unique_ptr<TKontaktelement>> konele;
  int Nstuetzk = 0, Nstuetze = 0, Nk = 0, Ne = 0;
};

inline TKontaktlinie* KONLIN_Z(TObjbasis* obj) {
  return static_cast<TKontaktlinie*>(obj);
}
inline const TKontaktlinie* KONLIN_Z(const TObjbasis* obj) {
  return static_cast<const TKontaktlinie*>(obj);
}

// Checks the record, marks the support points as contact points, creates the
// line and registers it; null after an error-log message. The numbers in
// punum are shifted by the offset of their type, and unknown ones removed.
TKontaktlinie* konlin_erzeugen(TModell* mpm, int num, OBJTYP puobjtyp, KONLINTYP typ,
                               std::vector<unsigned int>& punum);

std::ostream& operator<<(std::ostream& os, const TKontaktlinie& kl);

} // namespace MPM
