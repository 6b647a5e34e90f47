#include "engine/einstellungen.h"

namespace tilvendo {
namespace {

constexpr int64_t kProzent = 100;

}  // namespace

int32_t KachelBreite(const Einstellungen& einstellungen) {
  return static_cast<int32_t>(static_cast<int64_t>(einstellungen.ZellBreite) * einstellungen.ZoomX /
                              kProzent);
}

int32_t KachelHoehe(const Einstellungen& einstellungen) {
  return static_cast<int32_t>(static_cast<int64_t>(einstellungen.ZellHoehe) * einstellungen.ZoomY /
                              kProzent);
}

}  // namespace tilvendo
