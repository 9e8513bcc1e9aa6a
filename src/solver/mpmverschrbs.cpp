#include <algorithm>
#include <cmath>
#include <ostream>
#include <sstream>

#include "frame/mpmextern.h"
#include "model/mpmobjkno.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"

namespace MPM {

namespace {
constexpr double eps = 2.220446049250313e-16;

// Penalty force f, stiffness k and weight w of the conditions on a point with
// displacement u: one condition holds u along e at wert, two hold all of u.
void strafterme(double kappa, int anzahl, double wert, const TVM::VekR& e, const TVM::VekR& u, TVM::VekR& f,
                TVM::MatR& k, TVM::VekR& w) {
  const int d = e.n;
  double delta[2];
  for (int i = 0; i < d; ++i)
    delta[i] = u[i] - wert * e[i];
  f.init(d, nullptr);
  k.init(d, d, nullptr);
  w.init(d, nullptr);
  if (anzahl == 1) {
    double projektion = 0.0;
    for (int i = 0; i < d; ++i)
      projektion += delta[i] * e[i];
    for (int i = 0; i < d; ++i)
      f[i] = -kappa * projektion * e[i];
    TVM::Dyade(e, e, k);
    k *= -kappa;
    for (int i = 0; i < d; ++i)
      w[i] = std::fabs(e[i]);
    const double laenge = TVM::norm(w);
    if (laenge <= eps) {
      w.init(d, nullptr);
      w[0] = 1.0;
    } else {
      w *= 1.0 / laenge;
    }
  } else {
    for (int i = 0; i < d; ++i) {
      f[i] = -kappa * delta[i];
      k[i][i] = -kappa;
      w[i] = 1.0;
    }
  }
}
} // namespace

// The conditions are gathered once per time (and set of loads and points)
// and applied in every iteration to the points that are active then.
bool Tmpm::_verschiebungsrbs() {
  TSystem& s = *sys;
  s.fstraf.init(s.N, nullptr);
  s._null(SYSMAT_KSTRAF);
  s.Uvor.init(s.N, nullptr);
  s.bvorgeschrieben.init(s.N, nullptr);
  s.strafgewicht.init(s.N, nullptr);
  const std::size_t stand[3] = {pla.size(), kno.size(), mpu.size()};
  if (!bverschiebungen_ || verschiebungen_zeit_ != t ||
      !std::equal(stand, stand + 3, verschiebungen_stand_)) {
    _punktlasten(t, true, verschiebungen_);
    verschiebungen_zeit_ = t;
    std::copy(stand, stand + 3, verschiebungen_stand_);
    bverschiebungen_ = true;
  }
  const double kappa = stw.strafparam;
  const int d = TDimensionen::dim1;
  // Direction, force, stiffness and weight of one point on the stack.
  double ew[2], fw[2], kw[4], ww[2];
  TVM::VekR richtung, f, w;
  TVM::MatR k;
  richtung.ansicht(2, ew);
  f.ansicht(2, fw);
  k.ansicht(2, 2, kw);
  w.ansicht(2, ww);

  for (const TPunktlasten& e : verschiebungen_) {
    TPunkt* p = e.punkt;
    if (p->status != OBJSTATUS_AKTIV) continue;
    _lastmeldung(e.meldung, *p);
    if (e.anzahl == 0) continue;
    richtung[0] = e.richtung[0];
    richtung[1] = e.richtung[1];
    if (p->objtyp != OBJTYP_KNO) {
      strafterme(kappa, e.anzahl, e.wert, richtung, p->_u(), f, k, w);
      _auf_knoten_verteilen(p, &f, &s.fstraf, &k, &w, &s.strafgewicht);
      continue;
    }
    TKnoten* kn = KNO_Z(p);
    // A node without unknowns has no place in the system.
    bool hat_platz = kn->sysposfhg.n == d;
    for (int i = 0; hat_platz && i < d; ++i)
      hat_platz = kn->sysposfhg[i] >= 0 && kn->sysposfhg[i] < s.N;
    if (!hat_platz) continue;
    const int p0 = kn->sysposfhg[0], p1 = kn->sysposfhg[1];
    const int anzahl = e.anzahl, richtungstyp = e.richtungstyp;
    if (!stw.bstrafverf && (anzahl == 2 || richtungstyp != 0)) {
      if (anzahl == 1 && (richtungstyp == 1 || richtungstyp == -1)) {
        s.bvorgeschrieben[p0] = true;
        s.Uvor[p0] = e.wert * richtung[0];
      } else if (anzahl == 1 && (richtungstyp == 2 || richtungstyp == -2)) {
        s.bvorgeschrieben[p1] = true;
        s.Uvor[p1] = e.wert * richtung[1];
      } else {
        s.bvorgeschrieben[p0] = s.bvorgeschrieben[p1] = true;
        s.Uvor[p0] = e.wert * richtung[0];
        s.Uvor[p1] = e.wert * richtung[1];
      }
      continue;
    }
    strafterme(kappa, anzahl, e.wert, richtung, kn->_u(), f, k, w);
    for (int i = 0; i < d; ++i) {
      const int pi = kn->sysposfhg[i];
      s.strafgewicht[pi] += w[i];
      s.fstraf[pi] += f[i];
      for (int j = 0; j < d; ++j)
        s._addieren(SYSMAT_KSTRAF, pi, kn->sysposfhg[j], k[i][j]);
    }
  }
  return true;
}

// A spring of stiffness kappa against a body of stiffness Kii at the same
// unknown gives way by about Kii / kappa of the body's deformation; far above
// Kii it only spoils the condition of the system.
bool Tmpm::_strafparameter_pruefen() {
  const TSystem& s = *sys;
  const bool bexplizit = stw.zeitschrittverf == ZEITSCHRITTVERF_EXPLIZIT;
  double a0 = stw.bmassen ? stw.newmark_koeff[0] : 0.0;
  if (bexplizit) a0 = dt != 0.0 ? 1.0 / (dt * dt) : 0.0;
  double Kii = 0.0;
  for (int i = 0; i < s.N && i < s.strafgewicht.n; ++i) {
    if (!(s.strafgewicht[i] > 0.0)) continue;
    const double kt = bexplizit ? 0.0 : s._diagonale(SYSMAT_KT, i);
    Kii = std::max(Kii, kt + a0 * s._diagonale(SYSMAT_M, i));
  }
  if (!(Kii > 0.0)) return false;
  const double kappa = stw.strafparam;
  strafverhaeltnis = kappa / Kii;
  const bool klein = strafverhaeltnis < 1e3;
  if (!klein && strafverhaeltnis <= 1e7) return true;
  std::ostringstream text;
  text << "WARNUNG: Strafparameter kappa=" << kappa << " ist " << (klein ? "klein" : "gross")
       << " gegen die Steifigkeit an den Strafbedingungen (groesstes Diagonalglied der effektiven Matrix "
          "ohne Strafterme Kii="
       << Kii << ", kappa/Kii=" << strafverhaeltnis << (klein ? " < 1000): " : " > 1e+07): ");
  if (klein)
    text << "die Bedingungen weichen um etwa das " << 1.0 / strafverhaeltnis << "-fache der Verformung ab";
  else
    text << "das Gleichungssystem kann schlecht konditioniert sein";
  text << "; Abhilfe: stw_strafverf " << (stw.bstrafverf ? "W" : "F") << ", " << 1e5 * Kii
       << (stw.bstrafverf && klein ? " oder stw_strafverf F" : "") << "\n";
  *pcf << text.str() << std::flush;
  *konsaus << text.str() << std::flush;
  return true;
}

} // namespace MPM
