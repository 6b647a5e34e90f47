// Which pairs of cell and photo, not yet part of the flow problem, could lower its cost:
// those whose reduced cost under the flow's prices is negative. A photo priced high can
// be worth a far pair, so the photos are grouped by price (the few dearest alone, ever
// larger groups below them), and within each group only the photos whose mean colours
// allow a distance below the group's highest price are measured; once as many pairs are
// found as are asked for, only below what the least promising of them saves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/paarsuche.h"
#include "engine/zuordnungsdaten.h"
#include "engine/zuordnungsfluss.h"

namespace tilvendo {

class Preissuche {
 public:
  Preissuche(const Zuordnungsdaten& daten, const Flussloesung& loesung);

  // The pairs of cell `zelle` with negative reduced cost, apart from the one to its photo
  // `zugeordnet`: the `hoechstens` most negative into `neu`, most negative first (on
  // equal ones the photo numbered first). Returns the most negative reduced cost of all
  // its pairs, 0 when none is negative.
  int64_t Bewerten(size_t zelle, int32_t zugeordnet, size_t hoechstens, Partnerliste& neu) const;

 private:
  struct Gruppe {
    int64_t hoechsterPreis = 0;
    std::vector<int32_t> fotos;  // a small group is walked through
    Farbgitter gitter;           // a large one by its grid
  };

  const Zuordnungsdaten& daten_;
  const Flussloesung& loesung_;
  std::vector<Gruppe> gruppen_;
};

}  // namespace tilvendo
