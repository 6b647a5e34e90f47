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

}  // namespace tilvendo::ui
