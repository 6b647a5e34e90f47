// Collecting a picture that arrives row by row into one bitmap, turned upright as its
// file says when asked to.
#pragma once

#include <cstdint>
#include <optional>

#include "pictures/ausrichtung.h"
#include "pictures/zeilen_empfaenger.h"
#include "platform/bitmap.h"
#include "platform/memory_budget.h"

namespace tilvendo {

class GanzesBild final : public ZeilenEmpfaenger {
 public:
  // The picture and what the reader holds are reserved from `budget` before either is
  // set up, and kept until this object goes.
  GanzesBild(bool aufrichten, MemoryBudget& budget) : aufrichten_(aufrichten), budget_(budget) {}

  // Makes the 24-bit picture (black until the rows come); throws PictureTooLarge for
  // absurd sizes, false when picture and reader need more than the whole budget.
  bool Groesse(const Zeilenformat& format) override;
  bool BrauchtZeile(int32_t) const override { return true; }
  void Zeile(int32_t y, const uint8_t* pixel) override;

  // The picture, once every row has come.
  Bitmap& bild() { return bild_; }

 private:
  bool aufrichten_;
  MemoryBudget& budget_;
  std::optional<MemoryBudget::Reservation> reservierung_;
  Abbildung abbildung_;
  Size gespeichert_;
  Size aufrecht_;
  int bytesJePixel_ = 3;
  Bitmap bild_;
};

}  // namespace tilvendo
