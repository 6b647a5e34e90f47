#include "pictures/bildart.h"

namespace tilvendo {
namespace {

char KleinAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool GleichOhneGrossKlein(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (KleinAscii(a[i]) != KleinAscii(b[i])) return false;
  }
  return true;
}

}  // namespace

const Bildendung* BildendungVonName(std::string_view name) {
  const size_t punkt = name.rfind('.');
  const size_t schraegstrich = name.rfind('/');
  if (punkt == std::string_view::npos ||
      (schraegstrich != std::string_view::npos && punkt < schraegstrich)) {
    return nullptr;
  }
  const std::string_view endung = name.substr(punkt);
  for (const Bildendung& bekannt : kBildEndungen) {
    if (GleichOhneGrossKlein(endung, bekannt.endung)) return &bekannt;
  }
  return nullptr;
}

std::optional<Bildart> BildartVonName(std::string_view name) {
  const Bildendung* endung = BildendungVonName(name);
  if (endung == nullptr) return std::nullopt;
  return endung->art;
}

}  // namespace tilvendo
