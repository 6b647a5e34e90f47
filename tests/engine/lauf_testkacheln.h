// Tile lists for the run's tests: signatures of one colour, and real picture files of
// that colour behind them so that matching and composing find something to load.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/auftrag.h"
#include "engine/kachelsignatur.h"
#include "platform/pixel.h"
#include "support/temp_folder.h"

namespace tilvendo::testing {

// Every sub-cell and the average have colour `farbe`.
Kachelsignatur EinfarbigeSignatur(int32_t nummer, Farbe farbe, int formanalyse);

// Writes a `breite` × `hoehe` BMP of colour `farbe` into `ordner`, appends it to
// `Dateiliste` and inserts its signature into the tile list. Returns the file name.
std::string KachelHinzufuegen(Auftrag& auftrag, const TempFolder& ordner, Farbe farbe,
                              int32_t breite = 8, int32_t hoehe = 6);

// The grid of a mosaic: `kachelnX` × `kachelnY` cells of `zellBreite` × `zellHoehe`
// template pixels drawn at the zooms given, and a result of exactly those tiles.
void RasterSetzen(Einstellungen& e, uint16_t kachelnX, uint16_t kachelnY, int32_t zellBreite,
                  int32_t zellHoehe, uint16_t zoomX = 100, uint16_t zoomY = 100);

// The picture number of every cell, in the order the run visits them (column by column).
std::vector<int32_t> Bildnummern(const Zellenraster& raster);

}  // namespace tilvendo::testing
