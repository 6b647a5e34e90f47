#include "pictures/jpeg_memory_reader.h"

#include <optional>

#include "pictures/jpeg_fehlerbehandlung.h"
#include "pictures/jpeg_io.h"
#include "pictures/jpeg_speicher.h"
#include "platform/memory_budget.h"

namespace tilvendo {
namespace {

constexpr int kKanaeleGrau = 1;
constexpr int kKanaeleFarbe = 3;

struct Dekodierer {
  jpeg_decompress_struct info{};
  JpegFehlerbehandlung fehler;
  ~Dekodierer() { jpeg_destroy_decompress(&info); }
};

// Reads the header and starts decoding into `ziel` (8 or 24 bits); false on any error,
// for data that is neither grey nor three-channel colour, and when the decoder and the
// picture need more than `budget` holds; the decoder is held to what it was given. Throws
// PictureTooLarge, before the decoder allocates anything for the picture, when it declares
// a size the file readers refuse as well.
bool Beginnen(Dekodierer& d, const uint8_t* data, size_t size, PixelFormat ziel, int scale,
              MemoryBudget& budget, std::optional<MemoryBudget::Reservation>& reservierung) {
  d.info.err = StilleFehlerbehandlung(d.fehler);
  if (setjmp(d.fehler.sprung)) return false;
  jpeg_create_decompress(&d.info);
  jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK) return false;
  const bool grau = d.info.num_components == kKanaeleGrau;
  if (!grau && d.info.num_components != kKanaeleFarbe) return false;
  d.info.out_color_space = ziel == PixelFormat::k8 ? JCS_GRAYSCALE : JCS_EXT_BGR;
  d.info.scale_num = 1;
  d.info.scale_denom = 1u << scale;
  jpeg_calc_output_dimensions(&d.info);
  CheckPictureSize(d.info.output_width, d.info.output_height);
  const uint64_t dekoderBytes = JpegDekoderBedarf(&d.info);
  const uint64_t bildBytes =
      static_cast<uint64_t>(RowStride(static_cast<int32_t>(d.info.output_width), ziel)) *
      d.info.output_height;
  reservierung = budget.Reserve(dekoderBytes + bildBytes);
  if (!reservierung) return false;
  JpegDekoderBegrenzen(&d.info, dekoderBytes);
  jpeg_start_decompress(&d.info);
  return true;
}

bool ZeilenLesen(Dekodierer& d, Bitmap& bild) {
  if (setjmp(d.fehler.sprung)) return false;
  while (d.info.output_scanline < d.info.output_height) {
    JSAMPROW zeile = bild.row(static_cast<int32_t>(d.info.output_scanline));
    if (jpeg_read_scanlines(&d.info, &zeile, 1) != 1) return false;
  }
  jpeg_finish_decompress(&d.info);
  return true;
}

// The header alone, to learn whether the data is grey.
bool IstGrau(const uint8_t* data, size_t size, bool& grau) {
  Dekodierer d;
  d.info.err = StilleFehlerbehandlung(d.fehler);
  if (setjmp(d.fehler.sprung)) return false;
  jpeg_create_decompress(&d.info);
  jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK) return false;
  grau = d.info.num_components == kKanaeleGrau;
  return true;
}

}  // namespace

bool ReadJpegMemory(Bitmap& bitmap, const uint8_t* data, size_t size, bool mayChangePixelFormat,
                    int scale) {
  if (data == nullptr || size == 0 || scale < 0 || scale > kJpegScaleMax) return false;
  PixelFormat ziel = bitmap.format();
  if (mayChangePixelFormat) {
    bool grau = false;
    if (!IstGrau(data, size, grau)) return false;
    ziel = grau ? PixelFormat::k8 : PixelFormat::k24;
  } else if (ziel != PixelFormat::k8 && ziel != PixelFormat::k24) {
    return false;
  }

  return FalseIfTooLarge([&] {
    MemoryBudget budget(MemoryBudget::ForThisMachine());
    std::optional<MemoryBudget::Reservation> reservierung;
    Dekodierer d;
    if (!Beginnen(d, data, size, ziel, scale, budget, reservierung)) return false;
    Bitmap bild = Bitmap::Uninitialized(static_cast<int32_t>(d.info.output_width),
                                        static_cast<int32_t>(d.info.output_height), ziel);
    // The bitmap type's rows run top-down, as the decoder delivers them.
    if (!ZeilenLesen(d, bild)) return false;
    bitmap = std::move(bild);
    return true;
  });
}

}  // namespace tilvendo
