#include "approx/mpmans.h"

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
#include "output/mpmaus.h"

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

} // namespace

TAnsatz::TAnsatz(Tmpm* m, TPunkt* heimat, OBJTYP heimatot, OBJTYP stuetzot, ANSATZ a)
    : mpm(m), heimatpu(heimat), heimatOT(heimatot), stuetzOT(stuetzot), ans(a), G(0, TDimensionen::dim1),
      arbeit(TDimensionen::dim1) {}

TAnsatz& TAnsatz::operator=(const TAnsatz& b) {
  if (this == &b || ans != b.ans) return *this;
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
  VekR* ziel = heimatpu->_zg()._teilmenge(zg);
  if (!ziel) return false;
  // Summed apart from the target: the target's record may be one of the
  // sources'. A switched-off source holds a cleared record and adds nothing.
  VekR summe(ziel->n);
  for (int k = 0; k < _Np() && k < L.n; ++k) {
    if (stuetzpu[k]->status != OBJSTATUS_AKTIV) continue;
    const VekR* quelle = stuetzpu[k]->_zg()._teilmenge(zg);
    if (!quelle || quelle->n != summe.n) continue;
    for (int i = 0; i < summe.n; ++i)
      summe[i] += L[k] * (*quelle)[i];
  }
  *ziel = summe;
  return true;
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
      if (bausktr)
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

TAnsatzKopieren::TAnsatzKopieren(Tmpm* m, TPunkt* heimat, OBJTYP heimatot, OBJTYP stuetzot)
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

TAnsatzEle::TAnsatzEle(Tmpm* m, TPunkt* heimat, OBJTYP heimatot, OBJTYP stuetzot)
    : TAnsatz(m, heimat, heimatot, stuetzot, ANSATZ_ELE), xi(TDimensionen::dim1) {}

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
  const std::string prefix = "FEHLER in TAnsatzEle::_init(): heimatpu=" + punkttext(heimatpu) + ", ";
  TElement* e = heimatpu->element;
  if (!e) {
    strukturfehler(prefix + "!heimatpu->ele\n");
    return false;
  }
  if (e->knou.empty()) {
    strukturfehler(prefix + "!Np\n");
    return false;
  }
  stuetzpu = e->knou;
  L.init(_Np(), nullptr);
  G.init(_Np(), TDimensionen::dim1, nullptr);
  detJ = 0.0;
  if (!e->typ || !e->typ->eletyp) return false;
  MatR Xx, Xu;
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

TAnsatzEleinv::TAnsatzEleinv(Tmpm* m, TPunkt* heimat, OBJTYP heimatot, OBJTYP stuetzot)
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
    if (bausktr) *pck << "TAnsatzEleinv::_init(): " << punkttext(heimatpu) << "\n";
    return false;
  }
  VekR N(Np), vol(Np);
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
  if (bausktr)
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

std::unique_ptr<TAnsatz> _ansatz_erzeugen(Tmpm* mpm, TPunkt* heimatpu, OBJTYP heimatOT, OBJTYP stuetzOT,
                                          ANSATZ ans) {
  switch (ans) {
  case ANSATZ_KOPIEREN:
    return std::make_unique<TAnsatzKopieren>(mpm, heimatpu, heimatOT, stuetzOT);
  case ANSATZ_ELE:
    return std::make_unique<TAnsatzEle>(mpm, heimatpu, heimatOT, stuetzOT);
  case ANSATZ_ELEINV:
    return std::make_unique<TAnsatzEleinv>(mpm, heimatpu, heimatOT, stuetzOT);
  case ANSATZ_WOLKEN:
    return std::make_unique<TAnsatzWolken>(mpm, heimatpu, heimatOT, stuetzOT);
  default:
    return nullptr;
  }
}

bool _xi_setzen(TAnsatz* a, const TVM::VekR& xi) {
  if (!a || a->ans != ANSATZ_ELE) return false;
  ANSATZELE_Z(a)->xi = xi;
  return true;
}

} // namespace MPM
