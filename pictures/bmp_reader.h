// Reading Windows bitmap files. Safe to call from several threads at once.
//
// Understood: the OS/2 1.x core header, OS/2 2.x headers of 16 and 64 bytes, the Windows
// headers of 40, 52, 56, 108 and 124 bytes; 1, 2, 4, 8, 16, 24 and 32 bits per pixel;
// uncompressed, bit fields (also with an alpha mask, which is ignored), RLE8 and RLE4;
// rows bottom-up or top-down. Embedded JPEG or PNG data, RLE24, Huffman and 64-bit
// pixels are refused.
//
// Result formats: up to 8 bits per pixel an 8-bit picture with the file's palette (entries
// the file does not give are black); 16 bits and 24 bits a 24-bit picture; 32 bits a
// 32-bit picture. Pixels that run-length data skips keep palette index 0.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/bitmap.h"

namespace tilvendo {

// Decodes `fileName` into `bitmap`. False for anything that is not a well-formed bitmap
// the reader understands (including pictures above kMaxPixelCount); never reads outside
// the file's bytes. The bitmap is left as it was on failure.
bool ReadBmpFile(Bitmap& bitmap, const std::string& fileName);

// The same for a file already in memory.
bool DecodeBmp(Bitmap& bitmap, std::span<const uint8_t> bytes);

}  // namespace tilvendo
