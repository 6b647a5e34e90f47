#include "ui/bild_anzeige.h"

#include <QPainter>
#include <QPen>

#include "engine/auftrag.h"
#include "platform/stretch_copy.h"
#include "wizard/raster_zeichnung.h"
#include "wizard/zielgroesse_seite.h"

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

void VorlageZeichnen(QPainter& maler, const QRect& ziel, const Auftrag& auftrag) {
  const Bitmap& vorschau = auftrag.VorschauBild;
  if (vorschau.empty() || ziel.isEmpty()) return;
  const Rect teil =
      wizard::VorschauAusschnitt(auftrag.vorlage, Size{vorschau.width(), vorschau.height()});
  maler.drawImage(ziel, AlsQImage(vorschau),
                  QRect(teil.left, teil.top, teil.width(), teil.height()));
}

void RasterZeichnen(QPainter& maler, const QSize& groesse, int32_t kx, int32_t ky) {
  constexpr double kProzent = 100.0;
  const auto stift = [](int32_t deckkraft) {
    QColor farbe(Qt::black);
    farbe.setAlphaF(deckkraft / kProzent);
    return QPen(farbe, 1);
  };
  if (const int32_t deckkraft = wizard::RasterDeckkraft(groesse.width(), kx); deckkraft > 0) {
    maler.setPen(stift(deckkraft));
    for (int32_t x : wizard::RasterLinien(groesse.width(), kx)) {
      maler.drawLine(x, 0, x, groesse.height());
    }
  }
  if (const int32_t deckkraft = wizard::RasterDeckkraft(groesse.height(), ky); deckkraft > 0) {
    maler.setPen(stift(deckkraft));
    for (int32_t y : wizard::RasterLinien(groesse.height(), ky)) {
      maler.drawLine(0, y, groesse.width(), y);
    }
  }
}

}  // namespace tilvendo::ui
