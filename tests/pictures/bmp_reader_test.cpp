#include "pictures/bmp_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bild_vergleich.h"
#include "support/bild_dateien.h"
#include "support/bmp_bauer.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::BmpAufbau;
using testing::BmpBauen;
using testing::BmpVorbild;
using testing::Vergleichen;

// Decodes exactly the given bytes from their own heap block, so that a read past them is
// caught by the address sanitizer.
bool DecodeGenau(Bitmap& bild, std::string_view bytes) {
  auto block = std::make_unique<uint8_t[]>(std::max<size_t>(bytes.size(), 1));
  std::memcpy(block.get(), bytes.data(), bytes.size());
  return DecodeBmp(bild, {block.get(), bytes.size()});
}

bool IstGleich(const Bitmap& a, const Bitmap& b) {
  return a.width() == b.width() && a.height() == b.height() && Vergleichen(a, b).maximum == 0;
}

// One way of storing the reference picture, and how close its decoding must come: five
// or six bits per channel lie within half a step. White is in the picture, so a 5-bit 31
// read as 248 instead of 255 exceeds the tolerance.
struct Variante {
  const char* name;
  BmpAufbau aufbau;
  int toleranz = 0;
  int32_t breite = testing::kBmpVorbildBreite;

  Bitmap Vorbild() const { return BmpVorbild(std::min<int>(aufbau.bits, 8), breite); }
  std::string Bytes() const { return BmpBauen(Vorbild(), aufbau); }
  bool Lauflaengen() const {
    return aufbau.kompression == testing::kBmpRle8 || aufbau.kompression == testing::kBmpRle4;
  }
  PixelFormat Format() const {
    return aufbau.bits <= 8    ? PixelFormat::k8
           : aufbau.bits == 32 ? PixelFormat::k32
                               : PixelFormat::k24;
  }
};

std::vector<Variante> Varianten() {
  using testing::kBmpAlphaBitfelder;
  using testing::kBmpBitfelder;
  using testing::kBmpRle4;
  using testing::kBmpRle8;
  constexpr std::array<uint32_t, 4> k565 = {0xF800, 0x07E0, 0x001F, 0};
  return {
      {"1 bit, core header", {.kopfGroesse = 12, .bits = 1}},
      {"1 bit", {.bits = 1}},
      {"1 bit, top-down, V5", {.kopfGroesse = 124, .bits = 1, .vonOben = true}},
      {"2 bits", {.bits = 2}},
      {"4 bits, core header", {.kopfGroesse = 12, .bits = 4}},
      {"4 bits, V4", {.kopfGroesse = 108, .bits = 4}},
      {"4 bits, RLE", {.bits = 4, .kompression = kBmpRle4}},
      {"8 bits, core header", {.kopfGroesse = 12, .bits = 8}},
      {"8 bits, short OS/2 header", {.kopfGroesse = 16, .bits = 8}},
      {"8 bits", {.bits = 8}},
      {"8 bits, 52-byte header", {.kopfGroesse = 52, .bits = 8}},
      {"8 bits, 56-byte header", {.kopfGroesse = 56, .bits = 8}},
      {"8 bits, OS/2 header", {.kopfGroesse = 64, .bits = 8}},
      {"8 bits, top-down, V4", {.kopfGroesse = 108, .bits = 8, .vonOben = true}},
      {"8 bits, RLE", {.bits = 8, .kompression = kBmpRle8}},
      {"8 bits, RLE, OS/2 header", {.kopfGroesse = 64, .bits = 8, .kompression = kBmpRle8}},
      {"8 bits, gap before the pixels", {.bits = 8, .luecke = 100}},
      {"8 bits, 300 palette entries", {.bits = 8, .farbenBenutzt = 300}},
      {"16 bits", {.bits = 16}, 4},
      {"16 bits, 5-5-5 fields",
       {.bits = 16, .kompression = kBmpBitfelder, .masken = {0x7C00, 0x03E0, 0x001F, 0}},
       4},
      {"16 bits, 5-6-5 fields", {.bits = 16, .kompression = kBmpBitfelder, .masken = k565}, 4},
      {"16 bits, 5-6-5 fields, V2",
       {.kopfGroesse = 52, .bits = 16, .kompression = kBmpBitfelder, .masken = k565},
       4},
      {"16 bits, 1-5-5-5 alpha fields",
       {.bits = 16, .kompression = kBmpAlphaBitfelder, .masken = {0x7C00, 0x03E0, 0x001F, 0x8000}},
       4},
      {"16 bits, 4-4-4-4 fields, V3",
       {.kopfGroesse = 56,
        .bits = 16,
        .kompression = kBmpBitfelder,
        .masken = {0x0F00, 0x00F0, 0x000F, 0xF000}},
       9},
      {"24 bits, core header", {.kopfGroesse = 12, .bits = 24}},
      {"24 bits, short OS/2 header", {.kopfGroesse = 16, .bits = 24}},
      {"24 bits", {.bits = 24}},
      {"24 bits, OS/2 header", {.kopfGroesse = 64, .bits = 24}},
      {"24 bits, top-down, V5", {.kopfGroesse = 124, .bits = 24, .vonOben = true}},
      {"24 bits, with a palette", {.bits = 24, .farbenBenutzt = 300}},
      {"32 bits", {.bits = 32}},
      {"32 bits, 8-8-8 fields",
       {.bits = 32, .kompression = kBmpBitfelder, .masken = {0xFF0000, 0xFF00, 0xFF, 0}}},
      {"32 bits, blue-green-red fields",
       {.bits = 32, .kompression = kBmpBitfelder, .masken = {0xFF, 0xFF00, 0xFF0000, 0}}},
      {"32 bits, 11-11-10 fields",
       {.bits = 32, .kompression = kBmpBitfelder, .masken = {0xFFE00000, 0x001FFC00, 0x3FF, 0}}},
      {"32 bits, 7-7-7 fields with alpha, V4",
       {.kopfGroesse = 108,
        .bits = 32,
        .kompression = kBmpBitfelder,
        .masken = {0x7F000000, 0x00003F80, 0x0000007F, 0x80000000}},
       1},
      {"32 bits, alpha fields, V5",
       {.kopfGroesse = 124,
        .bits = 32,
        .kompression = kBmpBitfelder,
        .masken = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}},
  };
}

