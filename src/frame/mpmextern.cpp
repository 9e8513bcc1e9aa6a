#include "frame/mpmextern.h"

#include <fstream>
#include <iostream>
#include <memory>
#include <streambuf>

#include "frame/dateinamen.h"

namespace {

class Nullpuffer : public std::streambuf {
protected:
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

std::unique_ptr<std::ofstream> logdatei[5];

const char* const endungen[] = {"mpm",         "mpm1",        "kt1.txt",     "kt2.txt",     "kt3.txt",
                                "kt4.txt",     "flr.txt",     "dat.mpu.txt", "dat.kno.txt", "dat.ele.txt",
                                "dat.kag.txt", "dat.kal.txt", "dat.kil.txt", "gid.mpu.msh", "gid.ipu.msh",
                                "gid.kno.msh", "gid.ele.msh", "gid.mpu.res", "gid.ipu.res", "gid.kno.res",
                                "gid.ele.res", "mpl",         "gpl",         "tpl",         "vtk"};
const char* const modi[] = {"r", "w", "w", "w", "w", "w", "w", "w", "w", "w", "w", "w", "w",
                            "w", "w", "w", "w", "w", "w", "w", "w", "w", "w", "w", "w"};
static_assert(sizeof(endungen) / sizeof(endungen[0]) == Tdateinamen::Nlaufdateien);
static_assert(sizeof(modi) / sizeof(modi[0]) == Tdateinamen::Nlaufdateien);
static_assert(DATEI_ANZAHL == Tdateinamen::Nlaufdateien);

} // namespace

std::ostream& nullstream() {
  static Nullpuffer puffer;
  static std::ostream strom(&puffer);
  return strom;
}

std::ostream* pck = &nullstream();
std::ostream* pck2 = &nullstream();
std::ostream* pck3 = &nullstream();
std::ostream* pck4 = &nullstream();
std::ostream* pcf = &nullstream();
std::ostream* konsaus = &std::cout;
std::istream* konsein = &std::cin;

void stream_start(const char* basis) {
  dateien.init(basis ? basis : "", Tdateinamen::Nlaufdateien, endungen, modi);
  std::ostream** stroeme[] = {&pck, &pck2, &pck3, &pck4, &pcf};
  const DATEI index[] = {DATEI_KT1, DATEI_KT2, DATEI_KT3, DATEI_KT4, DATEI_FLR};
  for (int k = 0; k < 5; ++k) {
    logdatei[k] = std::make_unique<std::ofstream>(dateien.name(index[k]), std::ios::out | std::ios::trunc);
    *stroeme[k] = logdatei[k].get();
  }
}

void stream_stop() {
  std::ostream** stroeme[] = {&pck, &pck2, &pck3, &pck4, &pcf};
  for (int k = 0; k < 5; ++k) {
    if (logdatei[k]) {
      logdatei[k]->flush();
      *stroeme[k] = &nullstream();
      logdatei[k].reset();
    }
  }
}
