#include "pictures/jpeg_io.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "pictures/exif_ausrichtung.h"
#include "pictures/ganzes_bild.h"
#include "pictures/jpeg_fehlerbehandlung.h"
#include "pictures/jpeg_speicher.h"
#include "pictures/zeilen_umwandeln.h"

namespace tilvendo {
namespace {

constexpr int kGrauKanaele = 1;
constexpr int kFarbKanaele = 3;
constexpr int kDruckKanaele = 4;  // cyan, magenta, yellow, black
constexpr int kAbtastBits = 8;
constexpr int kZeilenProAufruf = 16;
// Exif data lies in the first APP1 segment that starts so; a segment holds up to 64 KiB.
constexpr unsigned int kExifSegment = JPEG_APP0 + 1;
constexpr unsigned int kSegmentMax = 0xFFFF;

struct DateiSchliessen {
  void operator()(std::FILE* datei) const { std::fclose(datei); }
};
using Datei = std::unique_ptr<std::FILE, DateiSchliessen>;

// libjpeg's decoder for one call. Errors and lost data never end the process or print
// anything: the library's error exit jumps back into the method that called it, which
// returns false.
// Each method establishes its own jump target and keeps only trivially destructible
// locals after it, so the jump skips no destructor.
class JpegDekoder {
 public:
  JpegDekoder() { info_.err = StilleFehlerbehandlung(fehler_); }
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
    jpeg_save_markers(&info_, kExifSegment, kSegmentMax);
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
  // hands every wanted row on; rows of ink are first turned into colour in `bgr`.
  bool ZeilenWeitergeben(uint8_t* streifen, size_t zeilenBytes, uint8_t* bgr,
                         ZeilenEmpfaenger& empfaenger) {
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
        if (!empfaenger.BrauchtZeile(y)) continue;
        if (info_.out_color_space == JCS_CMYK) {
          CmykZuBgr(zeilen[i], bgr, static_cast<int32_t>(info_.output_width),
                    info_.saw_Adobe_marker != FALSE);
          empfaenger.Zeile(y, bgr);
        } else {
          empfaenger.Zeile(y, zeilen[i]);
        }
      }
    }
    return true;
  }

 private:
  jpeg_decompress_struct info_{};
  JpegFehlerbehandlung fehler_;
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

bool IstDruckfarben(const jpeg_decompress_struct& info) {
  return info.num_components == kDruckKanaele &&
         (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK);
}

bool IstFarbraumLesbar(const jpeg_decompress_struct& info) {
  if (info.num_components == kGrauKanaele) return info.jpeg_color_space == JCS_GRAYSCALE;
  if (info.num_components == kFarbKanaele) {
    return info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB;
  }
  return IstDruckfarben(info);  // other multi-channel files are not read
}

// The orientation of the first Exif segment that has one.
Ausrichtung AusrichtungVon(const jpeg_decompress_struct& info) {
  for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr; marker = marker->next) {
    if (marker->marker != kExifSegment) continue;
    const std::optional<Ausrichtung> ausrichtung =
        ExifAusrichtung(std::span<const uint8_t>(marker->data, marker->data_length));
    if (ausrichtung) return *ausrichtung;
  }
  return Ausrichtung::Normal;
}

// The greatest reduction that still gives at least `mindestens`.
int Verkleinerung(const jpeg_decompress_struct& info, Size mindestens) {
  int scale = 0;
  while (scale < kJpegScaleMax &&
         VerkleinerteLaenge(info.image_width, scale + 1) >=
             static_cast<JDIMENSION>(std::max(mindestens.width, 1)) &&
         VerkleinerteLaenge(info.image_height, scale + 1) >=
             static_cast<JDIMENSION>(std::max(mindestens.height, 1))) {
    ++scale;
  }
  return scale;
}

// After the header: chooses the output, `kanaele` channels at the given reduction
// (files of ink come as four channels and are turned into colour as the rows go by).
// False for files that are not 8-bit grey, colour or ink, for ink into grey, and when the
// reduced size would not be the rounded-up one.
bool Vorbereiten(JpegDekoder& dekoder, bool mayChangePixelFormat, int kanaeleVorgabe, int scale,
                 int& kanaele) {
  const jpeg_decompress_struct& info = dekoder.info();
  if (info.data_precision != kAbtastBits || !IstFarbraumLesbar(info)) return false;

  const bool druck = IstDruckfarben(info);
  kanaele = mayChangePixelFormat ? (druck ? kFarbKanaele : info.num_components) : kanaeleVorgabe;
  if (druck && kanaele != kFarbKanaele) return false;
  const J_COLOR_SPACE farbraum =
      druck ? JCS_CMYK : (kanaele == kFarbKanaele ? JCS_EXT_BGR : JCS_GRAYSCALE);
  if (!dekoder.AusgabeWaehlen(farbraum, scale)) return false;
  if (info.output_width != VerkleinerteLaenge(info.image_width, scale) ||
      info.output_height != VerkleinerteLaenge(info.image_height, scale) ||
      info.output_components != (druck ? kDruckKanaele : kanaele)) {
    return false;
  }
  CheckPictureSize(info.output_width, info.output_height);
  return true;
}

