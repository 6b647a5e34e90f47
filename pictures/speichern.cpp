#include "pictures/speichern.h"

#include <algorithm>
#include <stdexcept>

#include "pictures/blending.h"
#include "pictures/bmp_writer.h"
#include "pictures/byte_sink.h"
#include "pictures/farbreduktion.h"
#include "pictures/groessen_schaetzung.h"
#include "pictures/jpeg_memory_reader.h"
#include "pictures/jpeg_writer.h"
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

}  // namespace

void ForceSaveExtension(uint8_t format, std::string& dateiname) {
  if (format >= kSpeicherFormate.size()) return;
  const std::string endung = kSpeicherFormate[format].endung;
  const std::string alt = UpperExtension(dateiname);
  if (alt == UpperExtension(endung)) return;
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
  if (optionen.Format == kFormatJpeg) {
    WriteJpegFile(quelle, ziel, Qualitaet(optionen.Qualitaet));
  } else {
    WriteBmpFile(quelle, BmpPixelFormat(optionen.Farbtiefe), ziel);
  }
  return true;
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
