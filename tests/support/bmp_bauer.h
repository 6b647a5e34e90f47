// Windows bitmap files built byte by byte, in every layout the reader should understand,
// so that the reader's tests need no files from elsewhere. Independent of the program's
// own writer, so that a fault there cannot hide itself in the reader's tests.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/bitmap.h"

namespace tilvendo::testing {

// Compression codes of the info header.
inline constexpr uint32_t kBmpRgb = 0;
inline constexpr uint32_t kBmpRle8 = 1;
inline constexpr uint32_t kBmpRle4 = 2;
inline constexpr uint32_t kBmpBitfelder = 3;
inline constexpr uint32_t kBmpAlphaBitfelder = 6;

// Byte positions in a file with a header of 16 bytes or more, for patching test files.
inline constexpr size_t kBmpPixelOffsetStelle = 10;
inline constexpr size_t kBmpKopfgroesseStelle = 14;
inline constexpr size_t kBmpBreiteStelle = 18;
inline constexpr size_t kBmpHoeheStelle = 22;
inline constexpr size_t kBmpEbenenStelle = 26;
inline constexpr size_t kBmpBitsStelle = 28;
inline constexpr size_t kBmpKompressionStelle = 30;

struct BmpAufbau {
  uint32_t kopfGroesse = 40;  // 12, 16, 40, 52, 56, 64, 108 or 124 (or anything, for lies)
  uint16_t bits = 24;
  uint32_t kompression = kBmpRgb;
  // Red, green, blue, alpha. Written after a 40-byte header or inside the larger Windows
  // headers; the pixels are packed into them for bit fields. Alpha bits are all set.
  std::array<uint32_t, 4> masken{};
  bool vonOben = false;        // negative height, rows stored top row first
  uint32_t farbenBenutzt = 0;  // the header's palette count (0: as many as the bits allow)
  // Palette entries actually written; -1: the header's count, or 2^bits up to 8 bits.
  int64_t paletteEintraege = -1;
  uint32_t luecke = 0;  // bytes between the palette and the pixels
};

// The bytes of a file showing `bild`. Up to 8 bits `bild` must be an 8-bit picture whose
// indices fit the bit count, and its palette is written; above 8 bits any picture does,
// its colours scaled into the masks (5-5-5 or 8-8-8 without bit fields). Run-length data
// leaves out pixels of index 0 where it can, through delta, end-of-line and end-of-picture
// codes. Throws std::invalid_argument for a picture of the wrong format.
std::string BmpBauen(const Bitmap& bild, const BmpAufbau& aufbau);

// The picture the generated files show: an 8-bit picture of a 256-colour palette (0 black,
// 255 white) with bands of equal pixels, rows of two alternating ones, a noisy part, and
// areas of index 0 (the top row, a block, the end of some rows). For fewer bits the same picture
// with its indices cut to the upper `bits` bits, and the palette entries they stand for. Narrower
// or lower ones show its top-left part.
inline constexpr int32_t kBmpVorbildBreite = 127;
inline constexpr int32_t kBmpVorbildHoehe = 64;
Bitmap BmpVorbild(int bits = 8, int32_t breite = kBmpVorbildBreite,
                  int32_t hoehe = kBmpVorbildHoehe);

// Little-endian values into test files.
void Setzen16(std::string& bytes, size_t stelle, uint16_t wert);
void Setzen32(std::string& bytes, size_t stelle, uint32_t wert);

}  // namespace tilvendo::testing
