#include "input/mpmschluesselw.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "frame/mpmextern.h"
#include "frame/zeichkett.h"

TSCHLUESSELWORTE schluesselworte;

const TSCHLUESSELWORT TSCHLUESSELWORTE::sw[TSCHLUESSELWORTE::N] = {
    {"UNBEKANNT", "", "", "Schluesselwort oder Schluesselwortnummer ungueltig"},
    {"titel", "s", "", "Berechnungstitel"},
    {"aus_dat_konv", "bbb", "FFF",
     "Ausgabe von Daten zur Visualisierung des Konvergenzverhaltens (gloal aussen, lokal aussen, lokal "
     "innen)?"},
    {"aus_dat_maple", "b", "F", "Ausgabe von Daten zur Visualisierung mit Maple?"},
    {"aus_dat_gnupl", "bb", "F, W",
     "Ausgabe von Daten zur Visualisierung mit Gnuplot?, Farbige Visualisierung mit Gnuplot?"},
    {"aus_dat_tecpl", "b", "F", "Ausgabe von Daten zur Visualisierung mit Tecplot?"},
    {"aus_dat_gid", "b", "F", "Ausgabe von Daten zur Visualisierung mit GID?"},
    {"aus_dat_vtk", "b", "F", "Ausgabe von Daten zur Visualisierung mit VTK/Paraview?"},
    {"obj_ausdat", "wU", "kno, ()", "Ausgabe fuer Gnuplot: objtyp, (num)"},
    {"ort_ausdat", "U", "()", ""},
    {"stw_berechverf", "bbbbbbwwwww", "W,W,W, F,W,F, ele,kopieren,eleinv, refkonf, klnverz",
     "Berechnungsverfahren: bknokoerperfest,bmpukoerperfest,bipukoerperfest, "
     "bmpuaufkno,bipuaufmpu,bipuaufkno, ansatz_knou_zu_pu,ansatz_mpu_zu_ipu,ansatz_pu_zu_knou, konfigur, "
     "verzerr"},
    {"stw_dimension", "ww", "2d, Sp0", "Dimension: [1d, 2d, 3d], [Sp0, Vz0]"},
    {"stw_zeitschrittverf", "wff", "impldyn, 0.25, 0.5",
     "Zeitschrittverfahren [expldyn, impldyn], Parameter fuer implizites Zeitschrittverfahren"},
    {"stw_m", "bf", "W, 0.",
     "Massen beruecksichtigen?, Konzentrationsfaktor fuer Massenmatrix [1.=konzentrierte Massenmatrix, "
     "0.=konsistente Massenmatrix]"},
    {"stw_strafverf", "bf", "W, 1.E6", "Alle wesentlichen RBs mit Strafverfahren einbauen?, Strafparameter"},
    {"stw_kontakt", "bfF", "F, 1., (1.e6)", "Kontakt: ja/nein?, ggrenz, Straffunktionsparameter"},
    {"stw_nummattangente", "bf", "F, 1.E-8",
     "Numerische Materialtangente verwenden?, Steuerwert zur Berechnung der numerischen Materialtangente"},
    {"stw_wolken", "ubfff", "1, F, 3., 3., 3.",
     "Polynomgrad [0 bis 4], Basisfunktionen vollstaendig bis Polynomgrad?, Groesse der "
     "Punkteinflussbereiche von mpu, ipu, knou [1.0 = keine Ueberlappung]"},
    {"stw_bneuberech", "b", "W", "Neuberechnung oder Aufsetzen?"},
    {"stw_uebtragrichtstart", "w", "kno_zu_mpu",
     "Datenuebertragungsrichtung beim Start: [kno->mpu, mpu->kno]"},
    {"stw_numplus", "uuuu", "0, 0, 0, 0",
     "Zahlen, die auf alle mpu-, ipu-, kno-, ele-Nummern addiert werden"},
    {"stw_t", "fffuuf", "0., 0., 0., 1, 0, 0.",
     "Zeit am Berechnungsanfang ta, Zeit am Berechnungsende te, Zeitschrittlaenge dt, Zeitschrittanzahl Nt, "
     "Zeitschrittnummer am Berechnungsanfang tta, Zeitschrittlaenge bei Kontakt dtkontakt"},
    {"stw_zstrg", "buu", "W, 2, 20", "Zeitschrittsteuerung: ja/nein?, Unterteilung, max. Verfeinerungsstufe"},
    {"stw_t_aus_dat", "bfFuU", "F, 0., (), 0, ()",
     "Datenausgaben: immer?, Zeitdifferenz, Zeiten, Zeitschrittdifferenz, Zeitschritte"},
    {"stw_t_aus_ktr", "bfFuU", "F, 0., (), 0, ()",
     "Kontrollausgaben: immer?, Zeitdifferenz, Zeiten, Zeitschrittdifferenz, Zeitschritte"},
    {"stw_autodtparam", "F", "(1., 1., 1., 1., 1., 1., 0.)",
     "Angaben zur Zeitschrittlaengenabschaetzung: (Laenge l, Breite b, Dicke d, charakt. Elementabm. s, "
     "Dichte rho, E-Modul E, Querkontraktionszahl nu)"},
    {"stw_gleichloes_bil", "w", "profil", "Gleichungsloeser fuer Bilanzgleichungen"},
    {"stw_gleichloes_mat", "w", "gauss", "Gleichungsloeser fuer Materialgleichungen"},
    {"stw_gleichloes_ans", "w", "gauss", "Gleichungsloeser fuer Ansatzfunktionsgleichungen"},
    {"stw_bilanzit", "uffbf", "10, 1.E-6, 1.E-6, F, 1.",
     "Aeusserere Iteration: maxNbilanzit, schranke_normdU, schranke_normG, bkonvkontrbilanzit, "
     "minkonvbilanzit"},
    {"stw_matit", "uffbf", "10, 1.E-6, 1.E-6, F, 1.",
     "Materialiterationen: maxNmatit, schranke_normdz, schranke_normr, bkonvkontrmatit, minkonvmatit"},
    {"stw_kontaktit", "ufbf", "10, 1.E-4, F, 1.",
     "Kontaktiteration: maxNkontaktit, schranke_kontakt, bkonvkontrkontaktit, minkonvkontaktit"},
    {"stw_schrankefliess", "f", "-1.E-12", "Schranke fuer Fliessbedingung"},
    {"stw_schrankewicht", "f", "1.E-4", "Schranke fuer Knotenwichtung"},
    {"stw_schmutzxa", "f", "0.0", ""},
    {"mat", "uuFu", "0, 1, (1., 1., 0., 1., 0.), 1",
     "Material: num, mattyp [1=el-visk, 2=el-pl-visk, 3=viskel], (matkennwerte) [rho, E, nu, tau, [sigy0 "
     "oder E2], [Hiso oder nu2]], Farbe"},
    {"mpu", "uufFFFFFu", "0, 1, 1., (), (), (), (), (), 1,",
     "Materialpunkt: num, matnum, vol, (x0<i>), (u<i>), (ut<i>), (utt<i>), (z<i>), Farbe"},
    {"mpuquell", "uFufFFFFFu", "0, (0., 0., 0.), 0, 1., (), (), (), (), (), 1,",
     "Materialpunktquelle: num, (tA, tE, dt), matnum, vol, (x0<i>), (u<i>), (ut<i>), (utt<i>), (z<i>), "
     "Farbe"},
    {"kno", "uufFFFFFu", "0, 1, 1., (), (), (), (), (), 1",
     "Knoten: num, matnum, vol, (x0<i>),  (u<i>), (ut<i>), (utt<i>), (z<i>), Farbe"},
    {"kno_bewerzw", "U", "()", "Knoten: Bewegung erzwingen"},
    {"eletyp", "uwwwwuu", "0, Viereck, Lagro1, Lagro1, Gauss, 4, 1",
     "Elementtyp: num, form, ansfunkx, ansfunku, ipu, Nipu, Farbe"},
    {"ele", "uuuUu", "0, 1, 1, (), 1", "Element: num, matnum, eletypnum, knum, Farbe"},
    {"ele_c", "Uu", "(), 1", "Elemente, Kennzeichnung: (num), Farbe"},
    {"pu_u", "wUF", "kno, (), ()", "Punkt-Verschiebungen: puobjtyp, (num), (u<i>)"},
    {"pu_ut", "wUF", "kno, (), ()", "Punkt-Geschwindigkeiten: puobjtyp, (num), (ut<i>)"},
    {"pu_utt", "wUF", "kno, (), ()", "Punkt-Beschleunigungen: puobjtyp, (num), (utt<i>)"},
    {"pu_z", "wUF", "kno, (), ()", "Punkt-Zusatzvariablen: puobjtyp, (num), (z<i>)"},
    {"pu_c", "wUu", "kno, (), 1", "Punkt-Kennzeichnung: puobjtyp, (num), Farbe"},
    {"punktlast", "uwwUfwFF", "0, kno, kraft, (), 0., kon, (0., 0.), (0.)",
     "Punktlasten: num, puobjtyp, lastart, (punum), richtung, ftyp, (tA, tE), (c<i>)"},
    {"konlin", "uwwU", "0, kno, splele, ()", "Kontaktlinie: num, puobjtyp, konlintyp, (punum)"},
    {"stw_startbeschl", "b", "F",
     "Startbeschleunigungen aus dem Gleichgewicht M utt = fext - fint zur Anfangszeit berechnen (nur mit "
     "Massen)?"},
};