TEST(BmpLeser, EveryHeaderBitCountAndCodingShowsTheReferencePicture) {
  const testing::TempFolder ordner;
  for (const Variante& v : Varianten()) {
    const std::string bytes = v.Bytes();
    Bitmap bild;
    ASSERT_TRUE(DecodeGenau(bild, bytes)) << v.name;
    EXPECT_EQ(bild.format(), v.Format()) << v.name;
    ASSERT_EQ(bild.width(), testing::kBmpVorbildBreite) << v.name;
    ASSERT_EQ(bild.height(), testing::kBmpVorbildHoehe) << v.name;
    EXPECT_LE(Vergleichen(bild, v.Vorbild()).maximum, v.toleranz) << v.name;
    // Plain rows are read from the file straight into the picture, everything else from
    // the whole file in memory; both ways must agree.
    testing::WriteWholeFile(ordner / "bild.bmp", bytes);
    Bitmap ausDatei;
    ASSERT_TRUE(ReadBmpFile(ausDatei, ordner / "bild.bmp")) << v.name;
    EXPECT_EQ(ausDatei.format(), bild.format()) << v.name;
    EXPECT_TRUE(IstGleich(ausDatei, bild)) << v.name;
  }
}

TEST(BmpLeser, RowsOfEveryWidthKeepTheirPadding) {
  for (const uint16_t bits : {1, 2, 4, 8, 16, 24, 32}) {
    for (const int32_t breite : {1, 2, 3, 5, 7, 9, 31, 33, 124, 125, 126}) {
      const Bitmap vorbild = BmpVorbild(std::min<int>(bits, 8), breite);
      Bitmap bild;
      ASSERT_TRUE(DecodeGenau(bild, BmpBauen(vorbild, {.bits = bits}))) << bits << " " << breite;
      EXPECT_LE(Vergleichen(bild, vorbild).maximum, bits == 16 ? 4 : 0) << bits << " " << breite;
    }
  }
}

