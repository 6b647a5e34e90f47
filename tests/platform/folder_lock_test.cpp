#include "platform/folder_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <vector>

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

TEST(FolderLock, AKilledHolderLetsGo) {
  TempFolder ordner;
  int rohr[2];
  ASSERT_EQ(::pipe(rohr), 0);
  const pid_t kind = ::fork();
  ASSERT_GE(kind, 0);
  if (kind == 0) {
    const FolderLock sperre(ordner.path(), kNichtWarten);
    const char bereit = sperre.held() ? '1' : '0';
    (void)!::write(rohr[1], &bereit, 1);
    ::pause();
    ::_exit(0);
  }
  char bereit = 0;
  ASSERT_EQ(::read(rohr[0], &bereit, 1), 1);
  ASSERT_EQ(bereit, '1');
  EXPECT_THROW(FolderLock(ordner.path(), kNichtWarten), FolderLockTimeout);
  ::kill(kind, SIGKILL);
  ::waitpid(kind, nullptr, 0);
  EXPECT_TRUE(FolderLock(ordner.path(), kNichtWarten).held());
  ::close(rohr[0]);
  ::close(rohr[1]);
}

TEST(FolderLock, AFolderThatCannotBeOpenedHoldsNothingAndThrowsNothing) {
  TempFolder ordner;
  const FolderLock sperre(ordner / "fehlt/", kNichtWarten);
  EXPECT_FALSE(sperre.held());
}

}  // namespace
}  // namespace tilvendo
