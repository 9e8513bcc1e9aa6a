#include <cmath>
#include <map>

#include "testhilfe.h"

using namespace MPM;
using namespace th;
using TVM::VekR;

namespace {

// The unit square with lower left node n of a grid with nx points per row.
std::vector<unsigned> quadrat(unsigned n, unsigned nx) {
  return {n, n + 1, n + 1 + nx, n + nx};
}

std::string ausserhalb(TPunkt* p) {
  return text(p) + ", x=" + text(p->_x(KONFIGUR_MOMKONF)) + ", ausserhalb von Elementen -> Deaktivierung\n";
}
} // namespace

TEST(Netz, SetupNumbersTheSystemLinksElementsAndGivesNodalVolumes) {
  Konsolenumleitung k;
  Modell mpm;
  // 3 x 2 unit squares on a 4 x 3 grid; elements numbered row by row.
  gitter(mpm, 4, 3);
  kno_z(mpm, 12)->vola = 7.0; // an input volume stays
  eletyp_bilinear(mpm, 1, 0);
  const int unten_links[] = {1, 2, 3, 5, 6, 7};
  for (int e = 0; e < 6; ++e)
    ASSERT_NE(ele_erzeugen(&mpm, e + 1, 1, 1, quadrat(unten_links[e], 4), 0), nullptr);

  mpm._netza();
  EXPECT_FALSE(mpm.bnetza);
  EXPECT_EQ(kno_z(mpm, 3)->sysposfhg, (TVM::TVektor<int>{4, 5}));
  EXPECT_TRUE(enthaelt(k.kontroll.str(), "System: N=24, Nkno=12\n"));

  auto E = [&mpm](int n) { return ELE_Z(mpm.ele.suchen(n)); };
  EXPECT_EQ(kno_z(mpm, 6)->elemente, (std::vector<TElement*>{E(1), E(2), E(4), E(5)}));
  EXPECT_EQ(E(2)->ele, (std::vector<TElement*>{E(1), E(3), E(4), E(5), E(6)}));

  // Four unit squares at an inner node: 4 * (det J = 0.25) * (share 1).
  EXPECT_DOUBLE_EQ(kno_z(mpm, 6)->vola, 1.0);
  EXPECT_DOUBLE_EQ(kno_z(mpm, 2)->vola, 0.5);
  EXPECT_DOUBLE_EQ(kno_z(mpm, 12)->vola, 7.0);

  // The setup runs once.
  kno_z(mpm, 6)->vola = 0.0;
  mpm._netza();
  EXPECT_EQ(kno_z(mpm, 6)->vola, 0.0);

  // A node missing from the unknown nodes of an element at it is reported and skipped.
  E(1)->knou.erase(E(1)->knou.begin() + 2);
  EXPECT_TRUE(mpm._vola_knou());
  EXPECT_DOUBLE_EQ(kno_z(mpm, 6)->vola, 0.75);
  EXPECT_EQ(k.aus.str(), golden(meldungen, "vola_knou"));
}

