// Saving a poster as the sheets a home printer takes: one PDF (pictures/seiten_pdf.h),
// written by the save routine as any file is (pictures/speichern.h), so a failed, stopped
// or killed save leaves an older PDF of the name as it was and no partial file.
#pragma once

#include <cstdint>

#include "pictures/seitenraster.h"
#include "pictures/speichern.h"
#include "pictures/streifen_quelle.h"

namespace tilvendo {

// The sheets of a breite × hoehe picture saved as `datei` says (its folder and name, its
// resolution across and down, the JPEG quality of the sheets' pictures) with the sheets
// `wahl` describes. Raises WriteError (a German message) for sheets refused by
// SeitenrasterBerechnen, a resolution missing, or a disk with too little room for the PDF
// and the sheets' pictures put aside while it is made.
Seitenraster SeitenPruefen(const SpeicherOptionen& datei, const Seitenwahl& wahl, int32_t breite,
                           int32_t hoehe, const Speicherbegleitung& begleitung);

// Writes the sheets of the picture of `quelle` into `Pfad` + `Datei` of `datei`, after
// SeitenPruefen. Raises WriteError when it cannot be written, SchreibenAbgebrochen when
// stopped (or its release refused).
void SeitenSpeichern(StreifenQuelle& quelle, const SpeicherOptionen& datei, const Seitenwahl& wahl,
                     const Speicherbegleitung& begleitung = {});

}  // namespace tilvendo
