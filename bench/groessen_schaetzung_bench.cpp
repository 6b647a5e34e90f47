// The save preview's size estimate: how long it takes, and how close it comes.
//
//   groessen_schaetzung_bench                    the timings (Google Benchmark): the
//                                                JPEG preview with its estimate for
//                                                mosaics of 2400 × 1800 and 6000 × 4500
//   groessen_schaetzung_bench --vergleich BILD…  for each picture (a saved mosaic, its
//                                                template already blended in) and JPEG
//                                                qualities 50 to 100: the estimate, the
//                                                real length and their difference
// (bench/groessen_schaetzung.sh makes real mosaics and runs the comparison.)
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "fotoaehnlich.h"
#include "pictures/bilder_laden.h"
#include "pictures/blending.h"
#include "pictures/byte_sink.h"
#include "pictures/groessen_schaetzung.h"
#include "pictures/jpeg_writer.h"
#include "pictures/speichern.h"
#include "platform/bitmap.h"
#include "platform/stretch_copy.h"

namespace {

using namespace tilvendo;

constexpr int32_t kVorschauBreite = 236;
constexpr int32_t kVorschauHoehe = 170;
constexpr int kQualitaeten[] = {50, 60, 70, 80, 90, 95, 100};

// A mosaic of tiles that are photo-like pictures of their own, each a little shifted.
Bitmap Mosaik(int32_t breite, int32_t hoehe, int32_t kachel) {
  const Bitmap foto = Fotoaehnlich(kachel * 4, kachel * 4);
  Bitmap mosaik = Bitmap::Uninitialized(breite, hoehe, kPixelformat);
  for (int32_t y = 0; y < hoehe; ++y) {
    for (int32_t x = 0; x < breite; ++x) {
      const int32_t k = (x / kachel) * 7 + (y / kachel) * 13;
      const int32_t fx = (x % kachel) + (k % 4) * kachel;
      const int32_t fy = (y % kachel) + ((k / 4) % 4) * kachel;
      std::memcpy(mosaik.row(y) + 4 * x, foto.row(fy) + 4 * fx, 4);
    }
  }
  return mosaik;
}

void BM_JpegVorschau(benchmark::State& state) {
  const auto breite = static_cast<int32_t>(state.range(0));
  const auto hoehe = static_cast<int32_t>(state.range(1));
  const Bitmap mosaik = Mosaik(breite, hoehe, 40);
  const Bitmap vorlage = Fotoaehnlich(breite * 2 / 3, hoehe * 2 / 3);
  SpeicherOptionen optionen;
  optionen.Format = kFormatJpeg;
  optionen.Qualitaet = kStandardQualitaet;
  const uint8_t a = BlendwertAusRegler(kReglerStandard);
  int64_t schaetzung = 0;
  for (auto _ : state) {
    Bitmap cache;  // the blended preview made afresh, as after every change of the blend
    Bitmap vorschau;
    schaetzung = MakeSavePreview(vorlage, mosaik, a, kVorschauBreite, kVorschauHoehe, optionen,
                                 cache, vorschau);
  }
  state.counters["schaetzung_bytes"] = static_cast<double>(schaetzung);
}

BENCHMARK(BM_JpegVorschau)
    ->Args({2400, 1800})
    ->Args({6000, 4500})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int Vergleichen(int anzahl, char** dateien) {
  std::printf("%-40s %9s %5s %12s %12s %8s\n", "Bild", "Pixel", "Q", "geschaetzt", "echt",
              "Abw. %");
  for (int i = 0; i < anzahl; ++i) {
    Bitmap bild;
    if (!LoadWholePicture(bild, dateien[i])) {
      std::fprintf(stderr, "%s kann nicht gelesen werden\n", dateien[i]);
      return 1;
    }
    if (bild.format() != kPixelformat) {
      Bitmap arbeit(bild.width(), bild.height(), kPixelformat);
      StretchCopy(bild, arbeit, Rect{0, 0, bild.width(), bild.height()});
      bild = std::move(arbeit);
    }
    std::string name = dateien[i];
    if (const size_t schnitt = name.find_last_of('/'); schnitt != std::string::npos) {
      name = name.substr(schnitt + 1);
    }
    for (int qualitaet : kQualitaeten) {
      BitmapStreifen fuerSchaetzung(bild);
      const int64_t schaetzung = JpegGroesseSchaetzen(fuerSchaetzung, qualitaet);
      MemorySink kodiert;
      BitmapStreifen fuerDatei(bild);
      WriteJpeg(kodiert, fuerDatei, qualitaet);
      const auto echt = static_cast<int64_t>(kodiert.bytes().size());
      std::printf("%-40s %4dx%-4d %5d %12lld %12lld %+8.2f\n", name.c_str(), bild.width(),
                  bild.height(), qualitaet, static_cast<long long>(schaetzung),
                  static_cast<long long>(echt),
                  100.0 * static_cast<double>(schaetzung - echt) / static_cast<double>(echt));
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--vergleich") == 0) return Vergleichen(argc - 2, argv + 2);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
