#include "input/mpmobjmix.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "element/eledefs.h"
#include "frame/meldung.h"
#include "frame/mix.h"
#include "frame/mpmextern.h"
#include "input/dateinaus.h"
#include "input/mpmdimensionen.h"

namespace MPM {

namespace {
constexpr double eps = 2.220446E-16;
constexpr double pi = 3.14159265358979323846;
constexpr unsigned int maxteile_min = 2;
constexpr unsigned int maxstufen = 50;

// One error-log line at the reader's current position.
void fehler(const Tdatein& ein, const std::string& text) {
  *pcf << "Eingabedatei, Zeilennummer " << ein.zeilennummer() << ": " << text << "\n";
}

template <class T> std::string text(const T& wert) {
  std::ostringstream s;
  s << wert;
  return s.str();
}

// Nearest whole number of steps, limited to what the counter can hold.
unsigned int schrittzahl(double x) {
  if (!(x > 0.0)) return 0;
  if (x >= static_cast<double>(UINT_MAX)) return UINT_MAX;
  return static_cast<unsigned int>(x);
}

// Overwrites the front of `ziel` with the list read, keeping its length.
void vorn_ueberschreiben(const std::vector<double>& liste, TVM::VekR& ziel) {
  for (int i = 0; i < ziel.n && i < static_cast<int>(liste.size()); ++i)
    ziel[i] = liste[i];
}
} // namespace

TSteuerparam::TSteuerparam()
    : mpunumplus(0), ipunumplus(0), knonumplus(0), elenumplus(0), ta(0.0), te(0.0), tta(0), dt(0.0),
      dtkontakt(0.0), Nt(1), bzstrg(true), zstrg_Nteile(2), zstrg_Nstufen(20), bimmerausdat(false),
      bimmerausktr(false), dtausdat(0.0), dtausktr(0.0), dNtausdat(0),
      dNtausktr(0), autodtparam{1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 0.5}, gleichloes_bil(MATHE::LOESER_PROFIL),
      gleichloes_mat(MATHE::LOESER_GAUSS), gleichloes_ans(MATHE::LOESER_GAUSS), maxNbilanzit(10),
      schranke_normdU(eps * 1e4), schranke_normG(eps * 1e4), bkonvkontrbilanzit(false), minkonvbilanzit(1.0),
      maxNmatit(10), schranke_normdz(eps * 1e4), schranke_normr(eps * 1e4), bkonvkontrmatit(false),
      minkonvmatit(1.0), maxNkontaktit(10), schranke_kontakt(eps * 1e4), bkonvkontrkontaktit(false),
      minkonvkontaktit(1.0), schranke_normeps(eps * 1e4), schranke_fliessbed(eps * 1e4),
      schranke_wicht(eps * 1e4), schmutzxa(0.0), dznumtan(1e-8), bmpukoerperfest(true), bipukoerperfest(true),
      bknokoerperfest(true), bmpuaufkno(false), bipuaufmpu(true), bipuaufkno(false),
      ansatz_knou_zu_pu(ANSATZ_ELE), ansatz_mpu_zu_ipu(ANSATZ_KOPIEREN), ansatz_pu_zu_knou(ANSATZ_ELEINV),
      konfigur(KONFIGUR_REFKONF), verzerr(VERZERR_KLNVERZ), belenutzen(true), m_verklumpen(0.0),
      bmassen(true), bnummattangente(false), wolkenpolynomgrad(1), wolkenbbasisvollst(false),
      wolkenueberlappung_mpu(3.0), wolkenueberlappung_ipu(3.0), wolkenueberlappung_knou(3.0),
      zeitschrittverf(ZEITSCHRITTVERF_IMPLIZIT), newmark_beta(0.25), newmark_gamma(0.5), newmark_koeff(6),
      bstrafverf(true), strafparam(1e6), bkontakt(false), kontakt_grenzg(1.0), kontakt_straffunkparam{1e6},
      bneuberech(true), uebertragrichtstart(UEBERTRAGRICHTSTART_KNO_ZU_MPU), bstartbeschl(false) {}

void TSteuerparam::berechverf_lesen(Tdatein& ein) {
  const char* sw = "stw_berechverf";
  bool* schalter[] = {&bknokoerperfest, &bmpukoerperfest, &bipukoerperfest,
                      &bmpuaufkno,      &bipuaufmpu,      &bipuaufkno};
  for (int j = 0; j < 6; ++j)
    ein.eintrag(sw, *schalter[j], 1, j + 1, true);
  std::string wort[5];
  for (int j = 0; j < 5; ++j)
    ein.eintrag(sw, wort[j], 1, j + 7, true);
  ansatz_knou_zu_pu = MPM::_ANSATZ(wort[0].c_str());
  ansatz_mpu_zu_ipu = MPM::_ANSATZ(wort[1].c_str());
  ansatz_pu_zu_knou = MPM::_ANSATZ(wort[2].c_str());
  konfigur = _KONFIGUR(wort[3].c_str());
  verzerr = _VERZERR(wort[4].c_str());
  belenutzen = ansatz_knou_zu_pu == ANSATZ_ELE;

  auto pruefen = [&ein](bool fehlerhaft, const char* text) {
    if (!fehlerhaft) return;
    fehler(ein, text);
    *konsaus << "FEHLER " << text << "\n" << std::flush;
    abbruch();
  };
  const char* verfahren = "Fehler bei Auswahl Berechnungsverfahren";
  pruefen(bmpuaufkno && bknokoerperfest != bmpukoerperfest, verfahren);
  pruefen(bipuaufmpu && bipukoerperfest != bmpukoerperfest, verfahren);
  pruefen(bipuaufkno && bipukoerperfest != bknokoerperfest, verfahren);
  pruefen(ansatz_knou_zu_pu == ANSATZ_UNBEKANNT || ansatz_mpu_zu_ipu == ANSATZ_UNBEKANNT ||
              ansatz_pu_zu_knou == ANSATZ_UNBEKANNT,
          "Fehler bei Auswahl Berechnungsverfahren/Ansatz");
  pruefen(konfigur == KONFIGUR_UNBEKANNT, "Fehler bei Auswahl Berechnungsverfahren/Konfiguration");
  pruefen(verzerr == VERZERR_UNBEKANNT,
          "Fehler bei Auswahl Berechnungsverfahren/Theorie grosser oder kleiner Verzerrungen");
}

void TSteuerparam::_eingabe(Tdatein& ein, bool bbericht) {
  berechverf_lesen(ein);

  std::string wort;
  auto wort_lesen = [&ein, &wort](const char* sw, int j) {
    wort.clear();
    return ein.eintrag(sw, wort, 1, j, true);
  };
  wort_lesen("stw_dimension", 1);
  if (ELE::_DIM(wort.c_str()) != ELE::DIM_2D)
    fehler(ein, "Dimensionsangabe unzulaessig: " + wort + ", verwendet wird: " + ELE::str_DIM(ELE::DIM_2D));
  wort_lesen("stw_dimension", 2);
  RBDIM rb = _RBDIM(wort.c_str());
  if (rb == RBDIM_UNBEKANNT) {
    fehler(ein, "Dimensionsangabe unzulaessig: " + wort + ", verwendet wird: " + str_RBDIM(RBDIM_VZ0));
    rb = RBDIM_VZ0;
  }
  TDimensionen::setzen(ELE::DIM_2D, rb);

  const char* sw = "stw_zeitschrittverf";
  wort_lesen(sw, 1);
  zeitschrittverf = _ZEITSCHRITTVERF(wort.c_str());
  if (zeitschrittverf == ZEITSCHRITTVERF_UNBEKANNT) {
    fehler(ein, "Zeitschrittverfahren unzulaessig: " + wort +
                    ", verwendet wird: " + str_ZEITSCHRITTVERF(ZEITSCHRITTVERF_IMPLIZIT));
    zeitschrittverf = ZEITSCHRITTVERF_IMPLIZIT;
  }
  if (zeitschrittverf == ZEITSCHRITTVERF_IMPLIZIT) {
    ein.eintrag(sw, newmark_beta, 1, 2, true);
    ein.eintrag(sw, newmark_gamma, 1, 3, true);
    if (!(newmark_beta > 0.0)) {
      fehler(ein,
             "Newmark-Parameter beta <= 0 unzulaessig: " + text(newmark_beta) + ", verwendet wird: 0.25");
      newmark_beta = 0.25;
    }
  }

  ein.eintrag("stw_m", bmassen, 1, 1, true);
  if (zeitschrittverf == ZEITSCHRITTVERF_EXPLIZIT && !bmassen) {
    fehler(ein, "explizites Zeitschrittverfahren und !bmassen");
    bmassen = true;
  }
  ein.eintrag("stw_m", m_verklumpen, 1, 2, true);
  if (m_verklumpen < 0.0 || m_verklumpen > 1.0) {
    m_verklumpen = 0.0;
    fehler(ein,
           "Massenmatrixsteuerwert 0.<=verklumpen<=1. nicht erfuellt, verwendet wird:" + text(m_verklumpen));
  }

  ein.eintrag("stw_strafverf", bstrafverf, 1, 1, true);
  ein.eintrag("stw_strafverf", strafparam, 1, 2, true);
  ein.eintrag("stw_kontakt", bkontakt, 1, 1, true);
  ein.eintrag("stw_kontakt", kontakt_grenzg, 1, 2, true);
  if (!(kontakt_grenzg > 0.0 && std::isfinite(kontakt_grenzg))) {
    fehler(ein, "stw.kontakt_grenzg<=0, wird auf 1 gesetzt");
    kontakt_grenzg = 1.0;
  }
  // One value: the linear penalty law; two: with a quadratic transition.
  std::vector<double> liste;
  if (ein.eintrag("stw_kontakt", liste, 1, 3, true) && !liste.empty()) {
    if (liste.size() > 2)
      fehler(ein, "stw.kontakt_straffunkparam: " + text(liste.size()) +
                      " Werte, verwendet werden die ersten zwei");
    kontakt_straffunkparam.init(static_cast<int>(std::min<std::size_t>(liste.size(), 2)), liste.data());
  }
  if (!(kontakt_straffunkparam[0] > 0.0 && std::isfinite(kontakt_straffunkparam[0]))) {
    kontakt_straffunkparam[0] = 1e8;
    fehler(ein, "stw.kontakt_straffunkparam[0]<0, wird auf " + text(kontakt_straffunkparam[0]) + " gesetzt");
  }
  if (kontakt_straffunkparam.n == 2 &&
      !(kontakt_straffunkparam[1] > 0.0 && std::isfinite(kontakt_straffunkparam[1]))) {
    fehler(ein, "stw.kontakt_straffunkparam[1]<=0, verwendet wird die lineare Straffunktion");
    const double p0 = kontakt_straffunkparam[0];
    kontakt_straffunkparam.init({p0});
  }

  ein.eintrag("stw_nummattangente", bnummattangente, 1, 1, true);
  ein.eintrag("stw_nummattangente", dznumtan, 1, 2, true);
  sw = "stw_wolken";
  ein.eintrag(sw, wolkenpolynomgrad, 1, 1, true);
  if (wolkenpolynomgrad > 4) {
    fehler(ein, "0 <= Polynomgrad <=4 nicht erfuellt (Polynomgrad wird auf 1 gesetzt)");
    wolkenpolynomgrad = 1;
  }
  ein.eintrag(sw, wolkenbbasisvollst, 1, 2, true);
  double* ueberlappung[] = {&wolkenueberlappung_mpu, &wolkenueberlappung_ipu, &wolkenueberlappung_knou};
  for (int k = 0; k < 3; ++k) {
    ein.eintrag(sw, *ueberlappung[k], 1, k + 3, true);
    if (*ueberlappung[k] < 1.0) fehler(ein, "wolkenueberlappung" + text(k) + " > 1. nicht erfuellt");
  }

  ein.eintrag("stw_bneuberech", bneuberech, 1, 1, false);
  if (wort_lesen("stw_uebtragrichtstart", 1)) {
    uebertragrichtstart = _UEBERTRAGRICHTSTART(wort.c_str());
    if (uebertragrichtstart == UEBERTRAGRICHTSTART_UNBEKANNT) {
      fehler(ein, "Uebertragungsrichtung unzulaessig: " + wort +
                      ", verwendet wird: " + str_UEBERTRAGRICHTSTART(UEBERTRAGRICHTSTART_KNO_ZU_MPU));
      uebertragrichtstart = UEBERTRAGRICHTSTART_KNO_ZU_MPU;
    }
  }
  ein.eintrag("stw_startbeschl", bstartbeschl, 1, 1, true);
  if (bstartbeschl && !bmassen)
    fehler(ein, "Startbeschleunigungen aus dem Gleichgewicht nur mit Massen (stw_m W), hier ohne Wirkung");
  unsigned int* numplus[] = {&mpunumplus, &ipunumplus, &knonumplus, &elenumplus};
  for (int j = 0; j < 4; ++j)
    ein.eintrag("stw_numplus", *numplus[j], 1, j + 1, true);

  sw = "stw_t";
  ein.eintrag(sw, ta, 1, 1, true);
  ein.eintrag(sw, te, 1, 2, true);
  ein.eintrag(sw, dt, 1, 3, true);
  ein.eintrag(sw, Nt, 1, 4, true);
  ein.eintrag(sw, tta, 1, 5, true);
  ein.eintrag(sw, dtkontakt, 1, 6, true);

  sw = "stw_zstrg";
  ein.eintrag(sw, bzstrg, 1, 1, true);
  ein.eintrag(sw, zstrg_Nteile, 1, 2, true);
  if (zstrg_Nteile < maxteile_min) {
    fehler(ein, "Unterteilung der Zeitschrittsteuerung < 2 unzulaessig: " + text(zstrg_Nteile) +
                    ", verwendet wird: " + text(maxteile_min));
    zstrg_Nteile = maxteile_min;
  }
  ein.eintrag(sw, zstrg_Nstufen, 1, 3, true);
  if (zstrg_Nstufen > maxstufen) {
    fehler(ein, "Verfeinerungsstufen der Zeitschrittsteuerung > 50 unzulaessig: " + text(zstrg_Nstufen) +
                    ", verwendet wird: " + text(maxstufen));
    zstrg_Nstufen = maxstufen;
  }

  struct Ausgabe {
    const char* sw;
    bool& bimmer;
    double& dtaus;
    std::set<double>& taus;
    unsigned int& dNtaus;
    std::set<unsigned int>& Ntaus;
  };
  for (const Ausgabe& a : {Ausgabe{"stw_t_aus_dat", bimmerausdat, dtausdat, tausdat, dNtausdat, Ntausdat},
                           Ausgabe{"stw_t_aus_ktr", bimmerausktr, dtausktr, tausktr, dNtausktr, Ntausktr}}) {
    ein.eintrag(a.sw, a.bimmer, 1, 1, true);
    ein.eintrag(a.sw, a.dtaus, 1, 2, true);
    std::vector<double> zeiten;
    if (ein.eintrag(a.sw, zeiten, 1, 3, true)) a.taus = std::set<double>(zeiten.begin(), zeiten.end());
    ein.eintrag(a.sw, a.dNtaus, 1, 4, true);
    std::vector<unsigned> schritte;
    if (ein.eintrag(a.sw, schritte, 1, 5, true))
      a.Ntaus = std::set<unsigned int>(schritte.begin(), schritte.end());
  }

  liste.clear();
  if (ein.eintrag("stw_autodtparam", liste, 1, 1, true)) vorn_ueberschreiben(liste, autodtparam);

  MATHE::LOESER* loeser[] = {&gleichloes_bil, &gleichloes_mat, &gleichloes_ans};
  const char* loesersw[] = {"stw_gleichloes_bil", "stw_gleichloes_mat", "stw_gleichloes_ans"};
  for (int k = 0; k < 3; ++k) {
    if (!wort_lesen(loesersw[k], 1)) continue;
    *loeser[k] = MATHE::_LOESER(wort.c_str());
    if (*loeser[k] == MATHE::LOESER_UNBEKANNT) *loeser[k] = MATHE::LOESER_LU;
  }

  sw = "stw_bilanzit";
  ein.eintrag(sw, maxNbilanzit, 1, 1, true);
  ein.eintrag(sw, schranke_normdU, 1, 2, true);
  ein.eintrag(sw, schranke_normG, 1, 3, true);
  ein.eintrag(sw, bkonvkontrbilanzit, 1, 4, true);
  ein.eintrag(sw, minkonvbilanzit, 1, 5, true);
  sw = "stw_matit";
  ein.eintrag(sw, maxNmatit, 1, 1, true);
  ein.eintrag(sw, schranke_normdz, 1, 2, true);
  ein.eintrag(sw, schranke_normr, 1, 3, true);
  ein.eintrag(sw, bkonvkontrmatit, 1, 4, true);
  ein.eintrag(sw, minkonvmatit, 1, 5, true);
  sw = "stw_kontaktit";
  ein.eintrag(sw, maxNkontaktit, 1, 1, true);
  ein.eintrag(sw, schranke_kontakt, 1, 2, true);
  ein.eintrag(sw, bkonvkontrkontaktit, 1, 3, true);
  ein.eintrag(sw, minkonvkontaktit, 1, 4, true);
  ein.eintrag("stw_schrankefliess", schranke_fliessbed, 1, 1, true);
  ein.eintrag("stw_schrankewicht", schranke_wicht, 1, 1, true);
  ein.eintrag("stw_schmutzxa", schmutzxa, 1, 1, true);
  schmutzxa = std::fabs(schmutzxa);

  _init(bbericht);
  if (bbericht) *pck << "\n" << *this << "\n";
}

int TSteuerparam::_init(bool bbericht) {
  _init_zeiten(bbericht);
  _init_zeitschrittparam(dt);
  return 1;
}

int TSteuerparam::_init_zeiten(bool bbericht) {
  if (te < ta) std::swap(ta, te);
  // A range that does not fit a double counts as none.
  const double bereich = std::isfinite(te - ta) ? te - ta : 0.0;
  if (!std::isfinite(te - ta)) te = ta;
  if (!std::isfinite(dt)) dt = 0.0;

  const double dtschaetz = _init_autodtparam();
  if (dt <= eps && Nt > 0 && bereich > eps) dt = bereich / Nt;
  if (dt <= eps) dt = dtschaetz;
  if (!(dt > eps) || !std::isfinite(dt)) {
    *pcf << "Zeitschrittlaengenabschaetzung ungueltig: dtschaetz=" << dtschaetz << ", verwendet wird: dt=1\n";
    dt = 1.0;
  }
  if (dtkontakt <= eps) dtkontakt = dt;
  if (bereich <= eps) {
    if (Nt == 0) {
      Nt = 1;
      te = ta + dt;
    } else {
      te = ta + Nt * dt;
    }
  } else {
    Nt = schrittzahl(std::ceil((bereich - eps) / dt));
  }

  struct Intervall {
    double& dtaus;
    unsigned int& dNtaus;
  };
  for (const Intervall& a : {Intervall{dtausdat, dNtausdat}, Intervall{dtausktr, dNtausktr}}) {
    if (a.dtaus > 0.0) {
      if (a.dtaus < dt) a.dtaus = dt;
      a.dNtaus = schrittzahl(std::floor((a.dtaus - eps) / dt + 0.5));
    } else if (a.dNtaus == 0) {
      a.dNtaus = Nt;
      a.dtaus = te - ta;
    } else {
      a.dtaus = a.dNtaus * dt;
    }
  }
  if (bbericht) zeiten_berichten();
  return 1;
}

double TSteuerparam::_init_autodtparam() {
  const double l = autodtparam[0], b = autodtparam[1], s = autodtparam[3], rho = autodtparam[4],
               E = autodtparam[5], nu = autodtparam[6];
  const double c_L = std::sqrt(E / rho);
  const double c_Q = std::sqrt(E * b * b / (12.0 * rho));
  const double c_K = std::sqrt(E * (1.0 - nu) / ((1.0 + nu) * (1.0 - 2.0 * nu) * rho));
  const double k = 4.73 / l;
  const double T_L = 2.0 * pi / (pi / l * c_L);
  const double T_Q = 2.0 * pi / (c_Q * k * k);
  const double T_K = 2.0 * pi / (pi / s * c_K);
  const double dtschaetz = T_K / 4.0;
  *pck << "\nZeitschrittlaengenabschaetzung\n"
       << "Wellengeschwindigkeiten: c_L=" << c_L << ", c_Q=" << c_Q << ", c_K=" << c_K << "\n"
       << "Perioden: T_L=" << T_L << ", T_Q=" << T_Q << ", T_K=" << T_K << "\n"
       << "Zeitschrittlaengenabschaetzung: dtschaetz=" << dtschaetz << "\n";
  return dtschaetz;
}

int TSteuerparam::_init_zeitschrittparam(double h) {
  newmark_koeff.init(6, nullptr);
  if (h == 0.0) return 1;
  const double beta = newmark_beta, gamma = newmark_gamma;
  newmark_koeff[0] = 1.0 / (beta * h * h);
  newmark_koeff[1] = 1.0 / (beta * h);
  newmark_koeff[2] = (1.0 - 2.0 * beta) / (2.0 * beta);
  newmark_koeff[3] = gamma / (beta * h);
  newmark_koeff[4] = 1.0 - gamma / beta;
  newmark_koeff[5] = h * (1.0 - gamma / (2.0 * beta));
  return 1;
}

double TSteuerparam::_wolkenueberlappung(OBJTYP ot) const {
  switch (ot) {
  case OBJTYP_MPU:
    return wolkenueberlappung_mpu;
  case OBJTYP_IPU:
    return wolkenueberlappung_ipu;
  case OBJTYP_KNO:
    return wolkenueberlappung_knou;
  default:
    return 0.0;
  }
}

ANSATZ TSteuerparam::_ANSATZ(OBJTYP von, OBJTYP nach) const {
  if (von == OBJTYP_KNO && (nach == OBJTYP_MPU || nach == OBJTYP_IPU || nach == OBJTYP_KNO))
    return ansatz_knou_zu_pu;
  if ((von == OBJTYP_MPU || von == OBJTYP_IPU) && nach == OBJTYP_KNO) return ansatz_pu_zu_knou;
  if (von == OBJTYP_MPU && nach == OBJTYP_IPU) return ansatz_mpu_zu_ipu;
  return ANSATZ_UNBEKANNT;
}

namespace {
template <class T> std::string mengentext(const std::set<T>& menge) {
  std::ostringstream s;
  for (const T& x : menge)
    s << ' ' << _str(x, 10);
  return s.str();
}
} // namespace

void TSteuerparam::zeiten_berichten() const {
  *pck << "\nZeiten\n"
       << "dt       =" << _str(dt, 10) << "\n"
       << "Nt       =" << _str(Nt, 10) << "\n"
       << "ta       =" << _str(ta, 10) << "\n"
       << "te       =" << _str(te, 10) << "\n"
       << "dtausdat =" << _str(dtausdat, 10) << "\n"
       << "dtausktr =" << _str(dtausktr, 10) << "\n"
       << "tausdat  =" << mengentext(tausdat) << "\n"
       << "tausktr  =" << mengentext(tausktr) << "\n"
       << "dNtausdat=" << _str(dNtausdat, 10) << "\n"
       << "dNtausktr=" << _str(dNtausktr, 10) << "\n"
       << "Ntausdat =" << mengentext(Ntausdat) << "\n"
       << "Ntausktr =" << mengentext(Ntausktr) << "\n";
}

namespace {
// One echo line: the name padded to 24 characters, "=", the value, the comment.
class Echo {
public:
  explicit Echo(std::ostream& os) : os_(os) {}
  Echo& zahl(const char* name, double x, const char* kommentar) {
    return zeile(name, _str(x, 10), kommentar);
  }
  Echo& zahl(const char* name, unsigned int x, const char* kommentar) {
    return zeile(name, _str(x, 10), kommentar);
  }
  Echo& schalter(const char* name, bool b, const char* kommentar) {
    return zeile(name, _str(b, 10), kommentar);
  }
  Echo& wort(const char* name, const std::string& w, const char* kommentar) {
    return zeile(name, " " + w, kommentar);
  }
  Echo& liste(const char* name, const std::string& text, const char* kommentar) {
    return zeile(name, text, kommentar);
  }
  Echo& leer() {
    os_ << "\n";
    return *this;
  }

private:
  Echo& zeile(const char* name, const std::string& wert, const char* kommentar) {
    std::string n = name;
    if (n.size() < 24) n.resize(24, ' ');
    os_ << n << "=" << wert;
    if (kommentar && *kommentar) os_ << " (" << kommentar << ")";
    os_ << "\n";
    return *this;
  }
  std::ostream& os_;
};

std::string vektortext(const TVM::VekR& v) {
  std::ostringstream s;
  for (int i = 0; i < v.n; ++i)
    s << ' ' << _str(v[i], 10);
  return s.str();
}
} // namespace

std::ostream& operator<<(std::ostream& os, const TSteuerparam& s) {
  os << "STEUERWERTE\n";
  Echo e(os);
  e.zahl("mpunumplus", s.mpunumplus, "Zahl, die zu jeder Materialpunktnummer addiert wird")
      .zahl("ipunumplus", s.ipunumplus, "Zahl, die zu jeder Integrationspunktnummer addiert wird")
      .zahl("knonumplus", s.knonumplus, "Zahl, die zu jeder Knotennummer addiert wird")
      .zahl("elenumplus", s.elenumplus, "Zahl, die zu jeder Elementnummer addiert wird")
      .leer()
      .zahl("ta", s.ta, "Berechnungsanfang")
      .zahl("te", s.te, "Berechnungsende")
      .zahl("tta", s.tta, "Nummer des ersten Zeitschritts")
      .zahl("dt", s.dt, "Zeitschrittlaenge")
      .zahl("dtkontakt", s.dtkontakt, "Zeitschrittlaenge bei Kontakt")
      .zahl("Nt", s.Nt, "Zeitschrittanzahl")
      .leer()
      .schalter("bzstrg", s.bzstrg, "Zeitschrittsteuerung?")
      .zahl("zstrg_Nteile", s.zstrg_Nteile, "Unterteilung eines Zeitschritts")
      .zahl("zstrg_Nstufen", s.zstrg_Nstufen, "maximale Verfeinerungsstufe")
      .leer()
      .schalter("bimmerausdat", s.bimmerausdat, "Datenausgabe in jedem Zeitschritt?")
      .schalter("bimmerausktr", s.bimmerausktr, "Kontrollausgabe in jedem Zeitschritt?")
      .zahl("dtausdat", s.dtausdat, "Zeitdifferenz der Datenausgaben")
      .zahl("dtausktr", s.dtausktr, "Zeitdifferenz der Kontrollausgaben")
      .zahl("dNtausdat", s.dNtausdat, "Zeitschrittdifferenz der Datenausgaben")
      .zahl("dNtausktr", s.dNtausktr, "Zeitschrittdifferenz der Kontrollausgaben")
      .liste("Ntausdat", mengentext(s.Ntausdat), "Zeitschritte der Datenausgaben")
      .liste("Ntausktr", mengentext(s.Ntausktr), "Zeitschritte der Kontrollausgaben")
      .leer()
      .liste("autodtparam", vektortext(s.autodtparam),
             "l, b, d, s, rho, E, nu der Zeitschrittlaengenabschaetzung")
      .leer()
      .wort("gleichloes_bil", MATHE::str_LOESER(s.gleichloes_bil), "Gleichungsloeser fuer Bilanzgleichungen")
      .wort("gleichloes_mat", MATHE::str_LOESER(s.gleichloes_mat),
            "Gleichungsloeser fuer Materialgleichungen")
      .wort("gleichloes_ans", MATHE::str_LOESER(s.gleichloes_ans),
            "Gleichungsloeser fuer Ansatzfunktionsgleichungen")
      .leer()
      .zahl("maxNbilanzit", s.maxNbilanzit, "maximale Anzahl aeusserer Iterationen")
      .zahl("schranke_normdU", s.schranke_normdU, "Schranke fuer die Norm des Verschiebungszuwachses")
      .zahl("schranke_normG", s.schranke_normG, "Schranke fuer die Norm des Residuums")
      .schalter("bkonvkontrbilanzit", s.bkonvkontrbilanzit, "Konvergenzkontrolle der aeusseren Iteration?")
      .zahl("minkonvbilanzit", s.minkonvbilanzit, "minimale Konvergenzrate der aeusseren Iteration")
      .leer()
      .zahl("maxNmatit", s.maxNmatit, "maximale Anzahl der Materialiterationen")
      .zahl("schranke_normdz", s.schranke_normdz,
            "Schranke fuer die Norm des Zuwachses der Zustandsvariablen")
      .zahl("schranke_normr", s.schranke_normr, "Schranke fuer die Norm des Materialresiduums")
      .schalter("bkonvkontrmatit", s.bkonvkontrmatit, "Konvergenzkontrolle der Materialiteration?")
      .zahl("minkonvmatit", s.minkonvmatit, "minimale Konvergenzrate der Materialiteration")
      .leer()
      .zahl("schranke_kontakt", s.schranke_kontakt, "Schranke der Kontaktiteration")
      .schalter("bkonvkontrkontaktit", s.bkonvkontrkontaktit, "Konvergenzkontrolle der Kontaktiteration?")
      .zahl("minkonvkontaktit", s.minkonvkontaktit, "minimale Konvergenzrate der Kontaktiteration")
      .leer()
      .zahl("schranke_normeps", s.schranke_normeps, "Schranke fuer Verzerrungsnormen")
      .zahl("schranke_fliessbed", s.schranke_fliessbed, "Schranke fuer Fliessbedingung")
      .zahl("schranke_wicht", s.schranke_wicht, "nicht verwendet")
      .zahl("schmutzxa", s.schmutzxa, "Amplitude der Stoerung der Materialpunktlagen")
      .zahl("dznumtan", s.dznumtan, "Steuerwert der numerischen Materialtangente")
      .leer()
      .schalter("bmpukoerperfest", s.bmpukoerperfest, "Materialpunkte     koerperfest?")
      .schalter("bipukoerperfest", s.bipukoerperfest, "Integrationspunkte koerperfest?")
      .schalter("bknokoerperfest", s.bknokoerperfest, "Knoten             koerperfest?")
      .schalter("bmpuaufkno", s.bmpuaufkno, "Materialpunkte     liegen auf Knoten?")
      .schalter("bipuaufmpu", s.bipuaufmpu, "Integrationspunkte liegen auf Materialpunkten?")
      .schalter("bipuaufkno", s.bipuaufkno, "Integrationspunkte liegen auf Knoten?")
      .wort("ansatz_knou_zu_pu", str_ANSATZ(s.ansatz_knou_zu_pu), "Ansatz von Knotenunbekannten zu Punkten")
      .wort("ansatz_mpu_zu_ipu", str_ANSATZ(s.ansatz_mpu_zu_ipu),
            "Ansatz von Materialpunkten zu Integrationspunkten")
      .wort("ansatz_pu_zu_knou", str_ANSATZ(s.ansatz_pu_zu_knou), "Ansatz von Punkten zu Knotenunbekannten")
      .wort("konfigur", str_KONFIGUR(s.konfigur), "Konfiguration der schwachen Form")
      .wort("verzerr", str_VERZERR(s.verzerr), "Theorie grosser oder kleiner Verzerrungen")
      .schalter("belenutzen", s.belenutzen, "Elemente werden genutzt?")
      .leer()
      .zahl("m_verklumpen", s.m_verklumpen, "Anteil der konzentrierten Massenmatrix")
      .schalter("bmassen", s.bmassen, "Massen beruecksichtigen?")
      .schalter("bnummattangente", s.bnummattangente, "numerische Materialtangente?")
      .leer()
      .zahl("wolkenpolynomgrad", s.wolkenpolynomgrad, "Polynomgrad der Wolkenbasis")
      .schalter("wolkenbbasisvollst", s.wolkenbbasisvollst, "Basis vollstaendig bis Polynomgrad?")
      .zahl("wolkenueberlappung_mpu", s.wolkenueberlappung_mpu, "Einflussbereich der Materialpunkte")
      .zahl("wolkenueberlappung_ipu", s.wolkenueberlappung_ipu, "Einflussbereich der Integrationspunkte")
      .zahl("wolkenueberlappung_knou", s.wolkenueberlappung_knou, "Einflussbereich der Knotenunbekannten")
      .leer()
      .wort("zeitschrittverf", str_ZEITSCHRITTVERF(s.zeitschrittverf), "Zeitschrittverfahren")
      .zahl("newmark_beta", s.newmark_beta, "Newmark-Parameter beta")
      .zahl("newmark_gamma", s.newmark_gamma, "Newmark-Parameter gamma")
      .leer()
      .schalter("bstrafverf", s.bstrafverf, "alle wesentlichen RBs mit Strafverfahren?")
      .zahl("strafparam", s.strafparam, "Strafparameter")
      .schalter("bkontakt", s.bkontakt, "Kontakt?")
      .zahl("kontakt_grenzg", s.kontakt_grenzg, "Grenzabstand fuer Kontakt")
      .liste("kontakt_straffunkparam", vektortext(s.kontakt_straffunkparam), "Straffunktionsparameter")
      .leer()
      .schalter("bneuberech", s.bneuberech, "Neuberechnung?")
      .wort("uebertragrichtstart", str_UEBERTRAGRICHTSTART(s.uebertragrichtstart),
            "Datenuebertragungsrichtung beim Start")
      .schalter("bstartbeschl", s.bstartbeschl, "Startbeschleunigungen aus dem Gleichgewicht?");
  return os;
}

} // namespace MPM
