#pragma once
// Table of a run's file names: base name + "." + suffix, with the fopen mode
// of each entry. One process-wide instance `dateien` is filled at start-up.

#include <string>
#include <vector>

class Tdateinamen {
public:
  static constexpr int Nlaufdateien = 25; // entries of the run-file table
  static constexpr int maxbasislaenge = 256;

  ~Tdateinamen() { aufraeumen(); }

  // Fills the table; checks the "r" entries, then creates the others empty.
  // While a file cannot be opened the user is asked for another base name.
  // Throws the integer 1 when the console input ends at that prompt.
  int init(const char* basis, int n, const char* const* endungen, const char* const* modi);
  int aufraeumen();

  std::string name(int i) const;
  std::string endung(int i) const;
  std::string modus(int i) const;
  const std::string& basisname() const { return basis_; }
  int Ndat() const { return Ndat_; }

private:
  void namen_bilden();
  bool dateien_pruefen(bool lesen);
  void basisname_erfragen();

  std::string basis_;
  std::vector<std::string> endungen_;
  std::vector<std::string> modi_;
  std::vector<std::string> namen_;
  int Ndat_ = 0;
};

extern Tdateinamen dateien;
