// Wall time per pass of a run of mpm: the start phase and the implicit step of
// Tmpm (_steuerung, _zeitschritt) done pass by pass with a clock around each.
// It mirrors those two routines for the implicit method without step control;
// keep it in step with them. Built and run by bench/passzeiten.sh.
//
// Usage: passzeiten BASENAME [--wiederholt N]   (reads BASENAME.mpm, writes the
// run files)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "frame/mpmextern.h"
#include "input/mpmdefs.h"
#include "solver/mpm.h"

using namespace MPM;
using Uhr = std::chrono::steady_clock;

namespace {

std::map<std::string, double> zeiten; // seconds per pass

// Adds the time from its construction to its end to the pass `name`.
struct Messung {
  explicit Messung(const char* n) : name(n) {}
  ~Messung() { zeiten[name] += std::chrono::duration<double>(Uhr::now() - anfang).count(); }
  const char* name;
  Uhr::time_point anfang = Uhr::now();
};

template <class F> auto gemessen(const char* name, F f) {
  Messung m(name);
  return f();
}

struct Lauf : Tmpm {
  bool _zeitschritt() override {
    gemessen("Ausgabe", [&] { return _bausgabe(), _ausgabe(ZEITPU_ZEITSCHRITTANFANG); });
    stw._init_zeitschrittparam(dt);
    gemessen("Netz und Ansaetze", [&] {
      _netz_init_mpu();
      if (stw.konfigur == KONFIGUR_MOMKONF || _punkte_wandern()) _L_G();
      _netz_init_knou_ipu();
      return 0;
    });
    gemessen("Lasten", [&] { return _kraftrbs(); });
    bkonv = false;
    jj = 0;
    const auto zu_grob = [&] { return bkont && dt > stw.dtkontakt; };
    while (!(bkonv && jj > 1)) {
      gemessen("Ausgabe", [&] { return _ausgabe(ZEITPU_ITERATIONSSCHRITTANFANG); });
      gemessen("Lasten", [&] { return _verschiebungsrbs(); });
      _kontakt_geometrie();
      if (zu_grob()) return _zeitschrittfehler();
      _kontakt_bedingungen();
      if (stw.konfigur == KONFIGUR_MOMKONF) gemessen("Netz und Ansaetze", [&] { return _L_G(), 0; });
      if (!gemessen("Punkte und Assemblierung", [&] { return _verzerrungen_material_beitraege(); }))
        return _zeitschrittfehler();
      if (!gemessen("Loesung", [&] { return _U_Ut_Utt(); })) return _zeitschrittfehler();
      bknoten_sekundaer = (bkonv && jj >= 1) || stw.ansatz_knou_zu_pu == ANSATZ_WOLKEN;
      gemessen("Transfers", [&] { return _transfer_ergebnisse(); });
      bknoten_sekundaer = true;
      if (stw.konfigur == KONFIGUR_MOMKONF && stw.ansatz_knou_zu_pu == ANSATZ_WOLKEN) _verzerrungen_knou();
      _kontakt_kontrolle(true);
      if (zu_grob()) return _zeitschrittfehler();
      gemessen("Ausgabe", [&] { return _ausgabe(ZEITPU_ITERATIONSSCHRITTENDE); });
      ++jj;
      ++jjges;
    }
    gemessen("Ausgabe", [&] { return _ausgabe(ZEITPU_ZEITSCHRITTENDE); });
    gemessen("Speichern", [&] { return _umspeichern(RICHTUNG_VORWAERTS); });
    return true;
  }
};

} // namespace

