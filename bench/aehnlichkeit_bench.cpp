// How closely a mosaic reproduces its template: both pictures are reduced by area
// averaging to the tile grid, and the mean CIE76 colour difference (the Euclidean
// distance in CIELAB) of the grid cells is printed. Smaller is closer; 2.3 is about the
// least difference the eye notices side by side.
//
//   aehnlichkeit_bench VORLAGE MOSAIK SPALTENxZEILEN
//
// The pictures may differ in size (a mosaic made by another program, for instance): each
// is split evenly into the grid. A plain program, not a timed benchmark.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "pictures/bilder_laden.h"
#include "rastermittel.h"

namespace {

using tilvendo::Bitmap;
using tilvendo::bench::Mittel;

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
    namespace b = tilvendo::bench;
    const std::vector<Mittel> a = b::Rastermittel(vorlage, spalten, zeilen);
    const std::vector<Mittel> m = b::Rastermittel(mosaik, spalten, zeilen);
    double summe = 0.0;
    for (size_t k = 0; k < a.size(); ++k) summe += b::Farbabstand(b::Lab(a[k]), b::Lab(m[k]));
    std::printf("%.2f\n", summe / static_cast<double>(a.size()));
  } catch (const std::exception& fehler) {
    std::fprintf(stderr, "%s\n", fehler.what());
    return 1;
  }
  return 0;
}
