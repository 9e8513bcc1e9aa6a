#include "frame/mix.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {
constexpr double eps = 2.220446E-16;

std::string auffuellen(std::string s, int w) {
  if (static_cast<int>(s.size()) < w) s.append(w - s.size(), ' ');
  return s;
}
} // namespace

std::string _str(double x, int w, bool nullunterdrueckung) {
  if (x == 0.0) return auffuellen(" 0.", w);
  if (nullunterdrueckung && std::fabs(x) < eps) {
    return auffuellen(" 0." + std::string(w > 8 ? w - 7 : 1, '0'), w);
  }
  char puffer[64];
  if (w >= 7 && w <= 17) {
    // The digits of "%*.*Le" (correctly rounded, two or more exponent
    // digits), right-aligned in w places.
    char ziffern[40];
    const std::to_chars_result r =
        std::to_chars(ziffern, ziffern + sizeof ziffern, x, std::chars_format::scientific, w - 7);
    const int laenge = static_cast<int>(r.ptr - ziffern);
    const int vorn = std::max(w - laenge, 0);
    std::fill(puffer, puffer + vorn, ' ');
    std::copy(ziffern, r.ptr, puffer + vorn);
    return std::string(puffer, static_cast<std::size_t>(vorn + laenge));
  }
  std::snprintf(puffer, sizeof puffer, "%Le", static_cast<long double>(x));
  return puffer;
}

std::string _str(int x, int w) {
  char puffer[32];
  if (w >= 1 && w <= 12) {
    std::snprintf(puffer, sizeof puffer, "%*i", w, x);
  } else {
    std::snprintf(puffer, sizeof puffer, "%i", x);
  }
  return puffer;
}

std::string _str(unsigned int x, int w) {
  char puffer[32];
  if (w >= 1 && w <= 12) {
    std::snprintf(puffer, sizeof puffer, "%*u", w, x);
  } else {
    std::snprintf(puffer, sizeof puffer, "%u", x);
  }
  return puffer;
}

std::string _str(bool b, int w) {
  if (w < 1) w = 1;
  if (w > 50) w = 50;
  return std::string(w - 1, ' ') + (b ? 'W' : 'F');
}

std::string _str(const std::string& s, int) {
  return "\"" + s + "\"";
}
std::string _str(const char* s, int w) {
  return _str(std::string(s ? s : ""), w);
}

std::string _str1(double x, int, int) {
  char puffer[400];
  std::snprintf(puffer, sizeof puffer, "%8.3Lf", static_cast<long double>(x));
  return puffer;
}
