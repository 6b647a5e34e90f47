// Writes the seed inputs of the fremdbild target into the folder it is given: small
// pictures of every type the system libraries read, in the variants their readers treat
// apart, each behind the byte that chooses its type and way of reading,
// plus a header declaring a huge picture and a cut-off file of each type.
//   fuzz_fremdbild_saat ORDNER
#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fremdbild_wahl.h"
#include "platform/pixel.h"
#include "support/formate_testbilder.h"
#include "support/temp_folder.h"

namespace tilvendo::testing {

using namespace tilvendo::fuzz;

namespace {

constexpr int32_t kBreite = 19;  // odd sizes, so that subsampled chroma has a rest
constexpr int32_t kHoehe = 13;
constexpr uint32_t kRiesig = 30000;
constexpr uint16_t kGedreht = 6;     // turned a quarter clockwise
constexpr uint16_t kGespiegelt = 5;  // mirrored and turned
constexpr uint8_t kHalbDurchsichtig = 128;
constexpr int kVerlustQualitaet = 80;
constexpr int kVorschauKante = 8;

Bitmap Verlauf() {
  Bitmap bild(kBreite, kHoehe);
  for (int32_t y = 0; y < kHoehe; ++y) {
    for (int32_t x = 0; x < kBreite; ++x) {
      WritePixel(bild, x, y,
                 Farbe{static_cast<uint8_t>(x * 13), static_cast<uint8_t>(y * 19),
                       static_cast<uint8_t>((x * y * 7) & 0xFF)});
    }
  }
  return bild;
}

struct Saat {
  std::string name;
  uint8_t wahl;
  std::function<void(const std::string&)> schreiben;
  // Also stored cut off after half its bytes: the readers must refuse it, not make up
  // the rest.
  bool abschneiden = false;
};

void Ablegen(const std::string& ordner, const std::string& name, uint8_t wahl,
             const std::string& datei) {
  WriteWholeFile(ordner + "/" + name, std::string(1, static_cast<char>(wahl)) + datei);
}

}  // namespace

void SaatSchreiben(const std::string& ordner) {
  const Bitmap bild = Verlauf();
  const std::vector<Saat> saaten = {
      {"png_farbe", kWahlPng, [&](auto& p) { WriteTestPng(p, bild); }, true},
      {"png_grau", kWahlPng | kWahlAlleArten,
       [&](auto& p) { WriteTestPng(p, bild, {PngFarben::Grau}); }},
      {"png_palette", kWahlPng | kWahlSchnell,
       [&](auto& p) { WriteTestPng(p, bild, {PngFarben::Palette}); }},
      {"png_16bit_verschraenkt", kWahlPng | kWahlZuschneiden,
       [&](auto& p) { WriteTestPng(p, bild, {.sechzehnBit = true, .verschraenkt = true}); }},
      {"png_alpha_exif", kWahlPng | kWahlAufrichten,
       [&](auto& p) {
         WriteTestPng(p, bild, {.alpha = kHalbDurchsichtig, .ausrichtung = kGedreht});
       }},
      {"png_riesig", kWahlPng, [&](auto& p) { WriteTestPngKopf(p, kRiesig, kRiesig); }},
      {"webp_verlustfrei", kWahlWebp, [&](auto& p) { WriteTestWebp(p, bild); }, true},
      {"webp_verlust_exif", kWahlWebp | kWahlAlleArten,
       [&](auto& p) { WriteTestWebp(p, bild, kGedreht, kVerlustQualitaet); }},
      {"webp_alpha", kWahlWebp | kWahlSchnell,
       [&](auto& p) {
         WriteTestWebp(p, bild, std::nullopt, kVerlustQualitaet, kHalbDurchsichtig);
       }},
      {"tiff_streifen", kWahlTiff, [&](auto& p) { WriteTestTiff(p, bild); }, true},
      {"tiff_kacheln_gespiegelt", kWahlTiff | kWahlAlleArten,
       [&](auto& p) { WriteTestTiff(p, bild, kGespiegelt, /*kacheln=*/true); }},
      {"tiff_alpha", kWahlTiff | kWahlZuschneiden,
       [&](auto& p) { WriteTestTiff(p, bild, 1, false, kHalbDurchsichtig); }},
      {"tiff_riesig", kWahlTiff, [&](auto& p) { WriteTestTiffKopf(p, kRiesig, kRiesig); }},
      {"heif", kWahlHeif, [&](auto& p) { WriteTestHeif(p, bild); }, true},
      {"heif_gedreht_vorschau", kWahlHeif | kWahlAlleArten,
       [&](auto& p) { WriteTestHeif(p, bild, kGedreht, kVorschauKante); }},
  };

  const TempFolder arbeit;
  for (const Saat& saat : saaten) {
    const std::string pfad = arbeit / saat.name;
    saat.schreiben(pfad);
    const std::string datei = ReadWholeFile(pfad);
    Ablegen(ordner, saat.name, saat.wahl, datei);
    if (saat.abschneiden) {
      Ablegen(ordner, saat.name + "_abgeschnitten", saat.wahl, datei.substr(0, datei.size() / 2));
    }
  }
}

}  // namespace tilvendo::testing

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Aufruf: fuzz_fremdbild_saat ORDNER\n");
    return 2;
  }
  try {
    tilvendo::testing::SaatSchreiben(argv[1]);
  } catch (const std::exception& fehler) {
    std::fprintf(stderr, "%s\n", fehler.what());
    return 1;
  }
  return 0;
}
