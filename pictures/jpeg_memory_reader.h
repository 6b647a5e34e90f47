// Decoding a JPEG held in memory, such as the encoded save preview.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/bitmap.h"

namespace tilvendo {

// Decodes `size` bytes at `data` into `bitmap`, with the rules of the file reader: with
// mayChangePixelFormat the bitmap becomes 24-bit for colour data and 8-bit (grey palette)
// for grey data; without it the bitmap must already be 8-bit or 24-bit and the picture
// is converted to that. `scale` 0..3 reduces by 1, 2, 4 or 8 (sizes rounded up). Only
// grey and colour data are read. Every failure yields false, leaves the bitmap as it was,
// and never ends the process. Decoder and picture must fit into a budget of
// MemoryBudget::ForThisMachine(), and the decoder holds no more than estimated.
bool ReadJpegMemory(Bitmap& bitmap, const uint8_t* data, size_t size, bool mayChangePixelFormat,
                    int scale);

}  // namespace tilvendo
