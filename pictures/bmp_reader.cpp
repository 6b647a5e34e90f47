#include "pictures/bmp_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>
#include <vector>

#include "pictures/byte_reader.h"
#include "pictures/datei_inhalt.h"

namespace tilvendo {
namespace {

constexpr uint16_t kSignatur = 0x4D42;  // "BM"
constexpr uint64_t kDateiKopf = 14;
constexpr uint64_t kPixelOffsetStelle = 10;

// Sizes of the info headers we understand.
constexpr uint32_t kCoreKopf = 12;     // OS/2 1.x: 16-bit sizes, 3-byte palette entries
constexpr uint32_t kOs2KurzKopf = 16;  // OS/2 2.x cut after the bit count
constexpr uint32_t kInfoKopf = 40;     // the common Windows header
constexpr uint32_t kV2Kopf = 52;       // + red, green, blue masks
constexpr uint32_t kV3Kopf = 56;       // + alpha mask
constexpr uint32_t kOs2Kopf = 64;      // full OS/2 2.x header
constexpr uint32_t kV4Kopf = 108;      // + colour space
constexpr uint32_t kV5Kopf = 124;      // + profile

// Compression codes. In OS/2 2.x headers 3 and 4 mean Huffman 1D and RLE24 instead.
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

constexpr uint32_t kMaxPaletteBits = 8;
constexpr uint32_t kMaskenBytes = 12;
constexpr uint32_t kAlphaMaskenBytes = 16;

// A bitmap file larger than the biggest picture we hold at 32 bits (plus generous room for
// headers, palette and profile) cannot be one we accept; don't read it.
constexpr uint64_t kMaxDateiGroesse = static_cast<uint64_t>(kMaxPixelCount) * 4 + (64u << 20);

// Run-length codes make at most 255 pixels from two bytes, and real files stay far below
// that; a picture much larger than its data could give is a lie that would only make us
// allocate memory. Pixels skipped by delta or end codes count against the same budget.
constexpr uint64_t kMaxLauflaengenPixelProByte = 256;

// The headers, masks and palette lie in this many bytes at the start of every file we
// understand: file header, the largest info header, an alpha mask and 256 entries.
constexpr size_t kKopfBereich = 14 + 124 + 16 + 256 * 4;

constexpr std::array<uint32_t, 3> kMasken16 = {0x7C00, 0x03E0, 0x001F};        // 5-5-5
constexpr std::array<uint32_t, 3> kMasken32 = {0xFF0000, 0x00FF00, 0x0000FF};  // 8-8-8

struct BmpKopf {
  int32_t breite = 0;
  int32_t hoehe = 0;  // always positive; see vonOben
  bool vonOben = false;
  uint32_t bitsProPixel = 0;
  uint32_t kompression = kBiRgb;
  std::array<uint32_t, 3> masken{};  // red, green, blue
  Palette palette{};                 // entries the file does not give stay black
  uint64_t pixelStart = 0;
};

bool IstBekannteKopfGroesse(uint32_t groesse) {
  switch (groesse) {
    case kCoreKopf:
    case kOs2KurzKopf:
    case kInfoKopf:
    case kV2Kopf:
    case kV3Kopf:
    case kOs2Kopf:
    case kV4Kopf:
    case kV5Kopf:
      return true;
    default:
      return false;
  }
}

bool PasstKompression(uint32_t kompression, uint32_t bits, bool os2) {
  switch (kompression) {
    case kBiRgb:
      return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
             bits == 32;
    case kBiRle8:
      return bits == 8;
    case kBiRle4:
      return bits == 4;
    case kBiBitfields:
    case kBiAlphaBitfields:
      return !os2 && (bits == 16 || bits == 32);
    default:
      return false;  // JPEG or PNG inside, RLE24, Huffman: not for us
  }
}

// Masks must be runs of set bits inside the pixel, must not overlap, and at least one
// must be set. A zero mask gives a channel of 0.
bool SindMaskenGueltig(const std::array<uint32_t, 3>& masken, uint32_t bits) {
  uint32_t alle = 0;
  for (const uint32_t maske : masken) {
    if (maske == 0) continue;
    if (bits < 32 && (maske >> bits) != 0) return false;
    const uint32_t verschoben = maske >> std::countr_zero(maske);
    if ((verschoben & (verschoben + 1)) != 0) return false;
    if ((alle & maske) != 0) return false;
    alle |= maske;
  }
  return alle != 0;
}

// `leser` holds at least the headers and the palette (all within kKopfBereich bytes).
std::optional<BmpKopf> KopfLesen(ByteReader& leser, uint64_t dateiGroesse) {
  if (leser.U16(0) != kSignatur) return std::nullopt;
  const uint32_t pixelOffset = leser.U32(kPixelOffsetStelle);
  const uint32_t kopfGroesse = leser.U32(kDateiKopf);
  if (leser.failed() || !IstBekannteKopfGroesse(kopfGroesse) ||
      !leser.Contains(kDateiKopf, kopfGroesse)) {
    return std::nullopt;
  }

  const uint64_t k = kDateiKopf;
  BmpKopf kopf;
  int64_t breite = 0;
  int64_t hoehe = 0;
  uint32_t ebenen = 0;
  uint32_t farbenBenutzt = 0;
  uint64_t eintragGroesse = 4;
  if (kopfGroesse == kCoreKopf) {
    breite = leser.U16(k + 4);
    hoehe = leser.U16(k + 6);
    ebenen = leser.U16(k + 8);
    kopf.bitsProPixel = leser.U16(k + 10);
    eintragGroesse = 3;
  } else {
    breite = leser.I32(k + 4);
    hoehe = leser.I32(k + 8);
    ebenen = leser.U16(k + 12);
    kopf.bitsProPixel = leser.U16(k + 14);
    if (kopfGroesse >= kInfoKopf) {
      kopf.kompression = leser.U32(k + 16);
      farbenBenutzt = leser.U32(k + 32);
    }
  }
  const bool os2 = kopfGroesse == kOs2KurzKopf || kopfGroesse == kOs2Kopf;

  if (breite <= 0 || hoehe == 0 || ebenen != 1 ||
      !PasstKompression(kopf.kompression, kopf.bitsProPixel, os2)) {
    return std::nullopt;
  }
  kopf.vonOben = hoehe < 0;
  hoehe = hoehe < 0 ? -hoehe : hoehe;
  // Run-length data is defined bottom-up only.
  if (kopf.vonOben && (kopf.kompression == kBiRle8 || kopf.kompression == kBiRle4)) {
    return std::nullopt;
  }
  CheckPictureSize(breite, hoehe);
  kopf.breite = static_cast<int32_t>(breite);
  kopf.hoehe = static_cast<int32_t>(hoehe);

  // Masks: inside the larger headers, else right after the 40-byte header.
  uint64_t kopfEnde = k + kopfGroesse;
  if (kopf.kompression == kBiBitfields || kopf.kompression == kBiAlphaBitfields) {
    const uint64_t maskenStart = k + kInfoKopf;
    for (size_t i = 0; i < kopf.masken.size(); ++i) kopf.masken[i] = leser.U32(maskenStart + 4 * i);
    if (kopfGroesse == kInfoKopf) {
      kopfEnde += kopf.kompression == kBiAlphaBitfields ? kAlphaMaskenBytes : kMaskenBytes;
    }
    if (!SindMaskenGueltig(kopf.masken, kopf.bitsProPixel)) return std::nullopt;
  } else if (kopf.bitsProPixel == 16) {
    kopf.masken = kMasken16;
  } else if (kopf.bitsProPixel == 32) {
    kopf.masken = kMasken32;
  }

  // Pixel data that overlaps the headers is a lie.
  if (pixelOffset < kopfEnde || pixelOffset > dateiGroesse) return std::nullopt;
  kopf.pixelStart = pixelOffset;

  if (kopf.bitsProPixel <= kMaxPaletteBits) {
    const uint64_t moeglich = uint64_t{1} << kopf.bitsProPixel;
    uint64_t eintraege =
        farbenBenutzt != 0 ? std::min<uint64_t>(farbenBenutzt, moeglich) : moeglich;
    // Some writers give a shorter palette than the bit count allows; the pixel offset
    // tells where it really ends.
    eintraege = std::min<uint64_t>(eintraege, (pixelOffset - kopfEnde) / eintragGroesse);
    if (eintraege == 0) return std::nullopt;
    const std::span<const uint8_t> palette = leser.Bytes(kopfEnde, eintraege * eintragGroesse);
    if (palette.empty()) return std::nullopt;
    for (uint64_t i = 0; i < eintraege; ++i) {
      const uint8_t* eintrag = palette.data() + i * eintragGroesse;
      kopf.palette[i] = PaletteEntry{eintrag[0], eintrag[1], eintrag[2], 0};
    }
  }
  if (leser.failed()) return std::nullopt;
  return kopf;
}

// Bytes of one stored row, padded to four bytes.
uint64_t DateiZeilenBytes(const BmpKopf& kopf) {
  return (static_cast<uint64_t>(kopf.breite) * kopf.bitsProPixel + 31) / 32 * 4;
}

int32_t BildZeile(const BmpKopf& kopf, int32_t dateiZeile) {
  return kopf.vonOben ? dateiZeile : kopf.hoehe - 1 - dateiZeile;
}

// One colour channel of a bit-field pixel, scaled to 0..255 with rounding.
class Kanal {
 public:
  explicit Kanal(uint32_t maske)
      : maske_(maske),
        shift_(maske == 0 ? 0 : std::countr_zero(maske)),
        faktor_(maske == 0 ? 0.0 : 255.0 / static_cast<double>(maske >> shift_)) {}

