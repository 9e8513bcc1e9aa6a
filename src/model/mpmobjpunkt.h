#pragma once
// Points of the computation: geometry in the reference, current and start
// configurations, the state record, links to co-located points and the
// containing element. A point with a state provider takes its displacement
// and volume ratio from that point's record. A point has its approximations
// created with it; the run keeps them, its kinds link to them.

#include <iosfwd>
#include <memory>
#include <vector>

#include "model/mpmobjbas.h"
#include "numerics/tvm.h"
#include "solver/mpmzustgroe.h"

namespace MPM {

class TAnsatz;
class TElement;

class TPunkt : public TObjbasis {
public:
  // With a state provider given, the point's own record stays empty. With a
  // simulation, the record and the positions (xa, x0, the current one) lie
  // in its stores: those vectors keep dim1 values for the point's life.
  TPunkt(TModell* mpm, OBJTYP typ, OBJTYP erz, int num, double vol, const TVM::VekR& x, const TVM::VekR& u,
         const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z, int farbe,
         TPunkt* zustgeber = nullptr);
  ~TPunkt() override;

  // The approximation by which this point receives values from points of type `stuetzot`.
  virtual TAnsatz* _ansatz(OBJTYP stuetzot);
  // The co-located point of type `ot`.
  virtual TPunkt* _pu(OBJTYP ot);
  virtual void _umspeichern(RICHTUNG r);
  virtual void _loeschen();
  virtual void _text(std::ostream& os) const;

  double _vol(KONFIGUR k) const;
  double _rho(KONFIGUR k) const;
  // refkonf: x0, startkonf: xa, momkonf: x0 + u (of the state provider when
  // there is one), held in a result vector that the next call overwrites.
  TVM::VekR& _x(KONFIGUR k);
  TVM::VekR& _u();
  const TVM::VekR& _u() const;
  // Re-bases the reference configuration on the start (refkonf) or the
  // current (momkonf) configuration.
  void _init_vol0_x0(KONFIGUR k);
  // The record that stands for this point: the provider's or its own.
  TZustgroe& _zg() { return zustgeber ? zustgeber->zust : zust; }
  const TZustgroe& _zg() const { return zustgeber ? zustgeber->zust : zust; }

  // What the passes read of a point lies in its first line: type, status,
  // state provider, reference volume.
  TElement* element = nullptr;
  TPunkt* zustgeber = nullptr; // state provider
  double vol0;
  OBJTYP erz; // type of the creating object
  double vola;
  TVM::VekR xa;
  TVM::VekR x0;
  TZustgroe zust;
  bool bkontaktpunkt = false;
  bool bimkontakt = false;
  TVM::VekR kontaktrichtung;
  double kontaktabstand = 0.0;

protected:
  // Has the run create and keep this point's approximation of kind `art` from
  // points of type `stuetzot`; null without a run or for a kind without an
  // implementation.
  TAnsatz* ansatz_anlegen(OBJTYP stuetzot, ANSATZ art);

private:
  TPunkt(TModell* mpm, OBJTYP typ, OBJTYP erz, int num, double vol, const TVM::VekR& x, const TVM::VekR& u,
         const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z, int farbe, TPunkt* zustgeber,
         double* speicher);

  TVM::VekR xmom_;
};

std::ostream& operator<<(std::ostream& os, const TPunkt& p);

inline TPunkt* PU_Z(TObjbasis* obj) {
  return static_cast<TPunkt*>(obj);
}

// The global equation positions of the nodes' unknowns, dim1 per node in
// list order (-1 where a component has none). An empty list is an error.
TVM::TVektor<int>& _einbaupos(const std::vector<TPunkt*>& knou, TVM::TVektor<int>& pos);

} // namespace MPM
