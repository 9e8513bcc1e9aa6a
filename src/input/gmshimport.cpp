#include "input/gmshimport.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <iterator>
#include <ostream>

#include "element/eleans.h"
#include "element/eleipu.h"
#include "element/eletyp.h"

namespace GMSH {

namespace {

struct Tgmshtyp {
  int typ;
  int dim;
  int Nk;
  const char* name;
};

// The Gmsh element types up to fifth order (numbers as Gmsh defines them).
const Tgmshtyp gmshtypen[] = {
    {1, 1, 2, "Linie mit 2 Knoten"},
    {2, 2, 3, "Dreieck mit 3 Knoten"},
    {3, 2, 4, "Viereck mit 4 Knoten"},
    {4, 3, 4, "Tetraeder mit 4 Knoten"},
    {5, 3, 8, "Hexaeder mit 8 Knoten"},
    {6, 3, 6, "Prisma mit 6 Knoten"},
    {7, 3, 5, "Pyramide mit 5 Knoten"},
    {8, 1, 3, "Linie mit 3 Knoten"},
    {9, 2, 6, "Dreieck mit 6 Knoten"},
    {10, 2, 9, "Viereck mit 9 Knoten"},
    {11, 3, 10, "Tetraeder mit 10 Knoten"},
    {12, 3, 27, "Hexaeder mit 27 Knoten"},
    {13, 3, 18, "Prisma mit 18 Knoten"},
    {14, 3, 14, "Pyramide mit 14 Knoten"},
    {15, 0, 1, "Punkt"},
    {16, 2, 8, "Viereck mit 8 Knoten"},
    {17, 3, 20, "Hexaeder mit 20 Knoten"},
    {18, 3, 15, "Prisma mit 15 Knoten"},
    {19, 3, 13, "Pyramide mit 13 Knoten"},
    {20, 2, 9, "Dreieck mit 9 Knoten"},
    {21, 2, 10, "Dreieck mit 10 Knoten"},
    {22, 2, 12, "Dreieck mit 12 Knoten"},
    {23, 2, 15, "Dreieck mit 15 Knoten"},
    {24, 2, 15, "Dreieck mit 15 Knoten"},
    {25, 2, 21, "Dreieck mit 21 Knoten"},
    {26, 1, 4, "Linie mit 4 Knoten"},
    {27, 1, 5, "Linie mit 5 Knoten"},
    {28, 1, 6, "Linie mit 6 Knoten"},
    {29, 3, 20, "Tetraeder mit 20 Knoten"},
    {30, 3, 35, "Tetraeder mit 35 Knoten"},
    {31, 3, 56, "Tetraeder mit 56 Knoten"},
    {36, 2, 16, "Viereck mit 16 Knoten"},
    {37, 2, 25, "Viereck mit 25 Knoten"},
    {38, 2, 36, "Viereck mit 36 Knoten"},
    {39, 2, 12, "Viereck mit 12 Knoten"},
    {40, 2, 16, "Viereck mit 16 Knoten (unvollstaendig)"},
    {41, 2, 20, "Viereck mit 20 Knoten"},
};

const Tgmshtyp* gmshtyp(int typ) {
  for (const Tgmshtyp& t : gmshtypen)
    if (t.typ == typ) return &t;
  return nullptr;
}

// A plane element kind of the program. Gmsh numbers the nodes of these kinds
// as the program does: corners counter-clockwise, then the edge nodes edge by
// edge from corner k to corner k+1, then the interior ones.
struct Telementart {
  int gmshtyp;
  ELE::FORM form;
  ELE::ANSFUNK ansfunk;
  unsigned Nipu; // Gauss points of the full rule
};

const Telementart elementarten[] = {
    {2, ELE::FORM_DREIECK, ELE::ANSFUNK_LAGRO1, 3},   {3, ELE::FORM_VIERECK, ELE::ANSFUNK_LAGRO1, 4},
    {16, ELE::FORM_VIERECK, ELE::ANSFUNK_SEREO2, 9},  {10, ELE::FORM_VIERECK, ELE::ANSFUNK_LAGRO2, 9},
    {39, ELE::FORM_VIERECK, ELE::ANSFUNK_SEREO3, 16}, {36, ELE::FORM_VIERECK, ELE::ANSFUNK_LAGRO3, 16},
};

const Telementart* elementart(int typ) {
  for (const Telementart& a : elementarten)
    if (a.gmshtyp == typ) return &a;
  return nullptr;
}

constexpr size_t maxzeile = 1 << 20;

// Hands out the words of a file across lines and, for quoted names, the rest
// of the current line. Reads through the stream it refers to.
class Tleser {
public:
  explicit Tleser(std::istream& e) : ein(e) {}

