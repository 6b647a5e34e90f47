// Writing Windows bitmap files: 8 bits with a 256-entry palette, 16, 24 and 32 bits.
//
// Files are bottom-up (the layout every reader knows) with a 40-byte info header.
// 24 and 32 bits are plain BI_RGB. 16 bits are written as 5-6-5 with BI_BITFIELDS masks,
// the layout of the bitmap type's own 16-bit format, so a 16-bit picture is stored
// without a second loss of colour. 8 bits carry a palette of exactly 256 entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pictures/byte_sink.h"
#include "pictures/streifen_quelle.h"
#include "platform/bitmap.h"

namespace tilvendo {

inline constexpr uint32_t kBmpDateiKopfBytes = 14;
inline constexpr uint32_t kBmpInfoKopfBytes = 40;
inline constexpr uint32_t kBmpBitfelderBytes = 12;  // three masks after the info header
inline constexpr uint32_t kBmpPalettenBytes = 256 * 4;
inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiBitfields = 3;
inline constexpr uint32_t kMaske565Rot = 0xF800;
inline constexpr uint32_t kMaske565Gruen = 0x07E0;
inline constexpr uint32_t kMaske565Blau = 0x001F;

// Bytes of the whole file of a width × height picture in `format`. A file's sizes are
// 32-bit fields, so a picture whose file would pass UINT32_MAX bytes cannot be a BMP.
uint64_t BmpDateiBytes(int32_t width, int32_t height, PixelFormat format);

// Raises WriteError with a German message naming the size when the picture does not fit
// into a BMP file.
void BmpGroessePruefen(int32_t width, int32_t height, PixelFormat format);

// File header, info header and masks or palette of a width × height picture in `format`;
// the pixel rows follow directly. A resolution `dpi` above 0 is written as pixels per
// metre; 0 gives the usual 96 dpi. Raises WriteError for a picture too large for a BMP.
std::vector<uint8_t> BmpKopf(int32_t width, int32_t height, PixelFormat format,
                             const Palette& palette, int32_t dpi = 0);

// Writes the picture in its own format (8 bits with its own palette).
void WriteBmp(ByteSink& sink, const Bitmap& bitmap);

// Writes the picture of `quelle` converted to `format`, strip by strip from the bottom
// row up. For 8 bits the source is read twice: once to choose the palette, once to
// diffuse the pixels onto it.
void WriteBmp(ByteSink& sink, StreifenQuelle& quelle, PixelFormat format, int32_t dpi = 0);

// The same into a file, which is replaced only once it is completely written; on a
// failure the old file stays as it was and WriteError (a German message) is raised. A
// source that stops the writing (SchreibenAbgebrochen) leaves the old file as well.
void WriteBmpFile(const Bitmap& bitmap, const std::string& fileName);
void WriteBmpFile(StreifenQuelle& quelle, PixelFormat format, const std::string& fileName,
                  int32_t dpi = 0);

}  // namespace tilvendo
