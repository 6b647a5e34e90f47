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

std::string GrenzHinweis(int64_t getippt, int32_t kleinster, int32_t groesster,
                         std::string_view einheit, std::string_view grund) {
  const auto zahl = [einheit](int32_t wert) {
    return std::to_string(wert) + (einheit.empty() ? "" : " " + std::string(einheit));
  };
  if (getippt > groesster) return "höchstens " + zahl(groesster) + std::string(grund);
  if (getippt < kleinster) return "mindestens " + zahl(kleinster);
  return {};
}

}  // namespace tilvendo::wizard
