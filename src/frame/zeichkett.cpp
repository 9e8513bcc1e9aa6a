#include "frame/zeichkett.h"

#include <cctype>
#include <ostream>

bool istendzeich(char c) {
  return c == '\0' || c == '\n' || c == '\r' || static_cast<unsigned char>(c) == 255;
}
bool istkommzeich(char c) {
  return c == '!';
}
bool istleerzeich(char c) {
  return c == ' ' || c == '\t';
}
bool isttrennzeich(char c) {
  return c == ',' || c == ';' || c == '|';
}
bool istklammerzeich(char c) {
  switch (c) {
  case '(':
  case ')':
  case '<':
  case '>':
  case '[':
  case ']':
  case '{':
  case '}':
    return true;
  default:
    return false;
  }
}
bool istanfzeich(char c) {
  return c == '"';
}
bool istzahlenbestandteil(char c) {
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

char zeich1(const char* text) {
  if (!text) return '\0';
  while (istleerzeich(*text))
    ++text;
  return *text;
}

int strcmp1(const char* a, const char* b) {
  if (!a) a = "";
  if (!b) b = "";
  for (; *a && *b; ++a, ++b) {
    if (*a == *b) continue;
    const int ka = klein(*a), kb = klein(*b);
    if (ka != kb) return ka - kb;
  }
  if (!*a && !*b) return 0;
  return *a ? 1 : -1;
}

const char* ueberlesezeich(const char* text, bool (*istzeich)(char), int max) {
  if (!text) return text;
  for (int n = 0; (max <= 0 || n < max) && !istendzeich(*text) && istzeich(*text); ++n)
    ++text;
  return text;
}

const char* ueberleseleerzeich(const char* text, int max) {
  return ueberlesezeich(text, istleerzeich, max);
}
const char* ueberlesetrennzeich(const char* text, int max) {
  return ueberlesezeich(text, isttrennzeich, max);
}

const char* ueberleseleer1trennleerzeich(const char* text) {
  return ueberleseleerzeich(ueberlesetrennzeich(ueberleseleerzeich(text), 1));
}

namespace {
// End of the word starting at `p` (blanks already skipped).
const char* wortende(const char* p) {
  if (istendzeich(*p) || isttrennzeich(*p) || istkommzeich(*p)) return p;
  if (istklammerzeich(*p) || istanfzeich(*p)) {
    const bool klammer = istklammerzeich(*p);
    for (++p; !istendzeich(*p); ++p) {
      if (klammer ? istklammerzeich(*p) : istanfzeich(*p)) return p + 1;
    }
    return p;
  }
  while (!istendzeich(*p) && !isttrennzeich(*p) && !istkommzeich(*p) && !istklammerzeich(*p) &&
         !istanfzeich(*p) && !istleerzeich(*p))
    ++p;
  return p;
}
} // namespace

const char* wort1(const char* text, char* puffer, int max) {
  if (!text) text = "";
  const char* anfang = ueberleseleerzeich(text);
  const char* ende = wortende(anfang);
  if (puffer) {
    int n = 0;
    for (const char* p = anfang; p < ende && n < max; ++p)
      puffer[n++] = *p;
    puffer[n] = '\0';
  }
  return ende;
}

const char* wort1(const char* text, std::string& wort, int max) {
  if (!text) text = "";
  const char* anfang = ueberleseleerzeich(text);
  const char* ende = wortende(anfang);
  const long laenge = ende - anfang;
  wort.assign(anfang, static_cast<size_t>(max < 0 ? 0 : (laenge < max ? laenge : max)));
  return ende;
}

int woerteranz(const char* text) {
  if (!text) return 0;
  int n = 0;
  const char* p = ueberleseleerzeich(text);
  while (!istendzeich(*p) && !istkommzeich(*p)) {
    p = ueberleseleer1trennleerzeich(wort1(p, nullptr, 0));
    ++n;
  }
  return n;
}

namespace {
// Position of the n-th word, or null when the line or a "!" comes first.
const char* wortanfang(const char* text, int n) {
  if (!text || n < 1) return nullptr;
  const char* p = ueberleseleerzeich(text);
  for (int i = 1; i < n; ++i) {
    if (istendzeich(*p) || istkommzeich(*p)) return nullptr;
    p = ueberleseleer1trennleerzeich(wort1(p, nullptr, 0));
  }
  if (istendzeich(*p) || istkommzeich(*p)) return nullptr;
  return p;
}
} // namespace

std::string wort(const char* text, int n, int max) {
  std::string w;
  if (const char* p = wortanfang(text, n)) wort1(p, w, max);
  return w;
}

std::ostream& operator<<(std::ostream& aus, const skontroll& s) {
  const char* pos = s.pos ? s.pos : "";
  const char* anfang = (s.pos && s.anfang) ? s.anfang : pos;
  const char* ende = pos;
  while (!istendzeich(*ende))
    ++ende;
  aus << "[" << (pos - anfang) << " -- " << (ende - anfang) << "], <";
  aus.write(pos, ende - pos);
  aus << "> ";
  switch (*ende) {
  case '\0':
    aus << "'\\0'";
    break;
  case '\n':
    aus << "'\\n'";
    break;
  case '\r':
    aus << "'\\r'";
    break;
  default:
    aus << "EOF";
  }
  return aus;
}

int namensuche(const char* wort, const char* const* namen, int n, int erster) {
  if (!wort) return 0;
  for (int i = erster; i < n; ++i)
    if (namen[i] && strcmp1(wort, namen[i]) == 0) return i;
  return 0;
}
