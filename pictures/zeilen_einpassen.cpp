#include "pictures/zeilen_einpassen.h"

#include <algorithm>
#include <cstring>

#include "pictures/bild_einpassen.h"
#include "platform/stretch_copy.h"

namespace tilvendo {
namespace {

uint64_t Bytes(Size groesse) {
  return static_cast<uint64_t>(groesse.width) * static_cast<uint64_t>(groesse.height) *
         kBytesJePixel;
}

}  // namespace

bool ZeilenEinpassen::Groesse(const Zeilenformat& format) {
  bytesJePixel_ = format.bytesJePixel;
  Size erste{0, 0};
  if (!rect_.empty()) {
    stufen_ = EinpassStufen(format.breite, format.hoehe, rect_.width(), rect_.height());
    if (stufen_.empty()) {
      // Drawn straight into the rectangle: every pixel may matter.
      erste = Size{format.breite, format.hoehe};
    } else {
      erste = stufen_.front();
      stufen_.erase(stufen_.begin());
    }
  }
  // The first stage, and the two later stages that are alive at once while drawing.
  uint64_t spaeter = 0;
  for (const Size& stufe : stufen_) spaeter = std::max(spaeter, Bytes(stufe));
  reservierung_ = budget_.Reserve(format.leserBytes + Bytes(erste) + 2 * spaeter);
  if (!reservierung_) return false;

  // The stretch copy's own mapping, so the pixels are those BildEinpassen would pick.
  spalten_ = StretchIndexMap(format.breite, erste.width);
  zeilen_ = StretchIndexMap(format.hoehe, erste.height);
  ersteStufe_ = Bitmap::Uninitialized(erste.width, erste.height, kPixelformat);
  return true;
}

bool ZeilenEinpassen::BrauchtZeile(int32_t y) const {
  return std::binary_search(zeilen_.begin(), zeilen_.end(), y);
}

void ZeilenEinpassen::Zeile(int32_t y, const uint8_t* pixel) {
  // The mapping never decreases, so the stage rows taken from source row y lie together;
  // there are several when the stage enlarges along that axis.
  const auto [von, bis] = std::equal_range(zeilen_.begin(), zeilen_.end(), y);
  for (auto zeile = von; zeile != bis; ++zeile) {
    uint8_t* ziel = ersteStufe_.row(static_cast<int32_t>(zeile - zeilen_.begin()));
    for (const int32_t spalte : spalten_) {
      const uint8_t* quelle = pixel + static_cast<size_t>(bytesJePixel_) * spalte;
      ziel[0] = quelle[0];
      ziel[1] = quelle[1];
      ziel[2] = quelle[2];
      ziel[3] = bytesJePixel_ == 4 ? quelle[3] : 0;
      ziel += kBytesJePixel;
    }
  }
}

void ZeilenEinpassen::Zeichnen(Bitmap& ziel) const {
  if (ersteStufe_.empty()) return;
  // As BildEinpassen goes on from its first intermediate.
  Bitmap letzte;
  const Bitmap* von = &ersteStufe_;
  for (const Size& stufe : stufen_) {
    Bitmap naechste = Bitmap::Uninitialized(stufe.width, stufe.height, kPixelformat);
    StretchCopy(*von, naechste, Rect{0, 0, stufe.width, stufe.height});
    letzte = std::move(naechste);
    von = &letzte;
  }
  StretchCopy(*von, ziel, rect_);
}

}  // namespace tilvendo
