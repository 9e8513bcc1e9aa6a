#pragma once
// Small helpers of the model input: lists cut or padded to a fixed length,
// object numbers with their offsets, and reading the entries of one record.

#include <string>
#include <vector>

#include "input/dateinaus.h"
#include "numerics/tvm.h"

namespace MPM {

// The first n values of `liste`, padded with zeros to length n (n < 0 counts as 0).
TVM::VekR vektor_laenge(const std::vector<double>& liste, int n);

// num + plus as an object number; false when the sum leaves 0 .. INT_MAX.
bool nummer_plus(long long num, unsigned int plus, int& ergebnis);

// The smallest power of ten above x (1 for x < 1).
long long zehnerpotenz_ueber(long long x);

// Reads entries of the i-th line of one keyword into targets preset from the keyword's defaults; an entry
// written but not convertible (the reader logs it) marks the record faulty. Links to the reader, owns
// nothing.
class TSatzleser {
public:
  TSatzleser(Tdatein& ein, const char* sw, int i) : ein_(ein), sw_(sw), i_(i) {}

  template <class T> TSatzleser& operator()(int j, T& ziel) {
    ein_.eintrag(sw_, ziel, 0, j, true);
    if (!ein_.eintrag(sw_, ziel, i_, j, false) && !ein_.eintrag1(sw_, i_, j, false).empty()) {
      bok_ = false;
      if (fehlereintrag_ == 0) fehlereintrag_ = j;
    }
    return *this;
  }

  bool ok() const { return bok_; }
  // Number of the first faulty entry, 0 when all were read.
  int fehlereintrag() const { return fehlereintrag_; }
  const char* sw() const { return sw_; }

private:
  Tdatein& ein_;
  const char* sw_;
  int i_;
  bool bok_ = true;
  int fehlereintrag_ = 0;
};

} // namespace MPM
