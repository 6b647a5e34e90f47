// The settings of one mosaic job and the small records beside them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/kachelsignatur.h"
#include "platform/rect.h"

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

// Ways of reading and matching that the program offers beyond its original method.
// Each one off gives the mosaics and signature caches of earlier versions byte for
// byte; upright reading is on by default because photos lying on their side are a
// plain fault for today's phone pictures.
struct Verfahren {
  bool Aufrichten = true;       // measure and draw photos upright as their EXIF tag says
  bool SchnellLesen = false;    // decode JPEGs at the least reduction the tile allows
  bool Wahrnehmung = false;     // signatures and distances in a perceptual colour space
  bool Zuschneiden = false;     // cut a photo to the cell's proportions instead of squeezing
  uint8_t Farbangleich = 0;     // 0..100 %: each tile's colours moved toward its cell's
  int32_t MaxVerwendungen = 0;  // uses of one photo in the whole mosaic; 0: no limit
  bool JedesFoto = false;       // every chosen photo at least once in the mosaic
};

inline constexpr uint8_t kMaxFarbangleich = 100;
// Largest usage cap the front ends take; a cap at least as large as the cells is none.
inline constexpr int32_t kMaxVerwendungenGrenze = 999999;

// The letters that tell a signature cache measured one way from another: empty for the
// original way (not upright, exact, RGB, stretched), so caches of earlier versions stay
// valid for exactly that way. Colour correction and the usage limits do not change
// the signatures and have no letter.
std::string CacheVariante(const Verfahren& verfahren);

// How a poster meets its paper when the template has another shape than the paper.
enum class Papiernutzung : uint8_t {
  Fuellen,       // the template is cut to the paper's shape, centred; the mosaic fills it
  GanzeVorlage,  // the mosaic keeps the whole template's shape and fits inside the paper
  Strecken,      // the template is stretched to the paper (the aspect ratio not held)
};

// The paper a poster is made for. Its size is 0 × 0 while the result's size is not a
// paper's (chosen by zoom or pixels without large format).
struct Druckpapier {
  double Breite = 0.0;  // millimetres
  double Hoehe = 0.0;
  Papiernutzung Nutzung = Papiernutzung::GanzeVorlage;
  bool Gewaehlt() const { return Breite > 0.0 && Hoehe > 0.0; }
  friend bool operator==(const Druckpapier&, const Druckpapier&) = default;
};

// The job settings record. Field names, widths and start values are the program's own.
struct Einstellungen {
  uint16_t minAbstand = 2;           // cells between two equal pictures, 0..100
  int32_t Musterabstand = 2;         // random extra distance range of the pattern handling
  uint8_t Berechnungsart = 0;        // calculation method 0..3
  uint8_t Musterbildung = 0;         // pattern handling 0..3
  int32_t Helligkeitsfenster = -25;  // negative: not derived from the method yet
  int32_t Kandidatenzahl = -25;      // negative: not derived from the method yet
  int32_t ZielBreite = 0;            // result size in pixels, as chosen
  int32_t ZielHoehe = 0;
  int32_t ZellBreite = 0;  // template pixels per cell
  int32_t ZellHoehe = 0;
  uint16_t KachelnX = 0;  // tiles across and down, 1..999
  uint16_t KachelnY = 0;
  uint16_t ZoomX = 150;  // result size in per cent of the template's
  uint16_t ZoomY = 150;
  std::unique_ptr<Zellenraster> Raster;  // the grid of the last run, or none
  Verfahren verfahren;
  // Large format ("Großformat"): the result may be far larger than the size page's
  // usual bound, and is then composed and written band by band, never held whole.
  bool Grossformat = false;
  // The printer resolution the result is meant for, in dots per inch, written into the
  // saved file; 0 when none was chosen (the files then carry their formats' defaults).
  int32_t Druckaufloesung = 0;
  // The paper the result's size was taken from, and how the template meets it; kept so
  // that a template exchanged later gets its size by the same choice.
  Druckpapier Papier;
};

// The distinct pictures a usage cap needs at the least: every cell gets one, and each
// picture fills at most `MaxVerwendungen` of them. 0 without a cap.
int64_t BilderFuerVerwendungsgrenze(const Einstellungen& einstellungen);

// How often one photo may and must appear when `fotos` photos fill the grid.
struct Verwendungsgrenzen {
  int64_t unten = 0;  // 1 with "every photo at least once", else 0
  int64_t oben = 0;   // the cells when nothing limits it
};

// The cap, and with "every photo at least once" also ⌈cells ÷ fotos⌉ unless the cap
// allows more; the cells when neither limits the uses.
Verwendungsgrenzen VerwendungsgrenzenFuer(const Einstellungen& einstellungen, int64_t fotos);

// Whether the matching must keep to limits on how often a photo appears (a cap below
// the cells, or every photo at least once); without them it is the original matching.
bool MitVerwendungsgrenzen(const Einstellungen& einstellungen);

// Tile size in pixels of the result: the chosen result size shared out among the tiles,
// truncated (0 without tiles). The mosaic is the tiles' size times their count, so it
// lacks less than one tile of the chosen size and never passes through a rounded zoom.
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
  int32_t VorlageBreite = 0;  // the job's template: the picture read, or the part cut from it
  int32_t VorlageHoehe = 0;
  bool aufrecht = true;  // read upright as its orientation tag says
  // The picture as read (0 × 0: the same as the template), and the part of it that the
  // job's template is when a poster fills paper of another shape (empty: all of it).
  int32_t BildBreite = 0;
  int32_t BildHoehe = 0;
  Rect Ausschnitt;
};

// The four phases of a run.
enum class Phase { Einlesen, Vorbereiten, Berechnen, Zusammenstellen };
inline constexpr int kPhasen = 4;

// When a phase began and ended (days, as Jetzt() tells them); 0 for a phase that did not
// run.
struct Zeitspanne {
  double beginn = 0.0;
  double ende = 0.0;
};

// The times of the four phases of the last run, by phase.
struct Phasenzeiten {
  std::array<Zeitspanne, kPhasen> spannen{};
  Zeitspanne& operator[](Phase phase) { return spannen[static_cast<size_t>(phase)]; }
  const Zeitspanne& operator[](Phase phase) const { return spannen[static_cast<size_t>(phase)]; }
};

// Durations of the four phases and, last, their sum ("Gesamtdauer").
inline constexpr int kLaufzeitenAnzahl = kPhasen + 1;

}  // namespace tilvendo
