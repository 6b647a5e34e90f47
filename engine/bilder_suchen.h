// Finding the picture files of an album's folders. Names inside a folder come sorted by
// their bytes, so that the same folders give the same picture numbers on every machine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tilvendo {

// The full paths of the plain files in `ordner` whose extension is `endung` (".jpg", one of
// kBildEndungen, in any letter case): no folders,
// no hidden files (a leading "."), no names with a line break, sorted by name. An unreadable or
// missing folder has none.
std::vector<std::string> BilddateienSuchen(const std::string& ordner, std::string_view endung);

// The pictures of the given folders: folder by folder, within each the files of each
// extension in the order of kBildEndungen (".bmp", then ".jpg", then ".jpeg").
std::vector<std::string> AlbumBilderSuchen(const std::vector<std::string>& verzeichnisse);

}  // namespace tilvendo
