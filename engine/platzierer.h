// Placing a chosen picture in a cell during the matching phase: the repetition rule, the
// usage cap and the test that the file still exists, with the list of pictures placed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/abgleich.h"
#include "engine/auftrag.h"
#include "engine/verwendungsliste.h"

namespace tilvendo {

// Which cells the repetition rule looks at.
enum class Abstandsregel {
  Links,    // the current column and those to its left: cells are filled column by column
  Ringsum,  // all directions: cells are filled in any order
  Keine,    // none: the last resort of a capped cell that would otherwise stay black
};

class Platzierer {
 public:
  // Writes the picture numbers into the job's grid; `MaxVerwendungen` > 0 caps the uses
  // of a file, unless it is at least the number of cells and so can never be reached.
  explicit Platzierer(Auftrag& auftrag);

  // Places picture p in cell (x, y) unless the repetition rule with radius r, the usage
  // cap or a vanished file forbids it; true when it was placed.
  bool Platzieren(int x, int y, int32_t r, int32_t p, Abstandsregel regel);

  // The last resort for cell (x, y), filled column by column, when the repetition rule
  // with radius r allowed none of `kandidaten` (picture numbers, best first): the one
  // whose nearest repetition lies farthest away, the better one among equals, that still
  // exists and is not capped. False when none of them can be placed.
  bool Ausweichen(int x, int y, int32_t r, const std::vector<int32_t>& kandidaten);
  Verwendungsliste& Verwendung() { return verwendung_; }

 private:
  // Notes that the file of p has `verwendungen` uses; true when that is the cap.
  bool DeckelErreicht(int32_t p, size_t verwendungen);

  Auftrag& auftrag_;
  Zellenraster& raster_;
  size_t bilder_;
  int32_t maximum_;
  Platzierungen platzierungen_;
  std::vector<uint8_t> fehlt_;  // files found missing once are not tested again
  std::vector<uint8_t> voll_;   // pictures whose file reached the cap
  Verwendungsliste verwendung_;
};

}  // namespace tilvendo
