#include "pictures/bmp_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "pictures/byte_reader.h"
#include "pictures/datei_inhalt.h"
#include "pictures/zeilen_empfaenger.h"

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
// Throws PictureTooLarge for a size beyond CheckPictureSize, unless `groessePruefen` is
// false (for learning the size alone).
std::optional<BmpKopf> KopfLesen(ByteReader& leser, uint64_t dateiGroesse,
                                 bool groessePruefen = true) {
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
  if (groessePruefen) CheckPictureSize(breite, hoehe);
  if (hoehe > std::numeric_limits<int32_t>::max()) return std::nullopt;
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

// One uncompressed stored row into a row of the picture's format.
class ZeilenDekoder {
 public:
  explicit ZeilenDekoder(const BmpKopf& kopf)
      : kopf_(kopf),
        direkt_(IstDirekt(kopf)),
        zielBytes_(BytesPerPixel(ZielFormat(kopf))),
        rot_(kopf.masken[0]),
        gruen_(kopf.masken[1]),
        blau_(kopf.masken[2]) {}

  // Whether stored rows hold exactly the bytes of the picture's rows.
  bool direkt() const { return direkt_; }

  void Dekodieren(const uint8_t* quelle, uint8_t* ziel) const {
    if (direkt_) {
      std::memcpy(ziel, quelle, static_cast<size_t>(kopf_.breite) * (kopf_.bitsProPixel / 8));
    } else if (kopf_.bitsProPixel <= kMaxPaletteBits) {
      Indizes(quelle, ziel);
    } else {
      Bitfelder(quelle, ziel);
    }
  }

 private:
  // 1, 2 and 4 bits per pixel, one index per byte.
  void Indizes(const uint8_t* quelle, uint8_t* ziel) const {
    const uint32_t bits = kopf_.bitsProPixel;
    const uint32_t indexMaske = (1u << bits) - 1;
    for (int32_t x = 0; x < kopf_.breite; ++x) {
      const uint64_t bit = static_cast<uint64_t>(x) * bits;
      const uint32_t verschiebung = 8 - bits - static_cast<uint32_t>(bit & 7);
      ziel[x] = static_cast<uint8_t>((quelle[bit >> 3] >> verschiebung) & indexMaske);
    }
  }

  // 16- and 32-bit pixels through their masks.
  void Bitfelder(const uint8_t* quelle, uint8_t* ziel) const {
    const int quellBytes = static_cast<int>(kopf_.bitsProPixel / 8);
    for (int32_t x = 0; x < kopf_.breite; ++x, quelle += quellBytes, ziel += zielBytes_) {
      uint32_t wert = static_cast<uint32_t>(quelle[0]) | (static_cast<uint32_t>(quelle[1]) << 8);
      if (quellBytes == 4) {
        wert |= (static_cast<uint32_t>(quelle[2]) << 16) | (static_cast<uint32_t>(quelle[3]) << 24);
      }
      ziel[0] = blau_(wert);
      ziel[1] = gruen_(wert);
      ziel[2] = rot_(wert);
      if (zielBytes_ == 4) ziel[3] = 0;
    }
  }

  const BmpKopf& kopf_;
  bool direkt_;
  int zielBytes_;
  Kanal rot_;
  Kanal gruen_;
  Kanal blau_;
};

// The bytes of a bitmap, either all in memory or read from the file piece by piece.
class BmpQuelle {
 public:
  explicit BmpQuelle(std::span<const uint8_t> bytes) : speicher_(bytes), size_(bytes.size()) {}
  explicit BmpQuelle(const LeseDatei& datei) : datei_(&datei), size_(datei.size()) {}

  uint64_t size() const { return size_; }

  // `count` bytes at `offset`, valid until the next call; null when the source has
  // fewer. From a file, `fenster` bytes (when more) are read ahead for the next calls.
  const uint8_t* Bytes(uint64_t offset, size_t count, size_t fenster = 0) {
    if (offset > size_ || count > size_ - offset) return nullptr;
    if (datei_ == nullptr) return speicher_.data() + offset;
    if (offset < pufferStart_ || offset + count > pufferStart_ + puffer_.size()) {
      const size_t lesen =
          static_cast<size_t>(std::min<uint64_t>(std::max(count, fenster), size_ - offset));
      puffer_.resize(lesen);
      pufferStart_ = offset;
      if (!datei_->Lesen(offset, puffer_.data(), lesen)) {
        puffer_.clear();
        return nullptr;
      }
    }
    return puffer_.data() + (offset - pufferStart_);
  }

  // Copies `count` bytes at `offset` to `ziel`; from a file straight, without the buffer.
  bool Kopieren(uint64_t offset, size_t count, uint8_t* ziel) {
    if (offset > size_ || count > size_ - offset) return false;
    if (datei_ != nullptr) return datei_->Lesen(offset, ziel, count);
    std::memcpy(ziel, speicher_.data() + offset, count);
    return true;
  }

 private:
  std::span<const uint8_t> speicher_;
  const LeseDatei* datei_ = nullptr;
  uint64_t size_ = 0;
  std::vector<uint8_t> puffer_;
  uint64_t pufferStart_ = 0;
};

// Run-length data is read ahead in pieces of this size from a file.
constexpr size_t kLauflaengenFenster = size_t{64} << 10;

// Where the decoded rows go, each in the picture's format (palette indices up to 8 bits).
class ZeilenSenke {
 public:
  virtual ~ZeilenSenke() = default;
  // The row to fill for picture row y, null when the row is not wanted. For run-length
  // data its bytes must be 0, as the data may skip pixels.
  virtual uint8_t* Beginnen(int32_t y) = 0;
  // Row y is complete (called only for rows that Beginnen gave a buffer for).
  virtual void Beenden(int32_t y) = 0;
};

// Run-length data, stored rows from the bottom. Pixels the data skips (delta codes,
// early end of line or of the picture) keep palette index 0; runs past the right edge
// are clipped. False when the data ends before its end-of-picture code and before the
// last row.
bool LauflaengenLesen(const BmpKopf& kopf, BmpQuelle& quelle, ZeilenSenke& senke) {
  constexpr uint8_t kEscape = 0;
  constexpr uint8_t kZeilenende = 0;
  constexpr uint8_t kBildende = 1;
  constexpr uint8_t kVersatz = 2;
  const bool vierBit = kopf.kompression == kBiRle4;
  const int64_t breite = kopf.breite;
  const int32_t hoehe = kopf.hoehe;
  uint64_t pos = kopf.pixelStart;
  auto naechste = [&](size_t count) {
    const uint8_t* bytes = quelle.Bytes(pos, count, kLauflaengenFenster);
    if (bytes != nullptr) pos += count;
    return bytes;
  };

  int64_t x = 0;
  int32_t zeile = 0;  // counted from the bottom, as stored
  uint8_t* ziel = senke.Beginnen(hoehe - 1);
  auto weiter = [&] {
    if (ziel != nullptr) senke.Beenden(hoehe - 1 - zeile);
    ++zeile;
    ziel = zeile < hoehe ? senke.Beginnen(hoehe - 1 - zeile) : nullptr;
  };
  auto setzen = [&](uint8_t index) {
    if (x < breite) ziel[x] = index;
    ++x;
  };
  // A row nobody wants: only where the pixels end matters.
  auto uebergehen = [&](int64_t pixel) {
    if (x < breite) x = std::min(x + pixel, breite);
  };
  while (zeile < hoehe) {
    const uint8_t* paar = naechste(2);
    if (paar == nullptr) return false;
    const uint8_t anzahl = paar[0];
    const uint8_t wert = paar[1];
    if (anzahl != kEscape) {
      if (ziel == nullptr) {
        uebergehen(anzahl);
        continue;
      }
      for (int k = 0; k < anzahl && x < breite; ++k) {
        setzen(vierBit ? static_cast<uint8_t>((k & 1) ? (wert & 0x0F) : (wert >> 4)) : wert);
      }
      continue;
    }
    switch (wert) {
      case kZeilenende:
        x = 0;
        weiter();
        break;
      case kBildende:
        while (zeile < hoehe) weiter();
        return true;
      case kVersatz: {
        const uint8_t* versatz = naechste(2);
        if (versatz == nullptr) return false;
        x += versatz[0];
        const int32_t zeilen = versatz[1];
        for (int32_t k = 0; k < zeilen && zeile < hoehe; ++k) weiter();
        break;
      }
      default: {  // literal pixels, padded to a whole number of 16-bit words
        const size_t bytes = vierBit ? (wert + 1u) / 2 : wert;
        const uint8_t* daten = naechste(bytes);
        if (daten == nullptr) return false;
        if (ziel == nullptr) uebergehen(wert);
        for (int k = 0; k < wert && x < breite && ziel != nullptr; ++k) {
          const uint8_t b = daten[vierBit ? k / 2 : k];
          setzen(vierBit ? static_cast<uint8_t>((k & 1) ? (b & 0x0F) : (b >> 4)) : b);
        }
        if ((bytes & 1) != 0 && pos < quelle.size()) ++pos;
        break;
      }
    }
  }
  return true;
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

// Whether the source holds enough data for the picture the header declares.
bool GenugDaten(const BmpKopf& kopf, uint64_t dateiGroesse) {
  const uint64_t verfuegbar = dateiGroesse - kopf.pixelStart;
  if (IstLauflaenge(kopf)) return Pixelanzahl(kopf) / kMaxLauflaengenPixelProByte <= verfuegbar;
  return NoetigeBytes(kopf) <= verfuegbar;
}

// Decodes every row the sink wants.
bool ZeilenLesen(const BmpKopf& kopf, BmpQuelle& quelle, ZeilenSenke& senke) {
  if (IstLauflaenge(kopf)) return LauflaengenLesen(kopf, quelle, senke);
  const ZeilenDekoder dekoder(kopf);
  const uint64_t dateiZeile = DateiZeilenBytes(kopf);
  const auto zeilenBytes =
      static_cast<size_t>((static_cast<uint64_t>(kopf.breite) * kopf.bitsProPixel + 7) / 8);
  for (int32_t i = 0; i < kopf.hoehe; ++i) {
    const int32_t y = BildZeile(kopf, i);
    uint8_t* ziel = senke.Beginnen(y);
    if (ziel == nullptr) continue;
    const uint64_t offset = kopf.pixelStart + i * dateiZeile;
    if (dekoder.direkt()) {
      if (!quelle.Kopieren(offset, zeilenBytes, ziel)) return false;
    } else {
      const uint8_t* zeile = quelle.Bytes(offset, zeilenBytes);
      if (zeile == nullptr) return false;
      dekoder.Dekodieren(zeile, ziel);
    }
    senke.Beenden(y);
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

// Rows straight into the whole picture (cleared beforehand where the data may skip pixels).
class BildSenke final : public ZeilenSenke {
 public:
  explicit BildSenke(Bitmap& bild) : bild_(bild) {}
  uint8_t* Beginnen(int32_t y) override { return bild_.row(y); }
  void Beenden(int32_t) override {}

 private:
  Bitmap& bild_;
};

// Rows for a receiver: only the rows it wants, palette indices turned into colours.
class EmpfaengerSenke final : public ZeilenSenke {
 public:
  EmpfaengerSenke(const BmpKopf& kopf, ZeilenEmpfaenger& empfaenger)
      : kopf_(kopf),
        empfaenger_(empfaenger),
        zeile_(static_cast<size_t>(kopf.breite) * BytesPerPixel(ZielFormat(kopf))),
        farben_(ZielFormat(kopf) == PixelFormat::k8 ? static_cast<size_t>(kopf.breite) * 3 : 0) {}

  uint8_t* Beginnen(int32_t y) override {
    if (!empfaenger_.BrauchtZeile(y)) return nullptr;
    std::fill(zeile_.begin(), zeile_.end(), uint8_t{0});
    return zeile_.data();
  }

  void Beenden(int32_t y) override {
    if (farben_.empty()) {
      empfaenger_.Zeile(y, zeile_.data());
      return;
    }
    for (size_t x = 0; x < zeile_.size(); ++x) {
      const PaletteEntry& farbe = kopf_.palette[zeile_[x]];
      farben_[3 * x] = farbe.blue;
      farben_[3 * x + 1] = farbe.green;
      farben_[3 * x + 2] = farbe.red;
    }
    empfaenger_.Zeile(y, farben_.data());
  }

  // What the reader holds besides the receiver's own: these rows and the read-ahead.
  static uint64_t Bytes(const BmpKopf& kopf) {
    const uint64_t breite = static_cast<uint64_t>(kopf.breite);
    return breite * (kBytesJePixel + 3) + DateiZeilenBytes(kopf) + kLauflaengenFenster;
  }

 private:
  const BmpKopf& kopf_;
  ZeilenEmpfaenger& empfaenger_;
  std::vector<uint8_t> zeile_;
  std::vector<uint8_t> farben_;
};

bool GanzLesen(const BmpKopf& kopf, BmpQuelle& quelle, Bitmap& bitmap) {
  if (!GenugDaten(kopf, quelle.size())) return false;
  Bitmap bild = NeuesBild(kopf);
  BildSenke senke(bild);
  if (!ZeilenLesen(kopf, quelle, senke)) return false;
  bitmap = std::move(bild);
  return true;
}

// The header of a bitmap file, read from its first bytes.
std::optional<BmpKopf> DateiKopfLesen(const LeseDatei& datei, bool groessePruefen = true) {
  if (!datei.offen() || datei.size() > kMaxDateiGroesse) return std::nullopt;
  std::array<uint8_t, kKopfBereich> kopfBytes;
  const size_t kopfLaenge = std::min<uint64_t>(datei.size(), kKopfBereich);
  if (!datei.Lesen(0, kopfBytes.data(), kopfLaenge)) return std::nullopt;
  ByteReader leser({kopfBytes.data(), kopfLaenge});
  return KopfLesen(leser, datei.size(), groessePruefen);
}

}  // namespace

bool DecodeBmp(Bitmap& bitmap, std::span<const uint8_t> bytes) {
  return FalseIfTooLarge([&] {
    ByteReader leser(bytes);
    const std::optional<BmpKopf> kopf = KopfLesen(leser, bytes.size());
    if (!kopf) return false;
    BmpQuelle quelle(bytes);
    return GanzLesen(*kopf, quelle, bitmap);
  });
}

bool ReadBmpFile(Bitmap& bitmap, const std::string& fileName, MemoryBudget& budget) {
  return FalseIfTooLarge([&] {
    const LeseDatei datei(fileName);
    const std::optional<BmpKopf> kopf = DateiKopfLesen(datei);
    if (!kopf) return false;
    const uint64_t bildBytes = static_cast<uint64_t>(RowStride(kopf->breite, ZielFormat(*kopf))) *
                               static_cast<uint64_t>(kopf->hoehe);
    const std::optional<MemoryBudget::Reservation> reservierung = budget.Reserve(bildBytes);
    if (!reservierung) return false;
    // Row by row from the file: no copy of the whole file in between.
    BmpQuelle quelle(datei);
    return GanzLesen(*kopf, quelle, bitmap);
  });
}

bool ReadBmpFile(Bitmap& bitmap, const std::string& fileName) {
  MemoryBudget budget(MemoryBudget::ForThisMachine());
  return ReadBmpFile(bitmap, fileName, budget);
}

bool ReadBmpRows(const std::string& fileName, ZeilenEmpfaenger& empfaenger) {
  return FalseIfTooLarge([&] {
    const LeseDatei datei(fileName);
    const std::optional<BmpKopf> kopf = DateiKopfLesen(datei);
    if (!kopf || !GenugDaten(*kopf, datei.size())) return false;
    Zeilenformat format;
    format.breite = kopf->breite;
    format.hoehe = kopf->hoehe;
    format.bytesJePixel = ZielFormat(*kopf) == PixelFormat::k32 ? 4 : 3;
    format.leserBytes = EmpfaengerSenke::Bytes(*kopf);
    if (!empfaenger.Groesse(format)) return false;
    BmpQuelle quelle(datei);
    EmpfaengerSenke senke(*kopf, empfaenger);
    return ZeilenLesen(*kopf, quelle, senke);
  });
}

std::optional<Size> ReadBmpSize(const std::string& fileName) {
  const LeseDatei datei(fileName);
  const std::optional<BmpKopf> kopf = DateiKopfLesen(datei, /*groessePruefen=*/false);
  if (!kopf) return std::nullopt;
  return Size{kopf->breite, kopf->hoehe};
}

}  // namespace tilvendo
