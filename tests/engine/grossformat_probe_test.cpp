#include "engine/grossformat_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "engine/grossformat.h"
#include "engine/mosaik_baender.h"
#include "engine/vorbereitung.h"
#include "pictures/blending.h"
#include "pictures/byte_sink.h"
#include "pictures/jpeg_writer.h"
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

TEST(Probenplan, LargeTilesNarrowGridsAndSmallGridsKeepTheBounds) {
  // Tiles of 500 × 400: the pixels bound the sample to 36 tiles.
  Probenplan plan = ProbenplanFuer(40, 30, Size{500, 400});
  PlanPruefen(plan, 40, 30);
  EXPECT_EQ(Kacheln(plan), 36);
  EXPECT_LE(int64_t{Kacheln(plan)} * 500 * 400, kProbenPixel);
  // A tile larger than the bound: still one whole tile.
  plan = ProbenplanFuer(10, 8, Size{3000, 2000});
  PlanPruefen(plan, 10, 8);
  EXPECT_EQ(Kacheln(plan), 1);
  // Two tiles wide: the runs are cut short and more rows take the rest.
  plan = ProbenplanFuer(2, 100, Size{100, 100});
  PlanPruefen(plan, 2, 100);
  EXPECT_EQ(plan.laenge, 2);
  EXPECT_EQ(Kacheln(plan), kProbenKacheln);
  // Few rows: each of them, with longer runs.
  plan = ProbenplanFuer(100, 3, Size{100, 100});
  PlanPruefen(plan, 100, 3);
  EXPECT_GE(Kacheln(plan), kProbenKacheln);
  EXPECT_LT(Kacheln(plan), kProbenKacheln + plan.laenge);
  // A grid smaller than the sample is taken whole.
  plan = ProbenplanFuer(4, 3, Size{100, 100});
  PlanPruefen(plan, 4, 3);
  EXPECT_EQ(plan.laenge, 4);
  EXPECT_EQ(plan.laeufe.size(), size_t{3});
  EXPECT_TRUE(ProbenplanFuer(0, 3, Size{100, 100}).laeufe.empty());
}

