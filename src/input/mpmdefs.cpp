#include "input/mpmdefs.h"

#include "frame/zeichkett.h"

namespace MPM {

namespace {
const char* const unbekannt = "unbekannt";

const char* const ansatznamen[] = {nullptr, "kopieren", "ele", "eleinv", "wolken"};
const char* const konfigurnamen[] = {nullptr, "refkonf", "momkonf", "startkonf"};
const char* const verzerrnamen[] = {nullptr, "klnverz", "groverz"};
const char* const zeitschrittverfnamen[] = {nullptr, "explizit", "implizit"};
const char* const uebertragnamen[] = {nullptr, "kno_zu_mpu", "mpu_zu_kno"};
const char* const rbdimnamen[] = {nullptr, "Sp0", "Vz0"};
const char* const richtungnamen[] = {nullptr, "vorwaerts", "rueckwaerts"};
const char* const objstatusnamen[] = {nullptr, "+", "-"};
const char* const knotypnamen[] = {nullptr, "Knoten", "Geometrieknoten", "Unbekanntenknoten"};
const char* const konlintypnamen[] = {nullptr, "lin", "splkno", "splele"};
const char* const lasttypnamen[] = {nullptr, "Beschleunigung", "Kraft", "Verschiebung"};
const char* const lastfunktypnamen[] = {nullptr, "kon", "lin", "qua", "kub", "sin", "cos"};
const char* const materialtypnamen[] = {nullptr, "linear elastisch-viskos", "linear elastoplastisch-viskos",
                                        "linear viskoelastisch"};
const char* const zustgroenamen[] = {nullptr,
                                     "alle Groessen",
                                     "Verschiebungsgroessen",
                                     "primaere Groessen",
                                     "sekundaere Groessen",
                                     "Verschiebungsgroessen letzter Zeitschritt"};
// 7 and 8 have no name of their own; they print (and parse) as "unbekannt".
const char* const zeitpunamen[] = {nullptr,
                                   "Anfang",
                                   "Ende",
                                   "Abbruch",
                                   "Startwerte",
                                   "Zeitschrittanfang",
                                   "Zeitschrittende",
                                   "unbekannt",
                                   "unbekannt",
                                   "Iterationsschrittanfang",
                                   "Iterationsschrittende"};
const char* const fehlernamen[] = {"kein", nullptr, "Maximalzahl der aeusseren Iterationsschritte erreicht",
                                   "Maximalzahl der inneren Iterationsschritte erreicht"};
const char* const objtypnamen[] = {nullptr,  "pu",  "mpu", "mpuquell", "ipu",   "kno",
                                   "eletyp", "ele", "mat", "pla",      "konlin"};
const char* const objtypeinzahl[] = {
    nullptr,      "Punkt",   "Materialpunkt", "Materialpunktquelle", "Integrationspunkt", "Knoten",
    "Elementtyp", "Element", "Material",      "Punktlast",           "Kontaktlinie"};
const char* const objtypmehrzahl[] = {
    nullptr,        "Punkte",   "Materialpunkte", "Materialpunktquellen", "Integrationspunkte", "Knoten",
    "Elementtypen", "Elemente", "Materialien",    "Punktlasten",          "Kontaktlinien"};

template <int N> const char* name(const char* const (&namen)[N], int wert, const char* sonst = unbekannt) {
  return wert >= 0 && wert < N && namen[wert] ? namen[wert] : sonst;
}
template <class E, int N> E wert(const char* const (&namen)[N], const char* wort) {
  return static_cast<E>(namensuche(wort, namen, N));
}
} // namespace

const char* str_ANSATZ(ANSATZ a) {
  return name(ansatznamen, a);
}
const char* str_KONFIGUR(KONFIGUR k) {
  return name(konfigurnamen, k);
}
const char* str_VERZERR(VERZERR v) {
  return name(verzerrnamen, v);
}
const char* str_ZEITSCHRITTVERF(ZEITSCHRITTVERF z) {
  return name(zeitschrittverfnamen, z);
}
const char* str_UEBERTRAGRICHTSTART(UEBERTRAGRICHTSTART u) {
  return name(uebertragnamen, u);
}
const char* str_RBDIM(RBDIM r) {
  return name(rbdimnamen, r);
}
const char* str_RICHTUNG(RICHTUNG r) {
  return name(richtungnamen, r);
}
const char* str_OBJSTATUS(OBJSTATUS s) {
  return name(objstatusnamen, s, "?");
}
const char* str_KNOTYP(KNOTYP k) {
  return name(knotypnamen, k);
}
const char* str_KONLINTYP(KONLINTYP k) {
  return name(konlintypnamen, k);
}
const char* str_LASTTYP(LASTTYP l) {
  return name(lasttypnamen, l);
}
const char* str_LASTFUNKTYP(LASTFUNKTYP l) {
  return name(lastfunktypnamen, l);
}
const char* str_MATERIALTYP(MATERIALTYP m) {
  return name(materialtypnamen, m);
}
const char* str_ZUSTGROE(ZUSTGROE z) {
  return name(zustgroenamen, z);
}
const char* str_ZEITPU(ZEITPU z) {
  return name(zeitpunamen, z);
}
const char* str_FEHLER(FEHLER f) {
  return name(fehlernamen, f);
}
const char* str_OBJTYP(OBJTYP o) {
  return name(objtypnamen, o);
}
const char* strlang_OBJTYP(OBJTYP o, bool einzahl) {
  return einzahl ? name(objtypeinzahl, o) : name(objtypmehrzahl, o);
}

ANSATZ _ANSATZ(const char* w) {
  return wert<ANSATZ>(ansatznamen, w);
}
ANSATZ _ANSATZ(char b) {
  switch (b) {
  case 'k':
  case 'K':
    return ANSATZ_KOPIEREN;
  case 'e':
  case 'E':
    return ANSATZ_ELE;
  case 'i':
  case 'I':
    return ANSATZ_ELEINV;
  case 'w':
  case 'W':
    return ANSATZ_WOLKEN;
  default:
    return ANSATZ_UNBEKANNT;
  }
}
KONFIGUR _KONFIGUR(const char* w) {
  return wert<KONFIGUR>(konfigurnamen, w);
}
VERZERR _VERZERR(const char* w) {
  return wert<VERZERR>(verzerrnamen, w);
}
ZEITSCHRITTVERF _ZEITSCHRITTVERF(const char* w) {
  return wert<ZEITSCHRITTVERF>(zeitschrittverfnamen, w);
}
UEBERTRAGRICHTSTART _UEBERTRAGRICHTSTART(const char* w) {
  return wert<UEBERTRAGRICHTSTART>(uebertragnamen, w);
}
RBDIM _RBDIM(const char* w) {
  return wert<RBDIM>(rbdimnamen, w);
}
RICHTUNG _RICHTUNG(const char* w) {
  return wert<RICHTUNG>(richtungnamen, w);
}
OBJSTATUS _OBJSTATUS(const char* w) {
  return wert<OBJSTATUS>(objstatusnamen, w);
}
KONLINTYP _KONLINTYP(const char* w) {
  return wert<KONLINTYP>(konlintypnamen, w);
}
LASTTYP _LASTTYP(const char* w) {
  return wert<LASTTYP>(lasttypnamen, w);
}
LASTFUNKTYP _LASTFUNKTYP(const char* w) {
  return wert<LASTFUNKTYP>(lastfunktypnamen, w);
}
MATERIALTYP _MATERIALTYP(const char* w) {
  return wert<MATERIALTYP>(materialtypnamen, w);
}
MATERIALTYP _MATERIALTYP(int m) {
  return m >= 1 && m <= 3 ? static_cast<MATERIALTYP>(m) : MATERIALTYP_UNBEKANNT;
}
ZEITPU _ZEITPU(const char* w) {
  return wert<ZEITPU>(zeitpunamen, w);
}
OBJTYP _OBJTYP(const char* w) {
  return wert<OBJTYP>(objtypnamen, w);
}
OBJTYP _OBJTYP(int o) {
  return o >= 0 && o <= 10 ? static_cast<OBJTYP>(o) : OBJTYP_UNBEKANNT;
}

} // namespace MPM
