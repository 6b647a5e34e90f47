#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::ReadWholeFile;
using testing::TempFolder;
using testing::WriteWholeFile;

TEST(ProfileFile, FindsSectionsAndKeysWithoutRegardToLetterCaseAndKeepsFileOrder) {
  TempFolder folder;
  WriteWholeFile(folder / "a.ini", "[Über Uns]\r\nZeta=1\r\nalpha = zwei \r\nMitte=3\r\n");
  const ProfileFile profile = ProfileFile::Load(folder / "a.ini");
  EXPECT_EQ(profile.Read("über uns", "ALPHA"), "zwei");
  EXPECT_EQ(profile.Read("ÜBER UNS", "zeta"), "1");
  EXPECT_EQ(profile.Read("Über Uns", "fehlt"), std::nullopt);
  EXPECT_EQ(profile.Read("Andere", "Zeta"), std::nullopt);
  EXPECT_EQ(profile.Keys("über uns"), (std::vector<std::string>{"Zeta", "alpha", "Mitte"}));
}

TEST(ProfileFile, ReplacesInPlaceAppendsToItsSectionAndAddsMissingSectionsAtTheEnd) {
  TempFolder folder;
  const std::string path = folder / "a.ini";
  WriteWholeFile(path, "; Kopf\r\n[Alben]\r\n1=Urlaub\r\n\r\n[Urlaub]\r\nDN=Album 1\r\nAk5=0\r\n");
  ProfileFile profile = ProfileFile::Load(path);
  profile.Write("urlaub", "dn", "Album 7");  // replaced where it stands
  profile.Write("ALBEN", "2", "Familie");    // after the last line with content
  profile.Write("Familie", "DN", "Album 2");
  profile.Save();
  EXPECT_EQ(ReadWholeFile(path),
            "; Kopf\r\n[Alben]\r\n1=Urlaub\r\n2=Familie\r\n\r\n[Urlaub]\r\ndn=Album 7\r\nAk5=0\r\n"
            "[Familie]\r\nDN=Album 2\r\n");
}

TEST(ProfileFile, ErasesWholeSectionsAndOneKeyWritesThroughTheFile) {
  TempFolder folder;
  const std::string path = folder / "a.ini";
  WriteWholeFile(path, "[A]\nx=1\n[B]\ny=2\n[a]\nz=3\n");
  ProfileFile profile = ProfileFile::Load(path);
  profile.EraseSection("a");
  profile.EraseSection("fehlt");
  profile.Save();
  EXPECT_EQ(ReadWholeFile(path), "[B]\r\ny=2\r\n");

  WriteProfileString(path, "b", "Y", "20");
  WriteProfileString(path, "C", "neu", "30");
  const ProfileFile neu = ProfileFile::Load(path);
  EXPECT_EQ(neu.Read("B", "y"), "20");
  EXPECT_EQ(neu.Read("c", "NEU"), "30");
}

TEST(ProfileFile, ReadsDecimalAndHexadecimalIntegersAndFallsBackForAnythingElse) {
  TempFolder folder;
  WriteWholeFile(folder / "a.ini",
                 "[Z]\nd=120\nn=-7\nh=0x1F\nhex2=0XfF\nalle=0xFFFFFFFF\nwort=abc\nrest=12abc\n"
                 "leer=\ngross=99999999999\nnurPraefix=0x\n");
  const ProfileFile profile = ProfileFile::Load(folder / "a.ini");
  EXPECT_EQ(profile.ReadInteger("Z", "d", 5), 120);
  EXPECT_EQ(profile.ReadInteger("Z", "n", 5), -7);
  EXPECT_EQ(profile.ReadInteger("Z", "h", 5), 31);
  EXPECT_EQ(profile.ReadInteger("Z", "hex2", 5), 255);
  EXPECT_EQ(profile.ReadInteger("Z", "alle", 5), -1);
  for (const char* key : {"wort", "rest", "leer", "gross", "nurPraefix", "fehlt"}) {
    EXPECT_EQ(profile.ReadInteger("Z", key, 5), 5) << key;
  }
}

TEST(ProfileFile, CutsLongValuesAtACharacterBoundary) {
  TempFolder folder;
  // 2046 bytes, then a two-byte "ä" that would straddle the limit.
  const std::string lang = std::string(2046, 'x') + "ä" + "yyy";
  WriteWholeFile(folder / "a.ini", "[S]\nk=" + lang + "\n");
  const std::string gelesen = *ProfileFile::Load(folder / "a.ini").Read("S", "k");
  EXPECT_EQ(gelesen, std::string(2046, 'x'));

  WriteWholeFile(folder / "b.ini", "[S]\nk=" + std::string(3000, 'q') + "\n");
  EXPECT_EQ(ProfileFile::Load(folder / "b.ini").Read("S", "k")->size(), kProfileValueMaxLength);
}

