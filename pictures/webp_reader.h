// Reading WebP files. Safe to call from several threads at once.
#pragma once

#include <string>

#include "pictures/zeilen_empfaenger.h"

namespace tilvendo {

// Decodes `fileName` (of an animation its first frame) and hands its rows to
// `empfaenger`: transparency laid over black, the orientation of an EXIF chunk reported.
// The library decodes whole pictures only; the format's leserBytes count the file and the
// decoded picture. A still picture is decoded straight at the receiver's Mindestgroesse
// (scaled by the library), an animation at full size. False for every failure (missing
// file, broken or cut-off data, absurd sizes, the receiver refusing), never ending the
// process or printing anything. Exceptions of the receiver pass on, except
// PictureTooLarge and std::bad_alloc, which give false.
bool ReadWebpRows(const std::string& fileName, ZeilenEmpfaenger& empfaenger);

}  // namespace tilvendo
