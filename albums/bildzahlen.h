#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tilvendo {

// The group of four picture counts of an album or of the chosen albums: total,
// portrait, landscape, square. Always added and copied as a whole. Sums stop at the
// limits of 32 bits instead of wrapping: counts come from a catalogue that may have
// been edited by hand, and many large albums must not add up to a negative total.
struct Bildzahlen {
  int32_t gesamt = 0;
  int32_t hochkant = 0;
  int32_t querformat = 0;
  int32_t quadratisch = 0;

  Bildzahlen& operator+=(const Bildzahlen& other) {
    gesamt = Begrenzt(int64_t{gesamt} + other.gesamt);
    hochkant = Begrenzt(int64_t{hochkant} + other.hochkant);
    querformat = Begrenzt(int64_t{querformat} + other.querformat);
    quadratisch = Begrenzt(int64_t{quadratisch} + other.quadratisch);
    return *this;
  }
  Bildzahlen& operator-=(const Bildzahlen& other) {
    gesamt = Begrenzt(int64_t{gesamt} - other.gesamt);
    hochkant = Begrenzt(int64_t{hochkant} - other.hochkant);
    querformat = Begrenzt(int64_t{querformat} - other.querformat);
    quadratisch = Begrenzt(int64_t{quadratisch} - other.quadratisch);
    return *this;
  }
  friend bool operator==(const Bildzahlen&, const Bildzahlen&) = default;

 private:
  static int32_t Begrenzt(int64_t wert) {
    return static_cast<int32_t>(std::clamp<int64_t>(wert, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
  }
};

}  // namespace tilvendo
