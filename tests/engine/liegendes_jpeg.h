// A photo lying on its side: stored as taken, with an Exif orientation tag saying it must
// be turned 90° clockwise to stand upright.
#pragma once

#include <string>

#include "platform/bitmap.h"

namespace tilvendo::testing {

void WriteTestJpegLiegend(const std::string& pfad, const Bitmap& bild);

}  // namespace tilvendo::testing
