#include "engine/mosaikprobe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "engine/mosaikergebnis.h"
#include "engine/save_preview.h"
#include "lauf_testkacheln.h"
#include "pictures/blending.h"
#include "pictures/byte_sink.h"
#include "pictures/png_writer.h"
#include "pictures/speichern.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::TempFolder;

int32_t Kacheln(const Probenplan& plan) {
  return plan.laenge * static_cast<int32_t>(plan.laeufe.size());
}

// Every run lies in the grid, one per stretch of rows, from top to bottom.
void PlanPruefen(const Probenplan& plan, int32_t kachelnX, int32_t kachelnY) {
  const auto zeilen = static_cast<int32_t>(plan.laeufe.size());
  ASSERT_GT(zeilen, 0);
  ASSERT_GT(plan.laenge, 0);
  EXPECT_LE(plan.laenge, kachelnX);
  for (int32_t i = 0; i < zeilen; ++i) {
    const Probenlauf& lauf = plan.laeufe[static_cast<size_t>(i)];
    EXPECT_GE(lauf.zeile, int64_t{i} * kachelnY / zeilen) << i;
    EXPECT_LT(lauf.zeile, int64_t{i + 1} * kachelnY / zeilen) << i;
    EXPECT_GE(lauf.spalte, 0) << i;
    EXPECT_LE(lauf.spalte + plan.laenge, kachelnX) << i;
  }
}

TEST(Probenplan, AboutAsManyRunsAsTilesARunSpreadOverThePoster) {
  // 100 × 75 tiles of 200 pixels: 132 tiles in 12 runs of 11.
  const Probenplan plan = ProbenplanFuer(100, 75, Size{200, 200});
  PlanPruefen(plan, 100, 75);
  EXPECT_EQ(plan.laenge, 11);
  ASSERT_EQ(plan.laeufe.size(), size_t{12});
  EXPECT_GE(Kacheln(plan), kProbenKacheln);
  // Neither the place within the stretch of rows nor the first column repeats in step:
  // the sample sees the template's left and right, and every stretch at another height.
  std::set<int32_t> innen;
  std::set<int32_t> spalten;
  for (size_t i = 0; i < plan.laeufe.size(); ++i) {
    innen.insert(plan.laeufe[i].zeile - static_cast<int32_t>(i * 75 / 12));
    spalten.insert(plan.laeufe[i].spalte);
  }
  EXPECT_GE(innen.size(), size_t{5});
  EXPECT_GE(spalten.size(), size_t{10});
  EXPECT_LT(*spalten.begin(), 20);
  EXPECT_GT(*spalten.rbegin(), 70);
}

// Large tiles, narrow, short and small grids, and runs asked to reach along a row (as PNG
// finds photos placed again within about 11,000 pixels of a row): every plan keeps the
// bounds of the grid and of the pixels. A negative figure is not checked.
TEST(Probenplan, LargeTilesNarrowGridsAndSmallGridsKeepTheBounds) {
  struct Fall {
    int32_t kachelnX, kachelnY;
    Size kachel;
    int32_t mindestBreite, laenge, laeufe, kacheln;
  };
  constexpr int32_t kPng = kPngLookbackPixels;
  const Fall faelle[] = {
      {40, 30, {500, 400}, 0, -1, -1, 36},             // the pixels bound the sample to 36 tiles
      {10, 8, {3000, 2000}, 0, -1, -1, 1},             // a tile larger than the bound: still one
      {2, 100, {100, 100}, 0, 2, -1, kProbenKacheln},  // runs cut short, more rows
      {4, 3, {100, 100}, 0, 4, 3, -1},                 // smaller than the sample: whole
      {0, 3, {100, 100}, 0, -1, 0, -1},
      {200, 75, {100, 100}, kPng, kPng / 100 + 1, 4, -1},  // at least four runs
      {40, 30, {100, 100}, kPng, 40, 4, -1},               // narrower than asked: whole tile rows
      {100, 75, {400, 400}, kPng, -1, 1, -1},              // runs too large for the pixels: one
      {4, 3, {0, 100}, 0, -1, 0, -1},
  };
  for (const Fall& f : faelle) {
    const Probenplan plan = ProbenplanFuer(f.kachelnX, f.kachelnY, f.kachel, f.mindestBreite);
    const std::string fall = std::to_string(f.kachelnX) + " x " + std::to_string(f.kachelnY);
    if (f.laeufe != 0) PlanPruefen(plan, f.kachelnX, f.kachelnY);
    if (f.laenge >= 0) EXPECT_EQ(plan.laenge, f.laenge) << fall;
    if (f.laeufe >= 0) EXPECT_EQ(plan.laeufe.size(), static_cast<size_t>(f.laeufe)) << fall;
    if (f.kacheln >= 0) EXPECT_EQ(Kacheln(plan), f.kacheln) << fall;
    if (f.laeufe == 1 || f.kachel.width == 0) continue;
    EXPECT_LE(int64_t{Kacheln(plan)} * f.kachel.width * f.kachel.height,
              std::max(kProbenPixel, int64_t{f.kachel.width} * f.kachel.height))
        << fall;
    if (f.laenge == f.kachelnX) {
      for (const Probenlauf& lauf : plan.laeufe) EXPECT_EQ(lauf.spalte, 0) << fall;
    }
  }
  // Few rows: each of them, with longer runs.
  const Probenplan wenige = ProbenplanFuer(100, 3, Size{100, 100});
  PlanPruefen(wenige, 100, 3);
  EXPECT_GE(Kacheln(wenige), kProbenKacheln);
  EXPECT_LT(Kacheln(wenige), kProbenKacheln + wenige.laenge);
}