// Points leaving the mesh later, once each: the block of the MPM-mode tests.
TEST(Netz, MaterialPointsAreLocatedAndOutsidersSwitchedOff) {
  Konsolenumleitung k("w");
  Modell mpm;
  mpm.stw.bknokoerperfest = false; // a fixed background mesh
  gitter(mpm, 3, 2);               // 1 (0,0) 2 (1,0) 3 (2,0), 4 (0,1) 5 (1,1) 6 (2,1)
  eletyp_bilinear(mpm, 1, 0);
  // The right square has the lower number.
  TElement* rechts = ele_erzeugen(&mpm, 3, 1, 1, quadrat(2, 3), 0);
  TElement* links = ele_erzeugen(&mpm, 5, 1, 1, quadrat(1, 3), 0);
  ASSERT_TRUE(rechts && links);

  TMaterialpunkt* kante = materialpunkt(mpm, 1, 1.0, 0.5, 0.25);
  TMaterialpunkt* innen = materialpunkt(mpm, 2, 0.5, 0.25, 0.25);
  TMaterialpunkt* draussen = materialpunkt(mpm, 3, 3.0, 0.5, 0.25);
  mpm._netz_init_mpu();
  EXPECT_EQ(kante->element, rechts);
  EXPECT_EQ(innen->element, links);
  EXPECT_EQ(draussen->element, nullptr);
  EXPECT_EQ(draussen->status, OBJSTATUS_INAKTIV);
  EXPECT_EQ(rechts->mpu, std::vector<TPunkt*>{kante});
  EXPECT_EQ(innen->ans_kno->_xi(), (VekR{0.0, -0.5}));
  EXPECT_EQ(k.aus.str(), "**** Einordnung: mpu ****\n" + ausserhalb(draussen));

  // With nodes and points both body-fixed nothing is relocated, even when
  // points move; a point never located is placed once.
  mpm.stw.bknokoerperfest = true;
  kante->zust.u.init({-0.5, 0.0});
  TMaterialpunkt* neu = materialpunkt(mpm, 4, 1.5, 0.5, 0.25);
  k.aus.str("");
  mpm._netz_init_mpu();
  EXPECT_EQ(kante->element, rechts);
  EXPECT_EQ(neu->element, rechts);
  EXPECT_EQ(k.aus.str(), "");
}

// Many points on a lattice of quarter units (nodes, edges, inside, outside,
// one without a position, three far away) over unit squares numbered out of order and a
// larger square over four of them: each point lands in the first element in
// number order that holds it, as a walk over all pairs finds it, and each
// element lists its points in registry order.
TEST(Netz, LocationFindsTheFirstElementInNumberOrder) {
  Konsolenumleitung k(std::string(100, 'w'));
  Modell mpm;
  mpm.stw.bknokoerperfest = false;
  gitter(mpm, 5, 4); // node n at ((n - 1) % 5, (n - 1) / 5)
  eletyp_bilinear(mpm, 1, 0);
  const unsigned unten_links[] = {1, 2, 3, 4, 6, 7, 8, 9, 11, 12, 13, 14};
  const int nummern[] = {12, 3, 7, 1, 10, 5, 11, 2, 9, 4, 8, 13};
  for (int e = 0; e < 12; ++e)
    ASSERT_NE(ele_erzeugen(&mpm, nummern[e], 1, 1, quadrat(unten_links[e], 5), 0), nullptr);
  ASSERT_NE(ele_erzeugen(&mpm, 6, 1, 1, {7, 9, 19, 17}, 0), nullptr); // (1,1) to (3,3)
  int num = 0;
  for (int j = -1; j <= 13; ++j)
    for (int i = -1; i <= 17; ++i)
      materialpunkt(mpm, ++num, 0.25 * i, 0.25 * j, 0.0625);
  TMaterialpunkt* ohne_ort = materialpunkt(mpm, ++num, std::nan(""), 0.5, 0.0625);
  // Far away: the grid of the positions spans more than doubles can measure.
  for (const double fern : {1e308, -1e308})
    materialpunkt(mpm, ++num, fern, 0.5, 0.0625);
  materialpunkt(mpm, ++num, 0.5, 1e300, 0.0625);
  mpm._netz_init_mpu();

  TVM::MatR Xx;
  VekR xi;
  std::map<const TElement*, std::vector<TPunkt*>> listen;
  for (TObjbasis* obj : mpm.mpu.liste()) {
    TMaterialpunkt* mp = MPU_Z(obj);
    const VekR x = mp->_x(KONFIGUR_MOMKONF);
    TElement* erwartet = nullptr;
    for (TObjbasis* e_obj : mpm.ele.liste()) {
      TElement* e = ELE_Z(e_obj);
      e->_xk(Xx, KONFIGUR_STARTKONF, KNOTYP_GEOMETRIEKNOTEN);
      if (e->typ->eletyp->_bpinelement(Xx, x, true) && e->typ->eletyp->_xi(Xx, x, xi, true)) {
        erwartet = e;
        break;
      }
    }
    ASSERT_EQ(mp->element, erwartet) << mp->num << " " << text(x);
    EXPECT_EQ(mp->status, erwartet ? OBJSTATUS_AKTIV : OBJSTATUS_INAKTIV) << mp->num;
    if (erwartet) listen[erwartet].push_back(mp);
  }
  std::size_t Nverortet = 0;
  for (TObjbasis* e_obj : mpm.ele.liste()) {
    EXPECT_EQ(ELE_Z(e_obj)->mpu, listen[ELE_Z(e_obj)]) << e_obj->num;
    Nverortet += listen[ELE_Z(e_obj)].size();
  }
  EXPECT_EQ(Nverortet, 17u * 13u);
  EXPECT_FALSE(listen[ELE_Z(mpm.ele.suchen(6))].empty()) << "the larger square holds points";
  EXPECT_EQ(ohne_ort->status, OBJSTATUS_INAKTIV);
}

