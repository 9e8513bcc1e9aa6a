#include "frame/mix.h"
#include "testhilfe.h"

using namespace MPM;
using TVM::MatR;
using TVM::VekR;

namespace {
using th::leer;
using th::Modell;
const double wurzel2 = std::sqrt(2.0);

// A message block of the golden file, followed by the stop question.
std::string meldung(const std::string& name) {
  return th::golden("approx/golden/meldungen.txt", name) + th::frage;
}

// A straight-sided, distorted quadrilateral: the physical point of a
// reference point is the bilinear map of these corners (one a column).
const MatR ecken(2, 4, {0.0, 2.0, 2.4, -0.2, 0.0, 0.3, 1.9, 1.6});

VekR bilinear(double xi, double eta) {
  return ecken * VekR{(1 - xi) * (1 - eta) / 4, (1 + xi) * (1 - eta) / 4, (1 + xi) * (1 + eta) / 4,
                      (1 - xi) * (1 + eta) / 4};
}

// One element of family `a` (geometry and unknowns) on the quadrilateral
// above, nodes numbered from 1 in the family's node order, with a Gauss rule
// of Nipu points.
TElement* element(Tmpm& mpm, ELE::ANSFUNK a, int Nipu) {
  const ELEANS::Tdataset& ds = ELEANS::get_datasetref(ELEANS::Tkey(ELE::DIM_2D, ELE::FORM_VIERECK, a));
  std::vector<unsigned> nummern;
  for (int k = 0; k < ds.Nk(); ++k) {
    const VekR x = bilinear(ds.xik[0][k], ds.xik[1][k]);
    th::knoten(mpm, k + 1, x[0], x[1], 0.0, true);
    nummern.push_back(k + 1);
  }
  eletyp_erzeugen(&mpm, 1, ELE::FORM_VIERECK, a, a, ELE::IPU_GAUSS, Nipu, 0);
  return ele_erzeugen(&mpm, 1, 1, 1, nummern, 0);
}

// Scaled Voigt vector of the symmetric part of a 2x2 matrix.
VekR voigt_sym(const MatR& a) {
  return VekR{a[0][0], a[1][1], wurzel2 * 0.5 * (a[0][1] + a[1][0])};
}
} // namespace

TEST(Ansaetze, FactoryKindsAndPointsCreateTheirApproximations) {
  Konsolenumleitung k;
  Modell m(true);
  TPunkt* p = th::knoten(m, 1, 0, 0, 0.0, true);
  EXPECT_EQ(_ansatz_erzeugen(&m, p, OBJTYP_KNO, OBJTYP_MPU, ANSATZ_UNBEKANNT), nullptr);
  EXPECT_FALSE(_ansatz_verfuegbar(ANSATZ_UNBEKANNT));
  EXPECT_TRUE(_ansatz_verfuegbar(ANSATZ_WOLKEN));

  // With clouds from the nodes a node also gets its node-to-node cloud.
  m.stw.ansatz_knou_zu_pu = ANSATZ_WOLKEN;
  m.stw.ansatz_pu_zu_knou = ANSATZ_KOPIEREN;
  TKnoten* kn = th::knoten(m, 2, 1, 0, 0.0, true);
  EXPECT_EQ(kn->ans_mpu->ans, ANSATZ_KOPIEREN);
  ASSERT_NE(kn->ans_kno, nullptr);
  EXPECT_EQ(kn->ans_kno->ans, ANSATZ_WOLKEN);
  TMaterialpunkt* mp2 = th::materialpunkt(m, 2, 0.2, 0.2);
  ASSERT_NE(mp2->ans_kno, nullptr);
  EXPECT_EQ(mp2->_ansatz(OBJTYP_KNO)->ans, ANSATZ_WOLKEN);
  EXPECT_EQ(k.aus.str(), "");
}

