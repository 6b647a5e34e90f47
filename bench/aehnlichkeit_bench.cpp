// How closely a mosaic reproduces its template: both pictures are reduced by area
// averaging to the tile grid, and the mean CIE76 colour difference (the Euclidean
// distance in CIELAB) of the grid cells is printed. Smaller is closer; 2.3 is about the
// least difference the eye notices side by side.
//
//   aehnlichkeit_bench VORLAGE MOSAIK SPALTENxZEILEN
//
// The pictures may differ in size (a mosaic made by another program, for instance): each
// is split evenly into the grid. A plain program, not a timed benchmark.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "engine/wahrnehmung.h"
#include "pictures/bilder_laden.h"
#include "platform/pixel.h"

namespace {

using tilvendo::Bitmap;

struct Mittel {
  double rot = 0.0;
  double gruen = 0.0;
  double blau = 0.0;
};

// The mean colour of every grid cell, column by column; cell (x, y) covers the pixel
// columns [x·W ÷ spalten, (x+1)·W ÷ spalten) and the rows likewise.
std::vector<Mittel> Rastermittel(const Bitmap& bild, int spalten, int zeilen) {
  const int64_t w = bild.width();
  const int64_t h = bild.height();
  std::vector<Mittel> mittel;
  mittel.reserve(static_cast<size_t>(spalten) * static_cast<size_t>(zeilen));
  for (int x = 0; x < spalten; ++x) {
    const auto x0 = static_cast<int32_t>(x * w / spalten);
    const auto x1 = static_cast<int32_t>((x + 1) * w / spalten);
    for (int y = 0; y < zeilen; ++y) {
      const auto y0 = static_cast<int32_t>(y * h / zeilen);
      const auto y1 = static_cast<int32_t>((y + 1) * h / zeilen);
      Mittel m;
      for (int32_t py = y0; py < y1; ++py) {
        for (int32_t px = x0; px < x1; ++px) {
          const tilvendo::Farbe f = tilvendo::ReadPixel(bild, px, py);
          m.rot += f.red;
          m.gruen += f.green;
          m.blau += f.blue;
        }
      }
      const double anzahl = static_cast<double>(x1 - x0) * static_cast<double>(y1 - y0);
      if (anzahl > 0) {
        m.rot /= anzahl;
        m.gruen /= anzahl;
        m.blau /= anzahl;
      }
      mittel.push_back(m);
    }
  }
  return mittel;
}

tilvendo::LabFarbe Lab(const Mittel& m) {
  return tilvendo::SrgbMittelNachLab(m.rot, m.gruen, m.blau);
}

bool RasterLesen(const std::string& text, int& spalten, int& zeilen) {
  return std::sscanf(text.c_str(), "%dx%d", &spalten, &zeilen) == 2 && spalten > 0 && zeilen > 0;
}

}  // namespace

int main(int argc, char** argv) {
  int spalten = 0;
  int zeilen = 0;
  if (argc != 4 || !RasterLesen(argv[3], spalten, zeilen)) {
    std::fprintf(stderr, "Aufruf: %s VORLAGE MOSAIK SPALTENxZEILEN\n", argv[0]);
    return 2;
  }
  try {
    Bitmap vorlage;
    Bitmap mosaik;
    if (!tilvendo::LoadWholePicture(vorlage, argv[1]) ||
        !tilvendo::LoadWholePicture(mosaik, argv[2])) {
      std::fprintf(stderr, "Bild nicht lesbar\n");
      return 1;
    }
    const std::vector<Mittel> a = Rastermittel(vorlage, spalten, zeilen);
    const std::vector<Mittel> b = Rastermittel(mosaik, spalten, zeilen);
    double summe = 0.0;
    for (size_t k = 0; k < a.size(); ++k) {
      const tilvendo::LabFarbe la = Lab(a[k]);
      const tilvendo::LabFarbe lb = Lab(b[k]);
      summe += std::sqrt((la.L - lb.L) * (la.L - lb.L) + (la.a - lb.a) * (la.a - lb.a) +
                         (la.b - lb.b) * (la.b - lb.b));
    }
    std::printf("%.2f\n", summe / static_cast<double>(a.size()));
  } catch (const std::exception& fehler) {
    std::fprintf(stderr, "%s\n", fehler.what());
    return 1;
  }
  return 0;
}
