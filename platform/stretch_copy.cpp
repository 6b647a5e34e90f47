#include "platform/stretch_copy.h"

#include <algorithm>
#include <cstring>

#include "platform/pixel.h"

namespace tilvendo {

std::vector<int32_t> StretchIndexMap(int32_t sourceLength, int32_t destinationLength) {
  std::vector<int32_t> map(static_cast<size_t>(std::max(destinationLength, 0)));
  const int64_t twiceDestination = 2 * static_cast<int64_t>(destinationLength);
  for (int32_t d = 0; d < destinationLength; ++d) {
    map[d] =
        static_cast<int32_t>((2 * static_cast<int64_t>(d) + 1) * sourceLength / twiceDestination);
  }
  return map;
}

namespace {

// Converts one source pixel to blue-green-red-x for the 32-bit destination.
inline void ToBgrx(const Bitmap& source, const uint8_t* row, int32_t x, uint8_t* out) {
  switch (source.format()) {
    case PixelFormat::k32:
      std::memcpy(out, row + 4 * static_cast<size_t>(x), 4);
      out[3] = 0;
      return;
    case PixelFormat::k24:
      out[0] = row[3 * static_cast<size_t>(x)];
      out[1] = row[3 * static_cast<size_t>(x) + 1];
      out[2] = row[3 * static_cast<size_t>(x) + 2];
      out[3] = 0;
      return;
    case PixelFormat::k16: {
      const size_t at = 2 * static_cast<size_t>(x);
      const Farbe farbe = UnpackRgb565(static_cast<uint16_t>(row[at] | (row[at + 1] << 8)));
      out[0] = farbe.blue;
      out[1] = farbe.green;
      out[2] = farbe.red;
      out[3] = 0;
      return;
    }
    case PixelFormat::k8: {
      const PaletteEntry& entry = source.palette()[row[x]];
      out[0] = entry.blue;
      out[1] = entry.green;
      out[2] = entry.red;
      out[3] = 0;
      return;
    }
  }
}

}  // namespace

void StretchCopy(const Bitmap& source, Bitmap& destination, Rect rect) {
  if (rect.empty() || source.empty() || destination.empty()) return;

  const int32_t x0 = std::max(rect.left, 0);
  const int32_t x1 = std::min(rect.right, destination.width());
  const int32_t y0 = std::max(rect.top, 0);
  const int32_t y1 = std::min(rect.bottom, destination.height());
  if (x0 >= x1 || y0 >= y1) return;

  const std::vector<int32_t> columns = StretchIndexMap(source.width(), rect.width());
  const std::vector<int32_t> rows = StretchIndexMap(source.height(), rect.height());

  const bool fastPath32 =
      destination.format() == PixelFormat::k32 && source.format() == PixelFormat::k32;
  for (int32_t y = y0; y < y1; ++y) {
    const uint8_t* sourceRow = source.row(rows[y - rect.top]);
    uint8_t* destinationRow = destination.row(y);
    if (fastPath32) {
      for (int32_t x = x0; x < x1; ++x) {
        std::memcpy(destinationRow + 4 * static_cast<size_t>(x),
                    sourceRow + 4 * static_cast<size_t>(columns[x - rect.left]), 4);
      }
    } else if (destination.format() == PixelFormat::k32) {
      for (int32_t x = x0; x < x1; ++x) {
        ToBgrx(source, sourceRow, columns[x - rect.left],
               destinationRow + 4 * static_cast<size_t>(x));
      }
    } else if (destination.format() == PixelFormat::k24) {
      uint8_t bgrx[4];
      for (int32_t x = x0; x < x1; ++x) {
        ToBgrx(source, sourceRow, columns[x - rect.left], bgrx);
        std::memcpy(destinationRow + 3 * static_cast<size_t>(x), bgrx, 3);
      }
    } else {
      const int32_t sourceY = rows[y - rect.top];
      for (int32_t x = x0; x < x1; ++x) {
        WritePixel(destination, x, y, ReadPixel(source, columns[x - rect.left], sourceY));
      }
    }
  }
}

}  // namespace tilvendo
