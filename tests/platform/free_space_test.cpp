#include "platform/free_space.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::TempFolder;

TEST(FreierPlatz, TooLittleRoomIsRefusedWithBothFigures) {
  const auto nur = [](uint64_t bytes) {
    return [bytes](const std::string&) { return std::optional<uint64_t>(bytes); };
  };
  try {
    CheckFreeSpace("/daten/", 905'000'000, nur(5'000'000));
    ADD_FAILURE() << "refused nothing";
  } catch (const WriteError& fehler) {
    const std::string meldung = fehler.what();
    EXPECT_NE(meldung.find("„/daten/“ sind nur noch 5,0 MB frei"), std::string::npos) << meldung;
    EXPECT_NE(meldung.find("bis zu 905 MB"), std::string::npos) << meldung;
  }
  EXPECT_NO_THROW(CheckFreeSpace("/daten/", 905'000'000, nur(905'000'000)));
  EXPECT_THROW(CheckFreeSpace("/daten/", 905'000'001, nur(905'000'000)), WriteError);
  // When the system cannot tell, the write goes ahead.
  EXPECT_NO_THROW(CheckFreeSpace("/daten/", 905'000'000,
                                 [](const std::string&) { return std::optional<uint64_t>(); }));
  EXPECT_TRUE(FreeSpace(TempFolder().path()).has_value());

  EXPECT_EQ(SizeText(950), "950 Bytes");
  EXPECT_EQ(SizeText(12'345), "12 kB");
  EXPECT_EQ(SizeText(3'449'999), "3,4 MB");
  EXPECT_EQ(SizeText(1'234'567'890), "1,2 GB");
  EXPECT_EQ(SizeText(uint64_t{4} << 40), "4,4 TB");
}

}  // namespace
}  // namespace tilvendo
