#pragma once

#include <cstdint>

namespace tilvendo {

// The group of four picture counts of an album or of the chosen albums: total,
// portrait, landscape, square. Always added and copied as a whole.
struct Bildzahlen {
  int32_t gesamt = 0;
  int32_t hochkant = 0;
  int32_t querformat = 0;
  int32_t quadratisch = 0;

  Bildzahlen& operator+=(const Bildzahlen& other) {
    gesamt += other.gesamt;
    hochkant += other.hochkant;
    querformat += other.querformat;
    quadratisch += other.quadratisch;
    return *this;
  }
  Bildzahlen& operator-=(const Bildzahlen& other) {
    gesamt -= other.gesamt;
    hochkant -= other.hochkant;
    querformat -= other.querformat;
    quadratisch -= other.quadratisch;
    return *this;
  }
  friend bool operator==(const Bildzahlen&, const Bildzahlen&) = default;
};

}  // namespace tilvendo
