// Where a photo's stored pixels go when it is shown upright, and which part of it is kept
// when it is cut to the proportions of a rectangle.
//
// Cameras store the pixels as the sensor saw them and note in the file how the picture
// must be turned or mirrored to stand upright; the values are those of the Exif and TIFF
// orientation tag. Coordinates: (x, y) in the stored picture, (u, v) in the upright one.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/rect.h"

namespace tilvendo {

// How the stored picture's first row and first column appear when upright.
enum class Ausrichtung : uint8_t {
  Normal = 1,               // first row on top, first column on the left
  WaagrechtGespiegelt = 2,  // first row on top, first column on the right
  Umgedreht = 3,            // first row at the bottom, first column on the right
  SenkrechtGespiegelt = 4,  // first row at the bottom, first column on the left
  Transponiert = 5,         // first row on the left, first column on top
  RechtsGedreht = 6,        // first row on the right, first column on top (turn clockwise)
  QuerTransponiert = 7,     // first row on the right, first column at the bottom
  LinksGedreht = 8,         // first row on the left, first column at the bottom
};

// The orientation a tag value stands for; none for values outside 1 … 8.
std::optional<Ausrichtung> AusrichtungVonWert(uint32_t wert);

// The mapping between stored and upright coordinates. Without `vertauscht`, u follows x
// and v follows y; with it, u follows y and v follows x (the picture lies on its side).
// `spiegelnU` / `spiegelnV` count u / v from the far end.
struct Abbildung {
  bool vertauscht = false;
  bool spiegelnU = false;
  bool spiegelnV = false;
};
Abbildung AbbildungVon(Ausrichtung ausrichtung);

// i counted from the other end of a line of n.
inline int32_t Gespiegelt(int32_t i, int32_t n, bool spiegeln) {
  return spiegeln ? n - 1 - i : i;
}

// The size of the upright picture.
Size AufrechteGroesse(Size gespeichert, Ausrichtung ausrichtung);

// The largest part of a picture of size `bild` with the proportions of `ziel`, centred;
// the whole picture when either size is empty. Rounded to the nearest pixel, never empty
// for a picture that is not.
Rect MittigerZuschnitt(Size bild, Size ziel);

}  // namespace tilvendo
