// Reading 100 HEIC photos of 1600 × 1200, each with a 320-pixel thumbnail as cameras store
// it: whole (as a template), into the 10 × 10 signature square the exact way and the fast
// way (the thumbnail). The decoder works in threads of its own, so the wall-clock times
// count. Compare with the library's own program on the same files:
//
//   bench/heif_vergleich.sh build/release
//
// which keeps the files in a folder and times this program and heif-convert over them.
#include <benchmark/benchmark.h>
#include <libheif/heif.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "fotoaehnlich.h"
#include "pictures/bilder_laden.h"
#include "platform/paths.h"

namespace {

using namespace tilvendo;

constexpr int kAnzahl = 100;
constexpr int32_t kBreite = 1600;
constexpr int32_t kHoehe = 1200;
constexpr int kQualitaet = 85;
constexpr int kVorschau = 320;

void Pruefen(const heif_error& fehler) {
  if (fehler.code != heif_error_Ok) throw std::runtime_error(fehler.message);
}

// One photo, shifted by `nummer` pixels so that no two files are the same.
void HeicSchreiben(const std::string& path, const Bitmap& foto, int nummer) {
  heif_image* bild = nullptr;
  Pruefen(
      heif_image_create(kBreite, kHoehe, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &bild));
  const std::unique_ptr<heif_image, void (*)(const heif_image*)> bildHalter(bild,
                                                                            &heif_image_release);
  Pruefen(heif_image_add_plane(bild, heif_channel_interleaved, kBreite, kHoehe, 8));
  int zeilenBytes = 0;
  uint8_t* ebene = heif_image_get_plane(bild, heif_channel_interleaved, &zeilenBytes);
  for (int32_t y = 0; y < kHoehe; ++y) {
    const uint8_t* quelle = foto.row((y + nummer) % foto.height());
    uint8_t* ziel = ebene + static_cast<size_t>(y) * zeilenBytes;
    for (int32_t x = 0; x < kBreite; ++x) {
      const uint8_t* pixel = quelle + 4 * ((x + nummer) % foto.width());
      ziel[3 * x] = pixel[2];
      ziel[3 * x + 1] = pixel[1];
      ziel[3 * x + 2] = pixel[0];
    }
  }
  const std::unique_ptr<heif_context, void (*)(heif_context*)> kontext(heif_context_alloc(),
                                                                       &heif_context_free);
  heif_encoder* kodierer = nullptr;
  Pruefen(heif_context_get_encoder_for_format(kontext.get(), heif_compression_HEVC, &kodierer));
  const std::unique_ptr<heif_encoder, void (*)(heif_encoder*)> kodiererHalter(
      kodierer, &heif_encoder_release);
  heif_encoder_set_lossy_quality(kodierer, kQualitaet);
  // Only to make the files quickly; decoding costs about the same.
  heif_encoder_set_parameter(kodierer, "preset", "ultrafast");
  heif_image_handle* handle = nullptr;
  Pruefen(heif_context_encode_image(kontext.get(), bild, kodierer, nullptr, &handle));
  heif_image_handle* vorschau = nullptr;
  Pruefen(heif_context_encode_thumbnail(kontext.get(), bild, handle, kodierer, nullptr, kVorschau,
                                        &vorschau));
  heif_image_handle_release(vorschau);
  heif_image_handle_release(handle);
  Pruefen(heif_context_write_to_file(kontext.get(), path.c_str()));
}

// The photos, made once per run: kept in $TILVENDO_HEIF_ORDNER when it is set (and reused
// there), else in a folder that goes with the process.
class Fotos {
 public:
  static const Fotos& Get() {
    static const Fotos fotos;
    return fotos;
  }
  const std::vector<std::string>& pfade() const { return pfade_; }

 private:
  Fotos() {
    const char* ordner = std::getenv("TILVENDO_HEIF_ORDNER");
    if (ordner != nullptr) {
      ordner_ = std::string(ordner) + "/";
      std::filesystem::create_directories(ordner_);
    } else {
      std::string muster = TempFolder() + "tilvendo-heif-XXXXXX";
      if (::mkdtemp(muster.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
      ordner_ = muster + "/";
      behalten_ = false;
    }
    const Bitmap foto = Fotoaehnlich(kBreite, kHoehe);
    for (int i = 0; i < kAnzahl; ++i) {
      pfade_.push_back(ordner_ + "foto" + std::to_string(i) + ".heic");
      if (!std::filesystem::exists(pfade_.back())) HeicSchreiben(pfade_.back(), foto, i);
    }
  }
  ~Fotos() {
    std::error_code fehler;
    if (!behalten_) std::filesystem::remove_all(ordner_, fehler);
  }

  std::string ordner_;
  bool behalten_ = true;
  std::vector<std::string> pfade_;
};

void BM_HeifGanz(benchmark::State& state) {
  for (auto _ : state) {
    for (const std::string& pfad : Fotos::Get().pfade()) {
      Bitmap bild;
      if (!LoadWholePicture(bild, pfad)) {
        state.SkipWithError("LoadWholePicture failed");
        return;
      }
      benchmark::DoNotOptimize(bild.data());
    }
  }
  state.counters["Fotos"] = kAnzahl;
}

// Argument: 1 for the fast way.
void BM_HeifKachel(benchmark::State& state) {
  const Leseart art{.schnell = state.range(0) != 0};
  Bitmap ziel(10, 10, kPixelformat);
  for (auto _ : state) {
    for (const std::string& pfad : Fotos::Get().pfade()) {
      if (!LoadTilePicture(ziel, Rect{0, 0, 10, 10}, pfad, "/kein/arbeitspfad/", art)) {
        state.SkipWithError("LoadTilePicture failed");
        return;
      }
    }
    benchmark::DoNotOptimize(ziel.data());
  }
  state.counters["Fotos"] = kAnzahl;
}

BENCHMARK(BM_HeifGanz)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_HeifKachel)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  // The files are made before anything is timed.
  Fotos::Get();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
