// Writing TIFF files: 8 bits per channel, red, green and blue, uncompressed in strips,
// the layout every print shop takes. A file that would pass 4 GB is written as BigTIFF,
// whose offsets are 64 bits wide.
//
// The encoder never ends the process and never prints; every failure becomes a
// WriteError with a German message.
#pragma once

#include <cstdint>
#include <memory>

#include "pictures/bildschreiber.h"
#include "pictures/byte_sink.h"

namespace tilvendo {

// A writer of the picture `description` says, strip by strip from the top. A resolution
// above 0 is stored as XResolution and YResolution in dots per inch (rationals), 0 as a
// 1 : 1 aspect ratio without a unit.
std::unique_ptr<Bildschreiber> MakeTiffWriter(SeekableSink& sink,
                                              const Bildbeschreibung& description);

// Bytes the file of a width × height picture takes at the most: the pixels, the strip
// tables and the header.
uint64_t TiffMaximumBytes(int32_t width, int32_t height);

// Whether that file needs 64-bit offsets (BigTIFF).
bool TiffNeedsBigTiff(int32_t width, int32_t height);

}  // namespace tilvendo
