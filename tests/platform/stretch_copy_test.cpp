#include "platform/stretch_copy.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/fit_to_box.h"
#include "platform/pixel.h"
#include "platform/rounding.h"

namespace tilvendo {
namespace {

Bitmap Numbered(int32_t width, int32_t height, PixelFormat format) {
  Bitmap bitmap(width, height, format);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      WritePixel(bitmap, x, y, Farbe{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7});
    }
  }
  return bitmap;
}

TEST(StretchCopy, TakesTheSourcePixelUnderEachDestinationCentre) {
  EXPECT_EQ(StretchIndexMap(10, 3), (std::vector<int32_t>{1, 5, 8}));
  EXPECT_EQ(StretchIndexMap(3, 6), (std::vector<int32_t>{0, 0, 1, 1, 2, 2}));
  EXPECT_EQ(StretchIndexMap(4, 4), (std::vector<int32_t>{0, 1, 2, 3}));
}

TEST(StretchCopy, ConvertsEverySourceFormatToTheWorkingFormat) {
  for (PixelFormat format : {PixelFormat::k24, PixelFormat::k32, PixelFormat::k16}) {
    const Bitmap source = Numbered(8, 8, format);
    Bitmap target(4, 4);
    StretchCopy(source, target, Rect{0, 0, 4, 4});
    const Farbe expected = ReadPixel(source, 5, 3);  // centre of destination (2, 1)
    EXPECT_EQ(ReadPixel(target, 2, 1), expected) << static_cast<int>(format);
  }
}

TEST(StretchCopy, ClipsToTheDestinationAndIgnoresEmptyRectangles) {
  const Bitmap source = Numbered(4, 4, PixelFormat::k32);
  Bitmap target(3, 3);
  StretchCopy(source, target, Rect{-2, -2, 2, 2});  // only the lower-right quarter lands
  EXPECT_EQ(ReadPixel(target, 0, 0), (Farbe{2, 2, 7}));
  EXPECT_EQ(ReadPixel(target, 2, 2), (Farbe{}));

  Bitmap untouched(3, 3);
  StretchCopy(source, untouched, Rect{1, 1, 1, 3});
  StretchCopy(source, untouched, Rect{2, 2, 0, 0});
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(ReadPixel(untouched, x, y), Farbe{});
}

TEST(Bitmap, RowsArePaddedToFourBytesAndAbsurdSizesAreRefused) {
  EXPECT_EQ(RowStride(3, PixelFormat::k24), 12u);
  EXPECT_EQ(RowStride(5, PixelFormat::k8), 8u);
  EXPECT_EQ(RowStride(3, PixelFormat::k16), 8u);
  EXPECT_THROW(Bitmap(100'000, 100'000), PictureTooLarge);
  EXPECT_THROW(Bitmap(-1, 10), PictureTooLarge);
  EXPECT_TRUE(Bitmap(0, 10).empty());
}

TEST(Rgb565, KeepsTheTopBitsOfEachComponent) {
  const Farbe farbe{0xFF, 0x80, 0x10};
  const Farbe back = UnpackRgb565(PackRgb565(farbe));
  EXPECT_EQ(back.blue, 0xFF);
  EXPECT_EQ(back.green & 0xFC, 0x80);
  EXPECT_EQ(back.red & 0xF8, 0x10);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  for (const auto& [wert, gerundet] :
       {std::pair{2.5, 2}, {3.5, 4}, {1.5, 2}, {0.49, 0}, {-2.5, -2}, {727.27, 727}}) {
    EXPECT_EQ(RoundHalfEven(wert), gerundet) << wert;
  }
}

TEST(FitToBox, TouchesTheBoxOnOneSide) {
  EXPECT_EQ(FitToBox(2000, 1000, 236, 170), (Size{236, 118}));
  EXPECT_EQ(FitToBox(2000, 1500, 956, 545), (Size{727, 545}));
  EXPECT_EQ(FitToBox(10, 10, 100, 50), (Size{50, 50}));  // small pictures grow
  EXPECT_EQ(FitToBox(0, 10, 100, 50), (Size{0, 0}));
}

}  // namespace
}  // namespace tilvendo
