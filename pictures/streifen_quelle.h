// A picture handed out in strips of rows in the 32-bit working format.
//
// The writers take their pixels from here, so a picture that never exists in memory as
// a whole (a poster blended with its template at full size) can be encoded strip by
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

// `anzahl` rows in the working format; row i lies at erste + i × abstand.
struct Zeilen {
  const uint8_t* erste = nullptr;
  size_t abstand = 0;
  int32_t anzahl = 0;
  const uint8_t* Zeile(int32_t i) const { return erste + static_cast<size_t>(i) * abstand; }
};

class StreifenQuelle {
 public:
  virtual ~StreifenQuelle() = default;
  virtual int32_t Breite() const = 0;
  virtual int32_t Hoehe() const = 0;
  // Rows erste .. erste + anzahl − 1, counted from the top. The rows stay valid until the
  // next call. May raise SchreibenAbgebrochen.
  virtual Zeilen Streifen(int32_t erste, int32_t anzahl) = 0;
};

// Raised where the user asked to stop a save: the writing gives up, and a file being
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
  explicit BitmapStreifen(const Bitmap& bild);
  int32_t Breite() const override { return bild_.width(); }
  int32_t Hoehe() const override { return bild_.height(); }
  Zeilen Streifen(int32_t erste, int32_t anzahl) override {
    return Zeilen{bild_.row(erste), bild_.stride(), anzahl};
  }

 private:
  const Bitmap& bild_;
};

// Hands the whole picture of `quelle` to `empfaenger` from the top, a strip at a time:
// the first row's number and the rows (valid during the call).
template <typename Empfaenger>
void StreifenweiseLesen(StreifenQuelle& quelle, Empfaenger&& empfaenger) {
  const int32_t hoehe = quelle.Hoehe();
  for (int32_t erste = 0; erste < hoehe; erste += kStreifenZeilen) {
    const int32_t anzahl = hoehe - erste < kStreifenZeilen ? hoehe - erste : kStreifenZeilen;
    empfaenger(erste, quelle.Streifen(erste, anzahl));
  }
}

}  // namespace tilvendo
