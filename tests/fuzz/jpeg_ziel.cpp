#include "arbeitsordner.h"
#include "pictures/bilder_laden.h"
#include "pictures/jpeg_io.h"
#include "pictures/jpeg_memory_reader.h"
#include "ziele.h"

namespace tilvendo::fuzz {

namespace {
constexpr int32_t kKachelKante = 12;
constexpr int kVolleGroesse = 0;
// A few hundred bytes of arithmetic-coded data may validly fill many megapixels, and
// decoding them four times takes the fuzzer up to a second; even a few hundred thousand
// pixels leave it mostly in the pixel loops. Every path through the decoders and the row
// reader is reached with a handful of blocks (64 × 64 pixels hold 16 colour blocks of
// 16 × 16), so larger declared sizes are read only as far as the header. How the readers
// bound their memory for large pictures is checked by the normal tests.
constexpr uint64_t kHoechstensPixel = uint64_t{1} << 12;
}  // namespace

void JpegLesen(Eingabe daten) {
  static const Arbeitsordner ordner;
  const std::string pfad = ordner.Schreiben("kachel.jpg", AlsText(daten));
  const std::optional<Size> groesse = ReadJpegSize(pfad);
  if (!groesse || static_cast<uint64_t>(groesse->width) * static_cast<uint64_t>(groesse->height) >
                      kHoechstensPixel) {
    return;
  }

  Bitmap verkleinert;
  ReadJpegMemory(verkleinert, daten.data(), daten.size(), /*mayChangePixelFormat=*/true,
                 kJpegScaleMax);
  // Colour data converted to grey, as a fixed 8-bit target asks for.
  Bitmap grau(1, 1, PixelFormat::k8);
  ReadJpegMemory(grau, daten.data(), daten.size(), /*mayChangePixelFormat=*/false, kVolleGroesse);

  Bitmap ganz;
  LoadWholePicture(ganz, pfad);
  Bitmap kachel(kKachelKante, kKachelKante);
  LoadTilePicture(kachel, Rect{0, 0, kKachelKante, kKachelKante}, pfad, ordner.pfad());
}

}  // namespace tilvendo::fuzz
