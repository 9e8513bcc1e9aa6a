#include "frame/aufruf.h"

#include <cstring>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <vector>

#include "element/eledefs.h"
#include "element/eleipu.h"
#include "element/eletyp.h"
#include "frame/zeichkett.h"
#include "input/mpmdefs.h"
#include "input/mpmschluesselw.h"
#include "numerics/loeser.h"

#ifndef MPM_VERSION
#define MPM_VERSION "unbekannt"
#endif

namespace {

const char* const aufrufzeile = "Aufruf: mpm [--help | -h] [--version] [[--] BASISNAME]";

void aufruf_und_dateien(std::ostream& aus) {
  aus << aufrufzeile
      << "\n\n"
         "Ein Aufruf rechnet einen Lauf. Das Modell steht in der Eingabedatei BASISNAME.mpm; alle\n"
         "anderen Dateien des Laufs heissen BASISNAME.<Endung> und liegen daneben. Ohne BASISNAME,\n"
         "oder wenn eine Datei nicht geoeffnet werden kann, fragt das Programm nach dem Namen.\n"
         "Ein Basisname, der mit \"-\" beginnt, steht nach \"--\".\n"
         "\n"
         "  -h, --help   diese Hilfe mit der Schluesselwortreferenz\n"
         "  --version    Programmversion\n"
         "\n"
         "Rueckgabewert: 0 nach einem vollstaendigen Lauf, 1 nach einem Abbruch (Antwort \"x\" auf die\n"
         "Abbruchfrage; das Ende der Eingabe an einer Frage zaehlt als \"x\") oder bei einer\n"
         "unbekannten Option. Enthaelt das Fehlerprotokoll Meldungen, nennt eine Zeile auf der\n"
         "Standardfehlerausgabe ihre Anzahl.\n"
         "\n"
         "Dateien eines Laufs (alle ausser der Eingabedatei werden beim Start leer angelegt):\n"
         "  BASISNAME.mpm                  Eingabedatei\n"
         "  BASISNAME.kt1.txt              Kontrollprotokoll\n"
         "  BASISNAME.flr.txt              Fehlerprotokoll: jede Eingabemeldung mit Zeilennummer\n"
         "  BASISNAME.dat.mpu.txt, .dat.kno.txt, .dat.ele.txt\n"
         "                                 Datentabellen der mit obj_ausdat gewaehlten Objekte\n"
         "  BASISNAME.dat.kag.txt, .dat.kal.txt, .dat.kil.txt\n"
         "                                 Konvergenztabellen (aus_dat_konv)\n"
         "  BASISNAME.gid.*.msh, .gid.*.res, .gpl, .vtk, .tpl, .mpl\n"
         "                                 Dateien fuer GiD, Gnuplot, VTK, Tecplot, Maple\n"
         "  BASISNAME.mpm1, .kt2.txt, .kt3.txt, .kt4.txt\n"
         "                                 bleiben leer\n"
         "\n"
         "Eingabedatei: jede Zeile beginnt mit einem Schluesselwort, dahinter stehen seine Eintraege,\n"
         "getrennt durch Leerzeichen und hoechstens eines der Zeichen \",\" \";\" \"|\". \"!\" beginnt\n"
         "einen Kommentar bis zum Zeilenende. Fehlende Eintraege am Zeilenende erhalten die Vorgabe.\n"
         "Die Reihenfolge der Zeilen ist frei; Zeilen eines Schluesselworts gelten in Dateireihenfolge.\n"
         "Netze aus Gmsh wandelt mpm-gmsh in kno-, ele- und eletyp-Zeilen.\n"
         "\n"
         "Eintragsarten:\n"
         "  b  Wahrheitswert: W, w, T, t oder 1 ist wahr, alles andere falsch\n"
         "  c  ein Zeichen\n"
         "  i  ganze Zahl\n"
         "  u  ganze Zahl, als Betrag gespeichert (Nummern, Anzahlen, Farben)\n"
         "  f  Gleitkommazahl, z. B. 12, -1.5, 1.E6\n"
         "  w  Wort (ein Name, siehe \"Namen\"; Gross-/Kleinschreibung egal)\n"
         "  s  Text in Anfuehrungszeichen\n"
         "  F  Liste von Gleitkommazahlen: (1., 2.5, -3), () leer, (s a, b, d) die Folge a, a+d, ... bis b,\n"
         "     (s a, b, -d) fallend, (k v, n) n-mal v, oder eine einzelne Zahl\n"
         "  I  Liste ganzer Zahlen, wie F\n"
         "  U  Liste von Nummern (ganze Zahlen >= 0), wie F\n";
}

void schluesselwoerter(std::ostream& aus) {
  aus << "\nSchluesselwoerter (Eintrag: Nummer, Art, Vorgabe; \"-\" = keine Vorgabe, der Wert bleibt):\n";
  for (int k = 1; k < TSCHLUESSELWORTE::N; ++k) {
    const TSCHLUESSELWORT& s = TSCHLUESSELWORTE::sw[k];
    aus << "\n" << s.wort << "\n";
    if (*s.beschreibung) aus << "    " << s.beschreibung << "\n";
    const int n = static_cast<int>(std::strlen(s.format));
    for (int j = 1; j <= n; ++j) {
      const std::string vorgabe = wort(s.zeile, j);
      aus << "    " << (j < 10 ? " " : "") << j << "  " << s.format[j - 1] << "  "
          << (vorgabe.empty() ? "-" : vorgabe) << "\n";
    }
  }
}

// One row of the names section: the entries it is for, then the names.
void namenzeile(std::ostream& aus, const std::string& wofuer, const std::vector<std::string>& namen) {
  aus << "  " << wofuer << ":";
  for (const std::string& n : namen)
    aus << " " << n;
  aus << "\n";
}

template <class E> std::vector<std::string> aufzaehlung(const char* (*str)(E), int von, int bis) {
  std::vector<std::string> namen;
  for (int i = von; i <= bis; ++i)
    namen.push_back(str(static_cast<E>(i)));
  return namen;
}

std::vector<std::string> zeilen(const std::string& text) {
  std::vector<std::string> z;
  std::istringstream ein(text);
  for (std::string s; std::getline(ein, s);)
    if (!s.empty()) z.push_back(s);
  return z;
}

void namen(std::ostream& aus) {
  using namespace MPM;
  aus << "\nNamen der Worteintraege (Schluesselwort Eintragsnummer: Namen):\n";
  namenzeile(aus, "stw_berechverf 7, 8, 9", aufzaehlung(str_ANSATZ, ANSATZ_KOPIEREN, ANSATZ_WOLKEN));
  namenzeile(aus, "stw_berechverf 10", aufzaehlung(str_KONFIGUR, KONFIGUR_REFKONF, KONFIGUR_STARTKONF));
  namenzeile(aus, "stw_berechverf 11", aufzaehlung(str_VERZERR, VERZERR_KLNVERZ, VERZERR_GROVERZ));
  namenzeile(aus, "stw_dimension 1", {ELE::str_DIM(ELE::DIM_2D)});
  namenzeile(aus, "stw_dimension 2", aufzaehlung(str_RBDIM, RBDIM_SP0, RBDIM_VZ0));
  namenzeile(aus, "stw_zeitschrittverf 1",
             aufzaehlung(str_ZEITSCHRITTVERF, ZEITSCHRITTVERF_EXPLIZIT, ZEITSCHRITTVERF_IMPLIZIT));
  namenzeile(
      aus, "stw_uebtragrichtstart 1",
      aufzaehlung(str_UEBERTRAGRICHTSTART, UEBERTRAGRICHTSTART_KNO_ZU_MPU, UEBERTRAGRICHTSTART_MPU_ZU_KNO));
  namenzeile(aus, "stw_gleichloes_bil, _mat, _ans 1",
             aufzaehlung(MATHE::str_LOESER, MATHE::LOESER_AUTOMATISCH, MATHE::LOESER_PROFIL));
  const std::vector<std::string> punktarten = {str_OBJTYP(OBJTYP_MPU), str_OBJTYP(OBJTYP_KNO)};
  namenzeile(aus, "obj_ausdat 1", {str_OBJTYP(OBJTYP_MPU), str_OBJTYP(OBJTYP_KNO), str_OBJTYP(OBJTYP_ELE)});
  namenzeile(aus, "pu_u, pu_ut, pu_utt, pu_z, pu_c 1", punktarten);
  namenzeile(aus, "punktlast 2", punktarten);
  namenzeile(aus, "punktlast 3", aufzaehlung(str_LASTTYP, LASTTYP_BESCHLEUNIGUNG, LASTTYP_VERSCHIEBUNG));
  namenzeile(aus, "punktlast 6", aufzaehlung(str_LASTFUNKTYP, LASTFUNKTYP_KON, LASTFUNKTYP_COS));
  namenzeile(aus, "konlin 2", punktarten);
  namenzeile(aus, "konlin 3", aufzaehlung(str_KONLINTYP, KONLINTYP_LIN, KONLINTYP_SPLELE));

  // The element registries say which combinations exist.
  aus << "  eletyp 2, 3, 4 (Form, Ansatzfunktionen Geometrie, Unbekannte):\n";
  std::string text;
  for (const std::string& name : zeilen(ELETYP::get_datasetnames(text))) {
    const ELETYP::Tdataset* ds = ELETYP::get_datasetptr(name);
    if (!ds || ds->key.dim != ELE::DIM_2D) continue;
    aus << "      " << ELE::str_FORM(ds->key.form) << ", " << ELE::str_ANSFUNK(ds->key.ansfunkx) << ", "
        << ELE::str_ANSFUNK(ds->key.ansfunku) << "\n";
  }
  aus << "  eletyp 5, 6 (Integrationsregel, Punktanzahl), je Form:\n";
  std::map<std::string, std::map<std::string, std::string>> regeln; // form -> rule -> counts
  for (const std::string& name : zeilen(ELEIPU::get_datasetnames(text))) {
    const ELEIPU::Tdataset* ds = ELEIPU::get_datasetptr(name);
    if (!ds || ds->key.dim != ELE::DIM_2D) continue;
    std::string& anzahlen = regeln[ELE::str_FORM(ds->key.form)][ELE::str_IPU(ds->key.ipu)];
    anzahlen += " " + std::to_string(ds->key.N);
  }
  for (const auto& [form, je_regel] : regeln) {
    aus << "      " << form << ":";
    const char* trenner = " ";
    for (const auto& [regel, anzahlen] : je_regel) {
      aus << trenner << regel << anzahlen;
      trenner = "; ";
    }
    aus << "\n";
  }
}

} // namespace

