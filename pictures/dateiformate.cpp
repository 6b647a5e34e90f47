#include "pictures/dateiformate.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "pictures/bmp_writer.h"
#include "pictures/farbreduktion.h"
#include "pictures/groessen_schaetzung.h"
#include "pictures/jpeg_memory_reader.h"
#include "pictures/jpeg_writer.h"
#include "pictures/png_writer.h"
#include "pictures/tiff_writer.h"
#include "platform/atomic_file.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

constexpr double kZollJeMeter = 1000.0 / 25.4;
// The largest side libjpeg encodes.
constexpr int32_t kJpegGroessteKante = 65500;
// PNG's and TIFF's sizes are 31 and 32 bits wide: beyond any picture the program makes.
constexpr int32_t kOhneGrenze = INT32_MAX;
// Room a free-space check leaves beside an estimate: half of it again, and a little for
// the headers of a small file.
constexpr int64_t kSchaetzReserveTeiler = 2;
constexpr uint64_t kSchaetzReserveBytes = uint64_t{1} << 20;

int64_t Pixel(const Bildbeschreibung& b) {
  return int64_t{std::max(b.breite, 0)} * std::max(b.hoehe, 0);
}

double JeMeter(double dpi) {
  if (dpi <= 0) return 0;
  return std::round(dpi * kZollJeMeter) / kZollJeMeter;
}

double GanzeDpi(double dpi) {
  if (dpi <= 0) return 0;
  return std::round(std::min(dpi, 65535.0));
}

double AlsBruch(double dpi) {
  if (dpi <= 0) return 0;
  return static_cast<double>(static_cast<float>(dpi));
}

std::unique_ptr<Bildschreiber> JpegSchreiber(SeekableSink& ziel, const Bildbeschreibung& b) {
  return MakeJpegWriter(ziel, b);
}

std::unique_ptr<Bildschreiber> PngSchreiber(SeekableSink& ziel, const Bildbeschreibung& b) {
  return MakePngWriter(ziel, b);
}

uint64_t BmpGenau(const Bildbeschreibung& b) {
  return BmpFileBytes(b.breite, b.hoehe, b.tiefe);
}

uint64_t BmpHoechstens(const Bildbeschreibung& b) {
  return BmpFileBytes(b.breite, b.hoehe, b.tiefe) + BmpScratchBytes(b.breite, b.hoehe, b.tiefe);
}

uint64_t TiffGenau(const Bildbeschreibung& b) {
  return TiffMaximumBytes(b.breite, b.hoehe);
}

uint64_t JpegHoechstens(const Bildbeschreibung& b) {
  return JpegHoechstBytes(Pixel(b), b.qualitaet);
}

uint64_t PngHoechstens(const Bildbeschreibung& b) {
  return PngMaximumBytes(b.breite, b.hoehe);
}

int64_t JpegGeschaetzt(StreifenQuelle& probe, int64_t pixel, const Bildbeschreibung& b) {
  return JpegGroesseHochrechnen(probe, b.qualitaet, pixel);
}

int64_t PngGeschaetzt(StreifenQuelle& probe, int64_t pixel, const Bildbeschreibung& b) {
  return PngGroesseHochrechnen(probe, pixel, PngMaximumBytes(b.breite, b.hoehe));
}

Bitmap BmpWieGespeichert(Bitmap arbeitsbild, const Bildbeschreibung& b) {
  return InFormatWandeln(arbeitsbild, b.tiefe);
}