TEST(ProfileFile, ReadsLinesThatAreNoUtf8AsWindows1252) {
  TempFolder folder;
  // First line Windows-1252 ("Bären", "€"), second line UTF-8; CR-only and LF endings mixed;
  // a byte order mark in front.
  WriteWholeFile(folder / "a.ini", "\xEF\xBB\xBF[B\xE4ren]\rMN=M\xFCnchen \x80\nXY=Köln\r\n");
  const ProfileFile profile = ProfileFile::Load(folder / "a.ini");
  EXPECT_EQ(profile.Read("BÄREN", "MN"), "München €");
  EXPECT_EQ(profile.Read("Bären", "xy"), "Köln");

  // Overlong forms ("/" in two and three bytes, NUL in two) and encoded surrogates are no
  // UTF-8: taking them as such would let a hidden "/" or NUL through, so they are
  // Windows-1252 like any other invalid line.
  WriteWholeFile(folder / "b.ini",
                 "[S]\nzwei=\xC0\xAF\ndrei=\xE0\x80\xAF\nnull=\xC0\x80\nsurrogat=\xED\xA0\x80\n"
                 "echt=\xC3\xAF\n");
  const ProfileFile ungueltig = ProfileFile::Load(folder / "b.ini");
  EXPECT_EQ(ungueltig.Read("S", "zwei"), "À¯");
  EXPECT_EQ(ungueltig.Read("S", "drei"), "à€¯");
  EXPECT_EQ(ungueltig.Read("S", "null"), "À€");
  EXPECT_EQ(ungueltig.Read("S", "surrogat"), "í\u00A0€");
  EXPECT_EQ(ungueltig.Read("S", "echt"), "ï");
}

TEST(ProfileFile, SurvivesFilesCutOffOrFullOfGarbage) {
  // (A file cut off in a line is the album catalogue's test.)
  TempFolder folder;
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 73 + 11) % 256);
  WriteWholeFile(folder / "garbage.ini", garbage);
  ProfileFile profile = ProfileFile::Load(folder / "garbage.ini");
  EXPECT_EQ(profile.ReadInteger("Alben", "1", 42), 42);
  profile.Write("Alben", "1", "neu");
  profile.Save();
  EXPECT_EQ(ProfileFile::Load(folder / "garbage.ini").Read("Alben", "1"), "neu");

  EXPECT_FALSE(ProfileFile::Load(folder / "missing.ini").HasSection("Alben"));
}

TEST(ProfileFile, KeepsValuesOnOneLineAndRefusesNamesThatCannotBeStored) {
  TempFolder folder;
  ProfileFile profile(folder / "a.ini");
  profile.Write("S", "k", "eins\r\nzwei\tdrei");
  EXPECT_EQ(profile.Read("S", "k"), "eins  zwei drei");
  for (const char* name : {"", "a]b", "[a", "a\nb", " a", "a\x01"}) {
    EXPECT_FALSE(ProfileFile::IsStorableSectionName(name)) << name;
    EXPECT_THROW(profile.Write(name, "k", "v"), std::invalid_argument) << name;
  }
  EXPECT_TRUE(ProfileFile::IsStorableSectionName("a=b [1)"));
  EXPECT_FALSE(ProfileFile::IsStorableKeyName("a=b"));
}

TEST(ProfileFile, FailedSaveRaisesTheGermanMessageAndKeepsTheOldFile) {
  TempFolder folder;
  const std::string missing = folder / "fehlt/Alben.nbx";
  ProfileFile profile(missing);
  profile.Write("Alben", "1", "x");
  try {
    profile.Save();
    FAIL() << "no error";
  } catch (const WriteError& error) {
    EXPECT_EQ(std::string(error.what()), "nach " + missing + " kann nicht geschrieben werden");
  }

  // A target that cannot be replaced (here a folder) leaves everything as it was.
  const std::string blocked = folder / "blockiert.nbx";
  std::filesystem::create_directory(blocked);
  WriteWholeFile(blocked + "/inhalt", "alt");
  ProfileFile other(blocked);
  other.Write("A", "b", "c");
  EXPECT_THROW(other.Save(), WriteError);
  EXPECT_EQ(ReadWholeFile(blocked + "/inhalt"), "alt");
}

}  // namespace
}  // namespace tilvendo
