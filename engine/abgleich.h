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

#include <algorithm>
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

// The tile list laid out flat in brightness order for the search: position r holds the
// r-th node from the darkest, so walking to the brighter or darker neighbour is r ± 1 and
// the colours the distance reads lie side by side. Built once per matching phase.
class Helligkeitsreihe {
 public:
  Helligkeitsreihe(const Kachelliste& liste, int formanalyse);

  int32_t Anzahl() const { return static_cast<int32_t>(knoten_.size()); }
  int32_t Knoten(int32_t rang) const { return knoten_[static_cast<size_t>(rang)]; }
  int Helligkeit(int32_t rang) const { return helligkeit_[static_cast<size_t>(rang)]; }
  int Luecke(int32_t rang) const { return luecke_[static_cast<size_t>(rang)]; }
  int32_t Nummer(int32_t rang) const { return nummer_[static_cast<size_t>(rang)]; }
  const std::vector<GepackteFelder>& Felder() const { return felder_; }

  // Where the preselection starts for brightness t: the first node of the nearest filled
  // bucket at or below t, else the darkest node; -1 for an empty list.
  int32_t Start(int t) const {
    return start_[static_cast<size_t>(std::clamp(t, 0, kMaxHelligkeit))];
  }

 private:
  std::vector<int32_t> knoten_;  // node index by position
  std::vector<uint16_t> helligkeit_;
  std::vector<uint16_t> luecke_;
  std::vector<int32_t> nummer_;  // picture number by position
  std::vector<GepackteFelder> felder_;
  std::vector<int32_t> start_;
};

// `Vorauswahl` as positions in `reihe`: the K nodes nearest to brightness t, taken
// alternately above and below (upper first), plus every node less than W away from t;
// in the order collected.
void VorauswahlBilden(const Helligkeitsreihe& reihe, int t, int32_t kandidatenzahl,
                      int32_t helligkeitsfenster, std::vector<int32_t>& vorauswahl);

// `Rangliste`: of the preselected entries the K with the smallest distance to the
// cell, in ascending order; on equal distance the entry offered later comes first.
// Usually only the first few entries are looked at, so beyond those the order is
// established only when an entry further down is asked for.
class Rangliste {
 public:
  // `vorauswahl` indexes `felder`; it is taken over.
  void Bilden(const std::vector<GepackteFelder>& felder, std::vector<int32_t>& vorauswahl,
              const GepackteFelder& anfrage, int formanalyse, int32_t kandidatenzahl);

  size_t Anzahl() const { return schluessel_.size(); }
  // The i-th entry (an element of the preselection), asked for in ascending i.
  int32_t Eintrag(size_t i);
  // The distance of the i-th entry, once Eintrag(i) was asked for.
  int32_t EintragsDistanz(size_t i) const { return static_cast<int32_t>(schluessel_[i] >> 32); }

 private:
  std::vector<uint64_t> schluessel_;
  size_t sortiert_ = 0;
  std::vector<int32_t> vorauswahl_;
};

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
  // The rule in all directions, for cells filled in any order: false when p lies within
  // r columns and r rows of (x, y).
  bool RingsumFrei(int x, int y, int32_t r, int32_t p) const;
  // How near the nearest placement of p lies to (x, y) among those the rule with radius
  // r looks at (cell steps in the larger direction); r + 1 when there is none.
  int32_t NaechsteWiederholung(int x, int y, int32_t r, int32_t p) const;
  void Platzieren(int x, int y, int32_t p) { orte_[static_cast<size_t>(p)].push_back({x, y}); }

 private:
  std::vector<std::vector<Zellort>> orte_;
};

// The repetition radius of the next cell: minAbstand plus a random 0..Musterabstand.
int32_t AbstandZiehen(const Einstellungen& einstellungen, Zufall& zufall);

// Cells whose rankings are computed together: enough to keep every thread busy, few
// enough that a cancel is seen soon and the rankings of a huge collection stay small.
size_t Blockgroesse(const Helligkeitsreihe& reihe, const Arbeitsgruppe& gruppe);

// The rankings of the `anzahl` cells from cell `anfang` on (counted column by column)
// into ranglisten[0 ..], in parallel.
void RanglistenBilden(const Zellenraster& raster, const Helligkeitsreihe& reihe, int formanalyse,
                      int32_t kandidatenzahl, int32_t fenster, size_t anfang, size_t anzahl,
                      std::vector<Rangliste>& ranglisten, Arbeitsgruppe& gruppe);

// The matching phase: fills the picture numbers of `Raster` and returns the pictures
// placed, or nothing after a cancel. Drops the job's `Ergebnis`. Sets the times of the
// phase Berechnen (its end unless cancelled).
// With `MaxVerwendungen` N > 0 no file is placed in more than N cells, with `JedesFoto`
// every file at least once, and the cells are filled as GedeckeltZuordnen
// (engine/gedeckelte_zuordnung.h) describes.
std::optional<Verwendungsliste> KachelnZuordnen(Auftrag& auftrag, Fortschritt& fortschritt,
                                                Arbeitsgruppe& gruppe);

}  // namespace tilvendo
