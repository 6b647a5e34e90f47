#include "engine/vorlagenzuschnitt.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/mosaikergebnis.h"
#include "engine/vorbereitung.h"

namespace tilvendo {
namespace {

Bitmap Ausschneiden(const Bitmap& quelle, Rect teil) {
  Bitmap ergebnis = Bitmap::Uninitialized(teil.width(), teil.height(), quelle.format());
  const size_t pixel = static_cast<size_t>(BytesPerPixel(quelle.format()));
  const size_t zeile = pixel * static_cast<size_t>(teil.width());
  for (int32_t y = 0; y < teil.height(); ++y) {
    std::memcpy(ergebnis.row(y), quelle.row(teil.top + y) + pixel * static_cast<size_t>(teil.left),
                zeile);
  }
  return ergebnis;
}

}  // namespace

void VorlageZuschneiden(Auftrag& auftrag, Rect ausschnitt) {
  Vorlage& v = auftrag.vorlage;
  const Size bild = GanzesBild(v);
  ausschnitt =
      Rect{std::max(ausschnitt.left, 0), std::max(ausschnitt.top, 0),
           std::min(ausschnitt.right, bild.width), std::min(ausschnitt.bottom, bild.height)};
  const bool ganz = ausschnitt.empty() || ausschnitt == Rect{0, 0, bild.width, bild.height};
  if (ganz) {
    if (!auftrag.VorlageGanz.empty()) {
      VorlageBildErsetzen(auftrag, std::move(auftrag.VorlageGanz));
      auftrag.VorlageGanz = Bitmap();
    }
    v.Ausschnitt = Rect{};
  } else if (ausschnitt != v.Ausschnitt || auftrag.VorlageGanz.empty()) {
    if (auftrag.VorlageGanz.empty()) {
      // The picture read is kept whole; a large-format result that blends the template
      // it was matched against takes that one along (VorlageBildErsetzen), so it is
      // copied rather than moved then.
      const bool planNimmtSie = auftrag.Ergebnis && auftrag.Ergebnis->NimmtVorlage();
      auftrag.VorlageGanz =
          planNimmtSie ? auftrag.VorlageBild.Clone() : std::move(auftrag.VorlageBild);
    }
    VorlageBildErsetzen(auftrag, Ausschneiden(auftrag.VorlageGanz, ausschnitt));
    v.Ausschnitt = ausschnitt;
  }
  v.BildBreite = bild.width;
  v.BildHoehe = bild.height;
  v.VorlageBreite = auftrag.VorlageBild.width();
  v.VorlageHoehe = auftrag.VorlageBild.height();
}

const Bitmap& GelesenesBild(const Auftrag& auftrag) {
  return auftrag.VorlageGanz.empty() ? auftrag.VorlageBild : auftrag.VorlageGanz;
}

void ZielgroesseErneuern(Auftrag& auftrag) {
  Einstellungen& e = auftrag.einstellungen;
  Zielgroessenwerte werte;
  werte.ZoomX = e.ZoomX;
  werte.ZoomY = e.ZoomY;
  werte.dpi = e.Druckaufloesung;
  if (e.Papier.Gewaehlt() && e.Druckaufloesung > 0) {
    werte.druck = true;
    werte.festesSV = e.Papier.Nutzung != Papiernutzung::Strecken;
    werte.nutzung = e.Papier.Nutzung;
    werte.PapierBreite = e.Papier.Breite;
    werte.PapierHoehe = e.Papier.Hoehe;
    ZielgroesseBerechnen(werte, Zielaenderung::Papier, auftrag.vorlage, e);
    VorlageZuschneiden(auftrag, werte.Ausschnitt);
    return;
  }
  // The zooms as they are: held equal when they were, else each for its own side.
  werte.festesSV = e.ZoomX == e.ZoomY;
  VorlageZuschneiden(auftrag, Rect{});
  ZielgroesseBerechnen(werte, Zielaenderung::Zoom, auftrag.vorlage, e);
}

}  // namespace tilvendo
