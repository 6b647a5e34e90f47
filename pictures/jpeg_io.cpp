#include "pictures/jpeg_io.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it, and jerror.h the configuration
// that jpeglib.h brings.
#include <jpeglib.h>

#include <jerror.h>

#include "pictures/jpeg_speicher.h"

namespace tilvendo {
namespace {

constexpr int kGrauKanaele = 1;
constexpr int kFarbKanaele = 3;
constexpr int kAbtastBits = 8;
constexpr int kZeilenProAufruf = 16;

// Warnings after which the library would make up the rest of the picture (grey or garbage
// rows for a cut-off or broken file). Such a picture is refused rather than used half
// invented. Milder warnings (stray bytes between markers, common in camera files) are
// ignored.
bool IstDatenVerloren(int meldung) {
  return meldung == JWRN_HIT_MARKER || meldung == JWRN_HUFF_BAD_CODE ||
         meldung == JWRN_ARITH_BAD_CODE || meldung == JWRN_MUST_RESYNC;
}

// The end of the file reached early: harmless for Huffman-coded data, where the decoder
// reads a few bytes ahead (a file lacking only its end marker runs into its end) and
// reports data that is really missing as a premature end of a segment. The arithmetic
// decoder fills missing data silently, so there the early end itself is the fault.
bool IstDateiendeFehler(const jpeg_decompress_struct& info) {
  return info.arith_code != FALSE;
}

struct DateiSchliessen {
  void operator()(std::FILE* datei) const { std::fclose(datei); }
};
using Datei = std::unique_ptr<std::FILE, DateiSchliessen>;

// libjpeg's decoder for one call. Errors never end the process or print anything: the
// library's error exit jumps back into the method that called it, which returns false.
// Each method establishes its own jump target and keeps only trivially destructible
// locals after it, so the jump skips no destructor.
class JpegDekoder {
 public:
  JpegDekoder() {
    info_.err = jpeg_std_error(&fehler_.manager);
    fehler_.manager.error_exit = &Fehlerausgang;
    fehler_.manager.emit_message = &Meldung;
  }
  ~JpegDekoder() {
    if (angelegt_) jpeg_destroy_decompress(&info_);
  }
  JpegDekoder(const JpegDekoder&) = delete;
  JpegDekoder& operator=(const JpegDekoder&) = delete;

  jpeg_decompress_struct& info() { return info_; }

  bool KopfLesen(std::FILE* datei) {
    if (setjmp(fehler_.sprung)) return false;
    jpeg_create_decompress(&info_);
    angelegt_ = true;
    jpeg_stdio_src(&info_, datei);
    return jpeg_read_header(&info_, TRUE) == JPEG_HEADER_OK;
  }

  // Chooses the output and computes its size; false when libjpeg rejects the choice.
  bool AusgabeWaehlen(J_COLOR_SPACE farbraum, int scale) {
    if (setjmp(fehler_.sprung)) return false;
    info_.out_color_space = farbraum;
    info_.scale_num = 1;
    info_.scale_denom = 1u << scale;
    jpeg_calc_output_dimensions(&info_);
    return true;
  }

  // What the decoder will hold (see JpegDekoderBedarf); false when the library objects.
  bool BedarfErmitteln(uint64_t& bytes) {
    if (setjmp(fehler_.sprung)) return false;
    bytes = JpegDekoderBedarf(&info_);
    return true;
  }

  // Decodes every row straight into the picture's rows.
  bool ZeilenLesen(Bitmap& bild) {
    if (setjmp(fehler_.sprung)) return false;
    if (!jpeg_start_decompress(&info_)) return false;
    JSAMPROW zeilen[kZeilenProAufruf];
    while (info_.output_scanline < info_.output_height) {
      const JDIMENSION erste = info_.output_scanline;
      JDIMENSION anzahl = info_.output_height - erste;
      if (anzahl > kZeilenProAufruf) anzahl = kZeilenProAufruf;
      for (JDIMENSION i = 0; i < anzahl; ++i) {
        zeilen[i] = bild.row(static_cast<int32_t>(erste + i));
      }
      if (jpeg_read_scanlines(&info_, zeilen, anzahl) == 0) return false;
    }
    // Not finishing the decompression: a file that lacks only its end marker still gave
    // every row, and the destructor releases everything either way.
    return true;
  }