  bool wort(std::string& w) {
    for (;;) {
      const size_t a = zeile.find_first_not_of(" \t\r", pos);
      if (a != std::string::npos) {
        const size_t b = zeile.find_first_of(" \t\r", a);
        pos = b == std::string::npos ? zeile.size() : b;
        w = zeile.substr(a, pos - a);
        return true;
      }
      if (!naechste_zeile()) return false;
    }
  }
  std::string rest() {
    std::string r = zeile.substr(std::min(pos, zeile.size()));
    pos = zeile.size();
    return r;
  }
  int nummer() const { return zeilennr; }
  bool zulang = false;

private:
  bool naechste_zeile() {
    zeile.clear();
    pos = 0;
    if (zulang) return false;
    int c = ein.get();
    if (c == EOF) return false;
    ++zeilennr;
    for (; c != EOF && c != '\n'; c = ein.get()) {
      if (zeile.size() >= maxzeile) {
        zulang = true;
        return false;
      }
      zeile.push_back(static_cast<char>(c));
    }
    return true;
  }

  std::istream& ein;
  std::string zeile;
  size_t pos = 0;
  int zeilennr = 0;
};

bool ganzzahl(const std::string& w, long long& x) {
  if (w.empty()) return false;
  char* ende = nullptr;
  errno = 0;
  const long long v = std::strtoll(w.c_str(), &ende, 10);
  if (errno != 0 || *ende != '\0') return false;
  x = v;
  return true;
}

bool gleitzahl(const std::string& w, double& x) {
  if (w.empty()) return false;
  char* ende = nullptr;
  const double v = std::strtod(w.c_str(), &ende);
  if (*ende != '\0' || !std::isfinite(v)) return false;
  x = v;
  return true;
}

std::string zahltext(double x) {
  char puffer[40];
  std::snprintf(puffer, sizeof puffer, "%.16g", x);
  return puffer;
}

// One pass over a file into a TGmshnetz.
class Tparser {
public:
  Tparser(std::istream& ein, TGmshnetz& n, std::string& f) : le(ein), netz(n), fehlertext(f) {}

  bool datei() {
    bool bformat = false, bknoten = false, belemente = false;
    std::string w;
    while (le.wort(w)) {
      if (w == "$MeshFormat") {
        if (bformat) return fehler("$MeshFormat doppelt");
        if (!meshformat()) return false;
        bformat = true;
      } else if (!bformat) {
        return fehler("keine Gmsh-Datei: sie beginnt nicht mit $MeshFormat");
      } else if (w == "$PhysicalNames") {
        if (!physikalische_namen()) return false;
      } else if (w == "$Entities" && v4) {
        if (!entitaeten()) return false;
      } else if (w == "$Nodes") {
        if (bknoten) return fehler("$Nodes doppelt");
        if (!(v4 ? knoten4() : knoten2())) return false;
        bknoten = true;
      } else if (w == "$Elements") {
        if (belemente) return fehler("$Elements doppelt");
        if (!bknoten) return fehler("$Elements vor $Nodes");
        if (!(v4 ? elemente4() : elemente2())) return false;
        belemente = true;
      } else if (w.size() > 1 && w[0] == '$' && w.compare(0, 4, "$End") != 0) {
        if (!ueberspringen("$End" + w.substr(1))) return false;
      } else {
        return fehler("unerwarteter Eintrag \"" + w + "\"");
      }
    }
    if (le.zulang) return fehler("Zeile zu lang");
    if (!bformat) return fehler_ohne_zeile("keine Gmsh-Datei: $MeshFormat fehlt");
    if (!bknoten) return fehler_ohne_zeile("Abschnitt $Nodes fehlt");
    if (!belemente) return fehler_ohne_zeile("Abschnitt $Elements fehlt");
    return abschliessen();
  }

private:
  bool fehler(const std::string& text) {
    fehlertext = (le.nummer() > 0 ? "Zeile " + std::to_string(le.nummer()) + ": " : std::string()) + text;
    return false;
  }
  bool fehler_ohne_zeile(const std::string& text) {
    fehlertext = text;
    return false;
  }
  bool eof(const char* abschnitt) {
    if (le.zulang) return fehler("Zeile zu lang");
    return fehler(std::string("Dateiende in ") + abschnitt);
  }

