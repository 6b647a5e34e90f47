// Saving the result: the save options page, then the blended mosaic written at full size.
#pragma once

namespace tilvendo::ui {

class Assistent;

// Shows the save options page and writes the file the user chose; false when the user
// cancelled the page.
bool SaveMosaic(Assistent& assistent);

}  // namespace tilvendo::ui
