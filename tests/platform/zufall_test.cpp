#include "platform/zufall.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tilvendo {
namespace {

// The same seed must give the same mosaic on every machine and after every change of the
// code, so the sequence itself is pinned. The values follow by hand from the formula
// state := state × 134775813 + 1 (mod 2^32), result := (state × range) / 2^32; for seed 0:
// state 1 gives 1000 / 2^32 = 0, state 134775814 gives 134775814000 / 2^32 = 31.38 → 31.
TEST(Zufall, GivesTheSameSequenceForTheSameSeedOnEveryMachine) {
  struct Schritt {
    int32_t range;
    uint32_t state;
    int32_t ergebnis;
  };
  const std::vector<std::pair<uint32_t, std::vector<Schritt>>> folgen = {
      {0u,
       {{1000, 1u, 0},
        {1000, 134775814u, 31},
        {1000, 3698175007u, 861},
        {6, 870078620u, 1},
        {2147483647, 1172187917u, 586093958}}},
      {2718281828u,
       {{1000, 3157262837u, 735},
        {1000, 630873546u, 146},
        {1000, 2461007091u, 572},
        {6, 460668096u, 0},
        {2147483647, 3801952193u, 1900976095}}}};
  for (const auto& [seed, schritte] : folgen) {
    Zufall zufall(seed);
    for (const Schritt& schritt : schritte) {
      EXPECT_EQ(zufall.next(schritt.range), schritt.ergebnis) << seed;
      EXPECT_EQ(zufall.state(), schritt.state) << seed;
    }
  }

  // An empty range gives 0 but still uses up its number, so a cell that finds no picture
  // does not shift the numbers of all cells after it.
  Zufall zufall(7);
  EXPECT_EQ(zufall.next(0), 0);
  EXPECT_EQ(zufall.next(-5), 0);
  Zufall vergleich(7);
  vergleich.next(1);
  vergleich.next(1);
  EXPECT_EQ(zufall.state(), vergleich.state());
  zufall.seed(0);
  EXPECT_EQ(zufall.next(1000), 0);
  EXPECT_EQ(zufall.next(1000), 31);
}

}  // namespace
}  // namespace tilvendo
