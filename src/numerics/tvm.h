#pragma once
// Dense vectors and row-major matrices of the program, and the operations the
// mechanics needs on them. A vector or matrix either owns its elements or is a
// view (`bfremd`) on storage that the caller keeps alive.

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <type_traits>
#include <vector>

namespace TVM {

// Process-wide layout of the text form of vectors and matrices: 0 data files
// (blank separated), 1 "|e|e|", 2 "[e|e]" (default), 3 "(i)=e" per element.
struct TVekMat {
  static int& format();
};

// Element access checks its indices unless NDEBUG is defined: an index out
// of range is a programming error and stops the program with both numbers.
[[noreturn]] void indexfehler(long i, long n);
inline void index_pruefen([[maybe_unused]] long i, [[maybe_unused]] long n) {
#ifndef NDEBUG
  if (i < 0 || i >= n) indexfehler(i, n);
#endif
}

// Owns `n` elements unless `bfremd`, in which case `data` points into storage
// owned elsewhere. Indices are checked only in builds without NDEBUG.
template <class T> class TVektor {
public:
  T* data = nullptr;
  int n = 0;
  bool bfremd = false;

  TVektor() = default;
  explicit TVektor(int laenge, T wert = T()) { init(laenge, nullptr, wert); }
  TVektor(std::initializer_list<T> werte) { init(static_cast<int>(werte.size()), werte.begin()); }
  template <class U, class = std::enable_if_t<std::is_arithmetic<U>::value>>
  explicit TVektor(const std::vector<U>& v) {
    init(static_cast<int>(v.size()), nullptr);
    for (int i = 0; i < n; ++i)
      data[i] = static_cast<T>(v[i]);
  }
  TVektor(const TVektor& b) { init(b.n, b.data); }
  TVektor(TVektor&& b) noexcept { tauschen(b); }
  ~TVektor() { freigeben(); }
  TVektor& operator=(const TVektor& b) {
    if (this != &b) init(b.n, b.data);
    return *this;
  }
  TVektor& operator=(TVektor&& b) noexcept {
    if (bfremd || b.bfremd) return *this = static_cast<const TVektor&>(b);
    tauschen(b);
    return *this;
  }

  // Resizes to n (n < 0 keeps the size) and copies `werte`, or sets every
  // element to `wert` when `werte` is null. A view asked for another size
  // becomes empty.
  TVektor& init(int nneu, const T* werte, T wert = T()) {
    if (nneu < 0) nneu = n;
    if (nneu != n) {
      if (bfremd) {
        freigeben();
        return *this;
      }
      freigeben();
      if (nneu > 0) {
        data = new T[nneu];
        n = nneu;
      }
    }
    if (werte) {
      if (werte != data) std::copy(werte, werte + n, data);
    } else {
      std::fill(data, data + n, wert);
    }
    return *this;
  }
  TVektor& init(std::initializer_list<T> werte) {
    return init(static_cast<int>(werte.size()), werte.begin());
  }

  // Turns this vector into a view on n elements at `werte`.
  TVektor& ansicht(int nneu, T* werte) {
    freigeben();
    bfremd = true;
    data = nneu > 0 ? werte : nullptr;
    n = nneu > 0 ? nneu : 0;
    return *this;
  }

  T& operator[](int i) {
    index_pruefen(i, n);
    return data[i];
  }
  const T& operator[](int i) const {
    index_pruefen(i, n);
    return data[i];
  }
  T* begin() { return data; }
  T* end() { return data + n; }
  const T* begin() const { return data; }
  const T* end() const { return data + n; }

  TVektor& operator+=(const TVektor& b) {
    for (int i = 0; i < n; ++i)
      data[i] += b.data[i];
    return *this;
  }
  TVektor& operator-=(const TVektor& b) {
    for (int i = 0; i < n; ++i)
      data[i] -= b.data[i];
    return *this;
  }
  TVektor& operator*=(T s) {
    for (int i = 0; i < n; ++i)
      data[i] *= s;
    return *this;
  }

private:
  // Frees owned elements; a view only lets go of them.
  void freigeben() {
    if (!bfremd) delete[] data;
    data = nullptr;
    n = 0;
  }
  void tauschen(TVektor& b) noexcept {
    std::swap(data, b.data);
    std::swap(n, b.n);
    std::swap(bfremd, b.bfremd);
  }
};

// One row of a matrix as m[i] gives it in builds without NDEBUG: it checks
// the column index and converts to the row's pointer.
template <class T> class TZeile {
public:
  TZeile(T* zeile, int spalten) : p_(zeile), spalten_(spalten) {}
  T& operator[](std::ptrdiff_t j) const {
    index_pruefen(j, spalten_);
    return p_[j];
  }
  operator T*() const { return p_; }

private:
  T* p_;
  int spalten_;
};

// Row-major zeilen x spalten elements with a table of row pointers, so that
// m[i][j] works and the solvers can take `zeilen_ptr` as double**. The table
// of a matrix of up to four rows lives in the object itself, so that small
// matrices and views need no heap for it; a larger one keeps its table.
template <class T> class TMatrix {
public:
#ifdef NDEBUG
  using Zeile = T*;
  using KZeile = const T*;
#else
  using Zeile = TZeile<T>;
  using KZeile = TZeile<const T>;
#endif

  T* data = nullptr;
  T** zeilen_ptr = nullptr;
  int zeilen = 0;
  int spalten = 0;
  bool bfremd = false;

  TMatrix() = default;
  TMatrix(int z, int s, T wert = T()) {
    init(z, s, nullptr, wert);
  }
  TMatrix(int z, int s, std::initializer_list<T> werte) {
    init(z, s, nullptr);
    std::copy_n(werte.begin(),
                std::min<std::size_t>(werte.size(), static_cast<std::size_t>(zeilen) * spalten), data);
  }
  TMatrix(const TMatrix& b) {
    init(b.zeilen, b.spalten, b.data);
  }
  TMatrix(TMatrix&& b) noexcept {
    tauschen(b);
  }
  ~TMatrix() {
    freigeben();
    if (Nzeilen_gross_ > 0) delete[] tabelle_.gross;
  }
  TMatrix& operator=(const TMatrix& b) {
    if (this != &b) init(b.zeilen, b.spalten, b.data);
    return *this;
  }
  TMatrix& operator=(TMatrix&& b) noexcept {
    if (bfremd || b.bfremd) return *this = static_cast<const TMatrix&>(b);
    tauschen(b);
    return *this;
  }

  // Resizes (z < 0 or s < 0 keeps that count) and copies `werte` row by row,
  // or sets every element to `wert` when `werte` is null. Storage is reused
  // when the element count stays; a view asked for another size becomes empty.
  TMatrix& init(int z, int s, const T* werte, T wert = T()) {
    if (z < 0) z = zeilen;
    if (s < 0) s = spalten;
    const long alt = static_cast<long>(zeilen) * spalten;
    const long neu = z > 0 && s > 0 ? static_cast<long>(z) * s : 0;
    if (neu != alt) {
      freigeben();
      if (bfremd) return *this;
      if (neu > 0) data = new T[neu];
    }
    zeilen = neu > 0 ? z : 0;
    spalten = neu > 0 ? s : 0;
    zeilen_bilden();
    if (werte) {
      if (werte != data) std::copy(werte, werte + neu, data);
    } else {
      std::fill(data, data + neu, wert);
    }
    return *this;
  }
  // First initialisation: with `bfremd` set the matrix becomes a view on
  // `werte`, otherwise a copy of it (or zero-filled for null).
  TMatrix& init0(int z, int s, T* werte) {
    if (bfremd) return ansicht(z, s, werte);
    return init(z, s, werte);
  }
  TMatrix& ansicht(int z, int s, T* werte) {
    freigeben();
    bfremd = true;
    if (z > 0 && s > 0 && werte) {
      data = werte;
      zeilen = z;
      spalten = s;
      zeilen_bilden();
    }
    return *this;
  }

  Zeile operator[](int i) {
    index_pruefen(i, zeilen);
#ifdef NDEBUG
    return zeilen_ptr[i];
#else
    return Zeile(zeilen_ptr[i], spalten);
#endif
  }
  KZeile operator[](int i) const {
    index_pruefen(i, zeilen);
#ifdef NDEBUG
    return zeilen_ptr[i];
#else
    return KZeile(zeilen_ptr[i], spalten);
#endif
  }
  T& operator()(int i, int j) {
    index_pruefen(i, zeilen);
    index_pruefen(j, spalten);
    return data[static_cast<long>(i) * spalten + j];
  }
  const T& operator()(int i, int j) const {
    index_pruefen(i, zeilen);
    index_pruefen(j, spalten);
    return data[static_cast<long>(i) * spalten + j];
  }
  long anzahl() const {
    return static_cast<long>(zeilen) * spalten;
  }

  TMatrix& operator*=(const TMatrix& b);
  TMatrix& operator+=(const TMatrix& b) {
    for (long k = 0; k < anzahl(); ++k)
      data[k] += b.data[k];
    return *this;
  }
  TMatrix& operator-=(const TMatrix& b) {
    for (long k = 0; k < anzahl(); ++k)
      data[k] -= b.data[k];
    return *this;
  }
  TMatrix& operator*=(T s) {
    for (long k = 0; k < anzahl(); ++k)
      data[k] *= s;
    return *this;
  }

  // Column j; a zero vector for j >= spalten.
  TVektor<T> GetCol(int j) const {
    TVektor<T> c(zeilen);
    if (j >= 0 && j < spalten)
      for (int i = 0; i < zeilen; ++i)
        c[i] = zeilen_ptr[i][j];
    return c;
  }

  // Blends the matrix with its row-sum lumped form: faktor 1 gives the
  // diagonal row-sum matrix, 0 leaves the matrix unchanged.
  void Konzentrieren(double faktor) {
    if (faktor == 0.0) return;
    const int m = std::min(zeilen, spalten);
    for (int i = 0; i < m; ++i) {
      T summe = T();
      for (int j = 0; j < spalten; ++j)
        summe += zeilen_ptr[i][j];
      for (int j = 0; j < spalten; ++j)
        zeilen_ptr[i][j] *= (1.0 - faktor);
      zeilen_ptr[i][i] += faktor * summe;
    }
  }

private:
  static constexpr int Nzeilen_klein = 4;

  // The row table: in the object for up to Nzeilen_klein rows; once a
  // larger matrix needed one on the heap, that one is kept and reused.
  void zeilen_bilden() {
    T** t = tabelle_.klein;
    if (Nzeilen_gross_ > 0 || zeilen > Nzeilen_klein) {
      if (zeilen > Nzeilen_gross_) {
        T** neu = new T*[zeilen];
        if (Nzeilen_gross_ > 0) delete[] tabelle_.gross;
        tabelle_.gross = neu;
        Nzeilen_gross_ = zeilen;
      }
      t = tabelle_.gross;
    }
    for (int i = 0; i < zeilen; ++i)
      t[i] = data + static_cast<long>(i) * spalten;
    zeilen_ptr = zeilen > 0 ? t : nullptr;
  }
  // Frees owned elements (a view only lets go of them); the row table stays.
  void freigeben() {
    if (!bfremd) delete[] data;
    data = nullptr;
    zeilen = spalten = 0;
    zeilen_ptr = nullptr;
  }
  void tauschen(TMatrix& b) noexcept {
    std::swap(data, b.data);
    std::swap(zeilen, b.zeilen);
    std::swap(spalten, b.spalten);
    std::swap(bfremd, b.bfremd);
    std::swap(tabelle_, b.tabelle_);
    std::swap(Nzeilen_gross_, b.Nzeilen_gross_);
    zeilen_bilden();
    b.zeilen_bilden();
  }

  int Nzeilen_gross_ = 0; // rows of the heap row table; 0: none
  union Tabelle {
    T* klein[Nzeilen_klein];
    T** gross;
  } tabelle_ = {};
};

using VekR = TVektor<double>;
using MatR = TMatrix<double>;

// Asks the processor to fetch the line at p ahead of its use (a hint only).
inline void vorholen(const void* p) {
#if defined(__GNUC__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
}

// y[i] += a x[i] for i < n, element by element; y and x must not overlap.
inline void vielfaches_addieren(double* __restrict y, const double* __restrict x, double a, int n) {
  for (int i = 0; i < n; ++i)
    y[i] += a * x[i];
}

// The products into a given result, without temporaries; the operators
// below compute through them. The result must not be an operand; a view of
// another size becomes empty and receives nothing.

// y := M x
template <class T> TVektor<T>& produkt(const TMatrix<T>& m, const TVektor<T>& x, TVektor<T>& y) {
  y.init(m.zeilen, nullptr);
  if (y.n != m.zeilen) return y;
  for (int i = 0; i < m.zeilen; ++i) {
    T s = T();
    const T* zeile = m[i];
    for (int j = 0; j < m.spalten; ++j)
      s += zeile[j] * x.data[j];
    y.data[i] = s;
  }
  return y;
}

// y := x^T M
template <class T> TVektor<T>& produkt(const TVektor<T>& x, const TMatrix<T>& m, TVektor<T>& y) {
  y.init(m.spalten, nullptr);
  if (y.n != m.spalten) return y;
  for (int i = 0; i < m.zeilen; ++i) {
    const T* zeile = m[i];
    for (int j = 0; j < m.spalten; ++j)
      y.data[j] += x.data[i] * zeile[j];
  }
  return y;
}

// c := a b; zero entries of a are skipped.
template <class T> TMatrix<T>& produkt(const TMatrix<T>& a, const TMatrix<T>& b, TMatrix<T>& c) {
  c.init(a.zeilen, b.spalten, nullptr);
  if (c.zeilen != a.zeilen || c.spalten != b.spalten) return c;
  for (int i = 0; i < a.zeilen; ++i)
    for (int k = 0; k < a.spalten; ++k) {
      const T aik = a[i][k];
      if (aik == T()) continue;
      const T* bk = b[k];
      T* ci = c[i];
      for (int j = 0; j < b.spalten; ++j)
        ci[j] += aik * bk[j];
    }
  return c;
}

// y = M x
template <class T> TVektor<T> operator*(const TMatrix<T>& m, const TVektor<T>& x) {
  TVektor<T> y;
  produkt(m, x, y);
  return y;
}

// y = x^T M
template <class T> TVektor<T> operator*(const TVektor<T>& x, const TMatrix<T>& m) {
  TVektor<T> y;
  produkt(x, m, y);
  return y;
}

template <class T> TMatrix<T> operator*(const TMatrix<T>& a, const TMatrix<T>& b) {
  TMatrix<T> c;
  produkt(a, b, c);
  return c;
}

template <class T> TMatrix<T>& TMatrix<T>::operator*=(const TMatrix<T>& b) {
  TMatrix<T> c = *this * b;
  return *this = c;
}

template <class T> TVektor<T> operator+(TVektor<T> a, const TVektor<T>& b) {
  return a += b;
}
template <class T> TVektor<T> operator-(TVektor<T> a, const TVektor<T>& b) {
  return a -= b;
}
template <class T> TVektor<T> operator*(T s, TVektor<T> a) {
  return a *= s;
}
template <class T> TMatrix<T> operator+(TMatrix<T> a, const TMatrix<T>& b) {
  return a += b;
}
template <class T> TMatrix<T> operator-(TMatrix<T> a, const TMatrix<T>& b) {
  return a -= b;
}
template <class T> TMatrix<T> operator*(T s, TMatrix<T> a) {
  return a *= s;
}

// Exact element-wise equality; two empty vectors are equal.
template <class T> bool operator==(const TVektor<T>& a, const TVektor<T>& b) {
  return a.n == b.n && std::equal(a.begin(), a.end(), b.begin());
}
template <class T> bool operator!=(const TVektor<T>& a, const TVektor<T>& b) {
  return !(a == b);
}

template <class T> TMatrix<T>& Transponieren(const TMatrix<T>& a, TMatrix<T>& b) {
  if (&a == &b) {
    const TMatrix<T> kopie(a);
    return Transponieren(kopie, b);
  }
  b.init(a.spalten, a.zeilen, nullptr);
  if (b.zeilen != a.spalten || b.spalten != a.zeilen) return b;
  for (int i = 0; i < a.zeilen; ++i)
    for (int j = 0; j < a.spalten; ++j)
      b[j][i] = a[i][j];
  return b;
}

template <class T> TMatrix<T>& Dyade(const TVektor<T>& a, const TVektor<T>& b, TMatrix<T>& c) {
  c.init(a.n, b.n, nullptr);
  for (int i = 0; i < a.n; ++i)
    for (int j = 0; j < b.n; ++j)
      c[i][j] = a[i] * b[j];
  return c;
}

double skalarprodukt(const VekR& a, const VekR& b);
double norm(const VekR& a); // Euclidean norm

double determinante_nxn(const MatR& a);
bool inverse_1x1(const MatR& a, MatR& ainv, double& det);
bool inverse_2x2(const MatR& a, MatR& ainv, double& det);
bool inverse_3x3(const MatR& a, MatR& ainv, double& det);
bool inverse_4x4(const MatR& a, MatR& ainv, double& det);
bool inverse_nxn(const MatR& a, MatR& ainv, double& det);

// Scaled Voigt vectors: normal components first, shear components times sqrt(2).
VekR& vektorV_transform(const VekR& a, VekR& b);
VekR& vektorV_ruecktransform(const VekR& a, VekR& b);
VekR& vektorV_transform(const MatR& a, VekR& b);

std::ostream& operator<<(std::ostream& os, const TVektor<double>& v);
std::ostream& operator<<(std::ostream& os, const TVektor<int>& v);
std::ostream& operator<<(std::ostream& os, const TVektor<unsigned int>& v);
std::ostream& operator<<(std::ostream& os, const TVektor<bool>& v);
std::ostream& operator<<(std::ostream& os, const TMatrix<double>& m);

} // namespace TVM

namespace MATHE {
// Number of normal components of a Voigt vector of this length (1, 2, 3; else 0).
int _dim1(int voigtlaenge);
// Voigt length of a symmetric tensor of this order (1, 3, 6; else 0).
int _dim2(int ordnung);
} // namespace MATHE
