// Entry point of mpm-gmsh: converts one Gmsh mesh into input lines on standard output.

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "frame/aufruf.h"
#include "input/gmshimport.h"

namespace {
const char* const aufrufzeile = "Aufruf: mpm-gmsh [--help | -h] [--version] [--] NETZ.msh > MODELL.mpm";
}

int main(int argc, char** argv) {
  std::string datei;
  bool bdatei = false;
  for (int i = 1; i < argc && !bdatei; ++i) {
    const std::string a = argv[i];
    if (a == "--") {
      if (i + 1 < argc) {
        datei = argv[i + 1];
        bdatei = true;
      }
      break;
    }
    if (a == "--help" || a == "-h") {
      std::cout
          << aufrufzeile
          << "\n\n"
             "Liest ein ebenes Netz aus Gmsh (MSH 4.1 oder 2.2, ASCII) und schreibt seine Knoten und\n"
             "Elemente als kno-, ele- und eletyp-Zeilen einer mpm-Eingabedatei auf die Standardausgabe.\n"
             "Elementarten: Dreiecke mit 3 Knoten, Vierecke mit 4, 8, 9, 12 oder 16 Knoten (Gmsh:\n"
             "-order 1 bis 3, Mesh.SecondOrderIncomplete fuer 8 und 12 Knoten). Knoten und Elemente\n"
             "behalten ihre Gmsh-Nummern; im Uhrzeigersinn umlaufende Elemente werden umgedreht.\n"
             "Benannte physikalische Gruppen folgen als Kommentare mit Knoten- und Elementlisten fuer\n"
             "kno_bewerzw-, punktlast- oder ele_c-Zeilen. Material 1 und die Steuerwerte ergaenzt man\n"
             "selbst (siehe mpm --help).\n"
             "\n"
             "Rueckgabewert: 0 nach der Umwandlung, 1 bei einem Fehler (Meldung mit Zeilennummer auf der\n"
             "Standardfehlerausgabe; dann wird nichts ausgegeben).\n";
      return 0;
    }
    if (a == "--version") {
      std::cout << "mpm-gmsh " << programmversion() << "\n";
      return 0;
    }
    if (!a.empty() && a[0] == '-') {
      std::cerr << "mpm-gmsh: unbekannte Option " << a << "\n" << aufrufzeile << "\n";
      return 1;
    }
    datei = a;
    bdatei = true;
  }
  if (!bdatei) {
    std::cerr << aufrufzeile << "\n";
    return 1;
  }
  std::ifstream ein(datei, std::ios::binary);
  if (!ein) {
    std::cerr << "mpm-gmsh: " << datei << " kann nicht geoeffnet werden\n";
    return 1;
  }
  GMSH::TGmshnetz netz;
  std::string fehler;
  if (!netz.lesen(ein, fehler)) {
    std::cerr << "mpm-gmsh: " << datei << ": " << fehler << "\n";
    return 1;
  }
  std::ostringstream aus;
  netz.schreiben(aus, datei);
  std::cout << aus.str();
  return std::cout.good() ? 0 : 1;
}
