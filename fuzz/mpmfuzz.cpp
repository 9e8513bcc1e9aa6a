// libFuzzer target: the bytes are the input keyword file BASE.mpm of one run.
// The run reads the model, sets up mesh, points and approximations and makes
// at most a few time steps; the console input is empty, so every question is
// answered "x". Inputs asking for more iterations than the limits below are
// not run at all.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "frame/dateinamen.h"
#include "frame/mpmextern.h"
#include "input/dateinaus.h"
#include "input/mpmobjmix.h"
#include "output/mpmaus.h"
#include "solver/mpm.h"

namespace {

constexpr unsigned int maxNt = 2;         // time steps of a run
constexpr unsigned int maxstufen = 2;     // refinement levels of the step control
constexpr unsigned int maxversuche = 8;   // calls of the time step, repeats included
constexpr unsigned int maxbilanzit = 30;  // equilibrium iterations of a step
constexpr unsigned int maxmatit = 50;     // material iterations of a point
constexpr unsigned int maxkontaktit = 30; // contact iterations

// The run of one fuzz input: as the program's, but with the step count and
// the refinement cut to the limits once the start values are set, and
// stopped (as by the answer "x") when the time step is called too often.
class TFuzzlauf : public MPM::Tmpm {
public:
  bool _zeitschritt() override {
    if (++versuche > maxversuche) throw 1;
    return Tmpm::_zeitschritt();
  }
  int _ausgabe(MPM::ZEITPU z) override {
    const int r = Tmpm::_ausgabe(z);
    if (z == MPM::ZEITPU_STARTWERTE) {
      stw.Nt = std::min(stw.Nt, maxNt);
      stw.zstrg_Nstufen = std::min(stw.zstrg_Nstufen, maxstufen);
    }
    return r;
  }

private:
  unsigned int versuche = 0;
};

// The folder of the run files, removed when the process ends.
class Laufordner {
public:
  Laufordner() {
    pfad_ = std::filesystem::temp_directory_path() / ("mpm-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(pfad_);
  }
  ~Laufordner() {
    std::error_code fehler;
    std::filesystem::remove_all(pfad_, fehler);
  }
  std::string basis() const { return (pfad_ / "lauf").string(); }

private:
  std::filesystem::path pfad_;
};

// Whether the iteration limits of the input are within those of a fuzz run;
// read before the run, with the logs switched off.
bool steuerwerte_zulaessig(const std::string& datei) {
  std::ostream* const alt_pck = pck;
  std::ostream* const alt_pcf = pcf;
  pck = pcf = &nullstream();
  Tdatein ein(datei);
  MPM::TSteuerparam stw;
  bool zulaessig = true;
  try {
    stw._eingabe(ein);
    zulaessig =
        stw.maxNbilanzit <= maxbilanzit && stw.maxNmatit <= maxmatit && stw.maxNkontaktit <= maxkontaktit;
  } catch (int) {
    // The run stops at the same question, before any iteration.
  }
  pck = alt_pck;
  pcf = alt_pcf;
  return zulaessig;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
  static const Laufordner ordner;
  const std::string basis = ordner.basis();
  {
    std::ofstream datei(basis + ".mpm", std::ios::binary | std::ios::trunc);
    datei.write(reinterpret_cast<const char*>(daten), static_cast<std::streamsize>(groesse));
  }
  std::istringstream keine_antwort;
  std::istream* const alt_ein = konsein;
  std::ostream* const alt_aus = konsaus;
  konsein = &keine_antwort;
  konsaus = &nullstream();

  int ergebnis = 0;
  try {
    stream_start(basis.c_str());
    if (steuerwerte_zulaessig(dateien.name(DATEI_MPM))) {
      TFuzzlauf lauf;
      lauf._steuerung();
    } else {
      ergebnis = -1;
    }
  } catch (int) {
    // A stop: the run ended through its abort path.
  }
  stream_stop();
  konsein = alt_ein;
  konsaus = alt_aus;
  return ergebnis;
}
