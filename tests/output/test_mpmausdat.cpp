#include <set>
#include <tuple>

#include "testhilfe.h"

using namespace MPM;
using namespace th;
using TVM::VekR;

namespace {
const char* const goldtabellen = "output/golden/datentabellen.txt";
const double wurzel2 = std::sqrt(2.0);

// A whole table: its header, the rows of block `zeilen` of the golden file
// and, with `ende`, the closing line.
void pruefen(const Testlauf& lauf, const Tmpm& mpm, const std::string& t, const std::string& zeilen = "",
             bool ende = false) {
  const std::string text = lauf.lesen(t), kopf = golden(goldtabellen, t, mpm.zeitanfang);
  EXPECT_EQ(text, kopf + (zeilen.empty() ? "" : golden(goldtabellen, zeilen)) +
                      (ende ? "#Ende / " + mpm.zeitende + "\n" : ""))
      << t;
}

} // namespace

// One output time (tt 4, t 0.5) of every table. Rows: point 1 with every
// state variable and a point without material (zeros after t); nodes 1 and
// 3, whose first component is fixed. Mass: row sum of M at the first
// unknown (row 0: 6, row 4: 26); K: the diagonal; f: R; Fa: G. Material
// iterations: one block per point and outer iteration, two empty lines
// between blocks; lambda is the plastic law's fifth variable, 0 for the
// elastic point. The element table, switched on before the start, gets its
// header and its closing line.
TEST(Datentabellen, RowsOfSelectedObjectsPerOutputTimeAndClosingLinesAfterAStop) {
  Testlauf lauf("");
  Konsolenumleitung k;
  // Two materials (elastic, plastic), three material points and three nodes.
  Modell mpm;
  _material_erzeugen(&mpm, 2, 2, {2.0, 100.0, 0.25, 0.0, 1.0, 0.0});
  TMaterialpunkt* mp[] = {materialpunkt(mpm, 1, 1.0, 2.0), materialpunkt(mpm, 2, 2.0, 4.0, 1.0, 2),
                          materialpunkt(mpm, 3, 3.0, 6.0)};
  TKnoten* kn[] = {knoten(mpm, 1, 0.0, 1.0), knoten(mpm, 2, 0.0, 2.0), knoten(mpm, 3, 0.0, 3.0)};
  mpm.bausdat_ele = true;
  mpm._ausgabe(ZEITPU_ANFANG);
  TZustgroe& zg = mp[0]->zust;
  zg.u.init({0.1, 0.2});
  zg.ut.init({3.0, 4.0});
  zg.utt.init({5.0, 6.0});
  zg.eps.init({0.01, 0.02, wurzel2 * 0.03});
  zg.sig.init({10.0, 20.0, wurzel2 * 30.0});
  zg.z.init({1.0, 2.0, 3.0, 4.0, 5.0});
  zg.q.init({7.0, 8.0, 9.0});
  // A point whose material is missing (the user went on after the error).
  Konsolenumleitung weiter("w\n");
  TMaterialpunkt* ohne = mpm._anlegen<TMaterialpunkt>(&mpm, 9, OBJTYP_MPU, 99, 1.0, VekR{0.0, 0.0}, VekR(),
                                                      VekR(), VekR(), VekR(), 0);
  ASSERT_EQ(ohne->material, nullptr);
  mpm.mpu.einfuegen(9, ohne);
  mp[0]->bausgewaehlt = ohne->bausgewaehlt = true;

  // System of 5 unknowns: node 1 at 0 and 1, node 2 at 2 and 3, node 3 has
  // its first component fixed and the second at 4.
  TSystem& sys = *mpm.sys;
  for (TKnoten* p : kn)
    mpm.knou.einfuegen(p->num, p);
  sys._init();
  for (int i = 0; i < 5; ++i) {
    for (int j = 0; j < 5; ++j) {
      sys._addieren(SYSMAT_M, i, j, i + 0.1 * j + 1.0);
      sys._addieren(SYSMAT_K, i, j, 10.0 * (i + 1) + j);
    }
    sys.fint[i] = i + 1.0;
    sys.fext[i] = -(i + 1.0) / 10.0;
    sys.R[i] = 100.0 + i;
    sys.fm[i] = 0.5 * i;
    sys.G[i] = 1e-3 * (i + 1);
  }
  kn[0]->sysposfhg.init({0, 1});
  kn[1]->sysposfhg.init({2, 3});
  kn[2]->sysposfhg.init({-1, 4});
  kn[0]->zust.u.init({0.5, -0.25});
  kn[0]->zust.ut.init({1.5, 2.5});
  kn[0]->zust.utt.init({-3.0, 4.0});
  kn[0]->zust.eps.init({1e-3, 2e-3, wurzel2 * 3e-3});
  kn[0]->zust.sig.init({-1.0, -2.0, wurzel2 * -3.0});
  kn[0]->bausgewaehlt = kn[2]->bausgewaehlt = true;
  sys.normdU = 1.5e-4;
  sys.normG = 2.5e-6;

  // Switches off, or an unconverged step: no rows.
  mpm.bausdat = mpm.bkonkontr = mpm.bkonv = mpm.bmatkonv = true;
  mpm._ausgabe(ZEITPU_ZEITSCHRITTENDE);
  mpm._ausgabe(ZEITPU_ITERATIONSSCHRITTENDE);
  mpm.bausdat_mpu = mpm.bausdat_kno = true;
  mpm.bkonv = false;
  mpm._ausgabe(ZEITPU_ZEITSCHRITTENDE);
  mpm.bkonv = true;
  mpm.tt = 4;
  mpm.t = 0.5;
  mpm.jjges = 7;
  // Iterations add no state rows, steps no convergence rows.
  mpm.bausdat_konvaglo = mpm.bausdat_konvalok = true;
  mpm._ausgabe(ZEITPU_ITERATIONSSCHRITTENDE);
  mpm._ausgabe(ZEITPU_ZEITSCHRITTENDE);

  mp[1]->bausgewaehlt = true;
  mp[0]->zust.z.init({0.0, 0.0, 0.0, 0.0, 0.25});
  mp[1]->zust.z.init({0.0, 0.0, 0.0, 0.5, 0.125});
  mp[1]->zust.normdz = 1e-3;
  mp[1]->zust.normr = 2e-5;
  mpm._ausgabe_dat_konvilok(ZEITPU_ZEITSCHRITTENDE, mp[0]); // switch off
  mpm.bausdat_konvilok = true;
  mpm._ausgabe_dat_konvilok(ZEITPU_ZEITSCHRITTENDE, mp[2]); // not selected
  mpm._ausgabe_dat_konvilok(ZEITPU_ZEITSCHRITTENDE, nullptr);
  for (const auto& [punkt, jjges, iiges] :
       {std::tuple{mp[0], 0, 0}, std::tuple{mp[0], 0, 1}, std::tuple{mp[1], 1, 2}}) {
    mpm.jjges = jjges;
    mpm.iiges = iiges;
    mpm._ausgabe_dat_konvilok(ZEITPU_ZEITSCHRITTENDE, punkt);
  }
  mpm._ausgabe(ZEITPU_ABBRUCH);
  for (const char* t : {"mpu", "kno", "kag", "kal", "kil"})
    pruefen(lauf, mpm, "dat." + std::string(t) + ".txt", t + std::string("-Zeilen"), true);
  pruefen(lauf, mpm, "dat.ele.txt", "", true);
}