  bool ganz(long long& x, long long min, long long max, const char* was, const char* abschnitt) {
    std::string w;
    if (!le.wort(w)) return eof(abschnitt);
    if (!ganzzahl(w, x) || x < min || x > max)
      return fehler(std::string(was) + " erwartet, gelesen: \"" + w + "\"");
    return true;
  }
  bool gleit(double& x, const char* abschnitt) {
    std::string w;
    if (!le.wort(w)) return eof(abschnitt);
    if (!gleitzahl(w, x)) return fehler("Koordinate erwartet, gelesen: \"" + w + "\"");
    return true;
  }
  bool ende(const char* marke, const char* abschnitt) {
    std::string w;
    if (!le.wort(w)) return eof(abschnitt);
    if (w != marke) return fehler(std::string(marke) + " erwartet, gelesen: \"" + w + "\"");
    return true;
  }
  bool ueberspringen(const std::string& marke) {
    std::string w;
    while (le.wort(w))
      if (w == marke) return true;
    return eof(marke.c_str() + 4);
  }

  bool meshformat() {
    const char* ab = "$MeshFormat";
    std::string v;
    if (!le.wort(v)) return eof(ab);
    long long dateiart = 0, groesse = 0;
    if (!ganz(dateiart, 0, 1, "Dateiart 0 (ASCII)", ab) || !ganz(groesse, 0, 64, "Datengroesse", ab))
      return false;
    if (dateiart != 0)
      return fehler(
          "binaere MSH-Dateien werden nicht unterstuetzt; in Gmsh als ASCII speichern (-format msh41)");
    if (v == "4.1") {
      v4 = true;
    } else if (v == "2" || v.compare(0, 2, "2.") == 0) {
      v4 = false;
    } else {
      return fehler("MSH-Version " + v + " wird nicht unterstuetzt, nur 4.1 und 2.2 (Gmsh: -format msh41)");
    }
    netz.version = v;
    return ende("$EndMeshFormat", ab);
  }

  bool physikalische_namen() {
    const char* ab = "$PhysicalNames";
    long long n = 0;
    if (!ganz(n, 0, INT_MAX, "Anzahl", ab)) return false;
    for (long long i = 0; i < n; ++i) {
      long long dim = 0, tag = 0;
      if (!ganz(dim, 0, 3, "Dimension", ab) || !ganz(tag, 1, INT_MAX, "Gruppennummer", ab)) return false;
      std::string name = le.rest();
      const size_t a = name.find('"'), b = name.rfind('"');
      name = a != std::string::npos && b > a ? name.substr(a + 1, b - a - 1) : std::string();
      namen[{static_cast<int>(dim), static_cast<int>(tag)}] = name;
    }
    return ende("$EndPhysicalNames", ab);
  }

