#pragma once
// Control values of a run: point sets and transfers, time range and step,
// output times, iteration limits and tolerances, solvers, mass, penalty,
// contact and cloud settings. Owned by the simulation object; filled once
// from the "stw_" lines of the input file and completed by `_init`.

#include <iosfwd>
#include <set>

#include "input/mpmdefs.h"
#include "numerics/loeser.h"
#include "numerics/tvm.h"

class Tdatein;

namespace MPM {

class TSteuerparam {
public:
  TSteuerparam();

  // Reads and checks the control lines in their fixed order, then `_init`;
  // with `bbericht` (control output due), the echo goes to the control log. Input errors
  // are logged and corrected; a contradictory method choice asks whether to stop.
  void _eingabe(Tdatein& ein, bool bbericht = true);

  int _init(bool bbericht);
  // Completes the time grid and the output intervals; returns 1.
  int _init_zeiten(bool bbericht);
  // Time-step estimate from `autodtparam`, reported to the control log.
  double _init_autodtparam();
  // Newmark coefficients a0..a5 for the step length dt (all 0 for dt = 0); returns 1.
  int _init_zeitschrittparam(double dt);
  double _wolkenueberlappung(OBJTYP ot) const;
  // Approximation kind that carries values between two point kinds; 0 when none.
  ANSATZ _ANSATZ(OBJTYP von, OBJTYP nach) const;

  unsigned int mpunumplus, ipunumplus, knonumplus, elenumplus;
  double ta, te;
  unsigned int tta;
  double dt, dtkontakt;
  unsigned int Nt;
  bool bzstrg;
  unsigned int zstrg_Nteile, zstrg_Nstufen;
  bool bimmerausdat, bimmerausktr;
  double dtausdat, dtausktr;
  std::set<double> tausdat, tausktr;
  unsigned int dNtausdat, dNtausktr;
  std::set<unsigned int> Ntausdat, Ntausktr;
  TVM::VekR autodtparam; // l, b, d, s, rho, E, nu
  MATHE::LOESER gleichloes_bil, gleichloes_mat, gleichloes_ans;
  unsigned int maxNbilanzit;
  double schranke_normdU, schranke_normG;
  bool bkonvkontrbilanzit;
  double minkonvbilanzit;
  unsigned int maxNmatit;
  double schranke_normdz, schranke_normr;
  bool bkonvkontrmatit;
  double minkonvmatit;
  unsigned int maxNkontaktit;
  double schranke_kontakt;
  bool bkonvkontrkontaktit;
  double minkonvkontaktit;
  double schranke_normeps, schranke_fliessbed, schranke_wicht, schmutzxa, dznumtan;
  bool bmpukoerperfest, bipukoerperfest, bknokoerperfest;
  bool bmpuaufkno, bipuaufmpu, bipuaufkno;
  ANSATZ ansatz_knou_zu_pu, ansatz_mpu_zu_ipu, ansatz_pu_zu_knou;
  KONFIGUR konfigur;
  VERZERR verzerr;
  bool belenutzen;
  double m_verklumpen;
  bool bmassen;
  bool bnummattangente;
  unsigned int wolkenpolynomgrad;
  bool wolkenbbasisvollst;
  double wolkenueberlappung_mpu, wolkenueberlappung_ipu, wolkenueberlappung_knou;
  ZEITSCHRITTVERF zeitschrittverf;
  double newmark_beta, newmark_gamma;
  TVM::VekR newmark_koeff; // a0 .. a5
  bool bstrafverf;
  double strafparam;
  bool bkontakt;
  double kontakt_grenzg;
  TVM::VekR kontakt_straffunkparam;
  bool bneuberech;
  UEBERTRAGRICHTSTART uebertragrichtstart;
  bool bstartbeschl; // start accelerations from the balance at the start time

private:
  void berechverf_lesen(Tdatein& ein);
  void zeiten_berichten() const;
};

// The "STEUERWERTE" echo.
std::ostream& operator<<(std::ostream& os, const TSteuerparam& stw);

} // namespace MPM
