// Signatures in a perceptual colour space. Sums of RGB differences weigh a step in blue
// as much as one in green, though the eye sees the green step far more, and they let a
// tile of another hue win over one of the right hue but a different lightness. CIELAB
// spaces its axes roughly as the eye does, so the matching compares tiles and cells there
// when the user asks for it.
//
// The measuring stays as it is (mean RGB per sub-cell); the means are then converted and
// stored in the three byte channels of the signature, L*, a* and b* with one common
// scale, so that the existing distance, the sum of absolute byte differences, becomes an
// L1 distance in CIELAB with equal weights: a close and cheap stand-in for the Euclidean
// colour difference.
#pragma once

#include <cstdint>

#include "engine/kachelsignatur.h"

namespace tilvendo {

// A colour in CIELAB (D65 white): L* 0..100, a* and b* roughly −110..100 for sRGB.
struct LabFarbe {
  double L = 0.0;
  double a = 0.0;
  double b = 0.0;
};

// The CIELAB value of an sRGB colour.
LabFarbe SrgbNachLab(uint8_t rot, uint8_t gruen, uint8_t blau);
// The same for a colour between the byte values, such as a mean (components 0..255).
LabFarbe SrgbMittelNachLab(double rot, double gruen, double blau);

// Byte units per CIELAB unit, the same for all three axes so that they weigh alike. The
// largest a* and b* magnitudes of any sRGB colour (b* of pure blue, −107.9) still fit
// around the middle value without clamping, and one byte step stays below one unit of
// colour difference.
inline constexpr double kLabSkala = 1.18;
// The byte that stands for a* = 0 and b* = 0.
inline constexpr int kLabMitte = 128;

// Converts every used sub-cell (formanalyse × formanalyse) of `signatur` from mean RGB to
// scaled CIELAB bytes: L*·s into `Rot`, 128 + a*·s into `Gruen`, 128 + b*·s into `Blau`.
// `Summe` becomes the byte sum again, the average colour the rounded mean of the
// converted sub-cells and `Helligkeit` its byte sum. Kept so, a cached signature stays
// self-consistent, and the difference of two brightnesses still bounds their distance
// from below (up to rounding), as it does for RGB, which the preselection relies on.
void InWahrnehmungsraum(Kachelsignatur& signatur, int formanalyse);

}  // namespace tilvendo