int TSCHLUESSELWORTE::suchen(const char* wort) {
  if (!wort) wort = "";
  const int erstes = klein(*wort);
  for (int k = 1; k < N; ++k) {
    const char* s = sw[k].wort ? sw[k].wort : "";
    // Most keywords differ in their first letter.
    if (klein(*s) == erstes && strcmp1(wort, s) == 0) return k;
  }
  return 0;
}

int TSCHLUESSELWORTE::nummer(const char* wort) {
  const int k = suchen(wort);
  if (k == 0)
    *pcf << "Uebergebenes Wort<" << (wort ? wort : "") << "> nicht als Schluesselwort verzeichnet\n";
  return k;
}

namespace {
// Levenshtein distance of the lowered texts, given up (result > grenze) once
// every entry of a row exceeds `grenze`.
size_t editierabstand(const std::string& a, const std::string& b, size_t grenze) {
  std::vector<size_t> vorher(b.size() + 1), jetzt(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j)
    vorher[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    jetzt[0] = i;
    size_t kleinster = jetzt[0];
    for (size_t j = 1; j <= b.size(); ++j) {
      const bool gleich = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                          std::tolower(static_cast<unsigned char>(b[j - 1]));
      jetzt[j] = std::min({vorher[j] + 1, jetzt[j - 1] + 1, vorher[j - 1] + (gleich ? 0 : 1)});
      kleinster = std::min(kleinster, jetzt[j]);
    }
    if (kleinster > grenze) return grenze + 1;
    std::swap(vorher, jetzt);
  }
  return vorher[b.size()];
}
} // namespace

