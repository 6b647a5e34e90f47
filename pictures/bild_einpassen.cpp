#include "pictures/bild_einpassen.h"

#include <cmath>
#include <cstdint>

#include "platform/rounding.h"
#include "platform/stretch_copy.h"

namespace tilvendo {
namespace {

// The most one stage reduces along an axis.
constexpr int64_t kStufenFaktor = 10;

// One axis of the next stage: a tenth of the previous length while more than a factor
// of ten remains, else the target length, which ends that axis's reduction.
int32_t NaechsteLaenge(int32_t previous, int32_t target, int64_t& factor) {
  if (factor > kStufenFaktor) {
    factor /= kStufenFaktor;
    return static_cast<int32_t>(previous / kStufenFaktor);
  }
  factor = 0;
  return target;
}

Size NaechsteStufe(Size previous, Size target, int64_t& fx, int64_t& fy) {
  const int32_t width = NaechsteLaenge(previous.width, target.width, fx);
  const int32_t height = NaechsteLaenge(previous.height, target.height, fy);
  return Size{width, height};
}

}  // namespace

std::vector<Size> EinpassStufen(int32_t sourceWidth, int32_t sourceHeight, int32_t rectWidth,
                                int32_t rectHeight) {
  std::vector<Size> stufen;
  if (rectWidth <= 0 || rectHeight <= 0) return stufen;

  int64_t fx = RoundHalfEven(std::fabs(static_cast<double>(sourceWidth) / rectWidth));
  int64_t fy = RoundHalfEven(std::fabs(static_cast<double>(sourceHeight) / rectHeight));
  if (fx <= 1 && fy <= 1) return stufen;

  const Size target{rectWidth, rectHeight};
  Size a = NaechsteStufe(Size{sourceWidth, sourceHeight}, target, fx, fy);
  stufen.push_back(a);
  while (fx > 1 || fy > 1) {
    const Size b = NaechsteStufe(a, target, fx, fy);
    stufen.push_back(b);
    if (fx < 1 && fy < 1) break;
    a = NaechsteStufe(b, target, fx, fy);
    stufen.push_back(a);
  }
  return stufen;
}

void BildEinpassen(Bitmap& destination, Rect rect, const Bitmap& source) {
  if (rect.empty() || source.empty()) return;

  const std::vector<Size> stufen =
      EinpassStufen(source.width(), source.height(), rect.width(), rect.height());

  // Only the latest intermediate is needed to make the next, so two are alive at most.
  Bitmap latest;
  const Bitmap* from = &source;
  for (const Size& stufe : stufen) {
    Bitmap next = Bitmap::Uninitialized(stufe.width, stufe.height, kPixelformat);
    StretchCopy(*from, next, Rect{0, 0, stufe.width, stufe.height});
    latest = std::move(next);
    from = &latest;
  }
  StretchCopy(*from, destination, rect);
}

}  // namespace tilvendo
