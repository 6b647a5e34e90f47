#include "pictures/png_writer.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <exception>
#include <vector>

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

  bool Beginnen(int32_t width, int32_t height, double dpi, double dpiY) {
    if (png_ == nullptr || info_ == nullptr) return false;
    if (setjmp(png_jmpbuf(png_))) return false;
    png_set_write_fn(png_, &ziel_, &DatenSchreiben, &Leeren);
    png_set_compression_level(png_, kKompression);
    png_set_compression_buffer_size(png_, kChunkBytes);
    png_set_IHDR(png_, info_, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 kBitsJeKanal, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (dpi > 0) {
      const auto jeMeter = [](double d) {
        return static_cast<png_uint_32>(std::lround(d * kZollProMeter));
      };
      png_set_pHYs(png_, info_, jeMeter(dpi), jeMeter(dpiY), PNG_RESOLUTION_METER);
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

namespace {

class PngWriter final : public Bildschreiber {
 public:
  PngWriter(ByteSink& sink, const Bildbeschreibung& d) : kodierer_(sink) {
    if (d.breite <= 0 || d.hoehe <= 0 ||
        !kodierer_.Beginnen(d.breite, d.hoehe, d.dpi, DpiSenkrecht(d))) {
      kodierer_.Scheitern();
    }
  }

  void Schreiben(const Zeilen& streifen) override {
    zeilen_.resize(static_cast<size_t>(std::max(streifen.anzahl, 0)));
    for (int32_t i = 0; i < streifen.anzahl; ++i) {
      zeilen_[static_cast<size_t>(i)] = Zeile(streifen.Zeile(i));
    }
    if (!kodierer_.Zeilen(zeilen_.data(), static_cast<png_uint_32>(streifen.anzahl))) {
      kodierer_.Scheitern();
    }
  }

  void Beenden() override {
    if (!kodierer_.Beenden()) kodierer_.Scheitern();
  }

 private:
  PngKodierer kodierer_;
  std::vector<png_bytep> zeilen_;
};

}  // namespace

std::unique_ptr<Bildschreiber> MakePngWriter(ByteSink& sink, const Bildbeschreibung& description) {
  return std::make_unique<PngWriter>(sink, description);
}

uint64_t PngMaximumBytes(int32_t width, int32_t height) {
  // Each row starts with its filter byte.
  const uint64_t roh = (static_cast<uint64_t>(std::max(width, 0)) * kFarbBytes + 1) *
                       static_cast<uint64_t>(std::max(height, 0));
  return roh + roh / kZuschlagTeiler + kKopfZuschlag;
}

}  // namespace tilvendo
