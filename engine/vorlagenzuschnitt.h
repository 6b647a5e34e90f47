// The template of a poster that fills paper of another shape: the part of the picture
// read that the job measures, composes against and blends, cut so that the composer and
// the writers see one template of the paper's shape and need not know of any cut.
#pragma once

#include "engine/auftrag.h"
#include "platform/rect.h"

namespace tilvendo {

// Makes `ausschnitt` of the picture read the job's template (`VorlageBild`, its size and
// `Ausschnitt`); an empty one, or one covering the whole picture, gives the whole picture
// back. The picture read is kept beside it (`VorlageGanz`) while a part is the template.
// A part reaching beyond the picture is held within it. The preview is the caller's.
void VorlageZuschneiden(Auftrag& auftrag, Rect ausschnitt);

// The picture as read: kept beside the template while a part of it is the template.
const Bitmap& GelesenesBild(const Auftrag& auftrag);

// A template just read gets its result size by the choice in force: a poster's paper
// (`Papier`) at the print resolution, cut or fitted as chosen, else the job's zooms.
void ZielgroesseErneuern(Auftrag& auftrag);

}  // namespace tilvendo
