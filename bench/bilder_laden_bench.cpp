// Reading a 12-megapixel photo into the 10 × 10 signature square, against a bare
// libjpeg-turbo decode of the same file (the limit: ours should stay within 1.10× of it),
// the staged resampler on a picture of that size, and reading the same photo as a 24-bit
// bitmap file against reading its bytes. The fast way of reading (decoding reduced) on
// photos of 1600 × 1200 and 4000 × 3000, against the exact way, the bare decode at 1/8 and
// the library's own program (djpeg -scale 1/8, a process per picture, as a user would run
// it).
//
//   bilder_laden_bench --benchmark_repetitions=5
// and compare the "_min" lines: LoadTilePicture/4000/0 with BareJpegDecode/4000/1,
// LoadTilePicture/<size>/1 with BareJpegDecode/<size>/8 and Djpeg/<size>.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "fotoaehnlich.h"
#include "pictures/bild_einpassen.h"
#include "pictures/bilder_laden.h"
#include "pictures/bmp_reader.h"
#include "pictures/jpeg_writer.h"
#include "platform/bitmap.h"
#include "platform/paths.h"
#include "platform/stretch_copy.h"

namespace {

using namespace tilvendo;

constexpr int32_t kBreite = 4000;
constexpr int32_t kHoehe = 3000;
constexpr int32_t kKleineBreite = 1600;
constexpr int32_t kKleineHoehe = 1200;
constexpr int kQualitaet = 90;

// A 24-bit bottom-up BI_RGB bitmap file of `bild`.
void BmpSchreiben(const std::string& path, const Bitmap& bild) {
  const uint32_t zeilenBytes = (static_cast<uint32_t>(bild.width()) * 3 + 3) / 4 * 4;
  const uint32_t pixelBytes = zeilenBytes * static_cast<uint32_t>(bild.height());
  std::string kopf(54, '\0');
  auto setze = [&](size_t stelle, uint32_t wert, int bytes) {
    for (int i = 0; i < bytes; ++i) kopf[stelle + i] = static_cast<char>(wert >> (8 * i));
  };
  kopf[0] = 'B';
  kopf[1] = 'M';
  setze(2, 54 + pixelBytes, 4);
  setze(10, 54, 4);
  setze(14, 40, 4);
  setze(18, static_cast<uint32_t>(bild.width()), 4);
  setze(22, static_cast<uint32_t>(bild.height()), 4);
  setze(26, 1, 2);
  setze(28, 24, 2);
  std::FILE* datei = std::fopen(path.c_str(), "wb");
  if (datei == nullptr) throw std::runtime_error("cannot write " + path);
  std::fwrite(kopf.data(), 1, kopf.size(), datei);
  std::vector<uint8_t> zeile(zeilenBytes, 0);
  for (int32_t y = bild.height() - 1; y >= 0; --y) {
    const uint8_t* quelle = bild.row(y);
    for (int32_t x = 0; x < bild.width(); ++x) std::copy_n(quelle + 4 * x, 3, zeile.data() + 3 * x);
    std::fwrite(zeile.data(), 1, zeile.size(), datei);
  }
  std::fclose(datei);
}

// The generated photo, written once per run into a folder that goes with the process.
class Testfoto {
 public:
  static const Testfoto& Get() {
    static const Testfoto foto;
    return foto;
  }
  const std::string& path() const { return path_; }
  const std::string& bmpPath() const { return bmpPath_; }
  const Bitmap& bild() const { return bild_; }
  // The JPEG file of the photo `breite` pixels wide.
  const std::string& jpeg(int64_t breite) const { return breite == kBreite ? path_ : kleinPath_; }

