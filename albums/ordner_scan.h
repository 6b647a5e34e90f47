// Collecting an album's folders and counting its picture files. No picture is opened.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "albums/alben_kontext.h"
#include "albums/bildzahlen.h"
#include "platform/benutzer.h"

namespace tilvendo {

// Scans the chosen folders (full paths ending in "/"): a chosen folder that lies
// inside another chosen one is scanned only through its parent. `ergebnis` becomes
// the sorted list of every folder visited (with `rekursiv` all subfolders too, hidden
// ones included; symbolic links to folders are never followed, so a link to a parent
// cannot loop, nor is a subfolder that became a link while the scan ran; a folder met
// twice, as through a bind mount, is scanned once; names with line breaks, which no
// album file can hold, and subfolders whose path is too long to open are left out, the
// former with a note through `benutzer` that counts them and names one).
// Counts the files with a picture extension (links to picture files
// included). With `mitFortschritt` the scan reports each folder and the running count
// through `benutzer` and lets it handle pending events. Unreadable folders contribute
// nothing. Finally every signature cache of album `name` is marked for rebuilding.
// Returns (total, 0, 0, 0).
Bildzahlen AlbumScannen(const AlbenKontext& kontext, Benutzer& benutzer, std::string_view name,
                        const std::vector<std::string>& gewaehlt,
                        std::vector<std::string>& ergebnis, bool rekursiv, bool mitFortschritt);

// The picture files directly inside the folders, each folder counted once; subfolders
// are not entered (an album's list of all folders names them itself).
int32_t BilderZaehlen(const std::vector<std::string>& ordner);

// The scan alone, without touching the catalogue.
Bildzahlen OrdnerScannen(Benutzer& benutzer, const std::vector<std::string>& gewaehlt,
                         std::vector<std::string>& ergebnis, bool rekursiv, bool mitFortschritt);

// The chosen folders without those that lie inside another chosen folder (and
// without repeated ones), in their order.
std::vector<std::string> ArbeitslisteBilden(const std::vector<std::string>& gewaehlt);

}  // namespace tilvendo
