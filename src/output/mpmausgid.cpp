// GiD post-processing files: point and element meshes with the result-file
// headers at "Startwerte", result blocks at every data output of a completed
// step. Numbers carry the shift of their object type so that nodes and
// points stay apart inside one file. Every write appends.

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "approx/mpmans.h"
#include "frame/meldung.h"
#include "model/mpmobjele.h"
#include "model/mpmobjeletyp.h"
#include "model/mpmobjipu.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjkonlin.h"
#include "model/mpmobjmpu.h"
#include "output/mpmaus.h"
#include "solver/mpm.h"

namespace MPM {

namespace {

std::string nummer(unsigned int num, int delta) {
  return _str(num + static_cast<unsigned int>(delta), 10);
}

// The element blocks of the element mesh: shape, node count and the block
// header; the first block belongs to the mesh "Netz1" of the node coordinates.
struct TElementblock {
  ELE::FORM form;
  int Nkno;
  const char* kopf;
  const char* name;
};
const TElementblock elementbloecke[] = {
    {ELE::FORM_VIERECK, 4, "elements\n", "#4-Knoten-Viereckselemente\n"},
    {ELE::FORM_VIERECK, 8, "MESH dimension 2 elemtype quadrilateral nnode 8\n\n\nelements\n",
     "#8-Knoten-Viereckselemente\n"},
    {ELE::FORM_VIERECK, 9, "MESH dimension 2 elemtype quadrilateral nnode 9\n\n\nelements\n",
     "#9-Knoten-Viereckselemente\n"},
    {ELE::FORM_DREIECK, 3, "MESH dimension 2 elemtype triangle nnode 3\n\n\nelements\n",
     "#3-Knoten-Dreieckselemente\n"},
    {ELE::FORM_DREIECK, 6, "MESH dimension 2 elemtype triangle nnode 6\n\n\nelements\n",
     "#6-Knoten-Dreieckselemente\n"},
};

// "#Elementnummer, Knoten 1, ..., Knoten n".
std::string spaltennamen(int n) {
  std::string s = "#Elementnummer";
  for (int i = 1; i <= n; ++i)
    s += ", Knoten " + std::to_string(i);
  return s + "\n";
}

// A support element of a contact line: its number and its two support points.
struct TLinienelement {
  unsigned int num;
  const TPunkt* k1;
  const TPunkt* k2;
};

// The support elements of one contact line, in the line's order; an element
// missing one of its points is left out.
std::vector<TLinienelement> stuetzelemente(const TObjbasis& obj) {
  std::vector<TLinienelement> liste;
  if (obj.objtyp != OBJTYP_KONLIN) return liste;
  for (const auto& e : KONLIN_Z(&obj)->stuetzele)
    if (e->k1 && e->k2) liste.push_back({e->num, e->k1, e->k2});
  return liste;
}

// The approximation of a point from the sources of type `stuetzot`, or null.
// Asked directly, a material point would stop the run for the missing
// approximation from material points; here it simply has none.
const TAnsatz* ansatz_von(TPunkt& pu, OBJTYP stuetzot) {
  switch (pu.objtyp) {
  case OBJTYP_MPU:
    return stuetzot == OBJTYP_KNO ? MPU_Z(&pu)->ans_kno : nullptr;
  case OBJTYP_IPU:
    return stuetzot == OBJTYP_KNO   ? IPU_Z(&pu)->ans_kno
           : stuetzot == OBJTYP_MPU ? IPU_Z(&pu)->ans_mpu
                                    : nullptr;
  case OBJTYP_KNO:
    return pu._ansatz(stuetzot);
  default:
    return nullptr;
  }
}

// A point of a result block with the number shift of its type.
struct TErgebnispunkt {
  TPunkt* pu;
  int delta;
  bool bkoerperfest; // points of its type move with the body
};

// One result block: opening text, title, step, type, component names, then
// one value line per point, closed by "end values" and `ende`.
void ergebnisblock(std::ostringstream& s, const std::string& name, const std::string& titel, int schritt,
                   bool bvektor, const std::string& komponenten, const std::vector<TErgebnispunkt>& punkte,
                   const std::function<void(std::ostringstream&, const TErgebnispunkt&)>& wert,
                   const char* ende = "\n\n") {
  s << "result \"" << name << "\"  \"" << titel << "\" " << schritt
    << (bvektor ? "  vector  onnodes\n" : "  scalar  onnodes\n") << "componentnames " << komponenten << "\n"
    << "values\n";
  for (const TErgebnispunkt& p : punkte) {
    s << nummer(p.pu->num, p.delta) << " ";
    wert(s, p);
    s << "\n";
  }
  s << "end values\n" << ende;
}

std::string komponentennamen(const std::string& name) {
  return "\"" + name + "1\", \"" + name + "2\"";
}

} // namespace

bool Tmpm::_ausgabe_gid(ZEITPU z) {
  if (!bausdat_gid) return true;
  TVektorformat format(0);
  if (z == ZEITPU_STARTWERTE) {
    if (bnetzneu) {
      *konsaus << "FEHLER in <bool Tmpm::_ausgabe_gid(AUSGABE ausg)>: bnetzneu==true\n" << std::flush;
      abbruch();
      return false;
    }
    _eindeutige_nummern();
    _ausgabe_gid_pu_msh(DATEI_GID_MPU_MSH, OBJTYP_MPU);
    _ausgabe_gid_start_res(DATEI_GID_MPU_RES);
    _ausgabe_gid_ele_msh(DATEI_GID_ELE_MSH);
    _ausgabe_gid_pu_msh(DATEI_GID_ELE_MSH, OBJTYP_MPU);
    _ausgabe_gid_pu_msh(DATEI_GID_ELE_MSH, OBJTYP_KNO);
    _ausgabe_gid_start_res(DATEI_GID_ELE_RES);
  } else if (z == ZEITPU_ZEITSCHRITTENDE) {
    _ausgabe_gid_pu_res(DATEI_GID_MPU_RES, true, false, false);
    _ausgabe_gid_pu_res(DATEI_GID_ELE_RES, true, false, true);
    _ausgabe_gid_kno_res(DATEI_GID_ELE_RES);
  }
  return true;
}

bool Tmpm::_ausgabe_gid_pu_msh(DATEI datei, OBJTYP ot) {
  TVektorformat format(0);
  const Tobjcont* reg = _bistpunkt(ot) ? _objcont(ot) : nullptr;
  if (!reg) return false;
  const int d = _delta_num(ot);
  std::ostringstream s;
  s << "#titel    =" << titel << "\n#objtyp   =" << strlang_OBJTYP(ot, false) << "\n#delta_num=" << d
    << "\n\n\nMESH dimension 2 elemtype point nnode 1\n\n\n"
    << "coordinates\n#GID-Knotennummer=Punktnummer, x01, x02\n";
  for (const auto& e : *reg)
    s << nummer(e.second->num, d) << " " << PU_Z(e.second)->x0 << "\n";
  s << "end coordinates\n\n\nelements\n#GID-Elementnummer=Punktnummer, GID-Knotennummer=Punktnummer\n";
  // Support points of contact lines are no elements of their own.
  for (const auto& e : *reg)
    if (!PU_Z(e.second)->bkontaktpunkt)
      s << nummer(e.second->num, d) << " " << nummer(e.second->num, d) << "\n";
  s << "end elements\n\n\n";
  anhaengen(datei, s.str());
  return true;
}

bool Tmpm::_ausgabe_gid_ele_msh(DATEI datei) {
  TVektorformat format(0);
  const int dkno = _delta_num(OBJTYP_KNO), dele = _delta_num(OBJTYP_ELE);
  std::ostringstream s;
  s << "#titel=" << titel << "\n#Elementnetz\n\n\n"
    << "MESH \"Netz1\" dimension 2 elemtype quadrilateral nnode 4\n\n\ncoordinates\n"
    << "#Knotenkoordinaten fuer alle Elementtypen\n#Knotennummer, x01, x02\n";
  for (const auto& e : kno)
    s << nummer(e.second->num, dkno) << " " << PU_Z(e.second)->x0 << "\n";
  s << "end coordinates\n\n\n";
  if (stw.ansatz_knou_zu_pu == ANSATZ_ELE) {
    for (const TElementblock& b : elementbloecke) {
      s << b.kopf << b.name << spaltennamen(b.Nkno);
      for (const auto& e : ele) {
        TElement* el = ELE_Z(e.second);
        if (!el->typ || !el->typ->eletyp || el->typ->eletyp->key.form != b.form ||
            static_cast<int>(el->kno.size()) != b.Nkno)
          continue;
        s << nummer(el->num, dele);
        for (const TPunkt* k : el->kno)
          s << " " << nummer(k->num, dkno);
        s << "\n";
      }
      s << "end elements\n\n\n";
    }
  }
  // A support point is named by its number in the point mesh of its type.
  s << "MESH dimension 2 elemtype linear nnode 2\n\n\nelements\n#2-Knoten-Linienelemente\n"
    << spaltennamen(2);
  for (const auto& e : konlin)
    for (const TLinienelement& l : stuetzelemente(*e.second))
      s << nummer(l.num, dele) << " " << nummer(l.k1->num, _delta_num(l.k1->objtyp)) << " "
        << nummer(l.k2->num, _delta_num(l.k2->objtyp)) << "\n";
  s << "end elements\n\n\n";
  anhaengen(datei, s.str());
  return true;
}

bool Tmpm::_ausgabe_gid_start_res(DATEI datei) {
  anhaengen(datei, "GiD Post Results File 1.0\n\n\n");
  return true;
}

namespace {
std::string schrittzeile(int tt, int zsges) {
  return "#********** Zeitschritt tt=" + std::to_string(tt) + ", ttges=" + std::to_string(zsges) +
         " **********\n\n\n";
}
} // namespace

bool Tmpm::_ausgabe_gid_pu_res(DATEI datei, bool bmpu, bool bipu, bool bkno) {
  TVektorformat format(0);
  if (!bmpu && !bipu && !bkno) return true;
  std::vector<TErgebnispunkt> punkte;
  const struct {
    bool bwahl;
    OBJTYP ot;
    bool bkoerperfest;
  } arten[] = {{bmpu, OBJTYP_MPU, stw.bmpukoerperfest},
               {bipu, OBJTYP_IPU, stw.bipukoerperfest},
               {bkno, OBJTYP_KNO, stw.bknokoerperfest}};
  for (const auto& a : arten)
    if (a.bwahl)
      for (const auto& e : *_objcont(a.ot))
        punkte.push_back({PU_Z(e.second), _delta_num(a.ot), a.bkoerperfest});

  const int schritt = stw.bimmerausdat ? zsges : tt;
  std::ostringstream s;
  s << schrittzeile(tt, zsges);
  ergebnisblock(s, "u_netz ", titel, schritt, true, komponentennamen("u_netz_"), punkte,
                [](std::ostringstream& o, const TErgebnispunkt& p) {
                  o << (p.bkoerperfest ? p.pu->_u() : TVM::VekR(TDimensionen::dim1));
                });
  ergebnisblock(s, "u ", titel, schritt, true, komponentennamen("u_"), punkte,
                [](std::ostringstream& o, const TErgebnispunkt& p) { o << p.pu->_zg().u; });
  ergebnisblock(s, "v ", titel, schritt, true, komponentennamen("v_"), punkte,
                [](std::ostringstream& o, const TErgebnispunkt& p) { o << p.pu->_zg().ut; });
  const struct {
    const char* name;
    TVM::VekR TZustgroe::*v;
    const char* ende;
  } tensoren[] = {{"epsilon", &TZustgroe::eps, "\n"}, {"sigma", &TZustgroe::sig, "\n\n"}};
  for (const auto& g : tensoren)
    for (int i = 0; i < TDimensionen::dim2; ++i) {
      const std::string name = g.name + std::to_string(i + 1);
      ergebnisblock(
          s, name, titel, schritt, false, "\"" + name + "\"", punkte,
          [&](std::ostringstream& o, const TErgebnispunkt& p) {
            const TVM::VekR komp = tensorkomponenten(p.pu->_zg().*g.v);
            o << (i < komp.n ? komp[i] : 0.0);
          },
          g.ende);
    }
  const auto skalar = [&](const std::string& name, const std::function<double(TPunkt&)>& f) {
    ergebnisblock(s, name, titel, schritt, false, "\"" + name + "\"", punkte,
                  [&](std::ostringstream& o, const TErgebnispunkt& p) { o << _str(f(*p.pu), 10, false); });
  };
  const auto ganzzahl = [&](const std::string& name, const std::function<unsigned int(TPunkt&)>& f) {
    ergebnisblock(s, name, titel, schritt, false, "\"" + name + "\"", punkte,
                  [&](std::ostringstream& o, const TErgebnispunkt& p) { o << _str(f(*p.pu), 10); });
  };
  skalar("vol0", [](TPunkt& p) { return p.vol0; });
  const struct {
    const char* name;
    OBJTYP ot;
  } quellen[] = {{"kno", OBJTYP_KNO}, {"mpu", OBJTYP_MPU}};
  for (const auto& q : quellen)
    skalar(std::string("wsum") + q.name, [&](TPunkt& p) {
      const TAnsatz* a = ansatz_von(p, q.ot);
      return a ? a->skal : 0.0;
    });
  for (const auto& q : quellen)
    ganzzahl(std::string("NL") + (q.ot == OBJTYP_KNO ? "kno" : "pu"), [&](TPunkt& p) {
      const TAnsatz* a = ansatz_von(p, q.ot);
      return a ? static_cast<unsigned int>(a->L.n) : 0u;
    });
  for (const auto& q : quellen)
    ganzzahl(std::string("Ng") + (q.ot == OBJTYP_KNO ? "kno" : "pu"), [&](TPunkt& p) {
      const TAnsatz* a = ansatz_von(p, q.ot);
      return a ? a->Ng : 0u;
    });
  skalar("gkontakt", [](TPunkt& p) { return p.kontaktabstand; });
  for (int i = 0; i < TDimensionen::maxNz; ++i) {
    const std::string name = "z" + std::to_string(i + 1);
    ergebnisblock(s, name + " ", titel, schritt, false, "\"" + name + "\"", punkte,
                  [&](std::ostringstream& o, const TErgebnispunkt& p) {
                    const TVM::VekR& zv = p.pu->_zg().z;
                    o << _str(i < zv.n ? zv[i] : 0.0, 10, false);
                  });
  }
  anhaengen(datei, s.str());
  return true;
}

bool Tmpm::_ausgabe_gid_kno_res(DATEI datei) {
  TVektorformat format(0);
  std::vector<TErgebnispunkt> punkte;
  for (const auto& e : kno)
    punkte.push_back({PU_Z(e.second), _delta_num(OBJTYP_KNO), true});
  using Kraft = TVM::VekR& (TKnoten::*)(TVM::VekR&) const;
  const struct {
    const char* name;
    Kraft f;
  } kraefte[] = {{"fint", &TKnoten::_fint}, {"fc", &TKnoten::_fc}, {"fckon", &TKnoten::_fckon},
                 {"fext", &TKnoten::_fext}, {"fm", &TKnoten::_fm}, {"fa", &TKnoten::_fa}};
  const int schritt = stw.bimmerausdat ? zsges : tt;
  std::ostringstream s;
  s << schrittzeile(tt, zsges);
  TVM::VekR f;
  for (const auto& k : kraefte)
    ergebnisblock(s, std::string(k.name) + " ", titel, schritt, true, komponentennamen(k.name), punkte,
                  [&](std::ostringstream& o, const TErgebnispunkt& p) { o << (KNO_Z(p.pu)->*k.f)(f); });
  anhaengen(datei, s.str());
  return true;
}

} // namespace MPM
