#include <cstdint>
#include <memory>

#include "testhilfe.h"

using namespace MPM;
using th::text;

namespace {
// A plain model object for the registry tests; counts its destructions.
struct Probe : TObjbasis {
  Probe(Tmpm* m, OBJTYP t, int n, int* geloescht = nullptr)
      : TObjbasis(m, t, n, 7, OBJSTATUS_AKTIV), zaehler(geloescht) {}
  ~Probe() override {
    if (zaehler) ++*zaehler;
  }
  int* zaehler;
};
} // namespace

TEST(Objektbasis, AutomaticNumbersTextFormsRegistriesLookupsAndHelpers) {
  Tmpm mpm;
  // A lower explicit number does not lower the counter.
  Probe a(&mpm, OBJTYP_KNO, -1), b(&mpm, OBJTYP_KNO, -1), c(&mpm, OBJTYP_KNO, -1), d(&mpm, OBJTYP_KNO, 10),
      e(&mpm, OBJTYP_KNO, -1), f(&mpm, OBJTYP_KNO, 4), g(&mpm, OBJTYP_KNO, -1);
  EXPECT_EQ((std::vector<unsigned>{a.num, b.num, c.num, e.num, g.num}),
            (std::vector<unsigned>{1, 2, 3, 11, 12}));
  Probe m(&mpm, OBJTYP_MAT, -1);
  EXPECT_EQ(m.num, 1u) << "each type counts on its own";
  EXPECT_EQ(m.farbe, 0);
  EXPECT_FALSE(m.bausgewaehlt);

  Probe k(&mpm, OBJTYP_KNO, 17);
  EXPECT_EQ(text(&k), "kno(17+)");
  k.status = OBJSTATUS_INAKTIV;
  EXPECT_EQ(text(&k), "kno(17-)");
  k.status = static_cast<OBJSTATUS>(5); // any int is a valid value of the enumeration
  EXPECT_EQ(text(&k), "kno(17?)");
  EXPECT_EQ(text(static_cast<TObjbasis*>(nullptr)), "NULL");
  EXPECT_EQ(text(std::vector<TObjbasis*>{&a, nullptr, &m}), "kno: kno(1+) NULL mat(1+)");

  // Sources share the material points' registry; element types, contact
  // lines and unknown types have none. Sources and elements are no points.
  EXPECT_EQ(mpm._objcont(OBJTYP_MPUQUELL), &mpm.mpu);
  EXPECT_EQ(mpm._objcont(OBJTYP_PLA), &mpm.pla);
  for (OBJTYP ot : {OBJTYP_ELETYP, OBJTYP_KONLIN, OBJTYP_PU, static_cast<OBJTYP>(42)})
    EXPECT_EQ(mpm._objcont(ot), nullptr) << ot;
  for (OBJTYP ot :
       {OBJTYP_PU, OBJTYP_MPU, OBJTYP_IPU, OBJTYP_KNO, OBJTYP_MPUQUELL, OBJTYP_ELE, OBJTYP_UNBEKANNT})
    EXPECT_EQ(_bistpunkt(ot), ot != OBJTYP_MPUQUELL && ot != OBJTYP_ELE && ot != OBJTYP_UNBEKANNT) << ot;

  Probe a5(&mpm, OBJTYP_KNO, 5), b5(&mpm, OBJTYP_KNO, 5), c2(&mpm, OBJTYP_KNO, 2);
  std::vector<TObjbasis*> liste;
  EXPECT_EQ(_pos_in_cont(liste, 5), -1);
  liste = {&c2, &a5, &b5};
  EXPECT_EQ(_pos_in_cont(liste, 5), 1);
  EXPECT_EQ(_pos_in_cont(liste, 9), -1);

  // An owning registry frees a refused object and the rest at its end.
  int geloescht = 0;
  {
    Tobjcont eigen(true);
    eigen.einfuegen(1, new Probe(&mpm, OBJTYP_MAT, 1, &geloescht));
    eigen.einfuegen(5, new Probe(&mpm, OBJTYP_MAT, 5, &geloescht));
    EXPECT_FALSE(eigen.einfuegen(1, new Probe(&mpm, OBJTYP_MAT, 1, &geloescht)));
    EXPECT_EQ(geloescht, 1);
    EXPECT_EQ(eigen.liste().size(), 2u);
  }
  EXPECT_EQ(geloescht, 3);
}

