// Reading and writing single pixels of any supported format as blue-green-red.
// Meant for conversions and tests; hot loops work on rows directly.
#pragma once

#include <cstdint>

#include "platform/bitmap.h"

namespace tilvendo {

struct Farbe {
  uint8_t blue = 0;
  uint8_t green = 0;
  uint8_t red = 0;
  friend bool operator==(const Farbe&, const Farbe&) = default;
};

Farbe ReadPixel(const Bitmap& bitmap, int32_t x, int32_t y);

// 8-bit pictures take the palette entry nearest in colour.
void WritePixel(Bitmap& bitmap, int32_t x, int32_t y, Farbe farbe);

// 5-6-5 packing of the 16-bit format; unpacking repeats the high bits into the low ones.
uint16_t PackRgb565(Farbe farbe);
Farbe UnpackRgb565(uint16_t word);

}  // namespace tilvendo
