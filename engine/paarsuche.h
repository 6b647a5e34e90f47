// Finding the photos near a cell without measuring the distance to every photo. The
// distance of two signatures is at least the summed differences of their colour sums
// (red, green and blue over all sub-cells) divided by the sub-cells, rounded alike; so
// photos sorted by their mean colours can be walked outward from a cell's, and the walk
// ends where even that bound reaches the distance sought.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/distanz.h"

namespace tilvendo {

struct Farbsummen {
  int32_t rot = 0;
  int32_t gruen = 0;
  int32_t blau = 0;
  int32_t Summe() const { return rot + gruen + blau; }
};

Farbsummen FarbsummenVon(const GepackteFelder& felder, int formanalyse);

// The least distance two signatures with these colour sums can have.
inline int32_t Mindestdistanz(const Farbsummen& a, const Farbsummen& b, int formanalyse) {
  const int64_t abstand =
      std::abs(a.rot - b.rot) + std::abs(a.gruen - b.gruen) + std::abs(a.blau - b.blau);
  return GerundeterQuotient(abstand, int64_t{formanalyse} * formanalyse);
}

// A set of photos sorted into a grid of their mean colours (red, green, blue, 16 steps
// each), walked ring by ring around a cell's mean colour: a photo in ring k differs by
// at least 16·(k − 1) in one colour, so the walk ends where that reaches the bound.
class Farbgitter {
 public:
  Farbgitter() = default;
  // `fotos` are indices into `summen`.
  Farbgitter(const std::vector<int32_t>& fotos, const std::vector<Farbsummen>& summen,
             int formanalyse);

  bool Leer() const { return anzahl_ == 0; }

  // Takes a photo out of the grid (it has no uses left to spare).
  void Entfernen(int32_t foto, const Farbsummen& summen);

  // Calls besuchen(foto) for the photos ring by ring around `mitte` while the ring's
  // least distance lies below `schranke`; besuchen returns the bound for the photos
  // after it.
  template <typename F>
  void Durchsuchen(const Farbsummen& mitte, int32_t schranke, F&& besuchen) const {
    if (anzahl_ == 0) return;
    const int zr = Fach(mitte.rot);
    const int zg = Fach(mitte.gruen);
    const int zb = Fach(mitte.blau);
    for (int k = 0; k < kFaecher && RingSchranke(k) < schranke; ++k) {
      for (int r = std::max(zr - k, 0); r <= std::min(zr + k, kFaecher - 1); ++r) {
        for (int g = std::max(zg - k, 0); g <= std::min(zg + k, kFaecher - 1); ++g) {
          const bool rand = std::abs(r - zr) == k || std::abs(g - zg) == k;
          // Inside the ring only the two blue ends lie on it.
          const int schritt = rand || k == 0 ? 1 : 2 * k;
          for (int b = zb - k; b <= zb + k; b += schritt) {
            if (b < 0 || b >= kFaecher) continue;
            for (const int32_t foto : fach_[Index(r, g, b)]) {
              if (RingSchranke(k) >= schranke) return;
              schranke = besuchen(foto);
            }
          }
        }
      }
    }
  }

 private:
  static constexpr int kFachBits = 4;
  static constexpr int kFaecher = 256 >> kFachBits;
  static constexpr int32_t kFachBreite = 1 << kFachBits;

  int Fach(int32_t summe) const {
    return std::clamp(summe / felder_ >> kFachBits, 0, kFaecher - 1);
  }
  static size_t Index(int r, int g, int b) {
    return static_cast<size_t>((r * kFaecher + g) * kFaecher + b);
  }
  // The least distance of a photo in ring k, one step less for the rounding of the mean.
  static int32_t RingSchranke(int k) { return std::max(0, kFachBreite * (k - 1) - 1); }

  int felder_ = 1;
  size_t anzahl_ = 0;
  std::vector<std::vector<int32_t>> fach_;
};

}  // namespace tilvendo
