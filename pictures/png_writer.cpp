#include "pictures/png_writer.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <exception>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

constexpr const char* kPngSchreibFehler = N_("Die PNG-Datei konnte nicht geschrieben werden.");
constexpr int kBitsJeKanal = 8;
constexpr int kFarbBytes = 3;
// The fastest compression: a poster has hundreds of megapixels, and the stronger levels
// gain a few per cent of size for several times the time.
constexpr int kKompression = 1;
// Compressed bytes per IDAT chunk: large chunks keep the chunk overhead negligible.
constexpr size_t kChunkBytes = size_t{1} << 20;
constexpr double kZollProMeter = 1000.0 / 25.4;
// Upper bound of what deflate, the zlib wrapper and the chunks add: a thousandth of the
// raw rows and a few kilobytes for the header chunks.
constexpr uint64_t kZuschlagTeiler = 1000;
constexpr uint64_t kKopfZuschlag = 4096;

// Where libpng's bytes go. An exception of the sink must not cross the library's C
// frames: it is kept here and raised again once the library has returned.
struct Ziel {
  ByteSink* sink = nullptr;
  std::exception_ptr fehler;
};

void DatenSchreiben(png_structp png, png_bytep daten, size_t laenge) {
  auto* ziel = static_cast<Ziel*>(png_get_io_ptr(png));
  bool gut = true;
  try {
    ziel->sink->Write(daten, laenge);
  } catch (...) {
    ziel->fehler = std::current_exception();
    gut = false;
  }
  if (!gut) png_error(png, "write");
}

void Leeren(png_structp) {}

// libpng's encoder for one file. Each method that calls the library sets its own jump
// target and keeps only trivially destructible locals after it, so the jump skips no
// destructor; a failure makes it return false.
class PngKodierer {
 public:
  explicit PngKodierer(ByteSink& sink) {
    ziel_.sink = &sink;
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, &Fehler, &Warnung);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
  }
  ~PngKodierer() { png_destroy_write_struct(&png_, &info_); }
  PngKodierer(const PngKodierer&) = delete;
  PngKodierer& operator=(const PngKodierer&) = delete;

  bool Beginnen(int32_t width, int32_t height, int32_t dpi) {
    if (png_ == nullptr || info_ == nullptr) return false;
    if (setjmp(png_jmpbuf(png_))) return false;
    png_set_write_fn(png_, &ziel_, &DatenSchreiben, &Leeren);
    png_set_compression_level(png_, kKompression);
    png_set_compression_buffer_size(png_, kChunkBytes);
    png_set_IHDR(png_, info_, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 kBitsJeKanal, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (dpi > 0) {
      const auto ppm = static_cast<png_uint_32>(std::lround(dpi * kZollProMeter));
      png_set_pHYs(png_, info_, ppm, ppm, PNG_RESOLUTION_METER);
    }
    png_write_info(png_, info_);
    // The working format's rows go in as they are: blue first, and a fourth byte that
    // the library drops.
    png_set_bgr(png_);
    png_set_filler(png_, 0, PNG_FILLER_AFTER);
    return true;
  }

  bool Zeilen(png_bytepp zeilen, png_uint_32 anzahl) {
    if (setjmp(png_jmpbuf(png_))) return false;
    png_write_rows(png_, zeilen, anzahl);
    return true;
  }

  bool Beenden() {
    if (setjmp(png_jmpbuf(png_))) return false;
    png_write_end(png_, nullptr);
    return true;
  }

  // The sink's own error when it failed, else the writer's message.
  [[noreturn]] void Scheitern() {
    if (ziel_.fehler) std::rethrow_exception(ziel_.fehler);
    throw WriteError(_(kPngSchreibFehler));
  }

 private:
  [[noreturn]] static void Fehler(png_structp png, png_const_charp) { png_longjmp(png, 1); }
  static void Warnung(png_structp, png_const_charp) {}

  Ziel ziel_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

// The library only reads input rows, but its row type is not const.
png_bytep Zeile(const uint8_t* row) {
  return const_cast<png_bytep>(row);
}

}  // namespace

void WritePng(ByteSink& sink, StreifenQuelle& quelle, int32_t dpi) {
  const int32_t width = quelle.width();
  const int32_t height = quelle.height();
  PngKodierer kodierer(sink);
  if (width <= 0 || height <= 0 || !kodierer.Beginnen(width, height, dpi)) kodierer.Scheitern();
  std::vector<png_bytep> zeilen(kStreifenZeilen);
  for (int32_t first = 0; first < height; first += kStreifenZeilen) {
    const Zeilen streifen = quelle.Streifen(first, std::min(kStreifenZeilen, height - first));
    for (int32_t i = 0; i < streifen.count; ++i) zeilen[i] = Zeile(streifen.row(i));
    if (!kodierer.Zeilen(zeilen.data(), static_cast<png_uint_32>(streifen.count))) {
      kodierer.Scheitern();
    }
  }
  if (!kodierer.Beenden()) kodierer.Scheitern();
}

void WritePngFile(StreifenQuelle& quelle, const std::string& fileName, int32_t dpi) {
  AtomicFile file(fileName);
  AtomicFileSink sink(file);
  WritePng(sink, quelle, dpi);
  quelle.VorDemErsetzen();
  file.Commit();
}

uint64_t PngHoechstBytes(int32_t width, int32_t height) {
  // Each row starts with its filter byte.
  const uint64_t roh = (static_cast<uint64_t>(std::max(width, 0)) * kFarbBytes + 1) *
                       static_cast<uint64_t>(std::max(height, 0));
  return roh + roh / kZuschlagTeiler + kKopfZuschlag;
}

}  // namespace tilvendo
