#pragma once
// Base of every model object and the registry container. A registry maps
// numbers to objects in ascending order; it owns them only when asked to.

#include <iosfwd>
#include <iterator>
#include <map>
#include <type_traits>
#include <vector>

#include "input/mpmdefs.h"
#include "input/mpmdimensionen.h"

namespace MPM {

class Tmpm;
class TPunkt;

// Owner, number, type and status of a model object. The number is unique
// within the type; a negative number asks for the next free one.
class TObjbasis : public TDimensionen {
public:
  TObjbasis(Tmpm* mpm, OBJTYP typ, int num, int farbe, OBJSTATUS status);
  virtual ~TObjbasis() = default;
  TObjbasis(const TObjbasis&) = delete;
  TObjbasis& operator=(const TObjbasis&) = delete;

  virtual void fritz() {}

  Tmpm* mpm;
  unsigned int num;
  OBJTYP objtyp;
  OBJSTATUS status;
  int farbe = 0;
  bool bausgewaehlt = false; // selected for the output tables
  bool bmerker = false;
};

// Ordered registry from number to object. With `beigentuemer` the registry
// deletes its objects on destruction; a refused insertion then deletes the
// new object too. Besides the map, the objects are kept in one contiguous
// array in ascending number (`liste`), which the passes of the computation
// walk; lookups by number go through the map.
template <class K, class T> class Tzmap {
public:
  using Karte = std::map<K, T*>;

  explicit Tzmap(bool beigentuemer = false) : beigentuemer_(beigentuemer) {}
  ~Tzmap() {
    if (beigentuemer_)
      for (auto& eintrag : karte_)
        delete eintrag.second;
  }
  Tzmap(const Tzmap&) = delete;
  Tzmap& operator=(const Tzmap&) = delete;

  // The object of number `num`, or null.
  T* suchen(K num) const {
    const auto pos = karte_.find(num);
    return pos == karte_.end() ? nullptr : pos->second;
  }
  // False when the number is taken; the registry keeps the old object.
  bool einfuegen(K num, T* obj) {
    const auto [pos, neu] = karte_.emplace(num, obj);
    if (!neu) {
      if (beigentuemer_ && pos->second != obj) delete obj;
      return false;
    }
    // A number above all others extends the array; any other reorders it
    // at the next walk.
    if (!bneu_ordnen_ && std::next(pos) == karte_.end()) {
      liste_.push_back(obj);
    } else {
      bneu_ordnen_ = true;
    }
    return true;
  }
  // Takes the object of number `num` out (an owning registry deletes it);
  // false when there is none.
  bool entfernen(K num) {
    const auto pos = karte_.find(num);
    if (pos == karte_.end()) return false;
    T* obj = pos->second;
    const bool bletztes = std::next(pos) == karte_.end();
    karte_.erase(pos);
    if (!bneu_ordnen_ && bletztes && !liste_.empty() && liste_.back() == obj) {
      liste_.pop_back();
    } else {
      bneu_ordnen_ = true;
    }
    if (beigentuemer_) delete obj;
    return true;
  }

  // The objects in ascending number, contiguous.
  const std::vector<T*>& liste() const {
    if (bneu_ordnen_) {
      liste_.clear();
      liste_.reserve(karte_.size());
      for (const auto& eintrag : karte_)
        liste_.push_back(eintrag.second);
      bneu_ordnen_ = false;
    }
    return liste_;
  }

  typename Karte::const_iterator begin() const { return karte_.begin(); }
  typename Karte::const_iterator end() const { return karte_.end(); }
  std::size_t size() const { return karte_.size(); }
  bool empty() const { return karte_.empty(); }

  int zaehlwort = 0; // free counter for the input reader

private:
  bool beigentuemer_;
  Karte karte_;
  mutable std::vector<T*> liste_;
  mutable bool bneu_ordnen_ = false;
};

using Tobjcont = Tzmap<int, TObjbasis>;

// True for the point types pu, mpu, ipu and kno.
bool _bistpunkt(OBJTYP ot);
// Index of the first entry numbered `num`, or -1.
template <class P> int _pos_in_cont(const std::vector<P*>& cont, unsigned int num) {
  for (std::size_t i = 0; i < cont.size(); ++i)
    if (cont[i] && cont[i]->num == num) return static_cast<int>(i);
  return -1;
}
// Diagnostic text of an impossible downcast (handed to the debug hook).
void _fehler_downcast(const TObjbasis* obj, OBJTYP gewuenscht);

// kno(17+); a null pointer prints "NULL".
std::ostream& operator<<(std::ostream& os, const TObjbasis& obj);
std::ostream& operator<<(std::ostream& os, const TObjbasis* obj);
// The short type name of the first entry, then the entries.
std::ostream& operator<<(std::ostream& os, const std::vector<TObjbasis*>& liste);
template <class T, class = std::enable_if_t<std::is_base_of<TObjbasis, T>::value &&
                                            !std::is_same<T, TObjbasis>::value>>
std::ostream& operator<<(std::ostream& os, const std::vector<T*>& liste) {
  return os << std::vector<TObjbasis*>(liste.begin(), liste.end());
}

} // namespace MPM
