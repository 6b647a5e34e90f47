#pragma once

#include <cmath>
#include <cstdint>

namespace tilvendo {

// Rounds to the nearest integer, halves to the even neighbour (2.5 → 2, 3.5 → 4),
// the rounding every computed size and value of the program uses.
inline int64_t RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  auto result = static_cast<int64_t>(floor);
  if (fraction > 0.5 || (fraction == 0.5 && (result % 2) != 0)) ++result;
  return result;
}

// total / divisor for a positive divisor, rounded like RoundHalfEven but exactly, in
// integers.
inline int64_t DivideRoundHalfEven(int64_t total, int64_t divisor) {
  int64_t quotient = total / divisor;
  const int64_t twiceRemainder = 2 * (total % divisor);
  if (twiceRemainder > divisor || (twiceRemainder == divisor && quotient % 2 != 0)) ++quotient;
  return quotient;
}

}  // namespace tilvendo
