// Reading Windows bitmap files. Safe to call from several threads at once.
#pragma once

#include <string>

#include "platform/bitmap.h"

namespace tilvendo {

// Decodes `fileName` into `bitmap` (any of its formats becomes 8-bit with palette,
// 24-bit or 32-bit as fits the file). False for anything that is not a well-formed
// bitmap the reader understands; never reads outside the file's bytes.
bool ReadBmpFile(Bitmap& bitmap, const std::string& fileName);

}  // namespace tilvendo
