// Blending and saving a 6000 × 4500 mosaic as JPEG quality 90 and as 24-bit BMP, against
// libjpeg-turbo's own `cjpeg` encoding the same blended pixels from a PPM file.
//
//   speichern_bench                      the timings (Google Benchmark)
//   speichern_bench --einmal=jpeg|bmp    one save and nothing else, for measuring the peak
//   speichern_bench --einmal=mosaik      only the pictures, the baseline of that peak
// (bench/speichern_speicher.sh runs the last two under /usr/bin/time.)
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "pictures/blending.h"
#include "pictures/byte_sink.h"
#include "pictures/jpeg_writer.h"
#include "pictures/speichern.h"
#include "platform/bitmap.h"
#include "platform/paths.h"

namespace {

using namespace tilvendo;

constexpr int32_t kBreite = 6000;
constexpr int32_t kHoehe = 4500;
constexpr int32_t kVorlageBreite = 800;
constexpr int32_t kVorlageHoehe = 600;
constexpr int32_t kKachel = 75;  // the mosaic's photos are 75 × 75 tiles
constexpr uint8_t kQualitaet = 90;
constexpr int32_t kAnzeigeBreite = 1200;  // the result page's picture on a large screen
constexpr int32_t kAnzeigeHoehe = 900;
const uint8_t kBlendwert = BlendwertAusRegler(kReglerStandard);

// Something like photos: every tile its own colour and slope, with grain.
Bitmap Fotoaehnlich(int32_t width, int32_t height, int32_t kachel) {
  Bitmap bild = Bitmap::Uninitialized(width, height, kPixelformat);
  uint32_t zufall = 2463534242u;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = bild.row(y);
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t k = static_cast<uint32_t>((x / kachel) * 7919 + (y / kachel) * 104729);
      zufall ^= zufall << 13;
      zufall ^= zufall >> 17;
      zufall ^= zufall << 5;
      const int32_t korn = static_cast<int32_t>(zufall & 15) - 8;
      const int32_t u = x % kachel;
      const int32_t v = y % kachel;
      for (int32_t c = 0; c < 3; ++c) {
        const int32_t basis = static_cast<int32_t>((k >> (4 * c)) % 200) + 20;
        const int32_t wert = basis + (u - v) * static_cast<int32_t>((k >> (8 + c)) % 3) / 2 + korn;
        row[4 * x + c] = static_cast<uint8_t>(wert < 0 ? 0 : (wert > 255 ? 255 : wert));
      }
      row[4 * x + 3] = 0;
    }
  }
  return bild;
}

struct Bilder {
  Bitmap mosaik = Fotoaehnlich(kBreite, kHoehe, kKachel);
  Bitmap vorlage = Fotoaehnlich(kVorlageBreite, kVorlageHoehe, 40);
  std::string ordner;

  Bilder() {
    std::string muster = tilvendo::TempFolder() + "tilvendo-speichern-bench-XXXXXX";
    if (::mkdtemp(muster.data()) == nullptr) throw std::runtime_error("mkdtemp");
    ordner = muster + "/";
  }
  ~Bilder() {
    for (const char* name : {"m.jpg", "m.bmp", "m.ppm", "cjpeg.jpg"}) {
      std::remove((ordner + name).c_str());
    }
    ::rmdir(ordner.c_str());
  }

  SpeicherOptionen Optionen(uint8_t format) const {
    SpeicherOptionen optionen;
    optionen.Pfad = ordner;
    optionen.Datei = format == kFormatJpeg ? "m.jpg" : "m.bmp";
    optionen.Format = format;
    optionen.Qualitaet = kQualitaet;
    optionen.Farbtiefe = kFarbtiefe24;
    return optionen;
  }
};

Bilder& Gemeinsam() {
  static Bilder bilder;
  return bilder;
}

// Counts the bytes and keeps none: the encoder's own cost, without the disk.
class ZaehlSenke : public ByteSink {
 public:
  void Write(const void*, size_t length) override { bytes += length; }
  size_t bytes = 0;
};

// A mosaic held whole saved as the result does: blended strip by strip into the file.
void Speichern(const Bilder& b, const SpeicherOptionen& optionen) {
  UeberblendeteStreifen quelle(b.mosaik, b.vorlage, kBlendwert);
  BildSpeichern(quelle, optionen);
}

// The blend as saving computes it: strip by strip at the mosaic's size.
void BM_UeberblendenStreifen(benchmark::State& state) {
  Bilder& b = Gemeinsam();
  for (auto _ : state) {
    UeberblendeteStreifen quelle(b.mosaik, b.vorlage, kBlendwert);
    for (int32_t first = 0; first < kHoehe; first += kStreifenZeilen) {
      benchmark::DoNotOptimize(quelle.Streifen(first, std::min(kStreifenZeilen, kHoehe - first)));
    }
  }
}

