#pragma once
// Fixed-width number-to-text conversions used by every log and output file.

#include <string>

// Exponent form right-aligned in w characters with w - 7 decimals (7 <= w <= 17),
// "%Le" for any other width. Zero gives " 0." padded with blanks; with
// zero suppression |x| < 2.220446E-16 gives " 0." and w - 7 zeros (at least one).
std::string _str(double x, int w, bool nullunterdrueckung = false);
std::string _str(int x, int w);
std::string _str(unsigned int x, int w);
// w - 1 blanks and "W" or "F"; w is limited to 1 .. 50.
std::string _str(bool b, int w);
// The text between double quotes.
std::string _str(const std::string& s, int w);
std::string _str(const char* s, int w);
// Fixed point, three decimals, width 8; the two ints are ignored.
std::string _str1(double x, int = 0, int = 0);
