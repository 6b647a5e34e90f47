// Writing PNG files: 8 bits per channel, red, green and blue, losslessly compressed,
// strip by strip from the top, so a picture that is never held whole can be written.
//
// The encoder never ends the process and never prints; every failure becomes a
// WriteError with a German message.
#pragma once

#include <cstdint>
#include <string>

#include "pictures/byte_sink.h"
#include "pictures/streifen_quelle.h"

namespace tilvendo {

// How far back along a row the compression finds a repeat, in pixels: deflate's window
// of 32 KB over three bytes a pixel. A photo placed again within this reach is stored
// as a reference, so a sample of a picture narrower than this compresses worse than the
// whole picture.
inline constexpr int32_t kPngRueckgriffPixel = 32768 / 3;

// Writes the picture of `quelle`. A resolution `dpi` above 0 is written as the pHYs
// chunk in pixels per metre; 0 writes none.
void WritePng(ByteSink& sink, StreifenQuelle& quelle, int32_t dpi = 0);

// The same into a file, which is replaced only once it is completely written; on a
// failure (or SchreibenAbgebrochen from the source) the old file stays as it was.
void WritePngFile(StreifenQuelle& quelle, const std::string& fileName, int32_t dpi = 0);

// Bytes a PNG file of a width × height picture never exceeds: the rows uncompressed,
// with what the compression and the chunks add at the worst.
uint64_t PngHoechstBytes(int32_t width, int32_t height);

}  // namespace tilvendo
