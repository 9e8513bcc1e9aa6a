#include "input/dateinaus.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <type_traits>

#include "frame/mix.h"
#include "frame/mpmextern.h"
#include "frame/zeichkett.h"
#include "input/mpmschluesselw.h"

using namespace DATEIN;

const char* DATEIN::str_FEHLER(int fehler) {
  switch (fehler) {
  case FEHLER_KEIN:
    return "Kein Fehler";
  case FEHLER_DATEIOEFFNEN:
    return "Allgemeiner Fehler beim Dateioeffnen / Erzeugen";
  case FEHLER_DATEIENDE:
    return "Unerwartet Dateiende erreicht";
  case FEHLER_ZEILEZULANG:
    return "Zeile zu lang";
  case FEHLER_SCHLUESSELWORT:
    return "Unbekanntes Schluesselwort";
  case FEHLER_SWNR:
    return "Ungueltige Schluesselwortnummer";
  case FEHLER_SWZEILENNR:
    return "Ungueltige Zeilennummer fuer Schluesselwort";
  case FEHLER_SWEINTRAGSNR:
    return "Ungueltige Eintragsnummer fuer Schluesselwort";
  case FEHLER_SWEINTRAG:
    return "Ungueltiger Eintrag fuer Schluesselwort";
  case FEHLER_ZEILENNR:
    return "Ungueltige Zeilennummer";
  case FEHLER_ZEILENNRNEU:
    return "Ungueltige Zeilennummer der umgeordneten Datei";
  default:
    return "Unbestimmter Fehler";
  }
}

// ---------------------------------------------------------------- numbers

namespace {

bool istziffer(char c) {
  return c >= '0' && c <= '9';
}

bool ist_ganzzahltext(const std::string& s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i) {
    if (!istziffer(s[i])) return false;
  }
  return true;
}

bool ist_gleitzahltext(const std::string& s) {
  const size_t n = s.size();
  size_t i = 0;
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  size_t ziffern = 0;
  for (; i < n && istziffer(s[i]); ++i)
    ++ziffern;
  if (i < n && s[i] == '.') {
    for (++i; i < n && istziffer(s[i]); ++i)
      ++ziffern;
  }
  if (ziffern == 0) return false;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    size_t exponent = 0;
    for (; i < n && istziffer(s[i]); ++i)
      ++exponent;
    if (exponent == 0) return false;
  }
  return i == n;
}

// The integer value of a checked integer text; false when it exceeds long long.
bool ganzzahl(const std::string& s, long long& x) {
  if (!ist_ganzzahltext(s)) return false;
  errno = 0;
  const long long w = std::strtoll(s.c_str(), nullptr, 10);
  if (errno == ERANGE) return false;
  x = w;
  return true;
}

} // namespace

bool DATEIN::zahl_lesen(const std::string& text, double& x) {
  if (!ist_gleitzahltext(text)) return false;
  const double w = std::strtod(text.c_str(), nullptr);
  if (!std::isfinite(w)) return false;
  x = w;
  return true;
}

bool DATEIN::zahl_lesen(const std::string& text, int& x) {
  long long w;
  if (!ganzzahl(text, w) || w < INT_MIN || w > INT_MAX) return false;
  x = static_cast<int>(w);
  return true;
}

bool DATEIN::zahl_lesen(const std::string& text, unsigned& x) {
  long long w;
  if (!ganzzahl(text, w) || w < 0 || w > static_cast<long long>(UINT_MAX)) return false;
  x = static_cast<unsigned>(w);
  return true;
}

// ---------------------------------------------------------------- lists