// A photo with a soft gradient of its own, a few stripes and grain, so that each
// compresses differently and every pixel of a tile tells where it came from.
Bitmap Foto(int k, int32_t breite, int32_t hoehe) {
  Bitmap bild(breite, hoehe);
  uint32_t zufall = 2654435761u * static_cast<uint32_t>(k + 1);
  for (int32_t y = 0; y < hoehe; ++y) {
    for (int32_t x = 0; x < breite; ++x) {
      zufall = zufall * 1664525u + 1013904223u;
      const int korn = static_cast<int>(zufall >> 28) - 8;
      const int streifen = (x / (3 + k % 5)) % 2 == 0 ? 30 : 0;
      const auto kanal = [&](int wert) { return static_cast<uint8_t>(std::clamp(wert, 0, 255)); };
      WritePixel(bild, x, y,
                 Farbe{kanal(20 * k + 2 * x + korn), kanal(200 - 3 * y + streifen + korn),
                       kanal(60 + 9 * k + x - y + korn)});
    }
  }
  return bild;
}

// A job of kachelnX × kachelnY tiles of `kante` pixels made of twelve photos, as after its
// run: a poster composed again whenever it is asked for, or a mosaic held whole.
struct Posterjob {
  TempFolder ordner;
  Auftrag auftrag;

  Posterjob(uint16_t kachelnX, uint16_t kachelnY, int32_t kante, bool grossformat = true) {
    Einstellungen& e = auftrag.einstellungen;
    const auto zoom = static_cast<uint16_t>(kante * 10);
    testing::RasterSetzen(e, kachelnX, kachelnY, 10, 10, zoom, zoom);
    e.Grossformat = grossformat;
    auftrag.VorlageBild = Foto(20, kachelnX * 10, kachelnY * 10);
    constexpr int kFotos = 12;
    std::vector<std::string> fotos;
    for (int k = 0; k < kFotos; ++k) {
      fotos.push_back(ordner / ("foto" + std::to_string(k) + ".jpg"));
      testing::WriteTestJpeg(fotos.back(), Foto(k, 80 + 4 * k, 60 + 3 * k), 95);
    }
    Verwendungsliste verwendung;
    for (int x = 1; x <= kachelnX; ++x) {
      for (int y = 1; y <= kachelnY; ++y) {
        const std::string& foto = fotos[static_cast<size_t>((5 * x + 3 * y) % kFotos)];
        const size_t k = verwendung.Finden(foto);
        if (k == Verwendungsliste::kNichtGefunden) {
          verwendung.Hinzufuegen(foto, Zellort{x, y});
        } else {
          verwendung.ZelleAnfuegen(k, Zellort{x, y});
        }
      }
    }
    auto plan = std::make_shared<Mosaikplan>(e, auftrag.analyse, std::move(verwendung));
    Bandbilanz bilanz;
    auftrag.Ergebnis = Mosaikergebnis::Zusammenstellen(std::move(plan), auftrag.VorlageBild, "",
                                                       Size{800, 600}, {}, bilanz);
  }

  // The whole mosaic as a save composes it, blended at `a`.
  Bitmap Ganz(uint8_t a) const {
    const std::unique_ptr<Mosaikquelle> quelle = auftrag.Ergebnis->Quelle(auftrag.VorlageBild, a);
    Bitmap ganz(quelle->Breite(), quelle->Hoehe(), kPixelformat);
    StreifenweiseLesen(*quelle, [&](int32_t erste, const Zeilen& zeilen) {
      for (int32_t i = 0; i < zeilen.anzahl; ++i) {
        std::memcpy(ganz.row(erste + i), zeilen.Zeile(i), ganz.stride());
      }
    });
    return ganz;
  }
};

