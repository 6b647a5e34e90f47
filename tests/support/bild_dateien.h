// Writing small test pictures: JPEG and BMP files made from bitmaps, and solid pictures.
// The writers are deliberately minimal and independent of the program's own writers, so
// a fault in those cannot hide itself in the tests. They throw std::runtime_error when a
// file cannot be written.
#pragma once

#include <cstdint>
#include <string>

#include "platform/bitmap.h"
#include "platform/pixel.h"

namespace tilvendo::testing {

// A JPEG of `picture`, written by libjpeg directly: 24-bit, 32-bit and 16-bit pictures
// as three-channel colour, 8-bit pictures as one-channel grey (the grey level of each
// pixel is the green value of its palette entry, exact for a grey palette).
void WriteTestJpeg(const std::string& path, const Bitmap& picture, int quality = 90);

// The other codings a JPEG file may use.
struct JpegArt {
  int quality = 90;
  bool progressiv = false;
  bool arithmetisch = false;        // arithmetic instead of Huffman coding
  unsigned int neustartZeilen = 0;  // a restart marker every so many rows of blocks
};
void WriteTestJpeg(const std::string& path, const Bitmap& picture, const JpegArt& art);

// A 24-bit BI_RGB bottom-up Windows bitmap of `picture` (any format; 8-bit through its
// palette), with a 40-byte info header.
void WriteTestBmp(const std::string& path, const Bitmap& picture);

// A 32-bit picture of one colour.
Bitmap Einfarbig(int32_t width, int32_t height, Farbe farbe);

// A 32-bit picture whose every pixel differs from its neighbours, and from the pixel at
// the same place of the picture of another small `muster`: a pixel taken from the wrong
// place or the wrong photo shows.
Bitmap Gemustert(int32_t width, int32_t height, int muster);

}  // namespace tilvendo::testing
