#pragma once
// Meshes from Gmsh: reads the MSH formats 4.1 and 2.2 (ASCII) and writes the
// nodes and plane elements as kno, eletyp and ele lines of an input file, with
// the named physical groups as node and element lists in comments.

#include <iosfwd>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace GMSH {

// A plane mesh read from one file. Owns everything it holds; `lesen`
// replaces the content. Nodes and elements keep their Gmsh numbers; the
// nodes of every element stand in the program's node order, counter-clockwise.
class TGmshnetz {
public:
  struct Tknoten {
    double x = 0.0, y = 0.0, z = 0.0;
  };
  struct Telement {
    int num = 0;
    int gmshtyp = 0;
    std::vector<int> knoten;
  };
  // A physical group: the nodes of all its elements and, for a surface
  // group, its plane elements.
  struct Tgruppe {
    std::string name;
    std::set<int> knoten;
    std::set<int> elemente;
  };

  // Reads a whole file. False, with a message naming the line in `fehler`,
  // for anything that is no MSH 4.1 or 2.2 ASCII mesh of plane elements the
  // program has (3-D meshes, nodes off the plane z = 0, other element kinds,
  // distorted elements, broken or truncated files).
  bool lesen(std::istream& ein, std::string& fehler);

  // The input lines: a heading comment naming `quelle`, one eletyp line per
  // element kind met (numbered by its node count), the kno lines of every node
  // an element uses, the ele lines (material 1), then each physical group as
  // comments holding lists ready for kno_bewerzw, punktlast or ele_c entries.
  void schreiben(std::ostream& aus, const std::string& quelle) const;

  std::string version;                            // "4.1" or "2.2"
  std::map<int, Tknoten> knoten;                  // every node of the file
  std::vector<Telement> elemente;                 // plane elements in file order
  std::map<std::pair<int, int>, Tgruppe> gruppen; // by (dimension, number)
};

// Number of nodes of a Gmsh element type, 0 for types this reader does not know.
int gmsh_knotenanzahl(int gmshtyp);

} // namespace GMSH
