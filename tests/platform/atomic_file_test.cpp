#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::FilesIn;
using testing::ReadWholeFile;
using testing::TempFolder;
using testing::WriteWholeFile;

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

TEST(AtomicFile, ALinkStaysALinkAndTheFileItPointsToGetsTheBytes) {
  namespace fs = std::filesystem;
  TempFolder folder;
  fs::create_directories(folder / "bilder/tief");
  const std::string bild = folder / "bilder/tief/mosaik.jpg";
  WriteWholeFile(bild, "alt");
  // An absolute link, a relative one (taken from its own folder), and a chain of both.
  fs::create_symlink(bild, folder / "absolut.jpg");
  fs::create_symlink("tief/mosaik.jpg", folder / "bilder/relativ.jpg");
  fs::create_symlink("bilder/relativ.jpg", folder / "kette.jpg");
  for (const std::string name : {"absolut.jpg", "bilder/relativ.jpg", "kette.jpg"}) {
    WriteFileAtomically(folder / name, "neu " + name);
    EXPECT_TRUE(fs::is_symlink(folder / name)) << name;
    EXPECT_EQ(ReadWholeFile(bild), "neu " + name);
    EXPECT_EQ(ResolveLinks(folder / name), folder.path() + "bilder/tief/mosaik.jpg") << name;
  }
  EXPECT_EQ(FilesIn(folder / "bilder/tief"), 1u);  // no temporary file left behind
  EXPECT_EQ(ResolveLinks(bild), bild);

  // A link to a file not there yet makes that file.
  fs::create_symlink("neu.bmp", folder / "bilder/verweis.bmp");
  WriteFileAtomically(folder / "bilder/verweis.bmp", "erstmals");
  EXPECT_TRUE(fs::is_symlink(folder / "bilder/verweis.bmp"));
  EXPECT_EQ(ReadWholeFile(folder / "bilder/neu.bmp"), "erstmals");

  // Links pointing at each other lead nowhere.
  fs::create_symlink("b.jpg", folder / "a.jpg");
  fs::create_symlink("a.jpg", folder / "b.jpg");
  try {
    WriteFileAtomically(folder / "a.jpg", "x");
    FAIL() << "no error";
  } catch (const WriteError& error) {
    EXPECT_EQ(std::string(error.what()), "nach " + folder / "a.jpg" +
                                             " kann nicht geschrieben werden: die symbolischen "
                                             "Verweise führen im Kreis");
  }
}

// Under either rule only a regular file is replaced: a pipe (reached directly or through a
// link) or a folder is refused before anything is written, also when it was put in the
// file's place while the bytes were being written.
TEST(AtomicFile, NeverReplacesAPipeOrAFolder) {
  namespace fs = std::filesystem;
  TempFolder folder;
  ASSERT_EQ(::mkfifo((folder / "rohr").c_str(), 0600), 0);
  fs::create_symlink("rohr", folder / "verweis.jpg");
  fs::create_directory(folder / "ordner.jpg");
  for (const LinkPolicy links : {LinkPolicy::Follow, LinkPolicy::Replace}) {
    for (const std::string name : {"rohr", "ordner.jpg"}) {
      try {
        WriteFileAtomically(folder / name, "x", links);
        FAIL() << name;
      } catch (const WriteError& error) {
        EXPECT_EQ(
            std::string(error.what()),
            NotAFileMessage(folder / name, name == "rohr" ? FileKind::Pipe : FileKind::Folder));
      }
    }
  }
  EXPECT_THROW(WriteFileAtomically(folder / "verweis.jpg", "x"), WriteError);
  EXPECT_EQ(NotAFileMessage("/a/b", FileKind::Pipe),
            "nach /a/b kann nicht geschrieben werden: dort steht eine Pipe, keine Datei");

  {
    AtomicFile file(folder / "bild.jpg");
    file.Write("neu");
    ASSERT_EQ(::mkfifo((folder / "bild.jpg").c_str(), 0600), 0);
    EXPECT_THROW(file.Commit(), WriteError);
  }
  EXPECT_TRUE(fs::is_fifo(folder / "rohr"));
  EXPECT_TRUE(fs::is_fifo(folder / "bild.jpg"));
  EXPECT_TRUE(fs::is_directory(folder / "ordner.jpg"));
  EXPECT_EQ(FilesIn(folder.path()), 4u);  // no temporary file left behind
}

// A log written as it goes: made anew, a link in its place removed rather than followed, a
// pipe refused.
TEST(AtomicFile, AnOwnFileIsMadeAnewWithoutFollowingALink) {
  namespace fs = std::filesystem;
  TempFolder folder;
  WriteWholeFile(folder / "notizen.txt", "meine Notizen");
  fs::create_symlink("notizen.txt", folder / "liste.txt");
  const int fd = CreateOwnFile(folder / "liste.txt");
  ASSERT_GE(fd, 0);
  EXPECT_EQ(::write(fd, "neu", 3), 3);
  ::close(fd);
  EXPECT_FALSE(fs::is_symlink(folder / "liste.txt"));
  EXPECT_EQ(ReadWholeFile(folder / "liste.txt"), "neu");
  EXPECT_EQ(ReadWholeFile(folder / "notizen.txt"), "meine Notizen");
  // An older log is emptied.
  ::close(CreateOwnFile(folder / "liste.txt"));
  EXPECT_EQ(ReadWholeFile(folder / "liste.txt"), "");
  ASSERT_EQ(::mkfifo((folder / "rohr").c_str(), 0600), 0);
  EXPECT_THROW(CreateOwnFile(folder / "rohr"), WriteError);
  EXPECT_TRUE(fs::is_fifo(folder / "rohr"));
}

TEST(AtomicFile, MessagesSayWhyWhereTheUserCanHelpIt) {
  EXPECT_EQ(CannotWriteMessage("/a/b", ENOSPC),
            "nach /a/b kann nicht geschrieben werden: der Datenträger ist voll");
  EXPECT_EQ(CannotWriteMessage("/a/b", EDQUOT),
            "nach /a/b kann nicht geschrieben werden: der Datenträger ist voll");
  EXPECT_EQ(CannotWriteMessage("/a/b", EROFS),
            "nach /a/b kann nicht geschrieben werden: der Datenträger ist schreibgeschützt");
  EXPECT_EQ(CannotWriteMessage("/a/b", EIO),
            "nach /a/b kann nicht geschrieben werden: der Datenträger meldet einen Fehler");
  for (const int other : {0, ENOENT, EACCES, ENOTDIR}) {
    EXPECT_EQ(CannotWriteMessage("/a/b", other), "nach /a/b kann nicht geschrieben werden");
  }
  // A name too long for the file system fails when the file is put in place.
  TempFolder folder;
  const std::string lang = folder / std::string(300, 'x');
  try {
    WriteFileAtomically(lang, "x");
    FAIL() << "no error";
  } catch (const WriteError& error) {
    EXPECT_EQ(std::string(error.what()),
              "nach " + lang + " kann nicht geschrieben werden: der Name ist zu lang");
  }
  EXPECT_EQ(FilesIn(folder.path()), 0u);
}

}  // namespace
}  // namespace tilvendo
