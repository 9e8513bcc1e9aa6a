// The system of equations (numbering, pattern, blocks, solution) and the
// transfers between point sets.

#include "testhilfe.h"

using namespace MPM;
using namespace th;
using TVM::VekR;

namespace {
const std::string quadrat = einheitsquadrat("mat 1, 1, (2., 100., 0.25, 0.)");

// The run files of `eingabe`, started up to the approximations, with the
// point values taken from the nodes and the system stored.
struct Lauf : Startlauf {
  explicit Lauf(const std::string& eingabe, const std::string& konsole = "") : Startlauf(eingabe, konsole) {
    mpm._transfer(OBJTYP_KNO, OBJTYP_MPU, ZUSTGROE_PRIMAER);
    mpm._transfer_knou_zu_sys();
    mpm._umspeichern(RICHTUNG_VORWAERTS);
  }
};

} // namespace

TEST(Loesungsschritt, PrescribedTimeZeroRateAndLimitCases) {
  {
    // All unknowns prescribed: the free block is empty, U := Uvor.
    std::string bedingungen = quadrat + "stw_strafverf F\nstw_t 0., 1., 1.\n";
    for (int n = 1; n <= 4; ++n)
      bedingungen += verschiebung(2 * n, std::to_string(n), 0, 0.001 * n) +
                     verschiebung(2 * n + 1, std::to_string(n), 90, -0.002);
    Tmpm mpm;
    ASSERT_TRUE(laufen(mpm, bedingungen));
    EXPECT_EQ(mpm.sys->N0, 0);
    for (int n = 1; n <= 4; ++n) {
      EXPECT_NEAR(kno_z(mpm, n)->zust.u[0], 0.001 * n, 1e-17);
      EXPECT_NEAR(kno_z(mpm, n)->zust.u[1], -0.002, 1e-17);
    }
  }
  // One node with two unknowns, stiffness 10 I (singular: all ones), load
  // (0.2, 0) (singular: (1, 0)), no masses: time step 0; rate control of power
  // 2 (0.02 after 0.1 is too slow); the iteration limit, whose solution is
  // still right; a singular K, which "automatisch" solves by the SVD's
  // minimum-norm solution. The console shows the message `text` of the
  // golden file (none: ""); U empty: not checked.
  const auto schritt = [](bool singulaer, void (*vorher)(Tmpm&), bool ok, const std::string& text,
                          const VekR& U) {
    Konsolenumleitung k;
    Tmpm mpm;
    mpm.stw.bmassen = false;
    mpm.stw._init_zeitschrittparam(0.1);
    mpm.dt = 0.1;
    knoten(mpm, 1, 0, 0, 1.0, true);
    mpm.sys->_init();
    for (int i = 0; i < 4; ++i)
      mpm.sys->_addieren(SYSMAT_KT, i / 2, i % 2, singulaer ? 1.0 : i % 3 ? 0.0 : 10.0);
    mpm.sys->fext = VekR{singulaer ? 1.0 : 0.2, 0.0};
    vorher(mpm);
    EXPECT_EQ(mpm._U_Ut_Utt(), ok) << text;
    EXPECT_TRUE(mpm.bkonv || mpm.dt > 0.0) << "a step of length 0 counts as converged";
    EXPECT_EQ(k.aus.str(), text.empty() ? "" : golden(meldungen, text));
    for (int i = 0; i < U.n; ++i)
      EXPECT_NEAR(mpm.sys->U[i], U[i], 1e-15) << text;
  };
  schritt(false, [](Tmpm& m) { m.sys->U_n.init(2, nullptr, 0.5), m.dt = 0.0; }, true, "dt=0", {0.5, 0.5});
  schritt(false,
          [](Tmpm& m) {
            m.stw.bkonvkontrbilanzit = true, m.stw.minkonvbilanzit = 2.0, m.sys->normdU = 0.1, m.jj = 1;
          },
          false, "Bilanz zu langsam", {});
  schritt(false, [](Tmpm& m) { m.stw.maxNbilanzit = 5, m.jj = 5; }, false, "Bilanz Maximalzahl", {0.02, 0});
  schritt(true, [](Tmpm&) {}, false, "K11 singulaer", {});
  schritt(true, [](Tmpm& m) { m.stw.gleichloes_bil = MATHE::LOESER_AUTOMATISCH; }, true, "", {0.25, 0.25});
}

