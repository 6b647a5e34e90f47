// Laying the template over the mosaic with an adjustable strength.
//
// The blend value A (0..255) is the weight of the mosaic: A = 0 shows the template
// alone, A = 255 the mosaic alone. Every channel becomes M × A / 255 + T × (255 − A) / 255,
// rounded to the nearest integer, so both ends are exact copies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "pictures/streifen_quelle.h"
#include "pictures/vorlage_im_mosaik.h"
#include "platform/bitmap.h"

namespace tilvendo {

// The blend value that shows the mosaic alone.
inline constexpr uint8_t kNurMosaik = 255;

// The strength slider of the result page runs from −20 (mosaic alone) to 0 (template
// alone) and starts at −15.
inline constexpr int32_t kReglerMinimum = -20;
inline constexpr int32_t kReglerMaximum = 0;
inline constexpr int32_t kReglerStandard = -15;

// Slider position → blend value: (−P × 1275) div 100, so −20 → 255, −15 → 191, −1 → 12,
// 0 → 0. Positions outside the slider's range count as its nearest end.
uint8_t BlendwertAusRegler(int32_t position);

// The template's share shown to the user, in percent: 100 + 5 × P (−15 → 25).
int32_t VorlagenAnteil(int32_t position);

// One run of bytes: out[i] = round((m[i] × a + t[i] × (255 − a)) / 255). The three arrays
// must not overlap.
void BlendBytes(const uint8_t* t, const uint8_t* m, uint8_t* out, size_t count, uint8_t a);
// The same with the result written over m (t must not overlap it).
void BlendBytesInto(const uint8_t* t, uint8_t* m, size_t count, uint8_t a);

// `destination` (made a working-format picture of its current size) becomes the blend
// of `t` and `m`, which must both be working-format pictures of that size
// (std::invalid_argument otherwise).
void BlendBitmaps(const Bitmap& t, const Bitmap& m, Bitmap& destination, uint8_t a);

// Draws mosaic and template, each stretched with the staged resampler to the
// destination's current size (the template's aspect ratio is not kept), and blends them
// into the destination, whose old contents are replaced. The destination must be a
// picture of its own, neither the mosaic nor the template.
void BlendTemplateIntoMosaic(Bitmap& destination, const Bitmap& mosaik, const Bitmap& vorlage,
                             uint8_t a);

// The blend at the mosaic's own size, computed strip by strip for the writers: the
// same pixels BlendTemplateIntoMosaic gives for a destination of the mosaic's size,
// without ever holding a full-size copy (unless the template is so much larger than
// the mosaic that it has to be reduced in stages first).
class UeberblendeteStreifen : public StreifenQuelle {
 public:
  UeberblendeteStreifen(const Bitmap& mosaik, const Bitmap& vorlage, uint8_t a);
  int32_t Breite() const override { return mosaik_.width(); }
  int32_t Hoehe() const override { return mosaik_.height(); }
  Zeilen Streifen(int32_t erste, int32_t anzahl) override;

 private:
  Zeilen MosaikZeilen(int32_t erste, int32_t anzahl);
  Zeilen VorlagenZeilen(int32_t erste, int32_t anzahl);

  const Bitmap& mosaik_;
  uint8_t a_;
  std::optional<VorlageImMosaik> vorlage_;  // only when the template shows
  Bitmap mosaikStreifen_;
  Bitmap vorlageStreifen_;
  Bitmap ergebnis_;
};

}  // namespace tilvendo
