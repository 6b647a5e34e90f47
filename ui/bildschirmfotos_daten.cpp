#include "ui/bildschirmfotos_daten.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pictures/bmp_writer.h"
#include "pictures/jpeg_writer.h"
#include "platform/bitmap.h"
#include "platform/paths.h"
#include "platform/pixel.h"
#include "platform/zufall.h"

namespace tilvendo::ui {
namespace {

constexpr int32_t kVorlageBreite = 800;
constexpr int32_t kVorlageHoehe = 600;
constexpr int32_t kFotoBreite = 120;
constexpr int32_t kFotoHoehe = 90;
constexpr int kFotoQualitaet = 85;
constexpr uint32_t kFotoSeed = 7;

uint8_t Kanal(double wert) {
  return static_cast<uint8_t>(std::clamp(wert, 0.0, 255.0));
}

Farbe Mischen(Farbe a, Farbe b, double t) {
  return Farbe{Kanal(a.blue + (b.blue - a.blue) * t), Kanal(a.green + (b.green - a.green) * t),
               Kanal(a.red + (b.red - a.red) * t)};
}

}  // namespace

void VorlageErzeugen(const std::string& datei) {
  Bitmap bild(kVorlageBreite, kVorlageHoehe, kPixelformat);
  const Farbe himmelOben{200, 120, 40};
  const Farbe himmelUnten{250, 210, 160};
  const Farbe sonne{60, 200, 255};
  const Farbe huegel{40, 140, 60};
  const Farbe see{170, 90, 30};
  for (int32_t y = 0; y < kVorlageHoehe; ++y) {
    for (int32_t x = 0; x < kVorlageBreite; ++x) {
      Farbe farbe = Mischen(himmelOben, himmelUnten, static_cast<double>(y) / kVorlageHoehe);
      const double dx = x - 600.0;
      const double dy = y - 150.0;
      if (dx * dx + dy * dy < 70.0 * 70.0) farbe = sonne;
      const double huegelHoehe = 380.0 + 60.0 * std::sin(x / 90.0) + 25.0 * std::sin(x / 23.0);
      if (y > huegelHoehe) farbe = Mischen(huegel, Farbe{20, 70, 30}, (y - huegelHoehe) / 220.0);
      const double sx = (x - 250.0) / 200.0;
      const double sy = (y - 500.0) / 55.0;
      if (sx * sx + sy * sy < 1.0) farbe = Mischen(see, Farbe{230, 180, 120}, 1.0 - sy * sy);
      WritePixel(bild, x, y, farbe);
    }
  }
  WriteBmpFile(bild, datei);
}

void FotosErzeugen(const std::string& ordner, int32_t anzahl) {
  CreateFolders(ordner);
  Zufall zufall(kFotoSeed);
  constexpr int32_t kFarbbereich = 256;
  for (int32_t n = 1; n <= anzahl; ++n) {
    const Farbe oben{static_cast<uint8_t>(zufall.next(kFarbbereich)),
                     static_cast<uint8_t>(zufall.next(kFarbbereich)),
                     static_cast<uint8_t>(zufall.next(kFarbbereich))};
    const Farbe unten{static_cast<uint8_t>(zufall.next(kFarbbereich)),
                      static_cast<uint8_t>(zufall.next(kFarbbereich)),
                      static_cast<uint8_t>(zufall.next(kFarbbereich))};
    const Farbe fleck = Mischen(oben, Farbe{255, 255, 255}, 0.5);
    const int32_t fx = zufall.next(kFotoBreite);
    const int32_t fy = zufall.next(kFotoHoehe);
    const int32_t radius = 10 + zufall.next(30);
    Bitmap foto(kFotoBreite, kFotoHoehe, PixelFormat::k24);
    for (int32_t y = 0; y < kFotoHoehe; ++y) {
      for (int32_t x = 0; x < kFotoBreite; ++x) {
        Farbe farbe = Mischen(oben, unten, static_cast<double>(y) / kFotoHoehe);
        const int32_t dx = x - fx;
        const int32_t dy = y - fy;
        if (dx * dx + dy * dy < radius * radius) farbe = fleck;
        WritePixel(foto, x, y, farbe);
      }
    }
    char name[32];
    std::snprintf(name, sizeof(name), "foto-%03d.jpg", n);
    WriteJpegFile(foto, MitSchraegstrich(ordner) + name, kFotoQualitaet);
  }
}

}  // namespace tilvendo::ui
