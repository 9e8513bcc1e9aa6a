#pragma once
// Nodes of the background mesh: the points that carry the unknowns of the
// global system. A node may carry a co-located material point and
// integration point created with it.

#include <iosfwd>
#include <vector>

#include "model/mpmobjpunkt.h"

namespace MPM {

class TKnoten : public TPunkt {
public:
  TKnoten(TModell* mpm, int num, OBJTYP erz, double vol, const TVM::VekR& x, const TVM::VekR& u,
          const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z, int farbe);

  TAnsatz* _ansatz(OBJTYP stuetzot) override;
  TPunkt* _pu(OBJTYP ot) override;
  void _loeschen() override;
  void _text(std::ostream& os) const override;

  // Entries of the system's vectors at this node's unknowns (0 where a
  // component has none); each returns f. _f reads the right-hand side R,
  // _fc the contact indicator, _fa the residual G (at prescribed unknowns the
  // support reaction), the others the vector of their name.
  TVM::VekR& _f(TVM::VekR& f) const;
  TVM::VekR& _fint(TVM::VekR& f) const;
  TVM::VekR& _fc(TVM::VekR& f) const;
  TVM::VekR& _fckon(TVM::VekR& f) const;
  TVM::VekR& _fext(TVM::VekR& f) const;
  TVM::VekR& _fm(TVM::VekR& f) const;
  TVM::VekR& _fa(TVM::VekR& f) const;
  TVM::VekR& _fstraf(TVM::VekR& f) const;

  TPunkt* mpu_auf = nullptr; // material point created on this node
  TPunkt* ipu_auf = nullptr; // integration point created on this node
  bool bknox = false;        // geometry node of some element
  bool bknou = true;         // carries unknowns
  bool bbewerzw = false;     // "Bewegung erzwingen": motion enforced ("kno_bewerzw")
  std::vector<TElement*> elemente;
  TAnsatz* ans_mpu = nullptr; // from material points
  TAnsatz* ans_kno = nullptr; // from nodes (clouds only)
  int sysposkno = -1;
  TVM::TVektor<int> sysposfhg;

private:
  TVM::VekR& systemwerte(const TVM::VekR& global, TVM::VekR& f) const;
};

inline TKnoten* KNO_Z(TObjbasis* obj) {
  return static_cast<TKnoten*>(obj);
}

// Creates a node (with a material point and an integration point on it when
// the control values ask for them); null after an error-log message.
TKnoten* kno_erzeugen(TModell* mpm, int num, int matnum, double vol, const TVM::VekR& x, const TVM::VekR& u,
                      const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z, int farbe);

} // namespace MPM
