// Writing TIFF files: 8 bits per channel, red, green and blue, uncompressed in strips,
// the layout every print shop takes. A file that would pass 4 GB is written as BigTIFF,
// whose offsets are 64 bits wide.
//
// The encoder never ends the process and never prints; every failure becomes a
// WriteError with a German message.
#pragma once

#include <cstdint>
#include <string>

#include "pictures/byte_sink.h"
#include "pictures/streifen_quelle.h"

namespace tilvendo {

// Writes the picture of `quelle`, strip by strip from the top. A resolution `dpi` above
// 0 is written as XResolution and YResolution in dots per inch; 0 writes a 1 : 1 aspect
// ratio without a unit.
void WriteTiff(SeekableSink& sink, StreifenQuelle& quelle, int32_t dpi = 0);

// The same into a file, which is replaced only once it is completely written; on a
// failure (or SchreibenAbgebrochen from the source) the old file stays as it was.
void WriteTiffFile(StreifenQuelle& quelle, const std::string& fileName, int32_t dpi = 0);

// Bytes the file of a width × height picture takes at the most: the pixels, the strip
// tables and the header.
uint64_t TiffHoechstBytes(int32_t width, int32_t height);

// Whether that file needs 64-bit offsets (BigTIFF).
bool TiffBrauchtBigTiff(int32_t width, int32_t height);

}  // namespace tilvendo
