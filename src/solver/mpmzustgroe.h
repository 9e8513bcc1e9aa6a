#pragma once
// State record of one point: motion, internal variables, strains, stresses,
// tangents and the previous step's values. All values live in one block, owned
// by the record or lent by the owner of the points for the record's life;
// every named member is a view on a stretch of it, and each transferable
// subset is one contiguous stretch.

#include "input/mpmdefs.h"
#include "input/mpmdimensionen.h"
#include "numerics/tvm.h"

namespace MPM {

class TZustgroe {
public:
  TVM::VekR alle; // the whole block; first member, owns the storage

  TVM::VekR u, ut, utt; // displacement, velocity, acceleration
  TVM::VekR z, z_n;     // internal variables, now and at the previous step
  TVM::MatR F;          // deformation gradient
  TVM::MatR H;          // displacement gradient
  TVM::MatR Fa;         // deformation gradient at the start of the step
  double& J;            // det F
  TVM::VekR eps, epst;  // strain and strain rate (scaled Voigt)
  double& rho0;         // reference density
  TVM::VekR sig;        // stress
  TVM::VekR q;          // further material quantities
  TVM::MatR CT, DT;     // tangents with respect to strain and strain rate
  TVM::VekR u_n, ut_n, utt_n;
  double& normr;  // last residual norm of the material iteration
  double& normdz; // last correction norm of the material iteration

  // Offsets of the members in the block and its length, for the current
  // dimensions; every record built under the same dimensions has them.
  struct TLage {
    int d1 = TDimensionen::dim1, d2 = TDimensionen::dim2, nz = TDimensionen::maxNz, nq = TDimensionen::maxNq;
    int u = 0, ut = u + d1, utt = ut + d1, z = utt + d1, z_n = z + nz, F = z_n + nz, H = F + d1 * d1,
        Fa = H + d1 * d1, J = Fa + d1 * d1, eps = J + 1, epst = eps + d2, rho0 = epst + d2, sig = rho0 + 1,
        q = sig + d2, CT = q + nq, DT = CT + d2 * d2, u_n = DT + d2 * d2, ut_n = u_n + d1, utt_n = ut_n + d1,
        normr = utt_n + d1, normdz = normr + 1, ende = normdz + 1;
  };

  // Sized by the current dimensions and cleared as by `_loeschen`.
  TZustgroe();
  // The same on `block` (TLage().ende doubles, kept alive by the caller,
  // for instance a store of the simulation); null gives an own block.
  explicit TZustgroe(double* block);
  // With `bleer` the record of a point that takes its state from another:
  // no members, only J, rho0, normr and normdz, on the Nleer doubles at
  // `block`; otherwise as above.
  static constexpr int Nleer = 4;
  TZustgroe(double* block, bool bleer);
  TZustgroe(const TZustgroe& b);
  TZustgroe& operator=(const TZustgroe& b);

  // Everything 0, then F and Fa the identity and J = 1.
  void _loeschen();
  // Offset and length of subset g (1 to 4) in a block of layout `lage`;
  // false for any other value.
  static bool _strecke(ZUSTGROE g, const TLage& lage, int& von, int& laenge);
  // Whether g names a subset with a view (1 to 4).
  static bool _bteilmenge(ZUSTGROE g) { return g >= ZUSTGROE_ALLE && g <= ZUSTGROE_SEKUNDAER; }
  // The view of subsets 1 to 4; null for any other value.
  TVM::VekR* _teilmenge(ZUSTGROE g);
  const TVM::VekR* _teilmenge(ZUSTGROE g) const;
  // vorwaerts: store u, ut, utt, z as the previous step's; rueckwaerts: restore them.
  void _umspeichern(RICHTUNG r);

private:
  TZustgroe(const TLage& lage, double* block, bool bleer);
  void ansichten_bilden(const TLage& lage);

  TVM::VekR verschiebung_, primaer_, sekundaer_;
};

} // namespace MPM
