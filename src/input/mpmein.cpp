// Model input: reads the input keyword file into the simulation object, in a
// fixed keyword order, and checks that a usable model exists.

#include <algorithm>
#include <climits>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "element/eledefs.h"
#include "frame/dateinamen.h"
#include "frame/genau.h"
#include "frame/meldung.h"
#include "frame/mpmextern.h"
#include "input/dateinaus.h"
#include "input/mpmdimensionen.h"
#include "input/mpmhilf.h"
#include "model/mpmobjele.h"
#include "model/mpmobjeletyp.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjkonlin.h"
#include "model/mpmobjlast.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"
#include "solver/mpm.h"

namespace MPM {

namespace {

// One error-log line at the reader's current position.
void eingabefehler(const Tmpm& m, const std::string& text) {
  *pcf << m._str_eindatpos() << ": " << text << "\n";
}

// A record with an entry that is written but cannot be read is not used.
bool satz_pruefen(const Tmpm& m, const TSatzleser& s) {
  if (s.ok()) return true;
  eingabefehler(m, std::string(s.sw()) + "-Zeile nicht verwendet (Eintrag " +
                       std::to_string(s.fehlereintrag()) + " fehlerhaft)");
  return false;
}

// The number of a new object: the record's number plus the type's offset.
bool objektnummer(const Tmpm& m, int num, unsigned int plus, int& ergebnis) {
  if (nummer_plus(num, plus, ergebnis)) return true;
  eingabefehler(m, "Objektnummer zu gross: " + std::to_string(num) + " + " + std::to_string(plus));
  return false;
}

// The object of a listed number (plus the offset), or null.
TObjbasis* suchen(const Tobjcont& reg, unsigned int num, unsigned int plus) {
  int nr = 0;
  return nummer_plus(num, plus, nr) ? reg.suchen(nr) : nullptr;
}

// Each type's own registry (sources apart from material points); null for pu and unknown values.
Tobjcont* register_von(Tmpm& m, int ot) {
  switch (ot) {
  case OBJTYP_MPU:
    return &m.mpu;
  case OBJTYP_MPUQUELL:
    return &m.mpuquell;
  case OBJTYP_IPU:
    return &m.ipu;
  case OBJTYP_KNO:
    return &m.kno;
  case OBJTYP_ELETYP:
    return &m.eletyp;
  case OBJTYP_ELE:
    return &m.ele;
  case OBJTYP_MAT:
    return &m.mat;
  case OBJTYP_PLA:
    return &m.pla;
  case OBJTYP_KONLIN:
    return &m.konlin;
  default:
    return nullptr;
  }
}

void materialien_lesen(Tmpm& m, Tdatein& ein) {
  const char* sw = "mat";
  for (int i = 1; i <= ein.zeilenanzahl(sw); ++i) {
    int num = 0, typ = 0;
    std::vector<double> kennwerte;
    TSatzleser s(ein, sw, i);
    s(1, num)(2, typ)(3, kennwerte);
    if (satz_pruefen(m, s)) _material_erzeugen(&m, num, typ, kennwerte);
  }
}

void elementtypen_lesen(Tmpm& m, Tdatein& ein) {
  const char* sw = "eletyp";
  for (int i = 1; i <= ein.zeilenanzahl(sw); ++i) {
    int num = 0, Nipu = 0, farbe = 0;
    std::string form, ansx, ansu, ipu;
    TSatzleser s(ein, sw, i);
    s(1, num)(2, form)(3, ansx)(4, ansu)(5, ipu)(6, Nipu)(7, farbe);
    if (!satz_pruefen(m, s)) continue;
    eletyp_erzeugen(&m, num, ELE::_FORM(form.c_str()), ELE::_ANSFUNK(ansx.c_str()),
                    ELE::_ANSFUNK(ansu.c_str()), ELE::_IPU(ipu.c_str()), Nipu, farbe);
  }
}

// The entries of an "mpu" or "kno" record, lists cut or padded to their lengths.
struct Punktsatz {
  int num = 0, matnum = 0, farbe = 0;
  double vol = 0.0;
  TVM::VekR x0, u, ut, utt, z;
};

bool punktsatz_lesen(Tmpm& m, Tdatein& ein, const char* sw, int i, Punktsatz& p) {
  std::vector<double> x0, u, ut, utt, z;
  TSatzleser s(ein, sw, i);
  s(1, p.num)(2, p.matnum)(3, p.vol)(4, x0)(5, u)(6, ut)(7, utt)(8, z)(9, p.farbe);
  if (!satz_pruefen(m, s)) return false;
  const int d1 = TDimensionen::dim1;
  p.x0 = vektor_laenge(x0, d1);
  p.u = vektor_laenge(u, d1);
  p.ut = vektor_laenge(ut, d1);
  p.utt = vektor_laenge(utt, d1);
  p.z = vektor_laenge(z, TDimensionen::maxNz);
  return true;
}

void materialpunkte_lesen(Tmpm& m, Tdatein& ein) {
  const char* sw = "mpu";
  for (int i = 1; i <= ein.zeilenanzahl(sw); ++i) {
    Punktsatz p;
    int num = 0;
    if (!punktsatz_lesen(m, ein, sw, i, p) || !objektnummer(m, p.num, m.stw.mpunumplus, num)) continue;
    mpu_erzeugen(&m, num, p.matnum, p.vol, p.x0, p.u, p.ut, p.utt, p.z, p.farbe);
  }
}

// Node numbers are used as written; later references add the node offset.
void knoten_lesen(Tmpm& m, Tdatein& ein) {
  const char* sw = "kno";
  for (int i = 1; i <= ein.zeilenanzahl(sw); ++i) {
    Punktsatz p;
    if (punktsatz_lesen(m, ein, sw, i, p))
      kno_erzeugen(&m, p.num, p.matnum, p.vol, p.x0, p.u, p.ut, p.utt, p.z, p.farbe);
  }
}

void elemente_lesen(Tmpm& m, Tdatein& ein) {
  const char* sw = "ele";
  for (int i = 1; i <= ein.zeilenanzahl(sw); ++i) {
    int num = 0, matnum = 0, eletypnum = 0, farbe = 0, nr = 0;
    std::vector<unsigned> knoten;
    TSatzleser s(ein, sw, i);
    s(1, num)(2, matnum)(3, eletypnum)(4, knoten)(5, farbe);
    if (!satz_pruefen(m, s) || !objektnummer(m, num, m.stw.elenumplus, nr)) continue;
    ele_erzeugen(&m, nr, matnum, eletypnum, knoten, farbe);
  }
}

void elementfarben_lesen(Tmpm& m, Tdatein& ein) {
  const char* sw = "ele_c";
  for (int i = 1; i <= ein.zeilenanzahl(sw); ++i) {
    std::vector<unsigned> nummern;
    int farbe = 0;
    TSatzleser s(ein, sw, i);
    s(1, nummern)(2, farbe);
    if (!satz_pruefen(m, s)) continue;
    for (unsigned n : nummern)
      if (TObjbasis* e = suchen(m.ele, n, m.stw.elenumplus)) e->farbe = farbe;
  }
}

// Marks the listed nodes, then enters every node into the geometry-node and
// unknown-node registries according to its kind flags.
void knotenarten_lesen(Tmpm& m, Tdatein& ein) {
  const char* sw = "kno_bewerzw";
  for (int i = 1; i <= ein.zeilenanzahl(sw); ++i) {
    std::vector<unsigned> nummern;
    TSatzleser s(ein, sw, i);
    s(1, nummern);
    if (!satz_pruefen(m, s)) continue;
    for (unsigned n : nummern)
      if (TObjbasis* k = suchen(m.kno, n, m.stw.knonumplus)) KNO_Z(k)->bbewerzw = true;
  }
  for (const auto& eintrag : m.kno) {
    const TKnoten* k = KNO_Z(eintrag.second);
    if (k->bknox && !m.knox.suchen(eintrag.first)) m.knox.einfuegen(eintrag.first, eintrag.second);
    if (k->bknou && !m.knou.suchen(eintrag.first)) m.knou.einfuegen(eintrag.first, eintrag.second);
  }
}

// Writes v into a state vector and its previous-step copy, so that the start state is consistent.
void startwert(const TVM::VekR& v, TVM::VekR& jetzt, TVM::VekR& vorher) {
  for (int c = 0; c < v.n && c < jetzt.n && c < vorher.n; ++c)
    jetzt[c] = vorher[c] = v[c];
}

void punktwerte_lesen(Tmpm& m, Tdatein& ein) {
  const char* woerter[] = {"pu_u", "pu_ut", "pu_utt", "pu_z", "pu_c"};
  for (int art = 0; art < 5; ++art) {
    const char* sw = woerter[art];
    for (int i = 1; i <= ein.zeilenanzahl(sw); ++i) {
      std::string wort;
      std::vector<unsigned> nummern;
      std::vector<double> werte;
      int farbe = 0;
      TSatzleser s(ein, sw, i);
      s(1, wort)(2, nummern);
      if (art == 4)
        s(3, farbe);
      else
        s(3, werte);
      if (!satz_pruefen(m, s)) continue;
      const OBJTYP ot = _OBJTYP(wort.c_str());
      if (ot != OBJTYP_MPU && ot != OBJTYP_KNO) {
        eingabefehler(m, "Unzulaessiger Objekttyp: " + wort);
        continue;
      }
      const TVM::VekR v = vektor_laenge(werte, art == 3 ? TDimensionen::maxNz : TDimensionen::dim1);
      for (unsigned n : nummern) {
        TObjbasis* o = suchen(*register_von(m, ot), n, m._numplus(ot));
        if (!o) continue;
        TZustgroe& zg = PU_Z(o)->zust;
        switch (art) {
        case 0:
          startwert(v, zg.u, zg.u_n);
          break;
        case 1:
          startwert(v, zg.ut, zg.ut_n);
          break;
        case 2:
          startwert(v, zg.utt, zg.utt_n);
          break;
        case 3:
          startwert(v, zg.z, zg.z_n);
          break;
        default:
          o->farbe = farbe;
          break;
        }
      }
    }
  }
}

void punktlasten_lesen(Tmpm& m, Tdatein& ein) {
  const char* sw = "punktlast";
  for (int i = 1; i <= ein.zeilenanzahl(sw); ++i) {
    int num = 0;
    std::string puot, lastart, ftyp;
    std::vector<unsigned> punum;
    double richtung = 0.0;
    std::vector<double> tAE, c;
    TSatzleser s(ein, sw, i);
    s(1, num)(2, puot)(3, lastart)(4, punum)(5, richtung)(6, ftyp)(7, tAE)(8, c);
    if (!satz_pruefen(m, s)) continue;
    const double tA = tAE.size() > 0 ? tAE[0] : 0.0;
    const double tE = tAE.size() > 1 ? tAE[1] : 0.0;
    pula_erzeugen(&m, num, _OBJTYP(puot.c_str()), _LASTTYP(lastart.c_str()), punum, richtung,
                  _LASTFUNKTYP(ftyp.c_str()), tA, tE, TVM::VekR(c));
  }
}

void kontaktlinien_lesen(Tmpm& m, Tdatein& ein) {
  const char* sw = "konlin";
  for (int i = 1; i <= ein.zeilenanzahl(sw); ++i) {
    int num = 0;
    std::string puot, konlintyp;
    std::vector<unsigned> punum;
    TSatzleser s(ein, sw, i);
    s(1, num)(2, puot)(3, konlintyp)(4, punum);
    if (!satz_pruefen(m, s)) continue;
    konlin_erzeugen(&m, num, _OBJTYP(puot.c_str()), _KONLINTYP(konlintyp.c_str()), punum);
  }
  if (!m.konlin.empty() && !m.stw.bkontakt)
    eingabefehler(m, "Kontaktlinien ohne Kontakt (stw_kontakt F): sie bleiben unwirksam");
}

// Source records are not part of the model input; they are named in the error log instead of vanishing.
void quellen_melden(Tmpm& m, Tdatein& ein) {
  const char* sw = "mpuquell";
  for (int i = 1; i <= ein.zeilenanzahl(sw); ++i) {
    ein.eintragsanzahl(sw, i);
    eingabefehler(m, "mpuquell-Zeile nicht verwendet (Materialpunktquellen werden nicht eingelesen)");
  }
}

void pruefen(Tmpm& m) {
  if (m.mpu.empty() && m.mpuquell.empty())
    *konsaus << "WARNUNG: keine Materialpunkte und keine Materialpunktquellen\n" << std::flush;
  if (!m.stw.bipuaufmpu && m.ipu.empty()) *konsaus << "WARNUNG: keine Integrationspunkte\n" << std::flush;
  if (m.kno.empty()) {
    *konsaus << "FEHLER: keine Knoten\n" << std::flush;
    abbruch();
  }
  if (m.stw.belenutzen && m.ele.empty()) {
    *konsaus << "WARNUNG: belenutzen && keine Elemente\n" << std::flush;
    abbruch();
  }
}

void ausgabeauswahl_lesen(Tmpm& m, Tdatein& ein) {
  const char* sw = "obj_ausdat";
  for (int i = 1; i <= ein.zeilenanzahl(sw); ++i) {
    std::string wort;
    std::vector<unsigned> nummern;
    TSatzleser s(ein, sw, i);
    s(1, wort)(2, nummern);
    if (!satz_pruefen(m, s)) continue;
    const OBJTYP ot = _OBJTYP(wort.c_str());
    if (ot != OBJTYP_MPU && ot != OBJTYP_KNO && ot != OBJTYP_ELE) {
      eingabefehler(m, "unzulaessiger Objekttyp: " + wort);
      continue;
    }
    for (unsigned n : nummern)
      if (TObjbasis* o = suchen(*register_von(m, ot), n, m._numplus(ot))) o->bausgewaehlt = true;
  }
  for (int ot = 0; ot < static_cast<int>(m.Nausdat.size()); ++ot) {
    const Tobjcont* reg = register_von(m, ot);
    m.Nausdat[ot] = reg ? static_cast<int>(std::count_if(
                              reg->begin(), reg->end(), [](const auto& e) { return e.second->bausgewaehlt; }))
                        : 0;
  }
  m.bausdat_mpu = m.Nausdat[OBJTYP_MPU] != 0;
  m.bausdat_kno = m.Nausdat[OBJTYP_KNO] != 0;
  m.bausdat_ele = m.Nausdat[OBJTYP_ELE] != 0;
}

// The heading with the count, then every object on a line of its own.
template <class F> void bericht(const char* kopf, const Tobjcont& reg, F drucken) {
  *pck << kopf << reg.size() << "\n";
  for (const auto& e : reg) {
    drucken(e.second);
    *pck << "\n";
  }
}

void modell_berichten(Tmpm& m) {
  for (int ot = 0; ot < static_cast<int>(m.Nausdat.size()); ++ot)
    *pck << "ost.Nausdat[" << str_OBJTYP(static_cast<OBJTYP>(ot)) << "]=" << m.Nausdat[ot] << "\n";
  const auto punkt = [](TObjbasis* o) { *pck << *PU_Z(o); };
  bericht("\nPunktlasten: Anzahl=", m.pla, [](TObjbasis* o) { *pck << *PLA_Z(o); });
  *pck << "\nErzeugung von Materialpunkten, Integrationspunkten und Knoten abgeschlossen\n";
  bericht("\nMaterialpunkte: Anzahl=", m.mpu, punkt);
  bericht("\nIntegrationspunkte: Anzahl=", m.ipu, punkt);
  bericht("\nKnoten: Anzahl=", m.kno, punkt);
  bericht("\nElementtypen: Anzahl=", m.eletyp, [](TObjbasis* o) { *pck << *ELETYP_Z(o); });
  bericht("\nMaterialien: Materialanzahl=", m.mat, [](TObjbasis* o) { *pck << *MAT_Z(o); });
  bericht("\nElemente: Anzahl=", m.ele, [](TObjbasis* o) { *pck << *ELE_Z(o); });
  bericht("\nKontaktlinien: Anzahl=", m.konlin, [](TObjbasis* o) { *pck << *KONLIN_Z(o); });
  *pck << std::flush;
}

} // namespace

void Tmpm::_eingabe_start() {
  if (bausktr)
    *pck << "Gleitkommazahlgenauigkeit\n"
         << gleitkommazahlgenauigkeit() << "\n"
         << "Gleitkommazahlgrenzwerte\n"
         << gleitkommazahlgrenzwerte() << "\n";
  *konsaus << "Eingabedatei lesen\n" << std::flush;
  eingabedatei = std::make_unique<Tdatein>(dateien.name(DATEI_MPM));
  eindat = eingabedatei.get();
  Tdatein& ein = *eingabedatei;

  std::string text;
  ein.eintrag("titel", text, 1, 1, true);
  titel = text.empty() ? dateien.name(DATEI_MPM) : text;

  ein.eintrag("aus_dat_konv", bausdat_konvaglo, 1, 1, true);
  ein.eintrag("aus_dat_konv", bausdat_konvalok, 1, 2, true);
  ein.eintrag("aus_dat_konv", bausdat_konvilok, 1, 3, true);
  ein.eintrag("aus_dat_maple", bausdat_maple, 1, 1, true);
  ein.eintrag("aus_dat_gnupl", bausdat_gnupl, 1, 1, true);
  ein.eintrag("aus_dat_gnupl", bausdat_gnupl_farbig, 1, 2, true);
  ein.eintrag("aus_dat_tecpl", bausdat_tecpl, 1, 1, true);
  ein.eintrag("aus_dat_gid", bausdat_gid, 1, 1, true);
  ein.eintrag("aus_dat_vtk", bausdat_vtk, 1, 1, true);

  stw._eingabe(ein, bausktr);
  for (OBJTYP ot : {OBJTYP_MPU, OBJTYP_IPU, OBJTYP_KNO, OBJTYP_ELE})
    _maxnum(ot) = std::max(_maxnum(ot), _numplus(ot));

  materialien_lesen(*this, ein);
  elementtypen_lesen(*this, ein);
  materialpunkte_lesen(*this, ein);
  quellen_melden(*this, ein);
  knoten_lesen(*this, ein);
  elemente_lesen(*this, ein);
  elementfarben_lesen(*this, ein);
  knotenarten_lesen(*this, ein);
  punktwerte_lesen(*this, ein);
  punktlasten_lesen(*this, ein);
  kontaktlinien_lesen(*this, ein);

  pruefen(*this);
  ausgabeauswahl_lesen(*this, ein);
  if (bausktr) modell_berichten(*this);
}

bool Tmpm::_eindeutige_nummern() {
  const long long mpu_delta = zehnerpotenz_ueber(_maxnum(OBJTYP_KNO));
  const long long ipu_delta = zehnerpotenz_ueber(mpu_delta + _maxnum(OBJTYP_MPU));
  // The shifted numbers must stay in the int range of the output writers.
  const bool bpasst = ipu_delta + _maxnum(OBJTYP_IPU) <= INT_MAX;
  delta_num[OBJTYP_KNO] = 0;
  delta_num[OBJTYP_ELE] = 0;
  delta_num[OBJTYP_MPU] = bpasst ? static_cast<int>(mpu_delta) : 0;
  delta_num[OBJTYP_IPU] = bpasst ? static_cast<int>(ipu_delta) : 0;
  if (!bpasst)
    *pcf << "Objektnummern zu gross fuer eindeutige Ausgabenummern (delta_num_ipu=" << ipu_delta
         << "), verwendet wird: delta_num_mpu=delta_num_ipu=0\n";
  if (bausktr)
    *pck << "\n<bool Tmpm::_eindeutige_nummern()>\n\n"
         << "ost.maxnum[OBJTYP_ELE]=" << _maxnum(OBJTYP_ELE) << "\n"
         << "ost.maxnum[OBJTYP_KNO]=" << _maxnum(OBJTYP_KNO) << "\n"
         << "ost.maxnum[OBJTYP_MPU]=" << _maxnum(OBJTYP_MPU) << "\n"
         << "ost.maxnum[OBJTYP_IPU]=" << _maxnum(OBJTYP_IPU) << "\n"
         << "\n"
         << "delta_num_ele=" << delta_num[OBJTYP_ELE] << "\n"
         << "delta_num_kno=" << delta_num[OBJTYP_KNO] << "\n"
         << "delta_num_mpu=" << delta_num[OBJTYP_MPU] << "\n"
         << "delta_num_ipu=" << delta_num[OBJTYP_IPU] << "\n";
  return bpasst;
}

} // namespace MPM
