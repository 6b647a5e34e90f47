#include "pictures/exif_ausrichtung.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formate_testbilder.h"

namespace tilvendo {
namespace {

std::optional<Ausrichtung> Lesen(const std::string& block) {
  // A buffer of exactly the block's size, so that a read beyond it shows under ASan.
  const std::vector<uint8_t> bytes(block.begin(), block.end());
  return ExifAusrichtung(bytes);
}

TEST(ExifAusrichtung, EveryValueInBothByteOrdersWithOrWithoutPrefixAndNothingFromDamage) {
  for (uint16_t wert = 1; wert <= 8; ++wert) {
    for (const bool gross : {false, true}) {
      const std::string block = testing::ExifBlock(wert, gross);
      EXPECT_EQ(Lesen(block), static_cast<Ausrichtung>(wert)) << wert << gross;
      EXPECT_EQ(Lesen(std::string("Exif\0\0", 6) + block), static_cast<Ausrichtung>(wert));
    }
  }
  for (const uint16_t falsch : {0, 9, 0x100}) EXPECT_FALSE(Lesen(testing::ExifBlock(falsch)));

  // Cut anywhere before the end of the value: nothing, and nothing read beyond the cut.
  const std::string block = testing::ExifBlock(6, true);
  constexpr size_t kWertEnde = 32;  // header, count, one entry, the orientation's value
  for (size_t laenge = 0; laenge < kWertEnde; ++laenge) {
    EXPECT_FALSE(Lesen(block.substr(0, laenge))) << laenge;
  }
  EXPECT_EQ(Lesen(block.substr(0, kWertEnde)), Ausrichtung::kRechtsGedreht);

  std::string kaputt = block;
  kaputt[25] = 4;  // the orientation claims to be a long
  EXPECT_FALSE(Lesen(kaputt));
  kaputt = block;
  kaputt[4] = '\x7F';  // the directory lies far beyond the block
  EXPECT_FALSE(Lesen(kaputt));
  kaputt = block;
  kaputt[8] = kaputt[9] = '\xFF';  // 65535 entries running out of the block, none of them
  kaputt[23] = 0x13;               // the orientation
  EXPECT_FALSE(Lesen(kaputt));
  kaputt = block;
  kaputt[0] = kaputt[1] = 'X';  // no byte order
  EXPECT_FALSE(Lesen(kaputt));
}

}  // namespace
}  // namespace tilvendo
