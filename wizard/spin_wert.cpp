#include "wizard/spin_wert.h"

#include <cstdlib>
#include <limits>

namespace tilvendo::wizard {

int32_t CheckSpinValue(int32_t wert, bool allowBelow, int32_t low, int32_t replacement) {
  // The most negative value has no positive counterpart in 32 bits.
  int32_t v = wert == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max()
                                                          : std::abs(wert);
  if (v == low) v = replacement;
  if (!allowBelow && low > v) v = replacement;
  return v;
}

}  // namespace tilvendo::wizard
