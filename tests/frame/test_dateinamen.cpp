#include "frame/dateinamen.h"
#include "testhilfe.h"

namespace fs = std::filesystem;

namespace {
const std::string prompt = "\nDateinamen (ohne Endung) eingeben: ";

// stream_start and stream_stop around a test, with the console captured.
struct Laufstart {
  explicit Laufstart(const std::string& basis) { stream_start(basis.c_str()); }
  ~Laufstart() { stream_stop(); }
};
} // namespace

TEST(Laufdateien, AllTwentyFiveCreatedEmptyAndLogsOpen) {
  Tempordner ordner;
  ordner.schreiben("b.mpm", "titel \"x\"\n");
  Konsolenumleitung k;
  const std::string basis = ordner.datei("b");
  {
    Laufstart lauf(basis);
    EXPECT_EQ(k.aus.str(), "");
    ASSERT_EQ(dateien.Ndat(), 25);
    EXPECT_EQ(dateien.basisname(), basis);
    std::string endungen;
    for (int i = 0; i < 25; ++i) {
      ASSERT_EQ(dateien.name(i).rfind(basis + ".", 0), 0u);
      endungen += dateien.name(i).substr(basis.size() + 1) + "\n";
      EXPECT_EQ(dateien.modus(i), i == 0 ? "r" : "w");
      ASSERT_TRUE(fs::exists(dateien.name(i))) << dateien.name(i);
      EXPECT_TRUE(i == 0 || fs::file_size(dateien.name(i)) == 0) << dateien.name(i);
    }
    EXPECT_EQ(endungen, vorlage("frame/golden/laufendungen.txt"));
    EXPECT_EQ(dateien.name(25), "");
    EXPECT_EQ(dateien.name(-1), "");
    *pck << "Kontrolle";
    *pcf << "Fehler";
  }
  EXPECT_EQ(datei_lesen(basis + ".kt1.txt"), "Kontrolle");
  EXPECT_EQ(datei_lesen(basis + ".flr.txt"), "Fehler");
  EXPECT_EQ(datei_lesen(basis + ".mpm"), "titel \"x\"\n");
  // After the stop the logs swallow everything again.
  *pcf << "verloren";
  EXPECT_EQ(datei_lesen(basis + ".flr.txt"), "Fehler");
}

TEST(Laufdateien, MissingInputListsFailuresPromptsAndCreatesNothing) {
  Tempordner ordner;
  ordner.schreiben("gut.mpm", "");
  const std::string fehlt = ordner.datei("fehlt");
  {
    // End of input at the prompt stops with the integer 1.
    Konsolenumleitung k("");
    EXPECT_EQ(stoppcode([&] { stream_start(fehlt.c_str()); }), 1);
    stream_stop();
    EXPECT_EQ(k.aus.str().rfind("\nFehler beim Oeffnen der Datei(en):\n\t<" + fehlt + ".mpm>" + prompt, 0),
              0u)
        << k.aus.str();
    EXPECT_EQ(std::distance(fs::directory_iterator(ordner.pfad()), fs::directory_iterator()), 1);
  }
  {
    // A second name that works ends the prompt; only its files are made.
    Konsolenumleitung k("   " + ordner.datei("gut") + "  rest\n");
    Laufstart lauf(fehlt);
    EXPECT_EQ(dateien.basisname(), ordner.datei("gut"));
    EXPECT_TRUE(fs::exists(ordner.datei("gut.vtk")));
    EXPECT_FALSE(fs::exists(ordner.datei("fehlt.vtk")));
  }
  {
    // No name at all: the prompt comes before anything else.
    Konsolenumleitung k("");
    EXPECT_EQ(stoppcode([] { stream_start(""); }), 1);
    stream_stop();
    EXPECT_EQ(k.aus.str().rfind(prompt, 0), 0u);
  }
}

TEST(Laufdateien, LongBaseNamesAreCut) {
  Konsolenumleitung k("");
  const std::string lang(300, 'a');
  const char* endungen[] = {"mpm", "dat.mpu.txt"};
  const char* modi[] = {"r", "r"};
  Tdateinamen tabelle;
  EXPECT_THROW(tabelle.init(("/nicht/da/" + lang).c_str(), 2, endungen, modi), int);
  // The table holds the names of the last attempt.
  EXPECT_EQ(tabelle.name(0).size(), 256u);
  EXPECT_EQ(tabelle.name(0), ("/nicht/da/" + lang).substr(0, 252) + ".mpm");
  EXPECT_EQ(tabelle.name(1), ("/nicht/da/" + lang).substr(0, 244) + ".dat.mpu.txt");
  tabelle.aufraeumen();
  EXPECT_EQ(tabelle.name(0), "");
}
