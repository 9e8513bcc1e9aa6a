#include "input/mpmdimensionen.h"

#include <ostream>

namespace MPM {

ELE::DIM TDimensionen::dim = ELE::DIM_2D;
RBDIM TDimensionen::rbdim = RBDIM_SP0;
int TDimensionen::dim1 = 2;
int TDimensionen::dim2 = 3;
int TDimensionen::maxNq = 3;
int TDimensionen::maxNz = 5;
TVM::VekR TDimensionen::vek_dim1(2);
TVM::VekR TDimensionen::vek_dim2(3);
TVM::VekR TDimensionen::vek_maxNz(5);

void TDimensionen::setzen(ELE::DIM d, RBDIM r) {
  dim = d;
  rbdim = r;
  dim1 = ELE::DIM1(d);
  dim2 = ELE::DIM2(d);
  maxNq = dim2;
  maxNz = dim2 + 2;
  vek_dim1.init(dim1, nullptr);
  vek_dim2.init(dim2, nullptr);
  vek_maxNz.init(maxNz, nullptr);
}

std::ostream& operator<<(std::ostream& os, const TDimensionen&) {
  return os << "dim=" << ELE::str_DIM(TDimensionen::dim) << ", rbdim=" << str_RBDIM(TDimensionen::rbdim)
            << ", (dim1=" << TDimensionen::dim1 << ", dim2=" << TDimensionen::dim2
            << ", maxNz=" << TDimensionen::maxNz << ", maxNq=" << TDimensionen::maxNq << ")";
}

} // namespace MPM