int TSCHLUESSELWORTE::aehnlich(const char* wort) {
  const std::string w = wort ? wort : "";
  const size_t grenze = 2;
  int beste = 0;
  size_t bester_abstand = grenze + 1;
  for (int k = 1; k < N; ++k) {
    const std::string kandidat = sw[k].wort;
    // Lengths differing by more than the limit cannot come closer.
    if (kandidat.size() > w.size() + grenze || w.size() > kandidat.size() + grenze) continue;
    const size_t d = editierabstand(w, kandidat, grenze);
    if (d < bester_abstand) {
      bester_abstand = d;
      beste = k;
    }
  }
  return 2 * bester_abstand <= w.size() ? beste : 0;
}

bool TSCHLUESSELWORTE::nummerpruef(int k) {
  if (k >= 1 && k < N) return true;
  *pcf << "Uebergebene Schluesselwortnummer <" << k << "> ist ungueltig\n";
  return false;
}

const char* TSCHLUESSELWORTE::wort(int k) {
  return nummerpruef(k) ? sw[k].wort : "";
}
const char* TSCHLUESSELWORTE::format(int k) {
  return nummerpruef(k) ? sw[k].format : "";
}
const char* TSCHLUESSELWORTE::zeile(int k) {
  return sw[nummerpruef(k) ? k : 0].zeile;
}

int TSCHLUESSELWORTE::eintragsanzahl(int k) {
  return nummerpruef(k) ? static_cast<int>(std::strlen(sw[k].format)) : 0;
}

char TSCHLUESSELWORTE::format(int k, int j) {
  if (!nummerpruef(k)) return '\0';
  if (j < 1 || j > static_cast<int>(std::strlen(sw[k].format))) return '\0';
  return sw[k].format[j - 1];
}

char TSCHLUESSELWORTE::format(const char* wort, int j) {
  const int k = nummer(wort);
  return k == 0 ? '\0' : format(k, j);
}