  // Decodes strip by strip into `streifen` (kZeilenProAufruf rows of `zeilenBytes`) and
  // hands every row on.
  bool ZeilenWeitergeben(uint8_t* streifen, size_t zeilenBytes, ZeilenEmpfaenger& empfaenger) {
    if (setjmp(fehler_.sprung)) return false;
    if (!jpeg_start_decompress(&info_)) return false;
    JSAMPROW zeilen[kZeilenProAufruf];
    for (int i = 0; i < kZeilenProAufruf; ++i) zeilen[i] = streifen + i * zeilenBytes;
    while (info_.output_scanline < info_.output_height) {
      const JDIMENSION erste = info_.output_scanline;
      const JDIMENSION anzahl = jpeg_read_scanlines(&info_, zeilen, kZeilenProAufruf);
      if (anzahl == 0) return false;
      for (JDIMENSION i = 0; i < anzahl; ++i) {
        const auto y = static_cast<int32_t>(erste + i);
        if (empfaenger.BrauchtZeile(y)) empfaenger.Zeile(y, zeilen[i]);
      }
    }
    return true;
  }

 private:
  struct Fehler {
    jpeg_error_mgr manager;  // first, so the library's pointer is also ours
    std::jmp_buf sprung;
  };

  [[noreturn]] static void Fehlerausgang(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Fehler*>(info->err)->sprung, 1);
  }

  static void Meldung(j_common_ptr info, int stufe) {
    constexpr int kWarnung = -1;
    if (stufe != kWarnung) return;  // trace messages
    const int meldung = info->err->msg_code;
    if (IstDatenVerloren(meldung)) Fehlerausgang(info);
    if (meldung == JWRN_JPEG_EOF && IstDateiendeFehler(*reinterpret_cast<j_decompress_ptr>(info))) {
      Fehlerausgang(info);
    }
  }

