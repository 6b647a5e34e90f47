// The one rule by which every spin box of the wizard reads its value.
#pragma once

#include <cstdint>

namespace tilvendo::wizard {

// v := |wert|; v = low gives `replacement`; without `allowBelow` a v below `low` gives
// `replacement` too. The caller writes the result back into the box and goes on with it.
int32_t CheckSpinValue(int32_t wert, bool allowBelow, int32_t low, int32_t replacement);

}  // namespace tilvendo::wizard
