// The list of the photos placed in a mosaic, one line per cell, so that the user can
// find the photo behind any tile of a printed poster: "Spalte,Zeile,Foto", then for
// every cell row by row from the top, each from the left, its column and row (from 1)
// and the photo's path (empty for a cell left black). Comma-separated as spreadsheets
// read it, in UTF-8; a path with a comma, a quote or a line break is quoted.
#pragma once

#include <string>

#include "engine/auftrag.h"

namespace tilvendo {

inline constexpr const char* kPlatzierungslisteKopf = "Spalte,Zeile,Foto";

// The list of the last completed run's mosaic (its plan, whatever the settings and later
// runs that did not complete have done to the job's grid since); std::logic_error when
// there is none.
std::string PlatzierungslisteText(const Auftrag& auftrag);

// Writes it to `pfad`, atomically; WriteError (a German message) when that fails.
void PlatzierungslisteSchreiben(const Auftrag& auftrag, const std::string& pfad);

}  // namespace tilvendo
