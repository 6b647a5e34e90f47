// Reading PNG files. Safe to call from several threads at once.
#pragma once

#include <string>

#include "pictures/zeilen_empfaenger.h"

namespace tilvendo {

// Decodes `fileName` and hands its rows to `empfaenger`: palette and grey expanded to
// colour, 16-bit channels reduced to 8, transparency laid over black, the orientation of
// an eXIf chunk before the pixels reported. A non-interlaced file is decoded one row at a
// time; an interlaced one needs the whole picture, which the format's leserBytes count.
// False for every failure (missing file, broken or cut-off data, absurd sizes, the
// receiver refusing), never ending the process or printing anything; the receiver may then
// have seen some rows. Exceptions of the receiver pass on, except PictureTooLarge and
// std::bad_alloc, which give false.
bool ReadPngRows(const std::string& fileName, ZeilenEmpfaenger& empfaenger);

}  // namespace tilvendo
