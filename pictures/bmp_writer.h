// Writing Windows bitmap files: 8 bits with a 256-entry palette, 16, 24 and 32 bits.
//
// Files are bottom-up (the layout every reader knows) with a 40-byte info header; the
// writer takes the rows from the top and puts each where the file stores it. 24 and 32
// bits are plain BI_RGB. 16 bits are written as 5-6-5 with BI_BITFIELDS masks, the layout
// of the bitmap type's own 16-bit format, so a 16-bit picture is stored without a second
// loss of colour. 8 bits carry a palette of exactly 256 entries, chosen from the whole
// picture: its rows are put aside until the last one came.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "pictures/bildschreiber.h"
#include "pictures/byte_sink.h"
#include "platform/bitmap.h"

namespace tilvendo {

// Bytes of the whole file of a width × height picture in `format`. A file's sizes are
// 32-bit fields, so a picture whose file would pass UINT32_MAX bytes cannot be a BMP.
uint64_t BmpFileBytes(int32_t width, int32_t height, PixelFormat format);

// Bytes an 8-bit file puts aside while it is written: the picture at 24 bits.
uint64_t BmpScratchBytes(int32_t width, int32_t height, PixelFormat format);

// Raises WriteError with a German message naming the size when the picture does not fit
// into a BMP file.
void CheckBmpSize(int32_t width, int32_t height, PixelFormat format);

// A writer of the picture `description` says, in its depth; a resolution above 0 is
// stored as pixels per metre, 0 as the usual 96 dpi. Raises WriteError for a picture too
// large for a BMP before anything is written.
std::unique_ptr<Bildschreiber> MakeBmpWriter(SeekableSink& sink,
                                             const Bildbeschreibung& description);

// A whole picture in its own format (8 bits with its own palette), into a file that is
// replaced only once it is completely written.
void WriteBmpFile(const Bitmap& bitmap, const std::string& fileName);

}  // namespace tilvendo
