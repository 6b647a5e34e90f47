#include "pictures/farbreduktion.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace tilvendo {
namespace {

constexpr int32_t kPixelBytes = 4;

// The histogram keeps five bits per channel: fine enough to tell photo colours apart,
// small enough (32768 cells) to be scanned for every split.
constexpr int32_t kZellBits = 5;
constexpr int32_t kZellSeite = 1 << kZellBits;
constexpr int32_t kZellen = kZellSeite * kZellSeite * kZellSeite;
constexpr int32_t kZellVerschiebung = 8 - kZellBits;

// The nearest-colour cache is finer, six bits per channel.
constexpr int32_t kNachbarBits = 6;
constexpr int32_t kNachbarVerschiebung = 8 - kNachbarBits;
constexpr int32_t kNachbarZellen = 1 << (3 * kNachbarBits);

constexpr size_t kPalettenGroesse = 256;
constexpr int32_t kKanalMax = 255;

// Floyd–Steinberg weights in sixteenths: right, below left, below, below right.
constexpr int32_t kGewichtRechts = 7;
constexpr int32_t kGewichtUntenLinks = 3;
constexpr int32_t kGewichtUnten = 5;
constexpr int32_t kGewichtUntenRechts = 1;
constexpr int32_t kSechzehntel = 16;

inline int32_t ZellIndex(int32_t blue, int32_t green, int32_t red) {
  return (red << (2 * kZellBits)) | (green << kZellBits) | blue;
}

// A box of histogram cells, inclusive bounds per channel (0 blue, 1 green, 2 red).
struct Box {
  std::array<int32_t, 3> lo{};
  std::array<int32_t, 3> hi{};
  uint64_t anzahl = 0;

  int32_t LaengsteAchse() const {
    int32_t achse = 0;
    for (int32_t k = 1; k < 3; ++k) {
      if (hi[k] - lo[k] > hi[achse] - lo[achse]) achse = k;
    }
    return achse;
  }
  int32_t Seite(int32_t achse) const { return hi[achse] - lo[achse]; }
};

template <typename Fn>
void JedeZelle(const Box& box, Fn fn) {
  for (int32_t r = box.lo[2]; r <= box.hi[2]; ++r) {
    for (int32_t g = box.lo[1]; g <= box.hi[1]; ++g) {
      for (int32_t b = box.lo[0]; b <= box.hi[0]; ++b) fn(b, g, r, ZellIndex(b, g, r));
    }
  }
}

// Shrinks the box to the occupied cells and counts them; an empty box gets anzahl 0.
Box Schrumpfen(const Box& box, const std::vector<uint32_t>& anzahl) {
  Box eng;
  eng.lo = {kZellSeite, kZellSeite, kZellSeite};
  eng.hi = {-1, -1, -1};
  JedeZelle(box, [&](int32_t b, int32_t g, int32_t r, int32_t index) {
    if (anzahl[index] == 0) return;
    const std::array<int32_t, 3> c{b, g, r};
    for (int32_t k = 0; k < 3; ++k) {
      eng.lo[k] = std::min(eng.lo[k], c[k]);
      eng.hi[k] = std::max(eng.hi[k], c[k]);
    }
    eng.anzahl += anzahl[index];
  });
  return eng;
}

// Splits along the longest side where half the box's pixels lie on either side.
std::pair<Box, Box> Teilen(const Box& box, const std::vector<uint32_t>& anzahl) {
  const int32_t achse = box.LaengsteAchse();
  std::vector<uint64_t> scheiben(kZellSeite, 0);
  JedeZelle(box, [&](int32_t b, int32_t g, int32_t r, int32_t index) {
    const std::array<int32_t, 3> c{b, g, r};
    scheiben[c[achse]] += anzahl[index];
  });
  uint64_t summe = 0;
  int32_t schnitt = box.lo[achse];
  for (; schnitt < box.hi[achse] - 1; ++schnitt) {
    summe += scheiben[schnitt];
    if (2 * summe >= box.anzahl) break;
  }
  Box links = box;
  Box rechts = box;
  links.hi[achse] = schnitt;
  rechts.lo[achse] = schnitt + 1;
  return {Schrumpfen(links, anzahl), Schrumpfen(rechts, anzahl)};
}

inline int32_t Begrenzen(int32_t value) {
  return std::clamp(value, 0, kKanalMax);
}

// Error in sixteenths back to whole levels, rounding halves away from zero.
inline int32_t Ganz(int32_t sechzehntel) {
  return (sechzehntel >= 0 ? sechzehntel + kSechzehntel / 2 : sechzehntel - kSechzehntel / 2) /
         kSechzehntel;
}

}  // namespace

