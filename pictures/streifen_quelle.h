// A picture handed out in strips of rows in the 32-bit working format.
//
// The writers take their pixels from here, so a picture that never exists in memory as
// a whole (the mosaic blended with its template at full size) can be encoded strip by
// strip, with only a few rows of extra memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>

#include "platform/bitmap.h"
#include "platform/translate.h"

namespace tilvendo {

// Rows handed out per strip: large enough that per-strip work is negligible, small
// enough that the buffers stay far below the size of the picture.
inline constexpr int32_t kStreifenZeilen = 64;

// `count` rows in the working format; row i lies at first + i × stride.
struct Zeilen {
  const uint8_t* first = nullptr;
  size_t stride = 0;
  int32_t count = 0;
  const uint8_t* row(int32_t i) const { return first + static_cast<size_t>(i) * stride; }
};

class StreifenQuelle {
 public:
  virtual ~StreifenQuelle() = default;
  virtual int32_t width() const = 0;
  virtual int32_t height() const = 0;
  // Rows first .. first + count − 1, counted from the top. The rows stay valid until the
  // next call. May raise SchreibenAbgebrochen.
  virtual Zeilen Streifen(int32_t first, int32_t count) = 0;
  // Called by a writer once every row is in its file, just before that file replaces the
  // old one: the last moment at which a stop still leaves the old file as it was. May
  // raise SchreibenAbgebrochen.
  virtual void VorDemErsetzen() {}
};

// Raised by a source whose user asked to stop: the writer gives up, and a file being
// written stays as it was before (nothing new appears). Not a failure, so not a
// WriteError.
class SchreibenAbgebrochen : public std::exception {
 public:
  const char* what() const noexcept override { return _("Das Schreiben wurde abgebrochen."); }
};

// The strips of a whole picture in the working format, handed out without copying.
class BitmapStreifen : public StreifenQuelle {
 public:
  // Throws std::invalid_argument for a picture not in the working format.
  explicit BitmapStreifen(const Bitmap& bitmap);
  int32_t width() const override { return bitmap_.width(); }
  int32_t height() const override { return bitmap_.height(); }
  Zeilen Streifen(int32_t first, int32_t count) override {
    return Zeilen{bitmap_.row(first), bitmap_.stride(), count};
  }

 private:
  const Bitmap& bitmap_;
};

}  // namespace tilvendo
