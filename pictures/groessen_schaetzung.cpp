#include "pictures/groessen_schaetzung.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "pictures/byte_sink.h"
#include "pictures/jpeg_writer.h"
#include "pictures/png_writer.h"
#include "platform/rounding.h"

namespace tilvendo {
namespace {

constexpr uint8_t kMarke = 0xFF;
constexpr uint8_t kBildAnfang = 0xD8;
constexpr uint8_t kScanAnfang = 0xDA;
constexpr int64_t kEndeMarkeLaenge = 2;
constexpr size_t kMarkenLaenge = 2;
constexpr size_t kLaengenfeld = 2;
constexpr int kByteBits = 8;
// Bytes kept from the start of the sample's file; the header with the writer's tables
// takes about 600 of them.
constexpr size_t kKopfPuffer = 4096;

// Bytes per pixel of a JPEG of pure noise, the hardest picture to compress, by quality
// (measured with the same encoder and rounded up); qualities in between are
// interpolated.
struct JpegRauschen {
  int32_t qualitaet;
  double bytesJePixel;
};
constexpr std::array<JpegRauschen, 9> kJpegRauschen{{{1, 0.05},
                                                     {10, 0.1},
                                                     {30, 0.3},
                                                     {50, 0.42},
                                                     {75, 0.62},
                                                     {85, 0.78},
                                                     {90, 0.92},
                                                     {95, 1.2},
                                                     {100, 2.0}}};
constexpr uint64_t kJpegKopfBytes = 4096;

// Counts what the writer produces and keeps only the first bytes, where the header is.
class ZaehlSenke : public ByteSink {
 public:
  void Write(const void* data, size_t length) override {
    const auto* bytes = static_cast<const uint8_t*>(data);
    const size_t behalten = std::min(length, kKopfPuffer - anfang_.size());
    anfang_.insert(anfang_.end(), bytes, bytes + behalten);
    laenge_ += static_cast<int64_t>(length);
  }
  int64_t laenge() const { return laenge_; }
  std::span<const uint8_t> anfang() const { return anfang_; }

 private:
  std::vector<uint8_t> anfang_;
  int64_t laenge_ = 0;
};

Bildbeschreibung BeschreibungVon(StreifenQuelle& probe) {
  Bildbeschreibung beschreibung;
  beschreibung.breite = probe.Breite();
  beschreibung.hoehe = probe.Hoehe();
  return beschreibung;
}

void Kodieren(Bildschreiber& schreiber, StreifenQuelle& probe) {
  StreifenweiseLesen(probe, [&](int32_t, const Zeilen& zeilen) { schreiber.Schreiben(zeilen); });
  schreiber.Beenden();
}

double JpegBytesJePixel(int32_t qualitaet) {
  for (size_t i = 1; i < kJpegRauschen.size(); ++i) {
    const JpegRauschen& oben = kJpegRauschen[i];
    if (qualitaet > oben.qualitaet) continue;
    const JpegRauschen& unten = kJpegRauschen[i - 1];
    const double anteil = static_cast<double>(qualitaet - unten.qualitaet) /
                          static_cast<double>(oben.qualitaet - unten.qualitaet);
    return unten.bytesJePixel + anteil * (oben.bytesJePixel - unten.bytesJePixel);
  }
  return kJpegRauschen.back().bytesJePixel;
}

}  // namespace

int64_t JpegKopfLaenge(std::span<const uint8_t> anfang) {
  if (anfang.size() < kMarkenLaenge || anfang[0] != kMarke || anfang[1] != kBildAnfang) return 0;
  size_t pos = kMarkenLaenge;
  while (pos + kMarkenLaenge + kLaengenfeld <= anfang.size()) {
    if (anfang[pos] != kMarke) return 0;
    const uint8_t marke = anfang[pos + 1];
    if (marke == kMarke) {  // a fill byte before a marker
      ++pos;
      continue;
    }
    const size_t laenge = (size_t{anfang[pos + 2]} << kByteBits) | anfang[pos + 3];
    if (laenge < kLaengenfeld) return 0;
    pos += kMarkenLaenge + laenge;
    if (marke == kScanAnfang) {
      return pos <= anfang.size() ? static_cast<int64_t>(pos) + kEndeMarkeLaenge : 0;
    }
  }
  return 0;
}

int64_t JpegGroesseHochrechnen(StreifenQuelle& probe, int32_t qualitaet, int64_t pixel) {
  const int64_t probenPixel = int64_t{probe.Breite()} * probe.Hoehe();
  if (probenPixel <= 0) return 0;
  ZaehlSenke senke;
  Bildbeschreibung beschreibung = BeschreibungVon(probe);
  beschreibung.qualitaet = qualitaet;
  Kodieren(*MakeJpegWriter(senke, beschreibung), probe);
  if (pixel == probenPixel) return senke.laenge();
  // The header comes once in every file; the coded data grows with the picture.
  const int64_t kopf = JpegKopfLaenge(senke.anfang());
  const auto daten = static_cast<double>(senke.laenge() - kopf);
  return kopf +
         RoundHalfEven(daten * static_cast<double>(pixel) / static_cast<double>(probenPixel));
}

int64_t PngGroesseHochrechnen(StreifenQuelle& probe, int64_t pixel, uint64_t hoechstens) {
  const int64_t probenPixel = int64_t{probe.Breite()} * probe.Hoehe();
  if (probenPixel <= 0) return 0;
  ZaehlSenke senke;
  Kodieren(*MakePngWriter(senke, BeschreibungVon(probe)), probe);
  if (pixel == probenPixel) return senke.laenge();
  const double jePixel = static_cast<double>(senke.laenge()) / static_cast<double>(probenPixel);
  const auto grenze =
      static_cast<int64_t>(std::min<uint64_t>(hoechstens, std::numeric_limits<int64_t>::max()));
  return std::min(RoundHalfEven(jePixel * static_cast<double>(pixel)), grenze);
}

uint64_t JpegHoechstBytes(int64_t pixel, int32_t qualitaet) {
  return static_cast<uint64_t>(std::ceil(static_cast<double>(std::max<int64_t>(pixel, 0)) *
                                         JpegBytesJePixel(qualitaet))) +
         kJpegKopfBytes;
}

}  // namespace tilvendo