void ZeileZu24(const uint8_t* bgrx, uint8_t* out, int32_t width) {
  for (int32_t x = 0; x < width; ++x) {
    out[3 * x] = bgrx[kPixelBytes * x];
    out[3 * x + 1] = bgrx[kPixelBytes * x + 1];
    out[3 * x + 2] = bgrx[kPixelBytes * x + 2];
  }
}

void ZeileZuRgb(const uint8_t* bgrx, uint8_t* out, int32_t width) {
  for (int32_t x = 0; x < width; ++x) {
    out[3 * x] = bgrx[kPixelBytes * x + 2];
    out[3 * x + 1] = bgrx[kPixelBytes * x + 1];
    out[3 * x + 2] = bgrx[kPixelBytes * x];
  }
}

void ZeileAus24(const uint8_t* __restrict bgr, uint8_t* __restrict bgrx, int32_t width) {
  int32_t x = 0;
  if constexpr (std::endian::native == std::endian::little) {
    // Composing a poster copies hundreds of megapixels through here: a pixel at a time
    // as one word, whose top byte (the next pixel's blue) is cleared. The last pixel
    // goes byte by byte, so that no read passes the end of the row.
    constexpr uint32_t kOhneViertes = 0x00FFFFFFu;
    for (; x + 1 < width; ++x) {
      uint32_t pixel = 0;
      std::memcpy(&pixel, bgr + 3 * static_cast<size_t>(x), sizeof pixel);
      pixel &= kOhneViertes;
      std::memcpy(bgrx + kPixelBytes * static_cast<size_t>(x), &pixel, sizeof pixel);
    }
  }
  for (; x < width; ++x) {
    bgrx[kPixelBytes * x] = bgr[3 * x];
    bgrx[kPixelBytes * x + 1] = bgr[3 * x + 1];
    bgrx[kPixelBytes * x + 2] = bgr[3 * x + 2];
    bgrx[kPixelBytes * x + 3] = 0;
  }
}

