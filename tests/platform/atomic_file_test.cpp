#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::ReadWholeFile;
using testing::TempFolder;
using testing::WriteWholeFile;

size_t FilesIn(const std::string& folder) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

TEST(AtomicFile, ReplacesTheTargetOnlyOnCommit) {
  TempFolder folder;
  const std::string target = folder / "Alben.nbx";
  WriteWholeFile(target, "alt");
  {
    AtomicFile file(target);
    file.Write("neu");
    EXPECT_EQ(ReadWholeFile(target), "alt");
    // Destroyed without Commit: as if the program had failed half-way.
  }
  EXPECT_EQ(ReadWholeFile(target), "alt");
  EXPECT_EQ(FilesIn(folder.path()), 1u);

  WriteFileAtomically(target, "neu");
  EXPECT_EQ(ReadWholeFile(target), "neu");
  EXPECT_EQ(FilesIn(folder.path()), 1u);
  // The new file has the permissions of a plain create, not those of a private one.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}

TEST(AtomicFile, AWriterKilledHalfWayLeavesOnlyTheOldFile) {
  TempFolder folder;
  const std::string target = folder / "Mosaik.bmp";
  WriteWholeFile(target, "alt");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    try {
      AtomicFile file(target);
      file.Write(std::string(1 << 20, 'x'));
      const char go = 1;
      (void)!::write(ready[1], &go, 1);
      ::pause();
    } catch (...) {
    }
    ::_exit(1);
  }
  ::close(ready[1]);
  char go = 0;
  ASSERT_EQ(::read(ready[0], &go, 1), 1);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ::close(ready[0]);
  EXPECT_EQ(ReadWholeFile(target), "alt");
  EXPECT_EQ(FilesIn(folder.path()), 1u);
}

TEST(AtomicFile, RemovesOnlyTheTemporariesOfWritersThatAreGone) {
  TempFolder folder;
  const pid_t gone = ::fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  auto temporary = [&](const std::string& name, pid_t pid) {
    return folder / ("." + name + ".tilvendo-" + std::to_string(pid) + "-a1B2c3");
  };
  const std::string stale = temporary("Alben.nbx", gone);
  const std::string running = temporary("Alben.nbx", ::getppid());
  const std::string ours = temporary("Demo 5.nba", ::getpid());
  const std::string foreign = folder / ".Alben.nbx.tilvendo-x";
  const std::string album = folder / "Demo 5.nba";
  for (const std::string& path : {stale, running, ours, foreign, album}) {
    WriteWholeFile(path, "x");
  }
  EXPECT_EQ(RemoveStaleTemporaries(folder.path()), 1u);
  EXPECT_FALSE(std::filesystem::exists(stale));
  for (const std::string& path : {running, ours, foreign, album}) {
    EXPECT_TRUE(std::filesystem::exists(path)) << path;
  }
  EXPECT_EQ(RemoveStaleTemporaries("/nonexistent-folder-of-tilvendo/"), 0u);
}

TEST(AtomicFile, ReportsAFolderThatCannotBeWrittenWithThePath) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
  TempFolder folder;
  const std::string target = folder / "x.bmp";
  WriteWholeFile(target, "alt");
  ::chmod(folder.path().c_str(), 0555);
  try {
    WriteFileAtomically(target, "neu");
    FAIL() << "no error";
  } catch (const WriteError& error) {
    EXPECT_EQ(std::string(error.what()), "nach " + target + " kann nicht geschrieben werden");
  }
  ::chmod(folder.path().c_str(), 0755);
  EXPECT_EQ(ReadWholeFile(target), "alt");
}

TEST(AtomicFile, AMissingFolderIsAWriteError) {
  EXPECT_THROW(WriteFileAtomically("/nonexistent-folder-of-tilvendo/x", "a"), WriteError);
}

}  // namespace
}  // namespace tilvendo
