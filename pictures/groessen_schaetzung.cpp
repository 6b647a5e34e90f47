#include "pictures/groessen_schaetzung.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "pictures/byte_sink.h"
#include "pictures/jpeg_writer.h"
#include "platform/bitmap.h"
#include "platform/rounding.h"

namespace tilvendo {
namespace {

// Pixel rows of one row of blocks: the writer subsamples the colours 2 × 2, so its blocks
// of all three channels together cover 16 × 16 pixels.
constexpr int32_t kBlockZeilen = 16;

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

// Within each stretch of the picture the sampled row lies at the fractional part of a
// multiple of the golden ratio: evenly spread, but never in step with the tile height,
// as rows at one fixed place in every stretch could be (each would then show the same
// part of every photo).
constexpr double kGoldenerSchnitt = 0.6180339887498949;

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

// The chosen rows of blocks of a picture, one below the other, as one picture.
class Stichprobe : public StreifenQuelle {
 public:
  Stichprobe(StreifenQuelle& quelle, std::vector<int32_t> blockZeilen)
      : quelle_(quelle), blockZeilen_(std::move(blockZeilen)) {}
  int32_t width() const override { return quelle_.width(); }
  int32_t height() const override {
    return static_cast<int32_t>(blockZeilen_.size()) * kBlockZeilen;
  }

  Zeilen Streifen(int32_t first, int32_t count) override {
    if (puffer_.height() < count) puffer_ = Bitmap::Uninitialized(width(), count, kPixelformat);
    const size_t bytes = RowStride(width(), kPixelformat);
    for (int32_t i = 0; i < count;) {
      const int32_t zeile = first + i;
      const int32_t innen = zeile % kBlockZeilen;
      const int32_t anzahl = std::min(kBlockZeilen - innen, count - i);
      const int32_t quellZeile =
          blockZeilen_[static_cast<size_t>(zeile / kBlockZeilen)] * kBlockZeilen + innen;
      const Zeilen gelesen = quelle_.Streifen(quellZeile, anzahl);
      for (int32_t k = 0; k < anzahl; ++k) std::memcpy(puffer_.row(i + k), gelesen.row(k), bytes);
      i += anzahl;
    }
    return Zeilen{puffer_.data(), puffer_.stride(), count};
  }

 private:
  StreifenQuelle& quelle_;
  std::vector<int32_t> blockZeilen_;
  Bitmap puffer_;
};

// One row of blocks from each of `anzahl` equal stretches of `zeilen` rows.
std::vector<int32_t> ZeilenWaehlen(int32_t anzahl, int32_t zeilen) {
  std::vector<int32_t> gewaehlt;
  gewaehlt.reserve(static_cast<size_t>(anzahl));
  for (int32_t i = 0; i < anzahl; ++i) {
    const int64_t von = int64_t{i} * zeilen / anzahl;
    const int64_t bis = int64_t{i + 1} * zeilen / anzahl;
    double lage = (i + 1) * kGoldenerSchnitt;
    lage -= std::floor(lage);
    const auto versatz = static_cast<int64_t>(lage * static_cast<double>(bis - von));
    gewaehlt.push_back(static_cast<int32_t>(von + std::min(versatz, bis - von - 1)));
  }
  return gewaehlt;
}

// The length of a file whose coded data is `faktor` times that of `probe` encoded: the
// header comes once in every file, the coded data grows with the picture.
int64_t Hochrechnen(StreifenQuelle& probe, int32_t qualitaet, double faktor) {
  ZaehlSenke senke;
  WriteJpeg(senke, probe, qualitaet);
  const int64_t kopf = JpegKopfLaenge(senke.anfang());
  const auto daten = static_cast<double>(senke.laenge() - kopf);
  return kopf + RoundHalfEven(daten * faktor);
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

int64_t JpegGroesseSchaetzen(StreifenQuelle& quelle, int32_t qualitaet, int64_t stichprobenPixel) {
  const int32_t breite = quelle.width();
  const int32_t hoehe = quelle.height();
  if (breite <= 0 || hoehe <= 0) return 0;

  const int32_t volleZeilen = hoehe / kBlockZeilen;
  const int64_t zeilenPixel = int64_t{breite} * kBlockZeilen;
  const int64_t anzahl =
      std::max<int64_t>(kSchaetzMindestZeilen, (stichprobenPixel + zeilenPixel - 1) / zeilenPixel);
  if (int64_t{breite} * hoehe <= stichprobenPixel || anzahl >= volleZeilen) {
    // Small enough to be encoded whole: the real length, not an estimate.
    ZaehlSenke senke;
    WriteJpeg(senke, quelle, qualitaet);
    return senke.laenge();
  }

  Stichprobe probe(quelle, ZeilenWaehlen(static_cast<int32_t>(anzahl), volleZeilen));
  // A last, partial row of blocks counts by its share of pixel rows.
  return Hochrechnen(probe, qualitaet, static_cast<double>(hoehe) / probe.height());
}

int64_t JpegGroesseHochrechnen(StreifenQuelle& probe, int32_t qualitaet, int64_t pixel) {
  const int64_t probenPixel = int64_t{probe.width()} * probe.height();
  if (probenPixel <= 0) return 0;
  return Hochrechnen(probe, qualitaet,
                     static_cast<double>(pixel) / static_cast<double>(probenPixel));
}

}  // namespace tilvendo
