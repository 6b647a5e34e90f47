// Drawing a picture that arrives row by row into a rectangle: the same stages and the same
// pixels as BildEinpassen of the whole picture, without ever holding the whole picture.
//
// The first stage of a staged reduction takes single rows and columns of the source (the
// stretch copy drops the others), so only those are kept while the rows go by. For a
// 12-megapixel photo drawn into the signature square that is a 400 × 300 picture instead
// of 36 MB that would have to be allocated, written and freed for every tile. A picture
// that is not reduced in stages is kept whole, but it is then at most about as large as
// the rectangle.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "pictures/zeilen_empfaenger.h"
#include "platform/bitmap.h"
#include "platform/memory_budget.h"
#include "platform/rect.h"

namespace tilvendo {

class ZeilenEinpassen final : public ZeilenEmpfaenger {
 public:
  // What the reader and this object hold is reserved from `budget` before the first
  // row, and kept until this object goes.
  ZeilenEinpassen(Rect rect, MemoryBudget& budget) : rect_(rect), budget_(budget) {}

  // False when the memory needed exceeds the whole budget.
  bool Groesse(const Zeilenformat& format) override;
  bool BrauchtZeile(int32_t y) const override;
  void Zeile(int32_t y, const uint8_t* pixel) override;

  // After the last row: the remaining stages, then the copy into the rectangle of `ziel`.
  void Zeichnen(Bitmap& ziel) const;

 private:
  Rect rect_;
  MemoryBudget& budget_;
  std::optional<MemoryBudget::Reservation> reservierung_;
  std::vector<Size> stufen_;      // the stages after the first
  std::vector<int32_t> spalten_;  // the source column of each column of the first stage
  std::vector<int32_t> zeilen_;   // the source row of each row of the first stage
  int bytesJePixel_ = 3;
  Bitmap ersteStufe_;
};

}  // namespace tilvendo
