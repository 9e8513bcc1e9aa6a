#include "testhilfe.h"

#include <fstream>
#include <iomanip>
#include <iterator>

Tempordner::Tempordner() {
  std::random_device zufall;
  do
    pfad_ = std::filesystem::temp_directory_path() / ("mpmtest-" + std::to_string(zufall()));
  while (!std::filesystem::create_directory(pfad_));
}

Tempordner::~Tempordner() {
  std::error_code fehler;
  std::filesystem::remove_all(pfad_, fehler);
}

void Tempordner::schreiben(const std::string& name, const std::string& inhalt) const {
  std::ofstream(datei(name), std::ios::binary) << inhalt;
}

std::string datei_lesen(const std::string& name) {
  std::ifstream datei(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(datei), {});
}

std::string beispieltext(const std::string& name, const std::string& aendern, const std::string& neu) {
  const std::string pfad = MPM_QUELLE "/examples/" + name + ".mpm";
  std::string text = datei_lesen(pfad);
  EXPECT_FALSE(text.empty()) << pfad;
  const std::size_t i = aendern.empty() ? std::string::npos : text.find(aendern);
  EXPECT_TRUE(aendern.empty() || i != std::string::npos) << aendern;
  if (i != std::string::npos) text.replace(i, aendern.size(), neu);
  return text;
}

Testlauf::Testlauf(const std::string& eingabe) {
  ordner_.schreiben("lauf.mpm", eingabe);
  stream_start(ordner_.datei("lauf").c_str());
}

// --- shared fixtures (lower layers)

#include <cctype>

std::string namensliste(const std::string& enumname, int N, const std::function<std::string(int)>& name,
                        const std::function<int(const char*)>& wert, const std::string& unbekannt) {
  std::string liste = enumname + ":";
  for (int v = 0; v < N; ++v) {
    const std::string n = name(v);
    if (n == unbekannt) continue;
    std::string gross = n;
    std::transform(n.begin(), n.end(), gross.begin(), [](unsigned char c) { return std::toupper(c); });
    for (const std::string& w : {n, gross}) {
      if (wert) {
        EXPECT_EQ(wert(w.c_str()), v) << enumname << " " << w;
      }
    }
    liste += (liste.back() == ':' ? " " : "; ") + std::to_string(v) + " " + n;
  }
  EXPECT_EQ(name(N), unbekannt) << enumname;
  EXPECT_EQ(name(-1), unbekannt) << enumname;
  if (wert) {
    EXPECT_EQ(wert("xyz"), 0) << enumname;
  }
  return liste;
}

std::string vorlage(const std::string& pfad) {
  const std::string text = datei_lesen(MPM_QUELLE "/tests/" + pfad);
  EXPECT_FALSE(text.empty()) << pfad;
  return text;
}

double maxabw(const TVM::MatR& a, const TVM::MatR& b) {
  if (a.zeilen != b.zeilen || a.spalten != b.spalten) return HUGE_VAL;
  double d = 0.0;
  for (long k = 0; k < a.anzahl(); ++k)
    d = std::max(d, std::fabs(a.data[k] - b.data[k]));
  return d;
}

double maxabw(const TVM::VekR& a, const TVM::VekR& b) {
  if (a.n != b.n) return HUGE_VAL;
  double d = 0.0;
  for (int k = 0; k < a.n; ++k)
    d = std::max(d, std::fabs(a[k] - b[k]));
  return d;
}

TVM::MatR einheitsmatrix(int n) {
  TVM::MatR e(n, n);
  for (int i = 0; i < n; ++i)
    e[i][i] = 1.0;
  return e;
}

TVM::MatR transponiert(const TVM::MatR& a) {
  TVM::MatR t;
  return TVM::Transponieren(a, t);
}

