#include "arbeitsordner.h"
#include "pictures/bilder_laden.h"
#include "pictures/jpeg_io.h"
#include "pictures/jpeg_memory_reader.h"
#include "ziele.h"

namespace tilvendo::fuzz {

namespace {
constexpr int32_t kKachelKante = 12;
constexpr int kVolleGroesse = 0;
}  // namespace

void JpegLesen(Eingabe daten) {
  Bitmap verkleinert;
  ReadJpegMemory(verkleinert, daten.data(), daten.size(), /*mayChangePixelFormat=*/true,
                 kJpegScaleMax);
  // Colour data converted to grey, as a fixed 8-bit target asks for.
  Bitmap grau(1, 1, PixelFormat::k8);
  ReadJpegMemory(grau, daten.data(), daten.size(), /*mayChangePixelFormat=*/false, kVolleGroesse);

  static const Arbeitsordner ordner;
  const std::string pfad = ordner.Schreiben("kachel.jpg", AlsText(daten));
  Bitmap ganz;
  LoadWholePicture(ganz, pfad);
  Bitmap kachel(kKachelKante, kKachelKante);
  LoadTilePicture(kachel, Rect{0, 0, kKachelKante, kKachelKante}, pfad, ordner.pfad());
}

}  // namespace tilvendo::fuzz
