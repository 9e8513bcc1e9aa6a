// Entry point: one run per call, named by the optional base-name argument.

#include <iostream>
#include <string>

#include "frame/aufruf.h"
#include "frame/dateinamen.h"
#include "frame/mpmextern.h"
#include "solver/mpm.h"

int main(int argc, char** argv) {
  std::string basis;
  const int status = aufruf_auswerten(argc, argv, basis, std::cout, std::cerr);
  if (status >= 0) return status;
  int ende = 0;
  try {
    stream_start(basis.c_str());
    {
      MPM::Tmpm mpm;
      mpm._steuerung();
    }
    stream_stop();
  } catch (...) {
    // The message was written where the run stopped.
    stream_stop();
    ende = 1;
  }
  if (!dateien.basisname().empty()) {
    const std::string hinweis = fehlerprotokoll_hinweis(dateien.name(DATEI_FLR));
    if (!hinweis.empty()) std::cerr << hinweis << "\n";
  }
  return ende;
}
