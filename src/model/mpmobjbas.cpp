#include "model/mpmobjbas.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <ostream>
#include <string>

#if defined(__linux__)
#include <sys/mman.h>
#endif

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

TModell::~TModell() {
  for (const TAngelegt& a : angelegt_)
    a.zerstoeren(a.obj);
}

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
  return n == 0 ? nullptr : static_cast<double*>(platz(n * sizeof(double), alignof(double), speicher_));
}

namespace {
constexpr std::size_t grosse_seite = std::size_t(2) << 20;
} // namespace

// Pieces of 4 MiB and more come from the system, in whole large pages, 2 MiB
// aligned and marked for large pages before they are touched; the smaller
// ones of a small model from the heap.
TModell::TStueck::TStueck(std::size_t groesse, bool bgross) : groesse_(groesse) {
#if defined(__linux__)
  if (bgross && groesse >= 2 * grosse_seite) {
    groesse_ = (groesse + grosse_seite - 1) / grosse_seite * grosse_seite;
    void* p =
        mmap(nullptr, groesse_ + grosse_seite, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p != MAP_FAILED) {
      char* c = static_cast<char*>(p);
      const std::size_t vorn =
          (grosse_seite - reinterpret_cast<std::uintptr_t>(c) % grosse_seite) % grosse_seite;
      if (vorn > 0) munmap(c, vorn);
      munmap(c + vorn + groesse_, grosse_seite - vorn);
      anfang_ = c + vorn;
      bseiten_ = true;
      madvise(anfang_, groesse_, MADV_HUGEPAGE); // a hint; refused, the pages stay small
      return;
    }
    groesse_ = groesse;
  }
#endif
  (void)bgross;
  anfang_ = static_cast<char*>(::operator new(groesse_, std::align_val_t(64)));
  std::memset(anfang_, 0, groesse_);
}

TModell::TStueck::~TStueck() {
  if (!anfang_) return;
#if defined(__linux__)
  if (bseiten_) {
    munmap(anfang_, groesse_);
    return;
  }
#endif
  ::operator delete(anfang_, std::align_val_t(64));
}

void* TModell::platz(std::size_t groesse, std::size_t ausrichtung, TBereich& bereich) {
  if (beinzeln) {
    stuecke_.emplace_back(std::max<std::size_t>(groesse, 1), false);
    return stuecke_.back().anfang();
  }
  char*& naechst = bereich.naechst;
  std::size_t& frei = bereich.frei;
  std::size_t luecke =
      naechst ? (ausrichtung - reinterpret_cast<std::uintptr_t>(naechst) % ausrichtung) % ausrichtung : 0;
  if (!naechst || frei < luecke + groesse) {
    // Each piece twice the last, from 256 KiB up to 32 MiB: a small model
    // stays small, a large one gets few, large pieces.
    const std::size_t letzte = stuecke_.empty() ? 0 : stuecke_.back().groesse();
    const std::size_t stueck =
        std::clamp<std::size_t>(2 * letzte, std::size_t(256) << 10, std::size_t(32) << 20);
    stuecke_.emplace_back(std::max(stueck, groesse), true);
    naechst = stuecke_.back().anfang();
    frei = stuecke_.back().groesse();
    luecke = 0;
  }
  void* p = naechst + luecke;
  naechst += luecke + groesse;
  frei -= luecke + groesse;
  return p;
}

unsigned int& TModell::_maxnum(OBJTYP ot) {
  return ot >= 0 && ot < static_cast<int>(maxnum_.size()) ? maxnum_[ot] : maxnum_sonst_;
}

} // namespace MPM
