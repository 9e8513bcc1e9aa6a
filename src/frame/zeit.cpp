#include "frame/zeit.h"

#include <cstdio>
#include <ctime>

const char* zeit() {
  static char puffer[160];
  const std::time_t jetzt = std::time(nullptr);
  char datum[64] = "";
  if (const std::tm* lokal = std::localtime(&jetzt))
    std::strftime(datum, sizeof datum, "%Y-%m-%d %H:%M:%S", lokal);
  std::snprintf(puffer, sizeof puffer, "%s [ time()=%i, clock()/CLOCKS_PER_SEC=%.3lf ]", datum,
                static_cast<int>(jetzt), static_cast<double>(std::clock()) / CLOCKS_PER_SEC);
  return puffer;
}
