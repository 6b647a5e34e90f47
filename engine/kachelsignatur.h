// The colour signature of a tile picture or of a template cell.
#pragma once

#include <array>
#include <cstdint>

namespace tilvendo {

// Most sub-cells per side a signature holds (the finest shape analysis).
inline constexpr int kMaxFormanalyse = 10;

// Highest brightness: the sum of three 8-bit colour components.
inline constexpr int kMaxHelligkeit = 765;

// One sub-cell: its average colour and the sum of the three components.
struct Feld {
  uint16_t Summe = 0;
  uint8_t Rot = 0;
  uint8_t Gruen = 0;
  uint8_t Blau = 0;
  friend bool operator==(const Feld&, const Feld&) = default;
};

struct Kachelsignatur {
  // In memory the picture's index in `Dateiliste`; in a cache file its position in the
  // album's picture list.
  int32_t Nummer = 0;
  // Indexed [column band i][row band j], both from 0; only i, j < Formanalyse are used.
  std::array<std::array<Feld, kMaxFormanalyse>, kMaxFormanalyse> Felder{};
  uint8_t Rot = 0;
  uint8_t Gruen = 0;
  uint8_t Blau = 0;
  uint16_t Helligkeit = 0;  // Rot + Gruen + Blau, 0..765
  friend bool operator==(const Kachelsignatur&, const Kachelsignatur&) = default;
};

}  // namespace tilvendo
