// Gnuplot command file: rewritten at every call, it turns the data tables
// into PostScript plots next to them. The writer reads the tables back for
// the numbers its curves need; a section whose table holds no data row is
// left out, since gnuplot stops on a plot without data.

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "frame/dateinamen.h"
#include "frame/zeit.h"
#include "output/mpmaus.h"
#include "solver/mpm.h"

namespace MPM {

namespace {

// Column values of the data rows of a table, overall or of the rows of one
// object (first column): row count, first and last data set (data sets are
// separated by two empty lines), per column the largest value, the smallest
// positive value and the value of the last row.
struct TSpalten {
  long N = 0;
  int ersterdatensatz = -1, letzterdatensatz = -1;
  std::vector<double> max, minpos, letzte;

  void aufnehmen(int datensatz, const std::vector<double>& w) {
    if (N++ == 0) {
      ersterdatensatz = datensatz;
      max = w;
      minpos.assign(w.size(), 0.0);
    }
    letzterdatensatz = datensatz;
    letzte = w;
    for (std::size_t i = 0; i < w.size() && i < max.size(); ++i) {
      if (w[i] > max[i]) max[i] = w[i];
      if (w[i] > 0.0 && (minpos[i] == 0.0 || w[i] < minpos[i])) minpos[i] = w[i];
    }
  }
  // Column c counted from 1; 0 where the rows have none.
  double groesster(int c) const { return c >= 1 && c <= static_cast<int>(max.size()) ? max[c - 1] : 0.0; }
  double kleinster_positiver(int c) const {
    return c >= 1 && c <= static_cast<int>(minpos.size()) ? minpos[c - 1] : 0.0;
  }
  double letzter(int c) const { return c >= 1 && c <= static_cast<int>(letzte.size()) ? letzte[c - 1] : 0.0; }
};

// Reads the data rows of a table; with `proobjekt` also per object number.
TSpalten tabelle_lesen(DATEI datei, std::map<long, TSpalten>* proobjekt = nullptr) {
  TSpalten alle;
  std::ifstream f(dateien.name(datei));
  int datensatz = 0, leerzeilen = 0;
  std::vector<double> w;
  for (std::string zeile; std::getline(f, zeile);) {
    const std::size_t a = zeile.find_first_not_of(" \t\r");
    if (a == std::string::npos) {
      ++leerzeilen;
      continue;
    }
    if (zeile[a] == '#') continue;
    if (leerzeilen >= 2 && alle.N > 0) ++datensatz;
    leerzeilen = 0;
    w.clear();
    std::istringstream s(zeile);
    for (double x; s >> x;)
      w.push_back(x);
    if (w.empty()) continue;
    alle.aufnehmen(datensatz, w);
    if (proobjekt) (*proobjekt)[std::lround(w[0])].aufnehmen(datensatz, w);
  }
  return alle;
}

// A number for a curve expression, exact to the digits of the tables.
std::string zahl(double x) {
  std::ostringstream s;
  s.precision(12);
  s << x;
  return s.str();
}

// A divisor that is never 0.
std::string teiler(double x) {
  return zahl(x != 0.0 ? x : 1.0);
}

// Column c normalised by its last value, and the logarithm of column c
// scaled so that the smallest positive value gives 0 and the largest 1
// (values <= 0 give 0).
std::string normiert(int c, double ende) {
  return "($" + std::to_string(c) + "/" + teiler(ende) + ")";
}
std::string lognormiert(int c, double minpos, double max) {
  const double a = minpos > 0.0 ? std::log(minpos) : 0.0;
  const double b = minpos > 0.0 && max > minpos ? std::log(max) - a : 1.0;
  const std::string sc = "$" + std::to_string(c);
  return "((" + sc + ">0)?(log(" + sc + ")-(" + zahl(a) + "))/" + zahl(b) + ":0)";
}

// Text inside double quotes: gnuplot escapes, and the characters of enhanced
// text mode shown as themselves.
std::string text_doppelt(const std::string& t) {
  std::string s;
  for (char c : t) {
    if (c == '"') {
      s += "\\\"";
    } else if (c == '\\') {
      s += "\\\\\\\\";
    } else {
      if (std::string("_^{}@&~").find(c) != std::string::npos) s += "\\\\";
      s += c;
    }
  }
  return s;
}

// A file name inside single quotes.
std::string text_einfach(const std::string& t) {
  std::string s;
  for (char c : t)
    s += c == '\'' ? std::string("''") : std::string(1, c);
  return s;
}

struct TKurve {
  std::string spalten; // the "using" part
  std::string titel;
  int stil;
};

// Builds the plots of one section.
class TPlotter {
public:
  TPlotter(std::string& text, DATEI datei) : text_(text), datei_(text_einfach(dateien.name(datei))) {}

