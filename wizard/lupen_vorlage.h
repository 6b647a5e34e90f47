// The template the magnifier lays over the photos it shows, as the saved file blends it:
// enlarged the same way (smoothly for a poster) and blended with the same arithmetic, so
// that what the user looks at closely is what a print will show. Only the pixels under
// the window are ever made, whatever the mosaic's size.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "pictures/vorlage_im_mosaik.h"
#include "platform/bitmap.h"
#include "platform/rect.h"
#include "wizard/lupe.h"

namespace tilvendo::wizard {

class Lupenvorlage {
 public:
  // Nothing to lay over.
  Lupenvorlage() = default;
  // The template `vorlage` of a mosaic of `mosaik` pixels; it must outlive this object
  // and stay unchanged.
  Lupenvorlage(const Bitmap& vorlage, Size mosaik);

  // Blends the template into `fenster`, a working-format picture of the window while it
  // shows the part `sichtbar` of the mosaic, with blend value `blendwert`, as the saved
  // file does: each window pixel with the template's pixel at the mosaic pixel under its
  // centre. Window pixels beyond the mosaic stay as they are. The template under the
  // window is kept while the window shows the same part (tiles arriving, the slider).
  void Ueberblenden(const Ausschnitt& sichtbar, uint8_t blendwert, Bitmap& fenster);

 private:
  const Bitmap* vorlage_ = nullptr;
  Size mosaik_;
  // Made on first use: the exact way holds a mosaic-sized copy when the template must be
  // reduced in stages, which a page never zoomed into should not pay for.
  std::unique_ptr<const VorlageImMosaik> skaliert_;
  // The template under the window for the part last shown, over the window pixels `bereich`.
  std::optional<Ausschnitt> gezeigt_;
  Size gezeigtIn_;
  Rect bereich_;
  Bitmap unterFenster_;
};

}  // namespace tilvendo::wizard
