#pragma once
// The command line of the program: options, help with the keyword reference,
// version; and the note on the error log at the end of a run.

#include <iosfwd>
#include <string>

// Reads the arguments in order. "--help" or "-h" writes the help to `aus`,
// "--version" the version; both end the call with status 0. "--" makes the
// next argument the base name even when it starts with "-". Any other
// argument starting with "-" writes the usage line to `fehl` and ends the call
// with status 1. The first remaining argument is the base name, later ones are
// ignored. Returns -1 when a run is to follow (`basis` is then the base name,
// empty for the prompt), otherwise the exit status.
int aufruf_auswerten(int argc, const char* const* argv, std::string& basis, std::ostream& aus,
                     std::ostream& fehl);

const char* programmversion();

// Usage, exit status, run files, entry kinds, then every keyword of the table
// with its description and its entries (format letter and default word), and
// the names the word entries accept, taken from the program's enumerations
// and element registries.
void hilfe(std::ostream& aus);

// Messages in an error log file: each line that starts with a character other
// than a blank or tab, except the line that follows a bare input position
// ("Eingabedatei, Zeilennummer N" alone, the form of the object factories).
// 0 for a missing file.
int meldungsanzahl(const std::string& datei);

// For the console at the end of a run: "Fehlerprotokoll <datei>: <n> Meldung"
// ("Meldungen" for n > 1), or the empty text when the log holds none.
std::string fehlerprotokoll_hinweis(const std::string& datei);
