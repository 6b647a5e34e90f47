#pragma once

#include <array>
#include <string_view>

namespace tilvendo {

// The picture files the program reads, compared without regard to letter case.
// The order matters: the album scan and the tile reading walk them in this order.
inline constexpr std::array<std::string_view, 3> kBildEndungen = {".bmp", ".jpg", ".jpeg"};

}  // namespace tilvendo
