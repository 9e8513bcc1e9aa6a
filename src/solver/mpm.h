#pragma once
// The simulation object of one run. It lives on the entry point's stack for
// the whole run, owns the control parameters, the equation system and every
// model object; its registries only link to the objects.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "input/mpmdefs.h"
#include "model/mpmobjbas.h"

namespace MPM {

class Tmpm {
public:
  Tmpm();
  ~Tmpm();
  Tmpm(const Tmpm&) = delete;
  Tmpm& operator=(const Tmpm&) = delete;

  // Runs the whole computation; a stop ends here with the integer 1.
  bool _steuerung();

  // The registry of a type: mpu and mpuquell share the material-point
  // registry; pu, eletyp, konlin and unknown types give null.
  Tobjcont* _objcont(OBJTYP ot);
  // Offset added by the input to every number of the type (mpu, ipu, kno, ele).
  unsigned int _numplus(OBJTYP ot) const;
  // Number shift computed by the input for the current file (mpu, ipu, kno, ele).
  int _delta_num(OBJTYP ot) const;
  // Highest number issued or seen so far for the type.
  unsigned int& _maxnum(OBJTYP ot);

  // Takes ownership of a model object for the rest of the run.
  template <class T> T* _behalten(std::unique_ptr<T> obj) {
    T* zeiger = obj.get();
    objekte_.push_back(std::move(obj));
    return zeiger;
  }

  Tobjcont mat, mpu, mpuquell, ipu, kno, kno_ein, knou, eletyp, ele, pla, konlin;

  std::string titel = "unbekannt";
  std::string untertitel = "unbekannt";
  std::string programm;

  std::array<int, 11> delta_num{}; // set by the input per type value

private:
  std::array<unsigned int, 11> maxnum_{};
  unsigned int maxnum_sonst_ = 0;
  std::vector<std::unique_ptr<TObjbasis>> objekte_;
};

} // namespace MPM
