#include "model/mpmobjpunkt.h"

#include <ostream>

#include "frame/meldung.h"
#include "frame/mix.h"
#include "frame/mpmextern.h"
#include "model/mpmobjkno.h"

namespace MPM {

namespace {
// Prints a query error and asks whether to stop.
void abfragefehler(const char* text) {
  *konsaus << text << std::flush;
  abbruch();
}
} // namespace

namespace {
// Doubles of a point in the stores of the simulation: its positions xa, x0
// and the current one, then its record.
std::size_t punktspeicher(const TPunkt* zustgeber) {
  const int d1 = TDimensionen::dim1;
  return static_cast<std::size_t>(3 * d1 + (zustgeber ? TZustgroe::Nleer : TZustgroe::TLage().ende));
}

// A vector of dim1 on `speicher`, or an own one without.
TVM::VekR vektor(double* speicher) {
  TVM::VekR v;
  if (speicher) {
    v.ansicht(TDimensionen::dim1, speicher);
  } else {
    v.init(TDimensionen::dim1, nullptr);
  }
  return v;
}
} // namespace

TPunkt::TPunkt(TModell* m, OBJTYP typ, OBJTYP e, int n, double vol, const TVM::VekR& x, const TVM::VekR& u,
               const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z, int farbnr, TPunkt* geber)
    : TPunkt(m, typ, e, n, vol, x, u, ut, utt, z, farbnr, geber,
             m ? m->_speicher(punktspeicher(geber)) : nullptr) {}

TPunkt::TPunkt(TModell* m, OBJTYP typ, OBJTYP e, int n, double vol, const TVM::VekR& x, const TVM::VekR& u,
               const TVM::VekR& ut, const TVM::VekR& utt, const TVM::VekR& z, int farbnr, TPunkt* geber,
               double* speicher)
    : TObjbasis(m, typ, n, farbnr, OBJSTATUS_AKTIV), zustgeber(geber), vol0(vol), erz(e), vola(vol),
      xa(vektor(speicher)), x0(vektor(speicher ? speicher + dim1 : nullptr)),
      zust(speicher ? speicher + 3 * dim1 : nullptr, geber != nullptr && speicher != nullptr),
      kontaktrichtung(dim1), xmom_(vektor(speicher ? speicher + 2 * dim1 : nullptr)) {
  for (int i = 0; i < dim1 && i < x.n; ++i)
    xa[i] = x[i];
  x0 = xa;
  const TVM::VekR* quellen[] = {&u, &ut, &utt, &z};
  TVM::VekR* ziele[] = {&zust.u, &zust.ut, &zust.utt, &zust.z};
  for (int k = 0; k < 4; ++k)
    for (int i = 0; i < ziele[k]->n && i < quellen[k]->n; ++i)
      (*ziele[k])[i] = (*quellen[k])[i];
  zust._umspeichern(RICHTUNG_VORWAERTS);
}

TPunkt::~TPunkt() = default;

TAnsatz* TPunkt::ansatz_anlegen(OBJTYP stuetzot, ANSATZ art) {
  return mpm ? mpm->_ansatz_anlegen(this, objtyp, stuetzot, art) : nullptr;
}

TAnsatz* TPunkt::_ansatz(OBJTYP) {
  return nullptr;
}
TPunkt* TPunkt::_pu(OBJTYP) {
  return nullptr;
}

double TPunkt::_vol(KONFIGUR k) const {
  switch (k) {
  case KONFIGUR_REFKONF:
    return vol0;
  case KONFIGUR_MOMKONF:
    return vol0 * _zg().J;
  case KONFIGUR_STARTKONF:
    return vola;
  default:
    abfragefehler("FEHLER in Funktion <_REAL TPunkt::_vol(KONFIGUR konfigur)>\n");
    return 0.0;
  }
}

double TPunkt::_rho(KONFIGUR k) const {
  switch (k) {
  case KONFIGUR_REFKONF:
    return zust.rho0;
  case KONFIGUR_MOMKONF:
    return zust.rho0 / _zg().J;
  default:
    abfragefehler("FEHLER in Funktion <_REAL TPunkt::_rho(KONFIGUR konfigur)>\n");
    return 0.0;
  }
}

TVM::VekR& TPunkt::_x(KONFIGUR k) {
  switch (k) {
  case KONFIGUR_REFKONF:
    return x0;
  case KONFIGUR_STARTKONF:
    return xa;
  case KONFIGUR_MOMKONF: {
    const TPunkt& p = zustgeber ? *zustgeber : *this;
    for (int i = 0; i < xmom_.n; ++i)
      xmom_[i] = p.x0[i] + p.zust.u[i];
    return xmom_;
  }
  default:
    abfragefehler("FEHLER in Funktion <TVM::VekR& TPunkt::_x(KONFIGUR konfigur)>\n");
    xmom_.init(-1, nullptr);
    return xmom_;
  }
}

TVM::VekR& TPunkt::_u() {
  return _zg().u;
}
const TVM::VekR& TPunkt::_u() const {
  return _zg().u;
}

void TPunkt::_init_vol0_x0(KONFIGUR k) {
  if (k == KONFIGUR_REFKONF) {
    x0 = xa;
    vol0 = vola;
  } else if (k == KONFIGUR_MOMKONF) {
    const TZustgroe& zg = _zg();
    for (int i = 0; i < x0.n; ++i)
      x0[i] = xa[i] - zg.u[i];
    vol0 = vola / zg.J;
  } else {
    abfragefehler("FEHLER in Funktion <void TPunkt::_init_vol0_x0(KONFIGUR konfigur)>\n");
  }
}

void TPunkt::_umspeichern(RICHTUNG r) {
  if (status == OBJSTATUS_AKTIV) {
    zust._umspeichern(r);
  } else {
    zust._loeschen();
  }
}

void TPunkt::_loeschen() {
  zust._loeschen();
  vol0 = 0.0;
  x0.init(dim1, nullptr);
}

void TPunkt::_text(std::ostream& os) const {
  os << static_cast<const TObjbasis&>(*this) << ", erz=" << str_OBJTYP(erz) << ", vola=" << _str(vola, 10)
     << ", xa=" << xa << ", vol0=" << _str(vol0, 10) << ", x0=" << x0
     << ", x=" << const_cast<TPunkt*>(this)->_x(KONFIGUR_MOMKONF) << ", u=" << _u() << ", ut=" << _zg().ut;
}

std::ostream& operator<<(std::ostream& os, const TPunkt& p) {
  p._text(os);
  return os;
}

TVM::TVektor<int>& _einbaupos(const std::vector<TPunkt*>& knou, TVM::TVektor<int>& pos) {
  const int d1 = TDimensionen::dim1;
  if (knou.empty()) {
    *konsaus << "FEHLER in _einbaupos(...): !Nknou\n" << std::flush;
    abbruch();
    return pos.init(0, nullptr);
  }
  pos.init(d1 * static_cast<int>(knou.size()), nullptr, -1);
  for (std::size_t k = 0; k < knou.size(); ++k) {
    const TKnoten* kn = dynamic_cast<const TKnoten*>(knou[k]);
    if (!kn) continue;
    for (int i = 0; i < d1 && i < kn->sysposfhg.n; ++i)
      pos[static_cast<int>(k) * d1 + i] = kn->sysposfhg[i];
  }
  return pos;
}

} // namespace MPM
