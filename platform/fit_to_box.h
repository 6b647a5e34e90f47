#pragma once

#include <cstdint>

#include "platform/rect.h"

namespace tilvendo {

// The size of a w × h picture fitted into a W × H box, keeping its aspect ratio and
// touching the box on one side; a small picture is enlarged. Every preview and the
// on-screen result use it.
Size FitToBox(int32_t w, int32_t h, int32_t boxWidth, int32_t boxHeight);

}  // namespace tilvendo
