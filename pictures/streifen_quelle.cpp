#include "pictures/streifen_quelle.h"

#include <stdexcept>

namespace tilvendo {

BitmapStreifen::BitmapStreifen(const Bitmap& bild) : bild_(bild) {
  if (bild.format() != kPixelformat) {
    throw std::invalid_argument("BitmapStreifen: Bild nicht im Arbeitsformat");
  }
}

}  // namespace tilvendo
