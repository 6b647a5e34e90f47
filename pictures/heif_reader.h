// Reading HEIF files (HEIC photos). Safe to call from several threads at once.
#pragma once

#include <string>

#include "pictures/zeilen_empfaenger.h"

namespace tilvendo {

// Decodes the primary picture of `fileName` (of a sequence or a collection the one meant
// to be shown) and hands its rows to `empfaenger`, transparency laid over black and
// channels of more than 8 bits reduced. A HEIF file turns, mirrors and crops its picture
// through properties of its container that belong to the picture itself, so the library
// always applies them and the rows come upright (the receiver is told the orientation is
// normal); an Exif tag in such files only repeats them and is never applied on top.
// The library decodes whole pictures only; the format's leserBytes count what it holds.
// When the receiver's Mindestgroesse is no larger than an embedded thumbnail, the smallest
// such thumbnail is decoded instead. False for every failure (missing file, broken or
// cut-off data, absurd sizes, the receiver refusing), never ending the process or printing
// anything. Exceptions of the receiver pass on, except PictureTooLarge and std::bad_alloc,
// which give false.
bool ReadHeifRows(const std::string& fileName, ZeilenEmpfaenger& empfaenger);

}  // namespace tilvendo