namespace {

// One element: the characters up to a blank, separator, bracket or end.
template <class T> bool element_lesen(const char*& p, T& x) {
  const char* anfang = p;
  while (!istendzeich(*p) && !istleerzeich(*p) && !isttrennzeich(*p) && !istklammerzeich(*p))
    ++p;
  return zahl_lesen(std::string(anfang, p), x);
}

// a, a+d, ... up to b, or with `abwaerts` a, a-d, ... down to b.
template <class T> bool folge(T a, T b, T d, bool abwaerts, std::vector<T>& neu) {
  if (!(d > 0)) return false;
  if (abwaerts ? a < b : b < a) return true;
  if constexpr (std::is_floating_point_v<T>) {
    const double schritte = std::floor(std::fabs(b - a) / d);
    if (!(schritte < MAXLISTE)) return false;
    neu.reserve(static_cast<size_t>(schritte) + 2);
    for (long k = 0;; ++k) {
      const double x = abwaerts ? a - k * d : a + k * d;
      if (abwaerts ? x < b : x > b) break;
      if (neu.size() >= static_cast<size_t>(MAXLISTE)) return false;
      neu.push_back(x);
    }
  } else {
    const long long aa = a, bb = b, dd = d;
    const long long anzahl = (abwaerts ? aa - bb : bb - aa) / dd + 1;
    if (anzahl > MAXLISTE) return false;
    neu.reserve(static_cast<size_t>(anzahl));
    for (long long k = 0; k < anzahl; ++k)
      neu.push_back(static_cast<T>(abwaerts ? aa - k * dd : aa + k * dd));
  }
  return true;
}

template <class T> bool liste_lesen(const char* p, std::vector<T>& liste) {
  if (!p) return false;
  std::vector<T> neu;
  p = ueberleseleerzeich(p);
  if (istzahlenbestandteil(*p)) {
    T x;
    if (!element_lesen(p, x) || !istendzeich(*ueberleseleerzeich(p))) return false;
    neu.push_back(x);
    liste.swap(neu);
    return true;
  }
  if (!istklammerzeich(*p)) return false;
  p = ueberleseleerzeich(p + 1);
  if (istklammerzeich(*p)) {
    // empty list
  } else if (*p == 's') {
    T a, b, d;
    p = ueberleseleerzeich(p + 1);
    if (!element_lesen(p, a)) return false;
    p = ueberleseleer1trennleerzeich(p);
    if (!element_lesen(p, b)) return false;
    p = ueberleseleer1trennleerzeich(p);
    const bool abwaerts = *p == '-';
    if (abwaerts) p = ueberleseleerzeich(p + 1);
    if (!element_lesen(p, d) || !folge(a, b, d, abwaerts, neu)) return false;
  } else if (*p == 'k') {
    T v;
    int n;
    p = ueberleseleerzeich(p + 1);
    if (!element_lesen(p, v)) return false;
    p = ueberleseleer1trennleerzeich(p);
    if (!element_lesen(p, n) || n < 0 || n > MAXLISTE) return false;
    neu.assign(static_cast<size_t>(n), v);
  } else if (*p == 'a' || istzahlenbestandteil(*p)) {
    if (*p == 'a') p = ueberleseleerzeich(p + 1);
    while (!istklammerzeich(*p)) {
      T x;
      if (!element_lesen(p, x)) return false;
      neu.push_back(x);
      p = ueberleseleer1trennleerzeich(p);
    }
  } else {
    return false;
  }
  p = ueberleseleerzeich(p);
  if (!istklammerzeich(*p) || !istendzeich(*ueberleseleerzeich(p + 1))) return false;
  liste.swap(neu);
  return true;
}

} // namespace

bool DATEIN::contein(const char* eintrag, std::vector<double>& liste) {
  return liste_lesen(eintrag, liste);
}
bool DATEIN::contein(const char* eintrag, std::vector<int>& liste) {
  return liste_lesen(eintrag, liste);
}
bool DATEIN::contein(const char* eintrag, std::vector<unsigned>& liste) {
  return liste_lesen(eintrag, liste);
}

// ---------------------------------------------------------------- lines

namespace {
const char* swtext(int k) {
  return k >= 0 && k < TSCHLUESSELWORTE::N ? TSCHLUESSELWORTE::sw[k].wort : "";
}
int formatlaenge(int k) {
  return k >= 0 && k < TSCHLUESSELWORTE::N ? static_cast<int>(std::strlen(TSCHLUESSELWORTE::sw[k].format))
                                           : 0;
}
} // namespace

