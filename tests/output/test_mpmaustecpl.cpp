#include "frame/mix.h"
#include "output/mpmaus.h"
#include "testhilfe.h"

using namespace MPM;
using TVM::VekR;

// Points in pairs across a strip: point k + 1 at (k / 2, k % 2).
TEST(Tecplot, HeaderAndLadderComeWithTheFirstRecordWhateverItsStep) {
  for (int N : {10, 11, 1, 0}) {
    Modelllauf l("");
    Tmpm& mpm = l.mpm;
    _material_erzeugen(&mpm, 1, 1, {1.0, 100.0, 0.25, 0.0});
    std::string zeilen;
    for (int i = 0; i < N; ++i) {
      const VekR x{1.0 * (i / 2), 1.0 * (i % 2)};
      th::materialpunkt(mpm, i + 1, x[0], x[1])->zust.eps.init({0.5 * i, -1.0, 3.0});
      zeilen += _str(x, 10) + " " + _str(0.5 * i, 10) + " " + _str(-1.0, 10) + " " + _str(3.0, 10) + " \n";
    }
    mpm._ausgabe_tecplot(ZEITPU_ZEITSCHRITTENDE);
    EXPECT_EQ(l.lauf.lesen("tpl"), "") << "switched off";
    mpm.bausdat_tecpl = true;
    mpm.titel = "Streifen";
    mpm.tt = 3;
    mpm.t = 0.25;
    mpm._ausgabe_tecplot(ZEITPU_STARTWERTE);
    mpm._ausgabe_tecplot(ZEITPU_ZEITSCHRITTENDE);
    if (N == 0) {
      EXPECT_EQ(l.lauf.lesen("tpl"), "") << "no zone without points";
      continue;
    }
    // E = N / 2 - 1 quadrilaterals over consecutive pairs.
    const std::string kopf = "TITLE = \"Streifen\"\nVARIABLES =\"X\", \"Y\", \"eps1\", \"eps2\", \"eps12\"\n";
    const std::string E = N == 1 ? "0" : "4", N_ = std::to_string(N);
    const std::string leiter = N == 1 ? "\n" : "\n1 3 4 2\n3 5 6 4\n5 7 8 6\n7 9 10 8\n";
    EXPECT_EQ(l.lauf.lesen("tpl"), kopf + "ZONE T=\"0.25\", F=FEPOINT, N=" + N_ + ", E=" + E +
                                       ", ET=QUADRILATERAL\n" + zeilen + leiter);
    // Later records, also one of step 0 after a refinement, reuse the connectivity.
    const std::size_t alt = l.lauf.lesen("tpl").size();
    mpm.tt = 0;
    mpm.t = 0.5;
    mpm._ausgabe_tecplot(ZEITPU_ZEITSCHRITTENDE);
    EXPECT_EQ(l.lauf.lesen("tpl").substr(alt), "ZONE T=\"0.5\", F=FEPOINT, N=" + N_ + ", E=" + E +
                                                   ", ET=QUADRILATERAL, D=(FECONNECT)\n" + zeilen);
  }
}
