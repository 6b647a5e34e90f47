// The list of the photos placed in a mosaic, one line per cell, so that the user can
// find the photo behind any tile of a printed poster: "Spalte;Zeile;Foto", then for
// every cell row by row from the top, each from the left, its column and row (from 1)
// and the photo's path (empty for a cell left black). Separated by semicolons, which
// spreadsheet programs of languages with a decimal comma split into columns where they
// would keep a comma-separated line whole; the catalogue of a language whose programs
// expect commas gives the comma. In UTF-8 with its byte order mark, by which they know
// the encoding. A path with a semicolon, a comma, a quote or a line break is quoted; a
// path whose bytes are not valid UTF-8 has those bytes written as the Windows-1252
// characters they most likely were.
#pragma once

#include <string>
#include <string_view>

#include "engine/auftrag.h"

namespace tilvendo {

// The list of the last completed run's mosaic (its plan, whatever the settings and later
// runs that did not complete have done to the job's grid since); std::logic_error when
// there is none.
std::string PlatzierungslisteText(const Auftrag& auftrag);

// Writes it to `pfad`, atomically, unless the rule of engine/ausgabeziel.h refuses the
// path (an existing file that is no placement list, a photo, the template, a device…);
// WriteError (with the message for the user) then, and when writing fails.
void PlatzierungslisteSchreiben(const Auftrag& auftrag, const std::string& pfad);

// Whether the file at `pfad` begins as a placement list does, with either separator, with
// or without the mark (as earlier versions wrote it), so that a new list may replace it.
bool IstPlatzierungsliste(const std::string& pfad);

}  // namespace tilvendo
