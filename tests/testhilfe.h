#pragma once
// Test seams: capture the logs and the console, feed the console input,
// and make temporary folders for run files; below them the shared fixtures
// (model objects, input texts, golden files).

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "frame/mpmextern.h"
#include "numerics/tvm.h"
#include "solver/mpm.h"

namespace MPM {
class TKnoten;
class TMaterialpunkt;
} // namespace MPM

// Points the logs and the console at string streams for one test and
// restores the previous streams afterwards.
class Konsolenumleitung {
public:
  explicit Konsolenumleitung(const std::string& eingabe = std::string())
      : ein(eingabe), alt_aus(std::exchange(konsaus, &aus)), alt_ein(std::exchange(konsein, &ein)),
        alt_pck(std::exchange(pck, &kontroll)), alt_pcf(std::exchange(pcf, &fehler)) {}
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

// The names of the values 0 .. N-1 of an enumeration as "NAME: 1 a; 2 b" (values
// named `unbekannt` left out); each name must parse back to its value in any
// letter case, and N, -1 and an unknown word must give `unbekannt` and 0.
std::string namensliste(const std::string& enumname, int N, const std::function<std::string(int)>& name,
                        const std::function<int(const char*)>& wert,
                        const std::string& unbekannt = "unbekannt");

// The text of tests/<pfad>, a file written by hand for comparison.
std::string vorlage(const std::string& pfad);

#include <random>

// Largest difference of corresponding entries; infinite when the shapes differ.
double maxabw(const TVM::MatR& a, const TVM::MatR& b);
double maxabw(const TVM::VekR& a, const TVM::VekR& b);
TVM::MatR einheitsmatrix(int n);
TVM::MatR transponiert(const TVM::MatR& a);
// Entries uniform in [-1, 1).
TVM::MatR zufallsmatrix(int z, int s, std::mt19937& g);
// --- shared fixtures (model and solver), for `using namespace th`
namespace th {

// The console's stop question.
extern const char* const frage;

// The text form of anything with an output operator.
template <class T> std::string text(const T& x) {
  std::ostringstream s;
  s << x;
  return s.str();
}
bool enthaelt(const std::string& text, const std::string& teil);
int anzahl(const std::string& text, const std::string& teil);
std::vector<std::string> zeilen(const std::string& text);
// The numbers of every line that is neither empty nor a comment.
std::vector<std::vector<double>> tabelle(const std::string& text);
// A number with all 17 digits, for input texts.
std::string zahl(double x);

// Block `name` of a golden file tests/DATEI: the lines after "== name" up to
// the next such line, with "ZEIT" replaced by `zeit`.
std::string golden(const std::string& datei, const std::string& name, const std::string& zeit = "ZEIT");

double maxbetrag(const TVM::MatR& a);

// A node of material 1 at rest; with `unbekannt` also an unknown node.
MPM::TKnoten* knoten(MPM::Tmpm& mpm, int num, double x, double y, double vol = 1.0, bool unbekannt = false);
// Element type num: a bilinear quadrilateral with n Gauss points (none: empty set).
void eletyp_bilinear(MPM::Tmpm& mpm, int num, int n);
// A material point at rest.
MPM::TMaterialpunkt* materialpunkt(MPM::Tmpm& mpm, int num, double x, double y, double vol = 1.0,
                                   int mat = 1);

// Input lines: nodes row by row from 1 on (nx + 1) x (ny + 1) points of
// spacing dx, dy (each line ended by `zusatz(n, x, y)` when given) and the
// nx x ny bilinear elements of type 1 and material 1 over them.
std::string netz(int nx, int ny, double dx, double dy, double vol = 1.0,
                 const std::function<std::string(int, double, double)>& zusatz = {});
// The unit square, one element of type 1 on nodes 1 (0,0), 2 (1,0), 3 (1,1),
// 4 (0,1), with the material line `mat` and implicit steps.
std::string einheitsquadrat(const std::string& mat = "mat 1, 1, (1., 100., 0.25, 0.)");
// A displacement condition on a list of nodes over the time window (0, 10).
std::string verschiebung(int num, const std::string& knoten, double winkel, double wert);
// Start of a run up to the approximations, as the driver does it.
void starten(MPM::Tmpm& mpm);

// A simulation that calls `vorher` and `nachher` (when set) around every
// time step, for tests that watch a run step by step; owns nothing more.
struct Schrittprotokoll : MPM::Tmpm {
  std::function<void(Schrittprotokoll&)> vorher;
  std::function<void(Schrittprotokoll&, bool)> nachher;
  bool _zeitschritt() override;
};
} // namespace th
// --- solver tests
namespace th {
// Runs the input text in `mpm` with the console and logs caught: true when
// the run ends without a stop; a failed expectation when it writes to the
// error log. `konsole`, when given, receives the console output.
bool laufen(MPM::Tmpm& mpm, const std::string& eingabe, std::string* konsole = nullptr);
// Node and material point number n of a model.
MPM::TKnoten* kno_z(MPM::Tmpm& mpm, int n);
MPM::TMaterialpunkt* mpu_z(MPM::Tmpm& mpm, int n);
} // namespace th
