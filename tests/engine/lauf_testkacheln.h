// Tile lists for the run's tests: signatures of one colour, and real picture files of
// that colour behind them so that matching and composing find something to load.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/auftrag.h"
#include "engine/kachelsignatur.h"
#include "platform/pixel.h"
#include "support/temp_folder.h"
#include "support/test_benutzer.h"

namespace tilvendo::testing {

// Every sub-cell and the average have colour `farbe`.
Kachelsignatur EinfarbigeSignatur(int32_t nummer, Farbe farbe, int formanalyse);

// Sub-cells of random colours below `grenze`; the average and brightness are those of the
// first sub-cell.
Kachelsignatur Zufallssignatur(std::mt19937& gen, int formanalyse, int32_t nummer = 0,
                               int grenze = 256);

// The least total of `kosten[cell][photo]` over every assignment of a photo to each cell
// that uses photo p between `unten[p]` and `oben[p]` times; the largest value when none does.
int64_t Durchprobiert(const std::vector<std::vector<int32_t>>& kosten,
                      const std::vector<int32_t>& unten, const std::vector<int32_t>& oben);

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

// A job to match: the folder of its tiles, the job, and a user that records what it is
// told.
struct Zuordnungsjob {
  TempFolder ordner;
  Auftrag auftrag;
  TestBenutzer benutzer;

  // The matching phase on `threads` threads; nothing when it was cancelled.
  std::optional<Verwendungsliste> Zuordnen(unsigned threads = 1);
  std::vector<int32_t> Bilder() const { return Bildnummern(*auftrag.einstellungen.Raster); }
};

}  // namespace tilvendo::testing
