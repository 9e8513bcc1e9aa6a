#include <cmath>
#include <ostream>
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
    TVM::VekR summe(2);
    for (const auto& eintrag : pla) {
      if (!PLA_Z(eintrag.second)->_last(zeit, punkt, art, w, b)) continue;
      summe[0] += w * std::cos(b * grad);
      summe[1] += w * std::sin(b * grad);
      ++anzahl;
    }
    if (anzahl == 0) return false;
    MATHE::polar(summe, wert, winkel);
  } else if (art == LASTTYP_VERSCHIEBUNG) {
    std::vector<double> werte, winkel_;
    for (const auto& eintrag : pla) {
      if (!PLA_Z(eintrag.second)->_last(zeit, punkt, art, w, b)) continue;
      if (static_cast<int>(werte.size()) >= TDimensionen::dim1) {
        *konsaus << "FEHLER in <bool _last(...)>: zu viele Verschiebungsbedingungen. zielpu=" << *punkt
                 << ", ueberige Bedingungen werden ignoriert\n"
                 << std::flush;
        break;
      }
      bool gleich = false;
      for (double frueher : winkel_)
        gleich = gleich || MATHE::b_winkel_gleich(b, frueher, true, true);
      if (gleich) {
        *konsaus
            << "FEHLER in <bool _last(...)>: Verschiebungsbedingung fuer gleiche Richtung bereits vorhanden. "
            << "zielpu=" << *punkt << ", neue Bedingung wird ignoriert\n"
            << std::flush;
        break;
      }
      werte.push_back(w);
      winkel_.push_back(b);
    }
    anzahl = static_cast<int>(werte.size());
    if (anzahl == 0) return false;
    if (anzahl == 1) {
      wert = werte[0];
      winkel[0] = winkel_[0];
    } else {
      // u . e(theta1) = w1 and u . e(theta2) = w2
      const double s1 = MATHE::sin(winkel_[0], true), c1 = MATHE::cos(winkel_[0], true);
      const double s2 = MATHE::sin(winkel_[1], true), c2 = MATHE::cos(winkel_[1], true);
      const double d = 1.0 / (s1 * c2 - c1 * s2);
      const TVM::VekR u{(s1 * werte[1] - s2 * werte[0]) * d, (c2 * werte[0] - c1 * werte[1]) * d};
      MATHE::polar(u, wert, winkel);
    }
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

} // namespace MPM
