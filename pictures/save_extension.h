// The extension a saved file must end in, whatever name the user typed.
#pragma once

#include <cstdint>
#include <string>

namespace tilvendo {

// Makes `fileName` end in the extension of `format` (a format code of
// pictures/dateiformate.h): a different extension (compared without regard to case) is
// replaced, a missing one appended, a matching one kept as it is ("a.JPEG" → "a.jpg",
// "a" → "a.jpg", "a.JPG" stays; "a.tiff" stays a TIFF's). Unknown formats change nothing.
void ForceSaveExtension(uint8_t format, std::string& fileName);

}  // namespace tilvendo
