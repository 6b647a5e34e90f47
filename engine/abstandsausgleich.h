// Restoring the minimum distance between equal photos after an assignment that kept
// only to the usage limits. The flow places each photo in the cells it suits best, and
// in a calm area of the template those often lie side by side. Each cell whose photo
// repeats too close gets another photo, by the exchange that adds the least distance:
// a photo with uses to spare, or the photo of a cell that can take its own in return.
// Exchanges never break the limits and never make a new repetition, so each one mends
// at least one cell.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/einstellungen.h"

namespace tilvendo {

// What the exchanges need to know of the costs.
class Ausgleichskosten {
 public:
  virtual ~Ausgleichskosten() = default;
  // The signature distance of cell `zelle` (counted column by column from 0) to photo
  // `foto`.
  virtual int32_t Distanz(size_t zelle, int32_t foto) const = 0;
  // The photos worth trying in that cell, nearest first.
  virtual std::span<const int32_t> Kandidaten(size_t zelle) const = 0;
};

// An assignment of photos to cells under usage limits.
struct Belegung {
  int32_t kachelnX = 0;
  int32_t kachelnY = 0;
  std::vector<int32_t> foto;    // per cell, column by column; kKeinBild when empty
  std::vector<int32_t> radius;  // per cell: its photo must not recur this close
  std::vector<int32_t> unten;   // per photo: uses it must keep
  std::vector<int32_t> oben;    // per photo: uses it may have
};

struct Ausgleich {
  int32_t tausche = 0;  // exchanges made
  int32_t offen = 0;    // cells no exchange could mend
};

// Whether cells a and b (column by column from 0) lie too close for one photo: within
// the larger of their radii in both directions.
bool ZuNah(const Belegung& belegung, size_t a, size_t b);

// Mends every cell whose photo recurs too close, as far as exchanges can; a cell that no
// exchange can mend keeps its photo. Polls `abbruch` and returns nothing after a cancel.
std::optional<Ausgleich> AbstandAusgleichen(Belegung& belegung, const Ausgleichskosten& kosten,
                                            const std::atomic<bool>& abbruch);

}  // namespace tilvendo
