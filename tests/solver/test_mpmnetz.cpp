#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "approx/mpmans.h"
#include "model/mpmobjele.h"
#include "model/mpmobjeletyp.h"
#include "model/mpmobjipu.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"
#include "output/mpmaus.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"
#include "testhilfe.h"

using namespace MPM;
using namespace th;
using TVM::MatR;
using TVM::VekR;

namespace {
const VekR leer;
const std::string abbruch = frage;

struct Modell {
  explicit Modell(bool bipuaufmpu = false) {
    mpm.stw.bipuaufmpu = bipuaufmpu;
    _material_erzeugen(&mpm, 1, 1, {2.0, 100.0, 0.25});
  }
  Tmpm mpm;
};

// Unknown nodes numbered from 1 row by row on nx x ny points of unit spacing.
void gitter(Tmpm& mpm, int nx, int ny) {
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i)
      knoten(mpm, j * nx + i + 1, i, j, 0.0, true);
}

// The unit square with lower left node n of a grid with nx points per row.
std::vector<unsigned> quadrat(int n, int nx) {
  const unsigned a = static_cast<unsigned>(n), b = static_cast<unsigned>(nx);
  return {a, a + 1, a + 1 + b, a + b};
}

std::string ausserhalb(TPunkt* p) {
  std::ostringstream s;
  s << text(p) << ", x=" << p->_x(KONFIGUR_MOMKONF) << ", ausserhalb von Elementen -> Deaktivierung\n";
  return s.str();
}
} // namespace

TEST(Netz, SetupNumbersTheSystemLinksElementsAndGivesNodalVolumes) {
  Konsolenumleitung k;
  Modell m;
  // 3 x 2 unit squares on a 4 x 3 grid; elements numbered row by row.
  gitter(m.mpm, 4, 3);
  KNO_Z(m.mpm.kno.suchen(12))->vola = 7.0; // an input volume stays
  eletyp_bilinear(m.mpm, 1, 0);
  const int unten_links[] = {1, 2, 3, 5, 6, 7};
  for (int e = 0; e < 6; ++e)
    ASSERT_NE(ele_erzeugen(&m.mpm, e + 1, 1, 1, quadrat(unten_links[e], 4), 0), nullptr);

  m.mpm._netza();
  EXPECT_FALSE(m.mpm.bnetza);
  EXPECT_EQ(KNO_Z(m.mpm.kno.suchen(3))->sysposfhg, (TVM::TVektor<int>{4, 5}));
  EXPECT_NE(k.kontroll.str().find("System: N=24, Nkno=12\n"), std::string::npos);

  auto E = [&m](int n) { return ELE_Z(m.mpm.ele.suchen(n)); };
  auto K = [&m](int n) { return KNO_Z(m.mpm.kno.suchen(n)); };
  EXPECT_EQ(K(6)->elemente, (std::vector<TElement*>{E(1), E(2), E(4), E(5)}));
  EXPECT_EQ(E(2)->ele, (std::vector<TElement*>{E(1), E(3), E(4), E(5), E(6)}));

  // Four unit squares at an inner node: 4 * (det J = 0.25) * (share 1).
  EXPECT_DOUBLE_EQ(K(6)->vola, 1.0);
  EXPECT_DOUBLE_EQ(K(2)->vola, 0.5);
  EXPECT_DOUBLE_EQ(K(12)->vola, 7.0);

  // The setup runs once.
  K(6)->vola = 0.0;
  m.mpm._netza();
  EXPECT_EQ(K(6)->vola, 0.0);

  // A node missing from the unknown nodes of an element at it is reported and skipped.
  E(1)->knou.erase(E(1)->knou.begin() + 2);
  EXPECT_TRUE(m.mpm._vola_knou());
  EXPECT_DOUBLE_EQ(K(6)->vola, 0.75);
  EXPECT_EQ(k.aus.str(),
            "FEHLER in <bool Tmpm::_vola_knou()>: Knoten nicht in Element am Knoten eingetragen.\n");
}

