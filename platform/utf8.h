// Text that must be UTF-8 although file names and old files need not be.
#pragma once

#include <string>
#include <string_view>

namespace tilvendo {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsUtf8(std::string_view text);

// Every byte read as a Windows-1252 character (the bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D,
// undefined there, as U+FFFD), in UTF-8.
std::string FromWindows1252(std::string_view text);

// `text` in valid UTF-8: its valid sequences as they are, every other byte read as a
// Windows-1252 character, as the names of files written on older systems mostly were.
std::string AsUtf8(std::string_view text);

}  // namespace tilvendo