  jpeg_decompress_struct info_{};
  Fehler fehler_{};
  bool angelegt_ = false;
};

int KanaeleVon(PixelFormat format) {
  switch (format) {
    case PixelFormat::k8:
      return kGrauKanaele;
    case PixelFormat::k24:
      return kFarbKanaele;
    default:
      return 0;
  }
}

// Rounded up, as the decoder's reduction produces it.
JDIMENSION VerkleinerteLaenge(JDIMENSION laenge, int scale) {
  const JDIMENSION teiler = 1u << scale;
  return (laenge + teiler - 1) / teiler;
}

bool IstFarbraumLesbar(const jpeg_decompress_struct& info) {
  if (info.num_components == kGrauKanaele) return info.jpeg_color_space == JCS_GRAYSCALE;
  if (info.num_components == kFarbKanaele) {
    return info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB;
  }
  return false;  // CMYK, YCCK and other multi-channel files
}

// Reads the header and chooses the output: `kanaele` channels at the given reduction.
// False for files that are not 8-bit grey or colour, or whose reduced size would not be
// the rounded-up one.
bool Vorbereiten(JpegDekoder& dekoder, std::FILE* datei, bool mayChangePixelFormat,
                 int kanaeleVorgabe, int scale, int& kanaele) {
  if (!dekoder.KopfLesen(datei)) return false;
  const jpeg_decompress_struct& info = dekoder.info();
  if (info.data_precision != kAbtastBits || !IstFarbraumLesbar(info)) return false;

  kanaele = mayChangePixelFormat ? info.num_components : kanaeleVorgabe;
  if (!dekoder.AusgabeWaehlen(kanaele == kFarbKanaele ? JCS_EXT_BGR : JCS_GRAYSCALE, scale)) {
    return false;
  }
  if (info.output_width != VerkleinerteLaenge(info.image_width, scale) ||
      info.output_height != VerkleinerteLaenge(info.image_height, scale) ||
      info.output_components != kanaele) {
    return false;
  }
  CheckPictureSize(info.output_width, info.output_height);
  return true;
}

bool Dekodieren(std::FILE* datei, Bitmap& bitmap, bool mayChangePixelFormat, int scale) {
  JpegDekoder dekoder;
  int kanaele = 0;
  if (!Vorbereiten(dekoder, datei, mayChangePixelFormat, KanaeleVon(bitmap.format()), scale,
                   kanaele)) {
    return false;
  }
  const jpeg_decompress_struct& info = dekoder.info();
  // A grey picture keeps the grey ramp every new 8-bit bitmap starts with.
  Bitmap bild = Bitmap::Uninitialized(static_cast<int32_t>(info.output_width),
                                      static_cast<int32_t>(info.output_height),
                                      kanaele == kFarbKanaele ? PixelFormat::k24 : PixelFormat::k8);
  if (!dekoder.ZeilenLesen(bild)) return false;

  // The decoder leaves the row padding alone; give it defined contents.
  const size_t nutzBytes = static_cast<size_t>(bild.width()) * static_cast<size_t>(kanaele);
  if (bild.stride() > nutzBytes) {
    for (int32_t y = 0; y < bild.height(); ++y) {
      std::memset(bild.row(y) + nutzBytes, 0, bild.stride() - nutzBytes);
    }
  }
  bitmap = std::move(bild);
  return true;
}

bool Weitergeben(std::FILE* datei, ZeilenEmpfaenger& empfaenger) {
  JpegDekoder dekoder;
  int kanaele = 0;
  constexpr int kVolleGroesse = 0;
  if (!Vorbereiten(dekoder, datei, false, kFarbKanaele, kVolleGroesse, kanaele)) return false;
  jpeg_decompress_struct& info = dekoder.info();
  const size_t zeilenBytes = static_cast<size_t>(info.output_width) * kFarbKanaele;
  uint64_t dekoderBytes = 0;
  if (!dekoder.BedarfErmitteln(dekoderBytes)) return false;
  Zeilenformat format;
  format.breite = static_cast<int32_t>(info.output_width);
  format.hoehe = static_cast<int32_t>(info.output_height);
  format.bytesJePixel = kFarbKanaele;
  format.leserBytes = dekoderBytes + zeilenBytes * kZeilenProAufruf;
  if (!empfaenger.Groesse(format)) return false;
  JpegDekoderBegrenzen(&info, dekoderBytes);
  std::vector<uint8_t> streifen(zeilenBytes * kZeilenProAufruf);
  return dekoder.ZeilenWeitergeben(streifen.data(), zeilenBytes, empfaenger);
}

}  // namespace

bool ReadJpegFile(Bitmap& bitmap, const std::string& fileName, bool mayChangePixelFormat,
                  int scale) {
  if (scale < 0 || scale > kJpegScaleMax) return false;
  if (KanaeleVon(bitmap.format()) == 0 && !mayChangePixelFormat) return false;
  return FalseIfTooLarge([&] {
    const Datei datei(std::fopen(fileName.c_str(), "rbe"));
    return datei && Dekodieren(datei.get(), bitmap, mayChangePixelFormat, scale);
  });
}

bool ReadJpegRows(const std::string& fileName, ZeilenEmpfaenger& empfaenger) {
  return FalseIfTooLarge([&] {
    const Datei datei(std::fopen(fileName.c_str(), "rbe"));
    return datei && Weitergeben(datei.get(), empfaenger);
  });
}

std::optional<Size> ReadJpegSize(const std::string& fileName) {
  const Datei datei(std::fopen(fileName.c_str(), "rbe"));
  if (!datei) return std::nullopt;
  JpegDekoder dekoder;
  if (!dekoder.KopfLesen(datei.get())) return std::nullopt;
  const jpeg_decompress_struct& info = dekoder.info();
  return Size{static_cast<int32_t>(info.image_width), static_cast<int32_t>(info.image_height)};
}

}  // namespace tilvendo
