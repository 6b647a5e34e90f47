// Phase 3 of a run: choosing a tile picture for every cell of the grid. A cheap
// preselection by brightness in the tile list, a ranking of the preselected pictures by
// their sub-cell distance to the cell, and the first ranked picture that does not repeat
// a picture placed too close by.
//
// The ranking of a cell does not depend on the pictures placed before it, so the
// rankings of many cells are computed in parallel; the walk with the repetition rule,
// the random draw and the file test stay in cell order on the run's thread. The result
// is the same for any number of threads.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/arbeitsgruppe.h"
#include "engine/auftrag.h"
#include "engine/distanz.h"
#include "engine/fortschritt.h"
#include "engine/kachelliste.h"
#include "engine/verwendungsliste.h"

namespace tilvendo {

// The node the preselection starts from: the first node of the nearest filled bucket at
// or below brightness t, else the darkest node; kKeinKnoten for an empty list.
int32_t Startknoten(const Kachelliste& liste, int t);

// `Vorauswahl`: the K nodes nearest to brightness t, taken alternately above and below
// (upper first), plus every node less than W away from t; in the order collected.
void VorauswahlBilden(const Kachelliste& liste, int t, int32_t kandidatenzahl,
                      int32_t helligkeitsfenster, std::vector<int32_t>& vorauswahl);

// The packed colours of every node of the list, by node index.
std::vector<GepackteFelder> KnotenPacken(const Kachelliste& liste, int formanalyse);

// `Rangliste`: of the preselected nodes the K with the smallest distance to `anfrage`,
// sorted ascending; on equal distance the node offered later comes first.
void RanglisteBilden(const std::vector<GepackteFelder>& knotenFelder,
                     const std::vector<int32_t>& vorauswahl, const GepackteFelder& anfrage,
                     int formanalyse, int32_t kandidatenzahl, std::vector<int32_t>& rangliste);

// The repetition rule straight from its definition: false when picture p lies within r
// = minAbstand + extra columns to the left (or in the same column) and r rows above or
// below cell (x, y).
bool AbstandFrei(const Zellenraster& raster, int x, int y, int32_t r, int32_t p);

// The same rule from the cells each picture was placed in, in placement order: only the
// latest placements of p need to be looked at.
class Platzierungen {
 public:
  explicit Platzierungen(size_t bilder) : orte_(bilder) {}
  bool AbstandFrei(int x, int y, int32_t r, int32_t p) const;
  void Platzieren(int x, int y, int32_t p) { orte_[static_cast<size_t>(p)].push_back({x, y}); }

 private:
  std::vector<std::vector<Zellort>> orte_;
};

// The matching phase: fills the picture numbers of `Raster` and returns the pictures
// placed, or nothing after a cancel. Replaces `MosaikBild` by a new black picture of the
// mosaic's size. Sets PhasenZeiten[2] and, unless cancelled, [7].
std::optional<Verwendungsliste> KachelnZuordnen(Auftrag& auftrag, Fortschritt& fortschritt,
                                                Arbeitsgruppe& gruppe);

}  // namespace tilvendo
