#include "support/bmp_bauer.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "platform/pixel.h"

namespace tilvendo::testing {
namespace {

constexpr size_t kDateiKopf = 14;
constexpr uint32_t kCoreKopf = 12;
constexpr uint32_t kInfoKopf = 40;
constexpr uint32_t kV2Kopf = 52;
constexpr uint32_t kV3Kopf = 56;
constexpr uint32_t kOs2Kopf = 64;
constexpr uint32_t kFarbenBenutztStelle = 32;  // inside the info header
constexpr uint32_t kMaxPaletteBits = 8;
constexpr int kMaxLauf = 255;
// Run-length data: three equal pixels are worth a run, four pixels of index 0 a skip.
constexpr int kMinLauf = 3;
constexpr int kMinSprung = 4;
constexpr std::array<uint32_t, 4> kMasken16 = {0x7C00, 0x03E0, 0x001F, 0};
constexpr std::array<uint32_t, 4> kMasken32 = {0xFF0000, 0x00FF00, 0x0000FF, 0};

void Anhaengen(std::string& out, uint32_t wert, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((wert >> (8 * i)) & 0xFF));
}

// An 8-bit channel value scaled into a mask, with rounding.
uint32_t InMaske(uint8_t wert, uint32_t maske) {
  if (maske == 0) return 0;
  const int shift = std::countr_zero(maske);
  const uint64_t groesste = maske >> shift;
  return static_cast<uint32_t>(((wert * groesste + 127) / 255) << shift) & maske;
}

void ZeilePacken(const Bitmap& bild, int32_t y, const BmpAufbau& aufbau,
                 const std::array<uint32_t, 4>& masken, std::string& out) {
  const size_t start = out.size();
  const uint8_t* indizes = bild.row(y);
  if (aufbau.bits <= kMaxPaletteBits) {
    uint32_t byte = 0;
    int belegt = 0;
    for (int32_t x = 0; x < bild.width(); ++x) {
      byte = (byte << aufbau.bits) | indizes[x];
      belegt += aufbau.bits;
      if (belegt == 8) {
        out.push_back(static_cast<char>(byte));
        byte = 0;
        belegt = 0;
      }
    }
    if (belegt != 0) out.push_back(static_cast<char>(byte << (8 - belegt)));
  } else {
    for (int32_t x = 0; x < bild.width(); ++x) {
      const Farbe farbe = ReadPixel(bild, x, y);
      if (aufbau.bits == 24) {
        Anhaengen(out, farbe.blue | (farbe.green << 8) | (farbe.red << 16), 3);
        continue;
      }
      const uint32_t wert = InMaske(farbe.red, masken[0]) | InMaske(farbe.green, masken[1]) |
                            InMaske(farbe.blue, masken[2]) | masken[3];
      Anhaengen(out, wert, aufbau.bits / 8);
    }
  }
  out.resize(start + (out.size() - start + 3) / 4 * 4, '\0');
}

// Run-length coding of an 8-bit picture, rows from the bottom up. Index 0 is what the
// reader leaves in pixels the data skips, so runs of it are skipped where possible.
class Lauflaengen {
 public:
  Lauflaengen(const Bitmap& bild, bool vierBit, std::string& out)
      : bild_(bild), vierBit_(vierBit), out_(out) {}

  void Schreiben() {
    const int32_t breite = bild_.width();
    const int32_t hoehe = bild_.height();
    int32_t x = 0;
    int32_t z = 0;  // stored row, 0 at the bottom
    while (true) {
      int32_t nx = x;
      int32_t nz = z;
      while (nz < hoehe && (nx >= breite || Index(nx, nz) == 0)) {
        if (nx >= breite) {
          nx = 0;
          ++nz;
        } else {
          ++nx;
        }
      }
      if (nz == hoehe) return Code(0, 1);  // end of picture
      if (nz > z && nx < x) {
        Code(0, 0);  // end of line
        x = 0;
        ++z;
      } else if (nz > z || nx - x >= kMinSprung) {
        while (x < nx || z < nz) {  // delta
          const int dx = std::min(nx - x, kMaxLauf);
          const int dy = std::min(nz - z, kMaxLauf);
          Code(0, 2);
          Code(dx, dy);
          x += dx;
          z += dy;
        }
      } else {
        x += Pixel(x, z);
      }
    }
  }