void ZeileZu16(const uint8_t* bgrx, uint8_t* out, int32_t width) {
  for (int32_t x = 0; x < width; ++x) {
    const uint8_t* p = bgrx + kPixelBytes * x;
    const auto word = static_cast<uint16_t>(((p[2] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[0] >> 3));
    out[2 * x] = static_cast<uint8_t>(word & 0xFF);
    out[2 * x + 1] = static_cast<uint8_t>(word >> 8);
  }
}

PalettenWahl::PalettenWahl() : anzahl_(kZellen, 0), summe_(3 * static_cast<size_t>(kZellen), 0) {}

void PalettenWahl::Zeile(const uint8_t* bgrx, int32_t width) {
  for (int32_t x = 0; x < width; ++x) {
    const uint8_t* p = bgrx + kPixelBytes * x;
    const int32_t index =
        ZellIndex(p[0] >> kZellVerschiebung, p[1] >> kZellVerschiebung, p[2] >> kZellVerschiebung);
    ++anzahl_[index];
    uint64_t* s = &summe_[3 * static_cast<size_t>(index)];
    s[0] += p[0];
    s[1] += p[1];
    s[2] += p[2];
  }
}

Palette PalettenWahl::Waehlen() const {
  Box ganz;
  ganz.hi = {kZellSeite - 1, kZellSeite - 1, kZellSeite - 1};
  std::vector<Box> boxen;
  const Box erste = Schrumpfen(ganz, anzahl_);
  if (erste.anzahl > 0) boxen.push_back(erste);

  // Split the box whose pixels spread widest (pixels × longest side) until the palette
  // is full or every box holds a single cell.
  while (boxen.size() < kPalettenGroesse) {
    size_t beste = boxen.size();
    uint64_t besteWertung = 0;
    for (size_t i = 0; i < boxen.size(); ++i) {
      const Box& box = boxen[i];
      const uint64_t wertung = box.anzahl * static_cast<uint64_t>(box.Seite(box.LaengsteAchse()));
      if (wertung > besteWertung) {
        besteWertung = wertung;
        beste = i;
      }
    }
    if (beste == boxen.size()) break;
    auto [links, rechts] = Teilen(boxen[beste], anzahl_);
    boxen[beste] = links;
    boxen.push_back(rechts);
  }

  Palette palette{};
  for (size_t i = 0; i < boxen.size(); ++i) {
    std::array<uint64_t, 3> summe{};
    JedeZelle(boxen[i], [&](int32_t, int32_t, int32_t, int32_t index) {
      for (size_t k = 0; k < 3; ++k) summe[k] += summe_[3 * static_cast<size_t>(index) + k];
    });
    const uint64_t n = boxen[i].anzahl;
    auto mittel = [&](size_t k) { return static_cast<uint8_t>((summe[k] + n / 2) / n); };
    palette[i] = PaletteEntry{mittel(0), mittel(1), mittel(2), 0};
  }
  // Unused entries repeat the first colour, so that no colour the picture lacks can
  // ever be chosen for a pixel.
  for (size_t i = boxen.size(); i < palette.size() && !boxen.empty(); ++i) palette[i] = palette[0];
  return palette;
}

FehlerStreuung::FehlerStreuung(const Palette& palette, int32_t width)
    : palette_(palette),
      width_(width),
      fehler_(3 * (static_cast<size_t>(width) + 2), 0),
      naechste_(3 * (static_cast<size_t>(width) + 2), 0),
      nachbar_(kNachbarZellen, -1) {}

uint8_t FehlerStreuung::Naechster(int32_t blue, int32_t green, int32_t red) {
  const int32_t zelle =
      (((red >> kNachbarVerschiebung) << kNachbarBits | (green >> kNachbarVerschiebung))
       << kNachbarBits) |
      (blue >> kNachbarVerschiebung);
  int16_t& gemerkt = nachbar_[zelle];
  if (gemerkt >= 0) return static_cast<uint8_t>(gemerkt);
  // The first colour met in a cell decides it for the whole cell; the error diffusion
  // carries what that costs the others into their neighbours.
  int32_t besterAbstand = std::numeric_limits<int32_t>::max();
  size_t bester = 0;
  for (size_t i = 0; i < palette_.size(); ++i) {
    const int32_t db = blue - palette_[i].blue;
    const int32_t dg = green - palette_[i].green;
    const int32_t dr = red - palette_[i].red;
    const int32_t abstand = db * db + dg * dg + dr * dr;
    if (abstand < besterAbstand) {
      besterAbstand = abstand;
      bester = i;
    }
  }
  gemerkt = static_cast<int16_t>(bester);
  return static_cast<uint8_t>(bester);
}

void FehlerStreuung::Zeile(const uint8_t* bgrx, uint8_t* indices) {
  std::fill(naechste_.begin(), naechste_.end(), 0);
  // Pixel x's error lives at slot x + 1, so x − 1 and x + 1 need no bounds checks.
  for (int32_t x = 0; x < width_; ++x) {
    const uint8_t* p = bgrx + kPixelBytes * x;
    int32_t* fehler = &fehler_[3 * (static_cast<size_t>(x) + 1)];
    int32_t* unten = &naechste_[3 * (static_cast<size_t>(x) + 1)];
    std::array<int32_t, 3> wert{};
    for (int32_t k = 0; k < 3; ++k) wert[k] = Begrenzen(p[k] + Ganz(fehler[k]));
    const uint8_t index = Naechster(wert[0], wert[1], wert[2]);
    indices[x] = index;
    const PaletteEntry& e = palette_[index];
    const std::array<int32_t, 3> gewaehlt{e.blue, e.green, e.red};
    for (int32_t k = 0; k < 3; ++k) {
      const int32_t rest = wert[k] - gewaehlt[k];
      fehler[3 + k] += rest * kGewichtRechts;
      unten[k - 3] += rest * kGewichtUntenLinks;
      unten[k] += rest * kGewichtUnten;
      unten[3 + k] += rest * kGewichtUntenRechts;
    }
  }
  std::swap(fehler_, naechste_);
}

Bitmap InFormatWandeln(const Bitmap& arbeitsbild, PixelFormat ziel) {
  if (arbeitsbild.format() != kPixelformat) {
    throw std::invalid_argument("InFormatWandeln: Bild nicht im Arbeitsformat");
  }
  const int32_t width = arbeitsbild.width();
  const int32_t height = arbeitsbild.height();
  if (ziel == kPixelformat) return arbeitsbild.Clone();
  Bitmap bild(width, height, ziel);
  switch (ziel) {
    case PixelFormat::k24:
      for (int32_t y = 0; y < height; ++y) ZeileZu24(arbeitsbild.row(y), bild.row(y), width);
      break;
    case PixelFormat::k16:
      for (int32_t y = 0; y < height; ++y) ZeileZu16(arbeitsbild.row(y), bild.row(y), width);
      break;
    case PixelFormat::k8: {
      PalettenWahl wahl;
      for (int32_t y = 0; y < height; ++y) wahl.Zeile(arbeitsbild.row(y), width);
      bild.palette() = wahl.Waehlen();
      FehlerStreuung streuung(bild.palette(), width);
      for (int32_t y = height - 1; y >= 0; --y) streuung.Zeile(arbeitsbild.row(y), bild.row(y));
      break;
    }
    case PixelFormat::k32:
      break;
  }
  return bild;
}

}  // namespace tilvendo
