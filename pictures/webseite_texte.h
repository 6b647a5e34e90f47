// The page's own files of a saved web page: its markup, style and script. They are part of
// the program, so that a page works wherever the program was installed.
#pragma once

#include <string>

namespace tilvendo {

// The page `ZIEL.html`, loading its files from the folder `ordnerUrl` (percent-encoded,
// relative to the page), titled `titel` (escaped here); `mitPlatzierung` loads the
// placement script.
std::string WebseiteHtml(const std::string& ordnerUrl, const std::string& titel,
                         bool mitPlatzierung);

extern const char* const kWebseiteCss;
extern const char* const kWebseiteSkript;

}  // namespace tilvendo
