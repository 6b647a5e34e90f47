#include "pictures/ganzes_bild.h"

#include <cstring>

namespace tilvendo {
namespace {

constexpr size_t kFarbBytes = 3;

}  // namespace

bool GanzesBild::Groesse(const Zeilenformat& format) {
  const Ausrichtung ausrichtung = aufrichten_ ? format.ausrichtung : Ausrichtung::Normal;
  abbildung_ = AbbildungVon(ausrichtung);
  gespeichert_ = Size{format.breite, format.hoehe};
  aufrecht_ = AufrechteGroesse(gespeichert_, ausrichtung);
  bytesJePixel_ = format.bytesJePixel;
  CheckPictureSize(aufrecht_.width, aufrecht_.height);
  const uint64_t bildBytes = static_cast<uint64_t>(RowStride(aufrecht_.width, PixelFormat::k24)) *
                             static_cast<uint64_t>(aufrecht_.height);
  reservierung_ = budget_.Reserve(format.leserBytes + bildBytes);
  if (!reservierung_) return false;
  bild_ = Bitmap(aufrecht_.width, aufrecht_.height, PixelFormat::k24);
  return true;
}

void GanzesBild::Zeile(int32_t y, const uint8_t* pixel) {
  const size_t schritt = static_cast<size_t>(bytesJePixel_);
  if (!abbildung_.vertauscht) {
    // The stored row is an upright row, perhaps read from the other end.
    uint8_t* ziel = bild_.row(Gespiegelt(y, aufrecht_.height, abbildung_.spiegelnV));
    for (int32_t x = 0; x < gespeichert_.width; ++x) {
      const int32_t u = Gespiegelt(x, aufrecht_.width, abbildung_.spiegelnU);
      std::memcpy(ziel + kFarbBytes * static_cast<size_t>(u), pixel + schritt * x, kFarbBytes);
    }
    return;
  }
  // The stored row is an upright column.
  const size_t u = static_cast<size_t>(Gespiegelt(y, aufrecht_.width, abbildung_.spiegelnU));
  for (int32_t x = 0; x < gespeichert_.width; ++x) {
    const int32_t v = Gespiegelt(x, aufrecht_.height, abbildung_.spiegelnV);
    std::memcpy(bild_.row(v) + kFarbBytes * u, pixel + schritt * x, kFarbBytes);
  }
}

}  // namespace tilvendo
