// Contact elements: the cubic segments between contact nodes and the
// projection of points onto them.

#include "testhilfe.h"

using namespace MPM;
using namespace th;
using TVM::VekR;

namespace {
TKontaktlinie* linie(Tmpm& mpm, int num, KONLINTYP typ, std::vector<unsigned int> p) {
  return konlin_erzeugen(&mpm, num, OBJTYP_KNO, typ, p);
}
} // namespace

TEST(Kontaktelement, SegmentsMeetTheirEndConditionsAndStayStraightOnStraightLines) {
  Konsolenumleitung k;
  Tmpm mpm;
  knoten(mpm, {{0, 0}, {1, 1}, {3, 3}, {4, 0}, {6, 1}, {10, 0}, {11, 0}, {10.5, 0}});
  VekR a, b;
  // Collinear points: no cubic term, every point on the line x = y.
  for (const auto& e : linie(mpm, 1, KONLINTYP_SPLKNO, {1, 2, 3})->konele) {
    EXPECT_NEAR(std::hypot(e->a[3][0], e->a[3][1]), 0.0, 1e-15);
    e->_x(0.3, a);
    EXPECT_NEAR(a[0], a[1], 1e-15);
  }
  // Two points: parallel tangents leave the tangent lengths at L/2.
  const TKontaktelement& zwei = *linie(mpm, 2, KONLINTYP_SPLELE, {4, 5})->konele[0];
  EXPECT_DOUBLE_EQ(zwei.l1, 0.5 * std::sqrt(5.0));
  EXPECT_DOUBLE_EQ(zwei.l2, zwei.l1);

  // An unequal closed triangle: each cubic runs from node to node and leaves
  // and arrives along the node tangents with the lengths l1, l2 (l1 + l2 = L).
  bool bungleich = false;
  for (const auto& e : linie(mpm, 3, KONLINTYP_SPLKNO, {1, 4, 5, 1})->konele) {
    EXPECT_LT(TVM::norm(e->_x(-1.0, a) - e->k1->x) + TVM::norm(e->_x(1.0, b) - e->k2->x), 1e-14);
    EXPECT_LT(TVM::norm(e->_t(-1.0, a) - e->k1->t) + TVM::norm(e->_t(1.0, b) - e->k2->t), 1e-14);
    EXPECT_NEAR(TVM::norm(e->_x(-1.0 + 1e-6, a) - e->_x(-1.0, b)) / 1e-6, e->l1, 1e-5 * e->L);
    EXPECT_NEAR(e->l1 + e->l2, e->L, 1e-14 * e->L);
    bungleich = bungleich || std::fabs(e->l1 - e->l2) > 0.1 * e->L;
  }
  EXPECT_TRUE(bungleich);
  // Turning back on itself, the line's tangents cancel: the node takes the
  // first element's tangent turned anticlockwise.
  EXPECT_EQ(linie(mpm, 4, KONLINTYP_SPLKNO, {6, 7, 8})->konkno[1]->t, (VekR{0.0, 1.0}));
  EXPECT_EQ(k.aus.str(), "");
}

TEST(Kontaktelement, ProjectionWithTheFarDeepAndSupportPointRules) {
  Konsolenumleitung k;
  Tmpm mpm;
  mpm.stw.kontakt_grenzg = 0.5;
  knoten(mpm, 11, 2.0, 0.0);
  knoten(mpm, 12, 0.0, 0.0);
  // Listed from right to left, the normal points up.
  const TKontaktelement& e = *linie(mpm, 1, KONLINTYP_SPLKNO, {11, 12})->konele[0];
  struct Fall {
    double x, y;
    bool bkontakt;
    double g, n1;
  };
  const Fall faelle[] = {
      {1.0, 0.2, true, 0.2, 1.0},  {1.0, -0.3, true, -0.3, 1.0}, // above, penetrating
      {1.0, -0.6, true, 0.5, 0.0},                               // deeper than the search distance
      {1.0, 1.6, false, 0.5, 0.0},                               // beyond L/2 + search distance
      {0.5, 1.4, true, 1.4, 1.0},                                // within it, though far above
      {2.4, 0.1, false, 0.5, 0.0},                               // beyond the end of the segment
  };
  int n = 20;
  VekR nv;
  for (const Fall& f : faelle) {
    double g = 0.5;
    EXPECT_EQ(e.kontakt(knoten(mpm, ++n, f.x, f.y), g, nv), f.bkontakt) << n;
    EXPECT_NEAR(g, f.g, 1e-15) << n;
    EXPECT_EQ(nv, (VekR{0.0, f.n1})) << n;
  }
  // Support points, of this line or of any other, never touch it.
  double g = 0.5;
  EXPECT_FALSE(e.kontakt(PU_Z(mpm.kno.suchen(11)), g, nv));
  knoten(mpm, 31, 1.0, -5.0);
  ASSERT_NE(linie(mpm, 2, KONLINTYP_SPLKNO, {21, 31}), nullptr);
  EXPECT_FALSE(e.kontakt(PU_Z(mpm.kno.suchen(21)), g, nv));

  // On an arch the gap is the distance to the nearest point of the cubic
  // (found here by sampling), negative below it.
  knoten(mpm, 41, 4.0, 0.0);
  knoten(mpm, 42, 2.0, 1.0);
  knoten(mpm, 43, 0.0, 0.0);
  const TKontaktlinie* bogen = linie(mpm, 3, KONLINTYP_SPLKNO, {41, 42, 43});
  TKnoten* p = knoten(mpm, 44, 1.3, 0.6);
  ASSERT_TRUE(bogen->kontakt(p, g, nv));
  double dmin = 1e9;
  for (const auto& el : bogen->konele)
    for (int i = 0; i <= 200000; ++i)
      dmin = std::min(dmin, TVM::norm(el->_x(-1.0 + i * 1e-5, nv) - p->_x(KONFIGUR_MOMKONF)));
  EXPECT_NEAR(g, -dmin, 1e-8);
}
