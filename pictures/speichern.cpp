#include "pictures/speichern.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "pictures/blending.h"
#include "pictures/bmp_writer.h"
#include "pictures/byte_sink.h"
#include "pictures/farbreduktion.h"
#include "pictures/groessen_schaetzung.h"
#include "pictures/jpeg_memory_reader.h"
#include "pictures/jpeg_writer.h"
#include "pictures/png_writer.h"
#include "pictures/tiff_writer.h"
#include "platform/atomic_file.h"
#include "platform/fit_to_box.h"
#include "platform/paths.h"
#include "platform/rounding.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

// Room the BMP estimate allows for headers and palette.
constexpr int64_t kBmpKopfReserve = 2048;

// Rows of the mosaic at full size that the PNG estimate encodes: enough to hold whole
// tiles of any usual size, few enough to take a moment.
constexpr int32_t kPngProbenZeilen = 128;

// Rows `anfang` … `anfang + hoehe − 1` of another source, as a picture of their own.
class Zeilenausschnitt final : public StreifenQuelle {
 public:
  Zeilenausschnitt(StreifenQuelle& quelle, int32_t anfang, int32_t hoehe)
      : quelle_(quelle), anfang_(anfang), hoehe_(hoehe) {}
  int32_t width() const override { return quelle_.width(); }
  int32_t height() const override { return hoehe_; }
  Zeilen Streifen(int32_t first, int32_t count) override {
    return quelle_.Streifen(anfang_ + first, count);
  }

 private:
  StreifenQuelle& quelle_;
  int32_t anfang_;
  int32_t hoehe_;
};

// A PNG's size from `probe`, a sample at full size of a picture of `pixel` pixels: its
// bytes per pixel carried over, within what a file of that size can take.
int64_t PngHochrechnen(StreifenQuelle& probe, int32_t breite, int32_t hoehe) {
  const int64_t probenPixel = int64_t{probe.width()} * probe.height();
  if (probenPixel <= 0) return 0;
  MemorySink kodiert;
  WritePng(kodiert, probe);
  const double jePixel = static_cast<double>(kodiert.bytes().size()) / probenPixel;
  return std::min(RoundHalfEven(jePixel * static_cast<double>(int64_t{breite} * hoehe)),
                  static_cast<int64_t>(PngHoechstBytes(breite, hoehe)));
}

// A PNG's size, from a band across the middle of the blended mosaic at full size: its
// compression depends on the detail at that size, which a reduced preview overstates.
int64_t PngSchaetzung(const Bitmap& vorlage, const Bitmap& mosaik, uint8_t a) {
  UeberblendeteStreifen ganz(mosaik, vorlage, a);
  const int32_t zeilen = std::min(kPngProbenZeilen, mosaik.height());
  Zeilenausschnitt band(ganz, (mosaik.height() - zeilen) / 2, zeilen);
  return PngHochrechnen(band, mosaik.width(), mosaik.height());
}

int32_t Qualitaet(uint8_t qualitaet) {
  return std::clamp<int32_t>(qualitaet, kJpegQualitaetMin, kJpegQualitaetMax);
}

// Bytes per pixel of a JPEG of pure noise, the hardest picture to compress, by quality
// (measured with the same encoder and rounded up); qualities in between are
// interpolated.
struct JpegRauschen {
  int32_t qualitaet;
  double bytesJePixel;
};
constexpr std::array<JpegRauschen, 9> kJpegRauschen{{{1, 0.05},
                                                     {10, 0.1},
                                                     {30, 0.3},
                                                     {50, 0.42},
                                                     {75, 0.62},
                                                     {85, 0.78},
                                                     {90, 0.92},
                                                     {95, 1.2},
                                                     {100, 2.0}}};
constexpr uint64_t kJpegKopfBytes = 4096;

double JpegBytesJePixel(int32_t qualitaet) {
  for (size_t i = 1; i < kJpegRauschen.size(); ++i) {
    const JpegRauschen& oben = kJpegRauschen[i];
    if (qualitaet > oben.qualitaet) continue;
    const JpegRauschen& unten = kJpegRauschen[i - 1];
    const double anteil = static_cast<double>(qualitaet - unten.qualitaet) /
                          static_cast<double>(oben.qualitaet - unten.qualitaet);
    return unten.bytesJePixel + anteil * (oben.bytesJePixel - unten.bytesJePixel);
  }
  return kJpegRauschen.back().bytesJePixel;
}

