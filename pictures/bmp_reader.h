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
#include <optional>
#include <span>
#include <string>

#include "pictures/zeilen_empfaenger.h"
#include "platform/bitmap.h"
#include "platform/memory_budget.h"
#include "platform/rect.h"

namespace tilvendo {

// Decodes `fileName` into `bitmap`. False for anything that is not a well-formed bitmap
// the reader understands (including pictures above kMaxPixelCount); never reads outside
// the file's bytes. The bitmap is left as it was on failure. The picture is reserved
// from `budget` before it is made (false when it needs more than the whole budget), or
// from a budget of its own of MemoryBudget::ForThisMachine().
bool ReadBmpFile(Bitmap& bitmap, const std::string& fileName, MemoryBudget& budget);
bool ReadBmpFile(Bitmap& bitmap, const std::string& fileName);

// The same for a file already in memory.
bool DecodeBmp(Bitmap& bitmap, std::span<const uint8_t> bytes);

// Decodes `fileName` like ReadBmpFile, but hands the rows the receiver wants to it as
// colours (palette indices looked up; 32-bit pictures with their fourth byte) instead of
// keeping the whole picture; rows it does not want are not decoded where the coding
// allows. Never holds more than a few rows. False like ReadBmpFile, also when the
// receiver stopped; it may then have seen some of the rows.
bool ReadBmpRows(const std::string& fileName, ZeilenEmpfaenger& empfaenger);

// The size the file's header declares, also beyond kMaxPixelCount, without decoding;
// none when it is no bitmap file the reader understands.
std::optional<Size> ReadBmpSize(const std::string& fileName);

}  // namespace tilvendo
