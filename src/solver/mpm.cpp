#include "solver/mpm.h"

#include <algorithm>

#include "input/dateinaus.h"
#include "solver/mpmobjsys.h"

namespace MPM {

Tmpm::Tmpm()
    : sys(std::make_unique<TSystem>(this)),
      programm(std::string("mpm, erstellt ") + __DATE__ + " " + __TIME__) {}

Tmpm::~Tmpm() = default;

bool Tmpm::_steuerung() {
  try {
    _ausgabe(ZEITPU_ANFANG);
    _eingabe_start();
    _netza();
    _netz_init_mpu();
    _L_G();
    if (stw.uebertragrichtstart == UEBERTRAGRICHTSTART_KNO_ZU_MPU) {
      _transfer(OBJTYP_KNO, OBJTYP_MPU, ZUSTGROE_PRIMAER);
    } else {
      _transfer(OBJTYP_MPU, OBJTYP_KNO, ZUSTGROE_PRIMAER);
    }
    _transfer_knou_zu_sys();
    _umspeichern(RICHTUNG_VORWAERTS);
    _ausgabe(ZEITPU_STARTWERTE);
    _zeitschrittsteuerung();
  } catch (int) {
    _ausgabe(ZEITPU_ABBRUCH);
    throw 1;
  }
  _ausgabe(ZEITPU_ENDE);
  return true;
}

std::string Tmpm::_str_eindatpos() const {
  return "Eingabedatei, Zeilennummer " + std::to_string(eindat ? eindat->zeilennummer() : 0);
}

Tobjcont* Tmpm::_objcont(OBJTYP ot) {
  switch (ot) {
  case OBJTYP_MPU:
  case OBJTYP_MPUQUELL:
    return &mpu;
  case OBJTYP_IPU:
    return &ipu;
  case OBJTYP_KNO:
    return &kno;
  case OBJTYP_ELE:
    return &ele;
  case OBJTYP_MAT:
    return &mat;
  case OBJTYP_PLA:
    return &pla;
  default:
    return nullptr;
  }
}

unsigned int Tmpm::_numplus(OBJTYP ot) const {
  switch (ot) {
  case OBJTYP_MPU:
    return stw.mpunumplus;
  case OBJTYP_IPU:
    return stw.ipunumplus;
  case OBJTYP_KNO:
    return stw.knonumplus;
  case OBJTYP_ELE:
    return stw.elenumplus;
  default:
    return 0;
  }
}

int Tmpm::_delta_num(OBJTYP ot) const {
  switch (ot) {
  case OBJTYP_MPU:
  case OBJTYP_IPU:
  case OBJTYP_KNO:
  case OBJTYP_ELE:
    return delta_num[ot];
  default:
    return 0;
  }
}

double* Tmpm::_speicher(std::size_t n) {
  constexpr std::size_t Nstueck = 1 << 15; // doubles per store
  if (n == 0) return nullptr;
  if (Nspeicher_frei_ < n) {
    const std::size_t groesse = std::max(Nstueck, n);
    speicher_.push_back(std::make_unique<double[]>(groesse));
    speicher_naechst_ = speicher_.back().get();
    Nspeicher_frei_ = groesse;
  }
  double* block = speicher_naechst_;
  speicher_naechst_ += n;
  Nspeicher_frei_ -= n;
  return block;
}

unsigned int& Tmpm::_maxnum(OBJTYP ot) {
  return ot >= 0 && ot < static_cast<int>(maxnum_.size()) ? maxnum_[ot] : maxnum_sonst_;
}

// Operations of the subsystems that are not built yet: they keep their
// places in the order of the run and do nothing until they arrive.
void Tmpm::_kontakt_geometrie() {}
void Tmpm::_kontakt_bedingungen() {}
bool Tmpm::_kontakt_kontrolle(bool) {
  bkonkontr = true;
  return true;
}

} // namespace MPM