  // Physical groups of the geometric entities (format 4.1).
  bool entitaeten() {
    const char* ab = "$Entities";
    long long anzahl[4];
    for (long long& a : anzahl)
      if (!ganz(a, 0, INT_MAX, "Anzahl", ab)) return false;
    for (int dim = 0; dim < 4; ++dim) {
      for (long long i = 0; i < anzahl[dim]; ++i) {
        long long tag = 0, n = 0;
        if (!ganz(tag, INT_MIN, INT_MAX, "Entitaetsnummer", ab)) return false;
        double x = 0.0;
        for (int k = 0; k < (dim == 0 ? 3 : 6); ++k)
          if (!gleit(x, ab)) return false;
        if (!ganz(n, 0, INT_MAX, "Anzahl", ab)) return false;
        std::vector<int>& phys = entitaetsgruppen[{dim, static_cast<int>(tag)}];
        for (long long k = 0; k < n; ++k) {
          long long p = 0;
          if (!ganz(p, INT_MIN, INT_MAX, "Gruppennummer", ab)) return false;
          phys.push_back(static_cast<int>(std::llabs(p)));
        }
        if (dim == 0) continue;
        if (!ganz(n, 0, INT_MAX, "Anzahl", ab)) return false;
        for (long long k = 0; k < n; ++k)
          if (!ganz(tag, INT_MIN, INT_MAX, "Entitaetsnummer", ab)) return false;
      }
    }
    return ende("$EndEntities", ab);
  }

  bool knoten_speichern(long long tag, double x, double y, double z) {
    if (!netz.knoten.emplace(static_cast<int>(tag), TGmshnetz::Tknoten{x, y, z}).second)
      return fehler("Knotennummer " + std::to_string(tag) + " doppelt");
    return true;
  }

  bool knoten4() {
    const char* ab = "$Nodes";
    long long bloecke = 0, n = 0;
    if (!ganz(bloecke, 0, LLONG_MAX, "Blockanzahl", ab) || !ganz(n, 0, LLONG_MAX, "Knotenanzahl", ab) ||
        !ganz(n, 0, LLONG_MAX, "kleinste Knotennummer", ab) ||
        !ganz(n, 0, LLONG_MAX, "groesste Knotennummer", ab))
      return false;
    for (long long b = 0; b < bloecke; ++b) {
      long long dim = 0, tag = 0, parametrisch = 0, anzahl = 0;
      if (!ganz(dim, 0, 3, "Dimension", ab) || !ganz(tag, INT_MIN, INT_MAX, "Entitaetsnummer", ab) ||
          !ganz(parametrisch, 0, 1, "0 oder 1", ab) || !ganz(anzahl, 0, LLONG_MAX, "Knotenanzahl", ab))
        return false;
      std::vector<long long> tags;
      for (long long i = 0; i < anzahl; ++i) {
        long long t = 0;
        if (!ganz(t, 1, INT_MAX, "Knotennummer", ab)) return false;
        tags.push_back(t);
      }
      const int extra = parametrisch ? static_cast<int>(dim) : 0;
      for (long long t : tags) {
        double x = 0.0, y = 0.0, z = 0.0, u = 0.0;
        if (!gleit(x, ab) || !gleit(y, ab) || !gleit(z, ab)) return false;
        for (int k = 0; k < extra; ++k)
          if (!gleit(u, ab)) return false;
        if (!knoten_speichern(t, x, y, z)) return false;
      }
    }
    return ende("$EndNodes", ab);
  }

  bool knoten2() {
    const char* ab = "$Nodes";
    long long n = 0;
    if (!ganz(n, 0, LLONG_MAX, "Knotenanzahl", ab)) return false;
    for (long long i = 0; i < n; ++i) {
      long long t = 0;
      double x = 0.0, y = 0.0, z = 0.0;
      if (!ganz(t, 1, INT_MAX, "Knotennummer", ab) || !gleit(x, ab) || !gleit(y, ab) || !gleit(z, ab))
        return false;
      if (!knoten_speichern(t, x, y, z)) return false;
    }
    return ende("$EndNodes", ab);
  }

