#pragma once
// Base of every model object and the registry container. A registry maps
// numbers to objects in ascending order; it owns them only when asked to.

#include <algorithm>
#include <array>
#include <cstddef>
#include <iosfwd>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "input/mpmdefs.h"
#include "input/mpmdimensionen.h"
#include "input/mpmobjmix.h"
#include "numerics/tvm.h"

class Tdatein;

// Under AddressSanitizer the model's memory gives every request a piece of
// its own, so that an access beyond an object is still caught.
#if defined(__SANITIZE_ADDRESS__)
#define MPM_SPEICHER_EINZELN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MPM_SPEICHER_EINZELN 1
#endif
#endif

namespace MPM {

class TModell;
class TPunkt;
class TAnsatz;
class TWolkenquellen;

// Owner, number, type and status of a model object. The number is unique
// within the type; a negative number asks for the next free one.
class TObjbasis : public TDimensionen {
public:
  TObjbasis(TModell* mpm, OBJTYP typ, int num, int farbe, OBJSTATUS status);
  virtual ~TObjbasis() = default;
  TObjbasis(const TObjbasis&) = delete;
  TObjbasis& operator=(const TObjbasis&) = delete;

  virtual void fritz() {}

  TModell* mpm;
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

// The part of the global equation system that points and approximations
// read: the global vectors behind the node queries, the count of numberings
// and the mark that a support has changed. The system derives from it.
class TSystembasis {
public:
  // Contact indicator: the normal magnitudes of the penetrating points,
  // distributed like the contact forces.
  TVM::VekR kontaktanzeiger;
  // Internal, penalty, contact, external and inertia forces, residual G, right-hand side R.
  TVM::VekR fint, fstraf, fckon, fext, fm, G, R;

  // Counts the numberings of the unknowns, so that positions computed from
  // them can tell whether they are still valid.
  long _Nnummerierungen() const { return Nnummerierungen_; }
  // A support of an approximation from the nodes has changed.
  void _muster_veraltet() { bmuster_veraltet_ = true; }

protected:
  bool bmuster_veraltet_ = true;
  long Nnummerierungen_ = 0;
};

// What the model objects and their approximations see of the run that owns
// them: control values, registries, numbering, the stores of their small
// vectors and the objects kept for the run. The simulation object derives
// from it and supplies the equation system and the approximations.
class TModell {
public:
  TModell() = default;
  virtual ~TModell();
  TModell(const TModell&) = delete;
  TModell& operator=(const TModell&) = delete;

  // The equation system, null before it exists.
  virtual TSystembasis* _system() = 0;
  // Creates the approximation of kind `art` of `heimatpu` (of type
  // `heimatOT`) from points of type `stuetzOT` and keeps it for the run; null
  // for a kind without an implementation.
  virtual TAnsatz* _ansatz_anlegen(TPunkt* heimatpu, OBJTYP heimatOT, OBJTYP stuetzOT, ANSATZ art) = 0;
  // Reference coordinates of the target of an element approximation; false
  // for another kind.
  virtual bool _xi_setzen(TAnsatz* a, const TVM::VekR& xi) = 0;

  // The registry of a type: mpu and mpuquell share the material-point
  // registry; pu, eletyp, konlin and unknown types give null.
  Tobjcont* _objcont(OBJTYP ot);
  // Offset added by the input to every number of the type (mpu, ipu, kno, ele).
  unsigned int _numplus(OBJTYP ot) const;
  // Number shift computed by the input for the current file (mpu, ipu, kno, ele).
  int _delta_num(OBJTYP ot) const;
  // Highest number issued or seen so far for the type.
  unsigned int& _maxnum(OBJTYP ot);
  // "Eingabedatei, Zeilennummer " and the reader's current line.
  std::string _str_eindatpos() const;

  // n doubles, zero, for the state record and the small vectors of a new
  // point or approximation, kept for the whole run: the data of objects
  // created one after the other lie one after the other, apart from the
  // objects themselves.
  double* _speicher(std::size_t n);
  // Builds an object in the model's memory, next to the object created
  // before it, and keeps it for the rest of the run (its destructor runs
  // with the model's).
  template <class T, class... A> T* _anlegen(A&&... args) {
    T* obj = new (platz(sizeof(T), alignof(T), objekte_)) T(std::forward<A>(args)...);
    angelegt_.push_back({obj, [](void* p) { static_cast<T*>(p)->~T(); }});
    return obj;
  }

#if defined(MPM_SPEICHER_EINZELN)
  static constexpr bool beinzeln = true;
#else
  static constexpr bool beinzeln = false;
#endif

  TSteuerparam stw;
  Tobjcont mat, mpu, mpuquell, ipu, kno, knox, knou, eletyp, ele, pla, konlin;

  // Control output is due in the current step; reports to the control log
  // are written only while it is set.
  bool bausktr = true;

  std::array<int, 11> delta_num{}; // set by the input per type value
  unsigned int Nstuetzele = 0;     // support elements of all contact lines numbered so far
  Tdatein* eindat = nullptr;       // the input file while it is read
  // Counts the builds and assignments of approximations, so that what is
  // derived from them can tell whether it still holds.
  unsigned long Nansatzaenderungen = 0;
  // The clouds of the source type of the group of approximations being
  // built (`_L_G`, renewal after the nodes are re-based); null otherwise.
  const TWolkenquellen* wolkenquellen = nullptr;

private:
  // A piece of the run's memory; the large ones are asked to be backed by
  // large pages, since the passes over the points are bound by address
  // translation once a model leaves the caches.
  class TStueck {
  public:
    // With `bgross` a large piece may come from the system in large pages.
    TStueck(std::size_t groesse, bool bgross);
    ~TStueck();
    TStueck(TStueck&& s) noexcept : anfang_(s.anfang_), groesse_(s.groesse_), bseiten_(s.bseiten_) {
      s.anfang_ = nullptr;
    }
    TStueck(const TStueck&) = delete;
    TStueck& operator=(const TStueck&) = delete;
    TStueck& operator=(TStueck&&) = delete;
    char* anfang() const { return anfang_; }
    std::size_t groesse() const { return groesse_; }

  private:
    char* anfang_ = nullptr;
    std::size_t groesse_;
    bool bseiten_ = false; // mapped from the system rather than the heap
  };
  struct TAngelegt {
    void* obj;
    void (*zerstoeren)(void*);
  };
  // Where the next request of one kind goes: the objects, or the state
  // records and small vectors, each kind one after the other, so that a
  // pass over the records reads them as one stream.
  struct TBereich {
    char* naechst = nullptr; // next free byte of its last piece
    std::size_t frei = 0;    // bytes left in it
  };
  // `groesse` bytes at a multiple of `ausrichtung` (a power of two), zero.
  void* platz(std::size_t groesse, std::size_t ausrichtung, TBereich& bereich);

  std::array<unsigned int, 11> maxnum_{};
  unsigned int maxnum_sonst_ = 0;
  std::vector<TStueck> stuecke_; // before the objects: outlives them
  TBereich objekte_, speicher_;
  std::vector<TAngelegt> angelegt_; // in the order of creation
};

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
