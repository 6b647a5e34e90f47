// The stored texts behind the help keys (see hilfetexte.h).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tilvendo::wizard {

struct HilfeEintrag {
  int32_t schluessel;
  std::string_view text;
};

std::span<const HilfeEintrag> HilfeInhalt();

}  // namespace tilvendo::wizard