FEHLER TZEILE::init(const std::string& zeile, int nummer) {
  size_t ende = 0;
  while (ende < zeile.size() && ende < static_cast<size_t>(MAXZEILE) && !istendzeich(zeile[ende]))
    ++ende;
  text.assign(zeile, 0, ende);
  zeilennummer = nummer;
  laenge = static_cast<int>(text.size());
  wortanzahl = 0;
  bKommentar = true;
  swnr = -1;

  const char* p = text.c_str();
  if (istkommzeich(zeich1(p))) return FEHLER_KEIN;
  wortanzahl = woerteranz(p);
  if (wortanzahl == 0) return FEHLER_KEIN;
  bKommentar = false;
  const std::string sw = wort(p, 1, MAXZEILE);
  swnr = TSCHLUESSELWORTE::suchen(sw.c_str());
  if (swnr == 0) {
    *pcf << "Eingabedatei, Zeilennummer " << nummer << ": Uebergebenes Wort<" << sw
         << "> nicht als Schluesselwort verzeichnet";
    if (const int k = TSCHLUESSELWORTE::aehnlich(sw.c_str())) *pcf << "; meinten Sie " << swtext(k) << "?";
    *pcf << "\n";
    return FEHLER_SCHLUESSELWORT;
  }
  // A quoted text at the end takes the rest of the line.
  const int nf = formatlaenge(swnr);
  if (nf > 0 && TSCHLUESSELWORTE::sw[swnr].format[nf - 1] == 's' && wortanzahl > nf + 1) wortanzahl = nf + 1;
  return FEHLER_KEIN;
}

std::ostream& operator<<(std::ostream& aus, const TZEILE& z) {
  std::string sw = swtext(z.swnr);
  if (sw.size() < 30) sw.append(30 - sw.size(), ' ');
  return aus << _str(z.zeilennummer, 5) << ", " << _str(z.laenge, 3) << ", " << _str(z.wortanzahl, 2) << ", "
             << _str(z.bKommentar, 1) << ", " << _str(z.swnr, 3) << ", [" << sw << "]: <" << z.text << ">";
}

// ---------------------------------------------------------------- file

Tdatein::Tdatein(const std::string& name) : dateiname(name), Nsw(TSCHLUESSELWORTE::N) {
  swanfmk.assign(Nsw, 0);
  swanzmk.assign(Nsw, 0);
  swanfok.assign(Nsw, 0);
  swanzok.assign(Nsw, 0);
  ordnungmk.assign(1, 0);
  ordnungok.assign(1, 0);
  zeilen.emplace_back();
  zeilen[0].init("", 0);

  std::ifstream datei;
  std::error_code fehler;
  if (!std::filesystem::is_directory(name, fehler)) datei.open(name, std::ios::binary);
  if (!datei.is_open()) {
    Nzeil = -1;
    *pcf << str_FEHLER(FEHLER_DATEIOEFFNEN) << ": " << name << "\n";
    return;
  }

  Nzeil = 0;
  std::string text;
  for (bool weiter = true; weiter;) {
    const FEHLER f = naechstezeileein(datei, text, weiter);
    if (f != FEHLER_KEIN) *pcf << str_FEHLER(f) << "\n";
    zeilen.emplace_back();
    const FEHLER g = zeilen.back().init(text, ++Nzeil);
    if (g != FEHLER_KEIN) *pcf << str_FEHLER(g) << "\n";
  }

  // Comment lines belong to the nearest keyword line below them; those after
  // the last keyword line belong to it.
  int naechste = -1;
  for (int n = Nzeil; n >= 1 && naechste < 0; --n) {
    if (!zeilen[n].bKommentar) naechste = zeilen[n].swnr;
  }
  for (int n = Nzeil; n >= 1; --n) {
    if (zeilen[n].bKommentar) {
      zeilen[n].swnr = naechste;
    } else {
      naechste = zeilen[n].swnr;
    }
  }

  // Group by keyword number, file order within each keyword.
  for (int n = 1; n <= Nzeil; ++n) {
    const int k = zeilen[n].swnr;
    if (k < 0) continue;
    ++swanzmk[k];
    if (!zeilen[n].bKommentar) ++swanzok[k];
  }
  std::vector<int> naechstmk(Nsw), naechstok(Nsw);
  int anfmk = 1, anfok = 1;
  for (int k = 0; k < Nsw; ++k) {
    swanfmk[k] = naechstmk[k] = anfmk;
    swanfok[k] = naechstok[k] = anfok;
    anfmk += swanzmk[k];
    anfok += swanzok[k];
  }
  Nzeilneu = anfmk - 1;
  Nzeilneuokz = anfok - 1;
  ordnungmk.assign(Nzeilneu + 1, 0);
  ordnungok.assign(Nzeilneuokz + 1, 0);
  for (int n = 1; n <= Nzeil; ++n) {
    const int k = zeilen[n].swnr;
    if (k < 0) continue;
    ordnungmk[naechstmk[k]++] = n;
    if (!zeilen[n].bKommentar) ordnungok[naechstok[k]++] = n;
  }
  aktzeile = 0;
}

