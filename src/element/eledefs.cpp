#include "element/eledefs.h"

#include "frame/zeichkett.h"

namespace ELE {

namespace {
const char* const unbekannt = "Unbekannt";
const char* const dimnamen[] = {nullptr, "1d", "2d", "3d"};
const char* const formnamen[] = {nullptr, nullptr, "Linie", "Dreieck", "Viereck", "Tetraeder", "Hexaeder"};
const char* const ansfunknamen[] = {nullptr,  "Lagro1", "Lagro2",   "Lagro3",   "Sereo1",
                                    "Sereo2", "Sereo3", "Hermc1o1", "Hermc1o2", "Hermc1o3"};
const char* const ipunamen[] = {nullptr,        "Leer",        "Gauss",       "Newcotoffen",
                                "Newcotgeschl", "Rasteroffen", "Rastergeschl"};

template <int N> const char* name(const char* const (&namen)[N], int wert) {
  return wert > 0 && wert < N && namen[wert] ? namen[wert] : unbekannt;
}
template <int N> int wert(const char* const (&namen)[N], const char* wort) {
  return namensuche(wort, namen, N);
}

struct Zaehlung {
  int ecken, kanten, flaechen;
};
Zaehlung zaehlung(FORM f) {
  switch (f) {
  case FORM_LINIE:
    return {2, 1, 0};
  case FORM_DREIECK:
    return {3, 3, 1};
  case FORM_VIERECK:
    return {4, 4, 1};
  case FORM_TETRAEDER:
    return {4, 6, 4};
  case FORM_HEXAEDER:
    return {8, 12, 6};
  default:
    return {0, 0, 0};
  }
}
} // namespace

const char* str_DIM(DIM d) {
  return name(dimnamen, d);
}
DIM _DIM(const char* n) {
  return static_cast<DIM>(wert(dimnamen, n));
}
DIM _DIM(int d) {
  return d >= 1 && d <= 3 ? static_cast<DIM>(d) : DIM_UNBEKANNT;
}
int DIM1(DIM d) {
  return d >= 1 && d <= 3 ? static_cast<int>(d) : 0;
}
int DIM2(DIM d) {
  switch (d) {
  case DIM_1D:
    return 1;
  case DIM_2D:
    return 3;
  case DIM_3D:
    return 6;
  default:
    return 0;
  }
}

const char* str_FORM(FORM f) {
  return name(formnamen, f);
}
FORM _FORM(const char* n) {
  return static_cast<FORM>(wert(formnamen, n));
}
int Necken(FORM f) {
  return zaehlung(f).ecken;
}
int Nkanten(FORM f) {
  return zaehlung(f).kanten;
}
int Nflaechen(FORM f) {
  return zaehlung(f).flaechen;
}

const char* str_ANSFUNK(ANSFUNK a) {
  return name(ansfunknamen, a);
}
ANSFUNK _ANSFUNK(const char* n) {
  return static_cast<ANSFUNK>(wert(ansfunknamen, n));
}
bool b_ANSFUNK_x(ANSFUNK a) {
  return a >= ANSFUNK_LAGRO1 && a <= ANSFUNK_SEREO3;
}
bool b_ANSFUNK_u(ANSFUNK a) {
  return a != ANSFUNK_UNBEKANNT;
}
int NLk(DIM d, ANSFUNK a) {
  if (d == DIM_UNBEKANNT || a < ANSFUNK_LAGRO1 || a > ANSFUNK_HERMC1O3) return 0;
  return a <= ANSFUNK_SEREO3 ? 1 : DIM1(d) + 1;
}

const char* str_IPU(IPU i) {
  return name(ipunamen, i);
}
IPU _IPU(const char* n) {
  return static_cast<IPU>(wert(ipunamen, n));
}

} // namespace ELE
