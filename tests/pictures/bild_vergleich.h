// Comparing decoded pictures with what they should show, in the tests of the readers.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "platform/bitmap.h"
#include "platform/pixel.h"

namespace tilvendo::testing {

// How far a picture lies from the expected one: per pixel the largest difference of a
// colour channel, over the picture its maximum and its mean.
struct Abweichung {
  int maximum = 0;
  double mittel = 0;
};

inline int Farbabstand(Farbe a, Farbe b) {
  return std::max(
      {std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
}

// `erwartet(x, y)` gives the colour pixel (x, y) of `bild` should have.
inline Abweichung Vergleichen(const Bitmap& bild,
                              const std::function<Farbe(int32_t, int32_t)>& erwartet) {
  Abweichung abweichung;
  double summe = 0;
  for (int32_t y = 0; y < bild.height(); ++y) {
    for (int32_t x = 0; x < bild.width(); ++x) {
      const int abstand = Farbabstand(ReadPixel(bild, x, y), erwartet(x, y));
      abweichung.maximum = std::max(abweichung.maximum, abstand);
      summe += abstand;
    }
  }
  if (!bild.empty())
    abweichung.mittel = summe / (static_cast<double>(bild.width()) * bild.height());
  return abweichung;
}

inline Abweichung Vergleichen(const Bitmap& bild, const Bitmap& vorbild) {
  return Vergleichen(bild, [&](int32_t x, int32_t y) { return ReadPixel(vorbild, x, y); });
}

// A picture whose every pixel differs, so that a wrongly picked row or column shows.
inline Bitmap Rauschen(int32_t breite, int32_t hoehe, PixelFormat format = kPixelformat) {
  Bitmap bild(breite, hoehe, format);
  uint32_t zufall = 12345;
  for (int32_t y = 0; y < hoehe; ++y) {
    for (int32_t x = 0; x < breite; ++x) {
      zufall = zufall * 1103515245u + 12345u;
      const auto wert = static_cast<uint8_t>(zufall >> 16);
      if (format == PixelFormat::k8) {
        bild.row(y)[x] = wert;
      } else {
        WritePixel(bild, x, y, Farbe{wert, static_cast<uint8_t>(x), static_cast<uint8_t>(y)});
      }
    }
  }
  return bild;
}

}  // namespace tilvendo::testing
