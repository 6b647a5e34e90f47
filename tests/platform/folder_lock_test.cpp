#include "platform/folder_lock.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "support/fremde_sperre.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using std::chrono::milliseconds;
using testing::TempFolder;

constexpr milliseconds kKurz{100};
constexpr milliseconds kNichtWarten{0};

TEST(FolderLock, OneHolderAtATimeTheOtherWaitsAndGivesUp) {
  TempFolder ordner;
  std::optional<FolderLock> erster;
  erster.emplace(ordner.path(), kNichtWarten);
  ASSERT_TRUE(erster->held());

  std::vector<milliseconds> gewartet;
  EXPECT_THROW(FolderLock(ordner.path(), kKurz, [&](milliseconds w) { gewartet.push_back(w); }),
               FolderLockTimeout);
  ASSERT_GE(gewartet.size(), 2u);
  EXPECT_LT(gewartet.front(), gewartet.back());
  EXPECT_LT(gewartet.back(), kKurz);

  // The waiting one goes on as soon as the holder lets go.
  int runden = 0;
  const FolderLock zweiter(ordner.path(), milliseconds{10'000}, [&](milliseconds) {
    if (++runden == 2) erster.reset();
  });
  EXPECT_TRUE(zweiter.held());
  EXPECT_EQ(runden, 2);
  EXPECT_THROW(FolderLock(ordner.path(), kNichtWarten), FolderLockTimeout);
}

// The lock is the kernel's: a holder killed without a chance to let go releases it.
TEST(FolderLock, AKilledHolderLetsGo) {
  TempFolder ordner;
  std::optional<testing::FremdeSperre> anderer;
  anderer.emplace(ordner.path());
  EXPECT_THROW(FolderLock(ordner.path(), kNichtWarten), FolderLockTimeout);
  anderer.reset();
  EXPECT_TRUE(FolderLock(ordner.path(), kNichtWarten).held());
}

TEST(FolderLock, AFolderThatCannotBeOpenedHoldsNothingAndThrowsNothing) {
  TempFolder ordner;
  const FolderLock sperre(ordner / "fehlt/", kNichtWarten);
  EXPECT_FALSE(sperre.held());
}

}  // namespace
}  // namespace tilvendo
