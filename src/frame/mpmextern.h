#pragma once
// Process-wide streams of a run: the log files and the console.
//
// The log pointers are never null: outside a run they point at a sink that
// discards everything. Tests may point any of them at their own streams.

#include <iosfwd>

// The entries of the run-file table, in table order: each file is the base
// name, a point and the suffix named in the comment.
enum DATEI : int {
  DATEI_MPM,  // "mpm": input keyword file
  DATEI_MPM1, // "mpm1"
  DATEI_KT1,  // "kt1.txt": control log
  DATEI_KT2,  // "kt2.txt" .. "kt4.txt": reserved logs
  DATEI_KT3,
  DATEI_KT4,
  DATEI_FLR,     // "flr.txt": error log
  DATEI_DAT_MPU, // "dat.mpu.txt" .. "dat.kil.txt": data tables
  DATEI_DAT_KNO,
  DATEI_DAT_ELE,
  DATEI_DAT_KAG,
  DATEI_DAT_KAL,
  DATEI_DAT_KIL,
  DATEI_GID_MPU_MSH, // "gid.mpu.msh" .. "gid.ele.res": GiD meshes and results
  DATEI_GID_IPU_MSH,
  DATEI_GID_KNO_MSH,
  DATEI_GID_ELE_MSH,
  DATEI_GID_MPU_RES,
  DATEI_GID_IPU_RES,
  DATEI_GID_KNO_RES,
  DATEI_GID_ELE_RES,
  DATEI_MPL, // "mpl": Maple
  DATEI_GPL, // "gpl": Gnuplot commands
  DATEI_TPL, // "tpl": Tecplot
  DATEI_VTK, // "vtk"
  DATEI_ANZAHL
};

extern std::ostream* pck;  // control log "kt1.txt"
extern std::ostream* pck2; // reserved logs "kt2.txt" .. "kt4.txt"
extern std::ostream* pck3;
extern std::ostream* pck4;
extern std::ostream* pcf; // error log "flr.txt"

extern std::ostream* konsaus; // console output, std::cout by default
extern std::istream* konsein; // console input, std::cin by default

// Builds the run-file table for `basis` (asking for a name until every file
// can be opened), creates all output files empty and opens the log streams.
// Throws the integer 1 when standard input ends at the name prompt.
void stream_start(const char* basis);

// Closes the log streams in the order pck, pck2, pck3, pck4, pcf.
void stream_stop();

// The stream that swallows all output; the logs point here outside a run.
std::ostream& nullstream();