  // Rows of the object at position k of n selected objects.
  static std::string jede(int n, int k) { return " every " + std::to_string(n) + "::" + std::to_string(k); }

  void plot(const std::string& titel, const std::string& xlabel, const std::string& ylabel,
            const std::string& xbereich, const std::string& ybereich, const std::string& auswahl,
            const std::vector<TKurve>& kurven) {
    text_ += "\n\n\nset title \"" + titel + "\"\nset xlabel \"" + xlabel + "\"\nset ylabel \"" + ylabel +
             "\"\nset xrange " + xbereich + "\nset yrange " + ybereich;
    for (std::size_t i = 0; i < kurven.size(); ++i)
      text_ += (i == 0 ? "\nplot '" : ", \\\n     '") + datei_ + "'" + auswahl + " using " +
               kurven[i].spalten + " title \"" + kurven[i].titel + "\" with lines linestyle " +
               std::to_string(kurven[i].stil);
  }

private:
  std::string& text_;
  std::string datei_;
};

std::string spalten(int x, int y) {
  return std::to_string(x) + ":" + std::to_string(y);
}
std::string spalten(int x, const std::string& y) {
  return std::to_string(x) + ":(" + y + ")";
}
std::string format(const char* f, int n) {
  char puffer[128];
  std::snprintf(puffer, sizeof puffer, f, n);
  return puffer;
}

// Numbers of the selected objects of a registry, in number order.
std::vector<unsigned int> ausgewaehlt(const Tobjcont& reg) {
  std::vector<unsigned int> n;
  for (const auto& e : reg)
    if (e.second->bausgewaehlt) n.push_back(e.second->num);
  return n;
}

const char* const sigma = "{/Symbol s}";
const char* const epsilon = "{/Symbol e}";

} // namespace

void Tmpm::_plottitel(std::string& ziel, const std::string& a, const std::string& b, const std::string& c,
                      const std::string& d) {
  ziel.clear();
  for (const std::string* teil : {&a, &b, &c, &d})
    if (!teil->empty()) ziel += (ziel.empty() ? "" : ", ") + *teil;
}

bool Tmpm::_ausgabe_gnuplot(ZEITPU) {
  if (!bausdat_gnupl) return true;
  const int dim1 = TDimensionen::dim1, dim2 = TDimensionen::dim2, maxNz = TDimensionen::maxNz;
  std::string s = "#Gnuplot-Steuerdatei / generiert von MPM / " + std::string(zeit()) +
                  " / bende=" + (bfertig ? "1" : "0") + "\n\n\n\n";

  s += "\n#EINSTELLUNGEN\n\n";
  if (bausdat_gnupl_farbig) {
    s += "\nset terminal postscript landscape enhanced color solid simplex \"Helvetica\" 10"
         "\nset style line  1 linetype 7 linewidth 1"
         "\nset style line 10 linetype 3 linewidth 3 pointtype  6 pointsize 1"
         "\nset style line 11 linetype 1 linewidth 3 pointtype  6 pointsize 1"
         "\nset style line 12 linetype 2 linewidth 3 pointtype  6 pointsize 1"
         "\nset style line 13 linetype 5 linewidth 3 pointtype  6 pointsize 1"
         "\nset style line 14 linetype 7 linewidth 3 pointtype  6 pointsize 1"
         "\nset style line 15 linetype 9 linewidth 3 pointtype  6 pointsize 1";
  } else {
    s += "\nset terminal postscript landscape enhanced monochrome dashed simplex \"Helvetica\" 10"
         "\nset style line  1 linetype 1 linewidth 1"
         "\nset style line 10 linetype 1 linewidth 3 pointtype  6 pointsize 1"
         "\nset style line 11 linetype 2 linewidth 3 pointtype  6 pointsize 1"
         "\nset style line 12 linetype 3 linewidth 3 pointtype  6 pointsize 1"
         "\nset style line 13 linetype 4 linewidth 3 pointtype  6 pointsize 1"
         "\nset style line 14 linetype 5 linewidth 3 pointtype  6 pointsize 1"
         "\nset style line 15 linetype 6 linewidth 3 pointtype  6 pointsize 1";
  }
  s += "\n";
  s += "\nset datafile missing \"?\"\n"
       "\n#set size 1.,1.\nset bmargin 2\nset lmargin 3\nset rmargin 2\nset tmargin 2\n"
       "\nset title \" \" offset 0, 0 font \"Helvetica, 12\"\n"
       "\nset border 1+2+4+8 linestyle 1\n"
       "\nset tics out\nset xtics border nomirror norotate\nset ytics border nomirror rotate"
       "\nset tics scale 0.8, 0.4\n"
       "\nset xzeroaxis linestyle 1\nset yzeroaxis linestyle 1\n"
       "\nset xlabel \"t\" offset 0, 0 font \"Helvetica, 12\""
       "\nset ylabel \" \" offset 0, 0 font \"Helvetica, 12\"\n";
  s += "\nset label \"Eingabedatei " + text_doppelt(dateien.name(DATEI_MPM)) + " / Titel " +
       text_doppelt(titel) + " / Startzeit " + text_doppelt(zeitanfang) +
       "\" at screen -0.02,-0.04 font \"Helvetica, 6\"\n";
  s += "\nset xrange [*:*]\nset yrange [*:*]";

  const std::string basis = text_einfach(dateien.basisname());
  const auto abschnitt = [&](const char* kommentar, const char* endung) {
    s += "\n\n\n\n\n" + std::string(kommentar) + "\n\nset output '" + basis + endung + "'";
  };
  std::string titel_;
  const std::vector<unsigned int> knoten = ausgewaehlt(kno), punkte = ausgewaehlt(mpu);
  const int Nkno = static_cast<int>(knoten.size()), Nmpu = static_cast<int>(punkte.size());

  // Node forces over the accumulated iteration steps.
  const TSpalten kal = bausdat_konvalok ? tabelle_lesen(DATEI_DAT_KAL) : TSpalten();
  if (kal.N > 0) {
    abschnitt("#KNOTEN: KRAEFTE UEBER AKKUMULIERTE ITERATIONSSCHRITTE", ".kvalok.ps");
    TPlotter p(s, DATEI_DAT_KAL);
    const std::string x = "[0:" + zahl(std::max(kal.groesster(4), 1.0)) + "]";
    for (int k = 0; k < Nkno; ++k)
      for (int r = 1; r <= dim1; ++r) {
        const std::string fint = "$" + std::to_string(4 + r), fm = "$" + std::to_string(6 + r),
                          fext = "$" + std::to_string(8 + r), fa = "$" + std::to_string(10 + r),
                          g = "$" + std::to_string(12 + r);
        _plottitel(titel_, format("Knoten %d", knoten[k]),
                   format("Kraefte ueber akkumulierte Iterationsschritte, Richtung %d", r), "", "");
        p.plot(titel_, "jges", "f", x, "[*:*]", TPlotter::jede(Nkno, k),
               {{spalten(4, "-" + fint), "-F_{int}", 10},
                {spalten(4, fm), "+F_{m}", 11},
                {spalten(4, fext), "+F_{ext}", 12},
                {spalten(4, fa), "+F_{a}", 13},
                {spalten(4, "-" + g), "-dF", 15},
                {spalten(4, "-" + fint + "+" + fm + "+" + fext + "+" + fa + "-" + g),
                 "-F_{int}+F_{m}+F_{ext}+F_{a}-dF", 14}});
      }
  }

  // Material points: columns of strain, stress, internal variables and
  // further quantities in the material-point table.
  const TSpalten mpt = bausdat_mpu ? tabelle_lesen(DATEI_DAT_MPU) : TSpalten();
  const int ceps = 14, csig = 20, cz = 23, cq = 23 + maxNz;
  if (mpt.N > 0) {
    abschnitt("#MATERIALPUNKTE: SPANNUNGEN / DEHNUNGEN", ".mpu.sigeps.ps");
    TPlotter p(s, DATEI_DAT_MPU);
    for (int k = 0; k < Nmpu; ++k) {
      const std::string objekt = format("Materialpunkt %d", punkte[k]), jede = TPlotter::jede(Nmpu, k);
      for (int i = 1; i <= dim2; ++i) {
        const int e = ceps + i, g = csig + i, z = cz + i, q = cq + i;
        const std::string sig1 = "$" + std::to_string(g) + "-$" + std::to_string(q);
        const std::string eps1 = "$" + std::to_string(e) + "-$" + std::to_string(z);
        _plottitel(titel_, objekt, format("Spannung ueber Zeit, Richtung %d", i), "", "");
        p.plot(titel_, "t", sigma, "[*:*]", "[*:*]", jede,
               {{spalten(3, g), sigma, 10},
                {spalten(3, sig1), std::string(sigma) + "_{1}", 12},
                {spalten(3, q), std::string(sigma) + "_{2}", 11}});
        _plottitel(titel_, objekt, format("Dehnung ueber Zeit, Richtung %d", i), "", "");
        p.plot(titel_, "t", epsilon, "[*:*]", "[*:*]", jede,
               {{spalten(3, e), epsilon, 10},
                {spalten(3, eps1), std::string(epsilon) + "_{1}", 12},
                {spalten(3, z), std::string(epsilon) + "_{2}", 11}});
        _plottitel(titel_, objekt, format("Spannung ueber Dehnung, Richtung %d", i), "", "");
        p.plot(titel_, epsilon, sigma, "[*:*]", "[*:*]", jede,
               {{spalten(e, g), sigma, 10},
                {spalten(e, sig1), std::string(sigma) + "_{1}", 12},
                {spalten(e, q), std::string(sigma) + "_{2}", 11}});
        _plottitel(titel_, objekt, format("Dehnung ueber Spannung, Richtung %d", i), "", "");
        p.plot(titel_, sigma, epsilon, "[*:*]", "[*:*]", jede,
               {{spalten(g, e), epsilon, 10},
                {spalten(g, eps1), std::string(epsilon) + "_{1}", 12},
                {spalten(g, z), std::string(epsilon) + "_{2}", 11}});
      }
    }

    abschnitt("#MATERIALPUNKTE: ZUSTANDSGROESSEN UEBER ZEIT", ".mpu.ps");
    for (int k = 0; k < Nmpu; ++k) {
      const std::string objekt = format("Materialpunkt %d", punkte[k]), jede = TPlotter::jede(Nmpu, k);
      const auto zeitverlauf = [&](const char* name, const std::string& ylabel, int c,
                                   const std::vector<std::string>& legenden) {
        std::vector<TKurve> kurven;
        for (std::size_t j = 0; j < legenden.size(); ++j)
          kurven.push_back({spalten(3, c + static_cast<int>(j)), legenden[j], 10 + static_cast<int>(j)});
        _plottitel(titel_, objekt, name, "", "");
        p.plot(titel_, "t", ylabel, "[*:*]", "[*:*]", jede, kurven);
      };
      zeitverlauf("Beschleunigung", "a", 4, {"a_1", "a_2"});
      zeitverlauf("Geschwindigkeit", "v", 6, {"v_1", "v_2"});
      zeitverlauf("Gesamtverschiebung", "u", 8, {"u_1", "u_2"});
      zeitverlauf("Dehnung", epsilon, ceps + 1,
                  {std::string(epsilon) + "_1", std::string(epsilon) + "_2", std::string(epsilon) + "_{12}"});
      zeitverlauf("Spannung", sigma, csig + 1,
                  {std::string(sigma) + "_{1}", std::string(sigma) + "_{2}", std::string(sigma) + "_{12}"});
    }
  }

  const TSpalten knt = bausdat_kno ? tabelle_lesen(DATEI_DAT_KNO) : TSpalten();
  if (knt.N > 0) {
    abschnitt("#KNOTEN: ZUSTANDSGROESSEN UEBER ZEIT", ".kno.ps");
    TPlotter p(s, DATEI_DAT_KNO);
    for (int k = 0; k < Nkno; ++k) {
      const std::string objekt = format("Knoten %d", knoten[k]), jede = TPlotter::jede(Nkno, k);
      const auto zeitverlauf = [&](const char* name, const std::string& ylabel, int c,
                                   const std::vector<std::string>& legenden) {
        std::vector<TKurve> kurven;
        for (std::size_t j = 0; j < legenden.size(); ++j)
          kurven.push_back({spalten(3, c + static_cast<int>(j)), legenden[j], 10 + static_cast<int>(j)});
        _plottitel(titel_, objekt, name, "", "");
        p.plot(titel_, "t", ylabel, "[*:*]", "[*:*]", jede, kurven);
      };
      zeitverlauf("Masse", "M", 4, {"M"});
      zeitverlauf("Systemmatrix (Hauptdiagonalelement)", "K", 9, {"K_1", "K_2"});
      zeitverlauf("Innere Kraft", "f_{int}", 13, {"f_{int,1}", "f_{int,2}"});
      zeitverlauf("Aeussere Kraft", "f_{ext}", 15, {"f_{ext,1}", "f_{ext,2}"});
      zeitverlauf("Kraft", "f", 17, {"f_1", "f_2"});
      zeitverlauf("Beschleunigung", "a", 19, {"a_1", "a_2"});
      zeitverlauf("Geschwindigkeit", "v", 21, {"v_1", "v_2"});
      zeitverlauf("Verschiebung", "u", 25, {"u_1", "u_2"});
      zeitverlauf("Dehnung", epsilon, 27,
                  {std::string(epsilon) + "_1", std::string(epsilon) + "_2", std::string(epsilon) + "_{12}"});
      zeitverlauf("Spannung", sigma, 30,
                  {std::string(sigma) + "_{1}", std::string(sigma) + "_{2}", std::string(sigma) + "_{12}"});
    }
  }

  // Convergence of the equilibrium iteration: time and the logarithms of
  // both norms, each scaled into [0, 1].
  const TSpalten kag = bausdat_konvaglo ? tabelle_lesen(DATEI_DAT_KAG) : TSpalten();
  if (kag.N > 0) {
    abschnitt("#SYSTEM: normdU UND normG UEBER AKKUMULIERTE ITERATIONSSCHRITTE", ".kvaglo.ps");
    TPlotter p(s, DATEI_DAT_KAG);
    _plottitel(titel_, "global", "Konvergenzverhalten", "", "");
    p.plot(titel_, "jges", "", "[0:" + zahl(std::max(kag.groesster(3), 1.0)) + "]", "[0.0:1.0]", "",
           {{spalten(3, normiert(2, kag.letzter(2))), "t (normiert)", 14},
            {spalten(3, lognormiert(5, kag.kleinster_positiver(5), kag.groesster(5))),
             "Norm({/Symbol D}F) (normiert)", 13},
            {spalten(3, lognormiert(4, kag.kleinster_positiver(4), kag.groesster(4))),
             "Norm({/Symbol D}U) (normiert)", 10}});
  }

  // Material iteration of every selected point that iterated: its data sets
  // lie between its first and its last one, the rows of other points in
  // between are skipped by their number.
  std::map<long, TSpalten> kilpunkte;
  const TSpalten kil = bausdat_konvilok ? tabelle_lesen(DATEI_DAT_KIL, &kilpunkte) : TSpalten();
  if (kil.N > 0) {
    abschnitt("#MATERIALPUNKTE: KONVERGENZDARSTELLUNG DER MATERIALITERATION", ".kvilok.ps");
    TPlotter p(s, DATEI_DAT_KIL);
    for (unsigned int num : punkte) {
      const auto pos = kilpunkte.find(static_cast<long>(num));
      if (pos == kilpunkte.end()) continue;
      const TSpalten& w = pos->second;
      const std::string nur = "($1==" + std::to_string(num) + ")?";
      const std::string auswahl = " index " + std::to_string(w.ersterdatensatz) + ":" +
                                  std::to_string(w.letzterdatensatz) + ":1 every 1:1:0:0";
      _plottitel(titel_, format("Materialpunkt %d", num), "Konvergenz der Materialiteration", "", "");
      p.plot(titel_, "kges", "", "[*:*]", "[0.0:1.0]", auswahl,
             {{spalten(5, nur + normiert(3, kil.groesster(3)) + ":1/0"), "t (normiert)", 14},
              {spalten(5, nur + normiert(4, kil.groesster(4)) + ":1/0"), "jges (normiert)", 12},
              {spalten(5, nur + lognormiert(6, w.kleinster_positiver(6), w.groesster(6)) + ":1/0"),
               "Norm({/Symbol D}z) (normiert)", 13},
              {spalten(5, nur + normiert(8, w.groesster(8)) + ":1/0"), "{/Symbol l} (normiert)", 10}});
    }
  }
  ueberschreiben(DATEI_GPL, s + "\n");
  return true;
}

} // namespace MPM