// The smallest usable model through start-up and the driver. The element
// switch, set by the model input after the start, neither opens nor closes
// the element table.
TEST(Datentabellen, RunWithoutSelectionsWritesHeadersAndClosingLinesOnly) {
  Modelllauf l("stw_t 0., 1., 0.25\nobj_ausdat ele, (1)\n" + einheitsquadrat("mat 1, 1, (1., 1., 0., 0.)"));
  ASSERT_TRUE(l.mpm._steuerung());
  // The driver's time loop: its own line between the start values and the first step.
  EXPECT_TRUE(enthaelt(l.k.aus.str(), "Ausgabe der Startwerte\nZeitschritte\n  ZSA: "));
  EXPECT_EQ(l.mpm.zsges, 4);
  EXPECT_DOUBLE_EQ(l.mpm.t, 1.0);
  EXPECT_TRUE(l.mpm.bfertig);
  EXPECT_TRUE(l.mpm.bausdat_ele);
  for (const char* t : {"dat.mpu.txt", "dat.kno.txt", "dat.kag.txt", "dat.kal.txt", "dat.kil.txt"})
    pruefen(l.lauf, l.mpm, t, "", true);
  EXPECT_EQ(l.lauf.lesen("dat.ele.txt"), "");
  // The control log received the framed start like the console.
  EXPECT_TRUE(enthaelt(l.k.kontroll.str(), "\nSTART " + l.mpm.zeitanfang + "\n"));
}

TEST(Ausgabezeitpunkte, TimeAndStepBasedTestsAndTheDueFlags) {
  Tmpm mpm;
  mpm.stw.ta = 0.0;
  // Steps of 0.05 accumulated as the time loop does: due at every second step.
  mpm.t = 0.0;
  for (int k = 1; k <= 20; ++k) {
    mpm.t += 0.05;
    EXPECT_EQ(mpm._bausgabe(0.1, {}), k % 2 == 0) << "t=" << mpm.t;
  }
  // Within 2.220446E-12 of the grid (measured in time) counts as on it; the
  // grid starts at ta; listed times count within 4.440892E-15; without an
  // interval (0) or with an endless one only the list decides.
  const struct {
    double ta, t, dt;
    std::set<double> liste;
    bool faellig;
  } faelle[] = {{0.0, 0.3 + 2.5e-12, 0.1, {}, false},
                {0.02, 0.12, 0.1, {}, true},
                {0.02, 0.37 + 4.0e-15, 0.1, {0.37}, true},
                {0.02, 0.02, std::nan(""), {}, false}};
  for (const auto& f : faelle) {
    mpm.stw.ta = f.ta;
    mpm.t = f.t;
    EXPECT_EQ(mpm._bausgabe(f.dt, f.liste), f.faellig) << "ta=" << f.ta << " t=" << f.t << " dt=" << f.dt;
  }

  mpm.stw.tta = 2;
  for (int tt = 2; tt <= 9; ++tt) {
    mpm.tt = tt;
    EXPECT_EQ(mpm._bausgabe(3u, {4u}), tt == 2 || tt == 5 || tt == 8 || tt == 4) << tt;
    EXPECT_EQ(mpm._bausgabe(0u, {4u}), tt == 4) << tt;
  }

  // The due flags: "always" or the time test of their interval.
  mpm.stw.ta = 0.0;
  mpm.stw.bimmerausktr = false;
  mpm.stw.dtausktr = 0.1;
  mpm.stw.dtausdat = 0.2;
  for (const auto& [t, immer, ktr, dat] :
       {std::tuple{0.1, false, true, false}, {0.15, false, false, false}, {0.15, true, false, true}}) {
    mpm.t = t;
    mpm.stw.bimmerausdat = immer;
    EXPECT_EQ(mpm._bausgabe(), 1);
    EXPECT_EQ(mpm.bausktr, ktr) << t;
    EXPECT_EQ(mpm.bausdat, dat) << t;
  }
}
