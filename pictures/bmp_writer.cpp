#include "pictures/bmp_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

#include "pictures/farbreduktion.h"
#include "platform/free_space.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kMaskBytes = 12;  // three masks after the info header
constexpr uint32_t kPaletteBytes = 256 * 4;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kMask565Red = 0xF800;
constexpr uint32_t kMask565Green = 0x07E0;
constexpr uint32_t kMask565Blue = 0x001F;
// 96 dots per inch, the usual screen resolution, in pixels per metre.
constexpr int32_t kDefaultPixelsPerMetre = 3780;
constexpr double kInchesPerMetre = 1000.0 / 25.4;
constexpr uint16_t kPlanes = 1;
constexpr size_t kPaletteEntries = 256;
constexpr int32_t kWorkingBytes = 4;
constexpr size_t kScratchBytesPerPixel = 3;

void Word16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Word32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t HeaderBytes(PixelFormat format) {
  uint32_t bytes = kFileHeaderBytes + kInfoHeaderBytes;
  if (format == PixelFormat::k16) bytes += kMaskBytes;
  if (format == PixelFormat::k8) bytes += kPaletteBytes;
  return bytes;
}

uint32_t PixelsPerMetre(double dpi) {
  if (dpi <= 0) return kDefaultPixelsPerMetre;
  return static_cast<uint32_t>(std::lround(dpi * kInchesPerMetre));
}