  bool elemente4() {
    const char* ab = "$Elements";
    long long bloecke = 0, n = 0;
    if (!ganz(bloecke, 0, LLONG_MAX, "Blockanzahl", ab) || !ganz(n, 0, LLONG_MAX, "Elementanzahl", ab) ||
        !ganz(n, 0, LLONG_MAX, "kleinste Elementnummer", ab) ||
        !ganz(n, 0, LLONG_MAX, "groesste Elementnummer", ab))
      return false;
    for (long long b = 0; b < bloecke; ++b) {
      long long dim = 0, tag = 0, typ = 0, anzahl = 0;
      if (!ganz(dim, 0, 3, "Dimension", ab) || !ganz(tag, INT_MIN, INT_MAX, "Entitaetsnummer", ab) ||
          !ganz(typ, 1, INT_MAX, "Elementtyp", ab) || !ganz(anzahl, 0, LLONG_MAX, "Elementanzahl", ab))
        return false;
      const Tgmshtyp* t = gmshtyp(static_cast<int>(typ));
      if (!t) return fehler("unbekannter Gmsh-Elementtyp " + std::to_string(typ));
      if (t->dim != dim)
        return fehler("Gmsh-Elementtyp " + std::to_string(typ) + " in einem Block der Dimension " +
                      std::to_string(dim));
      const auto p = entitaetsgruppen.find({static_cast<int>(dim), static_cast<int>(tag)});
      const std::vector<int> gruppen = p == entitaetsgruppen.end() ? std::vector<int>() : p->second;
      for (long long i = 0; i < anzahl; ++i)
        if (!element(*t, gruppen, ab)) return false;
    }
    return ende("$EndElements", ab);
  }

  bool elemente2() {
    const char* ab = "$Elements";
    long long n = 0;
    if (!ganz(n, 0, LLONG_MAX, "Elementanzahl", ab)) return false;
    for (long long i = 0; i < n; ++i) {
      long long num = 0, typ = 0, ntags = 0;
      if (!ganz(num, 1, INT_MAX, "Elementnummer", ab) || !ganz(typ, 1, INT_MAX, "Elementtyp", ab) ||
          !ganz(ntags, 0, 1000, "Anzahl der Kennungen", ab))
        return false;
      std::vector<int> gruppen;
      for (long long k = 0; k < ntags; ++k) {
        long long tag = 0;
        if (!ganz(tag, INT_MIN, INT_MAX, "Kennung", ab)) return false;
        if (k == 0 && tag != 0) gruppen.push_back(static_cast<int>(std::llabs(tag)));
      }
      const Tgmshtyp* t = gmshtyp(static_cast<int>(typ));
      if (!t) return fehler("unbekannter Gmsh-Elementtyp " + std::to_string(typ));
      if (!element(*t, gruppen, ab, num)) return false;
    }
    return ende("$EndElements", ab);
  }

  // One element record after its type (and, format 2.2, its number and tags).
  bool element(const Tgmshtyp& t, const std::vector<int>& gruppen, const char* ab, long long num = 0) {
    if (num == 0 && !ganz(num, 1, INT_MAX, "Elementnummer", ab)) return false;
    std::vector<int> kn;
    for (int k = 0; k < t.Nk; ++k) {
      long long kt = 0;
      if (!ganz(kt, 1, INT_MAX, "Knotennummer", ab)) return false;
      kn.push_back(static_cast<int>(kt));
    }
    if (t.dim == 3)
      return fehler("3-D-Netz: Volumenelemente (" + std::string(t.name) +
                    ") werden nicht unterstuetzt, nur ebene Netze");
    if (t.dim == 2 && !elementart(t.typ))
      return fehler(
          "Gmsh-Elementtyp " + std::to_string(t.typ) + " (" + t.name +
          ") wird nicht unterstuetzt; moeglich sind Dreiecke mit 3 Knoten und Vierecke mit 4, 8, 9, "
          "12 oder 16 Knoten");
    for (int g : gruppen) {
      TGmshnetz::Tgruppe& gr = netz.gruppen[{t.dim, g}];
      gr.knoten.insert(kn.begin(), kn.end());
      if (t.dim == 2) gr.elemente.insert(static_cast<int>(num));
    }
    if (t.dim != 2) return true;
    // Format 2.2 repeats an element for each further physical group.
    const auto vorher = elementindex.find(static_cast<int>(num));
    if (vorher != elementindex.end()) {
      const TGmshnetz::Telement& e = netz.elemente[vorher->second];
      if (e.gmshtyp == t.typ && e.knoten == kn) return true;
      return fehler("Elementnummer " + std::to_string(num) + " doppelt");
    }
    elementindex[static_cast<int>(num)] = netz.elemente.size();
    netz.elemente.push_back(TGmshnetz::Telement{static_cast<int>(num), t.typ, kn});
    return true;
  }

