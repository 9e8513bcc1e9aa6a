#include "frame/genau.h"

#include <cfloat>
#include <sstream>

std::string gleitkommazahlgenauigkeit() {
  std::ostringstream s;
  s << "float=" << sizeof(float) * 8 << " bit, <double=" << sizeof(double) * 8
    << " bit>, long double=" << sizeof(long double) * 8 << " bit";
  return s.str();
}

std::string gleitkommazahlgrenzwerte() {
  struct Zeile {
    const char* text;
    const char* name;
  };
  const Zeile zeilen[] = {
      {"Genauigkeit in Dezimalziffern", "_REAL_DIG      = "},
      {"Kleinster Wert x fuer den 1.0+x != 1.0 gilt", "_REAL_EPSILON  = "},
      {"Laenge der Mantisse in Basisziffern", "_REAL_MANT_DIG = "},
      {"Maximaler Gleitpunktwert", "_REAL_MAX      = "},
      {"Maximales n, fuer das FLT_RADIX^n -1 darstellbar ist", "_REAL_MAX_EXP  = "},
      {"Minimaler, normalisierter Gleitpunktwert", "_REAL_MIN      = "},
      {"Minimales n, fuer das 10^n normalisiert werden kann", "_REAL_MIN_EXP  = "},
  };
  std::ostringstream werte[7];
  werte[0] << DBL_DIG;
  werte[1] << DBL_EPSILON;
  werte[2] << DBL_MANT_DIG;
  werte[3] << DBL_MAX;
  werte[4] << DBL_MAX_EXP;
  werte[5] << DBL_MIN;
  werte[6] << DBL_MIN_EXP;

  std::string text;
  for (int i = 0; i < 7; ++i) {
    if (i > 0) text += '\n';
    std::string label = zeilen[i].text;
    label.resize(54, ' ');
    text += label + zeilen[i].name + werte[i].str();
  }
  return text;
}