FEHLER Tdatein::naechstezeileein(std::istream& ein, std::string& zeile, bool& zeilenvorschub) {
  zeile.clear();
  zeilenvorschub = false;
  long long zeichen = 0; // characters before the first end-of-line character
  bool ende = false;
  std::streambuf* puffer = ein.rdbuf();
  for (int c; (c = puffer->sbumpc()) != std::char_traits<char>::eof();) {
    if (c == '\n') {
      zeilenvorschub = true;
      break;
    }
    if (ende) continue;
    const char z = static_cast<char>(c);
    if (istendzeich(z)) {
      ende = true;
      continue;
    }
    if (zeichen < MAXZEILE) zeile.push_back(z);
    ++zeichen;
  }
  return zeichen > MAXZEILE ? FEHLER_ZEILEZULANG : FEHLER_KEIN;
}

bool Tdatein::zeilepruef(int n) const {
  if (n >= 1 && n <= Nzeil) return true;
  *pcf << str_FEHLER(FEHLER_ZEILENNR) << ": " << n << "\n";
  return false;
}

int Tdatein::zeile_k(int k, int i, bool mitkomm) const {
  if (k < 1 || k >= Nsw) return 0;
  const int anzahl = mitkomm ? swanzmk[k] : swanzok[k];
  if (i < 1 || i > anzahl) return 0;
  return mitkomm ? ordnungmk[swanfmk[k] + i - 1] : ordnungok[swanfok[k] + i - 1];
}

int Tdatein::swnr(const char* sw) const {
  if (sw && letzte_swnr_ > 0 && letztes_sw_ == sw) return letzte_swnr_;
  const int k = TSCHLUESSELWORTE::nummer(sw);
  if (k > 0) {
    letztes_sw_ = sw;
    letzte_swnr_ = k;
  }
  return k;
}

int Tdatein::zeilenanzahl(const char* sw, bool mitkomm) const {
  const int k = swnr(sw);
  if (k < 1) return 0;
  return mitkomm ? swanzmk[k] : swanzok[k];
}

int Tdatein::sweintragsanz(const char* sw) const {
  return formatlaenge(swnr(sw));
}

char Tdatein::swformat(const char* sw, int j) const {
  const int k = swnr(sw);
  return k < 1 ? '\0' : TSCHLUESSELWORTE::format(k, j);
}

int Tdatein::zeilennummer(const char* sw, int i, bool mitkomm) const {
  return zeile_k(swnr(sw), i, mitkomm);
}

int Tdatein::eintragsanzahl(const char* sw, int i, bool mitkomm) {
  const int n = zeile_k(swnr(sw), i, mitkomm);
  aktzeile = n;
  return n > 0 && zeilen[n].wortanzahl > 1 ? zeilen[n].wortanzahl - 1 : 0;
}

const char* Tdatein::zeile(int n) const {
  return zeilepruef(n) ? zeilen[n].text.c_str() : "";
}
int Tdatein::zeileneintragsanzahl(int n) const {
  return zeilepruef(n) ? zeilen[n].wortanzahl : 0;
}
bool Tdatein::zeilenbK(int n) const {
  return zeilepruef(n) ? zeilen[n].bKommentar : true;
}
int Tdatein::zeilenswnr(int n) const {
  return zeilepruef(n) ? zeilen[n].swnr : 0;
}
const char* Tdatein::zeilensw(int n) const {
  return zeilepruef(n) ? swtext(zeilen[n].swnr) : "";
}

