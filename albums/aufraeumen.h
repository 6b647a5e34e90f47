// Tidying the album folder after programs that ended before they had finished.
#pragma once

#include <chrono>
#include <cstddef>

#include "albums/alben_kontext.h"
#include "albums/alben_sperre.h"

namespace tilvendo {

// Album files younger than this are never taken for left-overs: another running
// program may be between writing an album's files and entering it into the catalogue.
inline constexpr std::chrono::minutes kVerwaistNach{10};

// Removes from the album folder what no album can use any more:
// - temporary files of writers whose process has ended (a kill during a run);
// - the empty folder file "Album <n>.nbd" by which a program that ended before it saved
//   its new album had reserved the name, once it is older than kVerwaistNach, no section
//   of the catalogue names it and no other file of that album exists.
// The folder, picture and cache files of albums the catalogue does not name are never
// removed: the catalogue may have been lost or cut, and those albums can be taken back
// (albums/verwaiste_alben.h). Only regular files are removed, nothing else in the folder;
// nothing at all but temporaries while the catalogue is missing or lists no albums.
// Reservations are left alone while another program holds the album folder past
// kontext.sperrFrist. Returns how many files were removed; never throws.
size_t AlbenordnerAufraeumen(const AlbenKontext& kontext);
// The same within the turn `sperre` the caller holds.
size_t AlbenordnerAufraeumen(const AlbenKontext& kontext, const AlbenSperre& sperre);

}  // namespace tilvendo
