#include "pictures/png_reader.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "pictures/exif_ausrichtung.h"
#include "pictures/zeilen_umwandeln.h"
#include "platform/bitmap.h"

namespace tilvendo {
namespace {

constexpr int kFarbKanaele = 3;
constexpr int kMitAlpha = 4;
// No picture the size check lets through has a longer side, so the library may refuse one
// while reading the header.
constexpr png_uint_32 kSeitenGrenze = static_cast<png_uint_32>(kMaxPixelCount);
// While it decodes, the library keeps the row being read and the one before (for the
// filters), each with room for the widest pixel its transformations pass through: 16-bit
// red, green, blue and alpha.
constexpr uint64_t kBibliotheksZeilen = 2;
constexpr uint64_t kBreitestesPixel = 8;
// Room the library adds around a row: a filter byte, a pixel for the filters and alignment.
constexpr uint64_t kZeilenZugabe = 128;
// The library's own limit on a chunk's data (8 MB). It only warns about a larger chunk, and reads
// some (eXIf) into a block of the size the chunk claims all the same, so no larger block is given
// to it while it reads the header.
constexpr uint64_t kGroessterBlockImKopf = 8'000'000;

struct DateiSchliessen {
  void operator()(std::FILE* datei) const { std::fclose(datei); }
};
using Datei = std::unique_ptr<std::FILE, DateiSchliessen>;

// libpng's decoder for one file. Errors never end the process or print anything: the library's
// error function jumps back into the method that called it, which returns false. Each method sets
// its own jump target and keeps only trivially destructible locals after it, so the jump skips no
// destructor.
//
// The library takes its memory from the decoder, which refuses any block larger than what was
// agreed: the header's chunks, then the rows of the picture the receiver accepted. A refused block
// makes the library fail (or skip an ancillary chunk), never allocate what a file claims.
class PngDekoder {
 public:
  PngDekoder() {
    png_ = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, &Fehler, &Warnung, this,
                                    &Zuteilen, &Freigeben);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
  }
  ~PngDekoder() { png_destroy_read_struct(&png_, &info_, nullptr); }
  PngDekoder(const PngDekoder&) = delete;
  PngDekoder& operator=(const PngDekoder&) = delete;

  // Reads everything before the pixels and asks for 8-bit blue-green-red rows, with alpha where the
  // file has transparency. The library has set up nothing for the pixels yet.
  bool KopfLesen(std::FILE* datei) {
    if (png_ == nullptr || info_ == nullptr) return false;
    if (setjmp(png_jmpbuf(png_))) return false;
    png_init_io(png_, datei);
    png_set_user_limits(png_, kSeitenGrenze, kSeitenGrenze);
    png_read_info(png_, info_);
    png_set_expand(png_);
    png_set_scale_16(png_);
    png_set_gray_to_rgb(png_);
    png_set_bgr(png_);
    durchgaenge_ = png_set_interlace_handling(png_);
    const bool alpha = (png_get_color_type(png_, info_) & PNG_COLOR_MASK_ALPHA) != 0 ||
                       png_get_valid(png_, info_, PNG_INFO_tRNS) != 0;
    kanaele_ = alpha ? kMitAlpha : kFarbKanaele;
    png_uint_32 anzahl = 0;
    png_bytep exif = nullptr;
    if (png_get_eXIf_1(png_, info_, &anzahl, &exif) != 0 && exif != nullptr) {
      ausrichtung_ =
          ExifAusrichtung(std::span<const uint8_t>(exif, anzahl)).value_or(Ausrichtung::Normal);
    }
    return true;
  }

  // Lets the library set up its row buffers for the transformations asked for; false when
  // its rows would not be those KopfLesen announced.
  bool Einrichten() {
    if (setjmp(png_jmpbuf(png_))) return false;
    const uint64_t zeile = kBreitestesPixel * png_get_image_width(png_, info_) + kZeilenZugabe;
    groessterBlock_ = std::max(groessterBlock_, zeile);
    png_read_update_info(png_, info_);
    return png_get_channels(png_, info_) == kanaele_ && png_get_bit_depth(png_, info_) == 8;
  }

  bool ZeileLesen(uint8_t* zeile) {
    if (setjmp(png_jmpbuf(png_))) return false;
    png_read_row(png_, zeile, nullptr);
    return true;
  }

  bool BildLesen(uint8_t** zeilen) {
    if (setjmp(png_jmpbuf(png_))) return false;
    png_read_image(png_, zeilen);
    return true;
  }

