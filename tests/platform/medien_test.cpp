#include "platform/medien.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "platform/paths.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

TEST(Kennung, FormsEightUpperCaseDigitsWithADashInTheMiddle) {
  EXPECT_EQ(KennungAusSeriennummer(0x0012ABCD), "0012-ABCD");
  EXPECT_EQ(KennungAusSeriennummer(0), "0000-0000");
  EXPECT_EQ(KennungAusSeriennummer(0xFFFFFFFF), "FFFF-FFFF");
}

TEST(Kennung, TakesFatAndNtfsSerialsInTheirWindowsFormAndUuidsByTheirFirst32Bits) {
  EXPECT_EQ(KennungAusUuid("ab12-cd34", "vfat"), "AB12-CD34");
  EXPECT_EQ(KennungAusUuid("0123456789ABCDEF", "ntfs"), "89AB-CDEF");
  EXPECT_EQ(KennungAusUuid("3e6be9de-8139-11d1-9106-a43f08d823a6", "ext4"), "3E6B-E9DE");
  EXPECT_EQ(KennungAusUuid("12-34", "vfat"), "");
  EXPECT_EQ(KennungAusUuid("", "ext4"), "");
}

// These run against this machine's own mount table.
TEST(SystemMedien, FindsTheMountPointsOfExistingAndMissingPaths) {
  const SystemMedien medien;
  EXPECT_EQ(medien.Einhaengepunkt("/"), "/");
  EXPECT_EQ(medien.Einhaengepunkt("/proc/self"), "/proc");
  // A path that does not exist lies on the mount of its nearest existing parent.
  EXPECT_EQ(medien.Einhaengepunkt("/proc/gibt/es/nicht"), "/proc");
  testing::TempFolder folder;
  const std::string punkt = medien.Einhaengepunkt(folder.path());
  ASSERT_FALSE(punkt.empty());
  const std::string echt = std::filesystem::canonical(folder.path()).string() + "/";
  EXPECT_TRUE(echt.starts_with(MitSchraegstrich(punkt))) << punkt << " / " << echt;
  EXPECT_EQ(medien.Einhaengepunkt(""), "");

  const std::vector<std::string> alle = medien.Einhaengepunkte();
  EXPECT_NE(std::find(alle.begin(), alle.end(), "/"), alle.end());
  EXPECT_NE(std::find(alle.begin(), alle.end(), punkt), alle.end());
}

TEST(SystemMedien, ClassifiesKernelFileSystemsAsUnusableAndTheSourceDiskAsUsable) {
  const SystemMedien medien;
  EXPECT_EQ(medien.Laufwerksklasse("/proc"), kLaufwerksklasseUngeeignet);
  EXPECT_EQ(medien.Laufwerksklasse("/sys/kernel"), kLaufwerksklasseUngeeignet);
  // The source tree lives on a disk, never in memory or in a kernel file system.
  EXPECT_NE(medien.Laufwerksklasse(TILVENDO_SOURCE_DIR), kLaufwerksklasseUngeeignet);
}

TEST(SystemMedien, IdentifiesMountedFileSystemsStablyAndNothingElse) {
  const SystemMedien medien;
  const std::string punkt = medien.Einhaengepunkt(TILVENDO_SOURCE_DIR);
  const std::string kennung = medien.Datentraegerkennung(punkt);
  EXPECT_TRUE(std::regex_match(kennung, std::regex("[0-9A-F]{4}-[0-9A-F]{4}"))) << kennung;
  EXPECT_EQ(medien.Datentraegerkennung(punkt), kennung);
  EXPECT_EQ(medien.Datentraegerkennung(punkt + "/"), kennung);
  // Only the mount point itself is identified, not folders beneath it.
  testing::TempFolder folder;
  EXPECT_EQ(medien.Datentraegerkennung(folder.path()), "");
  EXPECT_EQ(medien.Datentraegerkennung("/gibt/es/nicht"), "");
  EXPECT_EQ(medien.Datentraegerkennung(""), "");
}

}  // namespace
}  // namespace tilvendo
