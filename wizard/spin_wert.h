// The one rule by which every spin box of the wizard reads its value, and the note beside
// a box whose typed number was held within its bounds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tilvendo::wizard {

// v := |wert|; v = low gives `replacement`; without `allowBelow` a v below `low` gives
// `replacement` too. The caller writes the result back into the box and goes on with it.
int32_t CheckSpinValue(int32_t wert, bool allowBelow, int32_t low, int32_t replacement);

// The note for a typed number `getippt` that a box held within `kleinster`..`groesster`:
// `hoechstens` or `mindestens` (translated patterns, "höchstens {} Pixel") with the bound
// it went to; empty for a number within the bounds.
std::string GrenzHinweis(int64_t getippt, int32_t kleinster, int32_t groesster,
                         std::string_view hoechstens, std::string_view mindestens);

}  // namespace tilvendo::wizard
