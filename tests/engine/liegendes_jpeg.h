// Photos that lie on their side: a camera stores the pixels as taken and says in the
// Exif orientation tag how to turn them.
#pragma once

#include <string>

#include "platform/bitmap.h"

namespace tilvendo::testing {

// A JPEG of `bild` whose orientation tag says it must be turned 90° clockwise to stand
// upright.
void WriteTestJpegLiegend(const std::string& pfad, const Bitmap& bild);

}  // namespace tilvendo::testing