// Encoded in memory and decoded back: the preview shows the real artefacts, and no file
// in a shared folder can be planted or overwritten.
Bitmap JpegWieGespeichert(Bitmap arbeitsbild, const Bildbeschreibung& b) {
  MemorySink kodiert;
  Bildbeschreibung bild = b;
  bild.breite = arbeitsbild.width();
  bild.hoehe = arbeitsbild.height();
  const std::unique_ptr<Bildschreiber> schreiber = MakeJpegWriter(kodiert, bild);
  BitmapStreifen quelle(arbeitsbild);
  StreifenweiseLesen(quelle, [&](int32_t, const Zeilen& zeilen) { schreiber->Schreiben(zeilen); });
  schreiber->Beenden();
  Bitmap gelesen;
  if (!ReadJpegMemory(gelesen, kodiert.bytes().data(), kodiert.bytes().size(),
                      /*mayChangePixelFormat=*/true, /*scale=*/0)) {
    throw std::runtime_error(_("Die JPEG-Vorschau konnte nicht gelesen werden"));
  }
  return gelesen;
}

// Lossless: the picture itself.
Bitmap WieEsIst(Bitmap arbeitsbild, const Bildbeschreibung&) {
  return arbeitsbild;
}

}  // namespace

const std::array<Dateiformat, 4> kDateiformate{{
    {N_("Windowsbilder (*.bmp)"), ".bmp", nullptr, true, false, kOhneGrenze, &JeMeter,
     &MakeBmpWriter, &BmpGenau, nullptr, &BmpHoechstens, 0, &BmpWieGespeichert},
    {N_("JPEG Bilder (*.jpg)"), ".jpg", nullptr, false, true, kJpegGroessteKante, &GanzeDpi,
     &JpegSchreiber, nullptr, &JpegGeschaetzt, &JpegHoechstens, 0, &JpegWieGespeichert},
    {N_("PNG Bilder (*.png)"), ".png", nullptr, false, false, kOhneGrenze, &JeMeter, &PngSchreiber,
     nullptr, &PngGeschaetzt, &PngHoechstens, kPngLookbackPixels, &WieEsIst},
    {N_("TIFF Bilder (*.tif *.tiff)"), ".tif", ".tiff", false, false, kOhneGrenze, &AlsBruch,
     &MakeTiffWriter, &TiffGenau, nullptr, &TiffGenau, 0, &WieEsIst},
}};

PixelFormat BmpTiefe(uint8_t farbtiefe) {
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

const Dateiformat* FormatVon(uint8_t format) {
  return format < kDateiformate.size() ? &kDateiformate[format] : nullptr;
}

void GroessePruefen(const Dateiformat& format, const Bildbeschreibung& b) {
  if (format.mitFarbtiefe) CheckBmpSize(b.breite, b.hoehe, b.tiefe);
  if (b.breite <= format.groessteKante && b.hoehe <= format.groessteKante) return;
  throw WriteError(Format(_("Ein Bild im Format „{}“ kann höchstens {} Pixel breit und hoch sein; "
                            "dieses Bild hat {} x {} Pixel. Bitte speichern Sie es als TIFF oder "
                            "PNG."),
                          format.endung, format.groessteKante, b.breite, b.hoehe));
}

int64_t DateiBytes(const Dateiformat& format, const Bildbeschreibung& b, StreifenQuelle* probe) {
  if (format.genaueBytes != nullptr) return static_cast<int64_t>(format.genaueBytes(b));
  if (probe == nullptr || format.geschaetzteBytes == nullptr) return -1;
  return std::min(format.geschaetzteBytes(*probe, Pixel(b), b),
                  static_cast<int64_t>(format.hoechstBytes(b)));
}

uint64_t Platzbedarf(const Dateiformat& format, const Bildbeschreibung& b,
                     std::optional<int64_t> schaetzung) {
  const uint64_t hoechstens = format.hoechstBytes(b);
  if (!schaetzung || format.genaueBytes != nullptr) return hoechstens;
  const auto mitReserve =
      static_cast<uint64_t>(std::max<int64_t>(*schaetzung, 0)) +
      static_cast<uint64_t>(std::max<int64_t>(*schaetzung, 0)) / kSchaetzReserveTeiler +
      kSchaetzReserveBytes;
  return std::min(hoechstens, mitReserve);
}

}  // namespace tilvendo