TEST(BmpLeser, PaletteEntriesTheFileDoesNotGiveAreBlack) {
  // A palette of 16 entries (by the header's count, also with more entries behind it, or
  // by the pixel offset) for indices up to 255: those beyond it show black.
  const Bitmap vorbild = BmpVorbild(8);
  for (const BmpAufbau& aufbau :
       {BmpAufbau{.bits = 8, .farbenBenutzt = 16},
        BmpAufbau{.bits = 8, .farbenBenutzt = 16, .paletteEintraege = 256},
        BmpAufbau{.bits = 8, .paletteEintraege = 16},
        BmpAufbau{.bits = 8, .kompression = testing::kBmpRle8, .paletteEintraege = 16}}) {
    Bitmap bild;
    ASSERT_TRUE(DecodeGenau(bild, BmpBauen(vorbild, aufbau)));
    const testing::Abweichung abweichung = Vergleichen(bild, [&](int32_t x, int32_t y) {
      const uint8_t index = vorbild.row(y)[x];
      return index < 16 ? ReadPixel(vorbild, x, y) : Farbe{};
    });
    EXPECT_EQ(abweichung.maximum, 0) << aufbau.kompression << " " << aufbau.paletteEintraege;
  }
}

TEST(BmpLeser, AZeroMaskGivesAnEmptyChannel) {
  // A missing channel is what the masks say (masks that share bits are refused below).
  const Bitmap vorbild = BmpVorbild(8);
  Bitmap bild;
  ASSERT_TRUE(DecodeGenau(bild, BmpBauen(vorbild, {.bits = 16,
                                                   .kompression = testing::kBmpBitfelder,
                                                   .masken = {0, 0x03E0, 0x001F, 0}})));
  const testing::Abweichung abweichung = Vergleichen(bild, [&](int32_t x, int32_t y) {
    Farbe farbe = ReadPixel(vorbild, x, y);
    farbe.red = 0;
    return farbe;
  });
  EXPECT_LE(abweichung.maximum, 4);
}

// What a bad file must never do to the bitmap it was read into.
void SollAbgelehntWerden(const std::string& bytes, const std::string& name,
                         const testing::TempFolder& ordner) {
  Bitmap bild = testing::Einfarbig(3, 2, Farbe{1, 2, 3});
  EXPECT_FALSE(DecodeGenau(bild, bytes)) << name;
  testing::WriteWholeFile(ordner / "schlecht.bmp", bytes);
  EXPECT_FALSE(ReadBmpFile(bild, ordner / "schlecht.bmp")) << name;
  // A failed read leaves the bitmap as it was.
  EXPECT_EQ(bild.width(), 3) << name;
  EXPECT_EQ(ReadPixel(bild, 2, 1), (Farbe{1, 2, 3})) << name;
}