// The per-iteration passes again on the finished model, each `n` times; the
// shortest time of each, in ms per pass and in ns per material point. The
// shortest time is the least disturbed by other work on the machine; the
// passes find the data of the pass before them in the caches, as in a run.
// Returns the seconds it took, which the totals leave out.
double wiederholt(Tmpm& m, int n) {
  const Uhr::time_point anfang = Uhr::now();
  const double Nmpu = static_cast<double>(m.mpu.size());
  const auto kuerzeste = [&](const char* name, auto f) {
    double t = 1e30;
    for (int k = 0; k < n; ++k) {
      const Uhr::time_point a = Uhr::now();
      f();
      t = std::min(t, std::chrono::duration<double>(Uhr::now() - a).count());
    }
    std::fprintf(stderr, "%-34s %8.3f ms %8.1f ns per point\n", name, 1e3 * t, 1e9 * t / Nmpu);
  };
  kuerzeste("strains, material, assembly", [&] { m._verzerrungen_material_beitraege(); });
  kuerzeste("results to nodes and points", [&] { m._transfer_ergebnisse(); });
  kuerzeste("  of which system to nodes", [&] { m._transfer_sys_zu_knou(); });
  kuerzeste("  of which secondary to nodes",
            [&] { m._transfer(OBJTYP_MPU, OBJTYP_KNO, ZUSTGROE_SEKUNDAER); });
  kuerzeste("solution (K unchanged)", [&] { m._U_Ut_Utt(); });
  kuerzeste("store", [&] { m._umspeichern(RICHTUNG_VORWAERTS); });
  return std::chrono::duration<double>(Uhr::now() - anfang).count();
}

int main(int argc, char** argv) {
  const int Nwiederholt = argc == 4 && std::string(argv[2]) == "--wiederholt" ? std::atoi(argv[3]) : 0;
  if (argc != 2 && Nwiederholt <= 0) {
    std::fprintf(stderr, "usage: passzeiten BASENAME [--wiederholt N]\n");
    return 2;
  }
  const Uhr::time_point anfang = Uhr::now();
  stream_start(argv[1]);
  int iterationen = 0;
  double Twiederholt = 0.0;
  try {
    auto lauf = std::make_unique<Lauf>();
    Lauf& m = *lauf;
    gemessen("Ausgabe", [&] { return m._ausgabe(ZEITPU_ANFANG); });
    gemessen("Eingabe", [&] { return m._eingabe_start(), 0; });
    gemessen("Netz und Ansaetze", [&] { return m._netza(), m._netz_init_mpu(), m._L_G(), 0; });
    gemessen("Transfers", [&] {
      if (m.stw.uebertragrichtstart == UEBERTRAGRICHTSTART_KNO_ZU_MPU) {
        m._transfer(OBJTYP_KNO, OBJTYP_MPU, ZUSTGROE_PRIMAER);
      } else {
        m._transfer(OBJTYP_MPU, OBJTYP_KNO, ZUSTGROE_PRIMAER);
      }
      return m._transfer_knou_zu_sys();
    });
    gemessen("Speichern", [&] { return m._umspeichern(RICHTUNG_VORWAERTS); });
    gemessen("Ausgabe", [&] { return m._ausgabe(ZEITPU_STARTWERTE); });
    m._zeitschrittsteuerung();
    gemessen("Ausgabe", [&] { return m._ausgabe(ZEITPU_ENDE); });
    iterationen = m.jjges;
    if (Nwiederholt > 0) Twiederholt = wiederholt(m, Nwiederholt);
    gemessen("Freigabe", [&] { return lauf.reset(), 0; });
  } catch (...) {
    std::fprintf(stderr, "passzeiten: run stopped\n");
  }
  stream_stop();
  const double gesamt = std::chrono::duration<double>(Uhr::now() - anfang).count() - Twiederholt;
  // On standard error: standard output carries the progress display.
  std::fprintf(stderr, "equilibrium iterations: %d\n", iterationen);
  for (const auto& [name, s] : zeiten)
    std::fprintf(stderr, "%-20s %8.3f s %6.1f %%\n", name.c_str(), s, 100.0 * s / gesamt);
  std::fprintf(stderr, "%-20s %8.3f s\n", "total", gesamt);
  return 0;
}
