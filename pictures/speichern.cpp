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

namespace tilvendo {
namespace {

// Room the BMP estimate allows for headers and palette.
constexpr int64_t kBmpKopfReserve = 2048;

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
    throw WriteError("Das Mosaik ist leer, nach " + ziel + " wurde nichts geschrieben");
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
  const Size groesse = FitToBox(mosaik.width(), mosaik.height(), boxBreite, boxHoehe);
  if (groesse.width <= 0 || groesse.height <= 0) {
    vorschau = Bitmap();
    return -1;
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

  const int64_t mosaikPixel = static_cast<int64_t>(mosaik.width()) * mosaik.height();
  switch (optionen.Format) {
    case kFormatBmp:
      vorschau = InFormatWandeln(arbeit, BmpPixelFormat(optionen.Farbtiefe));
      return mosaikPixel * BmpBytesProPixel(optionen.Farbtiefe) + kBmpKopfReserve;
    case kFormatJpeg: {
      // Encoded in memory and decoded back: the preview shows the real artefacts, and
      // no file in a shared folder can be planted or overwritten.
      const int32_t qualitaet = Qualitaet(optionen.Qualitaet);
      MemorySink kodiert;
      BitmapStreifen quelle(arbeit);
      WriteJpeg(kodiert, quelle, qualitaet);
      // The size comes from the picture at full resolution, which compresses quite
      // differently from its reduction.
      UeberblendeteStreifen voll(mosaik, vorlage, a);
      const int64_t schaetzung = JpegGroesseSchaetzen(voll, qualitaet);
      if (!ReadJpegMemory(vorschau, kodiert.bytes().data(), kodiert.bytes().size(),
                          /*mayChangePixelFormat=*/true, /*scale=*/0)) {
        throw std::runtime_error("Die JPEG-Vorschau konnte nicht gelesen werden");
      }
      return schaetzung;
    }
    default:
      vorschau = std::move(arbeit);
      return -1;
  }
}

}  // namespace tilvendo
