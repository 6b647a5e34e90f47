// Small generated pictures and comparisons for the tests of blending and saving.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "bild_vergleich.h"
#include "platform/bitmap.h"
#include "platform/pixel.h"

namespace tilvendo::testing {

// A working-format picture whose colour changes in every pixel: red across, green down,
// blue along the diagonal, so a mirrored, shifted or swapped channel shows at once.
inline Bitmap Verlauf(int32_t width, int32_t height) {
  Bitmap bild(width, height, kPixelformat);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      WritePixel(bild, x, y,
                 Farbe{static_cast<uint8_t>((x + y) * 255 / std::max(1, width + height - 2)),
                       static_cast<uint8_t>(y * 255 / std::max(1, height - 1)),
                       static_cast<uint8_t>(x * 255 / std::max(1, width - 1))});
    }
  }
  return bild;
}

// The largest difference of any colour channel between two pictures of one size.
inline int GroessterFehler(const Bitmap& a, const Bitmap& b) {
  return Vergleichen(a, b).maximum;
}

// The mean difference per channel.
inline double MittlererFehler(const Bitmap& a, const Bitmap& b) {
  double summe = 0;
  for (int32_t y = 0; y < a.height(); ++y) {
    for (int32_t x = 0; x < a.width(); ++x) {
      const Farbe p = ReadPixel(a, x, y);
      const Farbe q = ReadPixel(b, x, y);
      summe += std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue);
    }
  }
  return summe / (3.0 * a.width() * a.height());
}

// Runs a shell command; its standard output, and whether it ended with status 0.
inline bool Ausfuehren(const std::string& befehl, std::string& ausgabe) {
  FILE* rohr = ::popen(befehl.c_str(), "r");
  if (rohr == nullptr) return false;
  char puffer[256];
  ausgabe.clear();
  while (std::fgets(puffer, sizeof puffer, rohr) != nullptr) ausgabe += puffer;
  return ::pclose(rohr) == 0;
}

// The system's own python3 (quicker to start than wrappers earlier on the path), else
// any python3 on the path; empty when there is none.
inline std::string Python() {
  if (::access("/usr/bin/python3", X_OK) == 0) return "/usr/bin/python3";
  std::string ausgabe;
  return Ausfuehren("command -v python3 >/dev/null 2>&1", ausgabe) ? "python3" : "";
}

}  // namespace tilvendo::testing
