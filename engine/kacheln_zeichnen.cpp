#include "engine/kacheln_zeichnen.h"

#include <algorithm>

#include "pictures/bilder_laden.h"

namespace tilvendo {

namespace {

std::optional<Angleich> AngleichAus(const Bitmap& vorlage, uint8_t farbangleich, int formanalyse,
                                    int kachelnX, int kachelnY) {
  if (farbangleich == 0 || vorlage.empty() || vorlage.format() != PixelFormat::k32 ||
      kachelnX == 0 || kachelnY == 0) {
    return std::nullopt;
  }
  return Angleich{vorlage, std::min<int>(farbangleich, kMaxFarbangleich), formanalyse, kachelnX,
                  kachelnY};
}

}  // namespace

std::optional<Angleich> AngleichFuer(const Mosaikplan& plan, const Bitmap& vorlage) {
  return AngleichAus(plan.Angleichvorlage(vorlage), plan.Zeichenweise().Farbangleich,
                     plan.Formanalyse(), plan.KachelnX(), plan.KachelnY());
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
