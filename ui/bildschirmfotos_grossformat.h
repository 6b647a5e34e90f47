// The screenshots of a poster: the size page in large format with a paper size chosen,
// the tiling page with the tile on paper, the overview's print size, the result page
// looked into down to single photos, and the save page with PNG and TIFF.
#pragma once

namespace tilvendo::ui {

class Assistent;
class Fotograf;

// Switches the job to large format, runs it and takes its pages. Needs a template and
// chosen albums, as after the other pages were taken.
void GrossformatAufnehmen(Fotograf& fotograf, Assistent& assistent);

}  // namespace tilvendo::ui
