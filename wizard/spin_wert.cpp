#include "wizard/spin_wert.h"

#include <cstdlib>
#include <limits>

#include "platform/translate.h"

namespace tilvendo::wizard {

int32_t CheckSpinValue(int32_t wert, bool allowBelow, int32_t low, int32_t replacement) {
  // The most negative value has no positive counterpart in 32 bits.
  int32_t v = wert == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max()
                                                          : std::abs(wert);
  if (v == low) v = replacement;
  if (!allowBelow && low > v) v = replacement;
  return v;
}

std::string GrenzHinweis(int64_t getippt, int32_t kleinster, int32_t groesster,
                         std::string_view hoechstens, std::string_view mindestens) {
  if (getippt > groesster) return Format(hoechstens, groesster);
  if (getippt < kleinster) return Format(mindestens, kleinster);
  return {};
}

}  // namespace tilvendo::wizard
