#include "solver/mpmobjsys.h"

#include <cmath>
#include <ostream>

#include "frame/meldung.h"
#include "frame/mpmextern.h"
#include "input/mpmdimensionen.h"
#include "model/mpmobjkno.h"
#include "output/mpmaus.h"
#include "solver/mpm.h"

namespace MPM {

namespace {
constexpr double schranke = 1e-6;
}

bool TSystem::_init() {
  const int d1 = TDimensionen::dim1;
  Unbekanntenknoten.clear();
  for (const auto& eintrag : mpm->knou) Unbekanntenknoten.push_back(KNO_Z(eintrag.second));
  Nkno = static_cast<int>(Unbekanntenknoten.size());
  N = d1 * Nkno;
  N0 = N1 = N2 = 0;
  Nstraf = 0.0;
  for (int k = 0; k < Nkno; ++k) {
    TKnoten* kn = Unbekanntenknoten[k];
    kn->sysposkno = k;
    kn->sysposfhg.init(d1, nullptr);
    for (int i = 0; i < d1; ++i) kn->sysposfhg[i] = d1 * k + i;
  }
  if (bausktr) {
    *pck << "\n"
         << "System: N=" << N << ", Nkno=" << Nkno << "\n\n"
         << "Unbekanntenknoten: Positionen der Knoten, Positionen der Knotengroessen in System\n";
    for (const TKnoten* kn : Unbekanntenknoten)
      *pck << *kn << ", sysposkno=" << kn->sysposkno << ", sysposfhg=" << kn->sysposfhg << "\n";
  }

  for (TVM::TVektor<bool>* v : {&bvorgeschrieben, &bgesund}) v->init(N, nullptr);
  typ.init(N, nullptr, 2u);
  for (TVM::VekR* v : {&strafgewicht, &kontaktanzeiger, &Uvor, &U, &Ut, &Utt, &U_n, &Ut_n, &Utt_n, &U_it, &dU,
                       &dU_alt, &fint, &fstraf, &fckon, &fext, &fm, &KU_it, &mG, &G, &R, &KdU, &Gnorm})
    v->init(N, nullptr);
  normdU = normdU_j = cosdU = konflr = normG = 0.0;
  Nkonpu = 0;
  for (TVM::MatR* m : {&M, &KT, &Kstraf, &Kkon, &Keff, &K, &K11inv}) m->init(N, N, nullptr);
  return true;
}

bool TSystem::_gesund_und_krank() {
  const int d1 = TDimensionen::dim1;
  bgesund.init(N, nullptr, true);
  for (const TKnoten* kn : Unbekanntenknoten) {
    if (kn->status == OBJSTATUS_AKTIV) continue;
    for (int i = 0; i < d1; ++i) bgesund[d1 * kn->sysposkno + i] = false;
  }
  const double Kiimax = TVM::maxhauptdiagele(K);
  if (Kiimax < schranke) {
    *konsaus << "FEHLER in <bool TSystem::_gesund_und_krank()>: Kiimax=" << Kiimax << "<schranke=" << schranke
             << "\n"
             << std::flush;
    abbruch();
    return false;
  }
  for (int i = 0; i < N; ++i)
    if (std::fabs(K[i][i]) / Kiimax < schranke) bgesund[i] = false;
  return true;
}

bool TSystem::_aufteilen() {
  N0 = N1 = N2 = 0;
  Nstraf = 0.0;
  typ.init(N, nullptr, 2u);
  for (int i = 0; i < N; ++i) {
    Nstraf += strafgewicht[i];
    if (bvorgeschrieben[i]) {
      typ[i] = 1;
      ++N1;
    } else if (bgesund[i]) {
      typ[i] = 0;
      ++N0;
    } else {
      ++N2;
    }
  }
  return true;
}

bool TSystem::_umspeichern(RICHTUNG r) {
  if (r == RICHTUNG_VORWAERTS) {
    U_n = U;
    Ut_n = Ut;
    Utt_n = Utt;
  } else if (r == RICHTUNG_RUECKWAERTS) {
    U = U_n;
    Ut = Ut_n;
    Utt = Utt_n;
  }
  U_it = U;
  dU.init(-1, nullptr);
  dU_alt.init(-1, nullptr);
  normdU = normdU_j = cosdU = 0.0;
  for (TVM::VekR* v : {&fint, &fstraf, &fckon, &fext, &fm, &KU_it, &mG, &G, &R, &KdU, &Gnorm}) v->init(-1, nullptr);
  return true;
}

} // namespace MPM