 private:
  uint8_t Index(int32_t x, int32_t z) const { return bild_.row(bild_.height() - 1 - z)[x]; }

  // Equal pixels; with four bits also two alternating ones, which one code can repeat.
  int32_t LaufAb(int32_t x, int32_t z) const {
    int32_t laenge = 1;
    while (x + laenge < bild_.width() && laenge < kMaxLauf &&
           Index(x + laenge, z) == Index(x + (vierBit_ ? laenge % 2 : 0), z)) {
      ++laenge;
    }
    return laenge;
  }

  void Code(int a, int b) {
    out_.push_back(static_cast<char>(a));
    out_.push_back(static_cast<char>(b));
  }

  // A run, or literal pixels up to the next run or skip; the number of pixels written.
  int32_t Pixel(int32_t x, int32_t z) {
    const uint8_t wert = Index(x, z);
    const int32_t lauf = LaufAb(x, z);
    if (lauf >= kMinLauf) {
      Code(lauf, vierBit_ ? (wert << 4) | Index(x + 1, z) : wert);
      return lauf;
    }
    int32_t n = 1;
    while (x + n < bild_.width() && n < kMaxLauf && LaufAb(x + n, z) < kMinLauf) ++n;
    if (n < kMinLauf) {  // too few for a literal code: runs of one
      for (int32_t i = 0; i < n; ++i) Code(1, vierBit_ ? Index(x + i, z) * 0x11 : Index(x + i, z));
      return n;
    }
    Code(0, n);
    const size_t start = out_.size();
    for (int32_t i = 0; i < n; i += vierBit_ ? 2 : 1) {
      if (!vierBit_) {
        out_.push_back(static_cast<char>(Index(x + i, z)));
      } else {
        const uint8_t zweites = i + 1 < n ? Index(x + i + 1, z) : 0;
        out_.push_back(static_cast<char>((Index(x + i, z) << 4) | zweites));
      }
    }
    if ((out_.size() - start) % 2 != 0) out_.push_back('\0');  // to whole 16-bit words
    return n;
  }

  const Bitmap& bild_;
  bool vierBit_;
  std::string& out_;
};

}  // namespace

