#include "model/mpmobjmpu.h"

#include <cmath>
#include <memory>
#include <ostream>

#include "frame/meldung.h"
#include "frame/mix.h"
#include "frame/mpmextern.h"
#include "model/mpmobjipu.h"
#include "model/mpmobjmat.h"
#include "numerics/loeser.h"
#include "numerics/mathehilf.h"

namespace MPM {

namespace {
constexpr double maschinengenauigkeit = 2.220446049250313e-16;

// The material of number `matnum`; a missing one is reported and the user
// asked whether to stop.
TMaterial* material_suchen(TModell* mpm, int matnum) {
  TObjbasis* mat = mpm->mat.suchen(matnum);
  if (!mat) {
    *pcf << "FEHLER in <TMaterialpunkt::TMaterialpunkt(..)>: Materialnummer nicht vorhanden: " << matnum
         << "\n";
    abbruch();
    return nullptr;
  }
  return MAT_Z(mat);
}

void eingabefehler(TModell* mpm, const std::string& text) {
  *pcf << mpm->_str_eindatpos() << "\n" << text;
}

// The checks of a material-point or source record: number free, material
// known, volume positive.
bool datensatz_pruefen(TModell* mpm, const Tobjcont& reg, const char* nummerntext, int num, int matnum,
                       double vol) {
  if (num >= 0 && reg.suchen(num)) {
    eingabefehler(mpm, std::string(nummerntext) + " bereits vorhanden: " + std::to_string(num) + "\n");
    return false;
  }
  if (!mpm->mat.suchen(matnum)) {
    eingabefehler(mpm, "Materialnummer nicht vorhanden: " + std::to_string(matnum) + "\n");
    return false;
  }
  if (!(vol > 0.0)) {
    eingabefehler(mpm, "Materialpunktvolumen <= 0.\n");
    return false;
  }
  return true;
}
} // namespace

TMaterialpunkt::TMaterialpunkt(TModell* m, int n, OBJTYP e, int matnum, double vol, const TVM::VekR& x,
                               const TVM::VekR& u, const TVM::VekR& ut, const TVM::VekR& utt,
                               const TVM::VekR& z, int farbnr)
    : TPunkt(m, OBJTYP_MPU, e, n, vol, x, u, ut, utt, z, farbnr), material(material_suchen(m, matnum)) {
  ans_kno = ansatz_anlegen(OBJTYP_KNO, mpm->stw.ansatz_knou_zu_pu);
  if (material) zust.rho0 = material->rho;
}

TAnsatz* TMaterialpunkt::_ansatz(OBJTYP stuetzot) {
  if (stuetzot == OBJTYP_KNO && ans_kno) return ans_kno;
  *konsaus << "FEHLER in <TMaterialpunkt::_ansatz(OBJTYP stuetzot)>: stuetzot=" << str_OBJTYP(stuetzot)
           << ", ans=NULL\n"
           << std::flush;
  abbruch();
  return nullptr;
}

TPunkt* TMaterialpunkt::_pu(OBJTYP ot) {
  switch (ot) {
  case OBJTYP_IPU:
    return ipu_auf;
  case OBJTYP_KNO:
    return kno_auf;
  default:
    *konsaus << "FEHLER in TMaterialpunkt::_pu(OBJTYP ot)\n" << std::flush;
    abbruch();
    return nullptr;
  }
}

void TMaterialpunkt::_loeschen() {
  for (unsigned int& wort : matit)
    wort = 0;
  TPunkt::_loeschen();
}

bool TMaterialpunkt::materialiteration(TMatitkontext& kontext) {
  if (!material) {
    *konsaus << "FEHLER in <bool TMaterialpunkt::materialiteration()>: material=NULL\n" << std::flush;
    abbruch();
    return false;
  }
  const TSteuerparam& s = mpm->stw;
  const double dt = kontext.dt;
  const int n = static_cast<int>(TMaterial::_Nz(material->typ));
  constexpr unsigned int minstellen = 3;
  // The members of the record as views on its block, where its layout is
  // the current one, so that the pass reads the block alone.
  const TZustgroe::TLage lage;
  double* block = zust.alle.n == lage.ende ? zust.alle.data : nullptr;
  TVM::VekR z_b, z_n_b, eps_b, epst_b, sig_b, q_b;
  TVM::MatR CT_b, DT_b;
  if (block) {
    z_b.ansicht(lage.nz, block + lage.z);
    z_n_b.ansicht(lage.nz, block + lage.z_n);
    eps_b.ansicht(lage.d2, block + lage.eps);
    epst_b.ansicht(lage.d2, block + lage.epst);
    sig_b.ansicht(lage.d2, block + lage.sig);
    q_b.ansicht(lage.nq, block + lage.q);
    CT_b.ansicht(lage.d2, lage.d2, block + lage.CT);
    DT_b.ansicht(lage.d2, lage.d2, block + lage.DT);
  }
  TVM::VekR &z = block ? z_b : zust.z, &z_n = block ? z_n_b : zust.z_n, &eps = block ? eps_b : zust.eps,
            &epst = block ? epst_b : zust.epst, &sig = block ? sig_b : zust.sig, &q = block ? q_b : zust.q;
  TVM::MatR &CT = block ? CT_b : zust.CT, &DT = block ? DT_b : zust.DT;
  double &normr = block ? block[lage.normr] : zust.normr, &normdz = block ? block[lage.normdz] : zust.normdz;

  // Residual, correction and derivative on the stack while they fit; the
  // matrices are views of the pass's scratch, whose row tables stay.
  constexpr int maxstapel = 8;
  double rw[maxstapel], dzw[maxstapel], rzw[maxstapel * maxstapel], rzinvw[maxstapel * maxstapel];
  TVM::VekR r, dz;
  TVM::MatR rz_eigen, rzinv_eigen;
  const bool bstapel = n <= maxstapel;
  const bool bkratz = bstapel && kontext.rz && kontext.rzinv;
  TVM::MatR &rz = bkratz ? *kontext.rz : rz_eigen, &rzinv = bkratz ? *kontext.rzinv : rzinv_eigen;
  if (bstapel) {
    r.ansicht(n, rw).init(n, nullptr);
    dz.ansicht(n, dzw).init(n, nullptr);
    rz.ansicht(n, n, rzw).init(n, n, nullptr);
    rzinv.ansicht(n, n, rzinvw).init(n, n, nullptr);
  } else {
    r.init(n, nullptr);
    dz.init(n, nullptr);
    rz.init(n, n, nullptr);
    rzinv.init(n, n, nullptr);
  }
  normr = 0.0;
  normdz = 0.0;
  double normdz_k = 0.0; // correction norm of the step before the last
  bool biter = false;
  unsigned int ii = 0;

  if (n > 0) {
    z = z_n;
    for (;;) {
      material->_r(eps, epst, z, z_n, r, biter, dt);
      normr = TVM::norm(r);
      if (!biter && ii == 0) break;
      if (normr < s.schranke_normr && ii > 0 && normdz < s.schranke_normdz) {
        biter = true;
        kontext.binel = true;
        break;
      }
      if (ii == s.maxNmatit) {
        z = z_n;
        *konsaus << "Maximalzahl der Materialiterationsschritte erreicht,(ii=" << ii << ", normr=" << normr
                 << ", normdz=" << normdz << ")\n"
                 << std::flush;
        return false;
      }
      if (s.bkonvkontrmatit && ii > 1 && normdz > std::pow(normdz_k, s.minkonvmatit)) {
        *konsaus << "Keine hinreichende Konvergenz (ii=" << ii << ", normdz_k=" << normdz_k
                 << ", normdz=" << normdz << ")\n"
                 << std::flush;
        return false;
      }

      const char* name = s.bnummattangente ? "rz_num" : "rz_analyt";
      if (s.bnummattangente) {
        material->_rz_num(eps, epst, z, z_n, rz, dt);
      } else {
        material->_rz(eps, epst, z, z_n, rz, dt);
      }
      int stellen = 0;
      bool gut = rz.zeilen == n && rz.spalten == n && r.n == n;
      if (gut) {
        rzinv = rz;
        double det = 0.0;
        gut = TVM::loeser_inverse(rzinv, det, s.gleichloes_mat) == 1 &&
              TVM::Konditionskontrolle(rz, rzinv, stellen, minstellen);
      }
      if (!gut) {
        *konsaus << "Invertierung von " << name << " ungenau:"
                 << ", stellen=" << stellen << ", minstellen=" << minstellen << "\n"
                 << std::flush;
        abbruch();
        return false; // the user goes on: the pass fails, the bad inverse is never used
      }

      TVM::produkt(rzinv, r, dz);
      for (int i = 0; i < n; ++i) {
        dz[i] = -dz[i];
        z[i] += dz[i];
      }
      normdz_k = normdz;
      normdz = TVM::norm(dz);
      if (kontext.schritt) kontext.schritt(*this);
      ++ii;
      ++matit[0];
    }
  }

  const TVM::MatR leer;
  material->_CT_DT(eps, epst, z, z_n, ii > 0 ? static_cast<const TVM::MatR&>(rzinv) : leer, CT, DT, biter,
                   dt);
  material->_sigma(eps, epst, z, sig, q, this);
  return true;
}

void TMaterialpunkt::_text(std::ostream& os) const {
  TPunkt::_text(os);
  os << ", mat=";
  if (material) {
    os << *static_cast<const TObjbasis*>(material);
  } else {
    os << "?";
  }
}

TMaterialpunktquelle::TMaterialpunktquelle(TModell* m, int n, OBJTYP e, double a, double b, double d,
                                           int matnum, double vol, const TVM::VekR& x, const TVM::VekR& u,
                                           const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z,
                                           int farbnr)
    : TPunkt(m, OBJTYP_MPUQUELL, e, n, vol, x, u, ut, utt, z, farbnr), tA(a), tE(b), dt(d),
      material(material_suchen(m, matnum)) {
  if (material) zust.rho0 = material->rho;
}

bool TMaterialpunktquelle::_baktiv(double t, bool bgrundschritt) const {
  if (!bgrundschritt) return false;
  if (t < tA || t > tE) return false;
  const double q = (t - tA) / dt;
  const double r = MATHE::runde(q, 0);
  return MATHE::fastgleich((q - r) * dt, 0.0, 2.220446049250313e-14);
}

void TMaterialpunktquelle::_text(std::ostream& os) const {
  TPunkt::_text(os);
  os << ", tA=" << _str(tA, 10) << ", tE=" << _str(tE, 10) << ", dt=" << _str(dt, 10) << ", mat=";
  if (material) {
    os << *static_cast<const TObjbasis*>(material);
  } else {
    os << "?";
  }
}

TMaterialpunkt* mpu_erzeugen(TModell* mpm, int num, int matnum, double vol, TVM::VekR& x, const TVM::VekR& u,
                             const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z, int farbe) {
  if (!datensatz_pruefen(mpm, mpm->mpu, "Materialpunktnummer", num, matnum, vol)) return nullptr;
  const double s = mpm->stw.schmutzxa;
  if (!mpm->stw.bknokoerperfest && s > maschinengenauigkeit)
    for (int i = 0; i < x.n; ++i)
      x[i] += MATHE::zufall(-s, s);

  TMaterialpunkt* mp =
      mpm->_anlegen<TMaterialpunkt>(mpm, num, OBJTYP_MPU, matnum, vol, x, u, ut, utt, z, farbe);
  mpm->mpu.einfuegen(static_cast<int>(mp->num), mp);
  if (mpm->stw.bipuaufmpu) {
    TIntegrationspunkt* ip =
        mpm->_anlegen<TIntegrationspunkt>(mpm, -1, OBJTYP_MPU, mp->vola, mp->xa, u, ut, utt, z, farbe, mp);
    mpm->ipu.einfuegen(static_cast<int>(ip->num), ip);
    mp->ipu_auf = ip;
    ip->mpu_auf = mp;
  }
  return mp;
}

TMaterialpunktquelle* mpuquell_erzeugen(TModell* mpm, int num, OBJTYP, double tA, double tE, double dt,
                                        int matnum, double vol, const TVM::VekR& x, const TVM::VekR& u,
                                        const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z,
                                        int farbe) {
  if (!datensatz_pruefen(mpm, mpm->mpuquell, "Materialpunktquellennummer", num, matnum, vol)) return nullptr;
  TMaterialpunktquelle* q = mpm->_anlegen<TMaterialpunktquelle>(mpm, num, OBJTYP_MPUQUELL, tA, tE, dt, matnum,
                                                                vol, x, u, ut, utt, z, farbe);
  mpm->mpuquell.einfuegen(static_cast<int>(q->num), q);
  return q;
}

} // namespace MPM
