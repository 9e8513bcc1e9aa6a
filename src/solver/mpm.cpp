#include "solver/mpm.h"

namespace MPM {

Tmpm::Tmpm() : programm(std::string("mpm, erstellt ") + __DATE__ + " " + __TIME__) {}

Tmpm::~Tmpm() = default;

bool Tmpm::_steuerung() { return true; }

Tobjcont* Tmpm::_objcont(OBJTYP ot) {
  switch (ot) {
  case OBJTYP_MPU:
  case OBJTYP_MPUQUELL: return &mpu;
  case OBJTYP_IPU: return &ipu;
  case OBJTYP_KNO: return &kno;
  case OBJTYP_ELE: return &ele;
  case OBJTYP_MAT: return &mat;
  case OBJTYP_PLA: return &pla;
  default: return nullptr;
  }
}

unsigned int Tmpm::_numplus(OBJTYP) const { return 0; }

int Tmpm::_delta_num(OBJTYP ot) const {
  switch (ot) {
  case OBJTYP_MPU:
  case OBJTYP_IPU:
  case OBJTYP_KNO:
  case OBJTYP_ELE: return delta_num[ot];
  default: return 0;
  }
}

unsigned int& Tmpm::_maxnum(OBJTYP ot) {
  return ot >= 0 && ot < static_cast<int>(maxnum_.size()) ? maxnum_[ot] : maxnum_sonst_;
}

} // namespace MPM
