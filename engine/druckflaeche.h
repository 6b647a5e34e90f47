// What a poster takes of its paper, said in words by both front ends: the part of the
// template cut away so that it fills the paper, and the printed size with its margins.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rect.h"

namespace tilvendo {

// What the cut leaves of the picture: "Die Vorlage wird auf die Form des Papiers
// zugeschnitten: 2286 × 1600 von 2560 × 1600 Pixel, links und rechts je 137 Pixel weg."
// Empty without a cut.
std::string ZuschnittText(Size bild, Rect ausschnitt);

// What `breite` × `hoehe` pixels printed at `dpi` take of a paper of `papierBreite` ×
// `papierHoehe` millimetres: "Druckgröße 100 × 70 cm, das ganze Papier" or "Druckgröße
// 100 × 62,5 cm auf 100 × 70 cm: Rand oben und unten je 3,8 cm" (to the millimetre).
// Empty without a resolution or a paper.
std::string DruckflaechenText(int32_t breite, int32_t hoehe, int32_t dpi, double papierBreite,
                              double papierHoehe);

// The resolution, across and down, that a poster's file states so that it prints at the
// size chosen: its `mosaik` pixels are whole tiles and so up to a tile short of the
// `ziel` pixels chosen at `dpi`; the file's resolution takes up the difference, and the
// print is the chosen size (the paper filled, or the whole template inside it) instead
// of a few millimetres to centimetres less. {0, 0} without a resolution or a size.
struct Dateiaufloesung {
  double x = 0.0;
  double y = 0.0;
  friend bool operator==(const Dateiaufloesung&, const Dateiaufloesung&) = default;
};
Dateiaufloesung DateiAufloesung(Size mosaik, Size ziel, int32_t dpi);

// The millimetres `pixel` take printed at `dpi` (any resolution a file may state).
double GedruckteMillimeter(int32_t pixel, double dpi);

}  // namespace tilvendo