const char* Tdatein::sw(int k) const {
  return TSCHLUESSELWORTE::wort(k);
}

// ---------------------------------------------------------------- entries

std::string Tdatein::roh(const char* sw, int k, int i, int j, bool standard, bool mitkomm,
                         int& zeilennr) const {
  if (j > formatlaenge(k)) {
    *pcf << "Eintragsnummer zu hoch. Schluesselwort=" << sw << ", Eintragsnummer=" << j << "\n";
    return std::string();
  }
  if (j < 1) {
    *pcf << str_FEHLER(FEHLER_SWEINTRAGSNR) << ": " << sw << ", Eintragsnummer=" << j << "\n";
    return std::string();
  }
  const int n = zeile_k(k, i, mitkomm);
  zeilennr = n;
  if (n == 0) return standard ? wort(TSCHLUESSELWORTE::sw[k].zeile, j, MAXZEILE) : std::string();
  if (zeilen[n].wortanzahl - 1 < j) return wort(TSCHLUESSELWORTE::sw[k].zeile, j, MAXZEILE);
  return wort(zeilen[n].text.c_str(), j + 1, MAXZEILE);
}

std::string Tdatein::eintrag1(const char* sw, int i, int j, bool standard, bool mitkomm) {
  if (!sw) sw = "";
  return roh(sw, swnr(sw), i, j, standard, mitkomm, aktzeile);
}

char* Tdatein::eintrag1(const char* sw, char* puffer, int i, int j, bool standard, int maxlaenge,
                        bool mitkomm) {
  const std::string text = eintrag1(sw, i, j, standard, mitkomm);
  if (!puffer) return puffer;
  const size_t n =
      maxlaenge <= 0 ? 0 : std::min(text.size(), static_cast<size_t>(std::min(maxlaenge, MAXZEILE)));
  text.copy(puffer, n);
  puffer[n] = '\0';
  return puffer;
}

namespace {
bool wahrzeichen(char c) {
  return c == '1' || c == 'W' || c == 'w' || c == 'T' || c == 't';
}
} // namespace

