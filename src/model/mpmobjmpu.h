#pragma once
// Material points, the Lagrangian carriers of mass and material history,
// and material-point sources, which emit new material points at regular
// times. Both name the material they consist of.

#include <iosfwd>

#include "model/mpmobjpunkt.h"

namespace MPM {

class TMaterial;

class TMaterialpunkt : public TPunkt {
public:
  TMaterialpunkt(Tmpm* mpm, int num, OBJTYP erz, int matnum, double vol, const TVM::VekR& x,
                 const TVM::VekR& u, const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z,
                 int farbe);

  TAnsatz* _ansatz(OBJTYP stuetzot) override;
  TPunkt* _pu(OBJTYP ot) override;
  void _loeschen() override;
  void _text(std::ostream& os) const override;

  // Brings the internal variables into agreement with the current strain and
  // strain rate by a local Newton iteration, then updates stress and tangents.
  // False when the iteration failed (the caller abandons its pass).
  bool materialiteration();

  TPunkt* ipu_auf = nullptr;  // co-located integration point
  TPunkt* kno_auf = nullptr;  // co-located node
  TAnsatz* ans_kno = nullptr; // from nodes
  TMaterial* material = nullptr;
  unsigned int matit[5] = {0, 0, 0, 0, 0}; // bookkeeping of the material iteration; [0]: Newton steps
};

class TMaterialpunktquelle : public TPunkt {
public:
  TMaterialpunktquelle(Tmpm* mpm, int num, OBJTYP erz, double tA, double tE, double dt, int matnum,
                       double vol, const TVM::VekR& x, const TVM::VekR& u, const TVM::VekR& ut,
                       const TVM::VekR& utt, const TVM::VekR& z, int farbe);

  // Emits at tA, tA + dt, ... up to tE, and only when a base step begins.
  bool _baktiv() const;
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

TMaterialpunkt* mpu_erzeugen(Tmpm* mpm, int num, int matnum, double vol, TVM::VekR& x, const TVM::VekR& u,
                             const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z, int farbe);
TMaterialpunktquelle* mpuquell_erzeugen(Tmpm* mpm, int num, OBJTYP ot, double tA, double tE, double dt,
                                        int matnum, double vol, const TVM::VekR& x, const TVM::VekR& u,
                                        const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z,
                                        int farbe);

} // namespace MPM