  // Checks the plane elements against the nodes, turns clockwise ones and
  // names the groups.
  bool abschliessen() {
    if (netz.elemente.empty())
      return fehler_ohne_zeile("keine ebenen Elemente (Dreiecke oder Vierecke) im Netz");
    double xmin = HUGE_VAL, xmax = -HUGE_VAL, ymin = HUGE_VAL, ymax = -HUGE_VAL;
    for (const TGmshnetz::Telement& e : netz.elemente) {
      for (int k : e.knoten) {
        const auto p = netz.knoten.find(k);
        if (p == netz.knoten.end())
          return fehler_ohne_zeile("Element " + std::to_string(e.num) + " nennt den fehlenden Knoten " +
                                   std::to_string(k));
        xmin = std::min(xmin, p->second.x);
        xmax = std::max(xmax, p->second.x);
        ymin = std::min(ymin, p->second.y);
        ymax = std::max(ymax, p->second.y);
      }
    }
    const double ausdehnung = std::max(xmax - xmin, ymax - ymin);
    for (const TGmshnetz::Telement& e : netz.elemente) {
      for (int k : e.knoten) {
        const double z = netz.knoten[k].z;
        if (std::fabs(z) > 1e-12 * ausdehnung)
          return fehler_ohne_zeile("Knoten " + std::to_string(k) + " liegt nicht in der Ebene z = 0 (z = " +
                                   zahltext(z) + "); nur ebene Netze in der x-y-Ebene werden unterstuetzt");
      }
    }
    for (TGmshnetz::Telement& e : netz.elemente)
      if (!ausrichten(e)) return false;
    for (auto& [schluessel, gruppe] : netz.gruppen) {
      const auto p = namen.find(schluessel);
      if (p != namen.end()) gruppe.name = p->second;
    }
    return true;
  }

  // Counter-clockwise node order (a clockwise element is mirrored at the
  // reference diagonal xi = eta), then det J > 0 at every integration point.
  bool ausrichten(TGmshnetz::Telement& e) {
    const Telementart& art = *elementart(e.gmshtyp);
    const ELETYP::Tdataset* ds =
        ELETYP::get_datasetptr(ELETYP::Tkey(ELE::DIM_2D, art.form, art.ansfunk, art.ansfunk));
    const ELEIPU::Tdataset* regel =
        ELEIPU::get_datasetptr(ELEIPU::Tkey(ELE::DIM_2D, art.form, ELE::IPU_GAUSS, art.Nipu));
    if (!ds || !ds->ansx || !regel) return fehler_ohne_zeile("Elementbibliothek unvollstaendig");
    const int Nk = ds->Nx();
    const int Necken = ELE::Necken(art.form);
    double flaeche = 0.0;
    for (int k = 0; k < Necken; ++k) {
      const TGmshnetz::Tknoten& a = netz.knoten[e.knoten[k]];
      const TGmshnetz::Tknoten& b = netz.knoten[e.knoten[(k + 1) % Necken]];
      flaeche += a.x * b.y - b.x * a.y;
    }
    if (flaeche < 0.0) {
      const TVM::MatR& xi = ds->ansx->xik;
      std::vector<int> gespiegelt(Nk);
      for (int k = 0; k < Nk; ++k) {
        int m = 0;
        while (m < Nk && !(xi[0][m] == xi[1][k] && xi[1][m] == xi[0][k]))
          ++m;
        if (m == Nk) return fehler_ohne_zeile("Elementbibliothek unvollstaendig");
        gespiegelt[k] = e.knoten[m];
      }
      e.knoten = gespiegelt;
    }
    TVM::MatR Xx(2, Nk);
    for (int k = 0; k < Nk; ++k) {
      Xx[0][k] = netz.knoten[e.knoten[k]].x;
      Xx[1][k] = netz.knoten[e.knoten[k]].y;
    }
    TVM::MatR J;
    for (int p = 0; p < regel->xip.spalten; ++p) {
      const TVM::VekR xi{regel->xip[0][p], regel->xip[1][p]};
      if (!ds->_J(Xx, xi, J) || !(J[0][0] * J[1][1] - J[0][1] * J[1][0] > 0.0))
        return fehler_ohne_zeile("Element " + std::to_string(e.num) +
                                 " ist entartet oder verzerrt (det J <= 0 an einem Integrationspunkt)");
    }
    return true;
  }

