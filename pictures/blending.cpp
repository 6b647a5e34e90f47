#include "pictures/blending.h"

#include <algorithm>
#include <stdexcept>

#include "pictures/bild_einpassen.h"
#include "platform/stretch_copy.h"

namespace tilvendo {
namespace {

constexpr uint16_t kVoll = 255;
// (−P × 1275) div 100: five blend steps of 255 per hundred slider units.
constexpr int32_t kReglerZaehler = 1275;
constexpr int32_t kReglerNenner = 100;
constexpr int32_t kProzentProStufe = 5;
constexpr int32_t kHundertProzent = 100;

// GCC vectorises this loop at -O2 only with the dynamic cost model; the loop is the
// whole cost of a full-size blend, so ask for it explicitly.
#if defined(__GNUC__) && !defined(__clang__)
#define TILVENDO_VEKTORISIEREN [[gnu::optimize("tree-vectorize", "vect-cost-model=dynamic")]]
#else
#define TILVENDO_VEKTORISIEREN
#endif

TILVENDO_VEKTORISIEREN void BlendKern(const uint8_t* __restrict t, const uint8_t* __restrict m,
                                      uint8_t* __restrict out, size_t count, uint16_t wm) {
  const auto wt = static_cast<uint16_t>(kVoll - wm);
  for (size_t i = 0; i < count; ++i) {
    // x + 128 ≤ 65153, so every step fits 16 bits; (y + (y >> 8)) >> 8 with y = x + 128
    // is x / 255 rounded to nearest for all x up to 255 × 255.
    const auto y = static_cast<uint16_t>(m[i] * wm + t[i] * wt + 128u);
    out[i] = static_cast<uint8_t>(static_cast<uint16_t>(y + (y >> 8)) >> 8);
  }
}

// BlendKern with the mosaic's bytes replaced by the result; reading each byte before it
// is written needs no separate output.
TILVENDO_VEKTORISIEREN void BlendKernInto(const uint8_t* __restrict t, uint8_t* m, size_t count,
                                          uint16_t wm) {
  const auto wt = static_cast<uint16_t>(kVoll - wm);
  for (size_t i = 0; i < count; ++i) {
    const auto y = static_cast<uint16_t>(m[i] * wm + t[i] * wt + 128u);
    m[i] = static_cast<uint8_t>(static_cast<uint16_t>(y + (y >> 8)) >> 8);
  }
}

bool GleichesArbeitsbild(const Bitmap& bild, int32_t width, int32_t height) {
  return bild.format() == kPixelformat && bild.width() == width && bild.height() == height;
}

// `source` at width × height in the working format: the picture itself when it already
// is one, else a resampled copy kept in `copy`.
const Bitmap& AufGroesse(const Bitmap& source, int32_t width, int32_t height, Bitmap& copy) {
  if (GleichesArbeitsbild(source, width, height)) return source;
  // The resampler covers every pixel of a non-empty source; only an empty one leaves
  // the picture as it starts, which must then be black.
  copy = source.empty() ? Bitmap(width, height, kPixelformat)
                        : Bitmap::Uninitialized(width, height, kPixelformat);
  BildEinpassen(copy, Rect{0, 0, width, height}, source);
  return copy;
}

}  // namespace

uint8_t BlendwertAusRegler(int32_t position) {
  const int32_t p = std::clamp(position, kReglerMinimum, kReglerMaximum);
  return static_cast<uint8_t>((-p * kReglerZaehler) / kReglerNenner);
}

int32_t VorlagenAnteil(int32_t position) {
  return kHundertProzent + kProzentProStufe * position;
}

void BlendBytes(const uint8_t* t, const uint8_t* m, uint8_t* out, size_t count, uint8_t a) {
  BlendKern(t, m, out, count, a);
}

void BlendBytesInto(const uint8_t* t, uint8_t* m, size_t count, uint8_t a) {
  BlendKernInto(t, m, count, a);
}

void BlendBitmaps(const Bitmap& t, const Bitmap& m, Bitmap& destination, uint8_t a) {
  const int32_t width = destination.width();
  const int32_t height = destination.height();
  if (!GleichesArbeitsbild(t, width, height) || !GleichesArbeitsbild(m, width, height)) {
    throw std::invalid_argument("BlendBitmaps: Bilder passen nicht zum Ziel");
  }
  if (destination.format() != kPixelformat) {
    destination = Bitmap::Uninitialized(width, height, kPixelformat);
  }
  if (destination.empty()) return;
  // Working-format rows have no padding, so the picture is one run of bytes.
  BlendBytes(t.data(), m.data(), destination.data(), destination.byteSize(), a);
}

void BlendTemplateIntoMosaic(Bitmap& destination, const Bitmap& mosaik, const Bitmap& vorlage,
                             uint8_t a) {
  const int32_t width = destination.width();
  const int32_t height = destination.height();
  if (destination.format() != kPixelformat) {
    destination = Bitmap::Uninitialized(width, height, kPixelformat);
  }
  if (destination.empty()) return;
  Bitmap mosaikKopie;
  Bitmap vorlageKopie;
  // The ends need only one of the two pictures; they are copies of it, not blends.
  if (a == kVoll) {
    StretchCopy(AufGroesse(mosaik, width, height, mosaikKopie), destination,
                Rect{0, 0, width, height});
    return;
  }
  if (a == 0) {
    StretchCopy(AufGroesse(vorlage, width, height, vorlageKopie), destination,
                Rect{0, 0, width, height});
    return;
  }
  const Bitmap& m = AufGroesse(mosaik, width, height, mosaikKopie);
  const Bitmap& t = AufGroesse(vorlage, width, height, vorlageKopie);
  BlendBitmaps(t, m, destination, a);
}

UeberblendeteStreifen::UeberblendeteStreifen(const Bitmap& mosaik, const Bitmap& vorlage, uint8_t a)
    : mosaik_(mosaik), a_(a) {
  if (a != kVoll) {
    vorlage_.emplace(vorlage, mosaik.width(), mosaik.height(), Vorlagenskalierung::WieGanz);
  }
}

Zeilen UeberblendeteStreifen::MosaikZeilen(int32_t erste, int32_t anzahl) {
  if (mosaik_.format() == kPixelformat) {
    return Zeilen{mosaik_.row(erste), mosaik_.stride(), anzahl};
  }
  if (mosaikStreifen_.height() < anzahl) mosaikStreifen_ = Bitmap(Breite(), anzahl, kPixelformat);
  StretchCopy(mosaik_, mosaikStreifen_, Rect{0, -erste, Breite(), Hoehe() - erste});
  return Zeilen{mosaikStreifen_.data(), mosaikStreifen_.stride(), anzahl};
}

Zeilen UeberblendeteStreifen::VorlagenZeilen(int32_t erste, int32_t anzahl) {
  if (vorlageStreifen_.height() != anzahl) {
    vorlageStreifen_ = Bitmap::Uninitialized(Breite(), anzahl, kPixelformat);
  }
  vorlage_->Zeilen(erste, vorlageStreifen_);
  return Zeilen{vorlageStreifen_.data(), vorlageStreifen_.stride(), anzahl};
}

Zeilen UeberblendeteStreifen::Streifen(int32_t erste, int32_t anzahl) {
  if (a_ == kVoll) return MosaikZeilen(erste, anzahl);
  if (a_ == 0) return VorlagenZeilen(erste, anzahl);
  const Zeilen m = MosaikZeilen(erste, anzahl);
  const Zeilen t = VorlagenZeilen(erste, anzahl);
  if (ergebnis_.height() < anzahl) {
    ergebnis_ = Bitmap::Uninitialized(Breite(), anzahl, kPixelformat);
  }
  const size_t bytes = RowStride(Breite(), kPixelformat);
  for (int32_t i = 0; i < anzahl; ++i) {
    BlendBytes(t.Zeile(i), m.Zeile(i), ergebnis_.row(i), bytes, a_);
  }
  return Zeilen{ergebnis_.data(), ergebnis_.stride(), anzahl};
}

}  // namespace tilvendo
