#pragma once
// Base of every model object and the registry container. A registry maps
// numbers to objects in ascending order; it owns them only when asked to.

#include <algorithm>
#include <cstddef>
#include <iosfwd>
#include <type_traits>
#include <utility>
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
};

// Ordered registry from number to object. With `beigentuemer` the registry
// deletes its objects on destruction; a refused insertion then deletes the
// new object too. The entries lie in one array in ascending number, and the
// objects once more in a plain array (`liste`), which the passes of the
// computation walk; a number found by bisection. Numbers that arrive out of
// order wait in a short list and are merged in before the next walk. An
// insertion ends the walks of the registry that are under way.
template <class K, class T> class Tzmap {
public:
  using Eintrag = std::pair<K, T*>;
  using Karte = std::vector<Eintrag>;

  explicit Tzmap(bool beigentuemer = false) : beigentuemer_(beigentuemer) {}
  ~Tzmap() {
    if (!beigentuemer_) return;
    for (const Eintrag& e : sortiert_)
      delete e.second;
    for (const Eintrag& e : neu_)
      delete e.second;
  }
  Tzmap(const Tzmap&) = delete;
  Tzmap& operator=(const Tzmap&) = delete;

  // The object of number `num`, or null.
  T* suchen(K num) const {
    const auto pos = finden(num);
    if (pos != sortiert_.end()) return pos->second;
    for (const Eintrag& e : neu_)
      if (e.first == num) return e.second;
    return nullptr;
  }
  // False when the number is taken; the registry keeps the old object.
  bool einfuegen(K num, T* obj) {
    if (T* alt = suchen(num)) {
      if (beigentuemer_ && alt != obj) delete obj;
      return false;
    }
    if (neu_.empty() && (sortiert_.empty() || sortiert_.back().first < num)) {
      sortiert_.emplace_back(num, obj);
      liste_.push_back(obj);
    } else {
      neu_.emplace_back(num, obj);
      if (neu_.size() > 64 + sortiert_.size() / 64) mischen();
    }
    return true;
  }
  // The objects in ascending number, contiguous.
  const std::vector<T*>& liste() const {
    mischen();
    return liste_;
  }

  typename Karte::const_iterator begin() const {
    mischen();
    return sortiert_.begin();
  }
  typename Karte::const_iterator end() const {
    mischen();
    return sortiert_.end();
  }
  std::size_t size() const { return sortiert_.size() + neu_.size(); }
  bool empty() const { return size() == 0; }

private:
  typename Karte::const_iterator finden(K num) const {
    const auto pos = std::lower_bound(sortiert_.begin(), sortiert_.end(), num,
                                      [](const Eintrag& e, K n) { return e.first < n; });
    return pos != sortiert_.end() && pos->first == num ? pos : sortiert_.end();
  }
  // The waiting entries into their places.
  void mischen() const {
    if (neu_.empty()) return;
    const auto kleiner = [](const Eintrag& a, const Eintrag& b) { return a.first < b.first; };
    std::sort(neu_.begin(), neu_.end(), kleiner);
    const std::size_t alt = sortiert_.size();
    sortiert_.insert(sortiert_.end(), neu_.begin(), neu_.end());
    std::inplace_merge(sortiert_.begin(), sortiert_.begin() + static_cast<std::ptrdiff_t>(alt),
                       sortiert_.end(), kleiner);
    neu_.clear();
    liste_.clear();
    liste_.reserve(sortiert_.size());
    for (const Eintrag& e : sortiert_)
      liste_.push_back(e.second);
  }

  bool beigentuemer_;
  mutable Karte sortiert_;
  mutable Karte neu_;
  mutable std::vector<T*> liste_;
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
