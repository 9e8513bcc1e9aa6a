// The six plain-text data tables of a run: header at "Anfang", rows during
// the time loop, closing line at "Ende" or "Abbruch". Every write appends to
// the run file and closes it again.

#include <string>

#include "model/mpmobjkno.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"
#include "output/mpmaus.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"

namespace MPM {

namespace {

bool ist_anfang(ZEITPU z) {
  return z == ZEITPU_ANFANG;
}
bool ist_schluss(ZEITPU z) {
  return z == ZEITPU_ENDE || z == ZEITPU_ABBRUCH;
}

// Equation index of component c of the node, or -1 when it has none inside
// an n x n system.
int gleichung(const TKnoten& kn, int c, int n) {
  if (c >= kn.sysposfhg.n) return -1;
  const int pos = kn.sysposfhg[c];
  return pos >= 0 && pos < n ? pos : -1;
}

// The node's mass: row sum of the mass matrix at its first unknown.
double knotenmasse(const TKnoten& kn, const TSystem& sys) {
  for (int c = 0; c < TDimensionen::dim1; ++c) {
    const int i = gleichung(kn, c, sys.N);
    if (i >= 0) return sys.M_zeilensumme(i);
  }
  return 0.0;
}

// The diagonal of the system matrix at the node's unknowns.
TVM::VekR steifigkeit(const TKnoten& kn, const TSystem& sys) {
  TVM::VekR k(TDimensionen::dim1);
  for (int c = 0; c < k.n; ++c)
    k[c] = sys.K_diagonale(gleichung(kn, c, sys.N));
  return k;
}

// The plastic multiplier of the point's internal variables (0 for laws without one).
double plastischer_multiplikator(const TMaterialpunkt& mp) {
  const TVM::VekR& z = mp._zg().z;
  if (mp.material && mp.material->typ == MATERIALTYP_LINELVISPLAS && z.n >= 5) return z[4];
  return 0.0;
}

} // namespace

bool Tmpm::_ausgabe_dat_mpu(ZEITPU z) {
  if (ist_anfang(z)) {
    anhaengen(DATEI_DAT_MPU, kopf("#Materialpunktdaten / generiert von MPM / ", zeitanfang,
                                  {"#(1)                        extnum", "#(2)                        tt",
                                   "#(3)                        t", "#(4+5)                      utt",
                                   "#(6+7)                      ut", "#(8+9)                      u",
                                   "#(10+11)                    x", "#(12->14)                   -",
                                   "#(15+16+17)                 epsilon", "#(18->20)                   -",
                                   "#(21+22+23)                 sigma", "#(24..23+MAXNZ)             z",
                                   "#(24+MAXNZ..23+MAXNZ+MAXNQ) q"},
                                  true));
    return true;
  }
  if (ist_schluss(z)) {
    anhaengen(DATEI_DAT_MPU, schluss(zeitende));
    return true;
  }
  if (!bausdat_mpu) return true;
  std::string text;
  for (const auto& eintrag : mpu) {
    TObjbasis* obj = eintrag.second;
    if (!obj || !obj->bausgewaehlt) continue;
    TZeile zeile;
    zeile << obj->num << tt << t;
    TMaterialpunkt* mp = obj->objtyp == OBJTYP_MPU ? MPU_Z(obj) : nullptr;
    if (mp && mp->material) {
      const TZustgroe& zg = mp->_zg();
      zeile << zg.utt << zg.ut << zg.u << mp->_x(KONFIGUR_MOMKONF);
      zeile.nullen(3) << tensorkomponenten(zg.eps);
      zeile.nullen(3) << tensorkomponenten(zg.sig) << zg.z << zg.q;
    } else {
      // A point without a material: zeros in every further column, so that
      // the rows of all selected points keep the columns of the header.
      zeile.nullen(4 * TDimensionen::dim1 + 4 * TDimensionen::dim2 + TDimensionen::maxNz +
                   TDimensionen::maxNq);
    }
    text += zeile.text();
  }
  anhaengen(DATEI_DAT_MPU, text);
  return true;
}

bool Tmpm::_ausgabe_dat_kno(ZEITPU z) {
  if (ist_anfang(z)) {
    anhaengen(DATEI_DAT_KNO,
              kopf("#Knotendaten / generiert von MPM / ", zeitanfang,
                   {"#(1)     extnum", "#(2)     tt", "#(3)     t", "#(4)     M", "#(5->8)  -", "#(9+10)  K",
                    "#(11+12) -", "#(13+14) fint", "#(15+16) fext", "#(17+18) f", "#(19+20) utt",
                    "#(21+22) ut", "#(23+24) x", "#(25+26) u", "#(27+28+29) epsilon", "#(30+31+32) sigma"},
                   true));
    return true;
  }
  if (ist_schluss(z)) {
    anhaengen(DATEI_DAT_KNO, schluss(zeitende));
    return true;
  }
  if (!bausdat_kno || !sys) return true;
  std::string text;
  TVM::VekR f;
  for (const auto& eintrag : kno) {
    TObjbasis* obj = eintrag.second;
    if (!obj || !obj->bausgewaehlt) continue;
    TKnoten* kn = KNO_Z(obj);
    const TZustgroe& zg = kn->_zg();
    TZeile zeile;
    zeile << kn->num << tt << t << knotenmasse(*kn, *sys);
    zeile.nullen(4) << steifigkeit(*kn, *sys);
    zeile.nullen(2);
    zeile << kn->_fint(f);
    zeile << kn->_fext(f);
    zeile << kn->_f(f);
    zeile << zg.utt << zg.ut << kn->_x(KONFIGUR_MOMKONF) << zg.u;
    zeile << tensorkomponenten(zg.eps) << tensorkomponenten(zg.sig);
    text += zeile.text();
  }
  anhaengen(DATEI_DAT_KNO, text);
  return true;
}

// The element table has nothing to list; it is written only when its switch
// is already on at "Anfang", and then also closed.
bool Tmpm::_ausgabe_dat_ele(ZEITPU z) {
  if (ist_anfang(z)) {
    if (!bausdat_ele) return true;
    anhaengen(DATEI_DAT_ELE,
              "#Elementdaten / generiert von MPM / " + zeitanfang + "\n#\n#(Zur Zeit nichts auszugeben)\n");
    bkopf_ele = true;
  } else if (ist_schluss(z) && bkopf_ele) {
    anhaengen(DATEI_DAT_ELE, schluss(zeitende));
  }
  return true;
}

bool Tmpm::_ausgabe_dat_konvaglo(ZEITPU z) {
  if (ist_anfang(z)) {
    anhaengen(DATEI_DAT_KAG,
              kopf("#Daten zur Kontrolle der Konvergenz der Bilanzgleichungsiteration / generiert von MPM / ",
                   zeitanfang, {"#(1) tt", "#(2) t", "#(3) iges", "#(4) normdU", "#(5) normG"}, false));
    return true;
  }
  if (ist_schluss(z)) {
    anhaengen(DATEI_DAT_KAG, schluss(zeitende));
    return true;
  }
  if (!bausdat_konvaglo || !sys) return true;
  TZeile zeile;
  zeile << tt << t << jjges << sys->normdU << sys->normG;
  anhaengen(DATEI_DAT_KAG, zeile.text());
  return true;
}

bool Tmpm::_ausgabe_dat_konvalok(ZEITPU z) {
  if (ist_anfang(z)) {
    anhaengen(DATEI_DAT_KAL,
              kopf("#Knotendaten zur Kontrolle der Konvergenz der Bilanzgleichungsiteration / generiert "
                   "von MPM / ",
                   zeitanfang,
                   {"#(    1) extnum", "#(    2) tt", "#(    3) t", "#(    4) iges", "#( 5+ 6) Fint",
                    "#( 7+ 8) Fm", "#( 9+10) Fext", "#(11+12) Fa", "#(13+14) G"},
                   false));
    return true;
  }
  if (ist_schluss(z)) {
    anhaengen(DATEI_DAT_KAL, schluss(zeitende));
    return true;
  }
  if (!bausdat_konvalok || !sys) return true;
  std::string text;
  TVM::VekR f;
  for (const auto& eintrag : kno) {
    TObjbasis* obj = eintrag.second;
    if (!obj || !obj->bausgewaehlt) continue;
    TKnoten* kn = KNO_Z(obj);
    TZeile zeile;
    zeile << kn->num << tt << t << jjges;
    zeile << kn->_fint(f);
    zeile << kn->_fm(f);
    zeile << kn->_fext(f);
    zeile << kn->_fa(f);
    // The residual G of the node's unknowns.
    f.init(TDimensionen::dim1, nullptr);
    for (int c = 0; c < f.n; ++c) {
      const int i = gleichung(*kn, c, sys->G.n);
      if (i >= 0) f[c] = sys->G[i];
    }
    zeile << f;
    text += zeile.text();
  }
  anhaengen(DATEI_DAT_KAL, text);
  return true;
}

bool Tmpm::_ausgabe_dat_konvilok(ZEITPU z, TMaterialpunkt* mp) {
  if (ist_anfang(z)) {
    konvilok_punkt = nullptr;
    anhaengen(DATEI_DAT_KIL,
              kopf("#Materialpunktdaten zur Kontrolle der Konvergenz der Materialgleichungsiteration / "
                   "generiert von MPM / ",
                   zeitanfang,
                   {"#( 1)    extnum", "#( 2)    tt", "#( 3)    t", "#( 4)    iges", "#( 5)    kges",
                    "#( 6)    norm(dz)", "#( 7)    norm(r)", "#( 8)    lambda"},
                   false));
    return true;
  }
  if (ist_schluss(z)) {
    anhaengen(DATEI_DAT_KIL, schluss(zeitende));
    return true;
  }
  if (!bausdat_konvilok || !mp || !mp->bausgewaehlt) return true;
  std::string text;
  if (konvilok_punkt && (konvilok_punkt != mp || konvilok_iges != jjges)) text = "\n\n";
  konvilok_punkt = mp;
  konvilok_iges = jjges;
  const TZustgroe& zg = mp->_zg();
  TZeile zeile;
  zeile << mp->num << tt << t << jjges << iiges << zg.normdz << zg.normr << plastischer_multiplikator(*mp);
  anhaengen(DATEI_DAT_KIL, text + zeile.text());
  return true;
}

} // namespace MPM
