#include "testhilfe.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

Tempordner::Tempordner() {
  std::random_device zufall;
  for (;;) {
    pfad_ = std::filesystem::temp_directory_path() / ("mpmtest-" + std::to_string(zufall()));
    if (std::filesystem::create_directory(pfad_)) break;
  }
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
  std::ostringstream s;
  s << datei.rdbuf();
  return s.str();
}

std::string beispieltext(const std::string& name, const std::string& aendern, const std::string& neu) {
  const std::filesystem::path pfad =
      std::filesystem::path(__FILE__).parent_path().parent_path() / "examples" / (name + ".mpm");
  std::string text = datei_lesen(pfad.string());
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

Testlauf::~Testlauf() {
  stream_stop();
}

std::string Testlauf::lesen(const std::string& endung) const {
  return datei_lesen(ordner_.datei("lauf." + endung));
}

// --- shared fixtures (lower layers)

#include <algorithm>
#include <cctype>
#include <cmath>

std::string namensliste(const std::string& enumname, int N, const std::function<std::string(int)>& name,
                        const std::function<int(const char*)>& wert, const std::string& unbekannt) {
  std::string liste = enumname + ":";
  for (int v = 0; v < N; ++v) {
    const std::string n = name(v);
    if (n == unbekannt) continue;
    std::string gross = n;
    for (char& c : gross)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(wert(n.c_str()), v) << enumname << " " << n;
    EXPECT_EQ(wert(gross.c_str()), v) << enumname << " " << gross;
    liste += (liste.back() == ':' ? " " : "; ") + std::to_string(v) + " " + n;
  }
  EXPECT_EQ(name(N), unbekannt) << enumname;
  EXPECT_EQ(name(-1), unbekannt) << enumname;
  EXPECT_EQ(wert("xyz"), 0) << enumname;
  return liste;
}

std::string vorlage(const std::string& pfad) {
  const std::string text =
      datei_lesen((std::filesystem::path(__FILE__).parent_path() / std::filesystem::path(pfad)).string());
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
