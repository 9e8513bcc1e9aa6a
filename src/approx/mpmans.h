#pragma once
// Approximations between point sets: how one target point receives values
// and strains from its source points, through one value weight (L) and one
// gradient row (G) per source.

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "input/mpmdefs.h"
#include "numerics/tvm.h"

namespace MPM {

class TModell;
class TPunkt;

// An approximation of one target point (`heimatpu`) from points of type
// `stuetzOT`, owned by its target for the whole run; target and sources are
// links. `_init` rebuilds the sources, L and G in the configuration given.
class TAnsatz {
  // What the builds leave for the passes, first, so that a pass finds it
  // with the target and the sources in the object's first lines.
  std::vector<double*> quellbloecke_;
  TVM::TVektor<int> einbaupos_;
  bool bquellbloecke_ = false; // quellbloecke_ belong to stuetzpu
  bool bgleich_ = false;       // and are laid out as the target's record
  bool bselbst_ = false;       // one source, whose record is the target's

public:
  TAnsatz(TModell* mpm, TPunkt* heimatpu, OBJTYP heimatOT, OBJTYP stuetzOT, ANSATZ ans);
  virtual ~TAnsatz() = default;
  TAnsatz(const TAnsatz&) = delete;

  // With the same kind: copies the sources and their weights; the target and
  // its settings stay. Another kind changes nothing.
  virtual TAnsatz& operator=(const TAnsatz& b);
  // Stores the configuration and the strain measure, activates the target and
  // builds the sources and weights; a failure deactivates the target.
  bool _init(KONFIGUR konfigur, VERZERR verzerr);
  // The target's reference coordinates in its element (element kind only;
  // the others report and give a zero vector).
  virtual TVM::VekR& _xi();
  // Subset zg of the target's state record := sum over the sources of L times
  // theirs. A point's record is its state provider's when it has one.
  virtual bool _zg(ZUSTGROE zg);
  // Deformation, strain and strain rate of the target from the sources' motion.
  virtual bool _verzerrungen();
  virtual void _text(std::ostream& os) const;

  int _Np() const { return static_cast<int>(stuetzpu.size()); }
  // The global equation positions of the sources, as `_einbaupos` gives
  // them for `stuetzpu`; formed once per build of the approximation and
  // numbering of the system.
  const TVM::TVektor<int>& _einbaupos();
  // The state blocks (`TZustgroe::alle` of `_zg()`) of the sources, formed
  // once per build of the approximation; null when a source's record is laid
  // out unlike the target's, so that offsets in the target's record do not
  // carry over.
  double* const* _quellbloecke();
  // Asks the processor to fetch ahead what the passes read of this
  // approximation: stufe 0 the object, 1 its arrays, 2 the sources (their
  // object and the doubles von to bis of their state blocks).
  void _vorladen(int stufe, int von = 0, int bis = 0) const;
  // Whether `_zg` carries nothing because the single source's record is the
  // target's own.
  bool _ohne_wirkung() { return ans == ANSATZ_KOPIEREN && quelle_ist_ziel(); }

  // The members the passes read come first.
  TPunkt* heimatpu;
  std::vector<TPunkt*> stuetzpu;
  TVM::VekR L; // one value weight per source
  KONFIGUR konfigur = KONFIGUR_UNBEKANNT;
  VERZERR verzerr = VERZERR_UNBEKANNT;
  TVM::MatR G; // one gradient row per source, dim1 columns
  TModell* mpm;
  OBJTYP heimatOT;
  OBJTYP stuetzOT;
  ANSATZ ans;
  unsigned int Ng = 0; // polynomial degree in use (clouds)
  double skal = 1.0;
  TVM::VekR arbeit; // work vector, dim1

protected:
  // The kind's own construction of sources and weights.
  virtual bool _init() = 0;
  // Target inactive; console message; the stop question.
  void strukturfehler(const std::string& text);
  // Whether the single source's record is the target's own (a point and the
  // one that provides its state); kept with `_quellbloecke`.
  bool quelle_ist_ziel();
  // Control output is due in the run's step (always without a run).
  bool _bausktr() const;

private:
  bool verzerrungen_eben();
  void quellen_bilden();

  long einbaupos_stand_ = -1; // numbering of the system einbaupos_ belongs to; -1 none
};

// The single source is the target's co-located point of the source type.
class TAnsatzKopieren : public TAnsatz {
public:
  TAnsatzKopieren(TModell* mpm, TPunkt* heimatpu, OBJTYP heimatOT, OBJTYP stuetzOT);
  using TAnsatz::_init;
  using TAnsatz::operator=;
  bool _zg(ZUSTGROE zg) override;
  bool _verzerrungen() override;

protected:
  bool _init() override;
};

// The unknown-family shape functions of the element that holds the target,
// evaluated at the target's reference coordinates `xi`.
class TAnsatzEle : public TAnsatz {
public:
  TAnsatzEle(TModell* mpm, TPunkt* heimatpu, OBJTYP heimatOT, OBJTYP stuetzOT);
  using TAnsatz::_init;
  // Requires the same kind and the same element link of both targets;
  // copies the sources, weights and reference point.
  TAnsatz& operator=(const TAnsatz& b) override;
  TAnsatzEle& operator=(const TAnsatzEle& b);
  TVM::VekR& _xi() override { return xi; }
  void _text(std::ostream& os) const override;

  TVM::VekR xi;
  double detJ = 0.0;

protected:
  bool _init() override;
};

// Target a node, sources the material (or integration) points of the
// elements at the node, weighted by volume times the node's shape function.
class TAnsatzEleinv : public TAnsatz {
public:
  TAnsatzEleinv(TModell* mpm, TPunkt* heimatpu, OBJTYP heimatOT, OBJTYP stuetzOT);
  using TAnsatz::_init;
  using TAnsatz::operator=;
  bool _verzerrungen() override;

protected:
  bool _init() override;
};

inline TAnsatzKopieren* ANSATZKOPIEREN_Z(TAnsatz* a) {
  return static_cast<TAnsatzKopieren*>(a);
}
inline TAnsatzEle* ANSATZELE_Z(TAnsatz* a) {
  return static_cast<TAnsatzEle*>(a);
}
inline TAnsatzEleinv* ANSATZELEINV_Z(TAnsatz* a) {
  return static_cast<TAnsatzEleinv*>(a);
}

// The approximation of kind `ans` for the target, built in the memory of
// `mpm` and kept with it for the run; null for 0, unknown kinds and no model.
TAnsatz* _ansatz_erzeugen(TModell* mpm, TPunkt* heimatpu, OBJTYP heimatOT, OBJTYP stuetzOT, ANSATZ ans);
// Whether `_ansatz_erzeugen` builds approximations of this kind.
bool _ansatz_verfuegbar(ANSATZ ans);
// Hands a reference point to an element approximation; false for null or another kind.
bool _xi_setzen(TAnsatz* a, const TVM::VekR& xi);

std::ostream& operator<<(std::ostream& os, const TAnsatz& a);

} // namespace MPM
