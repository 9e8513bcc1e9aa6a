#pragma once
// Material points, the Lagrangian carriers of mass and material history,
// and material-point sources, which emit new material points at regular
// times. Both name the material they consist of.

#include <functional>
#include <iosfwd>

#include "model/mpmobjpunkt.h"

namespace MPM {

class TMaterial;
class TMaterialpunkt;

// What a material iteration takes from the pass that runs it and reports
// back to it: the step length and, optionally, scratch for the derivative
// and its inverse; the pass learns of every inner step through `schritt`
// (where it counts and writes) and of a converged inelastic iteration
// through `binel`, which the iteration only ever sets.
struct TMatitkontext {
  double dt = 0.0;
  TVM::MatR* rz = nullptr; // null: own storage
  TVM::MatR* rzinv = nullptr;
  std::function<void(TMaterialpunkt&)> schritt; // after each inner step, the record updated
  bool binel = false;
};

class TMaterialpunkt : public TPunkt {
public:
  TMaterialpunkt(TModell* mpm, int num, OBJTYP erz, int matnum, double vol, const TVM::VekR& x,
                 const TVM::VekR& u, const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z,
                 int farbe);

  TAnsatz* _ansatz(OBJTYP stuetzot) override;
  TPunkt* _pu(OBJTYP ot) override;
  void _loeschen() override;
  void _text(std::ostream& os) const override;

  // Brings the internal variables into agreement with the current strain and
  // strain rate by a local Newton iteration, then updates stress and tangents.
  // False when the iteration failed (the caller abandons its pass).
  bool materialiteration(TMatitkontext& kontext);

  TPunkt* ipu_auf = nullptr;  // co-located integration point
  TPunkt* kno_auf = nullptr;  // co-located node
  TAnsatz* ans_kno = nullptr; // from nodes
  TMaterial* material = nullptr;
  unsigned int matit[5] = {0, 0, 0, 0, 0}; // bookkeeping of the material iteration; [0]: Newton steps
};

class TMaterialpunktquelle : public TPunkt {
public:
  TMaterialpunktquelle(TModell* mpm, int num, OBJTYP erz, double tA, double tE, double dt, int matnum,
                       double vol, const TVM::VekR& x, const TVM::VekR& u, const TVM::VekR& ut,
                       const TVM::VekR& utt, const TVM::VekR& z, int farbe);

  // Emits at tA, tA + dt, ... up to tE, and only when a base step begins
  // (`bgrundschritt`) at time t.
  bool _baktiv(double t, bool bgrundschritt) const;
  void _text(std::ostream& os) const override;

  double tA, tE, dt;
  TMaterial* material = nullptr;
};

inline TMaterialpunkt* MPU_Z(TObjbasis* obj) {
  return static_cast<TMaterialpunkt*>(obj);
}
inline TMaterialpunktquelle* MPUQUELL_Z(TObjbasis* obj) {
  return static_cast<TMaterialpunktquelle*>(obj);
}

TMaterialpunkt* mpu_erzeugen(TModell* mpm, int num, int matnum, double vol, TVM::VekR& x, const TVM::VekR& u,
                             const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z, int farbe);
TMaterialpunktquelle* mpuquell_erzeugen(TModell* mpm, int num, OBJTYP ot, double tA, double tE, double dt,
                                        int matnum, double vol, const TVM::VekR& x, const TVM::VekR& u,
                                        const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z,
                                        int farbe);

} // namespace MPM
