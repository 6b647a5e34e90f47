#include "platform/fit_to_box.h"

#include "platform/rounding.h"

namespace tilvendo {

Size FitToBox(int32_t w, int32_t h, int32_t boxWidth, int32_t boxHeight) {
  // A degenerate picture or box has no ratio to keep; nothing fits.
  if (w <= 0 || h <= 0 || boxWidth <= 0 || boxHeight <= 0) return Size{0, 0};
  const double pictureRatio = static_cast<double>(w) / h;
  const double boxRatio = static_cast<double>(boxWidth) / boxHeight;
  if (boxRatio >= pictureRatio) {
    return Size{static_cast<int32_t>(RoundHalfEven(static_cast<double>(boxHeight) * w / h)),
                boxHeight};
  }
  return Size{boxWidth, static_cast<int32_t>(RoundHalfEven(static_cast<double>(boxWidth) * h / w))};
}

}  // namespace tilvendo