  uint8_t operator()(uint32_t pixel) const {
    return static_cast<uint8_t>(static_cast<double>((pixel & maske_) >> shift_) * faktor_ + 0.5);
  }

 private:
  uint32_t maske_;
  int shift_;
  double faktor_;
};

// 1, 2, 4 and 8 bits per pixel into an 8-bit picture, one index per byte.
void IndizesLesen(const BmpKopf& kopf, const uint8_t* pixel, Bitmap& bild) {
  const uint64_t zeilenBytes = DateiZeilenBytes(kopf);
  const uint32_t bits = kopf.bitsProPixel;
  const uint32_t indexMaske = (1u << bits) - 1;
  for (int32_t i = 0; i < kopf.hoehe; ++i) {
    const uint8_t* quelle = pixel + static_cast<uint64_t>(i) * zeilenBytes;
    uint8_t* ziel = bild.row(BildZeile(kopf, i));
    if (bits == 8) {
      std::memcpy(ziel, quelle, static_cast<size_t>(kopf.breite));
      continue;
    }
    for (int32_t x = 0; x < kopf.breite; ++x) {
      const uint64_t bit = static_cast<uint64_t>(x) * bits;
      const uint32_t verschiebung = 8 - bits - static_cast<uint32_t>(bit & 7);
      ziel[x] = static_cast<uint8_t>((quelle[bit >> 3] >> verschiebung) & indexMaske);
    }
  }
}

// Rows stored exactly as the picture holds them (24 bits, or 32 bits in the usual order).
void ZeilenKopieren(const BmpKopf& kopf, const uint8_t* pixel, Bitmap& bild) {
  const uint64_t zeilenBytes = DateiZeilenBytes(kopf);
  const size_t bytes = static_cast<size_t>(kopf.breite) * (kopf.bitsProPixel / 8);
  for (int32_t i = 0; i < kopf.hoehe; ++i) {
    std::memcpy(bild.row(BildZeile(kopf, i)), pixel + static_cast<uint64_t>(i) * zeilenBytes,
                bytes);
  }
}

// 16- and 32-bit pixels through their masks.
void BitfelderLesen(const BmpKopf& kopf, const uint8_t* pixel, Bitmap& bild) {
  const uint64_t zeilenBytes = DateiZeilenBytes(kopf);
  const Kanal rot(kopf.masken[0]);
  const Kanal gruen(kopf.masken[1]);
  const Kanal blau(kopf.masken[2]);
  const int quellBytes = static_cast<int>(kopf.bitsProPixel / 8);
  const int zielBytes = BytesPerPixel(bild.format());
  for (int32_t i = 0; i < kopf.hoehe; ++i) {
    const uint8_t* quelle = pixel + static_cast<uint64_t>(i) * zeilenBytes;
    uint8_t* ziel = bild.row(BildZeile(kopf, i));
    for (int32_t x = 0; x < kopf.breite; ++x, quelle += quellBytes, ziel += zielBytes) {
      uint32_t wert = static_cast<uint32_t>(quelle[0]) | (static_cast<uint32_t>(quelle[1]) << 8);
      if (quellBytes == 4) {
        wert |= (static_cast<uint32_t>(quelle[2]) << 16) | (static_cast<uint32_t>(quelle[3]) << 24);
      }
      ziel[0] = blau(wert);
      ziel[1] = gruen(wert);
      ziel[2] = rot(wert);
      if (zielBytes == 4) ziel[3] = 0;
    }
  }
}

// Run-length data into an 8-bit picture. Pixels the data skips (delta codes, early end of
// line or of the picture) keep palette index 0; runs past the right edge are clipped.
// False when the data ends before its end-of-picture code and before the last row.
bool LauflaengenLesen(std::span<const uint8_t> daten, bool vierBit, Bitmap& bild) {
  constexpr uint8_t kEscape = 0;
  constexpr uint8_t kZeilenende = 0;
  constexpr uint8_t kBildende = 1;
  constexpr uint8_t kVersatz = 2;
  const int64_t breite = bild.width();
  const int64_t hoehe = bild.height();
  int64_t x = 0;
  int64_t zeile = 0;  // counted from the bottom, as stored
  size_t pos = 0;
  auto setzen = [&](uint8_t index) {
    if (x < breite) bild.row(static_cast<int32_t>(hoehe - 1 - zeile))[x] = index;
    ++x;
  };
  while (zeile < hoehe) {
    if (daten.size() - pos < 2) return false;
    const uint8_t anzahl = daten[pos];
    const uint8_t wert = daten[pos + 1];
    pos += 2;
    if (anzahl != kEscape) {
      for (int k = 0; k < anzahl && x < breite; ++k) {
        setzen(vierBit ? static_cast<uint8_t>((k & 1) ? (wert & 0x0F) : (wert >> 4)) : wert);
      }
      continue;
    }
    switch (wert) {
      case kZeilenende:
        x = 0;
        ++zeile;
        break;
      case kBildende:
        return true;
      case kVersatz:
        if (daten.size() - pos < 2) return false;
        x += daten[pos];
        zeile += daten[pos + 1];
        pos += 2;
        break;
      default: {  // literal pixels, padded to a whole number of 16-bit words
        const size_t bytes = vierBit ? (wert + 1u) / 2 : wert;
        if (daten.size() - pos < bytes) return false;
        for (int k = 0; k < wert && x < breite; ++k) {
          const uint8_t b = daten[pos + (vierBit ? k / 2 : k)];
          setzen(vierBit ? static_cast<uint8_t>((k & 1) ? (b & 0x0F) : (b >> 4)) : b);
        }
        pos += std::min(daten.size() - pos, bytes + (bytes & 1));
        break;
      }
    }
  }
  return true;
}

void PolsterLeeren(Bitmap& bild) {
  const size_t nutzBytes = static_cast<size_t>(bild.width()) * BytesPerPixel(bild.format());
  if (bild.stride() == nutzBytes) return;
  for (int32_t y = 0; y < bild.height(); ++y) {
    std::memset(bild.row(y) + nutzBytes, 0, bild.stride() - nutzBytes);
  }
}

PixelFormat ZielFormat(const BmpKopf& kopf) {
  switch (kopf.bitsProPixel) {
    case 16:
    case 24:
      return PixelFormat::k24;
    case 32:
      return PixelFormat::k32;
    default:
      return PixelFormat::k8;
  }
}

bool IstLauflaenge(const BmpKopf& kopf) {
  return kopf.kompression == kBiRle8 || kopf.kompression == kBiRle4;
}

// Uncompressed rows that hold exactly the bytes of the picture's rows.
bool IstDirekt(const BmpKopf& kopf) {
  return !IstLauflaenge(kopf) && (kopf.bitsProPixel == 8 || kopf.bitsProPixel == 24 ||
                                  (kopf.bitsProPixel == 32 && kopf.masken == kMasken32));
}

uint64_t Pixelanzahl(const BmpKopf& kopf) {
  return static_cast<uint64_t>(kopf.breite) * static_cast<uint64_t>(kopf.hoehe);
}

// Bytes of uncompressed pixel data from the pixel offset on; the last row may lack its
// padding.
uint64_t NoetigeBytes(const BmpKopf& kopf) {
  const uint64_t letzteZeile = (static_cast<uint64_t>(kopf.breite) * kopf.bitsProPixel + 7) / 8;
  return DateiZeilenBytes(kopf) * static_cast<uint64_t>(kopf.hoehe - 1) + letzteZeile;
}

// The picture to fill, with its palette. Run-length data may skip pixels, which then keep
// index 0; every other coding fills each pixel, and only the row padding needs clearing.
Bitmap NeuesBild(const BmpKopf& kopf) {
  if (IstLauflaenge(kopf)) {
    Bitmap bild(kopf.breite, kopf.hoehe, PixelFormat::k8);
    bild.palette() = kopf.palette;
    return bild;
  }
  Bitmap bild = Bitmap::Uninitialized(kopf.breite, kopf.hoehe, ZielFormat(kopf));
  PolsterLeeren(bild);
  if (bild.format() == PixelFormat::k8) bild.palette() = kopf.palette;
  return bild;
}

}  // namespace

bool DecodeBmp(Bitmap& bitmap, std::span<const uint8_t> bytes) {
  return FalseIfTooLarge([&] {
    ByteReader leser(bytes);
    const std::optional<BmpKopf> kopf = KopfLesen(leser, bytes.size());
    if (!kopf) return false;
    const uint64_t verfuegbar = bytes.size() - kopf->pixelStart;
    if (IstLauflaenge(*kopf)) {
      if (Pixelanzahl(*kopf) / kMaxLauflaengenPixelProByte > verfuegbar) return false;
    } else if (NoetigeBytes(*kopf) > verfuegbar) {
      return false;
    }

    Bitmap bild = NeuesBild(*kopf);
    const uint8_t* pixel = bytes.data() + kopf->pixelStart;
    if (IstLauflaenge(*kopf)) {
      if (!LauflaengenLesen(bytes.subspan(kopf->pixelStart), kopf->kompression == kBiRle4, bild)) {
        return false;
      }
    } else if (IstDirekt(*kopf)) {
      ZeilenKopieren(*kopf, pixel, bild);
    } else if (kopf->bitsProPixel <= kMaxPaletteBits) {
      IndizesLesen(*kopf, pixel, bild);
    } else {
      BitfelderLesen(*kopf, pixel, bild);
    }
    bitmap = std::move(bild);
    return true;
  });
}

bool ReadBmpFile(Bitmap& bitmap, const std::string& fileName) {
  return FalseIfTooLarge([&] {
    const LeseDatei datei(fileName);
    if (!datei.offen() || datei.size() > kMaxDateiGroesse) return false;
    std::array<uint8_t, kKopfBereich> kopfBytes;
    const size_t kopfLaenge = std::min<uint64_t>(datei.size(), kKopfBereich);
    if (!datei.Lesen(0, kopfBytes.data(), kopfLaenge)) return false;
    ByteReader leser({kopfBytes.data(), kopfLaenge});
    const std::optional<BmpKopf> kopf = KopfLesen(leser, datei.size());
    if (!kopf) return false;

    if (!IstDirekt(*kopf)) {
      DateiInhalt inhalt;
      return inhalt.Lesen(datei, kMaxDateiGroesse) && DecodeBmp(bitmap, inhalt.bytes());
    }
    // Rows stored as the picture holds them are read straight into it: no copy of the
    // whole file in between.
    if (NoetigeBytes(*kopf) > datei.size() - kopf->pixelStart) return false;
    Bitmap bild = NeuesBild(*kopf);
    const uint64_t dateiZeile = DateiZeilenBytes(*kopf);
    const size_t zeilenBytes = static_cast<size_t>(kopf->breite) * (kopf->bitsProPixel / 8);
    for (int32_t i = 0; i < kopf->hoehe; ++i) {
      if (!datei.Lesen(kopf->pixelStart + i * dateiZeile, bild.row(BildZeile(*kopf, i)),
                       zeilenBytes)) {
        return false;
      }
    }
    bitmap = std::move(bild);
    return true;
  });
}

}  // namespace tilvendo
