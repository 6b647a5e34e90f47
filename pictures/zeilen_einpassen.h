// Drawing a picture that arrives row by row into a rectangle: the same stages and the same
// pixels as BildEinpassen of the whole picture, without ever holding the whole picture.
//
// The first stage of a staged reduction takes single rows and columns of the source (the
// stretch copy drops the others), so only those are kept while the rows go by. For a
// 12-megapixel photo drawn into the signature square that is a 400 × 300 picture instead
// of 36 MB that would have to be allocated, written and freed for every tile.
#pragma once

#include <cstdint>
#include <vector>

#include "pictures/jpeg_io.h"
#include "platform/bitmap.h"
#include "platform/rect.h"

namespace tilvendo {

class ZeilenEinpassen final : public JpegZeilenEmpfaenger {
 public:
  explicit ZeilenEinpassen(Rect rect) : rect_(rect) {}

  // False when the picture is not reduced in stages into the rectangle: then every pixel
  // may matter, and brauchtGanzesBild() tells the caller to read it whole instead.
  bool Groesse(int32_t breite, int32_t hoehe) override;
  void Zeile(int32_t y, const uint8_t* bgr) override;

  bool brauchtGanzesBild() const { return ganzesBild_; }

  // After the last row: the remaining stages, then the copy into the rectangle of `ziel`.
  void Zeichnen(Bitmap& ziel) const;

 private:
  Rect rect_;
  std::vector<Size> stufen_;
  std::vector<int32_t> spalten_;  // the source column of each column of the first stage
  std::vector<int32_t> zeilen_;   // the source row of each row of the first stage
  size_t naechsteZeile_ = 0;      // the first stage's next row to fill
  Bitmap ersteStufe_;
  bool ganzesBild_ = false;
};

}  // namespace tilvendo
