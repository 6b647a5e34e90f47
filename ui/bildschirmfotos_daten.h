// The pictures the screenshots show: a template and a small collection of photos, made
// up on the spot so that the screenshots need nothing but the program.
#pragma once

#include <cstdint>
#include <string>

namespace tilvendo::ui {

// A landscape of 800 × 600 pixels (sky, sun, hills, a lake) as a BMP file.
void VorlageErzeugen(const std::string& datei);

// `anzahl` photos of 120 × 90 pixels with varied colours and shapes as JPEG files
// "foto-001.jpg" … in `ordner` (made when missing).
void FotosErzeugen(const std::string& ordner, int32_t anzahl);

}  // namespace tilvendo::ui