// The blend of one slider step: the whole picture at screen size.
void BM_UeberblendenBildschirm(benchmark::State& state) {
  Bilder& b = Gemeinsam();
  Bitmap anzeige(kAnzeigeBreite, kAnzeigeHoehe, kPixelformat);
  for (auto _ : state) {
    BlendTemplateIntoMosaic(anzeige, b.mosaik, b.vorlage, kBlendwert);
    benchmark::DoNotOptimize(anzeige.data());
  }
}

void BM_JpegKodieren(benchmark::State& state) {
  Bilder& b = Gemeinsam();
  for (auto _ : state) {
    UeberblendeteStreifen quelle(b.mosaik, b.vorlage, kBlendwert);
    ZaehlSenke senke;
    Bildbeschreibung beschreibung;
    beschreibung.breite = kBreite;
    beschreibung.hoehe = kHoehe;
    beschreibung.qualitaet = kQualitaet;
    const std::unique_ptr<Bildschreiber> schreiber = MakeJpegWriter(senke, beschreibung);
    StreifenweiseLesen(quelle,
                       [&](int32_t, const Zeilen& zeilen) { schreiber->Schreiben(zeilen); });
    schreiber->Beenden();
    state.counters["bytes"] = static_cast<double>(senke.bytes);
  }
}

void BM_JpegSpeichern(benchmark::State& state) {
  Bilder& b = Gemeinsam();
  for (auto _ : state) Speichern(b, b.Optionen(kFormatJpeg));
}

void BM_Bmp24Speichern(benchmark::State& state) {
  Bilder& b = Gemeinsam();
  for (auto _ : state) Speichern(b, b.Optionen(kFormatBmp));
}

double KinderSekunden() {
  rusage nutzung{};
  ::getrusage(RUSAGE_CHILDREN, &nutzung);
  auto sekunden = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return sekunden(nutzung.ru_utime) + sekunden(nutzung.ru_stime);
}

// 256 colours: the rows put aside while the palette is chosen, then diffused.
void BM_Bmp8Speichern(benchmark::State& state) {
  Bilder& b = Gemeinsam();
  SpeicherOptionen optionen = b.Optionen(kFormatBmp);
  optionen.Farbtiefe = kFarbtiefe8;
  for (auto _ : state) Speichern(b, optionen);
}

// The same blended pixels as a PPM file, written once, for cjpeg to read.
void PpmSchreiben(const Bilder& b, const std::string& path) {
  Bitmap blend = Bitmap::Uninitialized(kBreite, kHoehe, kPixelformat);
  BlendTemplateIntoMosaic(blend, b.mosaik, b.vorlage, kBlendwert);
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << kBreite << " " << kHoehe << "\n255\n";
  std::string zeile(static_cast<size_t>(kBreite) * 3, '\0');
  for (int32_t y = 0; y < kHoehe; ++y) {
    const uint8_t* row = blend.row(y);
    for (int32_t x = 0; x < kBreite; ++x) {
      zeile[3 * x] = static_cast<char>(row[4 * x + 2]);
      zeile[3 * x + 1] = static_cast<char>(row[4 * x + 1]);
      zeile[3 * x + 2] = static_cast<char>(row[4 * x]);
    }
    out.write(zeile.data(), static_cast<std::streamsize>(zeile.size()));
  }
}

void BM_Cjpeg(benchmark::State& state) {
  Bilder& b = Gemeinsam();
  const std::string ppm = b.ordner + "m.ppm";
  PpmSchreiben(b, ppm);
  const std::string befehl =
      "cjpeg -quality " + std::to_string(kQualitaet) + " -outfile " + b.ordner + "cjpeg.jpg " + ppm;
  if (std::system("command -v cjpeg >/dev/null 2>&1") != 0) {
    state.SkipWithError("cjpeg fehlt (libjpeg-turbo-progs)");
    return;
  }
  // The child's processor time, comparable with the processor time of the others.
  const double vorher = KinderSekunden();
  for (auto _ : state) {
    if (std::system(befehl.c_str()) != 0) state.SkipWithError("cjpeg ist gescheitert");
  }
  state.counters["cjpeg_cpu_ms"] =
      (KinderSekunden() - vorher) * 1000.0 / static_cast<double>(state.iterations());
}

BENCHMARK(BM_UeberblendenStreifen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UeberblendenBildschirm)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_JpegKodieren)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_JpegSpeichern)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Cjpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Bmp24Speichern)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Bmp8Speichern)->Unit(benchmark::kMillisecond)->UseRealTime();

int Einmal(const std::string& was) {
  Bilder& b = Gemeinsam();
  if (was == "jpeg")
    Speichern(b, b.Optionen(kFormatJpeg));
  else if (was == "bmp")
    Speichern(b, b.Optionen(kFormatBmp));
  else if (was != "mosaik")
    return 2;
  std::printf("Mosaik im Arbeitsformat: %zu Bytes\n", b.mosaik.byteSize());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string einmal = "--einmal=";
  if (argc == 2 && std::string(argv[1]).rfind(einmal, 0) == 0) {
    return Einmal(std::string(argv[1]).substr(einmal.size()));
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
