// Drawing a picture that arrives row by row into a rectangle: the same stages and the same
// pixels as BildEinpassen of the whole picture, without ever holding the whole picture.
//
// The first stage of a staged reduction takes single rows and columns of the source (the
// stretch copy drops the others), so only those are kept while the rows go by. For a
// 12-megapixel photo drawn into the signature square that is a 400 × 300 picture instead
// of 36 MB that would have to be allocated, written and freed for every tile. A picture
// that is not reduced in stages is kept whole, but it is then at most about as large as
// the rectangle.
//
// The source is the picture as it stands upright (when the Leseart says so), cut to the
// rectangle's proportions (when it says so): the stored rows are mapped onto it, so a row
// of a picture lying on its side fills a column of the first stage. Plain reading gives
// exactly the pixels of BildEinpassen of the whole picture as stored.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "pictures/ausrichtung.h"
#include "pictures/leseart.h"
#include "pictures/zeilen_empfaenger.h"
#include "platform/bitmap.h"
#include "platform/memory_budget.h"
#include "platform/rect.h"

namespace tilvendo {

class ZeilenEinpassen final : public ZeilenEmpfaenger {
 public:
  // What the reader and this object hold is reserved from `budget` before the first
  // row, and kept until this object goes.
  ZeilenEinpassen(Rect rect, MemoryBudget& budget, Leseart art = {})
      : rect_(rect), budget_(budget), art_(art) {}

  // In the fast way, the least size that still holds the first stage of the whole
  // picture's reduction; else the whole size. The stages stay those of the whole picture,
  // their first taking its pixels from the smaller one at the same places.
  Size Mindestgroesse(Size gespeichert, Ausrichtung ausrichtung) override;
  // False when the memory needed exceeds the whole budget.
  bool Groesse(const Zeilenformat& format) override;
  bool BrauchtZeile(int32_t y) const override;
  void Zeile(int32_t y, const uint8_t* pixel) override;

  // After the last row: the remaining stages, then the copy into the rectangle of `ziel`.
  void Zeichnen(Bitmap& ziel) const;

 private:
  // The part of the upright picture that is drawn.
  Rect Ausschnitt(Size aufrecht) const;
  // The stored row y as a row (or, lying on its side, a column) of the upright picture.
  int32_t Linie(int32_t y) const { return Gespiegelt(y, linien_, spiegelnLinie_); }

  Rect rect_;
  MemoryBudget& budget_;
  Leseart art_;
  std::optional<Size> voll_;  // the full size as stored, when a reader may deliver less
  std::optional<MemoryBudget::Reservation> reservierung_;
  std::vector<Size> stufen_;      // the stages after the first
  std::vector<int32_t> spalten_;  // the upright column of each column of the first stage
  std::vector<int32_t> zeilen_;   // the upright row of each row of the first stage
  // Upright, the line a stored row fills: a row (rows of zeilen_) or, for a picture on
  // its side, a column (columns of spalten_); its length, and whether it runs backwards.
  bool vertauscht_ = false;
  int32_t linien_ = 0;
  bool spiegelnLinie_ = false;
  // For each pixel along a stored row that the first stage takes: its stored column.
  std::vector<int32_t> quellSpalten_;
  int bytesJePixel_ = 3;
  Bitmap ersteStufe_;
};

}  // namespace tilvendo
