#include <algorithm>
#include <cmath>
#include <ostream>
#include <unordered_map>
#include <vector>

#include "frame/meldung.h"
#include "frame/mpmextern.h"
#include "model/mpmobjlast.h"
#include "model/mpmobjpunkt.h"
#include "numerics/mathehilf.h"
#include "solver/mpm.h"

namespace MPM {

namespace {
constexpr double grad = 0.017453292519943295;

// The polar form (value, angle in degrees) of a summed load vector.
void polarform(double x, double y, double& wert, double& winkel) {
  double vw[2] = {x, y}, ww[1] = {0.0};
  TVM::VekR v, w;
  v.ansicht(2, vw);
  w.ansicht(1, ww);
  MATHE::polar(v, wert, w);
  winkel = ww[0];
}

// Value and angle of the displacement that satisfies the first `anzahl` (1
// or 2) conditions: with two, u . e(theta1) = w1 and u . e(theta2) = w2.
void verschiebung_kombinieren(int anzahl, const double* werte, const double* winkel_, double& wert,
                              double& winkel) {
  if (anzahl == 1) {
    wert = werte[0];
    winkel = winkel_[0];
    return;
  }
  const double s1 = MATHE::sin(winkel_[0], true), c1 = MATHE::cos(winkel_[0], true);
  const double s2 = MATHE::sin(winkel_[1], true), c2 = MATHE::cos(winkel_[1], true);
  const double d = 1.0 / (s1 * c2 - c1 * s2);
  polarform((s1 * werte[1] - s2 * werte[0]) * d, (c2 * werte[0] - c1 * werte[1]) * d, wert, winkel);
}

// The message (1 or 2) when one more displacement condition acts on a point
// that already has `anzahl` at the angles given; 0 when it can be kept.
int bedingung_pruefen(int anzahl, const double* winkel_, double b) {
  if (anzahl >= TDimensionen::dim1) return 1;
  for (int i = 0; i < anzahl; ++i)
    if (MATHE::b_winkel_gleich(b, winkel_[i], true, true)) return 2;
  return 0;
}

// Displacement conditions kept per point, at most dim1 of them.
constexpr int maxbedingungen = 3;
} // namespace

void Tmpm::_lastmeldung(int meldung, const TPunkt& punkt) const {
  if (meldung == 1)
    *konsaus << "FEHLER in <bool _last(...)>: zu viele Verschiebungsbedingungen. zielpu=" << punkt
             << ", ueberige Bedingungen werden ignoriert\n"
             << std::flush;
  else if (meldung == 2)
    *konsaus
        << "FEHLER in <bool _last(...)>: Verschiebungsbedingung fuer gleiche Richtung bereits vorhanden. "
        << "zielpu=" << punkt << ", neue Bedingung wird ignoriert\n"
        << std::flush;
}

bool Tmpm::_last(double zeit, TPunkt* punkt, LASTTYP art, double& wert, TVM::VekR& richtung,
                 TVM::VekR& winkel, int& richtungstyp, int& anzahl) {
  wert = 0.0;
  richtung.init(2, nullptr);
  winkel.init(1, nullptr);
  richtungstyp = 0;
  anzahl = 0;
  double w = 0.0, b = 0.0;

  if (art == LASTTYP_KRAFT || art == LASTTYP_BESCHLEUNIGUNG) {
    double summe[2] = {0.0, 0.0};
    for (TObjbasis* obj : pla.liste()) {
      if (!PLA_Z(obj)->_last(zeit, punkt, art, w, b)) continue;
      summe[0] += w * std::cos(b * grad);
      summe[1] += w * std::sin(b * grad);
      ++anzahl;
    }
    if (anzahl == 0) return false;
    polarform(summe[0], summe[1], wert, winkel[0]);
  } else if (art == LASTTYP_VERSCHIEBUNG) {
    double werte[maxbedingungen], winkel_[maxbedingungen];
    for (TObjbasis* obj : pla.liste()) {
      if (!PLA_Z(obj)->_last(zeit, punkt, art, w, b)) continue;
      const int meldung = bedingung_pruefen(anzahl, winkel_, b);
      if (meldung != 0 || anzahl == maxbedingungen) {
        _lastmeldung(meldung != 0 ? meldung : 1, *punkt);
        break;
      }
      werte[anzahl] = w;
      winkel_[anzahl++] = b;
    }
    if (anzahl == 0) return false;
    verschiebung_kombinieren(anzahl, werte, winkel_, wert, winkel[0]);
  } else {
    *konsaus << "FEHLER in <bool _last(...)>: unzulaessiger Lasttyp\n" << std::flush;
    abbruch();
    return false;
  }
  richtung[0] = MATHE::cos(winkel[0], true);
  richtung[1] = MATHE::sin(winkel[0], true);
  richtungstyp = MATHE::winkel_richtung(winkel[0], true);
  return true;
}

void Tmpm::_punktlasten(double zeit, bool bverschiebung, std::vector<TPunktlasten>& liste) {
  liste.clear();
  // Per entry the conditions gathered so far, and whether the gathering
  // ended with a message.
  struct Bedingungen {
    double werte[maxbedingungen], winkel[maxbedingungen];
    bool bende = false;
  };
  std::vector<Bedingungen> bedingungen;
  std::unordered_map<const TPunkt*, std::size_t> index;
  for (TObjbasis* obj : pla.liste()) {
    const TPunktlast* pl = PLA_Z(obj);
    const bool bv = pl->art == LASTTYP_VERSCHIEBUNG;
    if (bv != bverschiebung || (!bv && pl->art != LASTTYP_KRAFT && pl->art != LASTTYP_BESCHLEUNIGUNG))
      continue;
    const Tobjcont* ziele = pl->ziel == OBJTYP_MPU   ? &mpu
                            : pl->ziel != OBJTYP_KNO ? nullptr
                            : bv                     ? &kno
                                                     : &knou;
    double w = 0.0;
    if (!ziele || !pl->_wert(zeit, w)) continue;
    const double b = pl->beta;
    for (unsigned int nummer : pl->Zielobjektnummern) {
      TObjbasis* ziel = ziele->suchen(static_cast<int>(nummer));
      if (!ziel || ziel->objtyp != pl->ziel || ziel->num != nummer) continue;
      TPunkt* p = PU_Z(ziel);
      const auto [pos, neu] = index.emplace(p, liste.size());
      if (neu) {
        liste.emplace_back();
        liste.back().punkt = p;
        bedingungen.emplace_back();
      }
      TPunktlasten& e = liste[pos->second];
      if (!bv) {
        const int k = pl->art == LASTTYP_KRAFT ? 0 : 1;
        e.lastrichtung[k][0] += w * std::cos(b * grad);
        e.lastrichtung[k][1] += w * std::sin(b * grad);
        ++e.Nlast[k];
        continue;
      }
      Bedingungen& bed = bedingungen[pos->second];
      if (bed.bende) continue;
      const int meldung = bedingung_pruefen(e.anzahl, bed.winkel, b);
      if (meldung != 0 || e.anzahl == maxbedingungen) {
        e.meldung = meldung != 0 ? meldung : 1;
        bed.bende = true;
        continue;
      }
      bed.werte[e.anzahl] = w;
      bed.winkel[e.anzahl++] = b;
    }
  }

  // The combination of each point's loads; lastrichtung held the sums.
  for (std::size_t i = 0; i < liste.size(); ++i) {
    TPunktlasten& e = liste[i];
    double winkel = 0.0;
    if (bverschiebung) {
      if (e.anzahl == 0) continue;
      verschiebung_kombinieren(e.anzahl, bedingungen[i].werte, bedingungen[i].winkel, e.wert, winkel);
      e.richtung[0] = MATHE::cos(winkel, true);
      e.richtung[1] = MATHE::sin(winkel, true);
      e.richtungstyp = MATHE::winkel_richtung(winkel, true);
      continue;
    }
    for (int k = 0; k < 2; ++k) {
      if (e.Nlast[k] == 0) continue;
      polarform(e.lastrichtung[k][0], e.lastrichtung[k][1], e.last[k], winkel);
      e.lastrichtung[k][0] = MATHE::cos(winkel, true);
      e.lastrichtung[k][1] = MATHE::sin(winkel, true);
    }
  }
  std::sort(liste.begin(), liste.end(), [](const TPunktlasten& a, const TPunktlasten& b) {
    const bool akno = a.punkt->objtyp == OBJTYP_KNO, bkno = b.punkt->objtyp == OBJTYP_KNO;
    return akno != bkno ? akno : a.punkt->num < b.punkt->num;
  });
}

} // namespace MPM
