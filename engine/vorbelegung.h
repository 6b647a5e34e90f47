// A first assignment under the usage limits, from which the flow starts. Without it the
// first flow would strand every cell whose nearest photos other cells take as well, and
// its prices would say little about which pairs to add; with it every cell holds a real
// photo from the start.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/paarsuche.h"
#include "engine/zuordnungsdaten.h"

namespace tilvendo {

// Per cell a photo, photo p in at most oben[p] cells:
// 1. each photo that must be used (unten > 0) takes the nearest of its nearest cells
//    still free, the photos with the nearest cells first;
// 2. the pairs of the cells' near photos (daten.naheFotos), closest first;
// 3. each cell still free, in cell order, the nearest of the photos with uses to spare
//    nearest in mean colour; those photos also join the cell's near photos, in distance
//    order;
// 4. each photo that must be used and is not yet the nearest of the cells nearest in
//    mean colour whose photo has a use to spare (and joins that cell's near photos).
// Cells stay free (kKeinBild) only when no photo has uses to spare; a photo that must be
// used stays unused only when no cell can give way.
std::vector<int32_t> Vorbelegen(Zuordnungsdaten& daten, const std::vector<int32_t>& unten,
                                const std::vector<int32_t>& oben);

}  // namespace tilvendo
