#pragma once
// The simulation object of one run. It lives on the entry point's stack for
// the whole run and owns the control parameters and the equation system.

namespace MPM {

class Tmpm {
public:
  // Runs the whole computation; a stop ends here with the integer 1.
  void _steuerung();
};

} // namespace MPM