// After Vorbereiten: hands the rows to `empfaenger`, the decoder held to what it announces.
bool Weitergeben(JpegDekoder& dekoder, ZeilenEmpfaenger& empfaenger, Ausrichtung ausrichtung) {
  jpeg_decompress_struct& info = dekoder.info();
  const size_t zeilenBytes = static_cast<size_t>(info.output_width) * info.output_components;
  const size_t bgrBytes = static_cast<size_t>(info.output_width) * kFarbKanaele;
  uint64_t dekoderBytes = 0;
  if (!dekoder.BedarfErmitteln(dekoderBytes)) return false;
  Zeilenformat format;
  format.breite = static_cast<int32_t>(info.output_width);
  format.hoehe = static_cast<int32_t>(info.output_height);
  format.bytesJePixel = kFarbKanaele;
  format.leserBytes = dekoderBytes + zeilenBytes * kZeilenProAufruf + bgrBytes;
  format.ausrichtung = ausrichtung;
  // Each delivered pixel is one of the reduction's blocks, the last ones reaching past the
  // picture's edge.
  format.abgedeckt = Size{static_cast<int32_t>(info.output_width * info.scale_denom),
                          static_cast<int32_t>(info.output_height * info.scale_denom)};
  if (!empfaenger.Groesse(format)) return false;
  JpegDekoderBegrenzen(&info, dekoderBytes);
  std::vector<uint8_t> streifen(zeilenBytes * kZeilenProAufruf);
  std::vector<uint8_t> bgr(bgrBytes);
  return dekoder.ZeilenWeitergeben(streifen.data(), zeilenBytes, bgr.data(), empfaenger);
}

bool Dekodieren(std::FILE* datei, Bitmap& bitmap, bool mayChangePixelFormat, int scale,
                MemoryBudget& budget) {
  JpegDekoder dekoder;
  int kanaele = 0;
  if (!dekoder.KopfLesen(datei) ||
      !Vorbereiten(dekoder, mayChangePixelFormat, KanaeleVon(bitmap.format()), scale, kanaele)) {
    return false;
  }
  jpeg_decompress_struct& info = dekoder.info();
  if (IstDruckfarben(info)) {
    // Ink is turned into colour row by row, as stored: upright turning is the caller's.
    GanzesBild ganz(/*aufrichten=*/false, budget);
    if (!Weitergeben(dekoder, ganz, Ausrichtung::Normal)) return false;
    bitmap = std::move(ganz.bild());
    return true;
  }
  const PixelFormat format = kanaele == kFarbKanaele ? PixelFormat::k24 : PixelFormat::k8;
  uint64_t dekoderBytes = 0;
  if (!dekoder.BedarfErmitteln(dekoderBytes)) return false;
  const uint64_t bildBytes =
      static_cast<uint64_t>(RowStride(static_cast<int32_t>(info.output_width), format)) *
      info.output_height;
  const std::optional<MemoryBudget::Reservation> reservierung =
      budget.Reserve(dekoderBytes + bildBytes);
  if (!reservierung) return false;
  JpegDekoderBegrenzen(&info, dekoderBytes);
  // A grey picture keeps the grey ramp every new 8-bit bitmap starts with.
  Bitmap bild = Bitmap::Uninitialized(static_cast<int32_t>(info.output_width),
                                      static_cast<int32_t>(info.output_height), format);
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
  if (!dekoder.KopfLesen(datei)) return false;
  const jpeg_decompress_struct& info = dekoder.info();
  const Ausrichtung ausrichtung = AusrichtungVon(info);
  const Size voll{static_cast<int32_t>(info.image_width), static_cast<int32_t>(info.image_height)};
  const int scale = Verkleinerung(info, empfaenger.Mindestgroesse(voll, ausrichtung));
  int kanaele = 0;
  return Vorbereiten(dekoder, false, kFarbKanaele, scale, kanaele) &&
         Weitergeben(dekoder, empfaenger, ausrichtung);
}

}  // namespace

bool ReadJpegFile(Bitmap& bitmap, const std::string& fileName, bool mayChangePixelFormat, int scale,
                  MemoryBudget& budget) {
  if (scale < 0 || scale > kJpegScaleMax) return false;
  if (KanaeleVon(bitmap.format()) == 0 && !mayChangePixelFormat) return false;
  return FalseIfTooLarge([&] {
    const Datei datei(std::fopen(fileName.c_str(), "rbe"));
    return datei && Dekodieren(datei.get(), bitmap, mayChangePixelFormat, scale, budget);
  });
}

bool ReadJpegFile(Bitmap& bitmap, const std::string& fileName, bool mayChangePixelFormat,
                  int scale) {
  MemoryBudget budget(MemoryBudget::ForThisMachine());
  return ReadJpegFile(bitmap, fileName, mayChangePixelFormat, scale, budget);
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
