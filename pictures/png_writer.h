// Writing PNG files: 8 bits per channel, red, green and blue, losslessly compressed, row
// by row from the top, so a picture that is never held whole can be written.
//
// The encoder never ends the process and never prints; every failure becomes a
// WriteError with a German message.
#pragma once

#include <cstdint>
#include <memory>

#include "pictures/bildschreiber.h"
#include "pictures/byte_sink.h"

namespace tilvendo {

// How far back along a row the compression finds a repeat, in pixels: deflate's window
// of 32 KB over three bytes a pixel. A photo placed again within this reach is stored
// as a reference, so a sample of a picture narrower than this compresses worse than the
// whole picture.
inline constexpr int32_t kPngLookbackPixels = 32768 / 3;

// A writer of the picture `description` says; a resolution above 0 is stored as the
// pHYs chunk in whole pixels per metre, 0 stores none.
std::unique_ptr<Bildschreiber> MakePngWriter(ByteSink& sink, const Bildbeschreibung& description);

// Bytes a PNG file of a width × height picture never exceeds: the rows uncompressed,
// with what the compression and the chunks add at the worst.
uint64_t PngMaximumBytes(int32_t width, int32_t height);

}  // namespace tilvendo
