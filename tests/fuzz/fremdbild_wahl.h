// How the first byte of a fremdbild input chooses what is read: the picture type in its
// low two bits, the way of reading in the next three; the rest of the input is the file.
// The target and the program writing its seeds both take the layout from here.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tilvendo::fuzz {

inline constexpr uint8_t kWahlPng = 0;
inline constexpr uint8_t kWahlWebp = 1;
inline constexpr uint8_t kWahlTiff = 2;
inline constexpr uint8_t kWahlHeif = 3;
// The name the file is read under, by the type's number above.
inline constexpr std::array<std::string_view, 4> kWahlDateinamen = {"bild.png", "bild.webp",
                                                                    "bild.tif", "bild.heic"};

inline constexpr uint8_t kWahlAufrichten = 1u << 2;
inline constexpr uint8_t kWahlSchnell = 1u << 3;
inline constexpr uint8_t kWahlZuschneiden = 1u << 4;
inline constexpr uint8_t kWahlAlleArten = kWahlAufrichten | kWahlSchnell | kWahlZuschneiden;

}  // namespace tilvendo::fuzz
