// Saving the result: the save options page, then the blended mosaic written at full size.
#pragma once

class QWidget;

namespace tilvendo::ui {

class Assistent;

// Shows the save options page and writes the file the user chose; false when the user
// cancelled the page.
bool SaveMosaic(Assistent& assistent);

// Asks for the page's name and whether it names the photos, writes the mosaic as a
// zoomable web page with the progress and cancel of a poster's save, and offers to open
// it in the browser; false when nothing was saved.
bool SaveWebPage(Assistent& assistent, QWidget* eltern);

}  // namespace tilvendo::ui