TEST(Probenplan, RunsReachAsFarAlongARowAsAskedWhereTheGridAllows) {
  // PNG finds photos placed again within about 11,000 pixels of a row.
  Probenplan plan = ProbenplanFuer(200, 75, Size{100, 100}, kPngRueckgriffPixel);
  PlanPruefen(plan, 200, 75);
  EXPECT_GE(plan.laenge * 100, kPngRueckgriffPixel);
  EXPECT_LT((plan.laenge - 1) * 100, kPngRueckgriffPixel);
  EXPECT_EQ(plan.laeufe.size(), size_t{4});  // the runs a sample takes at least
  EXPECT_LE(int64_t{Kacheln(plan)} * 100 * 100, kProbenPixel);
  // A poster narrower than that: whole tile rows, four of them.
  plan = ProbenplanFuer(40, 30, Size{100, 100}, kPngRueckgriffPixel);
  PlanPruefen(plan, 40, 30);
  EXPECT_EQ(plan.laenge, 40);
  EXPECT_EQ(plan.laeufe.size(), size_t{4});
  for (const Probenlauf& lauf : plan.laeufe) EXPECT_EQ(lauf.spalte, 0);
  // Runs too large for the pixels: a single one.
  plan = ProbenplanFuer(100, 75, Size{400, 400}, kPngRueckgriffPixel);
  EXPECT_EQ(plan.laeufe.size(), size_t{1});
  EXPECT_TRUE(ProbenplanFuer(4, 3, Size{0, 100}).laeufe.empty());
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

// A large-format job of kachelnX × kachelnY tiles of `kante` pixels made of twelve photos,
// as after its run.
struct Posterjob {
  TempFolder ordner;
  Auftrag auftrag;

  Posterjob(uint16_t kachelnX, uint16_t kachelnY, int32_t kante) {
    Einstellungen& e = auftrag.einstellungen;
    e.KachelnX = kachelnX;
    e.KachelnY = kachelnY;
    e.ZellBreite = 10;
    e.ZellHoehe = 10;
    e.ZoomX = static_cast<uint16_t>(kante * 10);
    e.ZoomY = static_cast<uint16_t>(kante * 10);
    e.ZielBreite = kachelnX * kante;
    e.ZielHoehe = kachelnY * kante;
    e.Grossformat = true;
    auftrag.VorlageBild = Foto(20, kachelnX * 10, kachelnY * 10);
    constexpr int kFotos = 12;
    for (int k = 0; k < kFotos; ++k) {
      const std::string pfad = ordner / ("foto" + std::to_string(k) + ".jpg");
      testing::WriteTestJpeg(pfad, Foto(k, 80 + 4 * k, 60 + 3 * k), 95);
      auftrag.Dateiliste.push_back(pfad);
    }
    e.Raster = std::make_unique<Zellenraster>(kachelnX, kachelnY);
    for (int x = 1; x <= kachelnX; ++x) {
      for (int y = 1; y <= kachelnY; ++y) e.Raster->at(x, y).Bild = (5 * x + 3 * y) % kFotos;
    }
    auftrag.MosaikPlan.emplace(e, auftrag.analyse, VerwendungAusRaster(auftrag));
  }

  const Mosaikplan& Plan() const { return *auftrag.MosaikPlan; }

  // The whole mosaic as a save composes it, blended at `a`.
  Bitmap Ganz(uint8_t a) const {
    const Size groesse = Mosaikgroesse(auftrag.einstellungen);
    Bandoptionen optionen;
    optionen.blendwert = a;
    optionen.skalierung = SkalierungFuer(groesse.width, groesse.height);
    Mosaikbaender baender(auftrag, Plan(), optionen);
    Bitmap ganz(groesse.width, groesse.height, kPixelformat);
    BaenderWeitergeben(baender, [&](int32_t erste, const Zeilen& zeilen) {
      for (int32_t i = 0; i < zeilen.count; ++i) {
        std::memcpy(ganz.row(erste + i), zeilen.row(i), ganz.stride());
      }
    });
    return ganz;
  }
};

TEST(Grossformatprobe, TheSampleIsTheSavedMosaicsOwnTilesAtFullSize) {
  Posterjob job(24, 18, 125);  // 3000 × 2250 pixels
  const uint8_t a = 191;
  const Bitmap ganz = job.Ganz(a);
  // The tiling page set up another mosaic since: the sample is the run's all the same.
  const std::vector<int32_t> bilder = [&] {
    std::vector<int32_t> alle;
    for (int x = 1; x <= 24; ++x) {
      for (int y = 1; y <= 18; ++y) alle.push_back(job.auftrag.einstellungen.Raster->at(x, y).Bild);
    }
    return alle;
  }();
  Einstellungen& e = job.auftrag.einstellungen;
  e.KachelnX = 10;
  e.KachelnY = 30;
  e.ZoomX = e.ZoomY = 700;
  e.Raster = std::make_unique<Zellenraster>(10, 30);
  Grossformatprobe probe(job.auftrag, job.Plan(), a, 0, 2);
  const Probenplan& plan = probe.Plan();
  EXPECT_EQ(probe.Mosaik(), (Size{3000, 2250}));
  ASSERT_EQ(plan.laenge, 11);
  ASSERT_EQ(plan.laeufe.size(), size_t{12});
  ASSERT_EQ(probe.width(), 11 * 125);
  ASSERT_EQ(probe.height(), 12 * 125);
  // Only the photos of the sampled cells are read: exactly those cells are placed.
  int32_t zellen = 0;
  for (size_t k = 0; k < probe.Auswahl().Anzahl(); ++k) {
    for (const Zellort& z : probe.Auswahl()[k].zellen) {
      ++zellen;
      const auto lauf = std::find_if(plan.laeufe.begin(), plan.laeufe.end(),
                                     [&](const Probenlauf& l) { return l.zeile == z.y - 1; });
      ASSERT_NE(lauf, plan.laeufe.end()) << z.x << "," << z.y;
      EXPECT_GE(z.x - 1, lauf->spalte);
      EXPECT_LT(z.x - 1, lauf->spalte + plan.laenge);
      EXPECT_EQ(probe.Auswahl()[k].datei,
                job.auftrag.Dateiliste[static_cast<size_t>(
                    bilder[static_cast<size_t>((z.x - 1) * 18 + (z.y - 1))])]);
    }
  }
  EXPECT_EQ(zellen, Kacheln(plan));
  // Read in strips across the runs' edges, as the writers read.
  int falsch = 0;
  for (int32_t erste = 0; erste < probe.height(); erste += kStreifenZeilen) {
    const int32_t anzahl = std::min(kStreifenZeilen, probe.height() - erste);
    const Zeilen zeilen = probe.Streifen(erste, anzahl);
    for (int32_t i = 0; i < anzahl; ++i) {
      const int32_t y = erste + i;
      const Probenlauf& lauf = plan.laeufe[static_cast<size_t>(y / 125)];
      const uint8_t* soll = ganz.row(lauf.zeile * 125 + y % 125) + 4 * lauf.spalte * 125;
      if (std::memcmp(zeilen.row(i), soll, static_cast<size_t>(probe.width()) * 4) != 0 &&
          ++falsch < 5) {
        ADD_FAILURE() << "row " << y << " of the sample";
      }
    }
  }
  EXPECT_EQ(falsch, 0);
}

int64_t Kodiert(const Bitmap& bild, uint8_t format, int qualitaet) {
  MemorySink kodiert;
  BitmapStreifen quelle(bild);
  if (format == kFormatJpeg) {
    WriteJpeg(kodiert, quelle, qualitaet);
  } else {
    WritePng(kodiert, quelle);
  }
  return static_cast<int64_t>(kodiert.bytes().size());
}

// Users are promised ±20 % for JPEG; the sample of whole tiles does far better.
constexpr double kToleranz = 0.1;

TEST(Grossformatprobe, APostersCompressedFileIsToldFromItsSampleNotFromItsScreenCopy) {
  Posterjob job(40, 30, 100);  // 4000 × 3000 pixels
  const uint8_t a = 191;
  const Bitmap ganz = job.Ganz(a);
  // The screen copy the run makes, blended as the result page shows it.
  Bitmap anzeige(800, 600, kPixelformat);
  BlendTemplateIntoMosaic(anzeige, ganz, job.auftrag.VorlageBild, kNurMosaik);
  Bitmap cache;
  Bitmap vorschau;
  for (const uint8_t format : {kFormatJpeg, kFormatPng}) {
    for (const int qualitaet : {50, 90}) {
      if (format == kFormatPng && qualitaet == 50) continue;
      SpeicherOptionen optionen;
      optionen.Format = format;
      optionen.Qualitaet = static_cast<uint8_t>(qualitaet);
      Grossformatprobe probe(job.auftrag, job.Plan(), a,
                             format == kFormatPng ? kPngRueckgriffPixel : 0, 2);
      cache = Bitmap();
      const int64_t schaetzung =
          MakeSavePreviewAusProbe(job.auftrag.VorlageBild, anzeige, Size{4000, 3000}, probe, a, 236,
                                  170, optionen, cache, vorschau);
      const auto echt = static_cast<double>(Kodiert(ganz, format, qualitaet));
      EXPECT_NEAR(static_cast<double>(schaetzung) / echt, 1.0, kToleranz)
          << int{format} << ", Qualität " << qualitaet << ": geschätzt " << schaetzung << ", echt "
          << echt;
      // The screen copy packs five tiles' edges into every tile's width: its bytes per
      // pixel would overrate the file beyond what users are promised.
      const double ausAnzeige = static_cast<double>(Kodiert(anzeige, format, qualitaet)) /
                                (800.0 * 600.0) * 4000.0 * 3000.0;
      EXPECT_GT(ausAnzeige / echt, 1.3) << int{format} << ", Qualität " << qualitaet;
    }
  }
}

}  // namespace
}  // namespace tilvendo
