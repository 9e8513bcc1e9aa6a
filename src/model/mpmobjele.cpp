#include "model/mpmobjele.h"

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>

#include "element/eleans.h"
#include "frame/meldung.h"
#include "frame/mpmextern.h"
#include "model/mpmobjeletyp.h"
#include "model/mpmobjipu.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"

namespace MPM {

namespace {
void konstruktorfehler(const std::string& text) {
  *konsaus << "FEHLER in <TElement::TElement(...)>: " << text << "\n" << std::flush;
  abbruch();
}

int knotenanzahl(const TElementtyp* typ) {
  return typ && typ->eletyp ? std::max(typ->eletyp->Nx(), typ->eletyp->Nu()) : 0;
}
} // namespace

TElement::TElement(TModell* m, int n, int matnum, int eletypnum, const std::vector<unsigned>& knoten,
                   int farbnr)
    : TObjbasis(m, OBJTYP_ELE, n, farbnr, OBJSTATUS_AKTIV) {
  if (TObjbasis* mat = mpm->mat.suchen(matnum)) {
    material = MAT_Z(mat);
  } else {
    konstruktorfehler(std::to_string(matnum));
  }
  if (TObjbasis* t = mpm->eletyp.suchen(eletypnum)) {
    typ = ELETYP_Z(t);
  } else {
    konstruktorfehler("Elementtypnummer nicht vorhanden: " + std::to_string(eletypnum));
  }
  for (unsigned k : knoten) {
    if (TObjbasis* kn = mpm->kno.suchen(static_cast<int>(k))) {
      kno.push_back(PU_Z(kn));
    } else {
      konstruktorfehler("Ungueltige Knotennummer k=" + std::to_string(k));
      return;
    }
  }
  if (!typ || !typ->eletyp || static_cast<int>(kno.size()) != knotenanzahl(typ)) {
    konstruktorfehler("falsche Knotenanzahl Nno=" + std::to_string(kno.size()));
    return;
  }
  const ELETYP::Tdataset& ds = *typ->eletyp;
  for (int i = 0; i < ds.kindxu.n; ++i) {
    const int pos = ds.kindxu[i];
    if (pos < 0 || pos >= static_cast<int>(kno.size())) continue;
    knox.push_back(kno[pos]);
    KNO_Z(kno[pos])->bknox = true;
  }
  for (int j = 0; j < ds.kindux.n; ++j) {
    const int pos = ds.kindux[j];
    if (pos < 0 || pos >= static_cast<int>(kno.size())) continue;
    knou.push_back(kno[pos]);
    KNO_Z(kno[pos])->bknou = true;
  }
}

std::vector<TPunkt*>& TElement::_kno(KNOTYP t) {
  switch (t) {
  case KNOTYP_KNOTEN:
    return kno;
  case KNOTYP_GEOMETRIEKNOTEN:
    return knox;
  case KNOTYP_UNBEKANNTENKNOTEN:
    return knou;
  default:
    leer_.clear();
    return leer_;
  }
}

int TElement::_Nkno(KNOTYP t) {
  return static_cast<int>(_kno(t).size());
}

std::vector<TPunkt*>& TElement::_pu(OBJTYP ot) {
  switch (ot) {
  case OBJTYP_MPU:
    return mpu;
  case OBJTYP_IPU:
    return ipu;
  default:
    leer_.clear();
    return leer_;
  }
}

TVM::MatR& TElement::_xk(TVM::MatR& X, KONFIGUR k, KNOTYP t) {
  const std::vector<TPunkt*>& knoten = _kno(t);
  X.init(dim1, static_cast<int>(knoten.size()), nullptr);
  for (std::size_t i = 0; i < knoten.size(); ++i) {
    const TVM::VekR& x = knoten[i]->_x(k);
    for (int c = 0; c < dim1 && c < x.n; ++c)
      X[c][i] = x[c];
  }
  return X;
}

std::ostream& operator<<(std::ostream& os, const TElement& e) {
  os << static_cast<const TObjbasis&>(e) << ", typ=";
  if (e.typ) {
    os << *e.typ;
  } else {
    os << "NULL";
  }
  return os << ", ele=" << e.ele << ", knox=" << e.knox << ", knou=" << e.knou << ", ipu=" << e.ipu
            << ", mpu=" << e.mpu;
}

TElement* ele_erzeugen(TModell* mpm, int num, int matnum, int eletypnum, const std::vector<unsigned>& knoten,
                       int farbe) {
  auto fehler = [mpm](const std::string& text) {
    *pcf << mpm->_str_eindatpos() << "\n" << text << "\n";
    return nullptr;
  };
  if (num >= 0 && mpm->ele.suchen(num))
    return fehler("Elementnummer bereits vorhanden: " + std::to_string(num));
  if (!mpm->mat.suchen(matnum)) return fehler("Materialnummer nicht vorhanden: " + std::to_string(matnum));
  TObjbasis* t = mpm->eletyp.suchen(eletypnum);
  if (!t) return fehler("Elementtypnummer nicht vorhanden: " + std::to_string(eletypnum));
  const TElementtyp* typ = ELETYP_Z(t);
  if (!typ->eletyp || !typ->integ) return fehler("Elementtyp unvollstaendig: " + std::to_string(eletypnum));
  const ELETYP::Tdataset& ds = *typ->eletyp;
  // A node carries dim1 unknowns: families with several functions per node
  // (Hermite) cannot be assembled.
  if (ELE::NLk(ds.key.dim, ds.key.ansfunku) > 1)
    return fehler("Elementtyp mit mehreren Ansatzfunktionen je Knoten nicht unterstuetzt: " +
                  std::to_string(eletypnum) + " (" + ds.name + ")");
  const int erwartet = knotenanzahl(typ);
  if (static_cast<int>(knoten.size()) != erwartet)
    return fehler("Falsche Elementknotenanzahl Nk_vorh=" + std::to_string(knoten.size()) +
                  "!=" + std::to_string(erwartet));
  std::vector<unsigned> nummern;
  const unsigned plus = mpm->_numplus(OBJTYP_KNO);
  for (unsigned k : knoten) {
    if (!mpm->kno.suchen(static_cast<int>(k + plus)))
      return fehler("Ungueltige Knotennummer k=" + std::to_string(k));
    nummern.push_back(k + plus);
  }

  // The geometry must map the reference element one to one: det J > 0 at the
  // reference centroid and at every integration point.
  TVM::MatR Xx(TDimensionen::dim1, ds.Nx());
  for (int i = 0; i < ds.kindxu.n; ++i) {
    TPunkt* kn = PU_Z(mpm->kno.suchen(static_cast<int>(nummern[ds.kindxu[i]])));
    for (int c = 0; c < TDimensionen::dim1; ++c)
      Xx[c][i] = kn->_x(KONFIGUR_REFKONF)[c];
  }
  const ELEIPU::Tdataset& regel = *typ->integ;
  const int Nipu = regel.xip.spalten;
  std::vector<TVM::VekR> xi(Nipu), x(Nipu);
  std::vector<double> vol(Nipu);
  TVM::MatR J;
  TVM::VekR schwerpunkt;
  ELE::_schwerpu_einheitsele(ds.key.dim, ds.key.form, schwerpunkt);
  if (!ds._J(Xx, schwerpunkt, J) || !(TVM::determinante_nxn(J) > 0.0))
    return fehler("Elementgeometrie unzulaessig (det J <= 0 im Schwerpunkt): Elementnummer " +
                  std::to_string(num));
  for (int p = 0; p < Nipu; ++p) {
    xi[p] = regel.xip.GetCol(p);
    const double detJ = ds._J(Xx, xi[p], J) ? TVM::determinante_nxn(J) : 0.0;
    if (!(detJ > 0.0) || !ds._x(Xx, xi[p], x[p]))
      return fehler("Elementgeometrie unzulaessig (det J <= 0 am Integrationspunkt " + std::to_string(p + 1) +
                    "): Elementnummer " + std::to_string(num));
    vol[p] = detJ * regel.wp[p];
  }

  TElement* e = mpm->_anlegen<TElement>(mpm, num, matnum, eletypnum, nummern, farbe);
  mpm->ele.einfuegen(static_cast<int>(e->num), e);
  const bool beleansatz = mpm->stw.ansatz_knou_zu_pu == ANSATZ_ELE;
  const TVM::VekR null;
  for (int p = 0; p < Nipu; ++p) {
    // The material point first, so that the integration point is created
    // with its state provider.
    TMaterialpunkt* mp = nullptr;
    if (mpm->stw.bipuaufmpu) {
      mp =
          mpm->_anlegen<TMaterialpunkt>(mpm, -1, OBJTYP_ELE, matnum, vol[p], x[p], null, null, null, null, 0);
      mpm->mpu.einfuegen(static_cast<int>(mp->num), mp);
      mp->element = e;
    }
    TIntegrationspunkt* ip =
        mpm->_anlegen<TIntegrationspunkt>(mpm, -1, OBJTYP_ELE, vol[p], x[p], null, null, null, null, 0, mp);
    mpm->ipu.einfuegen(static_cast<int>(ip->num), ip);
    ip->element = e;
    if (beleansatz) {
      e->ipu.push_back(ip);
      mpm->_xi_setzen(ip->ans_kno, xi[p]);
    }
    if (!mp) continue;
    mp->ipu_auf = ip;
    ip->mpu_auf = mp;
    if (beleansatz) {
      e->mpu.push_back(mp);
      mpm->_xi_setzen(mp->ans_kno, xi[p]);
    }
  }
  return e;
}

} // namespace MPM