TVM::MatR zufallsmatrix(int z, int s, std::mt19937& g) {
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  TVM::MatR a(z, s);
  for (long k = 0; k < a.anzahl(); ++k)
    a.data[k] = u(g);
  return a;
}
namespace th {

bool enthaelt(const std::string& text, const std::string& teil) {
  return text.find(teil) != std::string::npos;
}

int anzahl(const std::string& text, const std::string& teil) {
  int n = 0;
  for (std::size_t i = text.find(teil); i != std::string::npos; i = text.find(teil, i + 1))
    ++n;
  return n;
}

std::vector<std::string> zeilen(const std::string& text) {
  std::vector<std::string> z;
  std::istringstream s(text);
  for (std::string zeile; std::getline(s, zeile);)
    z.push_back(zeile);
  return z;
}

std::vector<std::vector<double>> tabelle(const std::string& text) {
  std::vector<std::vector<double>> t;
  for (const std::string& zeile : zeilen(text)) {
    if (zeile.empty() || zeile[0] == '#') continue;
    std::istringstream z(zeile);
    t.emplace_back(std::istream_iterator<double>(z), std::istream_iterator<double>());
  }
  return t;
}

std::string zahl(double x) {
  std::ostringstream s;
  s << std::setprecision(17) << x;
  return s.str();
}

std::string golden(const std::string& datei, const std::string& name, const std::string& zeit) {
  const std::string text = "\n" + vorlage(datei);
  const std::size_t a = text.find("\n== " + name + "\n");
  EXPECT_NE(a, std::string::npos) << datei << ": " << name;
  if (a == std::string::npos) return "";
  const std::size_t von = a + name.size() + 5, naechster = text.find("\n== ", von - 1);
  const std::size_t bis = naechster == std::string::npos ? text.size() : naechster + 1;
  std::string block = text.substr(von, bis - von);
  for (std::size_t i = block.find("ZEIT"); i != std::string::npos; i = block.find("ZEIT", i + zeit.size()))
    block.replace(i, 4, zeit);
  return block;
}

double maxbetrag(const TVM::MatR& a) {
  return ::maxabw(a, TVM::MatR(a.zeilen, a.spalten));
}

MPM::TKnoten* knoten(MPM::Tmpm& mpm, int num, double x, double y, double vol, bool unbekannt) {
  MPM::TKnoten* kn = MPM::kno_erzeugen(&mpm, num, 1, vol, TVM::VekR{x, y}, leer, leer, leer, leer, 0);
  if (kn && unbekannt) {
    mpm.knou.einfuegen(num, kn);
    mpm.knox.einfuegen(num, kn);
  }
  return kn;
}

void knoten(MPM::Tmpm& mpm, const std::vector<std::pair<double, double>>& punkte) {
  int n = 0;
  for (const auto& [x, y] : punkte)
    knoten(mpm, ++n, x, y);
}

void eletyp_bilinear(MPM::Tmpm& mpm, int num, int n) {
  EXPECT_NE(MPM::eletyp_erzeugen(&mpm, num, ELE::FORM_VIERECK, ELE::ANSFUNK_LAGRO1, ELE::ANSFUNK_LAGRO1,
                                 n ? ELE::IPU_GAUSS : ELE::IPU_LEER, n, 0),
            nullptr);
}

Modell::Modell(bool bipuaufmpu) {
  stw.bipuaufmpu = bipuaufmpu;
  MPM::_material_erzeugen(this, 1, 1, {2.0, 100.0, 0.25});
}

void gitter(MPM::Tmpm& mpm, int nx, int ny, double h, double vol, bool unbekannt) {
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i)
      knoten(mpm, j * nx + i + 1, i * h, j * h, vol, unbekannt);
}

MPM::TMaterialpunkt* materialpunkt(MPM::Tmpm& mpm, int num, double x, double y, double vol, int mat) {
  TVM::VekR pos{x, y};
  return MPM::mpu_erzeugen(&mpm, num, mat, vol, pos, leer, leer, leer, leer, 0);
}

std::string netz(int nx, int ny, double dx, double dy, double vol,
                 const std::function<std::string(int, double, double)>& zusatz) {
  std::ostringstream s;
  for (int j = 0; j <= ny; ++j)
    for (int i = 0; i <= nx; ++i) {
      const int n = j * (nx + 1) + i + 1;
      s << "kno " << n << ", 1, " << zahl(vol) << ", (" << zahl(i * dx) << ", " << zahl(j * dy) << ")"
        << (zusatz ? zusatz(n, i * dx, j * dy) : "") << "\n";
    }
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      const int a = j * (nx + 1) + i + 1;
      s << "ele " << j * nx + i + 1 << ", 1, 1, (" << a << ", " << a + 1 << ", " << a + nx + 2 << ", "
        << a + nx + 1 << ")\n";
    }
  return s.str();
}

std::string einheitsquadrat(const std::string& mat) {
  return "stw_zeitschrittverf implizit\n" + mat + "\neletyp 1\nkno 1, 1, 1., (0, 0)\nkno 2, 1, 1., (1, 0)\n" +
         "kno 3, 1, 1., (1, 1)\nkno 4, 1, 1., (0, 1)\nele 1, 1, 1, (1, 2, 3, 4)\n";
}

std::string verschiebung(int num, const std::string& knoten, double winkel, double wert) {
  return "punktlast " + std::to_string(num) + ", kno, verschiebung, (" + knoten + "), " + zahl(winkel) +
         ", kon, (0., 10.), (" + zahl(wert) + ")\n";
}

void starten(MPM::Tmpm& mpm) {
  mpm._eingabe_start();
  mpm._netza();
  mpm._netz_init_mpu();
  mpm._L_G();
}

Startlauf::Startlauf(const std::string& eingabe, const std::string& konsole) : k(konsole), lauf(eingabe) {
  starten(mpm);
}

bool Schrittprotokoll::_zeitschritt() {
  if (vorher) vorher(*this);
  const bool ok = MPM::Tmpm::_zeitschritt();
  if (nachher) nachher(*this, ok);
  return ok;
}

// --- solver tests

bool laufen(MPM::Tmpm& mpm, const std::string& eingabe, std::string* konsole) {
  Konsolenumleitung k;
  Testlauf lauf(eingabe);
  const bool ok = mpm._steuerung();
  EXPECT_EQ(lauf.lesen("flr.txt"), "");
  if (konsole) *konsole = k.aus.str();
  return ok;
}

} // namespace th
