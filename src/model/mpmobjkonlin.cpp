#include "model/mpmobjkonlin.h"

#include <cmath>
#include <ostream>
#include <set>
#include <string>

#include "frame/meldung.h"
#include "frame/mix.h"
#include "frame/mpmextern.h"
#include "input/mpmhilf.h"
#include "model/mpmobjpunkt.h"

namespace MPM {

namespace {
// The point of a support-point type by its (shifted) number, or null.
TPunkt* stuetzpunkt(TModell* mpm, OBJTYP ot, unsigned int num) {
  int nr = 0;
  if (!nummer_plus(num, 0, nr)) return nullptr;
  TObjbasis* o = ot == OBJTYP_KNO ? mpm->kno.suchen(nr) : ot == OBJTYP_MPU ? mpm->mpu.suchen(nr) : nullptr;
  return o && o->objtyp == ot ? PU_Z(o) : nullptr;
}
} // namespace

TKontaktlinie::TKontaktlinie(TModell* m, int n, OBJTYP puobjtyp, KONLINTYP typ,
                             std::vector<unsigned int>& punum)
    : TObjbasis(m, OBJTYP_KONLIN, n, 0, OBJSTATUS_AKTIV), stuetzputyp(puobjtyp), konlintyp(typ) {
  if (konlintyp == KONLINTYP_LIN) {
    *pcf << "konlin(" << num << "): Kontaktlinientyp lin nicht implementiert (lin->splkno)\n";
    konlintyp = KONLINTYP_SPLKNO;
  }
  boffen = punum.empty() || punum.front() != punum.back();
  const std::size_t Nliste = punum.size() - (boffen || punum.empty() ? 0 : 1);
  for (std::size_t i = 0; i < Nliste; ++i)
    stuetzpu.push_back(stuetzpunkt(mpm, stuetzputyp, punum[i]));
  const int N = static_cast<int>(stuetzpu.size());
  Nstuetzk = N;
  if (N < 2) {
    *pcf << "FEHLER in <TKontaktlinie::TKontaktlinie(...)>: Zu wenig Stuetzknoten Nstuetzk=" << N << "<2\n";
    abbruch();
    return;
  }

  for (int i = 0; i + 1 < N; ++i)
    stuetzele.push_back(std::make_unique<TStuetzelement>(++mpm->Nstuetzele, stuetzpu[i], stuetzpu[i + 1]));
  if (!boffen)
    stuetzele.push_back(std::make_unique<TStuetzelement>(++mpm->Nstuetzele, stuetzpu[N - 1], stuetzpu[0]));
  Nstuetze = static_cast<int>(stuetzele.size());

  auto S = [this](int i) { return stuetzele[i].get(); };
  auto am_punkt = [this](TStuetzelement* e1, TStuetzelement* e2) {
    konkno.push_back(std::make_unique<TKontaktknoten_kno>(e1, e2));
  };
  auto auf_element = [this](TStuetzelement* e, double xi) {
    konkno.push_back(std::make_unique<TKontaktknoten_ele>(e, xi));
  };
  if (konlintyp == KONLINTYP_SPLELE) {
    if (!boffen) {
      for (int i = 0; i < Nstuetze; ++i)
        auf_element(S(i), 0.0);
    } else {
      // The outer ends of the first and last elements, the midpoints of the inner ones.
      auf_element(S(0), -1.0);
      for (int i = 1; i + 1 < Nstuetze; ++i)
        auf_element(S(i), 0.0);
      auf_element(S(Nstuetze - 1), 1.0);
    }
  } else {
    am_punkt(boffen ? nullptr : S(Nstuetze - 1), S(0));
    for (int i = 1; i < Nstuetze; ++i)
      am_punkt(S(i - 1), S(i));
    if (boffen) am_punkt(S(Nstuetze - 1), nullptr);
  }
  Nk = static_cast<int>(konkno.size());

  for (int i = 0; i + 1 < Nk; ++i)
    konele.push_back(std::make_unique<TKontaktelement>(mpm, konkno[i].get(), konkno[i + 1].get()));
  if (!boffen)
    konele.push_back(std::make_unique<TKontaktelement>(mpm, konkno[Nk - 1].get(), konkno[0].get()));
  Ne = static_cast<int>(konele.size());
  init();
}

void TKontaktlinie::init() {
  for (const auto& e : stuetzele)
    e->init();
  for (const auto& k : konkno)
    k->init();
  for (const auto& e : konele)
    e->init();
}

bool TKontaktlinie::kontakt(TPunkt* pu, double& g, TVM::VekR& n) const {
  const double grenzg = mpm->stw.kontakt_grenzg;
  g = grenzg;
  n.init(2, nullptr);
  bool bgefunden = false;
  TVM::VekR ni;
  for (const auto& e : konele) {
    double gi = grenzg;
    if (!e->kontakt(pu, gi, ni)) continue;
    if (!bgefunden || std::fabs(gi) < std::fabs(g)) {
      g = gi;
      n = ni;
    }
    bgefunden = true;
  }
  return bgefunden;
}

TKontaktlinie* konlin_erzeugen(TModell* mpm, int num, OBJTYP puobjtyp, KONLINTYP typ,
                               std::vector<unsigned int>& punum) {
  auto fehler = [mpm](const std::string& text) {
    *pcf << mpm->_str_eindatpos() << "\n" << text;
    return nullptr;
  };
  if (num >= 0 && mpm->konlin.suchen(num))
    return fehler("Kontaktliniennummer bereits vorhanden: " + std::to_string(num) + "\n");
  if (puobjtyp != OBJTYP_KNO && puobjtyp != OBJTYP_MPU)
    return fehler(std::string("Unzulaessiger Stuetzpunkttyp: ") + str_OBJTYP(puobjtyp) + "\n");
  if (typ != KONLINTYP_LIN && typ != KONLINTYP_SPLKNO && typ != KONLINTYP_SPLELE)
    return fehler("Unzulaessiger Kontaktlinientyp\n");

  // Every point once, so that the line never has more elements than the model
  // has points; only a last number equal to the first closes the line. A long
  // generated list names only its first refused numbers.
  constexpr std::size_t maxmeldungen = 10;
  const unsigned int plus = mpm->_numplus(puobjtyp);
  std::vector<unsigned int> gueltig;
  std::set<unsigned int> aufgenommen;
  std::size_t Nabgelehnt = 0;
  auto ablehnen = [&](const char* grund, unsigned int p) {
    if (++Nabgelehnt <= maxmeldungen)
      fehler(std::string("FEHLER in <konlin_erzeugen(...)>: ") + grund + " p=" + std::to_string(p) + "\n");
  };
  for (std::size_t i = 0; i < punum.size(); ++i) {
    int nr = 0;
    const bool bverschoben = nummer_plus(punum[i], plus, nr);
    const unsigned int verschoben = bverschoben ? static_cast<unsigned int>(nr) : punum[i];
    if (!bverschoben || !stuetzpunkt(mpm, puobjtyp, verschoben)) {
      ablehnen("Ungueltige Punktnummer", verschoben);
      continue;
    }
    const bool bschliesst = i + 1 == punum.size() && !gueltig.empty() && verschoben == gueltig.front();
    if (!aufgenommen.insert(verschoben).second && !bschliesst) {
      ablehnen("Punktnummer mehrfach", verschoben);
      continue;
    }
    gueltig.push_back(verschoben);
  }
  if (Nabgelehnt > maxmeldungen)
    fehler("FEHLER in <konlin_erzeugen(...)>: " + std::to_string(Nabgelehnt - maxmeldungen) +
           " weitere Punktnummern abgelehnt\n");
  punum = gueltig;
  if (punum.size() < 2)
    return fehler("FEHLER in <konlin_erzeugen(...)>: Zu wenig Stuetzpunkte Nstuetzp=" +
                  std::to_string(punum.size()) + "\n");

  TKontaktlinie* kl = mpm->_anlegen<TKontaktlinie>(mpm, num, puobjtyp, typ, punum);
  mpm->konlin.einfuegen(static_cast<int>(kl->num), kl);
  // Only the support points of a line that exists leave the contact search.
  for (TPunkt* p : kl->stuetzpu)
    if (p) p->bkontaktpunkt = true;
  return kl;
}

std::ostream& operator<<(std::ostream& os, const TKontaktlinie& kl) {
  os << static_cast<const TObjbasis&>(kl) << ", stuetzputyp=" << str_OBJTYP(kl.stuetzputyp)
     << ", konlintyp=" << str_KONLINTYP(kl.konlintyp) << ", boffen=" << _str(kl.boffen, 1)
     << ", Nstuetzk=" << kl.Nstuetzk << ", Nstuetze=" << kl.Nstuetze << ", Nk=" << kl.Nk << ", Ne=" << kl.Ne
     << "\n";
  os << "Stuetzknoten:\n";
  for (const TPunkt* p : kl.stuetzpu)
    os << static_cast<const TObjbasis*>(p) << "\n";
  os << "Stuetzelemente:\n";
  for (const auto& e : kl.stuetzele)
    os << *e << "\n";
  os << "Kontaktknoten:\n";
  for (const auto& k : kl.konkno)
    os << *k << "\n";
  os << "Kontaktelemente:\n";
  for (const auto& e : kl.konele)
    os << *e << "\n";
  return os;
}

} // namespace MPM
