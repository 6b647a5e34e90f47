// The extension a saved file must end in, whatever name the user typed.
#pragma once

#include <cstdint>
#include <string>

namespace tilvendo {

// Makes `fileName` end in the extension of `format` (a format code of
// pictures/dateiformate.h): another picture extension (one of kBildEndungen, compared
// without regard to case) is replaced, a matching one kept as it is, and the format's
// extension appended to every other name, whatever dots it holds ("a.JPEG" → "a.jpg",
// "a" → "a.jpg", "a.JPG" stays, "a.tiff" stays a TIFF's, "Urlaub 2024.07" →
// "Urlaub 2024.07.jpg"). Unknown formats change nothing.
void ForceSaveExtension(uint8_t format, std::string& fileName);

}  // namespace tilvendo
