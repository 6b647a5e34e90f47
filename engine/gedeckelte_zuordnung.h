// Matching under usage limits: a cap on how often one photo appears, or every photo at
// least once. Filled cell by cell, the first cells would take the few photos that suit a
// common colour of the template and the last ones would get what is left, however ill
// it suits them. So this is solved as one transport problem over the whole grid: every
// cell takes one photo, every photo between its lower and upper limit of cells, at the
// least total signature distance (engine/zuordnungsfluss.h). The minimum distance
// between equal photos is restored afterwards by the cheapest exchanges
// (engine/abstandsausgleich.h).
#pragma once

#include "engine/abgleich.h"
#include "engine/arbeitsgruppe.h"
#include "engine/auftrag.h"
#include "engine/fortschritt.h"
#include "engine/platzierer.h"

namespace tilvendo {

// Fills the grid through `platzierer`, with the limits of VerwendungsgrenzenFuer for the
// photos (files) of the tile list that still exist:
// 1. ranks every cell as the matching step does, reporting each cell to `fortschritt`
//    and drawing its repetition radius in cell order, and keeps its nearest photos; with
//    a lower limit also each photo's nearest cells;
// 2. makes a first assignment that keeps the limits (engine/vorbelegung.h);
// 3. solves the flow over the nearest pairs and those of the first assignment, adds the
//    pairs whose reduced cost shows they could make it cheaper, and solves again from
//    the flow before, until the pairs not given could save at most 0.09 %. Every pair of cell and
//    photo is searched while their number stays small (engine/preissuche.h), else each cell's near
//    photos; `auftrag.zuordnung` tells which, with the flow's bound;
// 4. exchanges photos until no photo recurs within its cells' radius in any direction,
//    as far as exchanges can; where they cannot, lowers every cell's radius by one and
//    exchanges again, until the distance holds, and reports both in `auftrag.zuordnung`
//    (`abstandGesenkt`: by how much the distance gave way).
// A photo file that has gone is passed over and counted in `FehlendeBilder`; cells stay
// empty only when the photos together may not fill them. False after a cancel, which is
// seen between the steps and while a flow is solved once that flow is done.
bool GedeckeltZuordnen(Auftrag& auftrag, Fortschritt& fortschritt, Arbeitsgruppe& gruppe,
                       const Helligkeitsreihe& reihe, Platzierer& platzierer);

}  // namespace tilvendo
