// The bytes of saved mosaics, pinned: every depth and format, the blend at both ends and
// in between, colour adjustment, cut to shape, fast reading, print resolutions, and
// posters composed in bands. A change in composing, blending or any writer that moves a
// single byte shows here, whichever way the mosaic went to its file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "kommandozeile.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"

namespace tilvendo::testing {
namespace {

// FNV-1a over the file's bytes: enough to tell any change, without a library.
uint64_t Pruefsumme(const std::string& bytes) {
  constexpr uint64_t kAnfang = 0xcbf29ce484222325ULL;
  constexpr uint64_t kFaktor = 0x100000001b3ULL;
  uint64_t wert = kAnfang;
  for (const char c : bytes) {
    wert ^= static_cast<uint8_t>(c);
    wert *= kFaktor;
  }
  return wert;
}

// Photos of three shapes whose detail differs across them, so that cutting to shape and
// reading at a reduced size each change the tiles.
void FotosMitFormen(const std::string& ordner) {
  std::filesystem::create_directories(ordner);
  constexpr int kFotos = 30;
  for (int i = 0; i < kFotos; ++i) {
    const int breite = i % 3 == 0 ? 160 : i % 3 == 1 ? 120 : 128;
    const int hoehe = i % 3 == 0 ? 120 : i % 3 == 1 ? 160 : 128;
    Bitmap foto(breite, hoehe, PixelFormat::k24);
    for (int y = 0; y < hoehe; ++y) {
      for (int x = 0; x < breite; ++x) {
        const int streifen = ((x / (2 + i % 4)) + (y / (3 + i % 5))) % 2 * 50;
        WritePixel(foto, x, y,
                   Farbe{static_cast<uint8_t>((i * 47 + x) % 200 + streifen / 2),
                         static_cast<uint8_t>((i * 89 + y) % 200 + streifen / 4),
                         static_cast<uint8_t>((i * 29 + x + y) % 200 + streifen)});
      }
    }
    WriteTestJpeg(ordner + "/foto" + std::to_string(i) + ".jpg", foto);
  }
}

struct Fall {
  const char* datei;
  std::vector<std::string> optionen;
  uint64_t pruefsumme;
};

TEST(GespeicherteBilder, KeepTheirBytes) {
  Kommandozeile tilvendo;
  FotosMitFormen(tilvendo / "fotos");
  VorlageSchreiben(tilvendo / "vorlage.bmp");
  ASSERT_EQ(tilvendo({"album", "anlegen", "Formen", tilvendo / "fotos"}).code, 0);

  const std::vector<Fall> faelle = {
      {"tiefe8.bmp", {"--farbtiefe", "8"}, 0xd143731ee601e8bbULL},
      {"tiefe16.bmp", {"--farbtiefe", "16"}, 0xa4fb461c5449f2e1ULL},
      {"tiefe24.bmp", {"--farbtiefe", "24"}, 0x7fb864bdeab79937ULL},
      {"tiefe32.bmp", {"--farbtiefe", "32"}, 0x7a6718f5f5ef2603ULL},
      {"qualitaet90.jpg", {}, 0xea780caa57b8f859ULL},
      {"qualitaet40.jpg", {"--qualitaet", "40"}, 0x408432b25e1b1b1aULL},
      {"nur_mosaik.bmp", {"--farbtiefe", "24", "--einblenden", "0"}, 0x6511495e653492daULL},
      {"nur_vorlage.bmp", {"--farbtiefe", "24", "--einblenden", "100"}, 0xcf4a16eb71450e35ULL},
      {"angleich.bmp", {"--farbtiefe", "24", "--farbangleich", "60"}, 0x27bd848b3e6fc2c8ULL},
      {"zuschnitt.bmp", {"--farbtiefe", "24", "--zuschneiden"}, 0xfb373e4551b4d7b3ULL},
      {"schnell.bmp", {"--farbtiefe", "24", "--schnell"}, 0xc7221f5d15ad44ebULL},
      {"dpi72.png", {"--dpi", "72"}, 0x7ea6519a8b2e5c2fULL},
      {"dpi150.tif", {"--dpi", "150"}, 0xce1b891674fb2474ULL},
      {"dpi300.jpg", {"--dpi", "300"}, 0x2f6d3e3fd3c7dc54ULL},
      {"dpi150.bmp", {"--farbtiefe", "24", "--dpi", "150"}, 0x8d58596b89581883ULL},
      // Posters: beyond the usual bound the template is enlarged smoothly.
      {"poster.jpg",
       {"--grossformat", "--groesse", "2560x1920", "--dpi", "300"},
       0xc1065b6e0d18c985ULL},
      {"poster8.bmp",
       {"--grossformat", "--farbtiefe", "8", "--farbangleich", "40", "--zuschneiden"},
       0x7e2264d5eb001e24ULL},
      {"poster.png",
       {"--grossformat", "--dpi", "150", "--einblenden", "50"},
       0x2da6b82a58a58e87ULL},
      {"poster.tif", {"--grossformat", "--schnell"}, 0x709c75bdd77c1ec7ULL},
  };
  for (const Fall& fall : faelle) {
    const std::string ausgabe = tilvendo / fall.datei;
    std::vector<std::string> argumente = {
        "mosaik", tilvendo / "vorlage.bmp", ausgabe, "--album", "Formen", "--seed", "7"};
    argumente.insert(argumente.end(), {"--kacheln", "8x6"});
    // Twice the template's size, 30 × 30 pixels a tile, unless the case names a size.
    if (std::find(fall.optionen.begin(), fall.optionen.end(), "--groesse") == fall.optionen.end()) {
      argumente.insert(argumente.end(), {"--zoom", "200"});
    }
    argumente.insert(argumente.end(), fall.optionen.begin(), fall.optionen.end());
    const Ergebnis e = tilvendo(argumente);
    ASSERT_EQ(e.code, 0) << fall.datei << ": " << e.fehler;
    EXPECT_EQ(Pruefsumme(ReadWholeFile(ausgabe)), fall.pruefsumme)
        << fall.datei << " 0x" << std::hex << Pruefsumme(ReadWholeFile(ausgabe));
  }
}

}  // namespace
}  // namespace tilvendo::testing
