#include "ui/bild_anzeige.h"

#include <QPainter>

#include "platform/stretch_copy.h"

namespace tilvendo::ui {

QImage AlsQImage(const Bitmap& bild) {
  if (bild.empty()) return {};
  // The working format lies in memory as blue, green, red, unused: Qt's RGB32 on the
  // little-endian machines we build for.
  if (bild.format() == kPixelformat) {
    return QImage(bild.data(), bild.width(), bild.height(), static_cast<qsizetype>(bild.stride()),
                  QImage::Format_RGB32);
  }
  Bitmap arbeit(bild.width(), bild.height(), kPixelformat);
  StretchCopy(bild, arbeit, Rect{0, 0, bild.width(), bild.height()});
  return QImage(arbeit.data(), arbeit.width(), arbeit.height(),
                static_cast<qsizetype>(arbeit.stride()), QImage::Format_RGB32)
      .copy();
}

void BildZeichnen(QPainter& maler, const QRect& ziel, const Bitmap& bild) {
  if (bild.empty() || ziel.isEmpty()) return;
  maler.drawImage(ziel, AlsQImage(bild));
}

}  // namespace tilvendo::ui
