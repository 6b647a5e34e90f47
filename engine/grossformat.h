// Large format: mosaics far beyond the usual 2,500 pixels, for print. Such a mosaic is
// never held whole; it is composed band by band from its plan whenever it is shown or
// saved (engine/mosaikergebnis.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/einstellungen.h"
#include "pictures/vorlage_im_mosaik.h"
#include "platform/rect.h"

namespace tilvendo {

// How the template is scaled when it is blended into a mosaic of this size: as the
// whole-picture blend does within the usual bound (a large-format mosaic of that size
// is the very same picture), smoothly beyond it.
Vorlagenskalierung SkalierungFuer(int32_t breite, int32_t hoehe);

// The size in pixels the job's grid and tile size give a mosaic; that of a mosaic made
// is its plan's (Mosaikplan::Mosaik).
Size Mosaikgroesse(const Einstellungen& einstellungen);

// Why a large-format job cannot be composed, or nothing: a single tile row too large
// for the memory (kMaxKachelzeilenBytes).
std::optional<std::string> GrossformatWarnung(const Einstellungen& einstellungen);

}  // namespace tilvendo
