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

int64_t BilderFuerVerwendungsgrenze(const Einstellungen& einstellungen) {
  const int64_t grenze = einstellungen.verfahren.MaxVerwendungen;
  if (grenze <= 0) return 0;
  const int64_t zellen = int64_t{einstellungen.KachelnX} * einstellungen.KachelnY;
  return (zellen + grenze - 1) / grenze;
}

std::string CacheVariante(const Verfahren& verfahren) {
  // Fixed order, one letter each, so that one way always gives one name.
  std::string variante;
  if (verfahren.Aufrichten) variante += 'a';
  if (verfahren.SchnellLesen) variante += 's';
  if (verfahren.Wahrnehmung) variante += 'w';
  if (verfahren.Zuschneiden) variante += 'z';
  return variante;
}

}  // namespace tilvendo
