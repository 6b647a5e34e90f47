// Reading JPEG files into bitmaps. Safe to call from several threads at once.
#pragma once

#include <string>

#include "platform/bitmap.h"

namespace tilvendo {

// Reduction while decoding: 0 full size, 1 one half, 2 one quarter, 3 one eighth; the
// reduced size is rounded up ((w + 1) / 2, (w + 3) / 4, (w + 7) / 8).
inline constexpr int kJpegScaleMax = 3;

// Decodes `fileName` into `bitmap`. With mayChangePixelFormat the bitmap becomes 24-bit
// for colour files and 8-bit (grey palette) for grey ones; without it the bitmap must
// already be 8-bit or 24-bit and the file is converted to that. Only grey and colour
// files are read; every failure (missing file, broken data, four channels, 12-bit
// samples) yields false and never ends the process.
bool ReadJpegFile(Bitmap& bitmap, const std::string& fileName, bool mayChangePixelFormat,
                  int scale);

}  // namespace tilvendo
