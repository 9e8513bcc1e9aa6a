#include "model/mpmobjlast.h"

#include <cmath>
#include <memory>
#include <ostream>
#include <string>

#include "frame/mix.h"
#include "frame/mpmextern.h"
#include "model/mpmobjpunkt.h"
#include "numerics/mathehilf.h"

namespace MPM {

namespace {
constexpr double zweipi = 6.283185307179586;
}

TPunktlast::TPunktlast(TModell* m, int nummer, OBJTYP z, LASTTYP a, const std::vector<unsigned int>& ziele,
                       double b, LASTFUNKTYP f, double anfang, double ende, const TVM::VekR& koeff)
    : TObjbasis(m, OBJTYP_PLA, nummer, 0, OBJSTATUS_AKTIV), ziel(z), art(a),
      beta(MATHE::winkel_vereinfachen(b)), ftyp(f), tA(anfang), tE(ende), c(koeff) {
  // A long generated list names only its first repeated numbers.
  constexpr std::size_t maxmeldungen = 10;
  std::size_t Nmehrfach = 0;
  for (unsigned int n : ziele) {
    if (Zielobjektnummern.insert(n).second || ++Nmehrfach > maxmeldungen) continue;
    *pcf << "<TPunktlast::TPunktlast(...)>: Zielobjektnummer bereits vorhanden; wird ignoriert\n"
         << "*this=" << *this << ", Zielobjektnnummer=" << n << "\n";
  }
  if (Nmehrfach > maxmeldungen)
    *pcf << "<TPunktlast::TPunktlast(...)>: " << Nmehrfach - maxmeldungen
         << " weitere Zielobjektnummern bereits vorhanden; werden ignoriert\n";
}

bool TPunktlast::_last(double t, const TPunkt* punkt, LASTTYP a, double& wert, double& b) const {
  wert = 0.0;
  b = 0.0;
  if (!punkt || punkt->objtyp != ziel || a != art || !Zielobjektnummern.count(punkt->num)) return false;
  if (!_wert(t, wert)) return false;
  b = beta;
  return true;
}

bool TPunktlast::_wert(double t, double& wert) const {
  wert = 0.0;
  if (!(tA <= t && t < tE)) return false;
  auto k = [this](int i) { return i < c.n ? c[i] : 0.0; };
  const double T = tE - tA, tau = t - tA, s = tau / T;
  switch (ftyp) {
  case LASTFUNKTYP_KON:
    wert = k(0);
    break;
  case LASTFUNKTYP_LIN:
    wert = k(0) + (k(1) - k(0)) * s;
    break;
  case LASTFUNKTYP_QUA:
    wert = k(0) + s * (-3.0 * k(0) + 4.0 * k(2) - k(1)) + 2.0 * s * s * (k(0) + k(1) - 2.0 * k(2));
    break;
  case LASTFUNKTYP_KUB:
    wert = k(0) + k(2) * tau + s * s * (3.0 * k(1) - 3.0 * k(0) - (2.0 * k(2) + k(3)) * T) +
           s * s * s * ((k(2) + k(3)) * T + 2.0 * k(0) - 2.0 * k(1));
    break;
  case LASTFUNKTYP_SIN:
    wert = k(0) * std::sin(zweipi * (t - k(2)) / k(1)) + k(3);
    break;
  case LASTFUNKTYP_COS:
    wert = k(0) * std::cos(zweipi * (t - k(2)) / k(1)) + k(3);
    break;
  default:
    wert = 0.0;
    return false;
  }
  return true;
}

std::ostream& operator<<(std::ostream& os, const TPunktlast& pl) {
  os << static_cast<const TObjbasis&>(pl) << ", Ziel=" << str_OBJTYP(pl.ziel)
     << ", Art=" << str_LASTTYP(pl.art) << ", beta=" << _str(pl.beta, 10)
     << ", ftyp=" << str_LASTFUNKTYP(pl.ftyp) << ", tA=" << _str(pl.tA, 10) << ", tE=" << _str(pl.tE, 10)
     << ", c=" << pl.c << ", Zielobjektnummern=[";
  const char* trenner = "";
  for (unsigned int n : pl.Zielobjektnummern) {
    os << trenner << n;
    trenner = ", ";
  }
  return os << "]";
}

TPunktlast* pula_erzeugen(TModell* mpm, int nummer, OBJTYP ziel, LASTTYP art,
                          const std::vector<unsigned int>& ziele, double beta, LASTFUNKTYP ftyp, double tA,
                          double tE, const TVM::VekR& c) {
  auto fehler = [mpm](const std::string& text) {
    *pcf << mpm->_str_eindatpos() << "\n" << text;
    return nullptr;
  };
  if (nummer >= 0 && mpm->pla.suchen(nummer))
    return fehler("Punktlastnummer bereits vorhanden: " + std::to_string(nummer) + "\n");
  if (ziel != OBJTYP_MPU && ziel != OBJTYP_KNO)
    return fehler(std::string("Unzulaessiges Lastziel: ") + str_OBJTYP(ziel) + "\n");
  if (art == LASTTYP_UNBEKANNT) return fehler("Unzulaessige Lastart\n");
  if (ftyp == LASTFUNKTYP_UNBEKANNT) return fehler("Ungueltiger Lastfunktionstyp\n");
  // A periodic function needs a period: 2 pi (t - c2) / c1 would divide by 0.
  if ((ftyp == LASTFUNKTYP_SIN || ftyp == LASTFUNKTYP_COS) &&
      !(c.n > 1 && c[1] != 0.0 && std::isfinite(c[1])))
    return fehler("Periode der Lastfunktion unzulaessig (c1 = 0): Punktlastnummer " + std::to_string(nummer) +
                  "\n");
  std::vector<unsigned int> verschoben(ziele);
  const unsigned int plus = mpm->_numplus(ziel);
  for (unsigned int& n : verschoben)
    n += plus;
  TPunktlast* pl = mpm->_anlegen<TPunktlast>(mpm, nummer, ziel, art, verschoben, beta, ftyp, tA, tE, c);
  mpm->pla.einfuegen(static_cast<int>(pl->num), pl);
  return pl;
}

} // namespace MPM