TEST(BmpLeser, LiesUnsupportedCodingsAndMissingOrEmptyFilesAreRefused) {
  using testing::Setzen16;
  using testing::Setzen32;
  const testing::TempFolder ordner;
  const Bitmap vorbild = BmpVorbild(8);
  const std::string pal8 = BmpBauen(vorbild, {.bits = 8});
  const std::string rgb24 = BmpBauen(vorbild, {.bits = 24});
  const std::string rle8 = BmpBauen(vorbild, {.bits = 8, .kompression = testing::kBmpRle8});
  const std::string os2 = BmpBauen(vorbild, {.kopfGroesse = 64, .bits = 24});
  const std::string felder = BmpBauen(
      vorbild,
      {.bits = 16, .kompression = testing::kBmpBitfelder, .masken = {0x7C00, 0x3E0, 0x1F}});
  const uint32_t pixelStart = 14 + 40 + 256 * 4;
  struct Fehler {
    const char* name;
    const std::string& datei;
    size_t stelle;
    int bytes;
    uint32_t wert;
  };
  const std::vector<Fehler> fehler = {
      {"signature BA", pal8, 0, 2, 0x4142},
      {"header size 41", pal8, testing::kBmpKopfgroesseStelle, 4, 41},
      {"header size 0", pal8, testing::kBmpKopfgroesseStelle, 4, 0},
      {"two planes", pal8, testing::kBmpEbenenStelle, 2, 2},
      {"3 bits", pal8, testing::kBmpBitsStelle, 2, 3},
      {"0 bits", rgb24, testing::kBmpBitsStelle, 2, 0},
      {"64 bits", rgb24, testing::kBmpBitsStelle, 2, 64},
      {"width 0", rgb24, testing::kBmpBreiteStelle, 4, 0},
      {"negative width", rgb24, testing::kBmpBreiteStelle, 4, static_cast<uint32_t>(-127)},
      {"height 0", rgb24, testing::kBmpHoeheStelle, 4, 0},
      {"huge width", rgb24, testing::kBmpBreiteStelle, 4, 0x7FFFFFFF},
      {"huge height", rgb24, testing::kBmpHoeheStelle, 4, 0x7FFFFFFF},
      {"huger than the pixels", rgb24, testing::kBmpHoeheStelle, 4, 65},
      {"run-length top-down", rle8, testing::kBmpHoeheStelle, 4, static_cast<uint32_t>(-64)},
      {"run-length data claims a huge picture", rle8, testing::kBmpBreiteStelle, 4, 1'000'000},
      {"embedded JPEG", rgb24, testing::kBmpKompressionStelle, 4, 4},
      {"embedded PNG", rgb24, testing::kBmpKompressionStelle, 4, 5},
      {"bit fields of 24 bits", rgb24, testing::kBmpKompressionStelle, 4, 3},
      {"unknown coding", pal8, testing::kBmpKompressionStelle, 4, 7},
      {"run-length codes of the wrong depth", pal8, testing::kBmpKompressionStelle, 4, 2},
      {"OS/2 RLE24", os2, testing::kBmpKompressionStelle, 4, 4},
      {"OS/2 bit fields", os2, testing::kBmpKompressionStelle, 4, 3},
      {"pixels inside the header", pal8, testing::kBmpPixelOffsetStelle, 4, 50},
      {"pixels inside the palette", pal8, testing::kBmpPixelOffsetStelle, 4, 14 + 40},
      {"pixels behind the end", pal8, testing::kBmpPixelOffsetStelle, 4, 1'000'000},
      {"pixels cut short by their offset", pal8, testing::kBmpPixelOffsetStelle, 4, pixelStart + 8},
      {"pixels over the masks", felder, testing::kBmpPixelOffsetStelle, 4, 14 + 40 + 8},
  };
  for (const Fehler& f : fehler) {
    std::string bytes = f.datei;
    f.bytes == 2 ? Setzen16(bytes, f.stelle, static_cast<uint16_t>(f.wert))
                 : Setzen32(bytes, f.stelle, f.wert);
    SollAbgelehntWerden(bytes, f.name, ordner);
  }
  // Masks: all zero, a gap inside one, bits beyond the pixel, bits shared by two, which
  // give those bits no meaning.
  for (const std::array<uint32_t, 4>& masken : {std::array<uint32_t, 4>{0, 0, 0, 0},
                                                {0x7C01, 0x03E0, 0x001C, 0},
                                                {0x7C00, 0x03E0, 0x1001F, 0},
                                                {0x7C00, 0x07E0, 0x001F, 0},
                                                {0xF800, 0x07E0, 0x0FFF, 0}}) {
    SollAbgelehntWerden(
        BmpBauen(vorbild, {.bits = 16, .kompression = testing::kBmpBitfelder, .masken = masken}),
        "masks", ordner);
  }
  // No room for a single palette entry before the pixels.
  SollAbgelehntWerden(BmpBauen(vorbild, {.bits = 8, .paletteEintraege = 0}), "no palette", ordner);
  SollAbgelehntWerden("BM", "two bytes", ordner);
  SollAbgelehntWerden("", "empty", ordner);
  Bitmap bild;
  EXPECT_FALSE(ReadBmpFile(bild, ordner / "fehlt.bmp"));
  EXPECT_FALSE(ReadBmpFile(bild, ordner.path()));
}

