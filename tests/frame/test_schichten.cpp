// The include graph of src/ against the layer order of the README: a file
// includes only files of its own or a lower layer.

#include <map>
#include <regex>

#include "testhilfe.h"

namespace {

namespace fs = std::filesystem;

// The folders of src/, lowest first; the program entry lies above them all.
const std::vector<std::string> schichten = {"frame",  "numerics", "element", "input",   "model",
                                            "approx", "solver",   "output",  "einstieg"};

// Files whose role lies in another layer than their folder's.
const std::map<std::string, std::string> rollen = {
    // The program entry and its command line, whose help lists every name table.
    {"frame/mpmhaupt.cpp", "einstieg"},
    {"frame/gmshhaupt.cpp", "einstieg"},
    {"frame/aufruf.h", "einstieg"},
    {"frame/aufruf.cpp", "einstieg"},
    // The model input builds the model into the simulation object, whose members it defines.
    {"input/mpmein.cpp", "solver"},
    // The state record of a point and the parts of a contact line belong to
    // the points and lines that own them.
    {"solver/mpmzustgroe.h", "model"},
    {"solver/mpmzustgroe.cpp", "model"},
    {"solver/mpmkonele.h", "model"},
    {"solver/mpmkonele.cpp", "model"}};

// The layer of a file named from src/ ("model/mpmobjbas.h"); -1 for none.
int schicht(const std::string& datei) {
  const auto rolle = rollen.find(datei);
  const std::string name = rolle != rollen.end() ? rolle->second : datei.substr(0, datei.find('/'));
  const auto pos = std::find(schichten.begin(), schichten.end(), name);
  return pos == schichten.end() ? -1 : static_cast<int>(pos - schichten.begin());
}

// Every include of a higher layer, or from or of a file of no layer, in the
// files under `wurzel`, sorted, one a line.
std::string verstoesse(const fs::path& wurzel) {
  const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
  std::vector<std::string> liste;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(wurzel)) {
    if (!e.is_regular_file()) continue;
    const std::string datei = fs::relative(e.path(), wurzel).generic_string();
    const int eigene = schicht(datei);
    std::smatch treffer;
    for (const std::string& zeile : th::zeilen(datei_lesen(e.path().string()))) {
      if (!std::regex_search(zeile, treffer, include)) continue;
      const int ziel = schicht(treffer[1]);
      if (eigene < 0 || ziel < 0 || ziel > eigene)
        liste.push_back("src/" + datei + ": #include \"" + treffer[1].str() + "\"");
    }
  }
  std::sort(liste.begin(), liste.end());
  std::string text;
  for (const std::string& v : liste)
    text += v + "\n";
  return text;
}

} // namespace

TEST(Schichten, IncludesGoToTheSameOrALowerLayer) {
  const fs::path src = fs::path(MPM_QUELLE) / "src";
  for (const fs::directory_entry& e : fs::directory_iterator(src))
    EXPECT_GE(schicht(e.path().filename().string() + "/"), 0)
        << e.path() << " has no place in the layer order";
  EXPECT_EQ(verstoesse(src), "") << "includes of a higher layer";
}

TEST(Schichten, EveryUpwardIncludeIsNamed) {
  Tempordner o;
  for (const char* ordner : {"model", "solver", "input", "frame"})
    fs::create_directories(o.pfad() / ordner);
  o.schreiben("model/a.h", "#include <vector>\n#include \"model/b.h\"\n#include \"frame/c.h\"\n"
                           "  #  include \"solver/mpm.h\"\n#include \"a.h\"\n");
  o.schreiben("solver/mpmzustgroe.h", "#include \"model/b.h\"\n#include \"solver/mpmobjsys.h\"\n");
  o.schreiben("input/mpmein.cpp", "#include \"solver/mpm.h\"\n#include \"output/mpmaus.h\"\n");
  o.schreiben("frame/mix.cpp", "// #include \"output/mpmaus.h\" in a comment\n#include \"frame/aufruf.h\"\n");
  EXPECT_EQ(verstoesse(o.pfad()), vorlage("frame/golden/schichten.txt"));
}