TEST(Transfer, PairsSkippedNodesAndResults) {
  Lauf l(quadrat + "kno 5, 1, 1., (3, 3)\n", "w\n");
  Tmpm& mpm = l.mpm;
  EXPECT_FALSE(mpm._transfer(OBJTYP_IPU, OBJTYP_MPU, ZUSTGROE_ALLE));
  EXPECT_EQ(l.k.aus.str(), golden(meldungen, "transfer ohne Ansatz") + frage);

  // New nodal displacements flow to the material points; stresses do not.
  TSystem& s = l.s;
  for (int n = 1; n <= 4; ++n) {
    s.U[l.p(n, 0)] = 0.1 * kno_z(mpm, n)->xa[0];
    s.U[l.p(n, 1)] = -0.2 * kno_z(mpm, n)->xa[1];
  }
  TMaterialpunkt* mp = mpu_z(mpm, 1);
  mp->zust.sig.init({1, 2, 3});
  TKnoten* fern = kno_z(mpm, 5);
  fern->zust.sig.init({7, 7, 7});
  ASSERT_TRUE(mpm._transfer_ergebnisse());
  EXPECT_NEAR(mp->zust.u[0], 0.1 * mp->xa[0], 1e-15);
  EXPECT_EQ(mp->zust.sig, (VekR{1, 2, 3}));
  EXPECT_EQ(fern->zust.sig, (VekR{7, 7, 7})) << "a node without element or material point receives nothing";
  // An integration point writes its provider's record, active or not.
  TPunkt* geber = IPU_Z(mpm.ipu.suchen(1))->zustgeber;
  ASSERT_TRUE(geber && geber->objtyp == OBJTYP_MPU);
  const VekR u = geber->zust.u;
  EXPECT_NE(u, VekR(2));
  s.U *= 2.0;
  geber->status = OBJSTATUS_INAKTIV;
  mpm._transfer_ergebnisse();
  EXPECT_EQ(geber->zust.u, 2.0 * u);

  // An inactive node keeps its state and contributes zeros.
  TKnoten* kn1 = kno_z(mpm, 1);
  kn1->status = OBJSTATUS_INAKTIV;
  kn1->zust.u.init({5, 5});
  s.U[l.p(1)] = 9.0;
  mpm._transfer_sys_zu_knou();
  EXPECT_EQ(kn1->zust.u, (VekR{5, 5}));
  mpm._transfer_knou_zu_sys();
  EXPECT_EQ(s.U[l.p(1)], 0.0);
}

