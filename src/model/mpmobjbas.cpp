#include "model/mpmobjbas.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "frame/fehler.h"
#include "input/dateinaus.h"

namespace MPM {

TObjbasis::TObjbasis(TModell* m, OBJTYP typ, int n, int, OBJSTATUS s) : mpm(m), objtyp(typ), status(s) {
  unsigned int& hoechste = mpm->_maxnum(typ);
  if (n < 0) {
    num = ++hoechste;
  } else {
    num = static_cast<unsigned int>(n);
    if (num > hoechste) hoechste = num;
  }
}

bool _bistpunkt(OBJTYP ot) {
  return ot == OBJTYP_PU || ot == OBJTYP_MPU || ot == OBJTYP_IPU || ot == OBJTYP_KNO;
}

void _fehler_downcast(const TObjbasis* obj, OBJTYP gewuenscht) {
  std::string text;
  if (!obj) {
    text = "Downcast nicht moeglich, Basisklassenzeiger ist Nullzeiger, Umwandlungswunsch nach Zeiger auf: ";
  } else {
    text = std::string("Downcast nicht moeglich, Basisklassenzeiger auf: ") + str_OBJTYP(obj->objtyp) +
           ", Umwandlungswunsch nach Zeiger auf: ";
  }
  debtest(0, text + str_OBJTYP(gewuenscht));
}

std::ostream& operator<<(std::ostream& os, const TObjbasis& obj) {
  return os << str_OBJTYP(obj.objtyp) << '(' << obj.num << str_OBJSTATUS(obj.status) << ')';
}

std::ostream& operator<<(std::ostream& os, const TObjbasis* obj) {
  if (!obj) return os << "NULL";
  return os << *obj;
}

std::ostream& operator<<(std::ostream& os, const std::vector<TObjbasis*>& liste) {
  if (liste.empty()) return os;
  os << (liste.front() ? str_OBJTYP(liste.front()->objtyp) : "NULL") << ':';
  for (const TObjbasis* obj : liste)
    os << ' ' << obj;
  return os;
}

TModell::~TModell() = default;

std::string TModell::_str_eindatpos() const {
  return "Eingabedatei, Zeilennummer " + std::to_string(eindat ? eindat->zeilennummer() : 0);
}

Tobjcont* TModell::_objcont(OBJTYP ot) {
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

unsigned int TModell::_numplus(OBJTYP ot) const {
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

int TModell::_delta_num(OBJTYP ot) const {
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

double* TModell::_speicher(std::size_t n) {
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

unsigned int& TModell::_maxnum(OBJTYP ot) {
  return ot >= 0 && ot < static_cast<int>(maxnum_.size()) ? maxnum_[ot] : maxnum_sonst_;
}

} // namespace MPM
