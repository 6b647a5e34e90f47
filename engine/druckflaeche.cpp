#include "engine/druckflaeche.h"

#include "platform/rounding.h"
#include "platform/sprache.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

// Tenths of a millimetre per inch, and tenths in one.
constexpr int64_t kZehntelmmProZoll = 254;
constexpr int64_t kZehntel = 10;

// Pixels printed at `dpi`, in tenths of a millimetre (halves to even).
int64_t Zehntelmillimeter(int64_t pixel, int32_t dpi) {
  return DivideRoundHalfEven(pixel * kZehntelmmProZoll, dpi);
}

// Tenths of a millimetre as centimetres to the millimetre, with the language's decimal
// separator and none for whole centimetres: 6250 → "62,5", 10000 → "100", 375 → "3,8"
// (halves to even).
std::string Zentimetertext(int64_t zehntelmm) {
  const int64_t mm = DivideRoundHalfEven(zehntelmm, kZehntel);
  if (mm % kZehntel == 0) return std::to_string(mm / kZehntel);
  return Festkomma(mm, 1);
}

}  // namespace

std::string ZuschnittText(Size bild, Rect ausschnitt) {
  if (ausschnitt.empty() ||
      (ausschnitt.width() == bild.width && ausschnitt.height() == bild.height)) {
    return {};
  }
  const bool seiten = ausschnitt.width() < bild.width;
  const int32_t vorn = seiten ? ausschnitt.left : ausschnitt.top;
  const int32_t hinten = seiten ? bild.width - ausschnitt.right : bild.height - ausschnitt.bottom;
  const char* muster = nullptr;
  if (seiten) {
    muster = vorn == hinten
                 ? _("Die Vorlage wird auf die Form des Papiers zugeschnitten: {0} × {1} "
                     "von {2} × {3} Pixel, links und rechts je {4} Pixel weg.")
                 : _("Die Vorlage wird auf die Form des Papiers zugeschnitten: {0} × {1} "
                     "von {2} × {3} Pixel, links {4} und rechts {5} Pixel weg.");
  } else {
    muster = vorn == hinten
                 ? _("Die Vorlage wird auf die Form des Papiers zugeschnitten: {0} × {1} "
                     "von {2} × {3} Pixel, oben und unten je {4} Pixel weg.")
                 : _("Die Vorlage wird auf die Form des Papiers zugeschnitten: {0} × {1} "
                     "von {2} × {3} Pixel, oben {4} und unten {5} Pixel weg.");
  }
  return Format(muster, ausschnitt.width(), ausschnitt.height(), bild.width, bild.height, vorn,
                hinten);
}

std::string DruckflaechenText(int32_t breite, int32_t hoehe, int32_t dpi, double papierBreite,
                              double papierHoehe) {
  if (dpi <= 0 || !(papierBreite > 0.0) || !(papierHoehe > 0.0)) return {};
  // Tenths of a millimetre, so that the text is exact to the millimetre it promises.
  const int64_t b = Zehntelmillimeter(breite, dpi);
  const int64_t h = Zehntelmillimeter(hoehe, dpi);
  const int64_t pb = RoundHalfEven(papierBreite * kZehntel);
  const int64_t ph = RoundHalfEven(papierHoehe * kZehntel);
  const int64_t randX = (pb - b) / 2;
  const int64_t randY = (ph - h) / 2;
  const bool links = randX >= kZehntel;
  const bool oben = randY >= kZehntel;
  if (!links && !oben) {
    return Format(_("Druckgröße {} × {} cm, das ganze Papier"), Zentimetertext(b),
                  Zentimetertext(h));
  }
  const char* muster =
      links && oben ? _("Druckgröße {0} × {1} cm auf {2} × {3} cm: Rand links und rechts je {4} "
                        "cm, oben und unten je {5} cm")
      : links ? _("Druckgröße {0} × {1} cm auf {2} × {3} cm: Rand links und rechts je {4} cm")
              : _("Druckgröße {0} × {1} cm auf {2} × {3} cm: Rand oben und unten je {5} cm");
  return Format(muster, Zentimetertext(b), Zentimetertext(h), Zentimetertext(pb),
                Zentimetertext(ph), Zentimetertext(randX), Zentimetertext(randY));
}

Dateiaufloesung DateiAufloesung(Size mosaik, Size ziel, int32_t dpi) {
  if (dpi <= 0 || mosaik.width <= 0 || mosaik.height <= 0 || ziel.width <= 0 || ziel.height <= 0) {
    return {};
  }
  return Dateiaufloesung{static_cast<double>(dpi) * mosaik.width / ziel.width,
                         static_cast<double>(dpi) * mosaik.height / ziel.height};
}

double GedruckteMillimeter(int32_t pixel, double dpi) {
  constexpr double kMillimeterProZoll = 25.4;
  return dpi > 0.0 ? pixel * kMillimeterProZoll / dpi : 0.0;
}

}  // namespace tilvendo