// `vorschau`: the blended picture fitted into the box, as it will look in the file
// (reduced to the BMP depth, or encoded as JPEG and decoded back so the artefacts show).
// `speicherVorschau` caches the blended picture between calls. False, with `vorschau`
// empty, for an empty box or mosaic.
bool VorschauMachen(const Bitmap& vorlage, const Bitmap& mosaik, uint8_t a, int32_t boxBreite,
                    int32_t boxHoehe, const SpeicherOptionen& optionen, Bitmap& speicherVorschau,
                    Bitmap& vorschau) {
  const Size groesse = FitToBox(mosaik.width(), mosaik.height(), boxBreite, boxHoehe);
  if (groesse.width <= 0 || groesse.height <= 0) {
    vorschau = Bitmap();
    return false;
  }
  Bitmap arbeit;
  if (speicherVorschau.width() == groesse.width && speicherVorschau.height() == groesse.height &&
      speicherVorschau.format() == kPixelformat) {
    arbeit = speicherVorschau.Clone();
  } else {
    arbeit = Bitmap(groesse.width, groesse.height, kPixelformat);
    BlendTemplateIntoMosaic(arbeit, mosaik, vorlage, a);
    speicherVorschau = arbeit.Clone();
  }
  switch (optionen.Format) {
    case kFormatBmp:
      vorschau = InFormatWandeln(arbeit, BmpPixelFormat(optionen.Farbtiefe));
      return true;
    case kFormatJpeg: {
      // Encoded in memory and decoded back: the preview shows the real artefacts, and
      // no file in a shared folder can be planted or overwritten.
      MemorySink kodiert;
      BitmapStreifen quelle(arbeit);
      WriteJpeg(kodiert, quelle, Qualitaet(optionen.Qualitaet));
      if (!ReadJpegMemory(vorschau, kodiert.bytes().data(), kodiert.bytes().size(),
                          /*mayChangePixelFormat=*/true, /*scale=*/0)) {
        throw std::runtime_error(_("Die JPEG-Vorschau konnte nicht gelesen werden"));
      }
      return true;
    }
    default:
      // Lossless, or a format without a preview of its own: the picture itself.
      vorschau = std::move(arbeit);
      return true;
  }
}

}  // namespace

void ForceSaveExtension(uint8_t format, std::string& dateiname) {
  if (format >= kSpeicherFormate.size()) return;
  const std::string endung = kSpeicherFormate[format].endung;
  const char* zweite = kSpeicherFormate[format].zweiteEndung;
  const std::string alt = UpperExtension(dateiname);
  if (alt == UpperExtension(endung)) return;
  if (zweite != nullptr && alt == UpperExtension(zweite)) return;
  dateiname.erase(dateiname.size() - alt.size());
  dateiname += endung;
}

void DateinameUebernehmen(SpeicherOptionen& optionen, const std::string& gewaehlt) {
  std::string name = gewaehlt;
  ForceSaveExtension(optionen.Format, name);
  optionen.Pfad = FolderOf(name);
  optionen.Datei = FileNameOf(name);
}

PixelFormat BmpPixelFormat(uint8_t farbtiefe) {
  switch (farbtiefe) {
    case kFarbtiefe8:
      return PixelFormat::k8;
    case kFarbtiefe16:
      return PixelFormat::k16;
    case kFarbtiefe24:
      return PixelFormat::k24;
    default:
      return PixelFormat::k32;
  }
}

int32_t BmpBytesProPixel(uint8_t farbtiefe) {
  return BytesPerPixel(BmpPixelFormat(farbtiefe));
}

bool MosaikSpeichern(const Bitmap& vorlage, const Bitmap& mosaik, uint8_t a,
                     const SpeicherOptionen& optionen) {
  if (optionen.Format >= kSpeicherFormate.size()) return false;
  const std::string ziel = MitSchraegstrich(optionen.Pfad) + optionen.Datei;
  if (mosaik.empty()) {
    throw WriteError(Format(_("Das Mosaik ist leer, nach {} wurde nichts geschrieben"), ziel));
  }
  UeberblendeteStreifen quelle(mosaik, vorlage, a);
  return BildSchreiben(quelle, optionen);
}

