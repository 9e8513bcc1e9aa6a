#include "approx/mpmans.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <sstream>
#include <string>

#include "approx/wolken.h"
#include "frame/meldung.h"
#include "frame/mix.h"
#include "frame/mpmextern.h"
#include "input/mpmdimensionen.h"
#include "model/mpmobjele.h"
#include "model/mpmobjeletyp.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjpunkt.h"

namespace MPM {

using TVM::MatR;
using TVM::VekR;

namespace {

// The short object form of a point, e.g. "mpu(3+)".
std::string punkttext(const TPunkt* p) {
  std::ostringstream s;
  s << static_cast<const TObjbasis*>(p);
  return s.str();
}

MatR einheitsmatrix(int d) {
  MatR I(d, d);
  for (int i = 0; i < d; ++i)
    I[i][i] = 1.0;
  return I;
}

MatR transponiert(const MatR& a) {
  MatR t;
  return TVM::Transponieren(a, t);
}

// (a + a^T) / 2
MatR symmetrisch(const MatR& a) {
  return 0.5 * (a + transponiert(a));
}

void fehlerabbruch(const std::string& text) {
  *konsaus << text << std::flush;
  abbruch();
}

// A zero vector of dim1 in the stores of the simulation, or an own one
// without a simulation.
VekR kleiner_vektor(TModell* mpm) {
  VekR v;
  if (mpm) {
    v.ansicht(TDimensionen::dim1, mpm->_speicher(static_cast<std::size_t>(TDimensionen::dim1)));
  } else {
    v.init(TDimensionen::dim1, nullptr);
  }
  return v;
}

// Subsets of state records up to this length are summed on the stack.
constexpr int maxstapel = 160;

} // namespace

TAnsatz::TAnsatz(TModell* m, TPunkt* heimat, OBJTYP heimatot, OBJTYP stuetzot, ANSATZ a)
    : heimatpu(heimat), G(0, TDimensionen::dim1), mpm(m), heimatOT(heimatot), stuetzOT(stuetzot), ans(a),
      arbeit(kleiner_vektor(m)) {}

TAnsatz& TAnsatz::operator=(const TAnsatz& b) {
  if (this == &b || ans != b.ans) return *this;
  einbaupos_stand_ = -1;
  bquellbloecke_ = false;
  if (mpm) ++mpm->Nansatzaenderungen;
  stuetzOT = b.stuetzOT;
  stuetzpu = b.stuetzpu;
  L = b.L;
  G = b.G;
  return *this;
}

void TAnsatz::strukturfehler(const std::string& text) {
  heimatpu->status = OBJSTATUS_INAKTIV;
  fehlerabbruch(text);
}

bool TAnsatz::_init(KONFIGUR k, VERZERR v) {
  konfigur = k;
  verzerr = v;
  einbaupos_stand_ = -1;
  bquellbloecke_ = false;
  if (mpm) ++mpm->Nansatzaenderungen;
  const bool bkonfigur = k == KONFIGUR_REFKONF || k == KONFIGUR_MOMKONF;
  const bool bverzerr = v == VERZERR_KLNVERZ || v == VERZERR_GROVERZ;
  if (!bkonfigur || !bverzerr) {
    fehlerabbruch("FEHLER in <bool TAnsatz::_init(KONFIGUR konfigur_, VERZERR verzerr_)>\n");
    return false;
  }
  heimatpu->status = OBJSTATUS_AKTIV;
  if (_init()) return true;
  heimatpu->status = OBJSTATUS_INAKTIV;
  return false;
}

TVM::VekR& TAnsatz::_xi() {
  static VekR null;
  *konsaus << "FEHLER in <TVM::VekR& TAnsatz::_xi()>\n" << std::flush;
  null.init(TDimensionen::dim1, nullptr, 0.0);
  return null;
}

bool TAnsatz::_zg(ZUSTGROE zg) {
  if (stuetzpu.empty()) {
    strukturfehler("TAnsatz::_zg(...): heimatpu=" + punkttext(heimatpu) + ", !Np\n");
    return false;
  }
  TZustgroe& heimat = heimatpu->_zg();
  // The subset in the block where the layout is the current one, else its view.
  const TZustgroe::TLage lage;
  int von = 0, n = 0;
  VekR* ziel = nullptr;
  double* zielwerte;
  if (heimat.alle.n == lage.ende) {
    if (!TZustgroe::_strecke(zg, lage, von, n)) return false;
    zielwerte = heimat.alle.data + von;
  } else {
    ziel = heimat._teilmenge(zg);
    if (!ziel) return false;
    n = ziel->n;
    zielwerte = ziel->data;
  }
  // Summed apart from the target: the target's record may be one of the
  // sources'. A switched-off source holds a cleared record and adds nothing.
  double* const* bloecke = _quellbloecke();
  double stapel[maxstapel];
  std::vector<double> halde;
  double* summe = stapel;
  if (n > maxstapel) {
    halde.assign(n, 0.0);
    summe = halde.data();
  } else {
    std::fill(summe, summe + n, 0.0);
  }
  // The same stretch of every source's block, found from the target's.
  const long versatz = zielwerte - heimat.alle.data;
  for (int k = 0; k < _Np() && k < L.n; ++k) {
    if (stuetzpu[k]->status != OBJSTATUS_AKTIV) continue;
    const double* q;
    if (bloecke) {
      q = bloecke[k] + versatz;
    } else {
      const VekR* quelle = stuetzpu[k]->_zg()._teilmenge(zg);
      if (!quelle || quelle->n != n) continue;
      q = quelle->data;
    }
    TVM::vielfaches_addieren(summe, q, L[k], n);
  }
  std::copy(summe, summe + n, zielwerte);
  return true;
}

void TAnsatz::quellen_bilden() {
  const TZustgroe& heimat = heimatpu->_zg();
  quellbloecke_.resize(stuetzpu.size());
  bgleich_ = true;
  for (std::size_t k = 0; k < stuetzpu.size(); ++k) {
    const TZustgroe& q = stuetzpu[k]->_zg();
    quellbloecke_[k] = q.alle.data;
    bgleich_ = bgleich_ && q.alle.n == heimat.alle.n;
  }
  bselbst_ = stuetzpu.size() == 1 && &stuetzpu[0]->_zg() == &heimat;
  bquellbloecke_ = true;
}

double* const* TAnsatz::_quellbloecke() {
  if (!bquellbloecke_ || quellbloecke_.size() != stuetzpu.size()) quellen_bilden();
  return bgleich_ ? quellbloecke_.data() : nullptr;
}

void TAnsatz::_vorladen(int stufe, int von, int bis) const {
  if (stufe == 0) {
    // The members the passes read, up to G's row table; the object need not
    // begin a line.
    const char* p = reinterpret_cast<const char*>(this);
    const char* ende = reinterpret_cast<const char*>(&G + 1);
    for (; p < ende; p += 64)
      TVM::vorholen(p);
    TVM::vorholen(ende - 1);
  } else if (stufe == 1) {
    // Each array from its first to its last byte: on the heap a small one
    // often straddles two lines.
    const auto beide = [](const auto* a, std::size_t n) {
      if (!a || n == 0) return;
      TVM::vorholen(a);
      TVM::vorholen(reinterpret_cast<const char*>(a + n) - 1);
    };
    beide(stuetzpu.data(), stuetzpu.size());
    beide(L.data, static_cast<std::size_t>(L.n));
    beide(G.data, static_cast<std::size_t>(G.anzahl()));
    beide(quellbloecke_.data(), quellbloecke_.size());
    beide(einbaupos_.data, static_cast<std::size_t>(einbaupos_.n));
  } else if (bquellbloecke_ && quellbloecke_.size() == stuetzpu.size()) {
    for (std::size_t k = 0; k < stuetzpu.size(); ++k) {
      TVM::vorholen(stuetzpu[k]);
      for (int i = von; i < bis; i += 8)
        TVM::vorholen(quellbloecke_[k] + i);
    }
  }
}

bool TAnsatz::quelle_ist_ziel() {
  if (!bquellbloecke_ || quellbloecke_.size() != stuetzpu.size()) quellen_bilden();
  return bselbst_;
}

const TVM::TVektor<int>& TAnsatz::_einbaupos() {
  const long stand = mpm && mpm->_system() ? mpm->_system()->_Nnummerierungen() : 0;
  if (einbaupos_stand_ != stand || einbaupos_.n != TDimensionen::dim1 * _Np()) {
    MPM::_einbaupos(stuetzpu, einbaupos_);
    einbaupos_stand_ = stand;
  }
  return einbaupos_;
}

// The deformation of the target from the sources' motion. The gradient
// weights G belong to the configuration `konfigur`:
//  - refkonf: G is the gradient with respect to the reference coordinates;
//    H = sum u_k (x) G_k is the displacement gradient, F = I + H, and the
//    rate is Fdot = sum ut_k (x) G_k.
//  - momkonf: G is the gradient with respect to the current coordinates;
//    with h = sum u_k (x) G_k the reference point is X = x - u, so
//    dX/dx = I - h and F = (I - h)^-1; the velocity gradient
//    l = sum ut_k (x) G_k gives Fdot = l F.
// The record then holds F, the displacement gradient H = F - I and Fa, the
// deformation gradient at the step start, formed in the same way from the
// sources' displacements u_n of the previous step. J = det F. False (the
// step cannot go on) when I - h is singular or, for large strains, J <= 0.
// Strains: klnverz eps = sym(H), epst = sym(Fdot); groverz the
// Green-Lagrange strain E = (F^T F - I) / 2 and its rate sym(F^T Fdot). Both
// are stored as scaled Voigt vectors.
bool TAnsatz::_verzerrungen() {
  if (stuetzpu.empty()) {
    strukturfehler("TAnsatz::_verzerrungen(): heimatpu=" + punkttext(heimatpu) + ", !Np\n");
    return false;
  }
  const int d = TDimensionen::dim1;
  const int Np = _Np();
  if (G.zeilen != Np || G.spalten != d) return false;
  if (d == 2) return verzerrungen_eben();
  MatR grad(d, d), gradt(d, d), grad_n(d, d);
  for (int k = 0; k < Np; ++k) {
    const TZustgroe& q = stuetzpu[k]->_zg();
    for (int i = 0; i < d; ++i)
      for (int j = 0; j < d; ++j) {
        grad[i][j] += q.u[i] * G[k][j];
        gradt[i][j] += q.ut[i] * G[k][j];
        grad_n[i][j] += q.u_n[i] * G[k][j];
      }
  }
  const MatR I = einheitsmatrix(d);
  MatR F, Fdot, Fa;
  if (konfigur == KONFIGUR_MOMKONF) {
    double det = 0.0;
    if (!TVM::inverse_nxn(I - grad, F, det)) {
      if (_bausktr())
        *pck << "TAnsatz::_verzerrungen(): heimatpu=" << punkttext(heimatpu) << ", I-h singulaer\n";
      return false;
    }
    Fdot = gradt * F;
    Fa = (I - grad + grad_n) * F;
  } else {
    F = I + grad;
    Fdot = gradt;
    Fa = I + grad_n;
  }
  TZustgroe& zg = heimatpu->_zg();
  zg.F = F;
  zg.H = F - I;
  zg.Fa = Fa;
  zg.J = TVM::determinante_nxn(F);
  // Green-Lagrange strains of an inverted or collapsed point mean nothing.
  if (verzerr == VERZERR_GROVERZ && !(zg.J > 0.0)) {
    *konsaus << "TAnsatz::_verzerrungen(): heimatpu=" << punkttext(heimatpu) << ", J=" << zg.J << "<=0\n"
             << std::flush;
    return false;
  }
  MatR e, et;
  if (verzerr == VERZERR_GROVERZ) {
    const MatR Ft = transponiert(F);
    e = 0.5 * (Ft * F - I);
    et = symmetrisch(Ft * Fdot);
  } else {
    e = symmetrisch(zg.H);
    et = symmetrisch(Fdot);
  }
  TVM::vektorV_transform(e, zg.eps);
  TVM::vektorV_transform(et, zg.epst);
  return true;
}

namespace {
// 2 x 2 matrices as a00, a01, a10, a11, and the matrix operations of the
// general path with the same arithmetic, so that both give the same bits.
using M2 = double[4];
constexpr double I2[4] = {1.0, 0.0, 0.0, 1.0};

// c := a b, zero entries of a skipped as in the matrix product.
void mal2(const M2 a, const M2 b, M2 c) {
  c[0] = c[1] = c[2] = c[3] = 0.0;
  for (int i = 0; i < 2; ++i)
    for (int k = 0; k < 2; ++k) {
      const double aik = a[2 * i + k];
      if (aik == 0.0) continue;
      c[2 * i] += aik * b[2 * k];
      c[2 * i + 1] += aik * b[2 * k + 1];
    }
}

// The scaled Voigt vector of (a + a^T) / 2.
void symmetrisch_voigt2(const M2 a, double v[3]) {
  v[0] = (a[0] + a[0]) * 0.5;
  v[1] = (a[3] + a[3]) * 0.5;
  v[2] = 1.4142135623730951 * ((a[1] + a[2]) * 0.5);
}
} // namespace

// The plane case of `_verzerrungen` on the stack.
bool TAnsatz::verzerrungen_eben() {
  M2 grad = {0.0, 0.0, 0.0, 0.0}, gradt = {0.0, 0.0, 0.0, 0.0}, grad_n = {0.0, 0.0, 0.0, 0.0};
  const int Np = _Np();
  TZustgroe& zg = heimatpu->_zg();
  double* const* bloecke = _quellbloecke();
  // The record is read and written in its block, where the layout is known.
  const TZustgroe::TLage lage;
  double* block = zg.alle.n == lage.ende && lage.d1 == 2 && lage.d2 == 3 ? zg.alle.data : nullptr;
  const long vu = block ? lage.u : zg.u.data - zg.alle.data,
             vut = block ? lage.ut : zg.ut.data - zg.alle.data,
             vun = block ? lage.u_n : zg.u_n.data - zg.alle.data;
  for (int k = 0; k < Np; ++k) {
    const double *u, *ut, *u_n;
    if (bloecke) {
      u = bloecke[k] + vu;
      ut = bloecke[k] + vut;
      u_n = bloecke[k] + vun;
    } else {
      const TZustgroe& q = stuetzpu[k]->_zg();
      u = q.u.data;
      ut = q.ut.data;
      u_n = q.u_n.data;
    }
    const double* g = G[k];
    for (int i = 0; i < 2; ++i)
      for (int j = 0; j < 2; ++j) {
        grad[2 * i + j] += u[i] * g[j];
        gradt[2 * i + j] += ut[i] * g[j];
        grad_n[2 * i + j] += u_n[i] * g[j];
      }
  }
  M2 F, Fdot, Fa;
  if (konfigur == KONFIGUR_MOMKONF) {
    M2 A;
    for (int k = 0; k < 4; ++k)
      A[k] = I2[k] - grad[k];
    const double det = A[0] * A[3] - A[1] * A[2];
    if (std::fabs(det) <= 2.220446049250313e-16) {
      if (_bausktr())
        *pck << "TAnsatz::_verzerrungen(): heimatpu=" << punkttext(heimatpu) << ", I-h singulaer\n";
      return false;
    }
    F[0] = A[3] / det;
    F[1] = -A[1] / det;
    F[2] = -A[2] / det;
    F[3] = A[0] / det;
    mal2(gradt, F, Fdot);
    M2 B;
    for (int k = 0; k < 4; ++k)
      B[k] = (I2[k] - grad[k]) + grad_n[k];
    mal2(B, F, Fa);
  } else {
    for (int k = 0; k < 4; ++k) {
      F[k] = I2[k] + grad[k];
      Fdot[k] = gradt[k];
      Fa[k] = I2[k] + grad_n[k];
    }
  }
  M2 H;
  for (int k = 0; k < 4; ++k)
    H[k] = F[k] - I2[k];
  const double J = F[0] * F[3] - F[1] * F[2];
  if (block) {
    std::copy(F, F + 4, block + lage.F);
    std::copy(H, H + 4, block + lage.H);
    std::copy(Fa, Fa + 4, block + lage.Fa);
    block[lage.J] = J;
  } else {
    zg.F.init(2, 2, F);
    zg.H.init(2, 2, H);
    zg.Fa.init(2, 2, Fa);
    zg.J = J;
  }
  if (verzerr == VERZERR_GROVERZ && !(J > 0.0)) {
    *konsaus << "TAnsatz::_verzerrungen(): heimatpu=" << punkttext(heimatpu) << ", J=" << J << "<=0\n"
             << std::flush;
    return false;
  }
  double eps[3], epst[3];
  if (verzerr == VERZERR_GROVERZ) {
    const M2 Ft = {F[0], F[2], F[1], F[3]};
    M2 FtF, FtFdot;
    mal2(Ft, F, FtF);
    eps[0] = (FtF[0] - 1.0) * 0.5;
    eps[1] = (FtF[3] - 1.0) * 0.5;
    eps[2] = 1.4142135623730951 * ((FtF[1] - 0.0) * 0.5);
    mal2(Ft, Fdot, FtFdot);
    symmetrisch_voigt2(FtFdot, epst);
  } else {
    symmetrisch_voigt2(H, eps);
    symmetrisch_voigt2(Fdot, epst);
  }
  if (block) {
    std::copy(eps, eps + 3, block + lage.eps);
    std::copy(epst, epst + 3, block + lage.epst);
  } else {
    zg.eps.init(3, eps);
    zg.epst.init(3, epst);
  }
  return true;
}

void TAnsatz::_text(std::ostream& os) const {
  os << "ans=" << str_ANSATZ(ans) << ", Ng=" << Ng << ", heimatOT=" << str_OBJTYP(heimatOT)
     << ", stuetzOT=" << str_OBJTYP(stuetzOT) << ", heimatpu=[" << static_cast<const TObjbasis*>(heimatpu)
     << "]"
     << ", stuetzpu=[" << stuetzpu << "]\n"
     << "L=" << L << "\n"
     << "G=" << G;
}

std::ostream& operator<<(std::ostream& os, const TAnsatz& a) {
  a._text(os);
  return os;
}

// Copy

TAnsatzKopieren::TAnsatzKopieren(TModell* m, TPunkt* heimat, OBJTYP heimatot, OBJTYP stuetzot)
    : TAnsatz(m, heimat, heimatot, stuetzot, ANSATZ_KOPIEREN) {}

bool TAnsatzKopieren::_init() {
  TPunkt* quelle = heimatpu->_pu(stuetzOT);
  if (!quelle) {
    heimatpu->status = OBJSTATUS_INAKTIV;
    std::ostringstream s;
    s << "FEHLER in <bool TAnsatzKopieren::_init()>: "
      << "heimatpu->_pu(stuetzot)==NULL\n"
      << "*this=" << *this << "\n";
    fehlerabbruch(s.str());
    return false;
  }
  stuetzpu.assign(1, quelle);
  L.init(1, nullptr, 1.0);
  G.init(1, TDimensionen::dim1, nullptr);
  return true;
}

bool TAnsatzKopieren::_zg(ZUSTGROE zg) {
  if (_Np() != 1) {
    strukturfehler("FEHLER in TAnsatzKopieren::_zg(...): heimatpu=" + punkttext(heimatpu) +
                   ", Np=" + std::to_string(_Np()) + "!=1\n");
    return false;
  }
  // A target that shares the source's record already holds its values.
  if (quelle_ist_ziel()) return TZustgroe::_bteilmenge(zg);
  VekR* ziel = heimatpu->_zg()._teilmenge(zg);
  const VekR* quelle = stuetzpu[0]->_zg()._teilmenge(zg);
  if (!ziel || !quelle || ziel->n != quelle->n) return false;
  *ziel = *quelle;
  return true;
}

bool TAnsatzKopieren::_verzerrungen() {
  fehlerabbruch("FEHLER in TAnsatzKopieren::_verzerrungen(): Verzerrungsberechnung nicht moeglich\n");
  return false;
}

// Element

TAnsatzEle::TAnsatzEle(TModell* m, TPunkt* heimat, OBJTYP heimatot, OBJTYP stuetzot)
    : TAnsatz(m, heimat, heimatot, stuetzot, ANSATZ_ELE), xi(kleiner_vektor(m)) {}

TAnsatz& TAnsatzEle::operator=(const TAnsatz& b) {
  if (this == &b) return *this;
  const std::string prefix = "FEHLER in <TAnsatzEle& TAnsatzEle::operator=(const TAnsatzEle& ansele)>: ";
  if (b.ans != ans) {
    fehlerabbruch(prefix + "a!=ansele.a\n");
    return *this;
  }
  if (heimatpu->element != b.heimatpu->element) {
    fehlerabbruch(prefix + "heimatpu->ele!=ansele.heimatpu->ele\n");
    return *this;
  }
  TAnsatz::operator=(b);
  const TAnsatzEle& ansele = static_cast<const TAnsatzEle&>(b);
  xi = ansele.xi;
  detJ = ansele.detJ;
  return *this;
}

TAnsatzEle& TAnsatzEle::operator=(const TAnsatzEle& b) {
  operator=(static_cast<const TAnsatz&>(b));
  return *this;
}

// The sources are the element's unknown nodes; G is taken with the nodes'
// positions in the configuration `konfigur`, so that the strain computation
// gets the gradient it expects (reference or current coordinates).
bool TAnsatzEle::_init() {
  const auto praefix = [this] {
    return "FEHLER in TAnsatzEle::_init(): heimatpu=" + punkttext(heimatpu) + ", ";
  };
  TElement* e = heimatpu->element;
  if (!e) {
    strukturfehler(praefix() + "!heimatpu->ele\n");
    return false;
  }
  if (e->knou.empty()) {
    strukturfehler(praefix() + "!Np\n");
    return false;
  }
  stuetzpu = e->knou;
  L.init(_Np(), nullptr);
  G.init(_Np(), TDimensionen::dim1, nullptr);
  detJ = 0.0;
  if (!e->typ || !e->typ->eletyp) return false;
  // The node positions on the stack while they fit.
  const int d1 = TDimensionen::dim1;
  const int Nx = e->_Nkno(KNOTYP_GEOMETRIEKNOTEN), Nu = e->_Nkno(KNOTYP_UNBEKANNTENKNOTEN);
  constexpr int maxstapelknoten = 64;
  double stapel[2 * 3 * maxstapelknoten];
  MatR Xx, Xu;
  if (d1 <= 3 && Nx > 0 && Nu > 0 && Nx <= maxstapelknoten && Nu <= maxstapelknoten) {
    Xx.ansicht(d1, Nx, stapel);
    Xu.ansicht(d1, Nu, stapel + 3 * maxstapelknoten);
  }
  e->_xk(Xx, konfigur, KNOTYP_GEOMETRIEKNOTEN);
  e->_xk(Xu, konfigur, KNOTYP_UNBEKANNTENKNOTEN);
  const bool berfolg = e->typ->eletyp->_Lu_Gu_detJ(Xx, Xu, xi, detJ, L, G);
  return berfolg && L.n == _Np() && G.zeilen == _Np() && G.spalten == TDimensionen::dim1;
}

void TAnsatzEle::_text(std::ostream& os) const {
  TAnsatz::_text(os);
  os << ", heimatpu->ele=[" << static_cast<const TObjbasis*>(heimatpu->element) << "]";
}

// Inverse element

TAnsatzEleinv::TAnsatzEleinv(TModell* m, TPunkt* heimat, OBJTYP heimatot, OBJTYP stuetzot)
    : TAnsatz(m, heimat, heimatot, stuetzot, ANSATZ_ELEINV) {}

// L_p = vol_p N_p / S with S = sum vol_p N_p, N_p the node's shape function
// at source p. The corner functions of the serendipity families are
// negative at the Gauss points, so S may be negative: its magnitude is
// compared with the threshold, and the weights still sum to 1. A vanishing
// or non-finite S switches the node off instead of dividing by it.
bool TAnsatzEleinv::_init() {
  stuetzpu.clear();
  if (const TKnoten* kn = dynamic_cast<const TKnoten*>(heimatpu))
    for (TElement* e : kn->elemente)
      for (TPunkt* p : e->_pu(stuetzOT))
        if (p->status == OBJSTATUS_AKTIV) stuetzpu.push_back(p);
  const int Np = _Np();
  L.init(Np, nullptr);
  G.init(Np, TDimensionen::dim1, nullptr);
  if (Np == 0) {
    heimatpu->status = OBJSTATUS_INAKTIV;
    if (_bausktr()) *pck << "TAnsatzEleinv::_init(): " << punkttext(heimatpu) << "\n";
    return false;
  }
  // The nodes' weights and the volumes on the stack while they fit.
  constexpr int maxstapelquellen = 64;
  double Nstapel[maxstapelquellen], volstapel[maxstapelquellen];
  std::vector<double> halde;
  double *N = Nstapel, *vol = volstapel;
  if (Np > maxstapelquellen) {
    halde.resize(2 * static_cast<std::size_t>(Np));
    N = halde.data();
    vol = N + Np;
  }
  double V = 0.0, S = 0.0;
  for (int k = 0; k < Np; ++k) {
    TPunkt* p = stuetzpu[k];
    const TAnsatz* eleans = p->_ansatz(heimatOT);
    if (!eleans) {
      fehlerabbruch("FEHLER in TAnsatzEleinv::_init(): !eleans\n");
      return false;
    }
    const int pos = _pos_in_cont(eleans->stuetzpu, heimatpu->num);
    if (pos < 0 || pos >= eleans->L.n) {
      fehlerabbruch("FEHLER in TAnsatzEleinv::_init(): knonum<0\n");
      return false;
    }
    N[k] = eleans->L[pos];
    vol[k] = p->_vol(konfigur);
    V += vol[k];
    S += vol[k] * N[k];
  }
  const double schranke = V / Np * 1e-6;
  if (std::isfinite(S) && S != 0.0 && std::fabs(S) >= schranke) {
    for (int k = 0; k < Np; ++k)
      L[k] = vol[k] * N[k] / S;
    return true;
  }
  heimatpu->status = OBJSTATUS_INAKTIV;
  if (_bausktr())
    *pck << "TAnsatzEleinv::_init(): heimatpu=" << punkttext(heimatpu) << ", L1sum=" << _str(S, 10) << "<"
         << _str(schranke, 10) << "=schranke\n";
  return false;
}

bool TAnsatzEleinv::_verzerrungen() {
  fehlerabbruch("FEHLER in TAnsatzEleinv::_verzerrungen(): Verzerrungsberechnung nicht moeglich\n");
  return false;
}

// Factory

bool _ansatz_verfuegbar(ANSATZ ans) {
  return ans == ANSATZ_KOPIEREN || ans == ANSATZ_ELE || ans == ANSATZ_ELEINV || ans == ANSATZ_WOLKEN;
}

TAnsatz* _ansatz_erzeugen(TModell* mpm, TPunkt* heimatpu, OBJTYP heimatOT, OBJTYP stuetzOT, ANSATZ ans) {
  if (!mpm) return nullptr;
  switch (ans) {
  case ANSATZ_KOPIEREN:
    return mpm->_anlegen<TAnsatzKopieren>(mpm, heimatpu, heimatOT, stuetzOT);
  case ANSATZ_ELE:
    return mpm->_anlegen<TAnsatzEle>(mpm, heimatpu, heimatOT, stuetzOT);
  case ANSATZ_ELEINV:
    return mpm->_anlegen<TAnsatzEleinv>(mpm, heimatpu, heimatOT, stuetzOT);
  case ANSATZ_WOLKEN:
    return mpm->_anlegen<TAnsatzWolken>(mpm, heimatpu, heimatOT, stuetzOT);
  default:
    return nullptr;
  }
}

bool TAnsatz::_bausktr() const {
  return !mpm || mpm->bausktr;
}

bool _xi_setzen(TAnsatz* a, const TVM::VekR& xi) {
  if (!a || a->ans != ANSATZ_ELE) return false;
  ANSATZELE_Z(a)->xi = xi;
  return true;
}

} // namespace MPM
