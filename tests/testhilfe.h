#pragma once
// Test seams: capture the logs and the console, feed the console input,
// and make temporary folders for run files.

#include <filesystem>
#include <sstream>
#include <string>

#include "frame/mpmextern.h"

// Points the logs and the console at string streams for one test and
// restores the previous streams afterwards.
class Konsolenumleitung {
public:
  explicit Konsolenumleitung(const std::string& eingabe = std::string())
      : ein(eingabe), alt_aus(konsaus), alt_ein(konsein), alt_pck(pck), alt_pcf(pcf) {
    konsaus = &aus;
    konsein = &ein;
    pck = &kontroll;
    pcf = &fehler;
  }
  ~Konsolenumleitung() {
    konsaus = alt_aus;
    konsein = alt_ein;
    pck = alt_pck;
    pcf = alt_pcf;
  }
  Konsolenumleitung(const Konsolenumleitung&) = delete;
  Konsolenumleitung& operator=(const Konsolenumleitung&) = delete;

  std::ostringstream aus;
  std::istringstream ein;
  std::ostringstream kontroll;
  std::ostringstream fehler;

private:
  std::ostream* alt_aus;
  std::istream* alt_ein;
  std::ostream* alt_pck;
  std::ostream* alt_pcf;
};

// A fresh empty folder, removed with everything in it at the end of the test.
class Tempordner {
public:
  Tempordner();
  ~Tempordner();
  Tempordner(const Tempordner&) = delete;
  Tempordner& operator=(const Tempordner&) = delete;
  const std::filesystem::path& pfad() const { return pfad_; }
  std::string datei(const std::string& name) const { return (pfad_ / name).string(); }
  void schreiben(const std::string& name, const std::string& inhalt) const;

private:
  std::filesystem::path pfad_;
};

std::string datei_lesen(const std::string& name);

// The text of a bundled example input, examples/NAME.mpm, with the first
// `aendern` replaced by `neu` (a failed expectation when it is not there).
std::string beispieltext(const std::string& name, const std::string& aendern = "",
                         const std::string& neu = "");

// The run files of an input text: the input file is written to a temporary
// folder and the run-file table and logs are opened for it (and closed again
// at the end), as the program does at start-up.
class Testlauf {
public:
  explicit Testlauf(const std::string& eingabe);
  ~Testlauf();
  Testlauf(const Testlauf&) = delete;
  Testlauf& operator=(const Testlauf&) = delete;
  // The content of the run file with this suffix.
  std::string lesen(const std::string& endung) const;

private:
  Tempordner ordner_;
};

// --- shared fixtures (lower layers)

#include <functional>

// The names of the values 0 .. N-1 of an enumeration as "NAME: 1 a; 2 b" (values
// named `unbekannt` left out); each name must parse back to its value in any
// letter case, and N, -1 and an unknown word must give `unbekannt` and 0.
std::string namensliste(const std::string& enumname, int N, const std::function<std::string(int)>& name,
                        const std::function<int(const char*)>& wert,
                        const std::string& unbekannt = "unbekannt");

// The text of tests/<pfad>, a file written by hand for comparison.
std::string vorlage(const std::string& pfad);

#include <random>

#include "numerics/tvm.h"

// Largest difference of corresponding entries; infinite when the shapes differ.
double maxabw(const TVM::MatR& a, const TVM::MatR& b);
double maxabw(const TVM::VekR& a, const TVM::VekR& b);
TVM::MatR einheitsmatrix(int n);
TVM::MatR transponiert(const TVM::MatR& a);
// Entries uniform in [-1, 1).
TVM::MatR zufallsmatrix(int z, int s, std::mt19937& g);
