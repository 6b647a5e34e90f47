// Collecting a picture that arrives row by row into one bitmap, turned upright as its
// file says when asked to.
#pragma once

#include <cstdint>

#include "pictures/ausrichtung.h"
#include "pictures/zeilen_empfaenger.h"
#include "platform/bitmap.h"

namespace tilvendo {

class GanzesBild final : public ZeilenEmpfaenger {
 public:
  explicit GanzesBild(bool aufrichten) : aufrichten_(aufrichten) {}

  // Makes the 24-bit picture (black until the rows come); throws PictureTooLarge for
  // absurd sizes.
  bool Groesse(const Zeilenformat& format) override;
  bool BrauchtZeile(int32_t) const override { return true; }
  void Zeile(int32_t y, const uint8_t* pixel) override;

  // The picture, once every row has come.
  Bitmap& bild() { return bild_; }

 private:
  bool aufrichten_;
  Abbildung abbildung_;
  Size gespeichert_;
  Size aufrecht_;
  int bytesJePixel_ = 3;
  Bitmap bild_;
};

}  // namespace tilvendo
