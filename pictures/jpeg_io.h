// Reading JPEG files into bitmaps. Safe to call from several threads at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "pictures/zeilen_empfaenger.h"
#include "platform/bitmap.h"
#include "platform/memory_budget.h"
#include "platform/rect.h"

namespace tilvendo {

// Reduction while decoding: 0 full size, 1 one half, 2 one quarter, 3 one eighth; the
// reduced size is rounded up ((w + 1) / 2, (w + 3) / 4, (w + 7) / 8).
inline constexpr int kJpegScaleMax = 3;

// Decodes `fileName` into `bitmap`. With mayChangePixelFormat the bitmap becomes 24-bit
// for colour files and 8-bit (grey palette) for grey ones; without it the bitmap must
// already be 8-bit or 24-bit and the file is converted to that. Grey, colour and ink
// files are read: ink (CMYK, or YCCK, Adobe's inverted inks when its marker says so) into
// colour only, as in CmykZuBgr. The rows come as stored, whatever an Exif orientation
// says. Every failure (missing file, broken or cut-off data, other channel counts, 12-bit
// samples, pictures above kMaxPixelCount) yields false, leaves the bitmap as it was, and
// never ends the process or prints anything. The picture and what the decoder holds are
// reserved from `budget` before either is set up (false when they need more than the whole
// budget), or from a budget of its own of MemoryBudget::ForThisMachine(); the decoder is
// held to what was reserved for it.
bool ReadJpegFile(Bitmap& bitmap, const std::string& fileName, bool mayChangePixelFormat, int scale,
                  MemoryBudget& budget);
bool ReadJpegFile(Bitmap& bitmap, const std::string& fileName, bool mayChangePixelFormat,
                  int scale);

// Decodes `fileName` like ReadJpegFile, but hands the rows to `empfaenger` top to bottom as
// blue, green, red (grey files as three equal channels) instead of keeping the whole
// picture, for readers that need only some of its pixels. The orientation of the Exif
// segment is passed on in the format; the picture is decoded at the greatest reduction
// (1/2, 1/4, 1/8) still at least as large as the receiver's Mindestgroesse. The decoder
// holds no more than the `leserBytes` it announces: a file that would need more fails.
// False like ReadJpegFile, also when the receiver stopped; it may then have seen some of
// the rows. Exceptions of the receiver pass on, except a picture too large to hold
// (PictureTooLarge, std::bad_alloc), which gives false.
bool ReadJpegRows(const std::string& fileName, ZeilenEmpfaenger& empfaenger);

// The size the file's header declares, without decoding; none when it is no JPEG file
// the reader understands.
std::optional<Size> ReadJpegSize(const std::string& fileName);

}  // namespace tilvendo
