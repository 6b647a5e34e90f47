#include "liegendes_jpeg.h"

#include <stdexcept>

#include "support/bild_dateien.h"
#include "support/temp_folder.h"

namespace tilvendo::testing {

void WriteTestJpegLiegend(const std::string& pfad, const Bitmap& bild) {
  WriteTestJpeg(pfad, bild);
  std::string jpeg = ReadWholeFile(pfad);
  // APP1: its length, "Exif", a little-endian TIFF whose one directory entry is the
  // orientation (0x0112), one SHORT of 6. It goes behind SOI and the 16-byte JFIF APP0.
  const std::string exif(
      "\xFF\xE1\0\x22"
      "Exif\0\0II*\0\x08\0\0\0"
      "\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0",
      36);
  constexpr size_t kNachApp0 = 2 + 2 + 16;
  if (jpeg.compare(0, 6, "\xFF\xD8\xFF\xE0\0\x10", 6) != 0) throw std::runtime_error(pfad);
  WriteWholeFile(pfad, jpeg.insert(kNachApp0, exif));
}

}  // namespace tilvendo::testing
