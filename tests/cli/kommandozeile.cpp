#include "kommandozeile.h"

#include <filesystem>

#include "platform/pixel.h"
#include "support/bild_dateien.h"

namespace tilvendo::testing {

Ergebnis Kommandozeile::operator()(const std::vector<std::string>& argumente) {
  std::ostringstream fehler;
  cli::TerminalBenutzer benutzer(fehler, /*istTerminal=*/false);
  return Mit(benutzer, fehler, argumente, /*signaleAbfangen=*/false);
}

Ergebnis Kommandozeile::Mit(cli::TerminalBenutzer& benutzer, std::ostringstream& fehlerStrom,
                            const std::vector<std::string>& argumente, bool signaleAbfangen) {
  std::ostringstream aus;
  cli::Umgebung umgebung{aus, fehlerStrom, benutzer, medien_};
  std::vector<std::string> alle{"--alben-pfad", alben()};
  alle.insert(alle.end(), argumente.begin(), argumente.end());
  Ergebnis ergebnis;
  ergebnis.code = cli::Ausfuehren(alle, umgebung, signaleAbfangen);
  ergebnis.aus = aus.str();
  ergebnis.fehler = fehlerStrom.str();
  return ergebnis;
}

void FotosSchreiben(const std::string& ordner, int anzahl) {
  std::filesystem::create_directories(ordner);
  constexpr int kBreite = 24;
  constexpr int kHoehe = 18;
  for (int i = 0; i < anzahl; ++i) {
    Bitmap foto(kBreite, kHoehe, PixelFormat::k24);
    for (int y = 0; y < kHoehe; ++y) {
      for (int x = 0; x < kBreite; ++x) {
        // Colours spread over the cube, with a pattern that differs per photo.
        const int muster = ((x / (1 + i % 5)) + (y / (1 + i % 3))) % 2 * 40;
        WritePixel(foto, x, y,
                   Farbe{static_cast<uint8_t>((i * 53) % 216 + muster / 2),
                         static_cast<uint8_t>((i * 97) % 216 + muster / 3),
                         static_cast<uint8_t>((i * 31) % 216 + muster)});
      }
    }
    WriteTestJpeg(ordner + "/foto" + std::to_string(i) + ".jpg", foto);
  }
}

void VorlageSchreiben(const std::string& pfad) {
  constexpr int kBreite = 120;
  constexpr int kHoehe = 90;
  Bitmap vorlage(kBreite, kHoehe, PixelFormat::k24);
  for (int y = 0; y < kHoehe; ++y) {
    for (int x = 0; x < kBreite; ++x) {
      WritePixel(vorlage, x, y,
                 Farbe{static_cast<uint8_t>(x * 2), static_cast<uint8_t>(y * 2),
                       static_cast<uint8_t>(255 - x - y)});
    }
  }
  WriteTestBmp(pfad, vorlage);
}

}  // namespace tilvendo::testing
