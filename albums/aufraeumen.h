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
// - album files of our own naming ("Album <n>.nbd", "Album <n>.nbf",
//   "Album <n> <level><variant>.nba") whose Dateiname no section of the catalogue names,
//   listed or not (a kill between writing them and the catalogue), once they are older
//   than kVerwaistNach.
// Only regular files are removed, nothing else in the folder; no album file at all
// while the catalogue is missing, unreadable or lists no albums, so that a lost
// catalogue never costs the album files. Album files are left alone while another
// program holds the album folder past kontext.sperrFrist. Returns how many files were
// removed; never throws.
size_t AlbenordnerAufraeumen(const AlbenKontext& kontext);
// The same within the turn `sperre` the caller holds.
size_t AlbenordnerAufraeumen(const AlbenKontext& kontext, const AlbenSperre& sperre);

}  // namespace tilvendo
