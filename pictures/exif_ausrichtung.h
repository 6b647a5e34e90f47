// The orientation tag of a photo's Exif data.
//
// Only that one tag is wanted, so a small parser of our own reads it: the TIFF header,
// the first directory and its entry 0x0112, every read checked against the block. A general
// Exif library would parse makers' notes and every other directory of untrusted data for
// nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "pictures/ausrichtung.h"

namespace tilvendo {

// The orientation an Exif block gives: the block as JPEG's APP1 segment holds it (after
// "Exif\0\0") or as PNG, WebP and TIFF hold it (starting with the TIFF header "II*\0" or
// "MM\0*"); the prefix is accepted either way. None when the block is damaged, has no
// orientation tag or a value outside 1 … 8.
std::optional<Ausrichtung> ExifAusrichtung(std::span<const uint8_t> exif);

}  // namespace tilvendo
