#pragma once
// Point loads: a time function acting as an acceleration, a force or a
// prescribed displacement on a set of nodes or material points, in the
// direction of an angle in degrees.

#include <iosfwd>
#include <set>
#include <vector>

#include "model/mpmobjbas.h"
#include "numerics/tvm.h"

namespace MPM {

class TPunkt;

class TPunktlast : public TObjbasis {
public:
  // Duplicate target numbers are reported on the error log and dropped.
  TPunktlast(TModell* mpm, int nummer, OBJTYP ziel, LASTTYP art, const std::vector<unsigned int>& ziele,
             double beta, LASTFUNKTYP ftyp, double tA, double tE, const TVM::VekR& c);

  // Value and direction of this load on `punkt` at time t, when it acts
  // there with kind `art` (tA <= t < tE); coefficients missing from a short
  // list count as 0.
  bool _last(double t, const TPunkt* punkt, LASTTYP art, double& wert, double& beta) const;
  // The value of the time function at t, whatever the point: false (wert 0)
  // outside [tA, tE) or for an unknown function type.
  bool _wert(double t, double& wert) const;

  OBJTYP ziel;
  LASTTYP art;
  std::set<unsigned int> Zielobjektnummern;
  double beta;
  LASTFUNKTYP ftyp;
  double tA, tE;
  TVM::VekR c;
};

std::ostream& operator<<(std::ostream& os, const TPunktlast& pl);

inline TPunktlast* PLA_Z(TObjbasis* obj) {
  return static_cast<TPunktlast*>(obj);
}

// Checks the record, shifts the target numbers by the offset of their point
// type and creates the load; null after an error-log message.
TPunktlast* pula_erzeugen(TModell* mpm, int nummer, OBJTYP ziel, LASTTYP art,
                          const std::vector<unsigned int>& ziele, double beta, LASTFUNKTYP ftyp, double tA,
                          double tE, const TVM::VekR& c);

} // namespace MPM