// Two bilinear elements side by side (nodes 1..6) and node 7 outside both.
TEST(System, PatternFromTheElements) {
  Lauf l("stw_zeitschrittverf implizit\nmat 1, 1, (2., 100., 0.25, 0.)\neletyp 1\n" + netz(2, 1, 1.0, 1.0) +
             "kno 7, 1, 1., (5, 5)\n",
         "w\n");
  TSystem& s = l.s;
  ASSERT_EQ(s.N, 14);
  // Node pairs sharing an element: 4 corners x 4, 2 middle nodes x 6, node 7
  // with itself; 2 x 2 entries each.
  EXPECT_EQ(s._Neintraege(), (4 * 4 + 2 * 6 + 1) * 4);
  EXPECT_FALSE(s._vorhanden(SYSMAT_KKON)) << "no contact";
  s._addieren(SYSMAT_KKON, 0, 0, 1.0);
  EXPECT_EQ(s._eintrag(SYSMAT_KKON, 0, 0), 0.0);

  // Whichever cell a point is in, its support stays inside the pattern.
  l.mpm._M_Fm_KT_Fint();
  EXPECT_EQ(s._Neintraege(), 116);
  EXPECT_GT(s._eintrag(SYSMAT_M, l.p(1, 0), l.p(5, 0)), 0.0) << "nodes 1 and 5 share element 1";
  // Nodes 1 and 3 share none: the entry widens the pattern by two.
  s._addieren(SYSMAT_KT, l.p(1, 0), l.p(3, 1), 2.5);
  EXPECT_EQ(s._Neintraege(), 118);
  EXPECT_EQ(s._eintrag(SYSMAT_KT, l.p(1, 0), l.p(3, 1)), 2.5);
  EXPECT_EQ(s._eintrag(SYSMAT_KT, l.p(3, 1), l.p(1, 0)), 0.0);
  EXPECT_GT(s._eintrag(SYSMAT_M, l.p(1, 0), l.p(5, 0)), 0.0) << "values kept";

  // Mass row sums against dense sums. (The combination into K and its
  // product: every whole run; the period test pins K = KT + a0 M.)
  for (int i = 0; i < s.N; ++i) {
    double zeile = 0;
    for (int j = 0; j < s.N; ++j)
      zeile += s._eintrag(SYSMAT_M, i, j);
    EXPECT_EQ(s.M_zeilensumme(i), zeile) << i;
  }
  EXPECT_EQ(s.M_zeilensumme(-1), 0.0);
  EXPECT_EQ(s.K_diagonale(s.N), 0.0);
  s._null(SYSMAT_KT);
  EXPECT_EQ(s._eintrag(SYSMAT_KT, l.p(1, 0), l.p(3, 1)), 0.0);
  EXPECT_EQ(s._Neintraege(), 118) << "zeroing keeps the pattern";

  l.mpm.stw.bkontakt = true;
  s._init();
  EXPECT_TRUE(s._vorhanden(SYSMAT_KKON));
  EXPECT_EQ(s._Neintraege(), 116);

  // The two rows of node 1 widened to the same length, one by a column
  // before those of node 5 and one by a column after them: a block over
  // nodes 1 and 5 (and a position without a place) lands each value where
  // it belongs in both rows.
  s._addieren(SYSMAT_KT, l.p(1, 0), l.p(3, 0), 1.0);
  s._addieren(SYSMAT_KT, l.p(1, 1), l.p(7, 0), 1.0);
  ASSERT_LT(l.p(3, 0), l.p(5, 0));
  ASSERT_GT(l.p(7, 0), l.p(5, 1));
  const TVM::TVektor<int> pos{l.p(1, 0), l.p(1, 1), l.p(5, 0), l.p(5, 1), -1};
  TVM::MatR block(5, 5);
  for (int k = 0; k < 25; ++k)
    block.data[k] = k + 1.0;
  s._block_addieren(SYSMAT_KSTRAF, pos, block);
  EXPECT_EQ(s._Neintraege(), 120) << "two new entries, each with its mirror; the block found all of its own";
  for (int a = 0; a < 4; ++a)
    for (int b = 0; b < 4; ++b)
      EXPECT_EQ(s._eintrag(SYSMAT_KSTRAF, pos[a], pos[b]), block[a][b]) << a << " " << b;
}

// Two rows of six nodes a unit apart; clouds of radius 0.846 from the nodes,
// so that a point in the middle of a cell has the cell's corners as sources.
TEST(System, PatternFollowsTheCloudSupports) {
  std::string eingabe = netz(5, 1, 1.0, 1.0);
  Lauf l(modelltext("wolkenpaar") + eingabe.substr(0, eingabe.find("ele")));
  l.k.aus.str("");
  TSystem& s = l.s;
  auto p = [&l](int n) { return l.p(n); };
  // Each point (and the integration point on it) couples the four corners of
  // its cell: 12 nodes with themselves and 2 x 12 pairs, 2 x 2 entries each.
  EXPECT_EQ(s._Neintraege(), 4 * 36);

  // A held penalty entry outside the supports stays with its value while
  // the pattern moves with point 2 to the cell next to point 1; the pattern
  // also shrinks, and the values of the entries that stay are kept. Unchanged
  // supports leave the pattern as it is.
  s._addieren(SYSMAT_KSTRAF, p(1), p(6), 7.0);
  s._addieren(SYSMAT_M, p(1), p(2), 3.0);
  TMaterialpunkt* mp = mpu_z(l.mpm, 2);
  auto verschieben = [&](double x) {
    mp->xa = mp->x0 = mp->ipu_auf->xa = mp->ipu_auf->x0 = VekR{x, 0.5};
    l.mpm._L_G();
  };
  verschieben(1.5); // cells 1 and 2 share the pair of nodes 2 and 8
  EXPECT_EQ(s._Neintraege(), 4 * 34 + 4);
  EXPECT_EQ(s._eintrag(SYSMAT_KSTRAF, p(1), p(6)), 7.0);
  EXPECT_EQ(s._eintrag(SYSMAT_M, p(1), p(2)), 3.0);
  EXPECT_EQ(s._eintrag(SYSMAT_M, p(5), p(4)), 0.0);
  s._null(SYSMAT_KSTRAF);
  l.mpm._L_G();
  EXPECT_EQ(s._Neintraege(), 4 * 34 + 4);
  verschieben(3.5);
  EXPECT_EQ(s._Neintraege(), 4 * 36);
  EXPECT_EQ(l.k.aus.str(), "");
}

