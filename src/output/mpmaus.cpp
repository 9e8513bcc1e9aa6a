#include "output/mpmaus.h"

#include <cmath>
#include <fstream>

#include "frame/dateinamen.h"
#include "frame/mix.h"
#include "solver/mpm.h"

namespace MPM {

int Tmpm::_ausgabe(ZEITPU z) {
  _berechnungsanzeige(z);
  switch (z) {
  case ZEITPU_ENDE:
  case ZEITPU_ABBRUCH:
    _ausgabe_gnuplot(z);
    [[fallthrough]];
  case ZEITPU_ANFANG:
    _ausgabe_dat_mpu(z);
    _ausgabe_dat_ele(z);
    _ausgabe_dat_kno(z);
    _ausgabe_dat_konvalok(z);
    _ausgabe_dat_konvaglo(z);
    _ausgabe_dat_konvilok(z, nullptr);
    break;
  case ZEITPU_STARTWERTE:
    _ausgabe_gnuplot(z);
    _ausgabe_gid(z);
    _ausgabe_vtk(z);
    break;
  case ZEITPU_ZEITSCHRITTENDE:
    if (bausdat && bkonkontr && bkonv && bmatkonv) {
      _ausgabe_dat_mpu(z);
      _ausgabe_dat_ele(z);
      _ausgabe_dat_kno(z);
      _ausgabe_maple(z);
      _ausgabe_tecplot(z);
      _ausgabe_gid(z);
      _ausgabe_vtk(z);
    }
    break;
  case ZEITPU_ITERATIONSSCHRITTENDE:
    _ausgabe_dat_konvalok(z);
    _ausgabe_dat_konvaglo(z);
    break;
  default:
    break;
  }
  return 1;
}

int Tmpm::_bausgabe() {
  bausktr = stw.bimmerausktr || _bausgabe(stw.dtausktr, stw.tausktr);
  bausdat = stw.bimmerausdat || _bausgabe(stw.dtausdat, stw.tausdat);
  return 1;
}

bool Tmpm::_bausgabe(double dtaus, const std::set<double>& taus) const {
  const double x = (t - stw.ta) / dtaus;
  if (std::fabs((x - std::nearbyint(x)) * dtaus) <= 2.220446049250313E-12) return true;
  for (double ta : taus)
    if (std::fabs(ta - t) <= 4.440892098500626E-15) return true;
  return false;
}

bool Tmpm::_bausgabe(unsigned int dNtaus, const std::set<unsigned int>& Ntaus) const {
  const long long schritte = static_cast<long long>(tt) - stw.tta;
  if (dNtaus != 0 && schritte % dNtaus == 0) return true;
  return tt >= 0 && Ntaus.count(static_cast<unsigned int>(tt)) > 0;
}

void anhaengen(DATEI datei, const std::string& text) {
  std::ofstream f(dateien.name(datei), std::ios::app);
  f << text;
}

void ueberschreiben(DATEI datei, const std::string& text) {
  std::ofstream f(dateien.name(datei), std::ios::out | std::ios::trunc);
  f << text;
}

std::string kopf(const std::string& titel, const std::string& zeitanfang,
                 std::initializer_list<const char*> zeilen, bool bleerzeile) {
  std::string s = titel + zeitanfang + "\n#\n";
  for (const char* z : zeilen)
    s += std::string(z) + "\n";
  s += "#\n";
  if (bleerzeile) s += "\n";
  return s;
}

std::string schluss(const std::string& zeitende) {
  return "#Ende / " + zeitende + "\n";
}

TZeile& TZeile::operator<<(const TVM::VekR& v) {
  for (int i = 0; i < v.n; ++i)
    *this << v[i];
  return *this;
}

TZeile& TZeile::nullen(int n) {
  for (int i = 0; i < n; ++i)
    *this << 0.0;
  return *this;
}

TZeile& TZeile::feld(const std::string& f) {
  if (!s_.empty()) s_ += ' ';
  s_ += f;
  return *this;
}

TVM::VekR tensorkomponenten(const TVM::VekR& v) {
  TVM::VekR t;
  TVM::vektorV_ruecktransform(v, t);
  return t;
}

} // namespace MPM

std::string _str(const TVM::VekR& v, int w) {
  std::string s;
  for (int i = 0; i < v.n; ++i)
    s += (i ? " " : "") + _str(v[i], w);
  return s;
}
