#include "pictures/jpeg_writer.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>

#include "pictures/jpeg_fehlerbehandlung.h"
#include "platform/translate.h"

#include <jerror.h>

namespace tilvendo {
namespace {

constexpr size_t kZielPufferBytes = 64 * 1024;
constexpr int kKanaeleFarbe = 3;
constexpr int kKanaeleArbeitsformat = 4;
constexpr UINT8 kDichteJeZoll = 1;  // JFIF density unit: dots per inch
constexpr double kGroessteDichte = 65535;
constexpr double kKeineAufloesung = 0;

// The library's output buffer, emptied into a ByteSink whenever it is full.
struct SinkZiel {
  jpeg_destination_mgr mgr{};  // first member: the library hands back its address
  ByteSink* sink = nullptr;
  std::exception_ptr fehler;  // what the sink raised, passed on once the library is left
  JOCTET puffer[kZielPufferBytes];
};

SinkZiel* ZielVon(j_compress_ptr info) {
  return reinterpret_cast<SinkZiel*>(info->dest);
}

// Hands bytes to the sink; an exception must not cross the library's C frames, so it is
// kept for later and only whether that worked is reported.
bool Abgeben(SinkZiel* ziel, size_t bytes) noexcept {
  try {
    ziel->sink->Write(ziel->puffer, bytes);
    return true;
  } catch (...) {
    ziel->fehler = std::current_exception();
    return false;
  }
}

void ZielBeginnen(j_compress_ptr info) {
  SinkZiel* ziel = ZielVon(info);
  ziel->mgr.next_output_byte = ziel->puffer;
  ziel->mgr.free_in_buffer = kZielPufferBytes;
}

boolean ZielVoll(j_compress_ptr info) {
  SinkZiel* ziel = ZielVon(info);
  if (!Abgeben(ziel, kZielPufferBytes)) ERREXIT(info, JERR_FILE_WRITE);
  ZielBeginnen(info);
  return TRUE;
}

void ZielEnde(j_compress_ptr info) {
  SinkZiel* ziel = ZielVon(info);
  const size_t bytes = kZielPufferBytes - ziel->mgr.free_in_buffer;
  if (bytes > 0 && !Abgeben(ziel, bytes)) ERREXIT(info, JERR_FILE_WRITE);
}

// Owns the library object; destroying a never-created (zeroed) object is harmless.
struct Kodierer {
  jpeg_compress_struct info{};
  JpegFehlerbehandlung fehler;
  std::unique_ptr<SinkZiel> ziel = std::make_unique<SinkZiel>();
  ~Kodierer() { jpeg_destroy_compress(&info); }
};

// The three steps that call the library, each catching its errors with its own setjmp.
bool Beginnen(Kodierer& k, int32_t width, int32_t height, J_COLOR_SPACE eingabe, int kanaele,
              int quality, double dpi, double dpiY) {
  k.info.err = StilleFehlerbehandlung(k.fehler);
  if (setjmp(k.fehler.sprung)) return false;
  jpeg_create_compress(&k.info);
  k.ziel->mgr.init_destination = ZielBeginnen;
  k.ziel->mgr.empty_output_buffer = ZielVoll;
  k.ziel->mgr.term_destination = ZielEnde;
  k.info.dest = &k.ziel->mgr;
  k.info.image_width = static_cast<JDIMENSION>(width);
  k.info.image_height = static_cast<JDIMENSION>(height);
  k.info.input_components = kanaele;
  k.info.in_color_space = eingabe;
  jpeg_set_defaults(&k.info);
  jpeg_set_colorspace(&k.info, JCS_YCbCr);
  jpeg_set_quality(&k.info, quality, TRUE);
  if (dpi > 0) {
    k.info.density_unit = kDichteJeZoll;
    // Whole dots per inch only: a poster's print may differ from its paper by up to half
    // a dot in its resolution, 2.5 mm a metre at 200 dpi.
    k.info.X_density = static_cast<UINT16>(std::lround(std::min(dpi, kGroessteDichte)));
    k.info.Y_density = static_cast<UINT16>(std::lround(std::min(dpiY, kGroessteDichte)));
  }
  jpeg_start_compress(&k.info, TRUE);
  return true;
}

bool ZeilenSchreiben(Kodierer& k, JSAMPROW* zeilen, JDIMENSION anzahl) {
  if (setjmp(k.fehler.sprung)) return false;
  JDIMENSION geschrieben = 0;
  while (geschrieben < anzahl) {
    const JDIMENSION n = jpeg_write_scanlines(&k.info, zeilen + geschrieben, anzahl - geschrieben);
    if (n == 0) return false;
    geschrieben += n;
  }
  return true;
}

bool KodierungBeenden(Kodierer& k) {
  if (setjmp(k.fehler.sprung)) return false;
  jpeg_finish_compress(&k.info);
  return true;
}

// After a step of the library failed: the sink's own error when it was the sink that
// failed, else the encoder's.
[[noreturn]] void Scheitern(const Kodierer& k) {
  if (k.ziel->fehler) std::rethrow_exception(k.ziel->fehler);
  throw WriteError(_(kJpegSchreibFehler));
}

// Encodes a width × height picture whose rows `geber(first, count, zeilen)` points to,
// strip by strip from the top.
template <typename Geber>
void Kodieren(ByteSink& sink, int32_t width, int32_t height, J_COLOR_SPACE eingabe, int kanaele,
              int quality, double dpi, Geber geber) {
  Kodierer k;
  k.ziel->sink = &sink;
  if (!Beginnen(k, width, height, eingabe, kanaele,
                std::clamp(quality, kJpegQualitaetMin, kJpegQualitaetMax), dpi, dpi)) {
    Scheitern(k);
  }
  std::vector<JSAMPROW> zeilen(kStreifenZeilen);
  for (int32_t first = 0; first < height; first += kStreifenZeilen) {
    const int32_t anzahl = std::min(kStreifenZeilen, height - first);
    geber(first, anzahl, zeilen.data());
    if (!ZeilenSchreiben(k, zeilen.data(), static_cast<JDIMENSION>(anzahl))) Scheitern(k);
  }
  if (!KodierungBeenden(k)) Scheitern(k);
}

// The library only reads input rows, but its row type is not const.
JSAMPROW Zeile(const uint8_t* row) {
  return const_cast<JSAMPROW>(row);
}

}  // namespace

void WriteJpeg(ByteSink& sink, const Bitmap& bitmap, int quality) {
  if (bitmap.format() == PixelFormat::k24) {
    Kodieren(sink, bitmap.width(), bitmap.height(), JCS_EXT_BGR, kKanaeleFarbe, quality,
             kKeineAufloesung, [&](int32_t first, int32_t anzahl, JSAMPROW* zeilen) {
               for (int32_t i = 0; i < anzahl; ++i) zeilen[i] = Zeile(bitmap.row(first + i));
             });
    return;
  }
  if (bitmap.format() == PixelFormat::k8) {
    // Indices are looked up in the palette rather than taken for grey levels, so a
    // picture with a colour palette keeps its colours.
    const size_t stride = RowStride(bitmap.width(), PixelFormat::k24);
    std::vector<uint8_t> puffer(stride * kStreifenZeilen);
    const Palette& palette = bitmap.palette();
    Kodieren(sink, bitmap.width(), bitmap.height(), JCS_EXT_BGR, kKanaeleFarbe, quality,
             kKeineAufloesung, [&](int32_t first, int32_t anzahl, JSAMPROW* zeilen) {
               for (int32_t i = 0; i < anzahl; ++i) {
                 const uint8_t* indices = bitmap.row(first + i);
                 uint8_t* out = puffer.data() + stride * i;
                 for (int32_t x = 0; x < bitmap.width(); ++x) {
                   const PaletteEntry& e = palette[indices[x]];
                   out[3 * x] = e.blue;
                   out[3 * x + 1] = e.green;
                   out[3 * x + 2] = e.red;
                 }
                 zeilen[i] = puffer.data() + stride * i;
               }
             });
    return;
  }
  throw JpegFormatError();
}

namespace {

// Working-format rows go to the encoder as they are; it skips the fourth byte itself,
// which spares a 24-bit copy of every strip.
class JpegWriter final : public Bildschreiber {
 public:
  JpegWriter(ByteSink& sink, const Bildbeschreibung& d) {
    k_.ziel->sink = &sink;
    if (!Beginnen(k_, d.breite, d.hoehe, JCS_EXT_BGRX, kKanaeleArbeitsformat,
                  std::clamp(d.qualitaet, kJpegQualitaetMin, kJpegQualitaetMax), d.dpi,
                  DpiSenkrecht(d))) {
      Scheitern(k_);
    }
  }

