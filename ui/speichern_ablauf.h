// Saving the result: the save options page, then the blended mosaic written at full size.
#pragma once

class QImage;
class QWidget;

namespace tilvendo::ui {

class Assistent;

// Shows the save options page and writes the file the user chose; false when the user
// cancelled the page.
bool SaveMosaic(Assistent& assistent);

// Asks in a dialog how the mosaic (shown as `bild`) is printed on sheets and where the
// PDF goes, then writes it with the progress and cancel of a poster's save; false when
// nothing was saved.
bool SaveSheets(Assistent& assistent, QWidget* eltern, const QImage& bild);
// Asks for the page's name and whether it names the photos, writes the mosaic as a
// zoomable web page with the progress and cancel of a poster's save, and offers to open
// it in the browser; false when nothing was saved.
bool SaveWebPage(Assistent& assistent, QWidget* eltern);

}  // namespace tilvendo::ui
