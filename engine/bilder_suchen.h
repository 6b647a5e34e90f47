// Finding the picture files of an album's folders. Names inside a folder come sorted by
// their bytes, so that the same folders give the same picture numbers on every machine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tilvendo {

// Whether `name` ends in `endung` (".jpg"), compared without regard to ASCII letter case.
bool EndetAuf(std::string_view name, std::string_view endung);

// The full paths of the plain files in `ordner` whose names end in `endung`: no folders,
// no hidden files (a leading "."), no names with a line break, sorted by name. An unreadable or
// missing folder has none.
std::vector<std::string> BilddateienSuchen(const std::string& ordner, std::string_view endung);

// The pictures of the given folders: folder by folder, within each the ".bmp" files, then
// the ".jpg" files, then the ".jpeg" files.
std::vector<std::string> AlbumBilderSuchen(const std::vector<std::string>& verzeichnisse);

}  // namespace tilvendo
