// The settings of one mosaic job and the small records beside them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/kachelsignatur.h"

namespace tilvendo {

// Picture number of a cell that shows no picture.
inline constexpr int32_t kKeinBild = -1;

// One cell of the grid: the signature of that part of the template and the number of
// the picture chosen for it.
struct Zelle {
  Kachelsignatur signatur;  // `Nummer` unused
  int32_t Bild = kKeinBild;
};

// The cell grid of a run, addressed from 1: cells (1..KachelnX, 1..KachelnY); row and
// column 0 exist but are never used.
class Zellenraster {
 public:
  Zellenraster(uint16_t kachelnX, uint16_t kachelnY)
      : spalten_(static_cast<size_t>(kachelnX) + 1),
        zeilen_(static_cast<size_t>(kachelnY) + 1),
        zellen_(spalten_ * zeilen_) {}

  Zelle& at(int x, int y) {
    return zellen_[static_cast<size_t>(x) * zeilen_ + static_cast<size_t>(y)];
  }
  const Zelle& at(int x, int y) const {
    return zellen_[static_cast<size_t>(x) * zeilen_ + static_cast<size_t>(y)];
  }
  int kachelnX() const { return static_cast<int>(spalten_) - 1; }
  int kachelnY() const { return static_cast<int>(zeilen_) - 1; }

 private:
  size_t spalten_;
  size_t zeilen_;
  std::vector<Zelle> zellen_;
};

// The job settings record. Field names, widths and start values are the program's own.
struct Einstellungen {
  uint16_t minAbstand = 2;           // cells between two equal pictures, 0..100
  int32_t Musterabstand = 2;         // random extra distance range of the pattern handling
  uint8_t Berechnungsart = 0;        // calculation method 0..3
  uint8_t Musterbildung = 0;         // pattern handling 0..3
  int32_t Helligkeitsfenster = -25;  // negative: not derived from the method yet
  int32_t Kandidatenzahl = -25;      // negative: not derived from the method yet
  int32_t ZielBreite = 0;            // result size in pixels
  int32_t ZielHoehe = 0;
  int32_t ZellBreite = 0;  // template pixels per cell
  int32_t ZellHoehe = 0;
  uint16_t KachelnX = 0;  // tiles across and down, 1..999
  uint16_t KachelnY = 0;
  uint16_t ZoomX = 150;  // result size in per cent of the template's
  uint16_t ZoomY = 150;
  std::unique_ptr<Zellenraster> Raster;  // the grid of the last run, or none
};

// Tile size in pixels of the result: template pixels per cell scaled by the zoom.
// Products in 64 bits, quotient truncated.
int32_t KachelBreite(const Einstellungen& einstellungen);
int32_t KachelHoehe(const Einstellungen& einstellungen);

// Shape-analysis levels and their overview texts.
inline constexpr uint8_t kFormanalyseStandard = 5;
inline constexpr uint16_t kAbtastgroesseStandard = 10;

struct Analyse {
  uint8_t Formanalyse = kFormanalyseStandard;       // sub-cells per side, 1..10
  uint16_t Abtastgroesse = kAbtastgroesseStandard;  // edge of the reduced tile picture
  uint8_t ErgebnisGespeichert = 1;                  // 1: no unsaved result
};

// The template picture's description.
struct Vorlage {
  std::string VorlageDatei;
  std::string VorlagePfad;
  int32_t VorlageBreite = 0;
  int32_t VorlageHoehe = 0;
};

// Start (0..3) and end (5..8) times of the four phases; 4 and 9 are never written.
inline constexpr int kPhasenZeitenAnzahl = 10;
// Durations of the four phases and, last, their sum ("Gesamtdauer").
inline constexpr int kLaufzeitenAnzahl = 5;

}  // namespace tilvendo
