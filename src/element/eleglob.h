#pragma once
// Lookups shared by the three registries of the element library (shape
// functions, integration rules, element types): each is an ordered map from
// its key to its datasets, filled once and never changed.

#include <ostream>
#include <string>

#include "frame/mpmextern.h"

namespace ELE {

// The dataset whose name (`name_von(dataset)`) is `name`; null after the
// console note `meldung` + name.
template <class Register, class NameVon>
const typename Register::mapped_type* nach_name(const Register& reg, const std::string& name,
                                                NameVon name_von, const char* meldung) {
  for (const auto& eintrag : reg)
    if (name_von(eintrag.second) == name) return &eintrag.second;
  *konsaus << meldung << name;
  return nullptr;
}

// For datasets known to exist: a missing one (already noted) stops the run.
template <class T> const T& vorhanden(const T* ds) {
  if (!ds) throw 1;
  return *ds;
}

// All names in key order, separated by line feeds.
template <class Register, class NameVon>
std::string& alle_namen(const Register& reg, std::string& namen, NameVon name_von) {
  namen.clear();
  for (const auto& eintrag : reg) {
    if (!namen.empty()) namen += "\n";
    namen += name_von(eintrag.second);
  }
  return namen;
}

} // namespace ELE
