// One step of the result page's blend slider on an 1800 × 1000 screen picture: the
// mosaic and the template, reduced to the screen once when the page is shown, are
// blended anew. For comparison the same step when both were reduced on every step, the
// reduction itself that the page does once per showing, and what a showing of a
// large-format result does instead.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "pictures/bild_einpassen.h"
#include "pictures/blending.h"
#include "platform/bitmap.h"
#include "wizard/ergebnis_seite.h"

namespace {

using namespace tilvendo;

constexpr int32_t kAnzeigeBreite = 1800;
constexpr int32_t kAnzeigeHoehe = 1000;
constexpr int32_t kMosaikBreite = 6000;
constexpr int32_t kMosaikHoehe = 3333;
constexpr int32_t kVorlageBreite = 800;
constexpr int32_t kVorlageHoehe = 600;
constexpr int32_t kMuster = 37;  // a pattern that is not flat, so no step is trivial

Bitmap Muster(int32_t breite, int32_t hoehe) {
  Bitmap bild(breite, hoehe, kPixelformat);
  for (int32_t y = 0; y < hoehe; ++y) {
    uint8_t* zeile = bild.row(y);
    for (int32_t x = 0; x < breite; ++x) {
      zeile[kBytesJePixel * x + kBlauByte] = static_cast<uint8_t>(x * kMuster);
      zeile[kBytesJePixel * x + kGruenByte] = static_cast<uint8_t>(y * kMuster);
      zeile[kBytesJePixel * x + kRotByte] = static_cast<uint8_t>((x + y) * kMuster);
    }
  }
  return bild;
}

Bitmap Verkleinert(const Bitmap& bild) {
  Bitmap ergebnis(kAnzeigeBreite, kAnzeigeHoehe, kPixelformat);
  BildEinpassen(ergebnis, Rect{0, 0, kAnzeigeBreite, kAnzeigeHoehe}, bild);
  return ergebnis;
}

// Alternating positions, as a slider moved back and forth.
uint8_t Blendwert(int64_t schritt) {
  return BlendwertAusRegler(schritt % 2 == 0 ? kReglerStandard : kReglerStandard + 1);
}

// What the page does per step: one pass over the screen's pixels.
void BM_ReglerSchritt(benchmark::State& state) {
  const Bitmap mosaik = Verkleinert(Muster(kAnzeigeBreite, kAnzeigeHoehe));
  const Bitmap vorlage = Verkleinert(Muster(kVorlageBreite, kVorlageHoehe));
  Bitmap anzeige(kAnzeigeBreite, kAnzeigeHoehe, kPixelformat);
  int64_t schritt = 0;
  for (auto _ : state) {
    BlendBitmaps(vorlage, mosaik, anzeige, Blendwert(schritt++));
    benchmark::DoNotOptimize(anzeige.data());
  }
}

// A step that stretches the screen-sized mosaic and the template every time.
void BM_ReglerSchrittMitEinpassen(benchmark::State& state) {
  const Bitmap mosaik = Verkleinert(Muster(kAnzeigeBreite, kAnzeigeHoehe));
  const Bitmap vorlage = Muster(kVorlageBreite, kVorlageHoehe);
  Bitmap anzeige(kAnzeigeBreite, kAnzeigeHoehe, kPixelformat);
  int64_t schritt = 0;
  for (auto _ : state) {
    BlendTemplateIntoMosaic(anzeige, mosaik, vorlage, Blendwert(schritt++));
    benchmark::DoNotOptimize(anzeige.data());
  }
}

// Once per showing: the full mosaic and the template reduced to the screen.
void BM_SeiteZeigen(benchmark::State& state) {
  const Bitmap mosaik = Muster(kMosaikBreite, kMosaikHoehe);
  const Bitmap vorlage = Muster(kVorlageBreite, kVorlageHoehe);
  for (auto _ : state) {
    Bitmap m = Verkleinert(mosaik);
    Bitmap t = Verkleinert(vorlage);
    benchmark::DoNotOptimize(m.data());
    benchmark::DoNotOptimize(t.data());
  }
}

// Once per showing of a large-format result: there is no mosaic to reduce, the run's
// screen copy is the mosaic at the screen's size, so only the template is reduced, and
// the blend goes into the page's own picture.
void BM_SeiteZeigenGrossformat(benchmark::State& state) {
  const Bitmap bildschirmkopie = Verkleinert(Muster(kAnzeigeBreite, kAnzeigeHoehe));
  const Bitmap vorlage = Muster(kVorlageBreite, kVorlageHoehe);
  for (auto _ : state) {
    wizard::Ergebnisanzeige anzeige;
    Bitmap eigene(kAnzeigeBreite, kAnzeigeHoehe);
    anzeige.Vorbereiten(bildschirmkopie, vorlage, kReglerStandard, eigene);
    benchmark::DoNotOptimize(eigene.data());
  }
}

}  // namespace

BENCHMARK(BM_ReglerSchritt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReglerSchrittMitEinpassen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeiteZeigen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeiteZeigenGrossformat)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
