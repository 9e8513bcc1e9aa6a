#pragma once
// Integration points: quadrature points of the elements, or points created
// on nodes or material points whose state they then share.

#include <iosfwd>

#include "model/mpmobjpunkt.h"

namespace MPM {

class TIntegrationspunkt : public TPunkt {
public:
  // With a state provider the point's own record stays empty.
  TIntegrationspunkt(TModell* mpm, int num, OBJTYP erz, double vol, const TVM::VekR& x, const TVM::VekR& u,
                     const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z, int farbe,
                     TPunkt* zustgeber = nullptr);

  TAnsatz* _ansatz(OBJTYP stuetzot) override;
  TPunkt* _pu(OBJTYP ot) override;

  // This point's share of mass, tangent, inertia and internal forces over the
  // dim1 unknowns of each support node of its approximation from the nodes:
  // with `binit` the outputs are sized and zeroed first. False (nothing
  // added) without support nodes or when the point is inactive. Without
  // `bMe` the caller does not read Me: it is sized, but its content is left
  // undefined. `ans`, when given, stands for `ans_kno`: an approximation with
  // the same sources, weights and gradients (the co-located material point's).
  bool _M_fm_KT_fint(TVM::MatR& Me, TVM::MatR& KTe, TVM::VekR& fme, TVM::VekR& finte, bool binit,
                     bool bMe = true, TAnsatz* ans = nullptr);

  TPunkt* mpu_auf = nullptr;  // co-located material point
  TPunkt* kno_auf = nullptr;  // co-located node
  TAnsatz* ans_kno = nullptr; // from nodes
  TAnsatz* ans_mpu = nullptr; // from material points
};

inline TIntegrationspunkt* IPU_Z(TObjbasis* obj) {
  return static_cast<TIntegrationspunkt*>(obj);
}

} // namespace MPM
