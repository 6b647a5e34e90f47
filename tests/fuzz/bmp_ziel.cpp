#include "arbeitsordner.h"
#include "pictures/bilder_laden.h"
#include "pictures/bmp_reader.h"
#include "ziele.h"

namespace tilvendo::fuzz {

namespace {
// Edge of the tile the file is reduced into, as small as the finest levels make them.
constexpr int32_t kKachelKante = 12;
}  // namespace

void BmpLesen(Eingabe daten) {
  Bitmap bild;
  DecodeBmp(bild, daten);

  static const Arbeitsordner ordner;
  const std::string pfad = ordner.Schreiben("kachel.bmp", AlsText(daten));
  Bitmap kachel(kKachelKante, kKachelKante);
  LoadTilePicture(kachel, Rect{0, 0, kKachelKante, kKachelKante}, pfad, ordner.pfad());
}

}  // namespace tilvendo::fuzz
