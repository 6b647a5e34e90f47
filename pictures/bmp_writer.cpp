#include "pictures/bmp_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>

#include "pictures/farbreduktion.h"
#include "platform/atomic_file.h"
#include "platform/free_space.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

// 96 dots per inch, the usual screen resolution, in pixels per metre.
constexpr int32_t kPixelProMeter = 3780;
constexpr double kZollProMeter = 1000.0 / 25.4;
constexpr uint16_t kEbenen = 1;
constexpr size_t kPalettenEintraege = 256;
constexpr int32_t kPixelBytes32 = 4;

void Wort16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Wort32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t KopfBytes(PixelFormat format) {
  uint32_t bytes = kBmpDateiKopfBytes + kBmpInfoKopfBytes;
  if (format == PixelFormat::k16) bytes += kBmpBitfelderBytes;
  if (format == PixelFormat::k8) bytes += kBmpPalettenBytes;
  return bytes;
}

// One working-format row in the file's format; padding bytes stay as the caller set them.
void ZeileWandeln(const uint8_t* bgrx, uint8_t* out, int32_t width, PixelFormat format,
                  FehlerStreuung* streuung) {
  switch (format) {
    case PixelFormat::k32:
      std::memcpy(out, bgrx, static_cast<size_t>(width) * kPixelBytes32);
      // The fourth byte is unused in the working format; some viewers take it for
      // transparency, so the file always holds zero there.
      for (int32_t x = 0; x < width; ++x) out[kPixelBytes32 * x + 3] = 0;
      return;
    case PixelFormat::k24:
      ZeileZu24(bgrx, out, width);
      return;
    case PixelFormat::k16:
      ZeileZu16(bgrx, out, width);
      return;
    case PixelFormat::k8:
      streuung->Zeile(bgrx, out);
      return;
  }
}

uint32_t PixelProMeter(int32_t dpi) {
  if (dpi <= 0) return kPixelProMeter;
  return static_cast<uint32_t>(std::lround(dpi * kZollProMeter));
}

}  // namespace

uint64_t BmpDateiBytes(int32_t width, int32_t height, PixelFormat format) {
  return KopfBytes(format) + RowStride(width, format) * static_cast<uint64_t>(height);
}

void BmpGroessePruefen(int32_t width, int32_t height, PixelFormat format) {
  if (width < 0 || height < 0) throw std::invalid_argument("BmpKopf: negative Bildgröße");
  const uint64_t bytes = BmpDateiBytes(width, height, format);
  if (bytes <= std::numeric_limits<uint32_t>::max()) return;
  throw WriteError(Format(_("Eine BMP-Datei kann höchstens {} groß sein; dieses Bild ({} x {} Pixel) "
                            "bräuchte {}. Bitte speichern Sie es als TIFF, PNG oder JPEG."),
                          SizeText(std::numeric_limits<uint32_t>::max()), width, height,
                          SizeText(bytes)));
}

std::vector<uint8_t> BmpKopf(int32_t width, int32_t height, PixelFormat format,
                             const Palette& palette, int32_t dpi) {
  BmpGroessePruefen(width, height, format);
  const uint32_t kopf = KopfBytes(format);
  const uint64_t pixelBytes = RowStride(width, format) * static_cast<uint64_t>(height);
  std::vector<uint8_t> out;
  out.reserve(kopf);
  out.push_back('B');
  out.push_back('M');
  Wort32(out, static_cast<uint32_t>(kopf + pixelBytes));
  Wort32(out, 0);  // two reserved words
  Wort32(out, kopf);
  Wort32(out, kBmpInfoKopfBytes);
  Wort32(out, static_cast<uint32_t>(width));
  Wort32(out, static_cast<uint32_t>(height));  // positive: bottom row first
  Wort16(out, kEbenen);
  Wort16(out, static_cast<uint16_t>(format));
  Wort32(out, format == PixelFormat::k16 ? kBiBitfields : kBiRgb);
  Wort32(out, static_cast<uint32_t>(pixelBytes));
  Wort32(out, PixelProMeter(dpi));
  Wort32(out, PixelProMeter(dpi));
  Wort32(out, format == PixelFormat::k8 ? static_cast<uint32_t>(kPalettenEintraege) : 0);
  Wort32(out, 0);  // all colours important
  if (format == PixelFormat::k16) {
    Wort32(out, kMaske565Rot);
    Wort32(out, kMaske565Gruen);
    Wort32(out, kMaske565Blau);
  }
  if (format == PixelFormat::k8) {
    for (const PaletteEntry& e : palette) {
      out.push_back(e.blue);
      out.push_back(e.green);
      out.push_back(e.red);
      out.push_back(0);
    }
  }
  return out;
}

