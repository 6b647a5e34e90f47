#include "pictures/streifen_quelle.h"

#include <stdexcept>

namespace tilvendo {

BitmapStreifen::BitmapStreifen(const Bitmap& bitmap) : bitmap_(bitmap) {
  if (bitmap.format() != kPixelformat) {
    throw std::invalid_argument("BitmapStreifen: Bild nicht im Arbeitsformat");
  }
}

}  // namespace tilvendo
