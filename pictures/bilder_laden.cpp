#include "pictures/bilder_laden.h"

#include <optional>

#include "pictures/bildart.h"
#include "pictures/bmp_reader.h"
#include "pictures/jpeg_io.h"
#include "pictures/zeilen_einpassen.h"

namespace tilvendo {
namespace {

constexpr int64_t kPixelJeMegapixel = 1'000'000;

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

bool ZeilenLesen(const std::string& fileName, Bildart art, ZeilenEmpfaenger& empfaenger) {
  switch (art) {
    case Bildart::kBmp:
      return ReadBmpRows(fileName, empfaenger);
    case Bildart::kJpeg:
      return ReadJpegRows(fileName, empfaenger);
  }
  return false;
}

std::optional<Size> GroesseLesen(const std::string& fileName, Bildart art) {
  switch (art) {
    case Bildart::kBmp:
      return ReadBmpSize(fileName);
    case Bildart::kJpeg:
      return ReadJpegSize(fileName);
  }
  return std::nullopt;
}

}  // namespace

bool LoadWholePicture(Bitmap& bitmap, const std::string& fileName) {
  return FalseIfTooLarge([&] {
    const std::optional<Bildart> art = BildartVonName(fileName);
    return art && Lesen(bitmap, fileName, *art);
  });
}

Vorlagenbild VorlagenbildLesen(Bitmap& bitmap, const std::string& fileName) {
  const std::optional<Bildart> art = BildartVonName(fileName);
  if (!art) return {};
  const std::optional<Size> groesse = GroesseLesen(fileName, *art);
  if (!groesse) return {};
  if (static_cast<int64_t>(groesse->width) * groesse->height > kMaxVorlagenPixel) {
    return {Vorlagenlesung::kZuGross, *groesse};
  }
  if (!LoadWholePicture(bitmap, fileName)) return {};
  return {Vorlagenlesung::kGelesen, *groesse};
}

std::string MeldungVorlageZuGross(Size groesse) {
  return "Das Bild ist mit " + std::to_string(groesse.width) + " × " +
         std::to_string(groesse.height) + " Pixeln zu groß für eine Vorlage; höchstens " +
         std::to_string(kMaxVorlagenPixel / kPixelJeMegapixel) + " Millionen Pixel sind möglich.";
}

bool LoadTilePicture(Bitmap& target, Rect rect, const std::string& fileName,
                     const std::string& arbeitspfad, MemoryBudget& budget) {
  if (fileName == arbeitspfad + kTemporaeresBild) return false;
  return FalseIfTooLarge([&] {
    // Everything that is not a bitmap file is tried as JPEG, as the album scan only
    // offers the picture extensions.
    const Bildart art = BildartVonName(fileName).value_or(Bildart::kJpeg);
    ZeilenEinpassen einpassen(rect, budget);
    if (!ZeilenLesen(fileName, art, einpassen)) return false;
    einpassen.Zeichnen(target);
    return true;
  });
}

bool LoadTilePicture(Bitmap& target, Rect rect, const std::string& fileName,
                     const std::string& arbeitspfad) {
  MemoryBudget budget(MemoryBudget::ForThisMachine());
  return LoadTilePicture(target, rect, fileName, arbeitspfad, budget);
}

}  // namespace tilvendo
