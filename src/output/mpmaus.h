#pragma once
// Output schedule of a run, and the pieces the writers of the run files share.

#include <initializer_list>
#include <string>

#include "frame/mix.h"
#include "frame/mpmextern.h"
#include "numerics/tvm.h"

// A vector as text: each component by `_str` with width w, one blank between.
std::string _str(const TVM::VekR& v, int w);

namespace MPM {

// Appends the text to the run file and closes it again; a file that cannot
// be opened swallows the text.
void anhaengen(DATEI datei, const std::string& text);
// Replaces the content of the run file by the text.
void ueberschreiben(DATEI datei, const std::string& text);

// Table header: title and start time, "#", the column lines, "#", and with
// `bleerzeile` an empty line.
std::string kopf(const std::string& titel, const std::string& zeitanfang,
                 std::initializer_list<const char*> zeilen, bool bleerzeile);
// Closing line of a table: "#Ende / " and the end time.
std::string schluss(const std::string& zeitende);

// One table row: fields of width 10, separated by one blank.
class TZeile {
public:
  TZeile& operator<<(double x) { return feld(_str(x, breite)); }
  TZeile& operator<<(int x) { return feld(_str(x, breite)); }
  TZeile& operator<<(unsigned int x) { return feld(_str(x, breite)); }
  TZeile& operator<<(const TVM::VekR& v);
  TZeile& nullen(int n);
  std::string text() const { return s_ + "\n"; }

  static constexpr int breite = 10;

private:
  TZeile& feld(const std::string& f);
  std::string s_;
};

// Strain or stress in tensor components (the stored shear entries carry sqrt 2).
TVM::VekR tensorkomponenten(const TVM::VekR& v);

// Sets the number format of the vector printer for its lifetime and restores
// the previous one afterwards, also when a stop unwinds the writer.
class TVektorformat {
public:
  explicit TVektorformat(int format) : alt_(TVM::TVekMat::format()) { TVM::TVekMat::format() = format; }
  ~TVektorformat() { TVM::TVekMat::format() = alt_; }
  TVektorformat(const TVektorformat&) = delete;
  TVektorformat& operator=(const TVektorformat&) = delete;

private:
  int alt_;
};

} // namespace MPM