TEST(Netz, MaterialPointsAreLocatedAndLeaversSwitchedOffOnce) {
  Konsolenumleitung k("w");
  Modell m;
  m.mpm.stw.bknokoerperfest = false; // a fixed background mesh
  gitter(m.mpm, 3, 2);               // 1 (0,0) 2 (1,0) 3 (2,0), 4 (0,1) 5 (1,1) 6 (2,1)
  eletyp_bilinear(m.mpm, 1, 0);
  // The right square has the lower number.
  TElement* rechts = ele_erzeugen(&m.mpm, 3, 1, 1, quadrat(2, 3), 0);
  TElement* links = ele_erzeugen(&m.mpm, 5, 1, 1, quadrat(1, 3), 0);
  ASSERT_NE(rechts, nullptr);
  ASSERT_NE(links, nullptr);

  TMaterialpunkt* kante = materialpunkt(m.mpm, 1, 1.0, 0.5, 0.25);
  TMaterialpunkt* innen = materialpunkt(m.mpm, 2, 0.5, 0.25, 0.25);
  TMaterialpunkt* draussen = materialpunkt(m.mpm, 3, 3.0, 0.5, 0.25);
  m.mpm._netz_init_mpu();
  EXPECT_EQ(kante->element, rechts);
  EXPECT_EQ(innen->element, links);
  EXPECT_EQ(draussen->element, nullptr);
  EXPECT_EQ(draussen->status, OBJSTATUS_INAKTIV);
  EXPECT_EQ(rechts->mpu, std::vector<TPunkt*>{kante});
  EXPECT_EQ(innen->ans_kno->_xi(), (VekR{0.0, -0.5}));
  EXPECT_EQ(k.aus.str(), "**** Einordnung: mpu ****\n" + ausserhalb(draussen));

  // A point that moves out is switched off with one message; later steps
  // do not report it again.
  innen->zust.u.init({-0.75, 0.0});
  k.aus.str("");
  m.mpm._netz_init_mpu();
  EXPECT_EQ(innen->status, OBJSTATUS_INAKTIV);
  EXPECT_TRUE(links->mpu.empty());
  EXPECT_EQ(k.aus.str(), "**** Einordnung: mpu ****\n" + ausserhalb(innen));
  k.aus.str("");
  m.mpm._netz_init_mpu();
  EXPECT_EQ(k.aus.str(), "**** Einordnung: mpu ****\n");

  // With nodes and points both body-fixed nothing is relocated, even when
  // points move; a point never located is placed once.
  m.mpm.stw.bknokoerperfest = true;
  kante->zust.u.init({-0.5, 0.0});
  TMaterialpunkt* neu = materialpunkt(m.mpm, 4, 1.5, 0.5, 0.25);
  k.aus.str("");
  m.mpm._netz_init_mpu();
  EXPECT_EQ(kante->element, rechts);
  EXPECT_EQ(neu->element, rechts);
  EXPECT_EQ(k.aus.str(), "");
}

TEST(Netz, IntegrationPointsFollowTheirMaterialPoints) {
  Konsolenumleitung k("www");
  Modell m(true);
  m.mpm.stw.bknokoerperfest = false;
  gitter(m.mpm, 2, 2); // 1 (0,0) 2 (1,0) 3 (0,1) 4 (1,1)
  eletyp_bilinear(m.mpm, 1, 0);
  TElement* e = ele_erzeugen(&m.mpm, 1, 1, 1, {1, 2, 4, 3}, 0);
  TMaterialpunkt* a = materialpunkt(m.mpm, 1, 0.75, 0.25, 0.25);
  TMaterialpunkt* b = materialpunkt(m.mpm, 2, 1.5, 0.5, 0.25);
  TIntegrationspunkt* ia = IPU_Z(a->ipu_auf);
  TIntegrationspunkt* ib = IPU_Z(b->ipu_auf);
  ASSERT_NE(ia, nullptr);
  ASSERT_NE(ib, nullptr);
  m.mpm._netz_init_mpu();
  EXPECT_EQ(k.aus.str(), "**** Einordnung: mpu ****\n" + ausserhalb(b) + "**** Einordnung: ipu ****\n");
  EXPECT_EQ(e->ipu, std::vector<TPunkt*>{ia});
  EXPECT_EQ(ia->ans_kno->_xi(), (VekR{0.5, -0.5}));
  EXPECT_EQ(ib->status, OBJSTATUS_INAKTIV);

  // Structural errors: an integration point without its material point, no elements at all.
  ib->mpu_auf = nullptr;
  k.aus.str("");
  EXPECT_FALSE(m.mpm._ipu_in_ele());
  Modell leer_modell;
  EXPECT_FALSE(leer_modell.mpm._ipu_in_ele());
  EXPECT_EQ(k.aus.str(), "FEHLER in <bool Tmpm::_ipu_in_ele()>: !ipu_z->mpu\n" + abbruch +
                             "FEHLER in <bool Tmpm::_ipu_in_ele()>: !ele.size()\n" + abbruch);
}

