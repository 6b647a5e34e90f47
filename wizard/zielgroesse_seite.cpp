#include "wizard/zielgroesse_seite.h"

#include <algorithm>

#include "engine/vorbereitung.h"
#include "platform/fit_to_box.h"
#include "platform/rounding.h"
#include "platform/translate.h"
#include "wizard/spin_wert.h"
#include "wizard/vorlage_seite.h"

namespace tilvendo::wizard {
namespace {

constexpr int32_t kMillimeterStellen = 1000;
// Paper is fitted into the preview box in tenths of a millimetre.
constexpr double kZehntel = 10.0;

// `wert` of `ganz` scaled to `ziel`, rounded.
int32_t Skaliert(int64_t wert, int64_t ziel, int64_t ganz) {
  return static_cast<int32_t>(DivideRoundHalfEven(wert * ziel, std::max<int64_t>(ganz, 1)));
}

Rect SkaliertesRechteck(Rect r, Size ziel, Size ganz) {
  return Rect{Skaliert(r.left, ziel.width, ganz.width), Skaliert(r.top, ziel.height, ganz.height),
              Skaliert(r.right, ziel.width, ganz.width),
              Skaliert(r.bottom, ziel.height, ganz.height)};
}

}  // namespace

Papiermass PapierAusNummer(int32_t nummer) {
  return Papiermass{nummer / kMillimeterStellen, nummer % kMillimeterStellen};
}

Size ZielVorschauGroesse(const Einstellungen& einstellungen) {
  return FitToBox(einstellungen.ZielBreite, einstellungen.ZielHoehe, kVorschauBreite,
                  kVorschauHoehe);
}

Zielvorschau ZielVorschau(const Einstellungen& e, const Vorlage& vorlage) {
  Zielvorschau vorschau;
  const Size bild = GanzesBild(vorlage);
  if (e.Papier.Gewaehlt() && !vorlage.Ausschnitt.empty()) {
    vorschau.box = FitToBox(bild.width, bild.height, kVorschauBreite, kVorschauHoehe);
    vorschau.bild = Rect{0, 0, vorschau.box.width, vorschau.box.height};
    vorschau.mosaik = SkaliertesRechteck(vorlage.Ausschnitt, vorschau.box, bild);
    return vorschau;
  }
  if (e.Papier.Gewaehlt() && e.Papier.Nutzung == Papiernutzung::GanzeVorlage &&
      e.Druckaufloesung > 0) {
    const auto zehntel = [](double mm) {
      return static_cast<int32_t>(RoundHalfEven(mm * kZehntel));
    };
    const int32_t pb = std::max(zehntel(e.Papier.Breite), 1);
    const int32_t ph = std::max(zehntel(e.Papier.Hoehe), 1);
    vorschau.box = FitToBox(pb, ph, kVorschauBreite, kVorschauHoehe);
    const int32_t mb = std::min(zehntel(DruckMillimeter(e.ZielBreite, e.Druckaufloesung)), pb);
    const int32_t mh = std::min(zehntel(DruckMillimeter(e.ZielHoehe, e.Druckaufloesung)), ph);
    const Size mosaik{Skaliert(mb, vorschau.box.width, pb), Skaliert(mh, vorschau.box.height, ph)};
    const int32_t links = (vorschau.box.width - mosaik.width) / 2;
    const int32_t oben = (vorschau.box.height - mosaik.height) / 2;
    vorschau.mosaik = Rect{links, oben, links + mosaik.width, oben + mosaik.height};
    vorschau.bild = vorschau.mosaik;
    vorschau.papier = true;
    return vorschau;
  }
  vorschau.box = ZielVorschauGroesse(e);
  vorschau.bild = vorschau.mosaik = Rect{0, 0, vorschau.box.width, vorschau.box.height};
  return vorschau;
}

Rect VorschauAusschnitt(const Vorlage& vorlage, Size vorschau) {
  const Rect ganz{0, 0, vorschau.width, vorschau.height};
  if (vorlage.Ausschnitt.empty()) return ganz;
  return SkaliertesRechteck(vorlage.Ausschnitt, vorschau, GanzesBild(vorlage));
}

std::string VorlagenkantenText(int32_t kante, int32_t bildKante) {
  if (kante == bildKante) return PixelText(kante);
  return Format(_("{} von {} Pixel"), kante, bildKante);
}

std::string ZoomHinweis(int64_t getippt, int32_t grenze, int32_t kante) {
  if (getippt <= grenze) return GrenzHinweis(getippt, 1, grenze, {}, _("mindestens {} %"));
  return Format(_("höchstens {} %, damit das Ergebnis höchstens {} Pixel breit und hoch wird"),
                grenze, kante);
}

std::string PixelHinweis(int64_t getippt, int32_t kante, bool grossformat) {
  return GrenzHinweis(getippt, 1, kante,
                      grossformat ? _("höchstens {} Pixel")
                                  : _("höchstens {} Pixel; mehr mit „Großformat für den Druck“"),
                      _("mindestens {} Pixel"));
}

bool ZielgroesseBereit(const Einstellungen& einstellungen) {
  return static_cast<int32_t>(einstellungen.ZoomX) * einstellungen.ZoomY != 0;
}

}  // namespace tilvendo::wizard
