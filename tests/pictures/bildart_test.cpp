#include "pictures/bildart.h"

#include <gtest/gtest.h>

#include <string>

namespace tilvendo {
namespace {

TEST(Bildart, ExtensionDecidesInAnyCaseAndOrderIsTheScanOrder) {
  EXPECT_EQ(BildartVonName("urlaub.BMP"), Bildart::Bmp);
  EXPECT_EQ(BildartVonName("/a/b.c/Urlaub.JpG"), Bildart::Jpeg);
  EXPECT_EQ(BildartVonName("x.tar.jPEG"), Bildart::Jpeg);
  EXPECT_EQ(BildartVonName(".jpg"), Bildart::Jpeg);
  for (const std::string name : {"bild.gif", "bild.jpg.txt", "bildjpg", "ordner.jpg/bild",
                                 "bild.jp", "bild.jpgg", "bild.", "", "bild.j\xC3\xA4g"}) {
    EXPECT_FALSE(BildartVonName(name).has_value()) << name;
  }
  // Tile numbers follow this order: bitmaps, then ".jpg", then ".jpeg"; later types after.
  ASSERT_GE(kBildEndungen.size(), 3u);
  EXPECT_EQ(kBildEndungen[0].endung, ".bmp");
  EXPECT_EQ(kBildEndungen[1].endung, ".jpg");
  EXPECT_EQ(kBildEndungen[2].endung, ".jpeg");
  EXPECT_EQ(BildendungVonName("A.JPEG"), &kBildEndungen[2]);
}

}  // namespace
}  // namespace tilvendo
