// Showing the program's pictures in Qt.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdint>

#include "platform/bitmap.h"

class QPainter;

namespace tilvendo {
struct Auftrag;
}

namespace tilvendo::ui {

// A view of a working-format picture as a QImage, without copying: valid only while the
// picture lives and keeps its size. Pictures of another format are converted (a copy).
QImage AlsQImage(const Bitmap& bild);

// Draws the whole picture stretched over `ziel`; an empty picture draws nothing.
void BildZeichnen(QPainter& maler, const QRect& ziel, const Bitmap& bild);

// Draws the job's template from its preview stretched over `ziel`: the part a poster's
// paper cut from the picture, or all of it.
void VorlageZeichnen(QPainter& maler, const QRect& ziel, const Auftrag& auftrag);

// Draws the grid of `kx` × `ky` tiles over a preview of `groesse`: the left and top edges
// get a line, the right and bottom edges do not; dense grids are drawn faintly or not at
// all (wizard::RasterDeckkraft).
void RasterZeichnen(QPainter& maler, const QSize& groesse, int32_t kx, int32_t ky);

}  // namespace tilvendo::ui
