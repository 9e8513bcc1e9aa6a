#pragma once
// Process-wide streams of a run: the log files and the console.
//
// The log pointers are never null: outside a run they point at a sink that
// discards everything. Tests may point any of them at their own streams.

#include <iosfwd>

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