// Free nodes, each with its own springs: the dense solution refuses more than
// maxNdicht unknowns, the sparse one takes them.
TEST(System, DenseSolutionRefusesLargeSystems) {
  Konsolenumleitung k;
  Tmpm mpm;
  const int n = TSystem::maxNdicht / 2 + 1;
  for (int i = 1; i <= n; ++i)
    knoten(mpm, i, i, 0, 1.0, true);
  TSystem& s = *mpm.sys;
  s._init();
  for (int i = 0; i < s.N; ++i)
    s._addieren(SYSMAT_K, i, i, 2.0);
  s.R.init(s.N, nullptr, 1.0);
  ASSERT_TRUE(s._gesund_und_krank());
  s._aufteilen();
  ASSERT_EQ(s.N0, 2 * n);
  EXPECT_FALSE(s._loesen(MATHE::LOESER_SVD, true));
  EXPECT_EQ(k.aus.str(), golden(meldungen, "dichte Loesung zu gross"));
  ASSERT_TRUE(s._loesen(MATHE::LOESER_PROFIL, true));
  EXPECT_EQ(s.U[s.N - 1], 0.5);
  // A multiple of the identity; the estimate sums N shares of 1 / N.
  EXPECT_NEAR(s._kondition(), 1.0, s.N * 2.3e-16);
}

// Two blocks at the same positions in one pass give what two single ones
// give; an unchanged K is not factorised again, a changed one is; an
// approximation's equation positions follow a new numbering. (The solutions
// themselves: every whole run.)
TEST(System, BlocksFactorisationKeptAndPositionsRenewed) {
  Lauf l(quadrat + "stw_m F\n");
  Tmpm& mpm = l.mpm;
  TSystem& s = l.s;
  const TVM::TVektor<int> pos{6, 7, 0, 1};
  TVM::MatR a(4, 4), b(4, 4);
  for (int i = 0; i < 16; ++i) {
    a.data[i] = i + 1.0;
    b.data[i] = -0.5 * i;
  }
  s._block_addieren(SYSMAT_M, a, SYSMAT_KT, b, pos);
  s._block_addieren(SYSMAT_KSTRAF, pos, a);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      EXPECT_EQ(s._eintrag(SYSMAT_M, pos[i], pos[j]), a[i][j]);
      EXPECT_EQ(s._eintrag(SYSMAT_KT, pos[i], pos[j]), b[i][j]);
      EXPECT_EQ(s._eintrag(SYSMAT_KSTRAF, pos[i], pos[j]), a[i][j]);
    }

  s._null(SYSMAT_KSTRAF);
  mpm.stw._init_zeitschrittparam(0.1);
  mpm.dt = 0.1;
  mpm._verzerrungen_mpu();
  mpm._z_CT_DT_sigma_mpu();
  mpm._M_Fm_KT_Fint();
  s.fext.init(s.N, nullptr, 1.0);
  // The unknowns of node 1 held at 0 by elimination keep the rest regular.
  s.bvorgeschrieben[0] = s.bvorgeschrieben[1] = s.bvorgeschrieben[6] = true;
  ASSERT_TRUE(mpm._U_Ut_Utt());
  const long Nzerlegungen = s._Nzerlegungen();
  ASSERT_TRUE(mpm._U_Ut_Utt());
  EXPECT_EQ(s._Nzerlegungen(), Nzerlegungen) << "the same K is factorised once";
  s._addieren(SYSMAT_KT, 2, 2, 50.0);
  ASSERT_TRUE(mpm._U_Ut_Utt());
  EXPECT_EQ(s._Nzerlegungen(), Nzerlegungen + 1);

  TAnsatz* a_mp = mpu_z(mpm, 1)->_ansatz(OBJTYP_KNO);
  TVM::TVektor<int> erwartet;
  EXPECT_EQ(a_mp->_einbaupos(), _einbaupos(a_mp->stuetzpu, erwartet));
  for (TPunkt* kn : a_mp->stuetzpu)
    KNO_Z(kn)->sysposfhg[0] += 100;
  s._init();
  EXPECT_EQ(a_mp->_einbaupos(), _einbaupos(a_mp->stuetzpu, erwartet)) << "numbered anew by _init";
}

