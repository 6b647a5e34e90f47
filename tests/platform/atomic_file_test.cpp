#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
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
