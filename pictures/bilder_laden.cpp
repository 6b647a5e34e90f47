#include "pictures/bilder_laden.h"

#include <new>

#include "pictures/bild_einpassen.h"
#include "pictures/bmp_reader.h"
#include "pictures/jpeg_io.h"
#include "pictures/zeilen_einpassen.h"
#include "platform/paths.h"

namespace tilvendo {
namespace {

enum class Bildart { kBmp, kJpeg, kUnbekannt };

Bildart ArtNachEndung(const std::string& fileName) {
  const std::string endung = UpperExtension(fileName);
  if (endung == ".BMP") return Bildart::kBmp;
  if (endung == ".JPG" || endung == ".JPEG") return Bildart::kJpeg;
  return Bildart::kUnbekannt;
}

// Full size always: the tile loader wants the whole picture for the staged reduction.
constexpr int kVolleGroesse = 0;

bool Lesen(Bitmap& bitmap, const std::string& fileName, Bildart art) {
  switch (art) {
    case Bildart::kBmp:
      return ReadBmpFile(bitmap, fileName);
    case Bildart::kJpeg:
      return ReadJpegFile(bitmap, fileName, /*mayChangePixelFormat=*/true, kVolleGroesse);
    case Bildart::kUnbekannt:
      return false;
  }
  return false;
}

}  // namespace

bool LoadWholePicture(Bitmap& bitmap, const std::string& fileName) {
  try {
    return Lesen(bitmap, fileName, ArtNachEndung(fileName));
  } catch (const PictureTooLarge&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool LoadTilePicture(Bitmap& target, Rect rect, const std::string& fileName,
                     const std::string& arbeitspfad) {
  if (fileName == arbeitspfad + kTemporaeresBild) return false;
  try {
    // Everything that is not a bitmap file is tried as JPEG, as the album scan only
    // offers the picture extensions.
    const Bildart art = ArtNachEndung(fileName) == Bildart::kBmp ? Bildart::kBmp : Bildart::kJpeg;
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
  } catch (const PictureTooLarge&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace tilvendo
