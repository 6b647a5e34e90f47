// Paths as the program keeps them: "/" between names, folders always end in "/".
#pragma once

#include <string>
#include <string_view>

namespace tilvendo {

// `folder` with a trailing "/" (an empty text stays empty).
std::string MitSchraegstrich(std::string_view folder);

// The extension from the last "." of the file name on, upper-cased ASCII
// ("a/b.Jpeg" → ".JPEG"); empty when the name has none.
std::string UpperExtension(std::string_view path);

// Everything up to and including the last "/".
std::string FolderOf(std::string_view path);
// Everything after the last "/".
std::string FileNameOf(std::string_view path);

bool FileExists(const std::string& path);    // a regular file (links followed)
bool FolderExists(const std::string& path);  // a folder (links followed)

// Whether both names lead to the same existing file, however they are spelt: relative
// or absolute, through links, or as two hard links of one file.
bool SameFile(const std::string& a, const std::string& b);

// Creates the folder and every missing parent; true when it exists afterwards.
bool CreateFolders(const std::string& path);

// The folder of the running executable, with trailing "/".
std::string ExecutableFolder();

// The user's home folder ($HOME, else the password database), with trailing "/".
std::string HomeFolder();

// $TMPDIR or "/tmp/", with trailing "/".
std::string TempFolder();

// $XDG_DATA_HOME or ~/.local/share/, with trailing "/".
std::string DataHomeFolder();

// $XDG_CACHE_HOME or ~/.cache/, with trailing "/".
std::string CacheHomeFolder();

}  // namespace tilvendo