int aufruf_auswerten(int argc, const char* const* argv, std::string& basis, std::ostream& aus,
                     std::ostream& fehl) {
  basis.clear();
  bool bbasis = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i] ? argv[i] : "";
    if (a == "--") {
      if (!bbasis && i + 1 < argc && argv[i + 1]) basis = argv[i + 1];
      break;
    }
    if (a == "--help" || a == "-h") {
      hilfe(aus);
      return 0;
    }
    if (a == "--version") {
      aus << "mpm " << programmversion() << "\n";
      return 0;
    }
    if (!a.empty() && a[0] == '-') {
      fehl << "mpm: unbekannte Option " << a << "\n" << aufrufzeile << "\n";
      return 1;
    }
    if (!bbasis) {
      basis = a;
      bbasis = true;
    }
  }
  return -1;
}

const char* programmversion() {
  return MPM_VERSION;
}

void hilfe(std::ostream& aus) {
  aufruf_und_dateien(aus);
  schluesselwoerter(aus);
  namen(aus);
}

int meldungsanzahl(const std::string& datei) {
  std::ifstream ein(datei, std::ios::binary);
  const std::string position = "Eingabedatei, Zeilennummer ";
  int n = 0;
  bool fortsetzung = false;
  for (std::string z; std::getline(ein, z);) {
    const bool beginn = !z.empty() && !istleerzeich(z[0]);
    if (beginn && !fortsetzung) ++n;
    fortsetzung = z.size() > position.size() && z.compare(0, position.size(), position) == 0 &&
                  z.find_first_not_of("0123456789", position.size()) == std::string::npos;
  }
  return n;
}

std::string fehlerprotokoll_hinweis(const std::string& datei) {
  const int n = meldungsanzahl(datei);
  if (n == 0) return std::string();
  return "Fehlerprotokoll " + datei + ": " + std::to_string(n) + (n == 1 ? " Meldung" : " Meldungen");
}
