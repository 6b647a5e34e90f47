// The writer of a poster's sheets as one PDF: first an assembly sheet (the whole picture
// reduced, with the grid of the sheets and their names), then one page per sheet in
// reading order, each with its part of the picture at the poster's resolution, thin marks
// at the edges of the overlap strips and its name with its neighbours' names.
//
// The rows come from the top as into any writer. One row of sheets is held at a time; once
// its last row came, each of its sheets is compressed as JPEG and put aside on the disk of
// the file (the PDF then holds that JPEG data, near the size of the poster as a JPEG).
// Meanwhile the picture is reduced for the assembly sheet, which the PDF shows first but
// which only the last row completes; so the pages are laid out when every row is there.
#pragma once

#include <memory>

#include "pictures/bildschreiber.h"
#include "pictures/byte_sink.h"
#include "pictures/seitenraster.h"

namespace tilvendo {

// Dots per inch of the assembly sheet's picture: sharp enough to find a sheet's place.
inline constexpr double kUebersichtDpi = 150.0;

// The writer of the sheets of `raster` (made for the picture `beschreibung` describes,
// whose quality the sheets' JPEG data take) into `ziel`, with the assembly sheet first
// unless `uebersicht` is false. Raises WriteError when the PDF cannot be made.
std::unique_ptr<Bildschreiber> MakeSeitenPdfSchreiber(SeekableSink& ziel,
                                                      const Bildbeschreibung& beschreibung,
                                                      const Seitenraster& raster, bool uebersicht);

}  // namespace tilvendo