TEST(Ansaetze, ElementPatchTestReproducesLinearFieldsAtMaterialPoints) {
  // Gradients of displacement, velocity and displacement at the previous step, and their constant parts.
  const MatR A(2, 2, {0.10, 0.20, -0.15, 0.30}), B(2, 2, {-0.4, 0.7, 1.1, 0.25}),
      An(2, 2, {0.02, -0.01, 0.03, 0.04});
  const VekR b{0.05, -0.02}, c{1.0, -2.0}, bn{0.01, 0.0};
  const MatR I = einheitsmatrix(2), F = I + A, E = 0.5 * (transponiert(F) * F - I);
  const MatR Edot = 0.5 * (transponiert(F) * B + transponiert(B) * F);

  const std::pair<ELE::ANSFUNK, int> faelle[] = {
      {ELE::ANSFUNK_LAGRO1, 4}, {ELE::ANSFUNK_LAGRO2, 9}, {ELE::ANSFUNK_SEREO2, 9}};
  for (const auto& [familie, Nipu] : faelle) {
    Konsolenumleitung k;
    Modell m(true);
    TElement* e = element(m, familie, Nipu);
    ASSERT_NE(e, nullptr) << k.fehler.str();
    ASSERT_EQ(static_cast<int>(e->mpu.size()), Nipu);
    for (TPunkt* kn : e->knou) {
      kn->zust.u = A * kn->xa + b;
      kn->zust.ut = B * kn->xa + c;
      kn->zust.u_n = An * kn->xa + bn;
    }
    for (std::size_t p = 0; p < e->mpu.size(); ++p) {
      TMaterialpunkt* mp = MPU_Z(e->mpu[p]);
      TAnsatz* ans = mp->ans_kno;
      const std::string was = ELE::str_ANSFUNK(familie) + std::string(" mpu ") + std::to_string(p);
      EXPECT_LT(maxabw(bilinear(ans->_xi()[0], ans->_xi()[1]), mp->xa), 1e-14) << was;

      for (KONFIGUR konf : {KONFIGUR_REFKONF, KONFIGUR_MOMKONF}) {
        const std::string wk = was + " " + str_KONFIGUR(konf);
        // Reproducing linear fields with a constant part checks the partition of unity.
        ASSERT_TRUE(ans->_init(konf, VERZERR_KLNVERZ)) << wk;
        ASSERT_EQ(ans->stuetzpu, e->knou) << wk;
        ASSERT_TRUE(ans->_zg(ZUSTGROE_VERSCHIEBUNG)) << wk;
        EXPECT_LT(maxabw(mp->zust.u, A * mp->xa + b), 1e-12) << wk + " u";
        EXPECT_LT(maxabw(mp->zust.ut, B * mp->xa + c), 1e-12) << wk + " ut";
        for (VERZERR v : {VERZERR_KLNVERZ, VERZERR_GROVERZ}) {
          const bool klein = v == VERZERR_KLNVERZ;
          ASSERT_TRUE(ans->_init(konf, v)) << wk;
          ASSERT_TRUE(ans->_verzerrungen()) << wk;
          EXPECT_LT(maxabw(mp->zust.F, F), 1e-12) << wk + " F";
          EXPECT_LT(maxabw(mp->zust.Fa, I + An), 1e-12) << wk + " Fa";
          EXPECT_LT(maxabw(mp->zust.eps, voigt_sym(klein ? A : E)), 1e-12) << wk + " eps";
          EXPECT_LT(maxabw(mp->zust.epst, voigt_sym(klein ? B : Edot)), 1e-12) << wk + " epst";
        }
      }
    }
  }
}