 private:
  Testfoto() : bild_(Fotoaehnlich(kBreite, kHoehe)) {
    std::string muster = TempFolder() + "tilvendo-bench-XXXXXX";
    if (::mkdtemp(muster.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    ordner_ = muster + "/";
    path_ = ordner_ + "foto.jpg";
    JpegSchreiben(path_, bild_);
    kleinPath_ = ordner_ + "klein.jpg";
    JpegSchreiben(kleinPath_, Fotoaehnlich(kKleineBreite, kKleineHoehe));
    bmpPath_ = ordner_ + "foto.bmp";
    BmpSchreiben(bmpPath_, bild_);
  }
  ~Testfoto() {
    std::error_code fehler;
    std::filesystem::remove_all(ordner_, fehler);
  }

  static void JpegSchreiben(const std::string& path, const Bitmap& bild) {
    // The encoder takes whole pictures of 24 bits; an equal-size stretch copy converts.
    Bitmap farbe = Bitmap::Uninitialized(bild.width(), bild.height(), PixelFormat::k24);
    StretchCopy(bild, farbe, Rect{0, 0, bild.width(), bild.height()});
    WriteJpegFile(farbe, path, kQualitaet);
  }

  Bitmap bild_;
  std::string ordner_;
  std::string path_;
  std::string kleinPath_;
  std::string bmpPath_;
};

// Arguments: the photo's width, and 1 for the fast way.
void BM_LoadTilePicture(benchmark::State& state) {
  const std::string& path = Testfoto::Get().jpeg(state.range(0));
  const Leseart art{.schnell = state.range(1) != 0};
  Bitmap ziel(10, 10, kPixelformat);
  for (auto _ : state) {
    if (!LoadTilePicture(ziel, Rect{0, 0, 10, 10}, path, "/kein/arbeitspfad/", art)) {
      state.SkipWithError("LoadTilePicture failed");
      return;
    }
    benchmark::DoNotOptimize(ziel.data());
  }
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

// The limit: libjpeg-turbo decoding the whole file into one buffer, nothing else.
// Arguments: the photo's width, and the reduction's denominator (1 or 8).
void BM_BareJpegDecode(benchmark::State& state) {
  const std::string& path = Testfoto::Get().jpeg(state.range(0));
  std::vector<uint8_t> puffer;
  for (auto _ : state) {
    std::FILE* datei = std::fopen(path.c_str(), "rb");
    jpeg_decompress_struct info;
    jpeg_error_mgr fehler;
    info.err = jpeg_std_error(&fehler);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, datei);
    jpeg_read_header(&info, TRUE);
    info.scale_denom = static_cast<unsigned int>(state.range(1));
    jpeg_start_decompress(&info);
    const size_t zeilenBytes = static_cast<size_t>(info.output_width) * info.output_components;
    puffer.resize(zeilenBytes * info.output_height);
    while (info.output_scanline < info.output_height) {
      JSAMPROW zeile = puffer.data() + zeilenBytes * info.output_scanline;
      jpeg_read_scanlines(&info, &zeile, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(datei);
    benchmark::DoNotOptimize(puffer.data());
  }
}

// libjpeg-turbo's own program, reducing by 1/8 and writing to nowhere: a process each time.
void BM_Djpeg(benchmark::State& state) {
  const std::string befehl =
      "djpeg -scale 1/8 -outfile /dev/null " + Testfoto::Get().jpeg(state.range(0));
  for (auto _ : state) {
    if (std::system(befehl.c_str()) != 0) {
      state.SkipWithError("djpeg failed (package libjpeg-turbo-progs)");
      return;
    }
  }
}

void BM_ReadBmpFile(benchmark::State& state) {
  const std::string& path = Testfoto::Get().bmpPath();
  for (auto _ : state) {
    Bitmap bild;
    if (!ReadBmpFile(bild, path)) {
      state.SkipWithError("ReadBmpFile failed");
      return;
    }
    benchmark::DoNotOptimize(bild.data());
  }
}

// The limit for bitmap files: reading the file into a fresh buffer, nothing else.
void BM_BareFileRead(benchmark::State& state) {
  const std::string& path = Testfoto::Get().bmpPath();
  const auto groesse = static_cast<size_t>(std::filesystem::file_size(path));
  for (auto _ : state) {
    auto puffer = std::make_unique_for_overwrite<uint8_t[]>(groesse);
    std::FILE* datei = std::fopen(path.c_str(), "rb");
    const size_t gelesen = std::fread(puffer.get(), 1, groesse, datei);
    std::fclose(datei);
    benchmark::DoNotOptimize(gelesen);
    benchmark::DoNotOptimize(puffer.get());
  }
}

void BM_BildEinpassen(benchmark::State& state) {
  const Bitmap& quelle = Testfoto::Get().bild();
  const auto breite = static_cast<int32_t>(state.range(0));
  const auto hoehe = static_cast<int32_t>(state.range(1));
  Bitmap ziel(breite, hoehe, kPixelformat);
  for (auto _ : state) {
    BildEinpassen(ziel, Rect{0, 0, breite, hoehe}, quelle);
    benchmark::DoNotOptimize(ziel.data());
  }
}

double Kleinster(const std::vector<double>& werte) {
  return *std::min_element(werte.begin(), werte.end());
}

BENCHMARK(BM_LoadTilePicture)
    ->ArgsProduct({{kKleineBreite, kBreite}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", Kleinster);
BENCHMARK(BM_BareJpegDecode)
    ->ArgsProduct({{kKleineBreite, kBreite}, {1, 8}})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", Kleinster);
BENCHMARK(BM_Djpeg)
    ->Arg(kKleineBreite)
    ->Arg(kBreite)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", Kleinster);
BENCHMARK(BM_ReadBmpFile)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Kleinster);
BENCHMARK(BM_BareFileRead)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Kleinster);
BENCHMARK(BM_BildEinpassen)
    ->Args({10, 10})
    ->Args({60, 45})
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", Kleinster);

}  // namespace

BENCHMARK_MAIN();