void WriteBmp(ByteSink& sink, const Bitmap& bitmap) {
  if (bitmap.format() == kPixelformat) {
    BitmapStreifen quelle(bitmap);
    WriteBmp(sink, quelle, kPixelformat);
    return;
  }
  const std::vector<uint8_t> kopf =
      BmpKopf(bitmap.width(), bitmap.height(), bitmap.format(), bitmap.palette());
  sink.Write(kopf.data(), kopf.size());
  // The picture's rows already have the file's layout; only their order is reversed.
  for (int32_t y = bitmap.height() - 1; y >= 0; --y) sink.Write(bitmap.row(y), bitmap.stride());
}

void WriteBmp(ByteSink& sink, StreifenQuelle& quelle, PixelFormat format, int32_t dpi) {
  const int32_t width = quelle.width();
  const int32_t height = quelle.height();
  // Refused before the palette pass reads the whole source.
  BmpGroessePruefen(width, height, format);

  Palette palette{};
  if (format == PixelFormat::k8) {
    PalettenWahl wahl;
    for (int32_t first = 0; first < height; first += kStreifenZeilen) {
      const Zeilen zeilen = quelle.Streifen(first, std::min(kStreifenZeilen, height - first));
      for (int32_t i = 0; i < zeilen.count; ++i) wahl.Zeile(zeilen.row(i), width);
    }
    palette = wahl.Waehlen();
  }
  const std::vector<uint8_t> kopf = BmpKopf(width, height, format, palette, dpi);
  sink.Write(kopf.data(), kopf.size());

  std::unique_ptr<FehlerStreuung> streuung;
  if (format == PixelFormat::k8) streuung = std::make_unique<FehlerStreuung>(palette, width);
  const size_t stride = RowStride(width, format);
  std::vector<uint8_t> puffer(stride * static_cast<size_t>(std::min(kStreifenZeilen, height)), 0);
  for (int32_t ende = height; ende > 0; ende -= kStreifenZeilen) {
    const int32_t first = std::max(0, ende - kStreifenZeilen);
    const Zeilen zeilen = quelle.Streifen(first, ende - first);
    // Bottom row first: the strip's last row is the first one in the file.
    for (int32_t i = 0; i < zeilen.count; ++i) {
      ZeileWandeln(zeilen.row(zeilen.count - 1 - i), puffer.data() + stride * i, width, format,
                   streuung.get());
    }
    sink.Write(puffer.data(), stride * static_cast<size_t>(zeilen.count));
  }
}

void WriteBmpFile(const Bitmap& bitmap, const std::string& fileName) {
  AtomicFile file(fileName);
  AtomicFileSink sink(file);
  WriteBmp(sink, bitmap);
  file.Commit();
}

void WriteBmpFile(StreifenQuelle& quelle, PixelFormat format, const std::string& fileName,
                  int32_t dpi) {
  // A picture too large is refused before a temporary file is made.
  BmpGroessePruefen(quelle.width(), quelle.height(), format);
  AtomicFile file(fileName);
  AtomicFileSink sink(file);
  WriteBmp(sink, quelle, format, dpi);
  quelle.VorDemErsetzen();
  file.Commit();
}

}  // namespace tilvendo
