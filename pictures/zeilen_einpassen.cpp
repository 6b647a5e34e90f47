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

// One axis of the upright picture: its full length, the length delivered, the stored length
// those delivered pixels cover, and whether the axis runs against the stored one.
struct Achse {
  int32_t voll = 0;
  int32_t geliefert = 0;
  int32_t abgedeckt = 0;
  bool gespiegelt = false;
};

// The source index of each of `laenge` positions, moved by the start of the drawn part of
// a line of the full picture, then carried over to the delivered pixel whose share of the
// stored line holds that pixel's centre (the pixel itself when nothing was reduced). The
// shares are counted in stored order, where a reader's reduction lays them out.
std::vector<int32_t> Zuordnung(int32_t quelle, int32_t laenge, int32_t anfang, Achse achse) {
  std::vector<int32_t> zuordnung = StretchIndexMap(quelle, laenge);
  for (int32_t& index : zuordnung) {
    const int32_t gespeichert = Gespiegelt(index + anfang, achse.voll, achse.gespiegelt);
    const int64_t mitte = 2 * static_cast<int64_t>(gespeichert) + 1;
    const auto geliefert =
        static_cast<int32_t>(mitte * achse.geliefert / (2 * static_cast<int64_t>(achse.abgedeckt)));
    index = Gespiegelt(geliefert, achse.geliefert, achse.gespiegelt);
  }
  return zuordnung;
}

// The least length of the whole picture along one axis such that its drawn part of
// `teil` of `ganz` holds `stufe` pixels.
int32_t Noetig(int32_t stufe, int32_t ganz, int32_t teil) {
  const int64_t laenge = (static_cast<int64_t>(stufe) * ganz + teil - 1) / teil;
  return static_cast<int32_t>(std::min<int64_t>(laenge, ganz));
}

}  // namespace

Rect ZeilenEinpassen::Ausschnitt(Size aufrecht) const {
  if (!art_.zuschneiden) return Rect{0, 0, aufrecht.width, aufrecht.height};
  return MittigerZuschnitt(aufrecht, Size{rect_.width(), rect_.height()});
}

Size ZeilenEinpassen::Mindestgroesse(Size gespeichert, Ausrichtung ausrichtung) {
  if (!art_.schnell || rect_.empty()) return gespeichert;
  voll_ = gespeichert;
  const Ausrichtung wirksam = art_.aufrichten ? ausrichtung : Ausrichtung::Normal;
  const Size aufrecht = AufrechteGroesse(gespeichert, wirksam);
  const Rect teil = Ausschnitt(aufrecht);
  const std::vector<Size> stufen =
      EinpassStufen(teil.width(), teil.height(), rect_.width(), rect_.height());
  // Without stages every pixel may be drawn.
  if (stufen.empty()) return gespeichert;
  const Size mindestens{Noetig(stufen.front().width, aufrecht.width, teil.width()),
                        Noetig(stufen.front().height, aufrecht.height, teil.height())};
  if (AbbildungVon(wirksam).vertauscht) return Size{mindestens.height, mindestens.width};
  return mindestens;
}

bool ZeilenEinpassen::Groesse(const Zeilenformat& format) {
  bytesJePixel_ = format.bytesJePixel;
  const Ausrichtung wirksam = art_.aufrichten ? format.ausrichtung : Ausrichtung::Normal;
  const Abbildung abbildung = AbbildungVon(wirksam);
  const Size geliefert{format.breite, format.hoehe};
  const Size aufrecht = AufrechteGroesse(geliefert, wirksam);
  // The stages are planned on the full picture, also when a smaller one is delivered.
  const Size angekuendigt = voll_.value_or(geliefert);
  const Size voll = angekuendigt.width >= geliefert.width && angekuendigt.height >= geliefert.height
                        ? angekuendigt
                        : geliefert;
  const Size vollAufrecht = AufrechteGroesse(voll, wirksam);
  // A reader covering less than the whole picture would make no sense; take the whole.
  const Size abgedeckt = AufrechteGroesse(Size{std::max(format.abgedeckt.width, voll.width),
                                               std::max(format.abgedeckt.height, voll.height)},
                                          wirksam);
  const Rect teil = Ausschnitt(vollAufrecht);
  Size erste{0, 0};
  if (!rect_.empty()) {
    stufen_ = EinpassStufen(teil.width(), teil.height(), rect_.width(), rect_.height());
    if (stufen_.empty()) {
      // Drawn straight into the rectangle: every pixel may matter.
      erste = Size{teil.width(), teil.height()};
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
  spalten_ =
      Zuordnung(teil.width(), erste.width, teil.left,
                Achse{vollAufrecht.width, aufrecht.width, abgedeckt.width, abbildung.spiegelnU});
  zeilen_ =
      Zuordnung(teil.height(), erste.height, teil.top,
                Achse{vollAufrecht.height, aufrecht.height, abgedeckt.height, abbildung.spiegelnV});
  vertauscht_ = abbildung.vertauscht;
  // Along a stored row lie upright columns, or upright rows for a picture on its side.
  const std::vector<int32_t>& entlang = vertauscht_ ? zeilen_ : spalten_;
  const int32_t entlangLaenge = vertauscht_ ? aufrecht.height : aufrecht.width;
  const bool entlangGespiegelt = vertauscht_ ? abbildung.spiegelnV : abbildung.spiegelnU;
  quellSpalten_.clear();
  for (const int32_t index : entlang) {
    quellSpalten_.push_back(Gespiegelt(index, entlangLaenge, entlangGespiegelt));
  }
  linien_ = vertauscht_ ? aufrecht.width : aufrecht.height;
  spiegelnLinie_ = vertauscht_ ? abbildung.spiegelnU : abbildung.spiegelnV;
  ersteStufe_ = Bitmap::Uninitialized(erste.width, erste.height, kPixelformat);
  return true;
}

bool ZeilenEinpassen::BrauchtZeile(int32_t y) const {
  const std::vector<int32_t>& linien = vertauscht_ ? spalten_ : zeilen_;
  return std::binary_search(linien.begin(), linien.end(), Linie(y));
}

void ZeilenEinpassen::Zeile(int32_t y, const uint8_t* pixel) {
  const auto kopieren = [&](int32_t spalte, uint8_t* ziel) {
    const uint8_t* quelle = pixel + static_cast<size_t>(bytesJePixel_) * spalte;
    ziel[0] = quelle[0];
    ziel[1] = quelle[1];
    ziel[2] = quelle[2];
    ziel[3] = bytesJePixel_ == 4 ? quelle[3] : 0;
  };
  // The mapping never decreases, so the stage lines taken from one upright line lie
  // together; there are several when the stage enlarges along that axis.
  const std::vector<int32_t>& linien = vertauscht_ ? spalten_ : zeilen_;
  const auto [von, bis] = std::equal_range(linien.begin(), linien.end(), Linie(y));
  for (auto linie = von; linie != bis; ++linie) {
    const auto index = static_cast<int32_t>(linie - linien.begin());
    if (!vertauscht_) {
      uint8_t* ziel = ersteStufe_.row(index);
      for (const int32_t spalte : quellSpalten_) {
        kopieren(spalte, ziel);
        ziel += kBytesJePixel;
      }
    } else {
      // The stored row fills stage column `index`, top to bottom.
      const size_t versatz = kBytesJePixel * static_cast<size_t>(index);
      for (size_t zeile = 0; zeile < quellSpalten_.size(); ++zeile) {
        kopieren(quellSpalten_[zeile], ersteStufe_.row(static_cast<int32_t>(zeile)) + versatz);
      }
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
