#include "liegendes_jpeg.h"

#include <cstdint>
#include <stdexcept>

#include "support/bild_dateien.h"
#include "support/temp_folder.h"

namespace tilvendo::testing {

void WriteTestJpegLiegend(const std::string& pfad, const Bitmap& bild) {
  WriteTestJpeg(pfad, bild);
  std::string jpeg = ReadWholeFile(pfad);
  // Little-endian TIFF with its directory at 8 holding one entry: orientation (0x0112),
  // one SHORT of 6 (turn right); no further directory.
  const std::string ifd(
      "II*\0\x08\0\0\0"
      "\x01\0"
      "\x12\x01\x03\0\x01\0\0\0\x06\0\0\0"
      "\0\0\0\0",
      26);
  const std::string nutzlast = std::string("Exif\0\0", 6) + ifd;
  const size_t laenge = nutzlast.size() + 2;
  const std::string segment = std::string{'\xFF', '\xE1', static_cast<char>(laenge >> 8),
                                          static_cast<char>(laenge & 0xFF)} +
                              nutzlast;
  // SOI, then APP0 with its big-endian length.
  if (jpeg.substr(0, 4) != "\xFF\xD8\xFF\xE0") throw std::runtime_error("kein JFIF: " + pfad);
  const size_t nachApp0 =
      4 + ((static_cast<uint8_t>(jpeg[4]) << 8) | static_cast<uint8_t>(jpeg[5]));
  jpeg.insert(nachApp0, segment);
  WriteWholeFile(pfad, jpeg);
}

}  // namespace tilvendo::testing
