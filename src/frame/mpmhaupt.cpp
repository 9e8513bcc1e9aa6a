// Entry point: one run per call, named by the optional base-name argument.

#include "frame/mpmextern.h"
#include "solver/mpm.h"

int main(int argc, char** argv) {
  try {
    stream_start(argc > 1 ? argv[1] : "");
    {
      MPM::Tmpm mpm;
      mpm._steuerung();
    }
    stream_stop();
    return 0;
  } catch (...) {
    // The message was written where the run stopped.
    stream_stop();
    return 1;
  }
}