TEST(Mosaikprobe, TheSampleIsTheSavedMosaicsOwnTilesAtFullSize) {
  for (const bool grossformat : {true, false}) {
    Posterjob job(24, 18, 100, grossformat);  // 2400 × 1800 pixels
    const uint8_t a = 191;
    const Bitmap ganz = job.Ganz(a);
    // The tiling page set up another mosaic since: the sample is the run's all the same.
    Einstellungen& e = job.auftrag.einstellungen;
    e.KachelnX = 10;
    e.KachelnY = 30;
    e.ZoomX = e.ZoomY = 700;
    const std::unique_ptr<StreifenQuelle> quelle =
        job.auftrag.Ergebnis->Probe(job.auftrag.VorlageBild, a, 0, 2);
    const auto& probe = dynamic_cast<const Mosaikprobe&>(*quelle);
    const Probenplan& plan = probe.Plan();
    EXPECT_EQ(Kacheln(plan), 132) << grossformat;  // 12 runs of 11 tiles
    // Read in strips across the runs' edges, as the writers read.
    int falsch = 0;
    for (int32_t erste = 0; erste < quelle->Hoehe(); erste += kStreifenZeilen) {
      const int32_t anzahl = std::min(kStreifenZeilen, quelle->Hoehe() - erste);
      const Zeilen zeilen = quelle->Streifen(erste, anzahl);
      for (int32_t i = 0; i < anzahl; ++i) {
        const int32_t y = erste + i;
        const Probenlauf& lauf = plan.laeufe[static_cast<size_t>(y / 100)];
        const uint8_t* soll = ganz.row(lauf.zeile * 100 + y % 100) + 4 * lauf.spalte * 100;
        if (std::memcmp(zeilen.Zeile(i), soll, static_cast<size_t>(quelle->Breite()) * 4) != 0 &&
            ++falsch < 5) {
          ADD_FAILURE() << "row " << y << " of the sample, poster " << grossformat;
        }
      }
    }
    EXPECT_EQ(falsch, 0);
  }
}

int64_t Kodiert(const Bitmap& bild, uint8_t format, int qualitaet) {
  MemorySink kodiert;
  SpeicherOptionen optionen;
  optionen.Format = format;
  optionen.Qualitaet = static_cast<uint8_t>(qualitaet);
  const std::unique_ptr<Bildschreiber> schreiber = kDateiformate[format].schreiber(
      kodiert, BeschreibungFuer(optionen, bild.width(), bild.height()));
  BitmapStreifen quelle(bild);
  StreifenweiseLesen(quelle, [&](int32_t, const Zeilen& zeilen) { schreiber->Schreiben(zeilen); });
  schreiber->Beenden();
  return static_cast<int64_t>(kodiert.bytes().size());
}

// Users are promised ±20 % for JPEG; the sample of whole tiles does far better.
constexpr double kToleranz = 0.1;

TEST(Mosaikprobe, ACompressedFileIsToldFromItsSampleNotFromItsScreenCopy) {
  for (const bool grossformat : {true, false}) {
    Posterjob job(40, 30, 60, grossformat);  // 2400 × 1800 pixels
    const uint8_t a = 191;
    const Bitmap ganz = job.Ganz(a);
    const Bitmap& anzeige = job.auftrag.Ergebnis->AnzeigeBild();
    Bitmap vorschau;
    for (const uint8_t format : {kFormatJpeg, kFormatPng}) {
      for (const int qualitaet : {50, 90}) {
        if (format == kFormatPng && qualitaet == 50) continue;
        SpeicherOptionen optionen;
        optionen.Format = format;
        optionen.Qualitaet = static_cast<uint8_t>(qualitaet);
        job.auftrag.SpeicherVorschau = Bitmap();
        const SavePreview schaetzung =
            MakeSavePreview(job.auftrag, a, 236, 170, optionen, vorschau);
        EXPECT_TRUE(schaetzung.estimated);
        const auto echt = static_cast<double>(Kodiert(ganz, format, qualitaet));
        EXPECT_NEAR(static_cast<double>(schaetzung.bytes) / echt, 1.0, kToleranz)
            << int{format} << ", Qualität " << qualitaet << ", Poster " << grossformat
            << ": geschätzt " << schaetzung.bytes << ", echt " << echt;
        // The screen copy packs three tiles' edges into every tile's width: its bytes per
        // pixel would overrate a JPEG beyond what users are promised.
        if (format != kFormatJpeg) continue;
        const double ausAnzeige = static_cast<double>(Kodiert(anzeige, format, qualitaet)) /
                                  (800.0 * 600.0) * 2400.0 * 1800.0;
        EXPECT_GT(ausAnzeige / echt, 1.3) << "Qualität " << qualitaet;
      }
    }
  }
}

}  // namespace
}  // namespace tilvendo
