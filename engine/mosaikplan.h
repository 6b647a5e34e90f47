// The plan of a finished mosaic: which photo stands in which cell, and everything that
// drawing the photos into their cells needs (the grid, the tile size, the way the photos
// are read, the colour adjustment and the print resolution the mosaic was made for).
//
// Every mosaic is composed from its plan, band by band (engine/mosaik_baender.h). The
// plan is taken from the job when the run composes and never follows the job's settings
// afterwards: what the user sets up for the next mosaic, or a next run that does not
// complete, must not change the picture a later save of this one writes. Only the
// template blended in is the one of the moment of saving.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/distanz.h"
#include "engine/druckflaeche.h"
#include "engine/einstellungen.h"
#include "engine/verwendungsliste.h"
#include "platform/bitmap.h"
#include "platform/rect.h"

namespace tilvendo {

// A cell whose placed photo could not be read when the mosaic was composed, and the entry
// of `Verwendung()` drawn there instead.
struct Ersetzung {
  Zellort zelle;
  int32_t eintrag = kKeinBild;
  friend bool operator==(const Ersetzung&, const Ersetzung&) = default;
};

class Mosaikplan {
 public:
  // The placements `verwendung` of a run, with the grid, the tile size, the way of
  // reading, the colour adjustment (with the shape analysis it measures by) and the
  // print resolution of the job as they are now. Cells outside the grid are ignored.
  Mosaikplan(const Einstellungen& einstellungen, const Analyse& analyse,
             Verwendungsliste verwendung);

  int32_t KachelnX() const { return kachelnX_; }
  int32_t KachelnY() const { return kachelnY_; }
  // Pixels of one tile; a side of 0 leaves the mosaic without area.
  Size Kachel() const { return kachel_; }
  // Pixels of the whole mosaic: the grid of tiles.
  Size Mosaik() const { return mosaik_; }

  // The entry of `Verwendung()` shown in cell (x, y), counted from 1; kKeinBild for a
  // cell the matching left empty and for one outside the grid.
  int32_t FotoIn(int32_t x, int32_t y) const;
  // Its file; nullptr where FotoIn is kKeinBild. A photo that cannot be read any more when
  // the mosaic is composed is replaced in its cells by the nearest readable one of the
  // plan (Mosaikbaender), which ErsetzungenEintragen then names here.
  const std::string* Foto(int32_t x, int32_t y) const;
  // The cell that shows pixel (x, y) of the mosaic, counted from 0; nothing outside it.
  std::optional<Zellort> ZelleAn(int32_t x, int32_t y) const;
  // The photos with their cells, one entry per file in the order of first placement.
  const Verwendungsliste& Verwendung() const { return verwendung_; }

  // The same plan with the photos of the cells `behalten` accepts only, the others left
  // empty: a part of the mosaic composed as the whole one is, reading no other photo.
  Mosaikplan NurZellen(const std::function<bool(const Zellort&)>& behalten) const;

  // The stored signatures the run matched by, packed: per entry of `Verwendung()` the
  // photo's, per cell row by row the template cell's. A composer ranks the readable photos
  // by them when a placed one cannot be read; without them such cells stay black.
  void SignaturenSetzen(std::vector<GepackteFelder> fotos, std::vector<GepackteFelder> zellen);
  bool HatSignaturen() const { return !fotoFelder_.empty(); }
  const GepackteFelder& FotoFelder(int32_t eintrag) const {
    return fotoFelder_[static_cast<size_t>(eintrag)];
  }
  const GepackteFelder& ZellFelder(const Zellort& z) const {
    return zellFelder_[static_cast<size_t>(z.y - 1) * static_cast<size_t>(kachelnX_) +
                       static_cast<size_t>(z.x - 1)];
  }
  // Records what composing put in place of unreadable photos, so that the placement list
  // and a later composing show what the mosaic shows. Not while a composer uses the plan.
  void ErsetzungenEintragen(const std::vector<Ersetzung>& ersetzungen);

  // How the photos are read and drawn (upright, fast, cut to shape, colour adjustment).
  const Verfahren& Zeichenweise() const { return verfahren_; }
  // The shape analysis level the colour adjustment splits tiles and cells by.
  int Formanalyse() const { return formanalyse_; }
  // Dots per inch written into a saved file, across and down, not necessarily whole; 0:
  // none. For a paper chosen they make the whole tiles print at the paper's size (or at
  // the whole template's inside it), not up to a tile smaller (DateiAufloesung).
  double Druckaufloesung() const { return druckaufloesung_.x; }
  double DruckaufloesungY() const { return druckaufloesung_.y; }
  // Made for print beyond the usual size bound (Einstellungen::Grossformat): such a mosaic
  // is never held whole.
  bool Grossformat() const { return grossformat_; }

  // The tiles' colours are moved toward the template the run matched against. The job's
  // template stands for it until it is replaced; then the old one is handed over here
  // (VorlageBildErsetzen), moved, not copied, and only when a plan composed later needs it.
  bool BrauchtVorlage() const { return verfahren_.Farbangleich > 0; }
  bool HatEigeneVorlage() const { return vorlage_.has_value(); }
  void VorlageBehalten(Bitmap vorlage) { vorlage_ = std::move(vorlage); }
  // The template to move the colours toward: the run's when it was handed over, else
  // `aktuelle`, the job's template, which then still is the run's.
  const Bitmap& Angleichvorlage(const Bitmap& aktuelle) const {
    return vorlage_ ? *vorlage_ : aktuelle;
  }

 private:
  Mosaikplan() = default;

  int32_t kachelnX_ = 0;
  int32_t kachelnY_ = 0;
  Size kachel_;
  Size mosaik_;
  Verwendungsliste verwendung_;
  // The entry of `verwendung_` of each cell, row by row: cell (x, y) at
  // (y − 1) × kachelnX + (x − 1); kKeinBild for none.
  std::vector<int32_t> zellen_;
  Verfahren verfahren_;
  int formanalyse_ = kFormanalyseStandard;
  Dateiaufloesung druckaufloesung_;
  bool grossformat_ = false;
  std::optional<Bitmap> vorlage_;
  std::vector<GepackteFelder> fotoFelder_;
  std::vector<GepackteFelder> zellFelder_;
};

}  // namespace tilvendo