// The array the passes walk stays in number order whatever the order of
// insertion and removal, and lookups find entries before and after it is
// brought up to date.
TEST(Objektbasis, RegistryArrayInNumberOrder) {
  Tmpm mpm;
  std::vector<std::unique_ptr<Probe>> objekte;
  for (int n = 0; n < 300; ++n)
    objekte.push_back(std::make_unique<Probe>(&mpm, OBJTYP_KNO, n));
  Tobjcont reg;
  // Ascending, then descending, then every third of the rest.
  for (int n = 100; n < 150; ++n)
    EXPECT_TRUE(reg.einfuegen(n, objekte[n].get()));
  for (int n = 99; n >= 0; --n)
    EXPECT_TRUE(reg.einfuegen(n, objekte[n].get()));
  EXPECT_EQ(reg.suchen(7), objekte[7].get()) << "an entry still waiting is found";
  EXPECT_FALSE(reg.einfuegen(7, objekte[8].get()));
  for (int n = 299; n >= 150; n -= 3)
    reg.einfuegen(n, objekte[n].get());
  std::vector<int> erwartet;
  for (int n = 0; n < 300; ++n)
    if (n < 150 || (299 - n) % 3 == 0) erwartet.push_back(n);
  ASSERT_EQ(reg.size(), erwartet.size());
  std::vector<int> liste, karte;
  for (const TObjbasis* o : reg.liste())
    liste.push_back(static_cast<int>(o->num));
  for (const auto& eintrag : reg)
    karte.push_back(eintrag.first);
  EXPECT_EQ(liste, erwartet);
  EXPECT_EQ(karte, erwartet);
}

// Objects and stores of a run come from the model's memory: objects made one
// after the other lie one after the other (except under AddressSanitizer,
// which gives each its own piece), blocks are zero and never overlap across
// the pieces, and every object is destroyed once with the model.
TEST(Objektbasis, ModelMemoryInCreationOrder) {
  struct alignas(64) Breit : Probe {
    using Probe::Probe;
  };
  int geloescht = 0;
  {
    Tmpm mpm;
    std::vector<Probe*> objekte;
    for (int n = 1; n <= 5; ++n)
      objekte.push_back(mpm._anlegen<Probe>(&mpm, OBJTYP_KNO, n, &geloescht));
    const Breit* breit = mpm._anlegen<Breit>(&mpm, OBJTYP_KNO, 6, &geloescht);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(breit) % 64, 0u);
    for (std::size_t i = 1; i < objekte.size(); ++i) {
      const auto abstand =
          reinterpret_cast<const char*>(objekte[i]) - reinterpret_cast<const char*>(objekte[i - 1]);
      EXPECT_GE(abstand, static_cast<std::ptrdiff_t>(sizeof(Probe))) << i;
    }
    if (!TModell::beinzeln) {
      EXPECT_EQ(reinterpret_cast<const char*>(objekte[1]) - reinterpret_cast<const char*>(objekte[0]),
                static_cast<std::ptrdiff_t>(sizeof(Probe)));
    }
    // 24 MB in blocks of 1,000 doubles and one block larger than the largest
    // piece: every piece size, from the heap and from the system.
    std::vector<std::pair<double*, std::size_t>> bloecke;
    for (int b = 0; b < 3000; ++b)
      bloecke.emplace_back(mpm._speicher(1000), 1000);
    bloecke.emplace_back(mpm._speicher(4'500'000), 4'500'000);
    for (std::size_t b = 0; b < bloecke.size(); ++b) {
      auto [p, n] = bloecke[b];
      ASSERT_TRUE(std::all_of(p, p + n, [](double x) { return x == 0.0; })) << b;
      std::fill(p, p + n, static_cast<double>(b));
    }
    for (std::size_t b = 0; b < bloecke.size(); ++b) {
      auto [p, n] = bloecke[b];
      ASSERT_TRUE(p[0] == static_cast<double>(b) && p[n - 1] == static_cast<double>(b)) << b;
    }
    EXPECT_EQ(mpm._speicher(0), nullptr);
    EXPECT_EQ(geloescht, 0);
  }
  EXPECT_EQ(geloescht, 6);
}
