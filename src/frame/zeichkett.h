#pragma once
// Character classes and text scanning for line-oriented input.

bool istendzeich(char c);     // NUL, line feed, carriage return, byte 255
bool istkommzeich(char c);    // "!"
bool istleerzeich(char c);    // blank, tab
bool isttrennzeich(char c);   // "," ";" "|"
bool istklammerzeich(char c); // ( ) < > [ ] { }
bool istanfzeich(char c);     // double quote
bool istzahlenbestandteil(char c); // digits, "+", "-", "."

// First character that is not blank or tab; NUL when there is none.
char zeich1(const char* text);

// Case-insensitive comparison: difference of the first differing lowered
// characters; on an equal common part 0, -1 (a shorter) or 1 (a longer).
int strcmp1(const char* a, const char* b);

// Position of `wort` among the names namen[erster .. n-1] by `strcmp1` (first
// match wins), or 0 when none matches. Null names are skipped.
int namensuche(const char* wort, const char* const* namen, int n, int erster = 1);
