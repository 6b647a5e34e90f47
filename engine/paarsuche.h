// Finding the photos near a cell without measuring the distance to every photo. The
// distance of two signatures is at least the summed differences of their colour sums
// (red, green and blue over all sub-cells) divided by the sub-cells, rounded alike; so
// photos sorted by their mean colours can be walked outward from a cell's, and the walk
// ends where even that bound reaches the distance sought.
#pragma once

#include <algorithm>
#include <bit>
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
// at least 16·(k − 1) in one colour, so the walk ends where that reaches the bound, and
// a bin that lies off in several colours is passed over where their sum reaches it.
// Most bins of a grid are empty, and a walk may pass thousands of them: each row of
// bins (one red and one green step) marks which of its blue steps hold photos, and the
// walk looks only at those.
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
      // The blue steps of the ring: all of them on its rim, its two ends inside it.
      const int blauVon = std::max(zb - k, 0);
      const int blauBis = std::min(zb + k, kFaecher - 1);
      const uint32_t randMaske = ((uint32_t{2} << blauBis) - 1) & ~((uint32_t{1} << blauVon) - 1);
      uint32_t endenMaske = 0;
      if (zb - k >= 0) endenMaske |= uint32_t{1} << (zb - k);
      if (zb + k < kFaecher) endenMaske |= uint32_t{1} << (zb + k);
      for (int r = std::max(zr - k, 0); r <= std::min(zr + k, kFaecher - 1); ++r) {
        const int32_t abstandR = Faecherabstand(r, zr);
        if (FachSchranke(abstandR) >= schranke) continue;
        for (int g = std::max(zg - k, 0); g <= std::min(zg + k, kFaecher - 1); ++g) {
          const int32_t abstandRG = abstandR + Faecherabstand(g, zg);
          const bool rand = std::abs(r - zr) == k || std::abs(g - zg) == k;
          const size_t zeile = static_cast<size_t>(r * kFaecher + g);
          uint32_t belegt = belegt_[zeile] & (rand ? randMaske : endenMaske);
          while (belegt != 0) {
            const int b = std::countr_zero(belegt);
            belegt &= belegt - 1;
            // The bound holds for the three colours together.
            if (FachSchranke(abstandRG + Faecherabstand(b, zb)) >= schranke) continue;
            const size_t fach = zeile * kFaecher + static_cast<size_t>(b);
            const int32_t* foto = fotos_.data() + anfang_[fach];
            const int32_t* ende = foto + anzahl_im_fach_[fach];
            for (; foto != ende; ++foto) {
              if (RingSchranke(k) >= schranke) return;
              schranke = besuchen(*foto);
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
  size_t Index(const Farbsummen& summen) const {
    return static_cast<size_t>((Fach(summen.rot) * kFaecher + Fach(summen.gruen)) * kFaecher +
                               Fach(summen.blau));
  }
  // The least difference in one colour of photos in these bins, in whole bins.
  static int32_t Faecherabstand(int fach, int mitte) {
    return std::max(0, std::abs(fach - mitte) - 1);
  }
  // The least distance of a photo whose bins lie that many whole bins off in all
  // colours together, one step less for the rounding of the mean.
  static int32_t FachSchranke(int32_t faecher) { return std::max(0, kFachBreite * faecher - 1); }
  // The least distance of a photo in ring k.
  static int32_t RingSchranke(int k) { return FachSchranke(std::max(0, k - 1)); }

  int felder_ = 1;
  size_t anzahl_ = 0;
  // The photos bin by bin: bin i holds fotos_[anfang_[i] ..] for anzahl_im_fach_[i].
  std::vector<int32_t> fotos_;
  std::vector<int32_t> anfang_;
  std::vector<int32_t> anzahl_im_fach_;
  // Per row of bins (red, green): bit b set while bin (red, green, b) holds photos.
  std::vector<uint16_t> belegt_;
};

}  // namespace tilvendo
