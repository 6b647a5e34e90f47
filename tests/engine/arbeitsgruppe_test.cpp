#include "engine/arbeitsgruppe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace tilvendo {
namespace {

TEST(Arbeitsgruppe, RunsEveryItemExactlyOnceAndCanBeUsedAgain) {
  Arbeitsgruppe gruppe(4);
  EXPECT_EQ(gruppe.Threads(), 4u);
  for (size_t anzahl : {0u, 1u, 3u, 1000u}) {
    std::vector<std::atomic<int>> gezaehlt(anzahl);
    gruppe.FuerAlle(anzahl, [&](size_t i) { ++gezaehlt[i]; });
    for (const auto& z : gezaehlt) ASSERT_EQ(z.load(), 1);
  }
}

TEST(Arbeitsgruppe, OneThreadWorksInOrderOnTheCaller) {
  Arbeitsgruppe gruppe(1);
  std::vector<size_t> reihenfolge;
  const std::thread::id aufrufer = std::this_thread::get_id();
  gruppe.FuerAlle(5, [&](size_t i) {
    EXPECT_EQ(std::this_thread::get_id(), aufrufer);
    reihenfolge.push_back(i);
  });
  EXPECT_EQ(reihenfolge, (std::vector<size_t>{0, 1, 2, 3, 4}));
}

TEST(Arbeitsgruppe, AnErrorOfAnItemReachesTheCaller) {
  Arbeitsgruppe gruppe(3);
  EXPECT_THROW(gruppe.FuerAlle(100,
                               [](size_t i) {
                                 if (i == 17) throw std::runtime_error("kaputt");
                               }),
               std::runtime_error);
  std::atomic<int> danach{0};
  gruppe.FuerAlle(10, [&](size_t) { ++danach; });
  EXPECT_EQ(danach.load(), 10);
}

}  // namespace
}  // namespace tilvendo