  Tleser le;
  TGmshnetz& netz;
  std::string& fehlertext;
  bool v4 = false;
  std::map<std::pair<int, int>, std::string> namen;
  std::map<std::pair<int, int>, std::vector<int>> entitaetsgruppen;
  std::map<int, size_t> elementindex;
};

// Lists of at most 12 numbers per comment line, each a complete list entry.
void listen(std::ostream& aus, const std::set<int>& nummern) {
  auto p = nummern.begin();
  while (p != nummern.end()) {
    aus << "!   (";
    for (int i = 0; i < 12 && p != nummern.end(); ++i, ++p)
      aus << (i ? ", " : "") << *p;
    aus << ")\n";
  }
}

} // namespace

int gmsh_knotenanzahl(int typ) {
  const Tgmshtyp* t = gmshtyp(typ);
  return t ? t->Nk : 0;
}

bool TGmshnetz::lesen(std::istream& ein, std::string& fehler) {
  *this = TGmshnetz();
  fehler.clear();
  Tparser parser(ein, *this, fehler);
  if (parser.datei()) return true;
  *this = TGmshnetz();
  return false;
}

void TGmshnetz::schreiben(std::ostream& aus, const std::string& quelle) const {
  std::set<int> benutzt;
  std::set<int> typen;
  for (const Telement& e : elemente) {
    benutzt.insert(e.knoten.begin(), e.knoten.end());
    typen.insert(e.gmshtyp);
  }
  aus << "! Netz aus Gmsh: " << quelle << " (MSH " << version << "), " << benutzt.size() << " Knoten, "
      << elemente.size() << " Elemente\n"
      << "! Die Elemente gehoeren zu Material 1 (mat-Zeile ergaenzen); Elementtypnummer = Knotenanzahl.\n";
  for (int typ : typen) {
    const Telementart& a = *elementart(typ);
    aus << "eletyp " << gmsh_knotenanzahl(typ) << ", " << ELE::str_FORM(a.form) << ", "
        << ELE::str_ANSFUNK(a.ansfunk) << ", " << ELE::str_ANSFUNK(a.ansfunk) << ", Gauss, " << a.Nipu
        << ", 1\n";
  }
  for (int k : benutzt) {
    const Tknoten& p = knoten.at(k);
    aus << "kno " << k << ", 1, 1., (" << zahltext(p.x) << ", " << zahltext(p.y) << ")\n";
  }
  for (const Telement& e : elemente) {
    aus << "ele " << e.num << ", 1, " << e.knoten.size() << ", (";
    for (size_t k = 0; k < e.knoten.size(); ++k)
      aus << (k ? ", " : "") << e.knoten[k];
    aus << "), 1\n";
  }
  for (const auto& [schluessel, g] : gruppen) {
    std::set<int> kn;
    std::set_intersection(g.knoten.begin(), g.knoten.end(), benutzt.begin(), benutzt.end(),
                          std::inserter(kn, kn.begin()));
    const std::string kopf = "! Gruppe \"" + g.name + "\" (Gmsh: Dimension " +
                             std::to_string(schluessel.first) + ", Nummer " +
                             std::to_string(schluessel.second) + "): ";
    aus << kopf << kn.size() << " Knoten\n";
    listen(aus, kn);
    if (!g.elemente.empty()) {
      aus << kopf << g.elemente.size() << " Elemente\n";
      listen(aus, g.elemente);
    }
  }
}

} // namespace GMSH
