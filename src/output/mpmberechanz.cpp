// Progress display: one line (or a framed block) per announced time point,
// to the console and, while control output is due, to the control log.

#include <ostream>
#include <string>

#include "frame/mix.h"
#include "frame/mpmextern.h"
#include "frame/zeit.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"

namespace MPM {

namespace {
// Announced by the contact iteration; they have no names of their own.
constexpr int KONTAKTITERATIONSANFANG = 7;
constexpr int KONTAKTITERATIONSENDE = 8;
} // namespace

bool Tmpm::_berechnungsanzeige(ZEITPU z) {
  const std::string strich = std::string(80, '-') + "\n";
  const std::string praefix = bwiederholung ? "W " : "  ";
  const bool bkonvergiert = bkonkontr && bkonv && bmatkonv;
  const std::string marke = bkonvergiert ? "(+), " : "(-), ";

  // The iteration tail; `trenner` follows the binel value.
  auto iteration = [&](const char* trenner) {
    const double normdU = sys ? sys->normdU : 0.0;
    const double cosdU = sys ? sys->cosdU : 0.0;
    const int Nkonpu = sys ? sys->Nkonpu : 0;
    const double konflr = sys ? sys->konflr : 0.0;
    return "binel=" + _str(binel ? 1 : 0, 1) + trenner + "iiges=" + _str(iiges, 6) + ", " +
           "jj=" + _str(jj, 3) + ", " + _str(jjges, 6) + ", " + "normdU=" + _str(normdU, 10) + ", " +
           "du_kontr=" + _str1(cosdU) + ", " + "Nkonpu=" + _str(Nkonpu, 3) + ", " +
           "konflr=" + _str(konflr, 10) + "\n";
  };
  auto gerahmt = [&](const std::string& text) { return "\n" + strich + text + strich; };

  std::string text;
  switch (static_cast<int>(z)) {
  case ZEITPU_ANFANG:
    zeitanfang = zeit();
    text = gerahmt("START " + zeitanfang + "\n");
    break;
  case ZEITPU_ENDE:
    zeitende = zeit();
    text = gerahmt("ENDE " + zeitende + "\n");
    break;
  case ZEITPU_ABBRUCH:
    zeitende = zeit();
    text = gerahmt("ABBRUCH " + zeitende + "\n");
    break;
  case ZEITPU_STARTWERTE:
    text = "Ausgabe der Startwerte\n";
    break;
  case ZEITPU_ZEITSCHRITTANFANG:
    text = praefix + "ZSA: " + "tt=" + _str(tt, 5) + ", " + "dt=" + _str(dt, 12) + ", " +
           "(Stufe=" + _str(Stufe, 1) + "), " + "t_n=" + _str(t_n, 12) + ", " + "t=" + _str(t, 12) + "\n";
    break;
  case ZEITPU_ZEITSCHRITTENDE:
    text = praefix + "ZSE: " + marke + iteration(", ");
    if (bkonvergiert && (bausktr || bausdat)) {
      text += "<< (";
      if (bausktr) text += "ktr";
      if (bausktr && bausdat) text += ", ";
      if (bausdat) text += "dat";
      text += ")\n";
    }
    break;
  case KONTAKTITERATIONSANFANG:
    text = "KIA\n";
    break;
  case KONTAKTITERATIONSENDE:
    text = praefix + "KIE: " + marke + iteration("  ");
    break;
  case ZEITPU_ITERATIONSSCHRITTANFANG:
    text = "GIA:\n";
    break;
  case ZEITPU_ITERATIONSSCHRITTENDE:
    text = praefix + "GIE: " + marke + iteration("  ");
    break;
  default:
    return true;
  }
  *konsaus << text << std::flush;
  if (bausktr) *pck << text;
  return true;
}

} // namespace MPM
