#pragma once
// Texts describing the floating-point types; the program computes in double.

#include <string>

using _REAL = double;

std::string gleitkommazahlgenauigkeit();
std::string gleitkommazahlgrenzwerte();
