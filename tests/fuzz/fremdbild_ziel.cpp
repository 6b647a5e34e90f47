#include "arbeitsordner.h"
#include "fremdbild_wahl.h"
#include "pictures/bilder_laden.h"
#include "ziele.h"

namespace tilvendo::fuzz {

namespace {
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
      ordner.Schreiben(kWahlDateinamen[wahl % kWahlDateinamen.size()], AlsText(daten.subspan(1)));
  const std::optional<Size> groesse = BildgroesseLesen(pfad);
  if (!groesse || static_cast<uint64_t>(groesse->width) * static_cast<uint64_t>(groesse->height) >
                      kHoechstensPixel) {
    return;
  }

  const Leseart art{.aufrichten = (wahl & kWahlAufrichten) != 0,
                    .schnell = (wahl & kWahlSchnell) != 0,
                    .zuschneiden = (wahl & kWahlZuschneiden) != 0};
  Bitmap ganz;
  LoadWholePicture(ganz, pfad, art);
  Bitmap kachel(kKachelBreite, kKachelHoehe);
  LoadTilePicture(kachel, Rect{0, 0, kKachelBreite, kKachelHoehe}, pfad, ordner.pfad(), art);
}

}  // namespace tilvendo::fuzz