  void Schreiben(const Zeilen& streifen) override {
    zeilen_.resize(static_cast<size_t>(std::max(streifen.anzahl, 0)));
    for (int32_t i = 0; i < streifen.anzahl; ++i) {
      zeilen_[static_cast<size_t>(i)] = Zeile(streifen.Zeile(i));
    }
    if (!ZeilenSchreiben(k_, zeilen_.data(), static_cast<JDIMENSION>(streifen.anzahl))) {
      Scheitern(k_);
    }
  }

  void Beenden() override {
    if (!KodierungBeenden(k_)) Scheitern(k_);
  }

 private:
  Kodierer k_;
  std::vector<JSAMPROW> zeilen_;
};

}  // namespace

std::unique_ptr<Bildschreiber> MakeJpegWriter(ByteSink& sink, const Bildbeschreibung& description) {
  return std::make_unique<JpegWriter>(sink, description);
}

void WriteJpegFile(const Bitmap& bitmap, const std::string& fileName, int quality) {
  if (bitmap.format() != PixelFormat::k8 && bitmap.format() != PixelFormat::k24) {
    throw JpegFormatError();
  }
  // A file that cannot be created, filled or put in place is reported with the file's
  // own message, which names it and says why where that is known.
  AtomicFile file(fileName);
  AtomicFileSink sink(file);
  WriteJpeg(sink, bitmap, quality);
  file.Commit();
}

std::vector<uint8_t> EncodeJpeg(const Bitmap& bitmap, int quality) {
  MemorySink sink;
  WriteJpeg(sink, bitmap, quality);
  return sink.take();
}

}  // namespace tilvendo
