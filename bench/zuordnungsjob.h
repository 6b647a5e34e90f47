// A matching job for the benchmarks: the grid measured from a generated photo-like
// template and a synthetic tile list, every tile behind an existing file.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "engine/auftrag.h"
#include "engine/fortschritt.h"
#include "engine/methodenparameter.h"
#include "engine/vorlage_vorbereiten.h"
#include "pictures/jpeg_writer.h"
#include "platform/benutzer.h"
#include "platform/paths.h"

namespace tilvendo::bench {

inline constexpr int kFormanalyse = 5;

// A photo-like picture: smooth colour gradients with a few soft shapes and fine grain.
inline Bitmap Fotoartig(int32_t breite, int32_t hoehe, uint32_t seed, PixelFormat format) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> zufall(0.0, 1.0);
  const double r0 = 255 * zufall(gen), g0 = 255 * zufall(gen), b0 = 255 * zufall(gen);
  const double fx = 2 + 6 * zufall(gen), fy = 2 + 6 * zufall(gen);
  Bitmap bild(breite, hoehe, format);
  const int bpp = BytesPerPixel(format);
  for (int32_t y = 0; y < hoehe; ++y) {
    uint8_t* zeile = bild.row(y);
    for (int32_t x = 0; x < breite; ++x) {
      const double u = static_cast<double>(x) / breite;
      const double v = static_cast<double>(y) / hoehe;
      const double welle = 60 * std::sin(fx * u * 3.14159) * std::cos(fy * v * 3.14159);
      const int korn = static_cast<int>((x * 7 + y * 13) % 9) - 4;
      const auto kanal = [&](double basis, double richtung) {
        return static_cast<uint8_t>(
            std::clamp(basis * (1 - richtung) + welle + korn + 40 * richtung, 0.0, 255.0));
      };
      uint8_t* pixel = zeile + static_cast<size_t>(x) * bpp;
      pixel[0] = kanal(b0, u);
      pixel[1] = kanal(g0, v);
      pixel[2] = kanal(r0, (u + v) / 2);
    }
  }
  return bild;
}

// A job with the grid measured from a generated template and `bilder` tile signatures,
// every one behind an existing file (hard links to one small file).
struct Zuordnungsjob {
  Auftrag auftrag;
  Benutzer benutzer;

  Zuordnungsjob(int bilder, uint8_t methode, uint16_t kachelnX, uint16_t kachelnY,
                const Verfahren& verfahren = {}) {
    namespace fs = std::filesystem;
    const std::string ordner = CacheHomeFolder() + "nubo-tilvendo/bench/lauf-links/";
    CreateFolders(ordner);
    const std::string urbild = ordner + "urbild.jpg";
    if (!FileExists(urbild)) WriteJpegFile(Fotoartig(8, 8, 1, PixelFormat::k24), urbild, 90);

    Einstellungen& e = auftrag.einstellungen;
    e.KachelnX = kachelnX;
    e.KachelnY = kachelnY;
    e.ZellBreite = e.ZellHoehe = 8;
    e.ZoomX = e.ZoomY = 100;
    e.ZielBreite = 8 * kachelnX;
    e.ZielHoehe = 8 * kachelnY;
    e.minAbstand = 2;
    e.verfahren = verfahren;
    SetzeMusterbildung(e, 0);
    SetzeBerechnungsart(e, bilder, methode);
    auftrag.analyse.Formanalyse = kFormanalyse;

    std::mt19937 gen(42);
    std::uniform_int_distribution<int> basis(0, 255);
    std::uniform_int_distribution<int> streuung(-30, 30);
    for (int k = 0; k < bilder; ++k) {
      const std::string datei = ordner + "t" + std::to_string(k) + ".jpg";
      if (!FileExists(datei)) fs::create_hard_link(urbild, datei);
      auftrag.Dateiliste.push_back(datei);
      Kachelsignatur s;
      s.Nummer = k;
      const int r = basis(gen), g = basis(gen), b = basis(gen);
      int sr = 0, sg = 0, sb = 0;
      for (int i = 0; i < kFormanalyse; ++i) {
        for (int j = 0; j < kFormanalyse; ++j) {
          Feld& f = s.Felder[i][j];
          f.Rot = static_cast<uint8_t>(std::clamp(r + streuung(gen), 0, 255));
          f.Gruen = static_cast<uint8_t>(std::clamp(g + streuung(gen), 0, 255));
          f.Blau = static_cast<uint8_t>(std::clamp(b + streuung(gen), 0, 255));
          f.Summe = static_cast<uint16_t>(f.Rot + f.Gruen + f.Blau);
          sr += f.Rot, sg += f.Gruen, sb += f.Blau;
        }
      }
      const int felder = kFormanalyse * kFormanalyse;
      s.Rot = static_cast<uint8_t>(sr / felder);
      s.Gruen = static_cast<uint8_t>(sg / felder);
      s.Blau = static_cast<uint8_t>(sb / felder);
      s.Helligkeit = static_cast<uint16_t>(s.Rot + s.Gruen + s.Blau);
      auftrag.kachelliste.KachelEinfuegen(s);
    }

    auftrag.VorlageBild = Fotoartig(1024, 768, 7, kPixelformat);
    e.Raster = std::make_unique<Zellenraster>(kachelnX, kachelnY);
    Fortschritt fortschritt(auftrag, benutzer);
    VorlageVorbereiten(auftrag, fortschritt);
  }
};

}  // namespace tilvendo::bench
