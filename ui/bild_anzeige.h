// Showing the program's pictures in Qt.
#pragma once

#include <QImage>
#include <QRect>

#include "platform/bitmap.h"

class QPainter;

namespace tilvendo::ui {

// A view of a working-format picture as a QImage, without copying: valid only while the
// picture lives and keeps its size. Pictures of another format are converted (a copy).
QImage AlsQImage(const Bitmap& bild);

// Draws the whole picture stretched over `ziel`; an empty picture draws nothing.
void BildZeichnen(QPainter& maler, const QRect& ziel, const Bitmap& bild);

}  // namespace tilvendo::ui
