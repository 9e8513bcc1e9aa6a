#include "frame/zeichkett.h"

#include <cctype>

bool istendzeich(char c) { return c == '\0' || c == '\n' || c == '\r' || static_cast<unsigned char>(c) == 255; }
bool istkommzeich(char c) { return c == '!'; }
bool istleerzeich(char c) { return c == ' ' || c == '\t'; }
bool isttrennzeich(char c) { return c == ',' || c == ';' || c == '|'; }
bool istklammerzeich(char c) {
  switch (c) {
  case '(': case ')': case '<': case '>': case '[': case ']': case '{': case '}':
    return true;
  default:
    return false;
  }
}
bool istanfzeich(char c) { return c == '"'; }
bool istzahlenbestandteil(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

char zeich1(const char* text) {
  if (!text) return '\0';
  while (istleerzeich(*text)) ++text;
  return *text;
}

int strcmp1(const char* a, const char* b) {
  if (!a) a = "";
  if (!b) b = "";
  for (; *a && *b; ++a, ++b) {
    const int ka = std::tolower(static_cast<unsigned char>(*a));
    const int kb = std::tolower(static_cast<unsigned char>(*b));
    if (ka != kb) return ka - kb;
  }
  if (!*a && !*b) return 0;
  return *a ? 1 : -1;
}

int namensuche(const char* wort, const char* const* namen, int n, int erster) {
  if (!wort) return 0;
  for (int i = erster; i < n; ++i)
    if (namen[i] && strcmp1(wort, namen[i]) == 0) return i;
  return 0;
}
