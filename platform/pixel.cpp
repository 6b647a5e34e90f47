#include "platform/pixel.h"

#include <cstdlib>
#include <limits>

namespace tilvendo {

uint16_t PackRgb565(Farbe farbe) {
  return static_cast<uint16_t>(((farbe.red >> 3) << 11) | ((farbe.green >> 2) << 5) |
                               (farbe.blue >> 3));
}

Farbe UnpackRgb565(uint16_t word) {
  const auto r5 = static_cast<uint8_t>((word >> 11) & 0x1F);
  const auto g6 = static_cast<uint8_t>((word >> 5) & 0x3F);
  const auto b5 = static_cast<uint8_t>(word & 0x1F);
  return Farbe{static_cast<uint8_t>((b5 << 3) | (b5 >> 2)),
               static_cast<uint8_t>((g6 << 2) | (g6 >> 4)),
               static_cast<uint8_t>((r5 << 3) | (r5 >> 2))};
}

Farbe ReadPixel(const Bitmap& bitmap, int32_t x, int32_t y) {
  const uint8_t* row = bitmap.row(y);
  switch (bitmap.format()) {
    case PixelFormat::k32:
      return Farbe{row[4 * x], row[4 * x + 1], row[4 * x + 2]};
    case PixelFormat::k24:
      return Farbe{row[3 * x], row[3 * x + 1], row[3 * x + 2]};
    case PixelFormat::k16:
      return UnpackRgb565(static_cast<uint16_t>(row[2 * x] | (row[2 * x + 1] << 8)));
    case PixelFormat::k8: {
      const PaletteEntry& entry = bitmap.palette()[row[x]];
      return Farbe{entry.blue, entry.green, entry.red};
    }
  }
  return Farbe{};
}

void WritePixel(Bitmap& bitmap, int32_t x, int32_t y, Farbe farbe) {
  uint8_t* row = bitmap.row(y);
  switch (bitmap.format()) {
    case PixelFormat::k32:
      row[4 * x] = farbe.blue;
      row[4 * x + 1] = farbe.green;
      row[4 * x + 2] = farbe.red;
      row[4 * x + 3] = 0;
      return;
    case PixelFormat::k24:
      row[3 * x] = farbe.blue;
      row[3 * x + 1] = farbe.green;
      row[3 * x + 2] = farbe.red;
      return;
    case PixelFormat::k16: {
      const uint16_t word = PackRgb565(farbe);
      row[2 * x] = static_cast<uint8_t>(word & 0xFF);
      row[2 * x + 1] = static_cast<uint8_t>(word >> 8);
      return;
    }
    case PixelFormat::k8: {
      int best = 0;
      int bestDistance = std::numeric_limits<int>::max();
      for (int i = 0; i < 256; ++i) {
        const PaletteEntry& entry = bitmap.palette()[i];
        const int distance = std::abs(entry.blue - farbe.blue) +
                             std::abs(entry.green - farbe.green) + std::abs(entry.red - farbe.red);
        if (distance < bestDistance) {
          bestDistance = distance;
          best = i;
        }
      }
      row[x] = static_cast<uint8_t>(best);
      return;
    }
  }
}

}  // namespace tilvendo
