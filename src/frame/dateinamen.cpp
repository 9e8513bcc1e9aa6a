#include "frame/dateinamen.h"

#include <cctype>
#include <cstdio>
#include <istream>
#include <ostream>

#include "frame/mpmextern.h"

Tdateinamen dateien;

namespace {

// One whitespace-delimited word; at most `maxlaenge` characters are kept,
// the rest of the word is read and dropped. False at end of input.
bool wort_lesen(std::istream& ein, std::string& wort, std::size_t maxlaenge) {
  wort.clear();
  int c;
  while ((c = ein.get()) != EOF && std::isspace(c)) {
  }
  if (c == EOF) return false;
  wort.push_back(static_cast<char>(c));
  while ((c = ein.peek()) != EOF && !std::isspace(c)) {
    ein.get();
    if (wort.size() < maxlaenge) wort.push_back(static_cast<char>(c));
  }
  return true;
}

} // namespace

int Tdateinamen::aufraeumen() {
  basis_.clear();
  endungen_.clear();
  modi_.clear();
  namen_.clear();
  Ndat_ = 0;
  return 0;
}

int Tdateinamen::init(const char* basis, int n, const char* const* endungen, const char* const* modi) {
  aufraeumen();
  if (n <= 0) return 0;
  basis_.assign(basis ? basis : "");
  if (basis_.size() > maxbasislaenge) basis_.resize(maxbasislaenge);
  for (int i = 0; i < n; ++i) {
    endungen_.emplace_back(endungen[i]);
    modi_.emplace_back(modi[i]);
  }
  namen_.assign(n, std::string());
  Ndat_ = n;

  if (basis_.empty()) basisname_erfragen();
  for (;;) {
    namen_bilden();
    if (dateien_pruefen(true) && dateien_pruefen(false)) return 0;
    basis_.clear();
    basisname_erfragen();
  }
}

void Tdateinamen::namen_bilden() {
  for (int i = 0; i < Ndat_; ++i) {
    const std::size_t frei = endungen_[i].size() < 255 ? 255 - endungen_[i].size() : 0;
    namen_[i] = basis_.substr(0, frei) + "." + endungen_[i];
  }
}

// lesen: the "r" entries are opened and closed again; otherwise the other
// entries are created (or truncated). Failures are listed on the console.
bool Tdateinamen::dateien_pruefen(bool lesen) {
  std::string fehlliste;
  for (int i = 0; i < Ndat_; ++i) {
    const bool istlesen = modi_[i].find('r') != std::string::npos;
    if (istlesen != lesen) continue;
    if (std::FILE* f = std::fopen(namen_[i].c_str(), modi_[i].c_str())) {
      std::fclose(f);
    } else {
      fehlliste += "\n\t<" + namen_[i] + ">";
    }
  }
  if (fehlliste.empty()) return true;
  *konsaus << "\nFehler beim Oeffnen der Datei(en):" << fehlliste;
  return false;
}

void Tdateinamen::basisname_erfragen() {
  for (;;) {
    *konsaus << "\nDateinamen (ohne Endung) eingeben: " << std::flush;
    if (!wort_lesen(*konsein, basis_, maxbasislaenge)) {
      *konsaus << "\nEingabe beendet, kein Dateiname: Programmende.\n" << std::flush;
      throw 1;
    }
    if (!basis_.empty()) return;
  }
}

std::string Tdateinamen::name(int i) const {
  return i >= 0 && i < Ndat_ ? namen_[i] : std::string();
}
std::string Tdateinamen::endung(int i) const {
  return i >= 0 && i < Ndat_ ? endungen_[i] : std::string();
}
std::string Tdateinamen::modus(int i) const {
  return i >= 0 && i < Ndat_ ? modi_[i] : std::string();
}