bool BildSchreiben(StreifenQuelle& quelle, const SpeicherOptionen& optionen) {
  const std::string ziel = MitSchraegstrich(optionen.Pfad) + optionen.Datei;
  const int32_t dpi = optionen.Aufloesung;
  switch (optionen.Format) {
    case kFormatBmp:
      WriteBmpFile(quelle, BmpPixelFormat(optionen.Farbtiefe), ziel, dpi);
      return true;
    case kFormatJpeg:
      WriteJpegFile(quelle, ziel, Qualitaet(optionen.Qualitaet), dpi);
      return true;
    case kFormatPng:
      WritePngFile(quelle, ziel, dpi);
      return true;
    case kFormatTiff:
      WriteTiffFile(quelle, ziel, dpi);
      return true;
    default:
      return false;
  }
}

uint64_t DateiHoechstBytes(const SpeicherOptionen& optionen, int32_t width, int32_t height) {
  const uint64_t pixel =
      static_cast<uint64_t>(std::max(width, 0)) * static_cast<uint64_t>(std::max(height, 0));
  switch (optionen.Format) {
    case kFormatBmp:
      return BmpDateiBytes(width, height, BmpPixelFormat(optionen.Farbtiefe));
    case kFormatJpeg:
      return static_cast<uint64_t>(std::ceil(static_cast<double>(pixel) *
                                             JpegBytesJePixel(Qualitaet(optionen.Qualitaet)))) +
             kJpegKopfBytes;
    case kFormatPng:
      return PngHoechstBytes(width, height);
    case kFormatTiff:
      return TiffHoechstBytes(width, height);
    default:
      return 0;
  }
}

int64_t MakeSavePreview(const Bitmap& vorlage, const Bitmap& mosaik, uint8_t a, int32_t boxBreite,
                        int32_t boxHoehe, const SpeicherOptionen& optionen,
                        Bitmap& speicherVorschau, Bitmap& vorschau) {
  if (!VorschauMachen(vorlage, mosaik, a, boxBreite, boxHoehe, optionen, speicherVorschau,
                      vorschau)) {
    return -1;
  }
  const int64_t mosaikPixel = static_cast<int64_t>(mosaik.width()) * mosaik.height();
  switch (optionen.Format) {
    case kFormatBmp:
      return mosaikPixel * BmpBytesProPixel(optionen.Farbtiefe) + kBmpKopfReserve;
    case kFormatJpeg: {
      // The size comes from the picture at full resolution, which compresses quite
      // differently from its reduction.
      UeberblendeteStreifen voll(mosaik, vorlage, a);
      return JpegGroesseSchaetzen(voll, Qualitaet(optionen.Qualitaet));
    }
    case kFormatPng:
      return PngSchaetzung(vorlage, mosaik, a);
    case kFormatTiff:
      // Every pixel stored as it is: the size is known beforehand.
      return static_cast<int64_t>(TiffHoechstBytes(mosaik.width(), mosaik.height()));
    default:
      return -1;
  }
}

int64_t MakeSavePreviewAusProbe(const Bitmap& vorlage, const Bitmap& anzeige, Size mosaik,
                                StreifenQuelle& probe, uint8_t a, int32_t boxBreite,
                                int32_t boxHoehe, const SpeicherOptionen& optionen,
                                Bitmap& speicherVorschau, Bitmap& vorschau) {
  const int64_t mosaikPixel = static_cast<int64_t>(mosaik.width) * mosaik.height;
  if (mosaikPixel <= 0) {
    vorschau = Bitmap();
    return -1;
  }
  if (!VorschauMachen(vorlage, anzeige, a, boxBreite, boxHoehe, optionen, speicherVorschau,
                      vorschau)) {
    return -1;
  }
  switch (optionen.Format) {
    case kFormatBmp:
      return static_cast<int64_t>(
          BmpDateiBytes(mosaik.width, mosaik.height, BmpPixelFormat(optionen.Farbtiefe)));
    case kFormatJpeg:
      return std::min(
          JpegGroesseHochrechnen(probe, Qualitaet(optionen.Qualitaet), mosaikPixel),
          static_cast<int64_t>(DateiHoechstBytes(optionen, mosaik.width, mosaik.height)));
    case kFormatPng:
      return PngHochrechnen(probe, mosaik.width, mosaik.height);
    case kFormatTiff:
      return static_cast<int64_t>(TiffHoechstBytes(mosaik.width, mosaik.height));
    default:
      return -1;
  }
}

}  // namespace tilvendo
