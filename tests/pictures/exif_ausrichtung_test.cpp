#include "pictures/exif_ausrichtung.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "support/formate_testbilder.h"

namespace tilvendo {
namespace {

std::optional<Ausrichtung> AusrichtungLesen(const std::string& block) {
  // A buffer of exactly the block's size, so that a read beyond it shows under ASan.
  const std::vector<uint8_t> bytes(block.begin(), block.end());
  return ExifAusrichtung(bytes);
}

// Good blocks of every value and byte order come with the pictures of every type.
TEST(ExifAusrichtung, DamagedBlocksGiveNothingAndAreNeverReadBeyondTheirEnd) {
  for (const uint16_t falsch : {0, 9, 0x100}) EXPECT_FALSE(AusrichtungLesen(testing::ExifBlock(falsch)));
  const std::string block = testing::ExifBlock(6, true);
  constexpr size_t kWertEnde = 32;  // header, count, one entry, the orientation's value
  for (size_t laenge = 0; laenge < kWertEnde; ++laenge) {
    EXPECT_FALSE(AusrichtungLesen(block.substr(0, laenge))) << laenge;
  }
  EXPECT_EQ(AusrichtungLesen(block.substr(0, kWertEnde)), Ausrichtung::RechtsGedreht);
  const auto verdorben = [&](std::initializer_list<std::pair<size_t, char>> aenderungen) {
    std::string kaputt = block;
    for (const auto& [stelle, wert] : aenderungen) kaputt[stelle] = wert;
    return AusrichtungLesen(kaputt);
  };
  EXPECT_FALSE(verdorben({{25, 4}}));      // the orientation claims to be a long
  EXPECT_FALSE(verdorben({{4, '\x7F'}}));  // the directory lies far beyond the block
  // 65535 entries running out of the block, none of them the orientation.
  EXPECT_FALSE(verdorben({{8, '\xFF'}, {9, '\xFF'}, {23, 0x13}}));
  EXPECT_FALSE(verdorben({{0, 'X'}, {1, 'X'}}));  // no byte order
}

}  // namespace
}  // namespace tilvendo
