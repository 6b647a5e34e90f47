// Time of the picture writers alone on the pixels of a poster, for bench/grossformat.sh,
// which compares them with the libraries' own tools (cjpeg, pnmtopng, ppm2tiff) on the
// same pixels. Not a Google Benchmark: one pass per format, each taking seconds.
//
//   grossformat_schreiben_bench BILD.ppm ORDNER [jpeg|png|tiff|bmp …]
//
// Reads the binary PPM into memory (not timed), writes it in each format named (all four
// without a name) into ORDNER as the program writes a mosaic (JPEG at quality 90, PNG,
// uncompressed TIFF, 24-bit BMP, each at 300 dpi) and prints the seconds per format.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "pictures/speichern.h"
#include "pictures/streifen_quelle.h"
#include "platform/bitmap.h"
#include "platform/paths.h"

namespace {

using namespace tilvendo;

constexpr int kDpi = 300;
constexpr uint8_t kQualitaet = 90;
constexpr int kHoechsterWert = 255;

// The next number of a PPM header, over white space and comments.
bool Zahl(std::istream& ein, int64_t& zahl) {
  ein >> std::ws;
  while (ein.peek() == '#') {
    std::string kommentar;
    std::getline(ein, kommentar);
    ein >> std::ws;
  }
  return static_cast<bool>(ein >> zahl);
}

bool PpmLesen(const std::string& pfad, Bitmap& bild) {
  std::ifstream ein(pfad, std::ios::binary);
  std::string kennung;
  int64_t breite = 0;
  int64_t hoehe = 0;
  int64_t maximum = 0;
  if (!(ein >> kennung) || kennung != "P6" || !Zahl(ein, breite) || !Zahl(ein, hoehe) ||
      !Zahl(ein, maximum) || maximum != kHoechsterWert) {
    return false;
  }
  ein.get();  // the one white-space byte before the pixels
  bild = Bitmap::Uninitialized(static_cast<int32_t>(breite), static_cast<int32_t>(hoehe));
  std::vector<char> zeile(static_cast<size_t>(breite) * 3);
  for (int32_t y = 0; y < bild.height(); ++y) {
    if (!ein.read(zeile.data(), static_cast<std::streamsize>(zeile.size()))) return false;
    uint8_t* p = bild.row(y);
    for (int64_t x = 0; x < breite; ++x) {
      p[4 * x] = static_cast<uint8_t>(zeile[3 * x + 2]);
      p[4 * x + 1] = static_cast<uint8_t>(zeile[3 * x + 1]);
      p[4 * x + 2] = static_cast<uint8_t>(zeile[3 * x]);
      p[4 * x + 3] = 0;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> argumente(argv + 1, argv + argc);
  if (argumente.size() < 2) {
    std::cerr << "Aufruf: grossformat_schreiben_bench BILD.ppm ORDNER [jpeg|png|tiff|bmp …]\n";
    return 2;
  }
  Bitmap bild;
  if (!PpmLesen(argumente[0], bild)) {
    std::cerr << "Kein lesbares PPM: " << argumente[0] << '\n';
    return 1;
  }
  std::vector<std::string> formate(argumente.begin() + 2, argumente.end());
  if (formate.empty()) formate = {"jpeg", "png", "tiff", "bmp"};
  for (const std::string& format : formate) {
    SpeicherOptionen optionen;
    optionen.Pfad = MitSchraegstrich(argumente[1]);
    optionen.Qualitaet = kQualitaet;
    optionen.Farbtiefe = kFarbtiefe24;
    optionen.Aufloesung = kDpi;
    if (format == "jpeg") {
      optionen.Format = kFormatJpeg;
    } else if (format == "png") {
      optionen.Format = kFormatPng;
    } else if (format == "tiff") {
      optionen.Format = kFormatTiff;
    } else {
      optionen.Format = kFormatBmp;
    }
    optionen.Datei = "unser" + std::string(kDateiformate[optionen.Format].endung);
    BitmapStreifen quelle(bild);
    const auto anfang = std::chrono::steady_clock::now();
    BildSpeichern(quelle, optionen);
    const std::chrono::duration<double> dauer = std::chrono::steady_clock::now() - anfang;
    std::printf("%s %.3f\n", format.c_str(), dauer.count());
  }
  return 0;
}
