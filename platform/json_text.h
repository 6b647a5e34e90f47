// Text as a JSON string literal that is also safe inside an HTML page's script.
#pragma once

#include <string>
#include <string_view>

namespace tilvendo {

// `bytes` as a quoted JSON string: valid UTF-8 kept, every byte that is not part of a
// valid sequence replaced by U+FFFD, and quotes, backslashes, control characters, "<",
// ">", "&", "'" and the line separators U+2028/U+2029 written as \u escapes, so the
// literal cannot end a script element or start markup wherever it is placed.
std::string JsonString(std::string_view bytes);

// `bytes` with every byte outside A–Z, a–z, 0–9 and "-._~/" as %XX: a path as the path
// of a URL, whatever bytes it holds.
std::string PercentEncoded(std::string_view bytes);

}  // namespace tilvendo
