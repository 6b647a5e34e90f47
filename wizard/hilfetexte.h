// The help texts of the pages and the texts of the information page.
//
// Texts are kept under numeric keys: page × 1000 + part × 100 + kind × 10 + language.
// A page's text of one kind may be split into parts 1, 2, 3 …, read until one is
// missing; inside a part "^" separates lines ("^^" gives an empty line).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilvendo::wizard {

// Kinds of text.
inline constexpr int32_t kHilfeArt = 5;  // the help popup of a page
inline constexpr int32_t kInfoArt = 6;   // the texts of the information page
// The language every key is formed with: the German texts, which the catalogue of the
// user's language translates as they are read.
inline constexpr int32_t kSpracheDeutsch = 1;

// The key of one part; −1 (no text) when any factor is below 1.
int32_t HilfeSchluessel(int32_t art, int32_t seite, int32_t teil, int32_t sprache);

// The stored text of a key in the user's language, if there is one.
std::optional<std::string_view> HilfeRessource(int32_t schluessel);

// Splits at every "^": the text before each "^" is a line, a non-empty rest a last line.
std::vector<std::string> HilfeZeilenTeilen(std::string_view text);

// All lines of kind `art` for page `seite`, parts read in order until one is missing.
std::vector<std::string> HelpText(int32_t art, int32_t seite, int32_t sprache = kSpracheDeutsch);

}  // namespace tilvendo::wizard
