// The result page's magnifier without Qt: its zoom steps from the whole mosaic up to the
// mosaic's full resolution, which part of the mosaic the window shows, zooming into the
// point under the cursor and dragging, which cells the shown part needs, and at what
// size their photos are worth decoding.
//
// Coordinates are floating-point pixels: "im Fenster" those of the view on the screen,
// "im Mosaik" those of the mosaic at full size.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/verwendungsliste.h"
#include "platform/rect.h"

namespace tilvendo::wizard {

struct Punkt {
  double x = 0.0;
  double y = 0.0;
  friend bool operator==(const Punkt&, const Punkt&) = default;
};

// A part of the mosaic, in its pixels.
struct Ausschnitt {
  double links = 0.0;
  double oben = 0.0;
  double breite = 0.0;
  double hoehe = 0.0;
};

// Each zoom step enlarges by √2, so two steps double the size.
inline constexpr double kZoomFaktor = 1.4142135623730951;
// One notch of a mouse wheel, in the units the wheel reports.
inline constexpr int kRadRaste = 120;

// The scales (window pixels per mosaic pixel) of the zoom steps: first the whole mosaic
// in the window (`einpassen`), then each √2 times the one before, last the full
// resolution (1). A step that would come within half a step of the full resolution is
// left out, so the last step is never a small one. A mosaic that is not larger than the
// window has the one step only.
std::vector<double> ZoomStufen(double einpassen);

class Lupe {
 public:
  // Nothing to show.
  Lupe() = default;
  // A mosaic of `mosaik` pixels in a window of `fenster` pixels, shown whole.
  Lupe(Size mosaik, Size fenster);

  Size Mosaik() const { return mosaik_; }
  Size Fenster() const { return fenster_; }
  // Window pixels per mosaic pixel.
  double Massstab() const { return stufen_[stufe_]; }
  double Einpassen() const { return stufen_.front(); }
  int Stufe() const { return static_cast<int>(stufe_); }
  int Stufen() const { return static_cast<int>(stufen_.size()); }
  // Whether the window shows more than the whole mosaic fitted in.
  bool Vergroessert() const { return stufe_ > 0; }

  // Goes `schritte` steps in (positive) or out (negative), as far as there are steps,
  // keeping the mosaic point under `imFenster` where it is. False when the step did not
  // change.
  bool Zoomen(int schritte, Punkt imFenster);
  // Moves the shown part with the hand that dragged by `weg` window pixels; the shown
  // part never leaves the mosaic.
  void Verschieben(Punkt weg);

  // The part of the mosaic the window shows.
  Ausschnitt Sichtbar() const;
  Punkt ImMosaik(Punkt imFenster) const;
  Punkt ImFenster(Punkt imMosaik) const;

 private:
  // Keeps the shown part within the mosaic (centred where the mosaic is smaller).
  void Begrenzen();

  Size mosaik_;
  Size fenster_;
  std::vector<double> stufen_{1.0};
  size_t stufe_ = 0;
  Punkt ursprung_;  // the mosaic point at the window's top-left corner
};

// Cells from column `ersteSpalte` to `letzteSpalte` and row `ersteZeile` to `letzteZeile`,
// counted from 1 as the grid does; empty when a last is before its first.
struct Zellbereich {
  int32_t ersteSpalte = 1;
  int32_t ersteZeile = 1;
  int32_t letzteSpalte = 0;
  int32_t letzteZeile = 0;
  bool leer() const { return letzteSpalte < ersteSpalte || letzteZeile < ersteZeile; }
  int64_t Anzahl() const {
    return leer() ? 0 : int64_t{letzteSpalte - ersteSpalte + 1} * (letzteZeile - ersteZeile + 1);
  }
  friend bool operator==(const Zellbereich&, const Zellbereich&) = default;
};

// The grid of the mosaic: tiles of `kachel` pixels, `kachelnX` × `kachelnY` of them.
struct Mosaikraster {
  Size kachel;
  int32_t kachelnX = 0;
  int32_t kachelnY = 0;
};

// The cells that the part `sichtbar` touches, however little.
Zellbereich SichtbareZellen(const Ausschnitt& sichtbar, const Mosaikraster& raster);

// The cell at a mosaic point; none outside the grid.
std::optional<Zellort> ZelleBei(Punkt imMosaik, const Mosaikraster& raster);

// The smallest tile size that photos are decoded at for the magnifier: below it, a tile
// shows too little of its photo to be worth reading, and the reduced picture stands in.
inline constexpr int32_t kMindestKachelImFenster = 24;

// Whether the window at `massstab` shows the photos themselves: it is enlarged beyond
// the reduced picture (`einpassen`) and a tile covers at least kMindestKachelImFenster
// window pixels. The photo's file name is offered for a cell from the same size on.
bool FotosZeigen(double massstab, double einpassen, Size kachel);

// The halving a photo is decoded at for `massstab`: the most halvings of the full tile
// that still leave it at least as large as it is shown (0 at full resolution and above).
// Tiles are kept at few sizes this way, and each drawn reduced, never enlarged.
int DetailStufe(double massstab);

}  // namespace tilvendo::wizard
