// Runs of the inputs that fuzzing found faults with (fuzz/funde/): each must
// end without a stop after its first steps. The sanitizer build reports the
// undefined behaviour they once caused.

#include "testhilfe.h"

using namespace MPM;

namespace {

// A run cut to two steps once the start values are set, as in the fuzz target.
struct Kurzlauf : Tmpm {
  int _ausgabe(ZEITPU z) override {
    const int r = Tmpm::_ausgabe(z);
    if (z == ZEITPU_STARTWERTE) stw.Nt = std::min(stw.Nt, 2u);
    return r;
  }
};

} // namespace

// leere-zwillingsansaetze: a bar with clouds from the material points to the
// nodes and a point whose position runs into bytes that are no number; an
// integration point and its material point both have an empty approximation,
// whose weights were compared through null data.
TEST(Transfer, FuzzFindingsRunToTheEnd) {
  const std::filesystem::path ordner = std::filesystem::path(MPM_QUELLE) / "fuzz" / "funde";
  int laeufe = 0;
  for (const auto& eintrag : std::filesystem::directory_iterator(ordner)) {
    SCOPED_TRACE(eintrag.path().filename().string());
    Konsolenumleitung konsole;
    Testlauf lauf(datei_lesen(eintrag.path().string()));
    Kurzlauf mpm;
    EXPECT_TRUE(mpm._steuerung());
    EXPECT_EQ(mpm.tt, 1) << "the second of two steps, counted from 0, ends the run";
    ++laeufe;
  }
  EXPECT_GE(laeufe, 1);
}
