#include "pictures/zeilen_einpassen.h"

#include "pictures/bild_einpassen.h"
#include "platform/stretch_copy.h"

namespace tilvendo {

bool ZeilenEinpassen::Groesse(int32_t breite, int32_t hoehe) {
  stufen_ = EinpassStufen(breite, hoehe, rect_.width(), rect_.height());
  if (stufen_.empty()) {
    ganzesBild_ = true;
    return false;
  }
  const Size erste = stufen_.front();
  // The stretch copy's own mapping, so the pixels are those BildEinpassen would pick.
  spalten_ = StretchIndexMap(breite, erste.width);
  zeilen_ = StretchIndexMap(hoehe, erste.height);
  naechsteZeile_ = 0;
  ersteStufe_ = Bitmap::Uninitialized(erste.width, erste.height, kPixelformat);
  return true;
}

void ZeilenEinpassen::Zeile(int32_t y, const uint8_t* bgr) {
  // Rows arrive in order and the mapping never decreases; a row may be taken twice when
  // the stage enlarges along that axis.
  while (naechsteZeile_ < zeilen_.size() && zeilen_[naechsteZeile_] == y) {
    uint8_t* ziel = ersteStufe_.row(static_cast<int32_t>(naechsteZeile_));
    for (const int32_t spalte : spalten_) {
      const uint8_t* quelle = bgr + 3 * static_cast<size_t>(spalte);
      ziel[0] = quelle[0];
      ziel[1] = quelle[1];
      ziel[2] = quelle[2];
      ziel[3] = 0;
      ziel += 4;
    }
    ++naechsteZeile_;
  }
}

void ZeilenEinpassen::Zeichnen(Bitmap& ziel) const {
  // As BildEinpassen goes on from its first intermediate.
  Bitmap letzte;
  const Bitmap* von = &ersteStufe_;
  for (size_t i = 1; i < stufen_.size(); ++i) {
    Bitmap naechste = Bitmap::Uninitialized(stufen_[i].width, stufen_[i].height, kPixelformat);
    StretchCopy(*von, naechste, Rect{0, 0, stufen_[i].width, stufen_[i].height});
    letzte = std::move(naechste);
    von = &letzte;
  }
  StretchCopy(*von, ziel, rect_);
}

}  // namespace tilvendo
