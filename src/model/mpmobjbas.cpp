#include "model/mpmobjbas.h"

#include <ostream>
#include <string>

#include "frame/fehler.h"
#include "solver/mpm.h"

namespace MPM {

TObjbasis::TObjbasis(Tmpm* m, OBJTYP typ, int n, int, OBJSTATUS s) : mpm(m), objtyp(typ), status(s) {
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

} // namespace MPM
