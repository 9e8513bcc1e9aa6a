#pragma once
// Test seams: capture the logs and the console, feed the console input,
// and make temporary folders for run files; below them the shared fixtures
// (model objects, input texts, golden files). It brings GoogleTest and every
// model class, which the fixtures build.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "approx/mpmans.h"
#include "frame/mpmextern.h"
#include "model/mpmobjbas.h"
#include "model/mpmobjele.h"
#include "model/mpmobjeletyp.h"
#include "model/mpmobjipu.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjkonlin.h"
#include "model/mpmobjlast.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"
#include "model/mpmobjpunkt.h"
#include "numerics/tvm.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"

// Points the logs and the console at string streams for one test and
// restores the previous streams afterwards (not copyable, as its streams).
class Konsolenumleitung {
public:
  explicit Konsolenumleitung(const std::string& eingabe = std::string())
      : ein(eingabe), alt(std::exchange(konsaus, &aus), std::exchange(konsein, &ein),
                          std::exchange(pck, &kontroll), std::exchange(pcf, &fehler)) {}
  ~Konsolenumleitung() { std::tie(konsaus, konsein, pck, pcf) = alt; }

  std::ostringstream aus;
  std::istringstream ein;
  std::ostringstream kontroll;
  std::ostringstream fehler;

private:
  std::tuple<std::ostream*, std::istream*, std::ostream*, std::ostream*> alt;
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
// at the end), as the program does at start-up; not copyable, as its folder.
class Testlauf {
public:
  explicit Testlauf(const std::string& eingabe);
  ~Testlauf() { stream_stop(); }
  // The content of the run file with this suffix.
  std::string lesen(const std::string& endung) const { return datei_lesen(ordner_.datei("lauf." + endung)); }

private:
  Tempordner ordner_;
};

// --- shared fixtures (lower layers)

// The names of the values 0 .. N-1 of an enumeration as "NAME: 1 a; 2 b" (values
// named `unbekannt` left out); each name must parse back to its value in any
// letter case, and N, -1 and an unknown word must give `unbekannt` and 0
// (without `wert` the names are not parsed).
std::string namensliste(const std::string& enumname, int N, const std::function<std::string(int)>& name,
                        const std::function<int(const char*)>& wert,
                        const std::string& unbekannt = "unbekannt");

// The text of tests/<pfad>, a file written by hand for comparison.
std::string vorlage(const std::string& pfad);

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
inline const std::string frage = "Fuer ABBRUCH \"x\", fuer WEITER beliebiges Zeichen eingeben:";
// An empty vector, for the start values a point factory leaves at rest.
inline const TVM::VekR leer;

// The text form of anything with an output operator.
template <class T> std::string text(const T& x) {
  std::ostringstream s;
  s << x;
  return s.str();
}
bool enthaelt(const std::string& text, const std::string& teil);
int anzahl(const std::string& text, const std::string& teil);
std::vector<std::string> zeilen(const std::string& text);
// The entries of a dataset registry, in the order of its name list.
template <class D>
std::vector<const D*> datensaetze(std::string& (*namen)(std::string&),
                                  const D* (*eintrag)(const std::string&)) {
  std::string alle;
  std::vector<const D*> ds;
  for (const std::string& name : zeilen(namen(alle)))
    ds.push_back(eintrag(name));
  return ds;
}
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
// Nodes of material 1 at rest, numbered from 1, at the points (x, y).
void knoten(MPM::Tmpm& mpm, const std::vector<std::pair<double, double>>& punkte);
// Element type num: a bilinear quadrilateral with n Gauss points (none: empty set).
void eletyp_bilinear(MPM::Tmpm& mpm, int num, int n);
// A simulation with material 1 (density 2, E 100, nu 0.25); with
// `bipuaufmpu` an integration point on every material point.
struct Modell : MPM::Tmpm {
  explicit Modell(bool bipuaufmpu = false);
};
// Nodes numbered from 1 row by row on nx x ny points of spacing h.
void gitter(MPM::Tmpm& mpm, int nx, int ny, double h = 1.0, double vol = 0.0, bool unbekannt = true);
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

// The run files of `eingabe`, with `konsole` as the console input, and a
// simulation of it started up to the approximations.
struct Startlauf {
  explicit Startlauf(const std::string& eingabe, const std::string& konsole = "");
  Konsolenumleitung k;
  Testlauf lauf;
  MPM::Tmpm mpm;
  MPM::TSystem& s = *mpm.sys;
  // The equation of component c of node n.
  int p(int n, int c = 0) { return KNO_Z(mpm.kno.suchen(n))->sysposfhg[c]; }
};

// A simulation that calls `vorher` and `nachher` (when set) around every
// time step, for tests that watch a run step by step; owns nothing more.
struct Schrittprotokoll : MPM::Tmpm {
  std::function<void(Schrittprotokoll&)> vorher;
  std::function<void(Schrittprotokoll&, bool)> nachher;
  bool _zeitschritt() override;
};

// --- solver tests
// The golden file of the solver's messages.
inline const std::string meldungen = "solver/golden/meldungen.txt";
// Runs the input text in `mpm` with the console and logs caught: true when
// the run ends without a stop; a failed expectation when it writes to the
// error log. `konsole`, when given, receives the console output.
bool laufen(MPM::Tmpm& mpm, const std::string& eingabe, std::string* konsole = nullptr);
// Node and material point number n of a model.
inline MPM::TKnoten* kno_z(MPM::Tmpm& mpm, int n) {
  return MPM::KNO_Z(mpm.kno.suchen(n));
}
inline MPM::TMaterialpunkt* mpu_z(MPM::Tmpm& mpm, int n) {
  return MPM::MPU_Z(mpm.mpu.suchen(n));
}
} // namespace th

// --- input, output and frame tests
// The run files of `eingabe`, then the console (reading `konsole`) and the
// logs caught, and a simulation: for a test that runs it and reads its files.
struct Modelllauf {
  explicit Modelllauf(const std::string& eingabe, const std::string& konsole = "")
      : lauf(eingabe), k(konsole) {}
  Testlauf lauf;
  Konsolenumleitung k;
  MPM::Tmpm mpm;
};
// The integer `f` throws to stop the program; 0 when it returns.
inline int stoppcode(const std::function<void()>& f) {
  try {
    f();
  } catch (int code) {
    return code;
  }
  return 0;
}

// --- solver tests: input texts
namespace th {
// Block `name` of the solver tests' input texts.
inline std::string modelltext(const std::string& name) {
  return golden("solver/golden/modelle.txt", name);
}
} // namespace th
