// Reading TIFF files. Safe to call from several threads at once.
#pragma once

#include <string>

#include "pictures/zeilen_empfaenger.h"

namespace tilvendo {

// Decodes the first picture of `fileName` and hands its rows to `empfaenger`, a band of
// whole strips or tiles at a time (bands without a wanted row are skipped): every colour
// model the TIFF library converts to 8-bit colour, transparency laid over black, the
// orientation tag reported. False for every failure (missing file, broken or cut-off data,
// absurd sizes, the receiver refusing), never ending the process or printing anything;
// the receiver may then have seen some rows. Exceptions of the receiver pass on, except
// PictureTooLarge and std::bad_alloc, which give false.
bool ReadTiffRows(const std::string& fileName, ZeilenEmpfaenger& empfaenger);

}  // namespace tilvendo