TEST(Netz, SourcesEmitAtTheirTimesAndPositions) {
  Konsolenumleitung k;
  Modell m;
  ASSERT_NE(mpuquell_erzeugen(&m.mpm, 1, OBJTYP_MPUQUELL, 0.0, 0.3, 0.1, 1, 0.25, VekR{0.1, 0.5}, leer,
                              VekR{2.0, -1.0}, leer, leer, 0),
            nullptr);
  m.mpm.bgrundschritt = true;
  struct Fall {
    double t;
    bool bneu;
  } faelle[] = {{0.0, true}, {0.05, false}, {0.1, true}, {0.2, true}, {0.3, true}, {0.4, false}};
  unsigned int erwartet = 0;
  for (const Fall& f : faelle) {
    m.mpm.t = f.t;
    k.aus.str("");
    m.mpm._netz_init_mpu();
    const std::string wann = "t=" + std::to_string(f.t);
    if (!f.bneu) {
      EXPECT_EQ(k.aus.str(), "") << wann;
      EXPECT_EQ(m.mpm.mpu.size(), erwartet) << wann;
      continue;
    }
    ++erwartet;
    ASSERT_EQ(m.mpm.mpu.size(), erwartet) << wann;
    const std::string n = std::to_string(erwartet);
    EXPECT_EQ(k.aus.str(), "neue mpus: 1(#" + n + " bis #" + n + ")\n") << wann;
    TMaterialpunkt* mp = MPU_Z(m.mpm.mpu.suchen(static_cast<int>(erwartet)));
    ASSERT_NE(mp, nullptr);
    // Emitted where the moving source stands.
    const VekR x = mp->_x(KONFIGUR_MOMKONF);
    EXPECT_NEAR(x[0], 0.1 + 2.0 * f.t, 1e-15) << wann;
    EXPECT_NEAR(x[1], 0.5 - 1.0 * f.t, 1e-15) << wann;
    EXPECT_EQ(mp->zust.ut, (VekR{2.0, -1.0})) << wann;
  }

  // A repeated step emits nothing, nor does a step that is not a base step.
  m.mpm.t = 0.2;
  m.mpm.bwiederholung = true;
  m.mpm._netz_init_mpu();
  m.mpm.bwiederholung = false;
  m.mpm.bgrundschritt = false;
  m.mpm._netz_init_mpu();
  EXPECT_EQ(m.mpm.mpu.size(), 4u);
}