std::string BmpBauen(const Bitmap& bild, const BmpAufbau& aufbau) {
  if (aufbau.bits <= kMaxPaletteBits && bild.format() != PixelFormat::k8) {
    throw std::invalid_argument("BmpBauen: indices need an 8-bit picture");
  }
  const bool bitfelder =
      aufbau.kompression == kBmpBitfelder || aufbau.kompression == kBmpAlphaBitfelder;
  const std::array<uint32_t, 4> masken =
      bitfelder ? aufbau.masken : (aufbau.bits == 16 ? kMasken16 : kMasken32);
  const bool core = aufbau.kopfGroesse == kCoreKopf;
  const int64_t eintraege = aufbau.paletteEintraege >= 0     ? aufbau.paletteEintraege
                            : aufbau.farbenBenutzt != 0      ? aufbau.farbenBenutzt
                            : aufbau.bits <= kMaxPaletteBits ? (int64_t{1} << aufbau.bits)
                                                             : 0;

  std::string kopf;  // info header, masks after it, palette
  const auto hoehe = static_cast<uint32_t>(aufbau.vonOben ? -bild.height() : bild.height());
  Anhaengen(kopf, aufbau.kopfGroesse, 4);
  Anhaengen(kopf, static_cast<uint32_t>(bild.width()), core ? 2 : 4);
  Anhaengen(kopf, hoehe, core ? 2 : 4);
  Anhaengen(kopf, 1, 2);  // planes
  Anhaengen(kopf, aufbau.bits, 2);
  if (aufbau.kopfGroesse >= kInfoKopf) {
    Anhaengen(kopf, aufbau.kompression, 4);
    kopf.resize(kFarbenBenutztStelle, '\0');
    Anhaengen(kopf, aufbau.farbenBenutzt, 4);
  }
  if (aufbau.kopfGroesse >= kV2Kopf && aufbau.kopfGroesse != kOs2Kopf) {
    kopf.resize(kInfoKopf, '\0');
    const size_t anzahl = aufbau.kopfGroesse >= kV3Kopf ? 4 : 3;
    for (size_t i = 0; i < anzahl; ++i) Anhaengen(kopf, aufbau.masken[i], 4);
  }
  kopf.resize(std::max<size_t>(kopf.size(), aufbau.kopfGroesse), '\0');
  if (bitfelder && aufbau.kopfGroesse == kInfoKopf) {
    const size_t anzahl = aufbau.kompression == kBmpAlphaBitfelder ? 4 : 3;
    for (size_t i = 0; i < anzahl; ++i) Anhaengen(kopf, aufbau.masken[i], 4);
  }
  for (int64_t i = 0; i < eintraege; ++i) {
    const PaletteEntry e = i < 256 ? bild.palette()[static_cast<size_t>(i)] : PaletteEntry{};
    Anhaengen(kopf, e.blue | (e.green << 8) | (e.red << 16), core ? 3 : 4);
  }
  kopf.append(aufbau.luecke, '\0');

  std::string pixel;
  if (aufbau.kompression == kBmpRle8 || aufbau.kompression == kBmpRle4) {
    Lauflaengen(bild, aufbau.kompression == kBmpRle4, pixel).Schreiben();
  } else {
    for (int32_t i = 0; i < bild.height(); ++i) {
      ZeilePacken(bild, aufbau.vonOben ? i : bild.height() - 1 - i, aufbau, masken, pixel);
    }
  }

  std::string out = "BM";
  Anhaengen(out, static_cast<uint32_t>(kDateiKopf + kopf.size() + pixel.size()), 4);
  Anhaengen(out, 0, 4);
  Anhaengen(out, static_cast<uint32_t>(kDateiKopf + kopf.size()), 4);
  return out + kopf + pixel;
}

Bitmap BmpVorbild(int bits, int32_t breite, int32_t hoehe) {
  constexpr int32_t kBandEnde = 32;  // bands of eight equal pixels above, noise below
  constexpr int32_t kBandBreite = 8;
  constexpr int32_t kWechselAnfang = 30;  // rows of two alternating pixels
  Bitmap bild(breite, hoehe, PixelFormat::k8);
  for (int32_t y = 0; y < hoehe; ++y) {
    for (int32_t x = 0; x < breite; ++x) {
      const bool null = y == 0 || (x >= 20 && x < 60 && y >= 10 && y < 30) ||
                        (x >= 100 && y >= 40 && y < 48) || (x < 110 && y == 39);
      int index = x * x * 7 + y * 13 + x * y;
      if (y < kBandEnde) index = (x / kBandBreite) * 37 + y * 3;
      if (y >= kWechselAnfang && y < kBandEnde) index = x % 2 == 0 ? 0xA7 : 0x35;
      bild.row(y)[x] = null ? 0 : static_cast<uint8_t>((index & 0xFF) >> (8 - bits));
    }
  }
  for (int i = 0; i < (1 << bits); ++i) {
    const int voll = i << (8 - bits);
    bild.palette()[i] =
        PaletteEntry{static_cast<uint8_t>(255 - voll),
                     static_cast<uint8_t>((voll * 167 + 40) & 0xFF), static_cast<uint8_t>(voll), 0};
  }
  bild.palette()[0] = PaletteEntry{};
  if (bits == 8) bild.palette()[255] = PaletteEntry{255, 255, 255, 0};
  return bild;
}

void Setzen16(std::string& bytes, size_t stelle, uint16_t wert) {
  for (size_t i = 0; i < 2; ++i) bytes.at(stelle + i) = static_cast<char>(wert >> (8 * i));
}

void Setzen32(std::string& bytes, size_t stelle, uint32_t wert) {
  for (size_t i = 0; i < 4; ++i) bytes.at(stelle + i) = static_cast<char>(wert >> (8 * i));
}

}  // namespace tilvendo::testing