void* Tdatein::eintrag_ziel(const char* sw, void* ziel, ZIEL art, int i, int j, bool standard, int maxlaenge,
                            bool mitkomm) {
  if (!sw) sw = "";
  const int k = swnr(sw);
  const std::string text = roh(sw, k, i, j, standard, mitkomm, aktzeile);
  const char f = j >= 1 && j <= formatlaenge(k) ? TSCHLUESSELWORTE::sw[k].format[j - 1] : '\0';

  bool passt = true;
  switch (art) {
  case ZIEL::FORMAT:
    break;
  case ZIEL::BOOL:
    passt = f == 'b';
    break;
  case ZIEL::CHAR:
    passt = f == 'c';
    break;
  case ZIEL::INT:
    passt = f == 'i' || f == 'u';
    break;
  case ZIEL::UNSIGNED:
    passt = f == 'u';
    break;
  case ZIEL::DOUBLE:
    passt = f == 'f';
    break;
  case ZIEL::STRING:
    passt = f == 'w' || f == 's';
    break;
  case ZIEL::LISTE_F:
    passt = f == 'F';
    break;
  case ZIEL::LISTE_I:
    passt = f == 'I';
    break;
  case ZIEL::LISTE_U:
    passt = f == 'U';
    break;
  }
  const auto formatfehler = [&]() {
    *pcf << "Fehlerhafte Formatangabe. Schluesselwort=" << sw << ", Format=";
    if (f != '\0') *pcf << f;
    *pcf << ", Eintragsnummer=" << j << "\n";
  };
  if (f != '\0' && !passt) {
    formatfehler();
    return nullptr;
  }
  if (text.empty() || !ziel) return nullptr;

  bool ok = true;
  switch (f) {
  case 'b':
    *static_cast<bool*>(ziel) = wahrzeichen(zeich1(text.c_str()));
    break;
  case 'c': {
    const char c = zeich1(text.c_str());
    ok = c != '\0';
    if (ok) *static_cast<char*>(ziel) = c;
    break;
  }
  case 'i':
  case 'u': {
    int x;
    ok = zahl_lesen(text, x) && (f == 'i' || x != INT_MIN);
    if (!ok) break;
    if (f == 'u') x = std::abs(x);
    if (art == ZIEL::UNSIGNED) {
      *static_cast<unsigned*>(ziel) = static_cast<unsigned>(x);
    } else {
      *static_cast<int*>(ziel) = x;
    }
    break;
  }
  case 'f':
    ok = zahl_lesen(text, *static_cast<double*>(ziel));
    break;
  case 'w':
  case 's': {
    std::string wert = text;
    if (f == 's') wert = text.size() >= 3 ? text.substr(1, text.size() - 2) : std::string();
    if (art == ZIEL::STRING) {
      *static_cast<std::string*>(ziel) = wert;
    } else {
      const size_t n =
          maxlaenge <= 0 ? 0 : std::min(wert.size(), static_cast<size_t>(std::min(maxlaenge, MAXZEILE)));
      wert.copy(static_cast<char*>(ziel), n);
      static_cast<char*>(ziel)[n] = '\0';
    }
    break;
  }
  case 'F':
    ok = contein(text.c_str(), *static_cast<std::vector<double>*>(ziel));
    break;
  case 'I':
    ok = contein(text.c_str(), *static_cast<std::vector<int>*>(ziel));
    break;
  case 'U':
    ok = contein(text.c_str(), *static_cast<std::vector<unsigned>*>(ziel));
    break;
  default:
    formatfehler();
    return nullptr;
  }
  if (!ok) {
    *pcf << "Einlesen gescheitert. Schluesselwort=" << sw << ", Zeilennummer=" << aktzeile
         << ", Eintragsnummer=" << j << "\n";
    return nullptr;
  }
  return ziel;
}

void* Tdatein::eintrag(const char* sw, void* ziel, int i, int j, bool standard, int maxlaenge, bool mitkomm) {
  return eintrag_ziel(sw, ziel, ZIEL::FORMAT, i, j, standard, maxlaenge, mitkomm);
}

bool Tdatein::eintrag(const char* sw, bool& ziel, int i, int j, bool standard, bool mitkomm) {
  return eintrag_ziel(sw, &ziel, ZIEL::BOOL, i, j, standard, MAXZEILE, mitkomm);
}
bool Tdatein::eintrag(const char* sw, char& ziel, int i, int j, bool standard, bool mitkomm) {
  return eintrag_ziel(sw, &ziel, ZIEL::CHAR, i, j, standard, MAXZEILE, mitkomm);
}
bool Tdatein::eintrag(const char* sw, int& ziel, int i, int j, bool standard, bool mitkomm) {
  return eintrag_ziel(sw, &ziel, ZIEL::INT, i, j, standard, MAXZEILE, mitkomm);
}
bool Tdatein::eintrag(const char* sw, unsigned& ziel, int i, int j, bool standard, bool mitkomm) {
  return eintrag_ziel(sw, &ziel, ZIEL::UNSIGNED, i, j, standard, MAXZEILE, mitkomm);
}
bool Tdatein::eintrag(const char* sw, double& ziel, int i, int j, bool standard, bool mitkomm) {
  return eintrag_ziel(sw, &ziel, ZIEL::DOUBLE, i, j, standard, MAXZEILE, mitkomm);
}
bool Tdatein::eintrag(const char* sw, std::string& ziel, int i, int j, bool standard, bool mitkomm) {
  return eintrag_ziel(sw, &ziel, ZIEL::STRING, i, j, standard, MAXZEILE, mitkomm);
}
bool Tdatein::eintrag(const char* sw, std::vector<double>& ziel, int i, int j, bool standard, bool mitkomm) {
  return eintrag_ziel(sw, &ziel, ZIEL::LISTE_F, i, j, standard, MAXZEILE, mitkomm);
}
bool Tdatein::eintrag(const char* sw, std::vector<int>& ziel, int i, int j, bool standard, bool mitkomm) {
  return eintrag_ziel(sw, &ziel, ZIEL::LISTE_I, i, j, standard, MAXZEILE, mitkomm);
}
bool Tdatein::eintrag(const char* sw, std::vector<unsigned>& ziel, int i, int j, bool standard,
                      bool mitkomm) {
  return eintrag_ziel(sw, &ziel, ZIEL::LISTE_U, i, j, standard, MAXZEILE, mitkomm);
}

