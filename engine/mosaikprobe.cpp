#include "engine/mosaikprobe.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tilvendo {
namespace {

// Where in its stretch a run's row lies, and where its first column, follow the
// fractional parts of multiples of two numbers whose ratio is irrational: evenly spread,
// never in step with the tile rows or with each other (rows near the top of their
// stretch do not all start at the left).
constexpr double kZeilenSchritt = 0.6180339887498949;   // the golden ratio's part
constexpr double kSpaltenSchritt = 0.4142135623730951;  // the square root of two's

// Runs a sample takes at least, where its pixels allow: a single band across a poster
// would tell only the template's part there.
constexpr int32_t kMindestLaeufe = 4;

double Bruchteil(int32_t i, double schritt) {
  const double wert = (i + 1) * schritt;
  return wert - std::floor(wert);
}

int32_t AufgerundetGeteilt(int64_t zaehler, int64_t nenner) {
  return static_cast<int32_t>((zaehler + nenner - 1) / nenner);
}

}  // namespace

Probenplan ProbenplanFuer(int32_t kachelnX, int32_t kachelnY, Size kachel, int32_t mindestBreite,
                          int64_t zielKacheln) {
  Probenplan plan;
  if (kachelnX <= 0 || kachelnY <= 0 || kachel.width <= 0 || kachel.height <= 0) return plan;
  const int64_t flaeche = int64_t{kachel.width} * kachel.height;
  const int64_t alle = int64_t{kachelnX} * kachelnY;
  if (alle <= zielKacheln && alle * flaeche <= kProbenPixel) {
    // The whole grid: the sample is the mosaic itself.
    plan.laenge = kachelnX;
    for (int32_t zeile = 0; zeile < kachelnY; ++zeile) plan.laeufe.push_back(Probenlauf{zeile, 0});
    return plan;
  }
  const int64_t kacheln =
      std::min({zielKacheln, std::max<int64_t>(1, kProbenPixel / flaeche), alle});
  const auto wurzel = static_cast<int32_t>(std::ceil(std::sqrt(static_cast<double>(kacheln))));
  plan.laenge = std::min(kachelnX, std::max(AufgerundetGeteilt(kacheln, std::min(kachelnY, wurzel)),
                                            AufgerundetGeteilt(mindestBreite, kachel.width)));
  // A narrow grid cuts the runs short, and more rows take the rest; long runs leave
  // fewer rows, but as many as kMindestLaeufe where the pixels allow (at least one).
  const int64_t lauf = flaeche * plan.laenge;
  const int32_t zeilen = static_cast<int32_t>(std::min<int64_t>(
      {kachelnY, std::max(AufgerundetGeteilt(kacheln, plan.laenge), kMindestLaeufe),
       std::max<int64_t>(1, kProbenPixel / lauf)}));
  const int32_t spielraum = kachelnX - plan.laenge + 1;
  for (int32_t i = 0; i < zeilen; ++i) {
    const int32_t von = static_cast<int32_t>(int64_t{i} * kachelnY / zeilen);
    const int32_t bis = static_cast<int32_t>(int64_t{i + 1} * kachelnY / zeilen);
    const auto zeile = static_cast<int32_t>(Bruchteil(i, kZeilenSchritt) * (bis - von));
    const auto spalte = static_cast<int32_t>(Bruchteil(i, kSpaltenSchritt) * spielraum);
    plan.laeufe.push_back(
        Probenlauf{von + std::min(zeile, bis - von - 1), std::min(spalte, spielraum - 1)});
  }
  return plan;
}

Mosaikprobe::Mosaikprobe(Probenplan plan, Size kachel, std::unique_ptr<StreifenQuelle> mosaik)
    : plan_(std::move(plan)), kachel_(kachel), mosaik_(std::move(mosaik)) {}

Zeilen Mosaikprobe::Streifen(int32_t erste, int32_t anzahl) {
  if (puffer_.width() != Breite() || puffer_.height() < anzahl) {
    puffer_ = Bitmap::Uninitialized(Breite(), anzahl, kPixelformat);
  }
  const size_t bytes = static_cast<size_t>(Breite()) * kBytesJePixel;
  for (int32_t i = 0; i < anzahl;) {
    const int32_t zeile = erste + i;
    const Probenlauf& lauf = plan_.laeufe[static_cast<size_t>(zeile / kachel_.height)];
    const int32_t innen = zeile % kachel_.height;
    // Within one tile row, so within one band of a mosaic composed in bands.
    const int32_t stueck = std::min(kachel_.height - innen, anzahl - i);
    const Zeilen gelesen = mosaik_->Streifen(lauf.zeile * kachel_.height + innen, stueck);
    const size_t links = static_cast<size_t>(lauf.spalte) * kachel_.width * kBytesJePixel;
    for (int32_t k = 0; k < stueck; ++k) {
      std::memcpy(puffer_.row(i + k), gelesen.Zeile(k) + links, bytes);
    }
    i += stueck;
  }
  return Zeilen{puffer_.data(), puffer_.stride(), anzahl};
}

}  // namespace tilvendo