TEST(Ansaetze, InverseElementIsTheVolumeWeightedPartition) {
  Konsolenumleitung k;
  Modell m;
  th::gitter(m, 2, 2); // the unit square, nodes 1 (0,0), 2 (1,0), 3 (0,1), 4 (1,1)
  th::eletyp_bilinear(m, 1, 0);
  TElement* e = ele_erzeugen(&m, 1, 1, 1, {1, 2, 4, 3}, 0);
  ASSERT_NE(e, nullptr);
  for (TPunkt* p : e->kno) // the element at each of its nodes, as the mesh setup lists it
    KNO_Z(p)->elemente.push_back(e);
  TKnoten* kn1 = KNO_Z(m.kno.suchen(1));

  // No material point in the node's element: the node is switched off (its text: "-").
  m.bausktr = true;
  EXPECT_FALSE(kn1->ans_mpu->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  EXPECT_EQ(k.kontroll.str(), "TAnsatzEleinv::_init(): kno(1-)\n");

  // Two points of equal volume where node 1's shape function is 0.25 and 0.75.
  const double xp[2][2] = {{0.5, 0.5}, {0.25, 0.0}};
  for (int p = 0; p < 2; ++p) {
    TMaterialpunkt* mp = th::materialpunkt(m, p + 1, xp[p][0], xp[p][1], 0.5);
    mp->element = e;
    e->mpu.push_back(mp);
    ASSERT_TRUE(_xi_setzen(mp->ans_kno, VekR{2 * xp[p][0] - 1, 2 * xp[p][1] - 1}));
    ASSERT_TRUE(mp->ans_kno->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  }
  ASSERT_TRUE(kn1->ans_mpu->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  EXPECT_EQ(kn1->status, OBJSTATUS_AKTIV);
  EXPECT_LT(maxabw(kn1->ans_mpu->L, VekR{0.25, 0.75}), 1e-15);
  EXPECT_EQ(maxabw(kn1->ans_mpu->G, MatR(2, 2)), 0.0);

  // Both points at the far corner: the node's function vanishes there, the
  // sum is below the bound, 1e-6 of the mean volume, and the node is switched off.
  for (TPunkt* mp : e->mpu)
    ASSERT_TRUE(_xi_setzen(mp->_ansatz(OBJTYP_KNO), VekR{1.0, 1.0}) &&
                mp->_ansatz(OBJTYP_KNO)->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  k.kontroll.str("");
  EXPECT_FALSE(kn1->ans_mpu->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  EXPECT_EQ(k.kontroll.str(), "TAnsatzEleinv::_init(): heimatpu=kno(1-), L1sum=" + _str(0.0, 10) + "<" +
                                  _str(0.5e-6, 10) + "=schranke\n");
}

TEST(Ansaetze, InverseElementOnSerendipityCornersKeepsTheNodeActive) {
  Konsolenumleitung k;
  Modell m(true);
  TElement* e = element(m, ELE::ANSFUNK_SEREO2, 9);
  ASSERT_NE(e, nullptr);
  for (TPunkt* p : e->kno)
    KNO_Z(p)->elemente.push_back(e);
  for (TPunkt* mp : e->mpu)
    ASSERT_TRUE(mp->_ansatz(OBJTYP_KNO)->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  for (int n = 1; n <= 8; ++n) {
    TKnoten* kn = KNO_Z(m.kno.suchen(n));
    // The volume-weighted values of the node's function and their sum.
    VekR anteil(9);
    for (int p = 0; p < 9; ++p)
      anteil[p] = e->mpu[p]->_vol(KONFIGUR_REFKONF) * e->mpu[p]->_ansatz(OBJTYP_KNO)->L[n - 1];
    const double S = TVM::skalarprodukt(anteil, VekR(9, 1.0));
    EXPECT_TRUE(n > 4 || S < 0.0) << "corner " << n << ": " << S;
    ASSERT_TRUE(kn->ans_mpu->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ)) << n;
    EXPECT_EQ(kn->status, OBJSTATUS_AKTIV) << n;
    EXPECT_LT(maxabw(kn->ans_mpu->L, (1.0 / S) * anteil), 1e-14) << n;
  }
}

TEST(Ansaetze, CopyTransfersSubsetsExactlyAndStructuralErrorsAreReported) {
  Konsolenumleitung k("w\n");
  Modell m;
  TMaterialpunkt* mp = th::materialpunkt(m, 1, 0.3, 0.4);
  TIntegrationspunkt* ip =
      m._anlegen<TIntegrationspunkt>(&m, -1, OBJTYP_IPU, 1.0, mp->xa, leer, leer, leer, leer, 0);
  TAnsatz* ans = ip->ans_mpu;
  ASSERT_EQ(ans->ans, ANSATZ_KOPIEREN);

  // No co-located material point: reported, the target switched off (ipu(1-)).
  EXPECT_FALSE(ans->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  EXPECT_EQ(k.aus.str(), meldung("kopieren ohne Stuetzpunkt"));

  ip->mpu_auf = mp;
  ASSERT_TRUE(ans->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  EXPECT_EQ(ip->status, OBJSTATUS_AKTIV);
  EXPECT_EQ(ans->L, VekR{1.0});

  TZustgroe& q = mp->zust;
  for (int i = 0; i < q.alle.n; ++i)
    q.alle[i] = 0.1 * (i + 1) + 1.0 / 3.0;
  ip->zust._loeschen();
  ASSERT_TRUE(ans->_zg(ZUSTGROE_VERSCHIEBUNG));
  EXPECT_EQ(ip->zust.u, q.u);
  EXPECT_EQ(ip->zust.z, (VekR(q.z.n))); // outside the subset
  ASSERT_TRUE(ans->_zg(ZUSTGROE_ALLE));
  EXPECT_EQ(ip->zust.alle, q.alle);

  // Strains cannot be copied.
  Konsolenumleitung k2("w");
  EXPECT_FALSE(ans->_verzerrungen());
  EXPECT_EQ(k2.aus.str(), meldung("kopieren Verzerrungen"));

  // The source's element approximation refuses the start configuration and a point without element.
  Konsolenumleitung k3("wwwwwww");
  EXPECT_FALSE(mp->ans_kno->_init(KONFIGUR_STARTKONF, VERZERR_KLNVERZ));
  EXPECT_FALSE(mp->ans_kno->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  EXPECT_EQ(mp->status, OBJSTATUS_INAKTIV);
  EXPECT_EQ(k3.aus.str(), meldung("ohne Element"));
}

TEST(Ansaetze, AssignmentAndTextOfElementApproximations) {
  Konsolenumleitung k("www");
  Modell m(true);
  TElement* e = element(m, ELE::ANSFUNK_LAGRO1, 4);
  ASSERT_NE(e, nullptr);
  TAnsatz* a = e->mpu[0]->_ansatz(OBJTYP_KNO);
  TAnsatz* b = e->mpu[3]->_ansatz(OBJTYP_KNO);
  ASSERT_TRUE(a->_init(KONFIGUR_REFKONF, VERZERR_KLNVERZ));
  *ANSATZELE_Z(b) = *ANSATZELE_Z(a);
  EXPECT_EQ(b->L, a->L);
  EXPECT_EQ(b->heimatpu, e->mpu[3]);
  EXPECT_EQ(k.aus.str(), "");

  // Through the base another kind is refused.
  TAnsatz* kopie = IPU_Z(e->ipu[0])->ans_mpu;
  *b = *kopie;
  EXPECT_EQ(k.aus.str(), meldung("andere Art"));

  EXPECT_EQ(th::text(*a),
            "ans=ele, Ng=0, heimatOT=mpu, stuetzOT=kno, heimatpu=[mpu(1+)], stuetzpu=[kno: kno(1+) "
            "kno(2+) kno(3+) kno(4+)]\nL=" +
                th::text(a->L) + "\nG=" + th::text(a->G) + ", heimatpu->ele=[ele(1+)]");
}
