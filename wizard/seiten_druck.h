// The dialog "Auf Seiten drucken" of the result page, without Qt: the papers and
// orientations it offers, what it says about the sheets a choice gives (or why none), and
// the sheets' outlines it draws over the mosaic.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pictures/seitenraster.h"
#include "platform/rect.h"
#include "platform/translate.h"

namespace tilvendo::wizard {

inline constexpr const char* kSeitenKnopf = N_("Auf Seiten drucken …");
inline constexpr const char* kSeitenTitel = N_("Auf Seiten drucken");
inline constexpr const char* kSeitenFilter = N_("PDF-Dokumente (*.pdf)");
inline constexpr const char* kSeitenName = N_("Mosaik.pdf");
// The resolution offered for a mosaic made without one.
inline constexpr int32_t kSeitenStandardDpi = 150;

// The orientations in the order of Blattlage.
std::vector<std::string> Blattlagen();

// What the dialog shows for a breite × hoehe mosaic printed at dpiX × dpiY on the sheets
// of `wahl`: the grid, and "12 Blätter (4 x 3), A4 quer …"; or, when refused, no grid and
// the reason.
struct Seitenangabe {
  std::optional<Seitenraster> raster;
  std::string text;
};
Seitenangabe SeitenAngeben(Size mosaik, double dpiX, double dpiY, const Seitenwahl& wahl);

// Each sheet's part of the mosaic in a picture of it `anzeige` large, row by row: the
// outlines the dialog draws, overlapping where the sheets do.
std::vector<Rect> BlattUmrisse(const Seitenraster& raster, Size anzeige);

}  // namespace tilvendo::wizard
