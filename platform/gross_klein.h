// Comparing names the way a German user expects: without regard to letter case
// (umlauts included) and, for sorting, with accented letters beside their base letter.
#pragma once

#include <string>
#include <string_view>

namespace tilvendo {

// Lower-case form of UTF-8 text: ASCII letters and the Latin-1 letters À..Þ
// (Ä, Ö, Ü ...). Other bytes stay as they are, so invalid UTF-8 is kept intact.
std::string KleinGeschrieben(std::string_view text);

// Equal when letter case is ignored.
bool GleichOhneGrossKlein(std::string_view a, std::string_view b);

// Order of a sorted name list: letter case ignored, "ä" beside "a", "ß" as "ss";
// names equal under that order fall back to a plain byte comparison so that the
// order is total and stable.
bool VorOhneGrossKlein(std::string_view a, std::string_view b);

}  // namespace tilvendo
