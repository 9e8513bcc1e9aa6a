#include "solver/mpmobjsys.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ostream>

#include "approx/mpmans.h"
#include "element/eleans.h"
#include "frame/meldung.h"
#include "frame/mpmextern.h"
#include "input/mpmdimensionen.h"
#include "model/mpmobjele.h"
#include "model/mpmobjipu.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmpu.h"
#include "numerics/kontimech.h"
#include "numerics/loeser.h"
#include "solver/mpm.h"

namespace MPM {

namespace {
constexpr double schranke = 1e-6;
}

TSystem::TSystem(Tmpm* m) : mpm(m) {}
TSystem::~TSystem() = default;

bool TSystem::_init() {
  const int d1 = TDimensionen::dim1;
  Unbekanntenknoten.clear();
  for (const auto& eintrag : mpm->knou)
    Unbekanntenknoten.push_back(KNO_Z(eintrag.second));
  Nkno = static_cast<int>(Unbekanntenknoten.size());
  N = d1 * Nkno;
  N0 = N1 = N2 = 0;
  Nstraf = 0.0;
  ++Nnummerierungen_;
  for (int k = 0; k < Nkno; ++k) {
    TKnoten* kn = Unbekanntenknoten[k];
    kn->sysposkno = k;
    kn->sysposfhg.init(d1, nullptr);
    for (int i = 0; i < d1; ++i)
      kn->sysposfhg[i] = d1 * k + i;
  }
  if (mpm->bausktr) {
    *pck << "\n"
         << "System: N=" << N << ", Nkno=" << Nkno << "\n\n"
         << "Unbekanntenknoten: Positionen der Knoten, Positionen der Knotengroessen in System\n";
    for (const TKnoten* kn : Unbekanntenknoten)
      *pck << *kn << ", sysposkno=" << kn->sysposkno << ", sysposfhg=" << kn->sysposfhg << "\n";
  }

  // Any two nodes of one element may meet in the support of a point of that
  // element, whichever cell the point is in.
  std::vector<std::vector<int>> nachbarn(Nkno);
  for (int k = 0; k < Nkno; ++k)
    nachbarn[k].push_back(k);
  std::vector<int> knoten;
  for (const auto& eintrag : mpm->ele) {
    knoten.clear();
    for (TPunkt* p : ELE_Z(eintrag.second)->kno) {
      const TKnoten* kn = dynamic_cast<const TKnoten*>(p);
      if (kn && kn->sysposkno >= 0 && kn->sysposkno < Nkno && Unbekanntenknoten[kn->sysposkno] == kn)
        knoten.push_back(kn->sysposkno);
    }
    for (int a : knoten)
      nachbarn[a].insert(nachbarn[a].end(), knoten.begin(), knoten.end());
  }
  for (std::vector<int>& liste : nachbarn) {
    std::sort(liste.begin(), liste.end());
    liste.erase(std::unique(liste.begin(), liste.end()), liste.end());
  }
  muster_aus_bloecken(nachbarn);

  for (TVM::TVektor<bool>* v : {&bvorgeschrieben, &bgesund})
    v->init(N, nullptr);
  typ.init(N, nullptr, 2u);
  for (TVM::VekR* v :
       {&strafgewicht, &kontaktanzeiger, &Uvor,  &U,    &Ut, &Utt, &U_n, &Ut_n,  &Utt_n, &U_it, &dU, &dU_alt,
        &fint,         &fstraf,          &fckon, &fext, &fm, &G,   &R,   &KU_it, &Gfrei})
    v->init(N, nullptr);
  normdU = normdU_j = cosdU = konflr = normG = 0.0;
  Nkonpu = 0;
  for (int m = 0; m < SYSMAT_ANZAHL; ++m)
    werte_[m].assign(m == SYSMAT_KKON && !mpm->stw.bkontakt ? 0 : spalten_.size(), 0.0);
  loesertyp_.init(0, nullptr);
  kondition_ = 0.0;
  bmuster_veraltet_ = true;
  bK_zerlegt_ = false;
  return true;
}

void TSystem::muster_aus_bloecken(const std::vector<std::vector<int>>& nachbarn) {
  const int d1 = TDimensionen::dim1;
  std::size_t anzahl = 0;
  for (const std::vector<int>& liste : nachbarn)
    anzahl += liste.size();
  zeilenanfang_.assign(N + 1, 0);
  spalten_.clear();
  spalten_.reserve(anzahl * d1 * d1);
  for (int k = 0; k < Nkno; ++k)
    for (int c = 0; c < d1; ++c) {
      for (int m : nachbarn[k])
        for (int c2 = 0; c2 < d1; ++c2)
          spalten_.push_back(d1 * m + c2);
      zeilenanfang_[d1 * k + c + 1] = static_cast<int>(spalten_.size());
    }
  diagonale_.assign(N, -1);
  for (int i = 0; i < N; ++i)
    diagonale_[i] = stelle(i, i);
  blockpos_.clear();
}

void TSystem::_muster_erneuern() {
  if (!bmuster_veraltet_) return;
  bmuster_veraltet_ = false;
  const int d1 = TDimensionen::dim1;
  // The node groups that couple: every element (when elements are used) and
  // the support of every other approximation from the nodes.
  std::vector<int> gruppenanfang(1, 0), gruppen;
  gruppenanfang.reserve(mpm->mpu.size() + mpm->ipu.size() + mpm->ele.size() + 1);
  auto knotennummer = [&](const TPunkt* p) {
    if (!p || p->objtyp != OBJTYP_KNO) return -1;
    const int k = static_cast<const TKnoten*>(p)->sysposkno;
    return k >= 0 && k < Nkno && Unbekanntenknoten[k] == p ? k : -1;
  };
  auto gruppe = [&](const std::vector<TPunkt*>& knoten) {
    for (const TPunkt* p : knoten)
      if (const int k = knotennummer(p); k >= 0) gruppen.push_back(k);
    gruppenanfang.push_back(static_cast<int>(gruppen.size()));
  };
  if (mpm->stw.belenutzen)
    for (const auto& eintrag : mpm->ele)
      gruppe(ELE_Z(eintrag.second)->kno);
  for (const Tobjcont* reg : {&mpm->mpu, &mpm->ipu})
    for (const auto& eintrag : *reg) {
      const TPunkt* p = PU_Z(eintrag.second);
      if (p->status != OBJSTATUS_AKTIV) continue;
      const TAnsatz* a = p->objtyp == OBJTYP_MPU   ? static_cast<const TMaterialpunkt*>(p)->ans_kno
                         : p->objtyp == OBJTYP_IPU ? static_cast<const TIntegrationspunkt*>(p)->ans_kno
                                                   : nullptr;
      if (a && a->ans != ANSATZ_ELE) gruppe(a->stuetzpu);
    }
  const int Ngruppen = static_cast<int>(gruppenanfang.size()) - 1;

  // Groups at every node, then each node's neighbours marked once.
  std::vector<int> anknoten(Nkno + 1, 0), knotengruppen(gruppen.size());
  for (int k : gruppen)
    ++anknoten[k + 1];
  for (int k = 0; k < Nkno; ++k)
    anknoten[k + 1] += anknoten[k];
  std::vector<int> stelle_frei(anknoten.begin(), anknoten.end() - 1);
  for (int g = 0; g < Ngruppen; ++g)
    for (int i = gruppenanfang[g]; i < gruppenanfang[g + 1]; ++i)
      knotengruppen[stelle_frei[gruppen[i]]++] = g;
  std::vector<std::vector<int>> nachbarn(Nkno);
  std::vector<int> marke(Nkno, -1);
  auto hinzu = [&](int k, int m) {
    if (marke[m] == k) return;
    marke[m] = k;
    nachbarn[k].push_back(m);
  };
  for (int k = 0; k < Nkno; ++k) {
    hinzu(k, k);
    for (int i = anknoten[k]; i < anknoten[k + 1]; ++i) {
      const int g = knotengruppen[i];
      for (int j = gruppenanfang[g]; j < gruppenanfang[g + 1]; ++j)
        hinzu(k, gruppen[j]);
    }
  }
  for (const SYSMAT m : {SYSMAT_KSTRAF, SYSMAT_KKON}) {
    if (!_vorhanden(m)) continue;
    for (int i = 0; i < N; ++i)
      for (int k = zeilenanfang_[i]; k < zeilenanfang_[i + 1]; ++k)
        if (werte_[m][k] != 0.0) {
          const int a = i / d1, b = spalten_[k] / d1;
          if (std::find(nachbarn[a].begin(), nachbarn[a].end(), b) == nachbarn[a].end())
            nachbarn[a].push_back(b);
        }
  }
  for (std::vector<int>& liste : nachbarn)
    std::sort(liste.begin(), liste.end());

  std::vector<int> alt_anfang, alt_spalten;
  alt_anfang.swap(zeilenanfang_);
  alt_spalten.swap(spalten_);
  muster_aus_bloecken(nachbarn);
  if (alt_anfang == zeilenanfang_ && alt_spalten == spalten_) return;
  bK_zerlegt_ = false;
  // Values move along each row; both column lists are sorted.
  for (std::vector<double>& w : werte_) {
    if (w.empty()) continue;
    std::vector<double> v(spalten_.size(), 0.0);
    for (int i = 0; i < N; ++i) {
      int k = zeilenanfang_[i];
      for (int kalt = alt_anfang[i]; kalt < alt_anfang[i + 1]; ++kalt) {
        while (k < zeilenanfang_[i + 1] && spalten_[k] < alt_spalten[kalt])
          ++k;
        if (k < zeilenanfang_[i + 1] && spalten_[k] == alt_spalten[kalt]) v[k] = w[kalt];
      }
    }
    w.swap(v);
  }
}

int TSystem::stelle(int i, int j) const {
  const auto anfang = spalten_.begin() + zeilenanfang_[i], ende = spalten_.begin() + zeilenanfang_[i + 1];
  const auto k = std::lower_bound(anfang, ende, j);
  return k != ende && *k == j ? static_cast<int>(k - spalten_.begin()) : -1;
}

void TSystem::muster_erweitern(const TVM::TVektor<int>& pos) {
  bK_zerlegt_ = false;
  std::vector<int> neu;
  for (int a = 0; a < pos.n; ++a)
    if (pos[a] >= 0 && pos[a] < N) neu.push_back(pos[a]);
  std::sort(neu.begin(), neu.end());
  neu.erase(std::unique(neu.begin(), neu.end()), neu.end());
  std::vector<char> betroffen(N, 0);
  for (int i : neu)
    betroffen[i] = 1;

  std::vector<int> anfang(N + 1, 0), spalten, alt_zu_neu(spalten_.size());
  spalten.reserve(spalten_.size() + neu.size() * neu.size());
  for (int i = 0; i < N; ++i) {
    int k = zeilenanfang_[i];
    const int ende = zeilenanfang_[i + 1];
    std::size_t z = 0;
    while (k < ende || (betroffen[i] && z < neu.size())) {
      const int alt = k < ende ? spalten_[k] : N;
      const int zusatz = betroffen[i] && z < neu.size() ? neu[z] : N;
      if (alt <= zusatz) {
        alt_zu_neu[k++] = static_cast<int>(spalten.size());
        if (alt == zusatz) ++z;
        spalten.push_back(alt);
      } else {
        spalten.push_back(zusatz);
        ++z;
      }
    }
    anfang[i + 1] = static_cast<int>(spalten.size());
  }
  for (std::vector<double>& w : werte_) {
    if (w.empty()) continue;
    std::vector<double> v(spalten.size(), 0.0);
    for (std::size_t k = 0; k < w.size(); ++k)
      v[alt_zu_neu[k]] = w[k];
    w.swap(v);
  }
  zeilenanfang_.swap(anfang);
  spalten_.swap(spalten);
  for (int i = 0; i < N; ++i)
    diagonale_[i] = stelle(i, i);
  blockpos_.clear();
}

bool TSystem::_vorhanden(SYSMAT m) const {
  return m >= 0 && m < SYSMAT_ANZAHL && !werte_[m].empty();
}

void TSystem::_null(SYSMAT m) {
  if (m == SYSMAT_K) bK_zerlegt_ = false;
  if (_vorhanden(m)) std::fill(werte_[m].begin(), werte_[m].end(), 0.0);
}

void TSystem::_addieren(SYSMAT m, int i, int j, double wert) {
  if (!_vorhanden(m) || i < 0 || j < 0 || i >= N || j >= N) return;
  if (m == SYSMAT_K) bK_zerlegt_ = false;
  int k = stelle(i, j);
  if (k < 0) {
    muster_erweitern(TVM::TVektor<int>{i, j});
    k = stelle(i, j);
  }
  werte_[m][k] += wert;
}

void TSystem::blockstellen_bilden(const TVM::TVektor<int>& pos) {
  const int n = pos.n;
  if (static_cast<int>(blockpos_.size()) == n && std::equal(blockpos_.begin(), blockpos_.end(), pos.data))
    return;
  // The block's columns with a place in the system, in ascending position,
  // so that each row is found by one walk along it.
  blockfolge_.resize(n);
  int Nfolge = 0;
  for (int b = 0; b < n; ++b) {
    if (pos[b] < 0 || pos[b] >= N) continue;
    int t = Nfolge++;
    for (; t > 0 && pos[blockfolge_[t - 1]] > pos[b]; --t)
      blockfolge_[t] = blockfolge_[t - 1];
    blockfolge_[t] = b;
  }
  bool gedeckt = false;
  for (int versuch = 0; versuch < 2 && !gedeckt; ++versuch) {
    if (versuch == 1) muster_erweitern(pos);
    gedeckt = true;
    blockstellen_.assign(static_cast<std::size_t>(n) * n, -1);
    int vorige = -1;
    for (int a = 0; a < n; ++a) {
      const int i = pos[a];
      if (i < 0 || i >= N) continue;
      int* stellen = blockstellen_.data() + static_cast<std::size_t>(a) * n;
      const int anfang = zeilenanfang_[i], ende = zeilenanfang_[i + 1];
      // A row with the same columns as the last one walked (the other
      // unknown of a node) has the block's entries at the same places along it.
      if (vorige >= 0) {
        const int va = zeilenanfang_[pos[vorige]], ve = zeilenanfang_[pos[vorige] + 1];
        if (ve - va == ende - anfang &&
            std::equal(spalten_.begin() + va, spalten_.begin() + ve, spalten_.begin() + anfang)) {
          const int* alt = blockstellen_.data() + static_cast<std::size_t>(vorige) * n;
          for (int b = 0; b < n; ++b)
            stellen[b] = alt[b] < 0 ? alt[b] : alt[b] + (anfang - va);
          continue;
        }
      }
      vorige = a;
      int k = anfang;
      for (int t = 0; t < Nfolge; ++t) {
        const int b = blockfolge_[t], j = pos[b];
        while (k < ende && spalten_[k] < j)
          ++k;
        if (k < ende && spalten_[k] == j) {
          stellen[b] = k;
        } else {
          gedeckt = false;
        }
      }
    }
  }
  blockpos_.assign(pos.data, pos.data + n);
}

void TSystem::_block_addieren(SYSMAT m, const TVM::TVektor<int>& pos, const TVM::MatR& block) {
  const int n = pos.n;
  if (!_vorhanden(m) || block.zeilen < n || block.spalten < n) return;
  if (m == SYSMAT_K) bK_zerlegt_ = false;
  blockstellen_bilden(pos);
  double* w = werte_[m].data();
  for (int a = 0; a < n; ++a) {
    const int* stellen = blockstellen_.data() + static_cast<std::size_t>(a) * n;
    const double* zeile = block[a];
    for (int b = 0; b < n; ++b)
      if (stellen[b] >= 0) w[stellen[b]] += zeile[b];
  }
}

void TSystem::_block_addieren(SYSMAT m1, const TVM::MatR& block1, SYSMAT m2, const TVM::MatR& block2,
                              const TVM::TVektor<int>& pos) {
  const int n = pos.n;
  if (!_vorhanden(m1) || block1.zeilen < n || block1.spalten < n) {
    _block_addieren(m2, pos, block2);
    return;
  }
  if (!_vorhanden(m2) || block2.zeilen < n || block2.spalten < n || m1 == m2) {
    _block_addieren(m1, pos, block1);
    _block_addieren(m2, pos, block2);
    return;
  }
  if (m1 == SYSMAT_K || m2 == SYSMAT_K) bK_zerlegt_ = false;
  blockstellen_bilden(pos);
  double *w1 = werte_[m1].data(), *w2 = werte_[m2].data();
  for (int a = 0; a < n; ++a) {
    const int* stellen = blockstellen_.data() + static_cast<std::size_t>(a) * n;
    const double *zeile1 = block1[a], *zeile2 = block2[a];
    for (int b = 0; b < n; ++b) {
      const int k = stellen[b];
      if (k < 0) continue;
      w1[k] += zeile1[b];
      w2[k] += zeile2[b];
    }
  }
}

namespace {
// w[k] := the sum from 0 of faktoren[q] * quellen[q][k] over q in order (NQ
// sources, or nq for NQ = 0); whether every w[k] kept its bits.
template <int NQ>
bool kombinieren(double* w, const double* faktoren, const double* const* quellen, std::size_t n,
                 int nq = NQ) {
  std::uint64_t aenderung = 0;
  for (std::size_t k = 0; k < n; ++k) {
    double summe = 0.0;
    for (int q = 0; q < (NQ > 0 ? NQ : nq); ++q)
      summe += faktoren[q] * quellen[q][k];
    std::uint64_t neu, alt;
    std::memcpy(&neu, &summe, sizeof summe);
    std::memcpy(&alt, w + k, sizeof alt);
    aenderung |= neu ^ alt;
    w[k] = summe;
  }
  return aenderung == 0;
}
} // namespace

void TSystem::_linearkombination(SYSMAT ziel, std::initializer_list<std::pair<double, SYSMAT>> summanden) {
  if (!_vorhanden(ziel)) return;
  // One pass over all sources; each entry is summed from 0 in the order given.
  double faktoren[SYSMAT_ANZAHL];
  const double* quellen[SYSMAT_ANZAHL];
  int Nq = 0;
  bool bziel_ist_quelle = false;
  for (const auto& [faktor, quelle] : summanden) {
    if (faktor == 0.0 || !_vorhanden(quelle)) continue;
    if (Nq == SYSMAT_ANZAHL || quelle == ziel) bziel_ist_quelle = true;
    if (Nq < SYSMAT_ANZAHL) {
      faktoren[Nq] = faktor;
      quellen[Nq++] = werte_[quelle].data();
    }
  }
  const std::size_t n = spalten_.size();
  if (bziel_ist_quelle) {
    if (ziel == SYSMAT_K) bK_zerlegt_ = false;
    std::vector<double> summe(n, 0.0);
    for (const auto& [faktor, quelle] : summanden) {
      if (faktor == 0.0 || !_vorhanden(quelle)) continue;
      const std::vector<double>& q = werte_[quelle];
      for (std::size_t k = 0; k < n; ++k)
        summe[k] += faktor * q[k];
    }
    werte_[ziel].swap(summe);
    return;
  }
  // K keeps its factorisation only while every value stays bit for bit.
  double* w = werte_[ziel].data();
  bool bgleich = true;
  switch (Nq) {
  case 1:
    bgleich = kombinieren<1>(w, faktoren, quellen, n);
    break;
  case 2:
    bgleich = kombinieren<2>(w, faktoren, quellen, n);
    break;
  case 3:
    bgleich = kombinieren<3>(w, faktoren, quellen, n);
    break;
  case 4:
    bgleich = kombinieren<4>(w, faktoren, quellen, n);
    break;
  default:
    bgleich = kombinieren<0>(w, faktoren, quellen, n, Nq);
    break;
  }
  if (ziel == SYSMAT_K && !bgleich) bK_zerlegt_ = false;
}

double TSystem::_eintrag(SYSMAT m, int i, int j) const {
  if (!_vorhanden(m) || i < 0 || j < 0 || i >= N || j >= N) return 0.0;
  const int k = stelle(i, j);
  return k >= 0 ? werte_[m][k] : 0.0;
}

double TSystem::_diagonale(SYSMAT m, int i) const {
  return _vorhanden(m) && i >= 0 && i < N ? werte_[m][diagonale_[i]] : 0.0;
}

double TSystem::_zeilensumme(SYSMAT m, int i) const {
  if (!_vorhanden(m) || i < 0 || i >= N) return 0.0;
  double summe = 0.0;
  for (int k = zeilenanfang_[i]; k < zeilenanfang_[i + 1]; ++k)
    summe += werte_[m][k];
  return summe;
}

TVM::VekR& TSystem::_produkt(SYSMAT m, const TVM::VekR& x, TVM::VekR& y) const {
  y.init(N, nullptr);
  if (!_vorhanden(m) || x.n != N) return y;
  const std::vector<double>& w = werte_[m];
  for (int i = 0; i < N; ++i) {
    double summe = 0.0;
    for (int k = zeilenanfang_[i]; k < zeilenanfang_[i + 1]; ++k)
      summe += w[k] * x[spalten_[k]];
    y[i] = summe;
  }
  return y;
}

TVM::VekR& TSystem::_produkt(SYSMAT m, const TVM::VekR& x, TVM::VekR& y, unsigned zeilenklasse,
                             unsigned spaltenklasse) const {
  y.init(N, nullptr);
  if (!_vorhanden(m) || x.n != N || typ.n != N) return y;
  const std::vector<double>& w = werte_[m];
  for (int i = 0; i < N; ++i) {
    if (typ[i] != zeilenklasse) continue;
    double summe = 0.0;
    for (int k = zeilenanfang_[i]; k < zeilenanfang_[i + 1]; ++k)
      if (typ[spalten_[k]] == spaltenklasse) summe += w[k] * x[spalten_[k]];
    y[i] = summe;
  }
  return y;
}

bool TSystem::_gesund_und_krank() {
  const int d1 = TDimensionen::dim1;
  bgesund.init(N, nullptr, true);
  for (const TKnoten* kn : Unbekanntenknoten) {
    if (kn->status == OBJSTATUS_AKTIV) continue;
    for (int i = 0; i < d1; ++i)
      bgesund[d1 * kn->sysposkno + i] = false;
  }
  // The largest diagonal entry, signed (1 for an empty system).
  double Kiimax = N > 0 ? _diagonale(SYSMAT_K, 0) : 1.0;
  for (int i = 1; i < N; ++i)
    Kiimax = std::max(Kiimax, _diagonale(SYSMAT_K, i));
  if (Kiimax < schranke) {
    *konsaus << "FEHLER in <bool TSystem::_gesund_und_krank()>: Kiimax=" << Kiimax << "<schranke=" << schranke
             << "\n"
             << std::flush;
    abbruch();
    return false;
  }
  // The penalty and contact springs are left out of the body's own diagonal:
  // a large penalty parameter would otherwise raise Kiimax so far that the
  // unknowns of the body itself count as sick and are set to 0.
  TVM::VekR& eigen = arbeit_[0];
  eigen.init(N, nullptr);
  double eigenmax = 0.0;
  for (int i = 0; i < N; ++i) {
    eigen[i] = _diagonale(SYSMAT_K, i) + _diagonale(SYSMAT_KSTRAF, i) + _diagonale(SYSMAT_KKON, i);
    eigenmax = std::max(eigenmax, std::fabs(eigen[i]));
  }
  for (int i = 0; i < N; ++i) {
    const bool eigen_klein = !(eigenmax > 0.0) || std::fabs(eigen[i]) / eigenmax < schranke;
    if (std::fabs(_diagonale(SYSMAT_K, i)) / Kiimax < schranke && eigen_klein) bgesund[i] = false;
  }
  return true;
}

bool TSystem::_aufteilen() {
  N0 = N1 = N2 = 0;
  Nstraf = 0.0;
  typ.init(N, nullptr, 2u);
  for (int i = 0; i < N; ++i) {
    Nstraf += strafgewicht[i];
    if (bvorgeschrieben[i]) {
      typ[i] = 1;
      ++N1;
    } else if (bgesund[i]) {
      typ[i] = 0;
      ++N0;
    } else {
      ++N2;
    }
  }
  return true;
}

bool TSystem::_umspeichern(RICHTUNG r) {
  if (r == RICHTUNG_VORWAERTS) {
    U_n = U;
    Ut_n = Ut;
    Utt_n = Utt;
  } else if (r == RICHTUNG_RUECKWAERTS) {
    U = U_n;
    Ut = Ut_n;
    Utt = Utt_n;
  }
  U_it = U;
  dU.init(-1, nullptr);
  dU_alt.init(-1, nullptr);
  normdU = normdU_j = cosdU = 0.0;
  for (TVM::VekR* v : {&fint, &fstraf, &fckon, &fext, &fm, &G, &R, &KU_it, &Gfrei})
    v->init(-1, nullptr);
  return true;
}

bool TSystem::_loesen(MATHE::LOESER loeser, bool bvorgaben) {
  if (N0 == 0) return true;
  TVM::VekR &rechts = arbeit_[1], &K12U2 = arbeit_[2];
  rechts.init(N, nullptr);
  const bool babzug = bvorgaben && N1 > 0;
  if (babzug) _produkt(SYSMAT_K, U, K12U2, 0, 1);
  for (int i = 0; i < N; ++i)
    if (typ[i] == 0) rechts[i] = babzug ? R[i] - K12U2[i] : R[i];
  switch (loeser) {
  case MATHE::LOESER_PROFIL:
  case MATHE::LOESER_LU:
  case MATHE::LOESER_GAUSS: {
    bool zerlegt = false;
    return loesen_duenn(loeser, rechts, zerlegt);
  }
  case MATHE::LOESER_AUTOMATISCH: {
    // The SVD only where the LU factorisation fails, not where it leaves too few digits.
    bool zerlegt = false;
    if (loesen_duenn(loeser, rechts, zerlegt)) return true;
    return !zerlegt && loesen_dicht(MATHE::LOESER_SVD, rechts);
  }
  case MATHE::LOESER_SVD:
    return loesen_dicht(loeser, rechts);
  default:
    return false;
  }
}

bool TSystem::_loesen_masse(MATHE::LOESER loeser, const TVM::VekR& b, TVM::VekR& x) {
  if (!_vorhanden(SYSMAT_M) || b.n != N || x.n != N) return false;
  const int d1 = TDimensionen::dim1;
  double Mmax = 0.0;
  for (int i = 0; i < N; ++i)
    Mmax = std::max(Mmax, _diagonale(SYSMAT_M, i));
  bgesund.init(N, nullptr);
  for (const TKnoten* kn : Unbekanntenknoten) {
    if (kn->status != OBJSTATUS_AKTIV) continue;
    for (int i = 0; i < d1; ++i) {
      const int p = d1 * kn->sysposkno + i;
      bgesund[p] = _diagonale(SYSMAT_M, p) > schranke * Mmax;
    }
  }
  _aufteilen();
  _linearkombination(SYSMAT_K, {{1.0, SYSMAT_M}});
  // _loesen works on U and R: x and b stand in for them.
  const TVM::VekR U_alt = U, R_alt = R;
  U = x;
  R = b;
  const bool ok = _loesen(loeser, true);
  if (ok) x = U;
  U = U_alt;
  R = R_alt;
  loesertyp_.init(0, nullptr);
  return ok;
}

// K with every unknown that is not free decoupled: its row and column hold
// zeros but for a diagonal the size of the free ones, and its right-hand side
// is 0; the pattern, and so the analysis, stays the same for every class.
bool TSystem::loesen_duenn(MATHE::LOESER loeser, TVM::VekR& rechts, bool& zerlegt) {
  const std::vector<double>& K = werte_[SYSMAT_K];
  // K and the classes as at the last factorisation: its factors serve again.
  if (bK_zerlegt_ && loeser == loeser_zerlegt_ && loesertyp_ == typ) {
    zerlegt = true;
    for (int i = 0; i < N; ++i)
      if (typ[i] != 0) rechts[i] = 0.0;
  } else {
    bK_zerlegt_ = false;
    const double* werte = K.data();
    if (N0 < N) {
      double dmax = 0.0;
      for (int i = 0; i < N; ++i)
        if (typ[i] == 0) dmax = std::max(dmax, std::fabs(K[diagonale_[i]]));
      if (!(dmax > 0.0) || !std::isfinite(dmax)) dmax = 1.0;
      loeserwerte_.resize(K.size());
      for (int i = 0; i < N; ++i) {
        const bool frei = typ[i] == 0;
        for (int k = zeilenanfang_[i]; k < zeilenanfang_[i + 1]; ++k) {
          const int j = spalten_[k];
          loeserwerte_[k] = frei && typ[j] == 0 ? K[k] : (i == j ? dmax : 0.0);
        }
        if (!frei) rechts[i] = 0.0;
      }
      werte = loeserwerte_.data();
    }
    const bool neue_pivots = !(loesertyp_ == typ);
    loesertyp_ = typ;
    zerlegt = loeser_.zerlegen(loeser, N, zeilenanfang_.data(), spalten_.data(), werte, neue_pivots);
    if (!zerlegt) return false;
    kondition_ = loeser_.kondition();
    bK_zerlegt_ = true;
    loeser_zerlegt_ = loeser;
  }
  if (MATHE::zuverlaessige_stellen(kondition_) < 3 || !loeser_.loesen(rechts.data)) return false;
  for (int i = 0; i < N; ++i)
    if (typ[i] == 0) U[i] = rechts[i];
  return true;
}

bool TSystem::loesen_dicht(MATHE::LOESER loeser, const TVM::VekR& rechts) {
  if (N0 > maxNdicht) {
    *konsaus << "FEHLER in <bool TSystem::_loesen(MATHE::LOESER loeser, bool bvorgaben)>: N0=" << N0
             << " freie Unbekannte sind zu viele fuer die dichte Loesung (" << MATHE::str_LOESER(loeser)
             << ", hoechstens " << maxNdicht << ")\n"
             << std::flush;
    return false;
  }
  std::vector<int> frei(N, -1);
  TVM::VekR r1(N0);
  for (int i = 0, f = 0; i < N; ++i)
    if (typ[i] == 0) {
      r1[f] = rechts[i];
      frei[i] = f++;
    }
  TVM::MatR K11(N0, N0);
  const std::vector<double>& K = werte_[SYSMAT_K];
  for (int i = 0; i < N; ++i) {
    if (frei[i] < 0) continue;
    for (int k = zeilenanfang_[i]; k < zeilenanfang_[i + 1]; ++k)
      if (frei[spalten_[k]] >= 0) K11[frei[i]][frei[spalten_[k]]] = K[k];
  }
  TVM::MatR K11inv = K11;
  double det = 0.0;
  int stellen = 0;
  if (TVM::loeser_inverse(K11inv, det, loeser) != 1 || !TVM::Konditionskontrolle(K11, K11inv, stellen, 3))
    return false;
  const TVM::VekR U1 = K11inv * r1;
  for (int i = 0; i < N; ++i)
    if (frei[i] >= 0) U[i] = U1[frei[i]];
  return true;
}

namespace {
constexpr double eps = 2.220446049250313e-16;

// Y += f * B^T A B2 for A (m x m) and B, B2 (m x n); without A, Y += f * B^T B2.
// AB receives A B2.
void bt_a_b(const TVM::MatR& B, const TVM::MatR* A, double f, TVM::MatR& Y, TVM::MatR& AB,
            const TVM::MatR* B2 = nullptr) {
  const TVM::MatR& rechts = B2 ? *B2 : B;
  const TVM::MatR* ab = &rechts;
  if (A) ab = &TVM::produkt(*A, rechts, AB);
  const int m = B.zeilen, n = B.spalten;
  for (int i = 0; i < n; ++i) {
    double* yi = Y[i];
    for (int k = 0; k < m; ++k) {
      const double bki = f * B[k][i];
      if (bki == 0.0) continue;
      TVM::vielfaches_addieren(yi, (*ab)[k], bki, n);
    }
  }
}

// The three Newmark factors of the inertia force; the explicit method uses
// backward differences instead.
void traegheitsfaktoren(const Tmpm& mpm, double& a0, double& a1, double& a2) {
  const TSteuerparam& stw = mpm.stw;
  if (stw.zeitschrittverf == ZEITSCHRITTVERF_EXPLIZIT) {
    const double h = mpm.dt;
    a0 = h != 0.0 ? 1.0 / (h * h) : 0.0;
    a1 = h != 0.0 ? 1.0 / h : 0.0;
    a2 = 0.0;
  } else {
    a0 = stw.newmark_koeff[0];
    a1 = stw.newmark_koeff[1];
    a2 = stw.newmark_koeff[2];
  }
}
// Large strains: the material law gives the second Piola-Kirchhoff stress S
// and dS/dE for the Green-Lagrange strain E. In the reference configuration
// (gradients G with respect to the reference coordinates) the strain matrix
// becomes B_F with dE = B_F du and the stress stays S; in the current
// configuration (G with respect to the current coordinates) B stays and
// stress and tangent are pushed forward: sigma = P S / J, c = P C P^T / J.
// Both give the same operator. False when F is not a plane 2 x 2 tensor.
bool grosse_verzerrungen(const TZustgroe& zg, const TVM::MatR& G, KONFIGUR konfigur, TVM::MatR& B,
                         TVM::MatR& C, TVM::VekR& sig, Tmpm::TArbeit& a) {
  if (zg.F.zeilen != 2 || zg.F.spalten != 2 || sig.n != 3 || C.zeilen != 3) return false;
  if (konfigur == KONFIGUR_REFKONF) {
    MECH::_B_F(G, zg.F, B);
    return true;
  }
  if (!(zg.J > 0.0)) return false;
  MECH::_P_voigt(zg.F, a.P);
  TVM::Transponieren(a.P, a.Pt);
  TVM::produkt(a.P, C, a.PC);
  TVM::produkt(a.PC, a.Pt, C);
  C *= 1.0 / zg.J;
  TVM::produkt(a.P, sig, a.Psig);
  sig = a.Psig;
  sig *= 1.0 / zg.J;
  return true;
}

// The plane contribution of small strains in the reference configuration,
// the common case, on the stack for up to maxknoten_eben support nodes: the
// arithmetic of the general path below, step by step, without its matrices.
// NK > 0 fixes the number of support nodes at compile time (the common
// elements), so that the loops unroll.
constexpr int maxknoten_eben = 16;

// y += a x over M values (M fixed) or m values (M = 0).
template <int M> inline void axpy(double* __restrict y, const double* __restrict x, double a, int m) {
  if constexpr (M > 0) {
    for (int i = 0; i < M; ++i)
      y[i] += a * x[i];
  } else {
    TVM::vielfaches_addieren(y, x, a, m);
  }
}

// The nodes' inertia terms a0 (u_n - u) + a1 ut_n + a2 utt_n, two per node.
void traegheitsvektor(TAnsatz& ans, const TZustgroe::TLage& lage, const Tmpm& mpm, int n, double* v) {
  double a0, a1, a2;
  traegheitsfaktoren(mpm, a0, a1, a2);
  double* const* bloecke = ans._quellbloecke();
  for (int k = 0; k < n; ++k) {
    const double *u, *u_n, *ut_n, *utt_n;
    if (bloecke) {
      u = bloecke[k] + lage.u;
      u_n = bloecke[k] + lage.u_n;
      ut_n = bloecke[k] + lage.ut_n;
      utt_n = bloecke[k] + lage.utt_n;
    } else {
      const TZustgroe& kz = ans.stuetzpu[k]->_zg();
      u = kz.u.data;
      u_n = kz.u_n.data;
      ut_n = kz.ut_n.data;
      utt_n = kz.utt_n.data;
    }
    for (int c = 0; c < 2; ++c)
      v[k * 2 + c] = a0 * (u_n[c] - u[c]) + a1 * ut_n[c] + a2 * utt_n[c];
  }
}

template <int NK>
void beitrag_eben(const TIntegrationspunkt& ip, TAnsatz& ans, const TZustgroe& zg, const Tmpm& mpm,
                  TVM::MatR& Me, TVM::MatR& KTe, TVM::VekR& fme, TVM::VekR& finte, bool bMe) {
  constexpr int maxspalten_eben = 2 * (NK > 0 ? NK : maxknoten_eben);
  const TSteuerparam& stw = mpm.stw;
  const int n = NK > 0 ? NK : ans._Np(), m = 2 * n;
  // The record is read in its block (the caller checked its layout).
  const TZustgroe::TLage lage;
  const double* block = zg.alle.data;
  // N (2 x m) and B (3 x m) as ELE::_Lmat and ELE::_Gepsmat build them.
  double N[2][maxspalten_eben] = {}, B[3][maxspalten_eben] = {};
  if (ans.L.n == n)
    for (int k = 0; k < n; ++k) {
      N[0][2 * k] = ans.L[k];
      N[1][2 * k + 1] = ans.L[k];
    }
  if (ans.G.zeilen == n && ans.G.spalten == 2) {
    const double s = 0.7071067811865476;
    for (int k = 0; k < n; ++k) {
      const double* g = ans.G[k];
      B[0][2 * k] = g[0];
      B[1][2 * k + 1] = g[1];
      B[2][2 * k] = g[1] * s;
      B[2][2 * k + 1] = g[0] * s;
    }
  }

  if (stw.bmassen && !bMe && stw.m_verklumpen == 0.0) {
    // M v alone. M = f N^T N couples only equal directions; each row's sum
    // takes the nonzero terms of the full product in the same order, and the
    // zero terms it skips leave that sum as it is.
    double v[maxspalten_eben];
    traegheitsvektor(ans, lage, mpm, n, v);
    const double f = block[lage.rho0] * ip.vol0;
    for (int i = 0; i < m; ++i) {
      const int c = i % 2;
      const double bki = f * N[c][i];
      if (bki == 0.0) continue;
      double s = 0.0;
      for (int j = c; j < m; j += 2)
        s += (bki * N[c][j]) * v[j];
      fme[i] += s;
    }
  } else if (stw.bmassen) {
    double Mp[maxspalten_eben * maxspalten_eben];
    std::fill(Mp, Mp + m * m, 0.0);
    const double f = block[lage.rho0] * ip.vol0;
    for (int i = 0; i < m; ++i) {
      double* yi = Mp + i * m;
      for (int k = 0; k < 2; ++k) {
        const double bki = f * N[k][i];
        if (bki == 0.0) continue;
        axpy<2 * NK>(yi, N[k], bki, m);
      }
    }
    const double faktor = stw.m_verklumpen;
    if (faktor != 0.0)
      for (int i = 0; i < m; ++i) {
        double* yi = Mp + i * m;
        double summe = 0.0;
        for (int j = 0; j < m; ++j)
          summe += yi[j];
        for (int j = 0; j < m; ++j)
          yi[j] *= (1.0 - faktor);
        yi[i] += faktor * summe;
      }
    for (int i = 0; i < m; ++i)
      axpy<2 * NK>(Me.data + i * m, Mp + i * m, 1.0, m);
    double v[maxspalten_eben];
    traegheitsvektor(ans, lage, mpm, n, v);
    // The rows' sums side by side, each in the order of its columns.
    double s[maxspalten_eben] = {};
    for (int j = 0; j < m; ++j) {
      const double vj = v[j];
      for (int i = 0; i < m; ++i)
        s[i] += Mp[i * m + j] * vj;
    }
    for (int i = 0; i < m; ++i)
      fme[i] += s[i];
  }

  const double V = ip._vol(stw.konfigur);
  const double a3 = stw.newmark_koeff[3];
  double C[9];
  for (int k = 0; k < 9; ++k)
    C[k] = block[lage.CT + k] + block[lage.DT + k] * a3;
  double AB[3][maxspalten_eben] = {};
  for (int i = 0; i < 3; ++i)
    for (int k = 0; k < 3; ++k) {
      const double cik = C[3 * i + k];
      if (cik == 0.0) continue;
      axpy<2 * NK>(AB[i], B[k], cik, m);
    }
  for (int i = 0; i < m; ++i) {
    double* yi = KTe.data + i * m;
    for (int k = 0; k < 3; ++k) {
      const double bki = V * B[k][i];
      if (bki == 0.0) continue;
      axpy<2 * NK>(yi, AB[k], bki, m);
    }
  }
  double sigV[3], y[maxspalten_eben] = {};
  for (int i = 0; i < 3; ++i)
    sigV[i] = block[lage.sig + i] * V;
  for (int i = 0; i < 3; ++i)
    axpy<2 * NK>(y, B[i], sigV[i], m);
  for (int j = 0; j < m; ++j)
    finte[j] += y[j];
}

// The contribution of n support nodes.
void beitrag_eben(int n, const TIntegrationspunkt& ip, TAnsatz& ans, const TZustgroe& zg, const Tmpm& mpm,
                  TVM::MatR& Me, TVM::MatR& KTe, TVM::VekR& fme, TVM::VekR& finte, bool bMe) {
  switch (n) {
  case 3:
    return beitrag_eben<3>(ip, ans, zg, mpm, Me, KTe, fme, finte, bMe);
  case 4:
    return beitrag_eben<4>(ip, ans, zg, mpm, Me, KTe, fme, finte, bMe);
  case 6:
    return beitrag_eben<6>(ip, ans, zg, mpm, Me, KTe, fme, finte, bMe);
  case 8:
    return beitrag_eben<8>(ip, ans, zg, mpm, Me, KTe, fme, finte, bMe);
  case 9:
    return beitrag_eben<9>(ip, ans, zg, mpm, Me, KTe, fme, finte, bMe);
  default:
    return beitrag_eben<0>(ip, ans, zg, mpm, Me, KTe, fme, finte, bMe);
  }
}
} // namespace

// The contribution with the scratch of the simulation, so that no point
// needs the heap once the first has sized it.
bool TIntegrationspunkt::_M_fm_KT_fint(TVM::MatR& Me, TVM::MatR& KTe, TVM::VekR& fme, TVM::VekR& finte,
                                       bool binit, bool bMe, TAnsatz* ans) {
  const int d1 = dim1;
  TAnsatz* const a_kno = ans ? ans : ans_kno;
  const int n = a_kno ? a_kno->_Np() : 0;
  if (binit) {
    if (bMe || Me.zeilen != n * d1 || Me.spalten != n * d1) Me.init(n * d1, n * d1, nullptr);
    KTe.init(n * d1, n * d1, nullptr);
    fme.init(n * d1, nullptr);
    finte.init(n * d1, nullptr);
  }
  if (n == 0 || status != OBJSTATUS_AKTIV) return false;
  // The run of every model object is the simulation object.
  Tmpm& lauf = static_cast<Tmpm&>(*mpm);
  const TSteuerparam& stw = lauf.stw;
  const TZustgroe& zg = _zg();
  const int m = n * d1;
  if (dim == ELE::DIM_2D && d1 == 2 && dim2 == 3 && n <= maxknoten_eben && stw.verzerr == VERZERR_KLNVERZ &&
      stw.konfigur == KONFIGUR_REFKONF && Me.zeilen == m && Me.spalten == m && KTe.zeilen == m &&
      KTe.spalten == m && fme.n == m && finte.n == m && zg.alle.n == TZustgroe::TLage().ende) {
    beitrag_eben(n, *this, *a_kno, zg, lauf, Me, KTe, fme, finte, bMe);
    return true;
  }
  Tmpm::TArbeit& a = lauf.arbeit;

  TVM::MatR &N = a.N, &B = a.B;
  ELE::_Lmat(a_kno->L, N, dim, n, 1);
  ELE::_Gepsmat(a_kno->G, B, dim, n, 1);
  if (N.spalten != n * d1 || B.spalten != n * d1) return false;

  if (stw.bmassen) {
    TVM::MatR& Mp = a.Mp;
    Mp.init(n * d1, n * d1, nullptr);
    bt_a_b(N, nullptr, zg.rho0 * vol0, Mp, a.AB);
    Mp.Konzentrieren(stw.m_verklumpen);
    Me += Mp;
    double a0, a1, a2;
    traegheitsfaktoren(lauf, a0, a1, a2);
    TVM::VekR& v = a.v;
    v.init(n * d1, nullptr);
    for (int k = 0; k < n; ++k) {
      const TZustgroe& kz = a_kno->stuetzpu[k]->_zg();
      for (int c = 0; c < d1; ++c)
        v[k * d1 + c] = a0 * (kz.u_n[c] - kz.u[c]) + a1 * kz.ut_n[c] + a2 * kz.utt_n[c];
    }
    fme += TVM::produkt(Mp, v, a.y);
  }

  const double V = _vol(stw.konfigur);
  TVM::MatR &C = a.C, &D = a.D;
  C = zg.CT;
  D = zg.DT;
  D *= stw.newmark_koeff[3];
  C += D;
  TVM::VekR& sig = a.sig;
  sig = zg.sig;
  if (stw.verzerr == VERZERR_GROVERZ) {
    if (!grosse_verzerrungen(zg, a_kno->G, stw.konfigur, B, C, sig, a)) return false;
    bt_a_b(B, &C, V, KTe, a.AB);
    MECH::_K_geo_addieren(a_kno->G, sig, V, KTe);
  } else if (stw.konfigur == KONFIGUR_MOMKONF) {
    // Small strains on the current geometry: eps = sym(F - I) varies with
    // sym(du (x) F^T g), and the gradients g and the volume J V0 follow the
    // motion of the nodes. The derivative of these forces is not symmetric.
    TVM::MatR &GF = a.GF, &BF = a.BF;
    TVM::produkt(a_kno->G, zg.F, GF);
    ELE::_Gepsmat(GF, BF, dim, n, 1);
    if (BF.spalten != n * d1) return false;
    bt_a_b(B, &C, V, KTe, a.AB, &BF);
    MECH::_K_spannung_addieren(a_kno->G, sig, V, KTe);
  } else {
    bt_a_b(B, &C, V, KTe, a.AB);
  }
  sig *= V;
  finte += TVM::produkt(sig, B, a.y);
  return true;
}

Tmpm::TMassenstand Tmpm::massenstand() const {
  TMassenstand stand;
  stand.bgueltig = stw.bmassen;
  stand.ansaetze = Nansatzaenderungen;
  stand.neubasis = Nipu_neubasis;
  stand.Nipu = ipu.size();
  stand.nummerierung = sys->_Nnummerierungen();
  stand.verklumpen = stw.m_verklumpen;
  return stand;
}

bool Tmpm::beitraege_beginnen(TVM::VekR& fm, TVM::VekR& fint) {
  TSystem& s = *sys;
  // The mass matrix stays while nothing it is made of has changed; the
  // inertia forces are computed from the element blocks all the same.
  const TMassenstand stand = massenstand();
  const bool bM = !(stand == massenstand_);
  massenstand_ = stand;
  if (bM) s._null(SYSMAT_M);
  s._null(SYSMAT_KT);
  fm.init(s.N, nullptr);
  fint.init(s.N, nullptr);
  return bM;
}

void Tmpm::beitrag_addieren(TIntegrationspunkt* ip, TAnsatz* ans, bool bM, TVM::VekR& fm, TVM::VekR& fint) {
  TSystem& s = *sys;
  TVM::MatR &Me = arbeit.Me, &KTe = arbeit.KTe;
  TVM::VekR &fme = arbeit.fme, &finte = arbeit.finte;
  if (!ip->_M_fm_KT_fint(Me, KTe, fme, finte, true, stw.bmassen && bM, ans)) return;
  const TVM::TVektor<int>& pos = ans->_einbaupos();
  // Without masses Me is zero.
  if (stw.bmassen && bM)
    s._block_addieren(SYSMAT_M, Me, SYSMAT_KT, KTe, pos);
  else
    s._block_addieren(SYSMAT_KT, pos, KTe);
  for (int j = 0; j < pos.n; ++j) {
    const int pj = pos[j];
    if (pj < 0 || pj >= s.N) continue;
    fm[pj] += fme[j];
    fint[pj] += finte[j];
  }
}

bool Tmpm::_M_Fm_KT_Fint() {
  TSystem& s = *sys;
  const bool bM = beitraege_beginnen(s.fm, s.fint);
  const TZustgroe::TLage lage;
  const std::vector<TObjbasis*>& liste = ipu.liste();
  // With the material points' approximations where they are the same, as the
  // joint walk does.
  const TPaare& p = paare();
  for (std::size_t i = 0; i < liste.size(); ++i) {
    vorausladen(liste, i, OBJTYP_KNO, lage.rho0, lage.u_n);
    TIntegrationspunkt* ip = IPU_Z(liste[i]);
    beitrag_addieren(ip, p.bpaarweise ? p.ansaetze[i] : ip->ans_kno, bM, s.fm, s.fint);
  }
  return true;
}

bool Tmpm::_tangente_symmetrisch() const {
  return !(stw.konfigur == KONFIGUR_MOMKONF && stw.verzerr == VERZERR_KLNVERZ);
}

bool Tmpm::_U_Ut_Utt() {
  TSystem& s = *sys;
  const bool bexplizit = stw.zeitschrittverf == ZEITSCHRITTVERF_EXPLIZIT;
  s.U_it = s.U;
  s.dU_alt = s.dU;
  s.normdU_j = s.normdU;
  bkonv = false;

  if (dt == 0.0) {
    *konsaus << "<bool Tmpm::_U_Ut_Utt()>: dt=0.\n" << std::flush;
    s.dU.init(s.N, nullptr);
    s.U = s.U_n;
    s.Ut = s.Ut_n;
    s.Utt = s.Utt_n;
    bkonv = true;
    return true;
  }

  if (!bstrafgeprueft) bstrafgeprueft = _strafparameter_pruefen();
  const TVM::VekR& a = stw.newmark_koeff;
  const double kkon = stw.bkontakt ? -1.0 : 0.0;
  if (bexplizit)
    s._linearkombination(SYSMAT_K, {{1.0 / (dt * dt), SYSMAT_M}, {-1.0, SYSMAT_KSTRAF}, {kkon, SYSMAT_KKON}});
  else
    s._linearkombination(
        SYSMAT_K,
        {{1.0, SYSMAT_KT}, {stw.bmassen ? a[0] : 0.0, SYSMAT_M}, {-1.0, SYSMAT_KSTRAF}, {kkon, SYSMAT_KKON}});
  TVM::VekR& KU_it = s.KU_it;
  s._produkt(SYSMAT_K, s.U_it, KU_it);

  s.G = s.fext;
  if (stw.bmassen) s.G += s.fm;
  s.G -= s.fint;
  s.G += s.fstraf;
  if (stw.bkontakt) s.G += s.fckon;
  s.R = s.G;
  s.R += KU_it;

  for (int i = 0; i < s.N; ++i)
    s.U[i] = s.bvorgeschrieben[i] ? s.Uvor[i] : 0.0;

  if (!s._gesund_und_krank()) return false;
  s._aufteilen();
  // The profile (Cholesky) choice reads one triangle of a symmetric matrix.
  const MATHE::LOESER loeser = stw.gleichloes_bil == MATHE::LOESER_PROFIL && !_tangente_symmetrisch()
                                   ? MATHE::LOESER_LU
                                   : stw.gleichloes_bil;
  if (!s._loesen(loeser, !bexplizit)) {
    *konsaus << "FEHLER in <Tmpm::_U_Ut_Utt()>: Invertieren von K11 gescheitert\n" << std::flush;
    if (!bexplizit) return false;
    abbruch();
    return false;
  }

  s.dU = s.U;
  s.dU -= s.U_it;
  s.normdU = TVM::norm(s.dU);
  s.cosdU =
      s.normdU > eps && s.normdU_j > eps ? TVM::skalarprodukt(s.dU, s.dU_alt) / s.normdU / s.normdU_j : 0.0;
  // The residual over the free unknowns, reported as normG.
  TVM::VekR& Gfrei = s.Gfrei;
  Gfrei.init(s.N, nullptr);
  for (int i = 0; i < s.N; ++i)
    if (s.typ[i] == 0) Gfrei[i] = s.G[i];
  s.normG = TVM::norm(Gfrei);

  if (s.normdU < stw.schranke_normdU) bkonv = true;
  if (!bkonv && stw.bkonvkontrbilanzit && jj >= 1) {
    const double p = std::pow(s.normdU_j, stw.minkonvbilanzit);
    if (s.normdU > p) {
      *konsaus << "Keine hinreichende Konvergenz, jj=" << jj << ": "
               << "normdU=" << s.normdU << " > pow(normdU_j," << stw.minkonvbilanzit << ")"
               << " = pow(" << s.normdU_j << ", " << stw.minkonvbilanzit << ")"
               << " = " << p << "\n"
               << std::flush;
      return false;
    }
  }

  for (int i = 0; i < s.N; ++i) {
    const double du = s.U[i] - s.U_n[i];
    if (bexplizit) {
      s.Ut[i] = du / dt;
      s.Utt[i] = (s.Ut[i] - s.Ut_n[i]) / dt;
    } else {
      s.Ut[i] = a[3] * du + a[4] * s.Ut_n[i] + a[5] * s.Utt_n[i];
      s.Utt[i] = a[0] * du - a[1] * s.Ut_n[i] - a[2] * s.Utt_n[i];
    }
  }
  if (bkonv) return true;
  if (jj >= static_cast<int>(stw.maxNbilanzit)) {
    *konsaus << "Maximalzahl der Bilanziterationsschritte erreicht (jj=" << jj << ")\n" << std::flush;
    return false;
  }
  return true;
}

} // namespace MPM