// Numbering in registry order, the classes of the unknowns (free,
// prescribed, sick), store and restore, and the force queries of a node.
// The penalty diagonal does not count in the test for sick unknowns: an
// unknown of 1e-9 of the largest penalty entry stays in the system.
TEST(System, NumberingClassesStorageAndForceQueries) {
  Konsolenumleitung k("x");
  Tmpm mpm;
  TKnoten* kn[3];
  for (int i = 0; i < 3; ++i)
    kn[i] = knoten(mpm, 10 - i, i, 0, 1.0, true);
  TSystem& sys = *mpm.sys;
  ASSERT_TRUE(sys._init());
  EXPECT_EQ(sys.N, 6);
  EXPECT_EQ(sys.Nkno, 3);
  // Registry order is ascending number: node 8 first.
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(kn[i]->sysposfhg, (TVM::TVektor<int>{4 - 2 * i, 5 - 2 * i}));

  sys._addieren(SYSMAT_KSTRAF, 5, 5, -1e9);
  for (int i = 0; i < 6; ++i)
    sys._addieren(SYSMAT_K, i, i, std::vector<double>{1, 1, 1, 1e-7, 1e-6, 1 + 1e9}[i]);
  kn[2]->status = OBJSTATUS_INAKTIV;
  sys.bvorgeschrieben[1] = true;
  ASSERT_TRUE(sys._gesund_und_krank());
  ASSERT_TRUE(sys._aufteilen());
  EXPECT_EQ(sys.typ, (TVM::TVektor<unsigned>{2, 1, 0, 2, 0, 0}));
  EXPECT_EQ(sys.N0, 3);
  EXPECT_EQ(sys.N1, 1);
  EXPECT_EQ(sys.N2, 2);

  sys.fint[5] = 42.0;
  VekR f;
  kn[0]->sysposfhg[0] = -1;
  EXPECT_EQ(kn[0]->_fint(f), (VekR{0, 42}));
  TVM::TVektor<int> pos;
  _einbaupos({kn[1], kn[0]}, pos);
  EXPECT_EQ(pos, (TVM::TVektor<int>{2, 3, -1, 5}));

  sys.U.init({1, 2, 3, 4, 5, 6});
  sys._umspeichern(RICHTUNG_VORWAERTS);
  sys.U.init(6, nullptr, 5.0);
  sys.dU.init(6, nullptr, 1.0);
  sys.fext.init(6, nullptr, 3.0);
  sys.normdU = 2;
  sys._umspeichern(RICHTUNG_RUECKWAERTS);
  EXPECT_EQ(sys.U, (VekR{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(sys.U_it, sys.U);
  EXPECT_EQ(sys.dU, VekR(6));
  EXPECT_EQ(sys.fext, VekR(6));
  EXPECT_EQ(sys.normdU, 0.0);

  sys._null(SYSMAT_K);
  sys._addieren(SYSMAT_K, 0, 0, 5e-7);
  EXPECT_THROW(sys._gesund_und_krank(), int);
  EXPECT_EQ(k.aus.str(), golden(meldungen, "gesund_und_krank") + frage);
}

// Walks over the material points. The joint walk of strains and material law
// forms the records of the two passes one after the other, with a law that
// iterates, and adds the element contributions as the assembly pass does; when
// the law fails, the forces and the masses stay those of the last success (the
// mass matrix, when due, is assembled by the passes). An element block's
// inertia forces come out the same without its mass block. Displacements reach
// the material points as their approximations sum them, also after the
// approximations change, and follow switched-off points.
TEST(System, WalksOverTheMaterialPoints) {
  Konsolenumleitung k;
  Testlauf lauf(modelltext("kragarm") + "mat 1, 2, (7850., 2.1e11, 0.3, 1.e-3, 2.e8, 2.1e9)\n" +
                netz(8, 2, 0.25, 0.25));
  Tmpm mpm;
  ASSERT_TRUE(mpm._steuerung() && mpm.bfertig);
  ASSERT_TRUE(mpm._ein_gang());
  TSystem& s = *mpm.sys;
  for (TObjbasis* obj : mpm.knou.liste())
    PU_Z(obj)->zust.u *= 1.e5; // far beyond the yield strain
  struct TStand {
    std::vector<std::vector<double>> bloecke;
    std::vector<double> M, KT, fm, fint;
    int ii;
  };
  const auto stand = [&] {
    TStand r;
    for (TObjbasis* obj : mpm.mpu.liste()) {
      const VekR& b = PU_Z(obj)->zust.alle;
      r.bloecke.emplace_back(b.data, b.data + b.n);
    }
    for (int i = 0; i < s.N; ++i)
      for (int j = 0; j < s.N; ++j) {
        r.M.push_back(s._eintrag(SYSMAT_M, i, j));
        r.KT.push_back(s._eintrag(SYSMAT_KT, i, j));
      }
    r.fm.assign(s.fm.data, s.fm.data + s.fm.n);
    r.fint.assign(s.fint.data, s.fint.data + s.fint.n);
    r.ii = mpm.iiges;
    return r;
  };
  const TStand vorher = stand();
  const auto zuruecksetzen = [&](bool bmasse) {
    for (std::size_t i = 0; i < vorher.bloecke.size(); ++i)
      std::copy(vorher.bloecke[i].begin(), vorher.bloecke[i].end(), PU_Z(mpm.mpu.liste()[i])->zust.alle.data);
    if (bmasse) ++mpm.Nipu_neubasis; // the mass matrix is due to be assembled anew
  };
  ASSERT_TRUE(mpm._verzerrungen_mpu() && mpm._z_CT_DT_sigma_mpu());
  const TStand material = stand();
  const int Nschritte = material.ii - vorher.ii;
  EXPECT_GT(Nschritte, 0) << "the law iterates";
  zuruecksetzen(true);
  ASSERT_TRUE(mpm._verzerrungen_und_material_mpu());
  EXPECT_EQ(stand().bloecke, material.bloecke);
  mpm._transfer(OBJTYP_MPU, OBJTYP_IPU, ZUSTGROE_SEKUNDAER);
  mpm._M_Fm_KT_Fint();
  const TStand getrennt = stand();
  EXPECT_EQ(getrennt.ii - material.ii, Nschritte);
  zuruecksetzen(false);
  s.fm.init(s.N, nullptr);
  s.fint.init(s.N, nullptr);
  ASSERT_TRUE(mpm._ein_gang());
  ASSERT_TRUE(mpm._verzerrungen_material_beitraege());
  const TStand gemeinsam = stand();
  EXPECT_EQ(gemeinsam.bloecke, getrennt.bloecke);
  EXPECT_EQ(gemeinsam.M, getrennt.M);
  EXPECT_EQ(gemeinsam.KT, getrennt.KT);
  EXPECT_EQ(gemeinsam.fm, getrennt.fm);
  EXPECT_EQ(gemeinsam.fint, getrennt.fint);
  EXPECT_EQ(gemeinsam.ii - getrennt.ii, Nschritte);
  EXPECT_GT(TVM::norm(s.fint), 0.0);

  const unsigned int maxNmatit = mpm.stw.maxNmatit;
  mpm.stw.maxNmatit = 0; // the law now fails at the first point that yields
  EXPECT_FALSE(mpm._verzerrungen_und_material_mpu());
  EXPECT_NE(k.aus.str().find("Maximalzahl der Materialiterationsschritte erreicht"), std::string::npos);
  for (bool bmasse : {false, true}) {
    zuruecksetzen(bmasse);
    // With the mass matrix due the passes run, which stop before the assembly.
    EXPECT_EQ(mpm._ein_gang(), !bmasse);
    EXPECT_FALSE(mpm._verzerrungen_material_beitraege());
    EXPECT_FALSE(mpm.bmatkonv);
    const TStand gescheitert = stand();
    EXPECT_EQ(gescheitert.fm, getrennt.fm);
    EXPECT_EQ(gescheitert.fint, getrennt.fint);
    EXPECT_EQ(gescheitert.M, getrennt.M) << "a stop reports the masses last assembled";
  }
  mpm.stw.maxNmatit = maxNmatit;
  zuruecksetzen(false);
  EXPECT_FALSE(mpm._ein_gang()) << "the mass matrix is still due";
  ASSERT_TRUE(mpm._verzerrungen_material_beitraege());
  EXPECT_EQ(stand().M, getrennt.M);
  EXPECT_TRUE(mpm._ein_gang());
  mpm.stw.konfigur = KONFIGUR_MOMKONF;
  EXPECT_FALSE(mpm._ein_gang());
  mpm.stw.konfigur = KONFIGUR_REFKONF;

  // The block of an integration point through its own approximation, without
  // the mass block, and through its material point's.
  TVM::MatR M1, K1, M2, K2, M3, K3;
  TVM::VekR fm1, fi1, fm2, fi2, fm3, fi3;
  const auto werte = [](const double* d, long n) { return std::vector<double>(d, d + n); };
  for (TObjbasis* obj : mpm.ipu.liste()) {
    TIntegrationspunkt* ip = IPU_Z(obj);
    ASSERT_TRUE(ip->_M_fm_KT_fint(M1, K1, fm1, fi1, true, true));
    ASSERT_TRUE(ip->_M_fm_KT_fint(M2, K2, fm2, fi2, true, false));
    EXPECT_GT(TVM::norm(fm1), 0.0);
    EXPECT_EQ(werte(fm1.data, fm1.n), werte(fm2.data, fm2.n));
    ASSERT_TRUE(ip->_M_fm_KT_fint(M3, K3, fm3, fi3, true, true, MPU_Z(ip->zustgeber)->ans_kno));
    EXPECT_EQ(werte(M3.data, M3.anzahl()), werte(M1.data, M1.anzahl()));
    EXPECT_EQ(werte(K3.data, K3.anzahl()), werte(K1.data, K1.anzahl()));
    EXPECT_EQ(werte(fi3.data, fi3.n), werte(fi1.data, fi1.n));
  }

  const std::vector<TObjbasis*>& mpus = mpm.mpu.liste();
  TPunkt* aus = PU_Z(mpus[5]);
  aus->status = OBJSTATUS_INAKTIV;
  PU_Z(mpm.knou.liste()[4])->status = OBJSTATUS_INAKTIV;
  for (int runde = 0; runde < 2; ++runde) {
    SCOPED_TRACE(runde);
    int n = 0;
    for (TObjbasis* obj : mpm.knou.liste())
      for (VekR* v : {&PU_Z(obj)->zust.u, &PU_Z(obj)->zust.ut, &PU_Z(obj)->zust.utt})
        for (int c = 0; c < v->n; ++c)
          (*v)[c] = std::sin(++n + runde);
    aus->zust.u.init({7, 7});
    ASSERT_TRUE(mpm._transfer(OBJTYP_KNO, OBJTYP_MPU, ZUSTGROE_VERSCHIEBUNG));
    EXPECT_EQ(aus->zust.u, (VekR{7, 7}));
    for (TObjbasis* obj : mpus) {
      TMaterialpunkt* mp = MPU_Z(obj);
      if (mp == aus) continue;
      const std::vector<double> gesammelt(mp->zust.alle.data, mp->zust.alle.data + 6);
      std::fill(mp->zust.alle.data, mp->zust.alle.data + 6, 0.0);
      ASSERT_TRUE(mp->ans_kno->_zg(ZUSTGROE_VERSCHIEBUNG));
      EXPECT_EQ(gesammelt, std::vector<double>(mp->zust.alle.data, mp->zust.alle.data + 6));
    }
    // Another place in its element: new weights.
    ASSERT_TRUE(mpm._xi_setzen(MPU_Z(mpus[0])->ans_kno, VekR{0.1, -0.3}));
    mpm._L_G();
  }
  // The integration point of the switched-off material point writes its record.
  TIntegrationspunkt* zwilling = IPU_Z(mpm.ipu.liste()[5]);
  ASSERT_EQ(zwilling->zustgeber, aus);
  zwilling->status = OBJSTATUS_AKTIV;
  ASSERT_TRUE(mpm._transfer_ergebnisse());
  const VekR u = aus->zust.u;
  EXPECT_NE(u, (VekR{7, 7}));
  aus->zust.u.init({7, 7});
  ASSERT_TRUE(zwilling->ans_kno->_zg(ZUSTGROE_VERSCHIEBUNG));
  EXPECT_EQ(aus->zust.u, u);
}
