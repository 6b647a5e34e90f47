// What tells one picture list from another: its number of lines and a checksum over
// them. A signature cache stores records by their line in the picture list, so it
// may only be read with the very list it was built against; the catalogue keeps this
// mark per level to check that.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilvendo {

struct Listenkennung {
  int64_t zeilen = 0;
  uint64_t pruefsumme = 0;
  friend bool operator==(const Listenkennung&, const Listenkennung&) = default;
};

// The mark of a list. The checksum (64-bit FNV-1a over every line and its end) notices
// a line removed, added, changed or moved; it is no protection against deliberate
// forgery, which the catalogue itself would allow anyway.
Listenkennung ListenkennungBilden(const std::vector<std::string>& zeilen);

// The same checksum over bytes, continued from `bisher` piece by piece; a signature
// cache's records are checked with it.
inline constexpr uint64_t kPruefsummeAnfang = 14695981039346656037ULL;
uint64_t PruefsummeFortsetzen(uint64_t bisher, std::string_view bytes);

// The checksum as 16 upper-case hexadecimal digits, and back; nothing for any other text.
std::string PruefsummeAlsText(uint64_t pruefsumme);
std::optional<uint64_t> PruefsummeLesen(std::string_view text);

}  // namespace tilvendo
