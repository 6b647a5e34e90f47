#include "pictures/bilder_laden.h"

#include <optional>

#include "pictures/bild_einpassen.h"
#include "pictures/bildart.h"
#include "pictures/bmp_reader.h"
#include "pictures/jpeg_io.h"
#include "pictures/zeilen_einpassen.h"

namespace tilvendo {
namespace {

// Full size always: the tile loader wants the whole picture for the staged reduction.
constexpr int kVolleGroesse = 0;

bool Lesen(Bitmap& bitmap, const std::string& fileName, Bildart art) {
  switch (art) {
    case Bildart::kBmp:
      return ReadBmpFile(bitmap, fileName);
    case Bildart::kJpeg:
      return ReadJpegFile(bitmap, fileName, /*mayChangePixelFormat=*/true, kVolleGroesse);
  }
  return false;
}

}  // namespace

bool LoadWholePicture(Bitmap& bitmap, const std::string& fileName) {
  return FalseIfTooLarge([&] {
    const std::optional<Bildart> art = BildartVonName(fileName);
    return art && Lesen(bitmap, fileName, *art);
  });
}

bool LoadTilePicture(Bitmap& target, Rect rect, const std::string& fileName,
                     const std::string& arbeitspfad) {
  if (fileName == arbeitspfad + kTemporaeresBild) return false;
  return FalseIfTooLarge([&] {
    // Everything that is not a bitmap file is tried as JPEG, as the album scan only
    // offers the picture extensions.
    const Bildart art = BildartVonName(fileName).value_or(Bildart::kJpeg);
    if (art == Bildart::kJpeg) {
      // Photos are decoded at full size, but only the pixels the reduction picks are kept.
      ZeilenEinpassen einpassen(rect);
      if (ReadJpegRows(fileName, einpassen)) {
        einpassen.Zeichnen(target);
        return true;
      }
      if (!einpassen.brauchtGanzesBild()) return false;
    }
    Bitmap arbeitsbild;
    if (!Lesen(arbeitsbild, fileName, art)) return false;
    BildEinpassen(target, rect, arbeitsbild);
    return true;
  });
}

}  // namespace tilvendo
