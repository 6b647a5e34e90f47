#include "engine/kacheln_zeichnen.h"

#include <algorithm>

#include "pictures/bilder_laden.h"

namespace tilvendo {

std::optional<Angleich> AngleichFuer(const Auftrag& auftrag) {
  const Einstellungen& e = auftrag.einstellungen;
  if (e.verfahren.Farbangleich == 0 || auftrag.VorlageBild.empty() ||
      auftrag.VorlageBild.format() != PixelFormat::k32 || e.KachelnX == 0 || e.KachelnY == 0) {
    return std::nullopt;
  }
  return Angleich{auftrag.VorlageBild, std::min<int>(e.verfahren.Farbangleich, kMaxFarbangleich),
                  auftrag.analyse.Formanalyse, e.KachelnX, e.KachelnY};
}

Rect Zellrechteck(const Angleich& a, Zellort z) {
  const int64_t w = a.vorlage.width();
  const int64_t h = a.vorlage.height();
  return Rect{static_cast<int32_t>((z.x - 1) * w / a.kachelnX),
              static_cast<int32_t>((z.y - 1) * h / a.kachelnY),
              static_cast<int32_t>(z.x * w / a.kachelnX),
              static_cast<int32_t>(z.y * h / a.kachelnY)};
}

bool KachelLesen(const std::string& datei, const Lesen& lesen, Bitmap& t) {
  return LoadTilePicture(t, Rect{0, 0, t.width(), t.height()}, datei, lesen.arbeitspfad,
                         lesen.budget, lesen.art);
}

}  // namespace tilvendo
