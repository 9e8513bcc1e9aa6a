#include "solver/mpmzustgroe.h"

#include <algorithm>

#include "input/mpmdimensionen.h"

namespace MPM {

namespace {
// The block of a record: a view on the given storage, or an own one.
TVM::VekR block_anlegen(int laenge, double* block) {
  TVM::VekR v;
  if (block) {
    v.ansicht(laenge, block);
  } else {
    v.init(laenge, nullptr);
  }
  return v;
}
} // namespace

TZustgroe::TZustgroe() : TZustgroe(TLage(), nullptr, false) {}

TZustgroe::TZustgroe(double* block) : TZustgroe(TLage(), block, false) {}

TZustgroe::TZustgroe(double* block, bool bleer) : TZustgroe(TLage(), block, bleer) {}

TZustgroe::TZustgroe(const TLage& lage, double* block, bool bleer)
    : alle(block_anlegen(bleer ? 0 : lage.ende, bleer ? nullptr : block)), J(bleer ? block[0] : alle[lage.J]),
      rho0(bleer ? block[1] : alle[lage.rho0]), normr(bleer ? block[2] : alle[lage.normr]),
      normdz(bleer ? block[3] : alle[lage.normdz]) {
  if (bleer) {
    // Every member an empty view, which stays empty whatever it is given.
    for (TVM::VekR* v : {&alle, &u, &ut, &utt, &z, &z_n, &eps, &epst, &sig, &q, &u_n, &ut_n, &utt_n,
                         &verschiebung_, &primaer_, &sekundaer_})
      v->ansicht(0, nullptr);
    for (TVM::MatR* m : {&F, &H, &Fa, &CT, &DT})
      m->ansicht(0, 0, nullptr);
  } else {
    ansichten_bilden(lage);
  }
  _loeschen();
}

TZustgroe::TZustgroe(const TZustgroe& b) : TZustgroe(TLage(), nullptr, false) {
  *this = b;
}

TZustgroe& TZustgroe::operator=(const TZustgroe& b) {
  if (this != &b && alle.n == b.alle.n) alle.init(b.alle.n, b.alle.data);
  return *this;
}

void TZustgroe::ansichten_bilden(const TLage& l) {
  double* b = alle.data;
  u.ansicht(l.d1, b + l.u);
  ut.ansicht(l.d1, b + l.ut);
  utt.ansicht(l.d1, b + l.utt);
  z.ansicht(l.nz, b + l.z);
  z_n.ansicht(l.nz, b + l.z_n);
  F.ansicht(l.d1, l.d1, b + l.F);
  H.ansicht(l.d1, l.d1, b + l.H);
  Fa.ansicht(l.d1, l.d1, b + l.Fa);
  eps.ansicht(l.d2, b + l.eps);
  epst.ansicht(l.d2, b + l.epst);
  sig.ansicht(l.d2, b + l.sig);
  q.ansicht(l.nq, b + l.q);
  CT.ansicht(l.d2, l.d2, b + l.CT);
  DT.ansicht(l.d2, l.d2, b + l.DT);
  u_n.ansicht(l.d1, b + l.u_n);
  ut_n.ansicht(l.d1, b + l.ut_n);
  utt_n.ansicht(l.d1, b + l.utt_n);
  verschiebung_.ansicht(3 * l.d1, b + l.u);
  primaer_.ansicht(l.z_n - l.u, b + l.u);
  sekundaer_.ansicht(l.u_n - l.z, b + l.z);
}

void TZustgroe::_loeschen() {
  alle.init(-1, nullptr);
  const TLage lage;
  if (alle.n == lage.ende) {
    for (int i = 0; i < lage.d1; ++i) {
      alle[lage.F + i * lage.d1 + i] = 1.0;
      alle[lage.Fa + i * lage.d1 + i] = 1.0;
    }
  } else {
    for (int i = 0; i < F.zeilen; ++i) {
      F[i][i] = 1.0;
      Fa[i][i] = 1.0;
    }
  }
  J = 1.0;
}

bool TZustgroe::_strecke(ZUSTGROE g, const TLage& l, int& von, int& laenge) {
  switch (g) {
  case ZUSTGROE_ALLE:
    von = 0;
    laenge = l.ende;
    return true;
  case ZUSTGROE_VERSCHIEBUNG:
    von = l.u;
    laenge = 3 * l.d1;
    return true;
  case ZUSTGROE_PRIMAER:
    von = l.u;
    laenge = l.z_n - l.u;
    return true;
  case ZUSTGROE_SEKUNDAER:
    von = l.z;
    laenge = l.u_n - l.z;
    return true;
  default:
    return false;
  }
}

TVM::VekR* TZustgroe::_teilmenge(ZUSTGROE g) {
  return const_cast<TVM::VekR*>(static_cast<const TZustgroe*>(this)->_teilmenge(g));
}

const TVM::VekR* TZustgroe::_teilmenge(ZUSTGROE g) const {
  switch (g) {
  case ZUSTGROE_ALLE:
    return &alle;
  case ZUSTGROE_VERSCHIEBUNG:
    return &verschiebung_;
  case ZUSTGROE_PRIMAER:
    return &primaer_;
  case ZUSTGROE_SEKUNDAER:
    return &sekundaer_;
  default:
    return nullptr;
  }
}

void TZustgroe::_umspeichern(RICHTUNG r) {
  // A record without members (its point's state is another's) has nothing
  // to move.
  if (alle.n == 0) return;
  const TLage lage;
  if (alle.n == lage.ende && (r == RICHTUNG_VORWAERTS || r == RICHTUNG_RUECKWAERTS)) {
    // In the block: the motion and the internal variables and their copies.
    double* b = alle.data;
    const bool vor = r == RICHTUNG_VORWAERTS;
    const int paare[4][3] = {{lage.u, lage.u_n, lage.d1},
                             {lage.ut, lage.ut_n, lage.d1},
                             {lage.utt, lage.utt_n, lage.d1},
                             {lage.z, lage.z_n, lage.nz}};
    for (const auto& p : paare) {
      const int von = vor ? p[0] : p[1], nach = vor ? p[1] : p[0];
      std::copy(b + von, b + von + p[2], b + nach);
    }
    return;
  }
  if (r == RICHTUNG_VORWAERTS) {
    u_n = u;
    ut_n = ut;
    utt_n = utt;
    z_n = z;
  } else if (r == RICHTUNG_RUECKWAERTS) {
    u = u_n;
    ut = ut_n;
    utt = utt_n;
    z = z_n;
  }
}

} // namespace MPM
