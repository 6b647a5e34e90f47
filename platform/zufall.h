#pragma once

#include <cstdint>

namespace tilvendo {

// The seeded pseudo-random generator of the matching step: a 32-bit linear congruential
// generator. Small and fully determined by its seed, so a run with a fixed seed gives
// the same mosaic on every machine.
class Zufall {
 public:
  explicit Zufall(uint32_t seed = 0) : state_(seed) {}

  void seed(uint32_t seed) { state_ = seed; }
  uint32_t state() const { return state_; }

  // A number in 0 .. range-1; 0 for a range of 0 or less.
  int32_t next(int32_t range) {
    state_ = state_ * kMultiplier + 1;
    if (range <= 0) return 0;
    return static_cast<int32_t>((static_cast<uint64_t>(state_) * static_cast<uint32_t>(range)) >>
                                32);
  }

 private:
  static constexpr uint32_t kMultiplier = 134775813u;
  uint32_t state_;
};

}  // namespace tilvendo