  Size groesse() const {
    return Size{static_cast<int32_t>(png_get_image_width(png_, info_)),
                static_cast<int32_t>(png_get_image_height(png_, info_))};
  }
  int kanaele() const { return kanaele_; }
  bool verschraenkt() const { return durchgaenge_ > 1; }
  Ausrichtung ausrichtung() const { return ausrichtung_; }

 private:
  [[noreturn]] static void Fehler(png_structp png, png_const_charp) { png_longjmp(png, 1); }
  static void Warnung(png_structp, png_const_charp) {}
  static png_voidp Zuteilen(png_structp png, png_alloc_size_t bytes) {
    const auto* dekoder = static_cast<const PngDekoder*>(png_get_mem_ptr(png));
    return bytes > dekoder->groessterBlock_ ? nullptr : std::malloc(bytes);
  }
  static void Freigeben(png_structp, png_voidp block) { std::free(block); }

  uint64_t groessterBlock_ = kGroessterBlockImKopf;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  int durchgaenge_ = 1;
  int kanaele_ = 0;
  Ausrichtung ausrichtung_ = Ausrichtung::Normal;
};

// One decoded row in blue-green-red: as it stands, or with its alpha laid over black into `bgr`.
const uint8_t* AlsBgr(const uint8_t* zeile, int kanaele, int32_t breite,
                      std::vector<uint8_t>& bgr) {
  if (kanaele == kFarbKanaele) return zeile;
  BgraZuBgr(zeile, bgr.data(), breite);
  return bgr.data();
}

bool Weitergeben(std::FILE* datei, ZeilenEmpfaenger& empfaenger) {
  PngDekoder dekoder;
  if (!dekoder.KopfLesen(datei)) return false;
  const Size groesse = dekoder.groesse();
  empfaenger.Kopfgroesse(groesse);
  CheckPictureSize(groesse.width, groesse.height);
  const int kanaele = dekoder.kanaele();
  const size_t zeilenBytes = static_cast<size_t>(groesse.width) * static_cast<size_t>(kanaele);
  const size_t bildBytes = zeilenBytes * static_cast<size_t>(groesse.height);
  // The library's rows, and our decoded row and its blue-green-red copy. Interlaced rows are
  // complete only after the last pass, so then the whole picture is held instead of our row.
  const uint64_t bibliothek =
      kBibliotheksZeilen * kBreitestesPixel * static_cast<uint64_t>(groesse.width);
  const uint64_t eigene = dekoder.verschraenkt()
                              ? bildBytes + static_cast<uint64_t>(groesse.height) * sizeof(uint8_t*)
                              : zeilenBytes;
  const Zeilenformat format{.breite = groesse.width,
                            .hoehe = groesse.height,
                            .bytesJePixel = kFarbKanaele,
                            .leserBytes = bibliothek + eigene + zeilenBytes,
                            .ausrichtung = dekoder.ausrichtung()};
  // Asked before the library sets up its rows: a header declaring a huge picture takes
  // nothing until the receiver agreed to the memory.
  if (!empfaenger.Groesse(format) || !dekoder.Einrichten()) return false;

  std::vector<uint8_t> bgr(static_cast<size_t>(groesse.width) * kFarbKanaele);
  if (!dekoder.verschraenkt()) {
    std::vector<uint8_t> zeile(zeilenBytes);
    for (int32_t y = 0; y < groesse.height; ++y) {
      if (!dekoder.ZeileLesen(zeile.data())) return false;
      if (empfaenger.BrauchtZeile(y)) {
        empfaenger.Zeile(y, AlsBgr(zeile.data(), kanaele, groesse.width, bgr));
      }
    }
    return true;
  }
  const auto bild = std::make_unique_for_overwrite<uint8_t[]>(bildBytes);
  std::vector<uint8_t*> zeilen(static_cast<size_t>(groesse.height));
  for (size_t y = 0; y < zeilen.size(); ++y) zeilen[y] = bild.get() + y * zeilenBytes;
  if (!dekoder.BildLesen(zeilen.data())) return false;
  for (int32_t y = 0; y < groesse.height; ++y) {
    if (empfaenger.BrauchtZeile(y)) {
      empfaenger.Zeile(y, AlsBgr(zeilen[static_cast<size_t>(y)], kanaele, groesse.width, bgr));
    }
  }
  return true;
}

}  // namespace

bool ReadPngRows(const std::string& fileName, ZeilenEmpfaenger& empfaenger) {
  return FalseIfTooLarge([&] {
    const Datei datei(std::fopen(fileName.c_str(), "rbe"));
    return datei && Weitergeben(datei.get(), empfaenger);
  });
}

}  // namespace tilvendo