// File header, info header and masks or palette; the pixel rows follow directly.
std::vector<uint8_t> Header(int32_t width, int32_t height, PixelFormat format,
                            const Palette& palette, double dpi, double dpiY) {
  const uint32_t header = HeaderBytes(format);
  const uint64_t pixelBytes = RowStride(width, format) * static_cast<uint64_t>(height);
  std::vector<uint8_t> out;
  out.reserve(header);
  out.push_back('B');
  out.push_back('M');
  Word32(out, static_cast<uint32_t>(header + pixelBytes));
  Word32(out, 0);  // two reserved words
  Word32(out, header);
  Word32(out, kInfoHeaderBytes);
  Word32(out, static_cast<uint32_t>(width));
  Word32(out, static_cast<uint32_t>(height));  // positive: bottom row first
  Word16(out, kPlanes);
  Word16(out, static_cast<uint16_t>(format));
  Word32(out, format == PixelFormat::k16 ? kBiBitfields : kBiRgb);
  Word32(out, static_cast<uint32_t>(pixelBytes));
  Word32(out, PixelsPerMetre(dpi));
  Word32(out, PixelsPerMetre(dpiY));
  Word32(out, format == PixelFormat::k8 ? static_cast<uint32_t>(kPaletteEntries) : 0);
  Word32(out, 0);  // all colours important
  if (format == PixelFormat::k16) {
    Word32(out, kMask565Red);
    Word32(out, kMask565Green);
    Word32(out, kMask565Blue);
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

// One working-format row in the file's format (not 8 bits); padding bytes stay as the
// caller set them.
void ConvertRow(const uint8_t* bgrx, uint8_t* out, int32_t width, PixelFormat format) {
  switch (format) {
    case PixelFormat::k32:
      std::memcpy(out, bgrx, static_cast<size_t>(width) * kWorkingBytes);
      // The fourth byte is unused in the working format; some viewers take it for
      // transparency, so the file always holds zero there.
      for (int32_t x = 0; x < width; ++x) out[kWorkingBytes * x + 3] = 0;
      return;
    case PixelFormat::k24:
      ZeileZu24(bgrx, out, width);
      return;
    case PixelFormat::k16:
      ZeileZu16(bgrx, out, width);
      return;
    case PixelFormat::k8:
      throw std::logic_error("ConvertRow: 8 bits need their palette");
  }
}

class BmpWriter final : public Bildschreiber {
 public:
  BmpWriter(SeekableSink& sink, const Bildbeschreibung& d)
      : sink_(sink), d_(d), stride_(RowStride(d.breite, d.tiefe)), header_(HeaderBytes(d.tiefe)) {
    CheckBmpSize(d.breite, d.hoehe, d.tiefe);
    if (d.tiefe == PixelFormat::k8) scratch_ = sink.Scratch();
  }

  void Schreiben(const Zeilen& zeilen) override {
    if (zeilen.anzahl <= 0) return;
    if (next_ + zeilen.anzahl > d_.hoehe) throw std::logic_error("BmpWriter: zu viele Zeilen");
    if (d_.tiefe == PixelFormat::k8) {
      PutAside(zeilen);
    } else {
      // The strip's last row is the first of its rows in the file.
      buffer_.assign(stride_ * static_cast<size_t>(zeilen.anzahl), 0);
      for (int32_t i = 0; i < zeilen.anzahl; ++i) {
        ConvertRow(zeilen.Zeile(zeilen.anzahl - 1 - i), buffer_.data() + stride_ * i, d_.breite,
                   d_.tiefe);
      }
      sink_.WriteAt(RowOffset(next_ + zeilen.anzahl - 1), buffer_.data(), buffer_.size());
    }
    next_ += zeilen.anzahl;
  }

  void Beenden() override {
    if (next_ != d_.hoehe) throw std::logic_error("BmpWriter: Zeilen fehlen");
    Palette palette{};
    if (d_.tiefe == PixelFormat::k8) palette = choice_.Waehlen();
    const std::vector<uint8_t> header =
        Header(d_.breite, d_.hoehe, d_.tiefe, palette, d_.dpi, DpiSenkrecht(d_));
    sink_.WriteAt(0, header.data(), header.size());
    if (d_.tiefe == PixelFormat::k8) Diffuse(palette);
  }

 private:
  // Where the file stores row y (from the top): bottom row first.
  uint64_t RowOffset(int32_t y) const {
    return header_ + stride_ * static_cast<uint64_t>(d_.hoehe - 1 - y);
  }

  // 8 bits: the palette is chosen from every row, so the rows wait at 24 bits until the
  // last one came.
  void PutAside(const Zeilen& zeilen) {
    const size_t bytes = static_cast<size_t>(d_.breite) * kScratchBytesPerPixel;
    buffer_.resize(bytes * static_cast<size_t>(zeilen.anzahl));
    for (int32_t i = 0; i < zeilen.anzahl; ++i) {
      choice_.Zeile(zeilen.Zeile(i), d_.breite);
      ZeileZu24(zeilen.Zeile(i), buffer_.data() + bytes * i, d_.breite);
    }
    scratch_->Append(buffer_.data(), buffer_.size());
  }

  // The rows put aside onto the palette, bottom row first as the file stores them, each
  // row's remaining error flowing into the one above.
  void Diffuse(const Palette& palette) {
    FehlerStreuung diffusion(palette, d_.breite);
    const size_t bytes = static_cast<size_t>(d_.breite) * kScratchBytesPerPixel;
    const int32_t strip = std::min(kStreifenZeilen, d_.hoehe);
    std::vector<uint8_t> aside(bytes * static_cast<size_t>(strip));
    Bitmap row = Bitmap::Uninitialized(d_.breite, 1, kPixelformat);
    buffer_.assign(stride_ * static_cast<size_t>(strip), 0);
    for (int32_t end = d_.hoehe; end > 0; end -= kStreifenZeilen) {
      const int32_t first = std::max(0, end - kStreifenZeilen);
      const int32_t count = end - first;
      scratch_->ReadAt(bytes * static_cast<uint64_t>(first), aside.data(),
                       bytes * static_cast<size_t>(count));
      for (int32_t i = 0; i < count; ++i) {
        ZeileAus24(aside.data() + bytes * (count - 1 - i), row.data(), d_.breite);
        diffusion.Zeile(row.data(), buffer_.data() + stride_ * i);
      }
      sink_.WriteAt(RowOffset(end - 1), buffer_.data(), stride_ * static_cast<size_t>(count));
    }
  }

  SeekableSink& sink_;
  Bildbeschreibung d_;
  size_t stride_;
  uint64_t header_;
  int32_t next_ = 0;  // the next row to come
  std::vector<uint8_t> buffer_;
  std::unique_ptr<ScratchSpace> scratch_;
  PalettenWahl choice_;
};

}  // namespace

uint64_t BmpFileBytes(int32_t width, int32_t height, PixelFormat format) {
  return HeaderBytes(format) + RowStride(width, format) * static_cast<uint64_t>(height);
}

uint64_t BmpScratchBytes(int32_t width, int32_t height, PixelFormat format) {
  if (format != PixelFormat::k8) return 0;
  return static_cast<uint64_t>(std::max(width, 0)) * kScratchBytesPerPixel *
         static_cast<uint64_t>(std::max(height, 0));
}

void CheckBmpSize(int32_t width, int32_t height, PixelFormat format) {
  if (width < 0 || height < 0) throw std::invalid_argument("CheckBmpSize: negative Bildgröße");
  const uint64_t bytes = BmpFileBytes(width, height, format);
  if (bytes <= std::numeric_limits<uint32_t>::max()) return;
  throw WriteError(
      Format(_("Eine BMP-Datei kann höchstens {} groß sein; dieses Bild ({} x {} Pixel) "
               "bräuchte {}. Bitte speichern Sie es als TIFF, PNG oder JPEG."),
             SizeText(std::numeric_limits<uint32_t>::max()), width, height, SizeText(bytes)));
}

std::unique_ptr<Bildschreiber> MakeBmpWriter(SeekableSink& sink,
                                             const Bildbeschreibung& description) {
  return std::make_unique<BmpWriter>(sink, description);
}

void WriteBmpFile(const Bitmap& bitmap, const std::string& fileName) {
  AtomicFile file(fileName);
  AtomicFileSink sink(file);
  if (bitmap.format() == kPixelformat) {
    Bildbeschreibung description;
    description.breite = bitmap.width();
    description.hoehe = bitmap.height();
    description.tiefe = kPixelformat;
    BmpWriter writer(sink, description);
    BitmapStreifen quelle(bitmap);
    StreifenweiseLesen(quelle, [&](int32_t, const Zeilen& zeilen) { writer.Schreiben(zeilen); });
    writer.Beenden();
  } else {
    CheckBmpSize(bitmap.width(), bitmap.height(), bitmap.format());
    const std::vector<uint8_t> header =
        Header(bitmap.width(), bitmap.height(), bitmap.format(), bitmap.palette(), 0, 0);
    sink.Write(header.data(), header.size());
    // The picture's rows already have the file's layout; only their order is reversed.
    for (int32_t y = bitmap.height() - 1; y >= 0; --y) sink.Write(bitmap.row(y), bitmap.stride());
  }
  file.Commit();
}

}  // namespace tilvendo
