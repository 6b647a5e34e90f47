// The staged resampler, the only way a picture is scaled.
//
// Large reductions go in stages of at most a factor of ten, each stage a plain stretch
// copy into an intermediate picture, so that a big photo is never squeezed into a few
// pixels in one step; the last stage is copied into the destination rectangle.
#pragma once

#include <vector>

#include "platform/bitmap.h"
#include "platform/rect.h"

namespace tilvendo {

// The sizes of the intermediate pictures, in the order they are made, for drawing a
// sourceWidth × sourceHeight picture into a rectangle of the given size. Empty when the
// picture goes straight into the rectangle.
std::vector<Size> EinpassStufen(int32_t sourceWidth, int32_t sourceHeight, int32_t rectWidth,
                                int32_t rectHeight);

// Draws the whole source, stretched independently in both directions, into `rect` of
// `destination`. A rectangle of zero (or negative) width or height draws nothing.
void BildEinpassen(Bitmap& destination, Rect rect, const Bitmap& source);

}  // namespace tilvendo
