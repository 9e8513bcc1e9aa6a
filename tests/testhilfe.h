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