TEST(Netz, AllApproximationsAreBuiltInOrder) {
  Konsolenumleitung k("wwww");
  Modell m(true);
  gitter(m.mpm, 3, 2);                   // 1 (0,0) 2 (1,0) 3 (2,0), 4 (0,1) 5 (1,1) 6 (2,1)
  knoten(m.mpm, 7, 5.0, 5.0, 0.0, true); // in no element
  eletyp_bilinear(m.mpm, 1, 4);
  eletyp_bilinear(m.mpm, 2, 0);
  TElement* voll = ele_erzeugen(&m.mpm, 1, 1, 1, quadrat(1, 3), 0);
  TElement* leer_ele = ele_erzeugen(&m.mpm, 2, 1, 2, quadrat(2, 3), 0); // no material points
  ASSERT_NE(voll, nullptr);
  ASSERT_NE(leer_ele, nullptr);
  m.mpm._netza();
  m.mpm._netz_init_mpu();
  k.kontroll.str("");
  m.mpm._L_G();
  EXPECT_EQ(k.kontroll.str(), "\n<bool Tmpm::_L_G()>\nAnsaetze mit (Quellen: knou)->(Ziele: mpu), art=ele\n"
                              "\nAnsaetze mit (Quellen: knou)->(Ziele: ipu), art=ele\n"
                              "\nAnsaetze mit (Quellen: mpu)->(Ziele: ipu), art=kopieren\n"
                              "\nAnsaetze mit (Quellen: mpu) -> (Ziele: knou), art=eleinv\n"
                              "TAnsatzEleinv::_init(): kno(3-)\n"
                              "TAnsatzEleinv::_init(): kno(6-)\n");
  EXPECT_EQ(k.aus.str(), "");
  auto K = [&m](int n) { return KNO_Z(m.mpm.kno.suchen(n)); };
  // Nodes with material points around them are active; the nodes of the
  // empty element only are switched off; the node in no element is left alone.
  for (int n : {1, 2, 4, 5})
    EXPECT_EQ(K(n)->status, OBJSTATUS_AKTIV) << n;
  EXPECT_EQ(K(3)->status, OBJSTATUS_INAKTIV);
  EXPECT_EQ(K(6)->status, OBJSTATUS_INAKTIV);
  EXPECT_EQ(K(7)->status, OBJSTATUS_AKTIV);

  // A kind without approximations is refused group by group, once each.
  m.mpm.stw.ansatz_knou_zu_pu = ANSATZ_UNBEKANNT;
  k.kontroll.str("");
  m.mpm._L_G();
  const std::string fehler = "FEHLER in <bool Tmpm::_L_G()>: ";
  EXPECT_EQ(k.aus.str(),
            fehler + "Ansaetze mit (Quellen: knou)->(Ziele: mpu), art=unbekannt: Ansatz nicht verfuegbar\n" +
                abbruch + fehler +
                "Ansaetze mit (Quellen: knou)->(Ziele: ipu), art=unbekannt: Ansatz nicht verfuegbar\n" +
                frage);
}

TEST(Netz, NodesAndIntegrationPointsAreRebasedWhenNotBodyFixed) {
  Konsolenumleitung k;
  Modell m(true);
  TKnoten* kn = knoten(m.mpm, 1, 1.0, 2.0, 0.5, true);
  kn->zust.u.init({0.1, -0.2});
  TMaterialpunkt* mp = materialpunkt(m.mpm, 1, 0.5, 0.5, 0.25);
  TPunkt* ip = mp->ipu_auf;
  mp->zust.u.init({0.3, 0.0});
  ASSERT_TRUE(IPU_Z(ip)->ans_mpu->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));

  m.mpm.bwiederholung = true;
  m.mpm.stw.bknokoerperfest = false;
  m.mpm.stw.bipukoerperfest = false;
  m.mpm._netz_init_knou_ipu();
  EXPECT_EQ(k.aus.str(), "");
  EXPECT_EQ(kn->x0, (VekR{1.0, 2.0}));

  m.mpm.bwiederholung = false;
  m.mpm._netz_init_knou_ipu();
  EXPECT_EQ(k.aus.str(), "**** Initialisierung: kno ****\n**** Initialisierung: ipu ****\n");
  EXPECT_NEAR(kn->x0[0], 0.9, 1e-15);
  EXPECT_NEAR(kn->x0[1], 2.2, 1e-15);
  // The integration point's displacement is its material point's.
  EXPECT_NEAR(ip->x0[0], 0.2, 1e-15);
  EXPECT_EQ(ip->x0[1], 0.5);

  k.aus.str("");
  m.mpm.stw.bknokoerperfest = true;
  m.mpm.stw.bipukoerperfest = true;
  m.mpm._netz_init_knou_ipu();
  EXPECT_EQ(k.aus.str(), "");
}
