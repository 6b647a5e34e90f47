// Matching under a usage cap. Filled column by column, the first columns would take the
// few photos that suit a common colour of the template, and the last ones would get what
// is left, however ill it suits them. So the capped matching ranks every cell first and
// then places the best pairs of cell and photo over the whole grid, the closest first:
// a photo in short supply goes to the cells it suits best, and a cell that loses it is
// one with a near alternative.
#pragma once

#include "engine/abgleich.h"
#include "engine/arbeitsgruppe.h"
#include "engine/auftrag.h"
#include "engine/fortschritt.h"
#include "engine/platzierer.h"

namespace tilvendo {

// Fills the grid through `platzierer` (which holds the cap):
// 1. ranks every cell as the matching step does, reporting each cell to `fortschritt`
//    and drawing its repetition radius in cell order, and keeps its best candidates;
// 2. places the pairs of all cells by ascending distance, a cell once, under the
//    repetition rule in all directions (the order is no longer by columns);
// 3. gives each cell still empty, column by column, the best picture of an ever wider
//    search by brightness, at last of the whole list, and only when no picture outside
//    the repetition distance is left, the best one the cap still allows.
// False after a cancel.
bool GedeckeltZuordnen(Auftrag& auftrag, Fortschritt& fortschritt, Arbeitsgruppe& gruppe,
                       const Helligkeitsreihe& reihe, Platzierer& platzierer);

}  // namespace tilvendo