TEST(Netz, IntegrationPointsFollowTheirMaterialPoints) {
  Konsolenumleitung k("www");
  Modell mpm(true);
  mpm.stw.bknokoerperfest = false;
  gitter(mpm, 2, 2); // 1 (0,0) 2 (1,0) 3 (0,1) 4 (1,1)
  eletyp_bilinear(mpm, 1, 0);
  TElement* e = ele_erzeugen(&mpm, 1, 1, 1, {1, 2, 4, 3}, 0);
  TIntegrationspunkt* ia = IPU_Z(materialpunkt(mpm, 1, 0.75, 0.25, 0.25)->ipu_auf);
  TMaterialpunkt* b = materialpunkt(mpm, 2, 1.5, 0.5, 0.25);
  TIntegrationspunkt* ib = IPU_Z(b->ipu_auf);
  ASSERT_TRUE(ia && ib);
  mpm._netz_init_mpu();
  EXPECT_EQ(k.aus.str(), "**** Einordnung: mpu ****\n" + ausserhalb(b) + "**** Einordnung: ipu ****\n");
  EXPECT_EQ(e->ipu, std::vector<TPunkt*>{ia});
  EXPECT_EQ(ia->ans_kno->_xi(), (VekR{0.5, -0.5}));
  EXPECT_EQ(ib->status, OBJSTATUS_INAKTIV);

  // Structural errors: an integration point without its material point, no elements at all.
  ib->mpu_auf = nullptr;
  k.aus.str("");
  EXPECT_FALSE(mpm._ipu_in_ele());
  EXPECT_FALSE(Modell()._ipu_in_ele());
  EXPECT_EQ(k.aus.str(), golden(meldungen, "ipu_in_ele") + frage);
}

TEST(Netz, SourcesEmitAtTheirTimesAndPositions) {
  Konsolenumleitung k;
  Modell mpm;
  ASSERT_NE(mpuquell_erzeugen(&mpm, 1, OBJTYP_MPUQUELL, 0.0, 0.3, 0.1, 1, 0.25, VekR{0.1, 0.5}, leer,
                              VekR{2.0, -1.0}, leer, leer, 0),
            nullptr);
  mpm.bgrundschritt = true;
  unsigned erwartet = 0;
  for (const auto& [t, bneu] : std::initializer_list<std::pair<double, bool>>{
           {0.0, true}, {0.05, false}, {0.1, true}, {0.2, true}, {0.3, true}, {0.4, false}}) {
    mpm.t = t;
    k.aus.str("");
    mpm._netz_init_mpu();
    erwartet += bneu;
    const std::string n = std::to_string(erwartet);
    ASSERT_EQ(mpm.mpu.size(), erwartet) << t;
    EXPECT_EQ(k.aus.str(), bneu ? "neue mpus: 1(#" + n + " bis #" + n + ")\n" : "") << t;
    // Emitted where the moving source stands.
    TMaterialpunkt* mp = mpu_z(mpm, static_cast<int>(erwartet));
    ASSERT_NE(mp, nullptr);
    if (!bneu) continue;
    EXPECT_NEAR(mp->_x(KONFIGUR_MOMKONF)[0], 0.1 + 2.0 * t, 1e-15) << t;
    EXPECT_NEAR(mp->_x(KONFIGUR_MOMKONF)[1], 0.5 - 1.0 * t, 1e-15) << t;
    EXPECT_EQ(mp->zust.ut, (VekR{2.0, -1.0})) << t;
  }

  // A repeated step emits nothing, nor does a step that is not a base step.
  mpm.t = 0.2;
  mpm.bwiederholung = true;
  mpm._netz_init_mpu();
  mpm.bwiederholung = false;
  mpm.bgrundschritt = false;
  mpm._netz_init_mpu();
  EXPECT_EQ(mpm.mpu.size(), 4u);
}

