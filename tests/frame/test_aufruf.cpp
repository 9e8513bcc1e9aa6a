#include "frame/aufruf.h"
#include "frame/zeichkett.h"
#include "input/mpmschluesselw.h"
#include "testhilfe.h"

// The options, the base name and the help text, which lists every keyword
// entry and the names of word entries.
TEST(Aufruf, OptionsBaseNamesAndHelp) {
  std::ostringstream s;
  hilfe(s);
  const std::string h = s.str(), aufruf = "Aufruf: mpm [--help | -h] [--version] [[--] BASISNAME]\n";
  const struct {
    std::vector<const char*> argumente;
    int status;
    std::string basis, aus, fehl;
  } faelle[] = {{{"mpm", "balken", "weiteres"}, -1, "balken", "", ""},
                {{"mpm"}, -1, "", "", ""},
                {{"mpm", "--", "-lauf"}, -1, "-lauf", "", ""},
                {{"mpm", "-x"}, 1, "", "", "mpm: unbekannte Option -x\n" + aufruf},
                {{"mpm", "balken", "--hilfe"}, 1, "balken", "", "mpm: unbekannte Option --hilfe\n" + aufruf},
                {{"mpm", "--version", "balken"}, 0, "", std::string("mpm ") + programmversion() + "\n", ""},
                {{"mpm", "balken", "-h"}, 0, "balken", h, ""},
                {{"mpm", "balken", "--help"}, 0, "balken", h, ""}};
  for (const auto& f : faelle) {
    std::string basis = "alt";
    std::ostringstream aus, fehl;
    EXPECT_EQ(aufruf_auswerten(static_cast<int>(f.argumente.size()), f.argumente.data(), basis, aus, fehl),
              f.status)
        << f.argumente.back();
    EXPECT_EQ(basis, f.basis);
    EXPECT_EQ(fehl.str(), f.fehl);
    EXPECT_EQ(aus.str(), f.aus);
  }
  EXPECT_NE(std::string(programmversion()), "unbekannt");
  EXPECT_EQ(h.rfind(aufruf, 0), 0u);
  // Every keyword with its description and one row per entry: number, format letter, default word.
  for (int k = 1; k < TSCHLUESSELWORTE::N; ++k) {
    const TSCHLUESSELWORT& sw = TSCHLUESSELWORTE::sw[k];
    std::string block = "\n\n" + std::string(sw.wort) + "\n";
    if (*sw.beschreibung) block += "    " + std::string(sw.beschreibung) + "\n";
    for (int j = 1; sw.format[j - 1]; ++j) {
      const std::string vorgabe = wort(sw.zeile, j);
      block += "    " + std::string(j < 10 ? " " : "") + std::to_string(j) + "  " + sw.format[j - 1] + "  " +
               (vorgabe.empty() ? "-" : vorgabe) + "\n";
    }
    EXPECT_NE(h.find(block + "\n"), std::string::npos) << sw.wort;
  }
  // Fragments of the name lists of word entries.
  for (int i = 1; i <= 5; ++i)
    EXPECT_TRUE(th::enthaelt(h, th::golden("frame/golden/hilfe.txt", std::to_string(i)))) << i;
}

TEST(Aufruf, MessagesOfTheErrorLog) {
  Tempordner o;
  EXPECT_EQ(fehlerprotokoll_hinweis(o.datei("fehlt.flr.txt")), "");
  o.schreiben("leer.flr.txt", "");
  EXPECT_EQ(fehlerprotokoll_hinweis(o.datei("leer.flr.txt")), "");

  o.schreiben("a.flr.txt", "Eingabedatei, Zeilennummer 0: Zeitschrittverfahren unzulaessig: impldyn\n");
  EXPECT_EQ(fehlerprotokoll_hinweis(o.datei("a.flr.txt")),
            "Fehlerprotokoll " + o.datei("a.flr.txt") + ": 1 Meldung");
  // A bare position introduces the text on the next line; indented lines continue a message.
  o.schreiben("b.flr.txt", vorlage("frame/daten/vier.flr.txt"));
  EXPECT_EQ(fehlerprotokoll_hinweis(o.datei("b.flr.txt")),
            "Fehlerprotokoll " + o.datei("b.flr.txt") + ": 4 Meldungen");
}
