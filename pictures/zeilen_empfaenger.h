// Receiving a picture row by row while a reader decodes it, for readers of pictures
// that need only some of the pixels and must not hold the whole picture.
#pragma once

#include <cstdint>

#include "pictures/ausrichtung.h"
#include "platform/rect.h"

namespace tilvendo {

struct Zeilenformat {
  int32_t breite = 0;
  int32_t hoehe = 0;
  // 3: blue, green, red; 4: blue, green, red and a fourth byte handed on as the file
  // has it (32-bit bitmaps), as a whole read would keep it.
  int bytesJePixel = 3;
  // What the reader itself holds while it decodes (its row and coefficient buffers).
  // The reader never asks for more than this from the memory.
  uint64_t leserBytes = 0;
  // How the rows stand upright, as the file says; the receiver turns them if it wants to.
  Ausrichtung ausrichtung = Ausrichtung::Normal;
  // For rows delivered smaller than stored: the stored size they cover, each delivered
  // pixel an equal share of it. JPEG's reduction makes one pixel of each whole block, so
  // its rows cover the stored size rounded up to whole blocks (808 for 803 at one
  // eighth). 0 × 0: the stored size itself, as a scaler covers it.
  Size abgedeckt{0, 0};
};

class ZeilenEmpfaenger {
 public:
  virtual ~ZeilenEmpfaenger() = default;
  // Asked before Groesse by readers that can deliver the picture smaller while decoding
  // (JPEG's reduced decoding, WebP's scaling, HEIF thumbnails), with its full size as
  // stored: the least size, as stored, the rows must have; such a reader then delivers a
  // size between it and `gespeichert`, the same picture smaller. The whole size unless
  // the receiver wants less.
  virtual Size Mindestgroesse(Size gespeichert, Ausrichtung ausrichtung) {
    (void)ausrichtung;
    return gespeichert;
  }
  // The size the header declares, stored, as soon as the reader knows it and before it
  // checks it, so that a picture too large to be read can still be told by its size.
  virtual void Kopfgroesse(Size gespeichert) { (void)gespeichert; }
  // Once, after the header and before the first row. False stops the reading.
  virtual bool Groesse(const Zeilenformat& format) = 0;
  // Whether row y is wanted; a reader may skip the rows that are not.
  virtual bool BrauchtZeile(int32_t y) const = 0;
  // Row y (counted from the top) with `breite` pixels. Each row comes at most once, in
  // the file's order: top-down or, for most bitmaps, bottom-up.
  virtual void Zeile(int32_t y, const uint8_t* pixel) = 0;
};

}  // namespace tilvendo