TEST(Netz, AllApproximationsAreBuiltInOrder) {
  Konsolenumleitung k("wwww");
  Modell mpm(true);
  gitter(mpm, 3, 2);                   // 1 (0,0) 2 (1,0) 3 (2,0), 4 (0,1) 5 (1,1) 6 (2,1)
  knoten(mpm, 7, 5.0, 5.0, 0.0, true); // in no element
  eletyp_bilinear(mpm, 1, 4);
  eletyp_bilinear(mpm, 2, 0);
  ASSERT_NE(ele_erzeugen(&mpm, 1, 1, 1, quadrat(1, 3), 0), nullptr);
  ASSERT_NE(ele_erzeugen(&mpm, 2, 1, 2, quadrat(2, 3), 0), nullptr); // no material points
  mpm._netza();
  mpm._netz_init_mpu();
  k.kontroll.str("");
  mpm._L_G();
  EXPECT_EQ(k.kontroll.str(), golden(meldungen, "L_G"));
  EXPECT_EQ(k.aus.str(), "");
  // Nodes with material points around them are active; the nodes of the
  // empty element only (3, 6) are switched off; the node in no element is left alone.
  for (int n = 1; n <= 7; ++n)
    EXPECT_EQ(kno_z(mpm, n)->status, n % 3 ? OBJSTATUS_AKTIV : OBJSTATUS_INAKTIV) << n;

  // A kind without approximations is refused group by group, once each.
  mpm.stw.ansatz_knou_zu_pu = ANSATZ_UNBEKANNT;
  mpm._L_G();
  EXPECT_EQ(k.aus.str(), golden(meldungen, "L_G ohne Ansatz") + frage);
}

TEST(Netz, NodesAndIntegrationPointsAreRebasedWhenNotBodyFixed) {
  Konsolenumleitung k;
  Modell mpm(true);
  TKnoten* kn = knoten(mpm, 1, 1.0, 2.0, 0.5, true);
  kn->zust.u.init({0.1, -0.2});
  TMaterialpunkt* mp = materialpunkt(mpm, 1, 0.5, 0.5, 0.25);
  TPunkt* ip = mp->ipu_auf;
  mp->zust.u.init({0.3, 0.0});
  ASSERT_TRUE(IPU_Z(ip)->ans_mpu->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));

  // A repeated step keeps the places, as do body-fixed nodes and points.
  for (bool bwiederholung : {true, false}) {
    mpm.bwiederholung = bwiederholung;
    mpm.stw.bknokoerperfest = mpm.stw.bipukoerperfest = !bwiederholung;
    mpm._netz_init_knou_ipu();
    EXPECT_EQ(k.aus.str(), "");
    EXPECT_EQ(kn->x0, (VekR{1.0, 2.0}));
  }
  mpm.stw.bknokoerperfest = mpm.stw.bipukoerperfest = false;
  mpm._netz_init_knou_ipu();
  EXPECT_EQ(k.aus.str(), "**** Initialisierung: kno ****\n**** Initialisierung: ipu ****\n");
  EXPECT_NEAR(kn->x0[0], 0.9, 1e-15);
  EXPECT_NEAR(kn->x0[1], 2.2, 1e-15);
  // The integration point's displacement is its material point's.
  EXPECT_NEAR(ip->x0[0], 0.2, 1e-15);
  EXPECT_EQ(ip->x0[1], 0.5);
}