TEST(BmpLeser, EveryCutOffFileIsRefusedOrDecodedWithinItsBytes) {
  // Cut at every length in the headers and palette and at many lengths in the pixels: an
  // uncompressed file missing pixel bytes must be refused. A whole row's padding may be
  // missing at the end; run-length data may end early with the rest left at index 0.
  for (const Variante& v : Varianten()) {
    const std::string bytes = v.Bytes();
    for (size_t laenge = 0; laenge < bytes.size(); laenge += laenge < 1200 ? 1 : 61) {
      Bitmap bild;
      const bool gelesen = DecodeGenau(bild, std::string_view(bytes).substr(0, laenge));
      EXPECT_TRUE(v.Lauflaengen() || !gelesen) << v.name << " cut to " << laenge;
    }
  }
  // The last row's padding (127 × 3 = 381 of 384 bytes) is not needed, on either way.
  const testing::TempFolder ordner;
  const std::string ganz = BmpBauen(BmpVorbild(8), {.bits = 24});
  for (const size_t weniger : {1u, 3u, 4u, 400u}) {
    testing::WriteWholeFile(ordner / "kurz.bmp", ganz.substr(0, ganz.size() - weniger));
    Bitmap bild;
    EXPECT_EQ(ReadBmpFile(bild, ordner / "kurz.bmp"), weniger <= 3) << weniger;
    EXPECT_EQ(DecodeGenau(bild, testing::ReadTestFile(ordner / "kurz.bmp")), weniger <= 3)
        << weniger;
  }
}

// A bottom-up 8-bit run-length file of the given size and data, with a palette of two
// entries: 0 blue, 1 red.
std::string Rle8Datei(int32_t breite, int32_t hoehe, const std::vector<uint8_t>& daten) {
  Bitmap bild(breite, hoehe, PixelFormat::k8);
  bild.palette()[0] = {255, 0, 0, 0};
  bild.palette()[1] = {0, 0, 255, 0};
  std::string bytes = BmpBauen(bild, {.bits = 8, .farbenBenutzt = 2}).substr(0, 14 + 40 + 8);
  testing::Setzen32(bytes, testing::kBmpKompressionStelle, testing::kBmpRle8);
  return bytes + std::string(daten.begin(), daten.end());
}

TEST(BmpLeser, RunLengthCodesPlaceAndClipPixelsAndLeaveSkippedOnesAtIndexZero) {
  // 4 × 3 picture, stored from the bottom row up:
  //   bottom row: a run of two 1s, then end of line
  //   middle row: delta (+1 right, +1 up) skips it and the start of the top row
  //   top row (from x = 1): two literal pixels 1, 1 (padded), then end of picture
  const std::vector<uint8_t> daten = {2, 1, 0, 0,        // run, end of line
                                      0, 2, 1, 1,        // delta
                                      0, 3, 1, 0, 1, 0,  // three literal pixels + pad
                                      0, 1};             // end of picture
  const std::string bytes = Rle8Datei(4, 3, daten);
  Bitmap bild;
  ASSERT_TRUE(DecodeGenau(bild, bytes));
  ASSERT_EQ(bild.format(), PixelFormat::k8);
  const std::vector<std::vector<uint8_t>> erwartet = {{0, 1, 0, 1}, {0, 0, 0, 0}, {1, 1, 0, 0}};
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(bild.row(y)[x], erwartet[y][x]) << x << "," << y;
  }
  EXPECT_EQ(ReadPixel(bild, 0, 0), (Farbe{255, 0, 0}));  // palette entry 0: blue
  EXPECT_EQ(ReadPixel(bild, 1, 0), (Farbe{0, 0, 255}));  // palette entry 1: red
  EXPECT_EQ(bild.palette()[2].blue, 0);                  // entries not in the file: black

  // A run of 200 pixels in a 4-pixel row and a delta far beyond the picture are clipped;
  // data that ends before the picture is complete and without its end code is refused,
  // in the middle of literal pixels or after a whole row.
  ASSERT_TRUE(DecodeGenau(bild, Rle8Datei(4, 2, {200, 1, 0, 2, 250, 250})));
  EXPECT_EQ(bild.row(1)[3], 1);
  EXPECT_FALSE(DecodeGenau(bild, Rle8Datei(4, 2, {4, 1, 0, 0, 0, 4, 1})));
  EXPECT_FALSE(DecodeGenau(bild, Rle8Datei(4, 2, {4, 1, 0, 0})));
}

}  // namespace
}  // namespace tilvendo
