#include "pictures/heif_reader.h"

#include <libheif/heif.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "pictures/zeilen_umwandeln.h"
#include "platform/bitmap.h"

namespace tilvendo {
namespace {

constexpr int kFarbKanaele = 3;
constexpr int kAchtBit = 8;
// What decoding holds at once per pixel: the decoder's planes of up to 16 bits and the interleaved
// result with alpha, generously.
constexpr size_t kBytesJePixelBeimDekodieren = 12;

struct KontextFreigeben {
  void operator()(heif_context* kontext) const { heif_context_free(kontext); }
};
struct HandleFreigeben {
  void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct BildFreigeben {
  void operator()(heif_image* bild) const { heif_image_release(bild); }
};
struct OptionenFreigeben {
  void operator()(heif_decoding_options* optionen) const { heif_decoding_options_free(optionen); }
};
using Handle = std::unique_ptr<heif_image_handle, HandleFreigeben>;

bool Gelungen(const heif_error& fehler) {
  return fehler.code == heif_error_Ok;
}

// The size of a picture after the library turned, mirrored and cropped it.
Size GroesseVon(const heif_image_handle* handle) {
  return Size{heif_image_handle_get_width(handle), heif_image_handle_get_height(handle)};
}

// The smallest thumbnail at least as large as `wunsch`; none when there is no such one.
Handle VorschaubildWaehlen(heif_image_handle* bild, Size wunsch) {
  const int anzahl = heif_image_handle_get_number_of_thumbnails(bild);
  if (anzahl <= 0) return nullptr;
  std::vector<heif_item_id> kennungen(static_cast<size_t>(anzahl));
  const int gelesen = heif_image_handle_get_list_of_thumbnail_IDs(bild, kennungen.data(), anzahl);
  Handle bestes;
  int64_t besteFlaeche = 0;
  for (int i = 0; i < gelesen; ++i) {
    heif_image_handle* vorschau = nullptr;
    if (!Gelungen(
            heif_image_handle_get_thumbnail(bild, kennungen[static_cast<size_t>(i)], &vorschau))) {
      continue;
    }
    Handle kandidat(vorschau);
    const Size groesse = GroesseVon(vorschau);
    const int64_t flaeche = static_cast<int64_t>(groesse.width) * groesse.height;
    if (groesse.width >= wunsch.width && groesse.height >= wunsch.height &&
        (!bestes || flaeche < besteFlaeche)) {
      bestes = std::move(kandidat);
      besteFlaeche = flaeche;
    }
  }
  return bestes;
}

// HEVC codes whole coding-tree blocks of up to 64 × 64 pixels: a picture's coded size is
// its size rounded up to them.
constexpr int64_t kBaumblock = 64;
// Grids are commonly made of tiles of 512 × 512 pixels, also for smaller pictures.
constexpr int64_t kKleinsteSeitengrenze = 512;

// The longest side the library may decode for `handle`. The pictures of a grid are pasted
// into a canvas as large as the grid's own data says, and the library allocates it as it
// stands: eight bytes could make it gigabytes for a picture whose header declares 13 × 19.
// In a valid file neither the canvas nor a coded picture is larger than the header's size
// rounded up to whole coding blocks.
int64_t Seitengrenze(const heif_image_handle* handle) {
  const int64_t laengste =
      std::max({heif_image_handle_get_ispe_width(handle), heif_image_handle_get_ispe_height(handle),
                heif_image_handle_get_width(handle), heif_image_handle_get_height(handle)});
  return std::max(kKleinsteSeitengrenze, (laengste + kBaumblock - 1) / kBaumblock * kBaumblock);
}

bool ZeilenAbgeben(heif_image* bild, Size angekuendigt, bool alpha, ZeilenEmpfaenger& empfaenger) {
  const heif_channel kanal = heif_channel_interleaved;
  if (heif_image_get_bits_per_pixel_range(bild, kanal) != kAchtBit) return false;
  const Size groesse{heif_image_get_width(bild, kanal), heif_image_get_height(bild, kanal)};
  int zeilenBytes = 0;
  const uint8_t* pixel = heif_image_get_plane_readonly(bild, kanal, &zeilenBytes);
  // The receiver was promised this size; a file whose decoded picture differs is broken.
  if (pixel == nullptr || groesse != angekuendigt) return false;
  const bool vormultipliziert = heif_image_is_premultiplied_alpha(bild) != 0;
  std::vector<uint8_t> bgr(static_cast<size_t>(groesse.width) * kFarbKanaele);
  for (int32_t y = 0; y < groesse.height; ++y) {
    if (!empfaenger.BrauchtZeile(y)) continue;
    const uint8_t* zeile = pixel + static_cast<size_t>(y) * static_cast<size_t>(zeilenBytes);
    if (!alpha) {
      RgbZuBgr(zeile, bgr.data(), groesse.width);
    } else if (vormultipliziert) {
      RgbaVormultipliziertZuBgr(zeile, bgr.data(), groesse.width);
    } else {
      RgbaZuBgr(zeile, bgr.data(), groesse.width);
    }
    empfaenger.Zeile(y, bgr.data());
  }
  return true;
}

bool Weitergeben(const std::string& fileName, ZeilenEmpfaenger& empfaenger) {
  const std::unique_ptr<heif_context, KontextFreigeben> kontext(heif_context_alloc());
  if (!kontext) return false;
  // The program decodes several photos at once already; one thread each is enough.
  heif_context_set_max_decoding_threads(kontext.get(), 0);
  if (!Gelungen(heif_context_read_from_file(kontext.get(), fileName.c_str(), nullptr))) {
    return false;
  }
  heif_image_handle* primaer = nullptr;
  if (!Gelungen(heif_context_get_primary_image_handle(kontext.get(), &primaer))) return false;
  Handle handle(primaer);
  const Size voll = GroesseVon(primaer);
  empfaenger.Kopfgroesse(voll);
  CheckPictureSize(voll.width, voll.height);
  if (voll.width <= 0 || voll.height <= 0) return false;
  const Size wunsch = empfaenger.Mindestgroesse(voll, Ausrichtung::Normal);
  if (wunsch.width < voll.width || wunsch.height < voll.height) {
    if (Handle vorschau = VorschaubildWaehlen(primaer, wunsch)) {
      handle = std::move(vorschau);
    }
  }

  const Size groesse = GroesseVon(handle.get());
  CheckPictureSize(groesse.width, groesse.height);
  // The library's limit is one for either side, so what decoding may hold is counted for a
  // square of that side.
  const int64_t grenze = Seitengrenze(handle.get());
  if (grenze >= std::numeric_limits<int>::max()) return false;
  heif_context_set_maximum_image_size_limit(kontext.get(), static_cast<int>(grenze) + 1);
  const Zeilenformat format{.breite = groesse.width,
                            .hoehe = groesse.height,
                            .bytesJePixel = kFarbKanaele,
                            .leserBytes = static_cast<uint64_t>(grenze) *
                                          static_cast<uint64_t>(grenze) *
                                          kBytesJePixelBeimDekodieren,
                            .ausrichtung = Ausrichtung::Normal};
  if (!empfaenger.Groesse(format)) return false;
  const std::unique_ptr<heif_decoding_options, OptionenFreigeben> optionen(
      heif_decoding_options_alloc());
  if (!optionen) return false;
  optionen->convert_hdr_to_8bit = 1;
  const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
  heif_image* dekodiert = nullptr;
  if (!Gelungen(heif_decode_image(
          handle.get(), &dekodiert, heif_colorspace_RGB,
          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, optionen.get()))) {
    return false;
  }
  const std::unique_ptr<heif_image, BildFreigeben> bild(dekodiert);
  return ZeilenAbgeben(bild.get(), groesse, alpha, empfaenger);
}

}  // namespace

bool ReadHeifRows(const std::string& fileName, ZeilenEmpfaenger& empfaenger) {
  return FalseIfTooLarge([&] { return Weitergeben(fileName, empfaenger); });
}

}  // namespace tilvendo
