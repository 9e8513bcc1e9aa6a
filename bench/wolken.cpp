// Times the building of all approximations (Tmpm::_L_G) of a square carried
// by clouds both ways, for growing numbers of material points: once finding
// the sources through the cell grid and once testing every cloud. Both must
// give the same sources, weights and degrees, bit for bit.
//
// Usage: mpm-wolkenbench [--nur-raster] [N ...]
//   N: material point counts, default 1000 10000 100000; --nur-raster skips
//   testing every cloud (for profiling the grid run alone).

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iomanip>
#include <iostream>
#include <random>
#include <vector>

#include "approx/mpmans.h"
#include "model/mpmobjele.h"
#include "model/mpmobjeletyp.h"
#include "model/mpmobjipu.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"

using namespace MPM;
using TVM::VekR;

namespace {

// N material points of volume h^2 on a jittered grid of m x m cells (row by
// row, the last row possibly partly filled), with an integration point on
// each; nodes every second grid line, corners of bilinear elements without
// integration points that give the nodes their volumes. Clouds from the
// nodes and to the nodes, overlap 3, degree 1.
void modell(Tmpm& mpm, int N) {
  mpm.stw.ansatz_knou_zu_pu = ANSATZ_WOLKEN;
  mpm.stw.ansatz_pu_zu_knou = ANSATZ_WOLKEN;
  mpm.stw.belenutzen = false;
  _material_erzeugen(&mpm, 1, 1, {1.0, 100.0, 0.3});
  const int m = 2 * static_cast<int>(std::ceil(std::sqrt(N) / 2.0));
  const double h = 1.0 / m, H = 2.0 * h;
  const VekR leer;
  const int n = m / 2;
  for (int j = 0; j <= n; ++j)
    for (int i = 0; i <= n; ++i) {
      const int num = j * (n + 1) + i + 1;
      TKnoten* kn = kno_erzeugen(&mpm, num, 1, 0.0, VekR{i * H, j * H}, leer, leer, leer, leer, 0);
      mpm.knou.einfuegen(num, kn);
      mpm.knox.einfuegen(num, kn);
    }
  eletyp_erzeugen(&mpm, 1, ELE::FORM_VIERECK, ELE::ANSFUNK_LAGRO1, ELE::ANSFUNK_LAGRO1, ELE::IPU_LEER, 0, 0);
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      const unsigned a = j * (n + 1) + i + 1;
      ele_erzeugen(&mpm, j * n + i + 1, 1, 1, {a, a + 1, a + n + 2, a + n + 1}, 0);
    }
  std::mt19937 g(1);
  std::uniform_real_distribution<double> versatz(-0.3, 0.3);
  for (int k = 0; k < N; ++k) {
    VekR x{(k % m + 0.5 + versatz(g)) * h, (k / m + 0.5 + versatz(g)) * h};
    mpu_erzeugen(&mpm, k + 1, 1, h * h, x, leer, leer, leer, leer, 0);
  }
  mpm._netza();
}

// Everything the approximations of one point hold.
struct Stand {
  std::vector<const TPunkt*> quellen;
  std::vector<double> werte;
  std::vector<unsigned> grade;
  std::vector<int> status;
};

void festhalten(const TAnsatz* a, Stand& s) {
  if (!a) return;
  s.quellen.insert(s.quellen.end(), a->stuetzpu.begin(), a->stuetzpu.end());
  s.werte.insert(s.werte.end(), a->L.begin(), a->L.end());
  s.werte.insert(s.werte.end(), a->G.data, a->G.data + a->G.anzahl());
  s.werte.push_back(a->skal);
  s.grade.push_back(a->Ng);
}

Stand stand(Tmpm& mpm) {
  Stand s;
  for (const auto& e : mpm.mpu)
    festhalten(MPU_Z(e.second)->ans_kno, s);
  for (const auto& e : mpm.ipu) {
    festhalten(IPU_Z(e.second)->ans_kno, s);
    festhalten(IPU_Z(e.second)->ans_mpu, s);
  }
  for (const auto& e : mpm.knou) {
    festhalten(KNO_Z(e.second)->ans_kno, s);
    festhalten(KNO_Z(e.second)->ans_mpu, s);
  }
  for (const Tobjcont* reg : {&mpm.mpu, &mpm.ipu, &mpm.knou})
    for (const auto& e : *reg)
      s.status.push_back(e.second->status);
  return s;
}

bool gleich(const Stand& a, const Stand& b) {
  if (a.quellen != b.quellen || a.grade != b.grade || a.status != b.status ||
      a.werte.size() != b.werte.size())
    return false;
  for (std::size_t i = 0; i < a.werte.size(); ++i)
    if (std::memcmp(&a.werte[i], &b.werte[i], sizeof(double)) != 0) return false;
  return true;
}

// CPU seconds of the process, so that other work on the machine counts less.
double cpu_sekunden() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double sekunden(Tmpm& mpm) {
  const double anfang = cpu_sekunden();
  mpm._L_G();
  return cpu_sekunden() - anfang;
}

} // namespace

int main(int argc, char** argv) {
  std::vector<int> anzahlen;
  bool nur_raster = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--nur-raster") == 0)
      nur_raster = true;
    else
      anzahlen.push_back(std::atoi(argv[i]));
  }
  if (anzahlen.empty()) anzahlen = {1000, 10000, 100000};
  std::cout
      << "| material points | nodes | sources per point | grid [s] | every cloud [s] | ratio | pattern [s] "
         "| identical |\n|---:|---:|---:|---:|---:|---:|---:|---|\n";
  for (int N : anzahlen) {
    if (N < 1) continue;
    Tmpm mpm;
    modell(mpm, N);
    // A first build allocates what the approximations keep; the timed ones
    // rebuild them as every later step does.
    mpm.bwolkenraster = true;
    mpm._L_G();
    const double raster = sekunden(mpm);
    const Stand mit_raster = stand(mpm);
    mpm.bwolkenraster = false;
    const double alle = nur_raster ? 0.0 : sekunden(mpm);
    const Stand ohne_raster = nur_raster ? mit_raster : stand(mpm);
    const double anfang = cpu_sekunden();
    mpm.sys->_muster_veraltet();
    mpm.sys->_muster_erneuern();
    const double muster = cpu_sekunden() - anfang;
    double quellen = 0.0;
    for (const auto& e : mpm.mpu)
      quellen += MPU_Z(e.second)->ans_kno->_Np();
    std::cout << std::fixed << "| " << N << " | " << mpm.knou.size() << " | " << std::setprecision(1)
              << quellen / N << " | " << std::setprecision(3) << raster << " | " << alle << " | "
              << std::setprecision(1) << alle / raster << " | " << std::setprecision(3) << muster << " | "
              << (gleich(mit_raster, ohne_raster) ? "yes" : "NO") << " |\n"
              << std::flush;
  }
  return 0;
}
