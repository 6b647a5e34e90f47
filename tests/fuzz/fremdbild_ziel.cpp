#include <array>
#include <string_view>

#include "arbeitsordner.h"
#include "pictures/bilder_laden.h"
#include "ziele.h"

namespace tilvendo::fuzz {

namespace {
// The first byte of an input chooses the type (its low two bits) and the way of reading
// (the next three); the rest is the file.
constexpr std::array<std::string_view, 4> kDateinamen = {"bild.png", "bild.webp", "bild.tif",
                                                         "bild.heic"};
constexpr uint8_t kAufrichten = 1u << 2;
constexpr uint8_t kSchnell = 1u << 3;
constexpr uint8_t kZuschneiden = 1u << 4;
// Not square, so that cutting to the tile's proportions has something to cut.
constexpr int32_t kKachelBreite = 12;
constexpr int32_t kKachelHoehe = 8;
// As for JPEG: a few bytes of compressed data may declare many megapixels, and decoding
// them keeps the fuzzer in the libraries' pixel loops, not in our code. Every path of the
// row readers is reached with small pictures; how large ones are bounded is checked by
// the normal tests.
constexpr uint64_t kHoechstensPixel = uint64_t{1} << 12;
}  // namespace

void FremdbildLesen(Eingabe daten) {
  if (daten.empty()) return;
  const uint8_t wahl = daten[0];
  static const Arbeitsordner ordner;
  const std::string pfad =
      ordner.Schreiben(kDateinamen[wahl % kDateinamen.size()], AlsText(daten.subspan(1)));
  const std::optional<Size> groesse = BildgroesseLesen(pfad);
  if (!groesse || static_cast<uint64_t>(groesse->width) * static_cast<uint64_t>(groesse->height) >
                      kHoechstensPixel) {
    return;
  }

  const Leseart art{.aufrichten = (wahl & kAufrichten) != 0,
                    .schnell = (wahl & kSchnell) != 0,
                    .zuschneiden = (wahl & kZuschneiden) != 0};
  Bitmap ganz;
  LoadWholePicture(ganz, pfad, art);
  Bitmap kachel(kKachelBreite, kKachelHoehe);
  LoadTilePicture(kachel, Rect{0, 0, kKachelBreite, kKachelHoehe}, pfad, ordner.pfad(), art);
}

}  // namespace tilvendo::fuzz
