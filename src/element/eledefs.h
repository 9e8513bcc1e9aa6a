#pragma once
// Vocabulary of the element library: dimension, reference shape, family of
// shape functions and kind of integration rule, each with name and parser.
// The value 0 always means unknown.

namespace ELE {

enum DIM : int { DIM_UNBEKANNT = 0, DIM_1D = 1, DIM_2D = 2, DIM_3D = 3 };
enum FORM : int {
  FORM_UNBEKANNT = 0,
  FORM_LINIE = 2,
  FORM_DREIECK = 3,
  FORM_VIERECK = 4,
  FORM_TETRAEDER = 5,
  FORM_HEXAEDER = 6
};
enum ANSFUNK : int {
  ANSFUNK_UNBEKANNT = 0,
  ANSFUNK_LAGRO1 = 1,
  ANSFUNK_LAGRO2 = 2,
  ANSFUNK_LAGRO3 = 3,
  ANSFUNK_SEREO1 = 4,
  ANSFUNK_SEREO2 = 5,
  ANSFUNK_SEREO3 = 6,
  ANSFUNK_HERMC1O1 = 7,
  ANSFUNK_HERMC1O2 = 8,
  ANSFUNK_HERMC1O3 = 9
};
enum IPU : int {
  IPU_UNBEKANNT = 0,
  IPU_LEER = 1,
  IPU_GAUSS = 2,
  IPU_NEWCOTOFFEN = 3,
  IPU_NEWCOTGESCHL = 4,
  IPU_RASTEROFFEN = 5,
  IPU_RASTERGESCHL = 6
};

const char* str_DIM(DIM d);
DIM _DIM(const char* name);
DIM _DIM(int d);
int DIM1(DIM d); // space dimension: 1, 2, 3
int DIM2(DIM d); // Voigt length: 1, 3, 6

const char* str_FORM(FORM f);
FORM _FORM(const char* name);
int Necken(FORM f);
int Nkanten(FORM f);
int Nflaechen(FORM f);

const char* str_ANSFUNK(ANSFUNK a);
ANSFUNK _ANSFUNK(const char* name);
bool b_ANSFUNK_x(ANSFUNK a); // usable for the geometry
bool b_ANSFUNK_u(ANSFUNK a); // usable for the unknown field
int NLk(DIM d, ANSFUNK a);   // shape functions per node

const char* str_IPU(IPU i);
IPU _IPU(const char* name);

} // namespace ELE
