// Numbers with two decimals as the pages show them: "36,35" in German, "36.35" in English.
#pragma once

#include <cstdint>
#include <string>

namespace tilvendo::wizard {

// zaehler / nenner in hundredths, rounded half to even; 0 for a nenner of 0 or below.
int64_t Hundertstel(int64_t zaehler, int64_t nenner);

// A count of hundredths written with two decimals and the language's decimal separator:
// 3635 → "36,35".
std::string MitDezimalkomma(int64_t hundertstel);

}  // namespace tilvendo::wizard
