#include "cli/demo_sammlung.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "pictures/bild_einpassen.h"
#include "pictures/bildart.h"
#include "pictures/jpeg_io.h"
#include "pictures/jpeg_writer.h"
#include "platform/bitmap.h"
#include "platform/paths.h"
#include "platform/stretch_copy.h"
#include "platform/zufall.h"

namespace tilvendo::cli {
namespace {

// Sources are decoded at a quarter of their size: wallpapers are far larger than any
// crop needs, and the reduced decoding is much faster.
constexpr int kQuellVerkleinerung = 2;
// A crop covers between these shares (per mille) of the source's shorter edge.
constexpr int32_t kAusschnittMin = 150;
constexpr int32_t kAusschnittSpanne = 700;
constexpr int32_t kPromille = 1000;
// Brightness shift −40..+40 and colour shift −25..+25 per channel.
constexpr int32_t kHelligkeitSpanne = 81;
constexpr int32_t kHelligkeitMitte = 40;
constexpr int32_t kFarbSpanne = 51;
constexpr int32_t kFarbMitte = 25;
// Shapes: 4:3 landscape (most), 3:4 portrait, square.
constexpr int32_t kFormen = 6;
constexpr int32_t kKurzeKanteZaehler = 3;
constexpr int32_t kKurzeKanteNenner = 4;

struct Quelle {
  std::string pfad;
  Bitmap bild;  // working format
};

std::vector<Quelle> QuellenLaden(const std::vector<std::string>& pfade) {
  std::vector<Quelle> quellen;
  for (const std::string& pfad : pfade) {
    Bitmap gelesen;
    // Only JPEG sources are read, at a reduced size; every name but a bitmap's is tried.
    const bool jpeg = BildartVonName(pfad) != Bildart::Bmp;
    bool gut = false;
    if (jpeg) {
      gut = ReadJpegFile(gelesen, pfad, /*mayChangePixelFormat=*/true, kQuellVerkleinerung);
    }
    if (!gut || gelesen.empty()) continue;
    Bitmap bild(gelesen.width(), gelesen.height(), kPixelformat);
    StretchCopy(gelesen, bild, Rect{0, 0, gelesen.width(), gelesen.height()});
    quellen.push_back(Quelle{pfad, std::move(bild)});
  }
  return quellen;
}

uint8_t Kanal(int32_t wert) {
  return static_cast<uint8_t>(std::clamp(wert, 0, 255));
}

Bitmap FotoMachen(const Bitmap& quelle, Zufall& zufall, int32_t langeKante) {
  // Shape of the photo.
  const int32_t form = zufall.next(kFormen);
  const int32_t kurz = langeKante * kKurzeKanteZaehler / kKurzeKanteNenner;
  const bool hochkant = form == kFormen - 2;
  const bool quadratisch = form == kFormen - 1;
  const int32_t breite = hochkant || quadratisch ? kurz : langeKante;
  const int32_t hoehe = hochkant ? langeKante : kurz;

  // A crop of the same shape at a random place and size.
  const int32_t kante = std::min(quelle.width() * hoehe / breite, quelle.height());
  const int32_t ausschnittHoehe =
      std::max(1, kante * (kAusschnittMin + zufall.next(kAusschnittSpanne)) / kPromille);
  const int32_t ausschnittBreite = std::max(1, ausschnittHoehe * breite / hoehe);
  const int32_t links = zufall.next(std::max(1, quelle.width() - ausschnittBreite + 1));
  const int32_t oben = zufall.next(std::max(1, quelle.height() - ausschnittHoehe + 1));
  Bitmap ausschnitt(ausschnittBreite, ausschnittHoehe, kPixelformat);
  for (int32_t y = 0; y < ausschnittHoehe; ++y) {
    const uint8_t* von =
        quelle.row(std::min(oben + y, quelle.height() - 1)) + static_cast<size_t>(links) * 4;
    const int32_t spalten = std::min(ausschnittBreite, quelle.width() - links);
    std::copy(von, von + static_cast<size_t>(spalten) * 4, ausschnitt.row(y));
  }

  Bitmap foto(breite, hoehe, kPixelformat);
  BildEinpassen(foto, Rect{0, 0, breite, hoehe}, ausschnitt);

  // Mirrored, brighter or darker, and a little off in colour.
  const bool spiegeln = zufall.next(2) == 1;
  const int32_t hell = zufall.next(kHelligkeitSpanne) - kHelligkeitMitte;
  const int32_t blau = zufall.next(kFarbSpanne) - kFarbMitte;
  const int32_t gruen = zufall.next(kFarbSpanne) - kFarbMitte;
  const int32_t rot = zufall.next(kFarbSpanne) - kFarbMitte;
  Bitmap ergebnis(breite, hoehe, PixelFormat::k24);
  for (int32_t y = 0; y < hoehe; ++y) {
    const uint8_t* von = foto.row(y);
    uint8_t* nach = ergebnis.row(y);
    for (int32_t x = 0; x < breite; ++x) {
      const uint8_t* p = von + static_cast<size_t>(spiegeln ? breite - 1 - x : x) * 4;
      nach[x * 3 + 0] = Kanal(p[0] + hell + blau);
      nach[x * 3 + 1] = Kanal(p[1] + hell + gruen);
      nach[x * 3 + 2] = Kanal(p[2] + hell + rot);
    }
  }
  return ergebnis;
}

}  // namespace

std::vector<std::string> BilderSuchen(const std::string& ordner) {
  std::vector<std::string> bilder;
  std::error_code fehler;
  for (auto it = std::filesystem::recursive_directory_iterator(ordner, fehler);
       !fehler && it != std::filesystem::recursive_directory_iterator(); it.increment(fehler)) {
    if (!it->is_regular_file(fehler)) continue;
    if (BildartVonName(it->path().string())) {
      bilder.push_back(it->path().string());
    }
  }
  std::sort(bilder.begin(), bilder.end());
  return bilder;
}

int32_t SammlungErzeugen(const SammlungsOptionen& optionen) {
  const std::vector<Quelle> quellen = QuellenLaden(optionen.quellen);
  if (quellen.empty()) throw std::runtime_error("Keines der Quellbilder kann gelesen werden.");
  const std::string ziel = MitSchraegstrich(optionen.ziel);
  if (!CreateFolders(ziel)) throw WriteError(CannotWriteMessage(ziel));

  Zufall zufall(optionen.seed);
  int32_t geschrieben = 0;
  for (int32_t i = 0; i < optionen.anzahl; ++i) {
    const Quelle& quelle = quellen[static_cast<size_t>(i) % quellen.size()];
    const Bitmap foto = FotoMachen(quelle.bild, zufall, optionen.langeKante);
    char name[32];
    std::snprintf(name, sizeof(name), "foto-%04d.jpg", i + 1);
    WriteJpegFile(foto, ziel + name, optionen.qualitaet);
    ++geschrieben;
  }
  return geschrieben;
}

}  // namespace tilvendo::cli