// ---------------------------------------------------------------- echo

void Tdatein::test() const {
  ausgeben(*pck);
}

void Tdatein::ausgeben(std::ostream& aus) const {
  const std::string kopf =
      "Zeilennummer, Laenge, Wortanzahl, bKommentar, Schluesselwortnr, [Schluesselwort]: <Zeile>";
  const std::string kopfneu = "Zeilennummerneu, Zeilennummeralt, Laenge, Wortanzahl, bKommentar, "
                              "Schluesselwortnr, [Schluesselwort]: <Zeile>";
  aus << "\n\nKONTROLLE EINGABEDATEI ANFANG\n"
      << "\n"
      << "EINGABEDATEI\n"
      << "------------\n"
      << "Nzeil=" << Nzeil << "\n"
      << kopf << "\n"
      << std::string(kopf.size(), '-') << "\n";
  for (int n = 1; n <= Nzeil; ++n)
    aus << zeilen[n] << "\n";

  aus << "\nEINGABEDATEI UMGEORDNET MIT KOMMENTARZEILEN\n"
      << "Nzeilneu=" << Nzeilneu << "\n"
      << kopfneu << "\n"
      << std::string(kopfneu.size(), '-') << "\n";
  for (int p = 1; p <= Nzeilneu; ++p)
    aus << _str(p, 5) << ", " << zeilen[ordnungmk[p]] << "\n";

  aus << "\nEINGABEDATEI UMGEORDNET OHNE KOMMENTARZEILEN\n"
      << "Nzeilneuokz=" << Nzeilneuokz << "\n"
      << kopfneu << "\n"
      << std::string(kopfneu.size(), '-') << "\n";
  for (int p = 1; p <= Nzeilneuokz; ++p)
    aus << _str(p, 5) << ", " << zeilen[ordnungok[p]] << "\n";

  const std::string kopfsw = "Schluesselwortnr, Schluesselwortzeilenanzahl, [Schluesselwort]:";
  const std::string einzug(32, ' ');
  aus << "\nEINGABEDATEI ZERLEGT\n"
      << "Nsw=" << Nsw << "\n"
      << kopfsw << "\n"
      << einzug << "Schluesselwortzeile, Eintragsanzahl: <Eintraege>\n"
      << std::string(kopfsw.size(), '-') << "\n";
  for (int k = 1; k < Nsw; ++k) {
    const char* sw = TSCHLUESSELWORTE::sw[k].wort;
    const char* format = TSCHLUESSELWORTE::sw[k].format;
    const int nf = formatlaenge(k);
    aus << _str(k, 3) << ", " << _str(swanzok[k], 5) << ", [" << sw << "]:\n";
    for (int i = 1; i <= swanzok[k]; ++i) {
      const TZEILE& z = zeilen[zeile_k(k, i, false)];
      const int eintraege = z.wortanzahl > 1 ? z.wortanzahl - 1 : 0;
      aus << einzug << _str(i, 2) << ", " << _str(eintraege, 2) << ": ";
      for (int j = 1; j <= std::max(nf, eintraege); ++j) {
        int zeilennr = 0;
        if (j <= nf) {
          aus << format[j - 1] << "<" << roh(sw, k, i, j, false, false, zeilennr) << "> ";
        } else {
          aus << "<FORMATFEHLER><" << wort(z.text.c_str(), j + 1, MAXZEILE) << "> ";
        }
      }
      aus << "\n";
    }
  }
  aus << "\nKONTROLLE EINGABEDATEI ENDE\n";
}

std::ostream& operator<<(std::ostream& aus, const Tdatein& d) {
  d.ausgeben(aus);
  return aus;
}
