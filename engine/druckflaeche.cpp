#include "engine/druckflaeche.h"

#include "platform/rounding.h"

namespace tilvendo {
namespace {

// Tenths of a millimetre per inch, and tenths in one.
constexpr int64_t kZehntelmmProZoll = 254;
constexpr int64_t kZehntel = 10;

// Pixels printed at `dpi`, in tenths of a millimetre (halves to even).
int64_t Zehntelmillimeter(int64_t pixel, int32_t dpi) {
  return DivideRoundHalfEven(pixel * kZehntelmmProZoll, dpi);
}

// Tenths of a millimetre as centimetres to the millimetre, with the decimal comma and
// none for whole centimetres: 6250 → "62,5", 10000 → "100", 375 → "3,8" (halves to even).
std::string Zentimetertext(int64_t zehntelmm) {
  const int64_t mm = DivideRoundHalfEven(zehntelmm, kZehntel);
  std::string text = std::to_string(mm / kZehntel);
  if (mm % kZehntel != 0) text += ',' + std::to_string(mm % kZehntel);
  return text;
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
  std::string text = "Die Vorlage wird auf die Form des Papiers zugeschnitten: " +
                     std::to_string(ausschnitt.width()) + " × " +
                     std::to_string(ausschnitt.height()) + " von " + std::to_string(bild.width) +
                     " × " + std::to_string(bild.height) + " Pixel, ";
  const std::string erste = seiten ? "links" : "oben";
  const std::string zweite = seiten ? "rechts" : "unten";
  if (vorn == hinten) {
    text += erste + " und " + zweite + " je " + std::to_string(vorn);
  } else {
    text += erste + " " + std::to_string(vorn) + " und " + zweite + " " + std::to_string(hinten);
  }
  return text + " Pixel weg.";
}

std::string DruckflaechenText(int32_t breite, int32_t hoehe, int32_t dpi, double papierBreite,
                              double papierHoehe) {
  if (dpi <= 0 || !(papierBreite > 0.0) || !(papierHoehe > 0.0)) return {};
  // Tenths of a millimetre, so that the text is exact to the millimetre it promises.
  const int64_t b = Zehntelmillimeter(breite, dpi);
  const int64_t h = Zehntelmillimeter(hoehe, dpi);
  const int64_t pb = RoundHalfEven(papierBreite * kZehntel);
  const int64_t ph = RoundHalfEven(papierHoehe * kZehntel);
  const std::string druck = "Druckgröße " + Zentimetertext(b) + " × " + Zentimetertext(h) + " cm";
  const int64_t randX = (pb - b) / 2;
  const int64_t randY = (ph - h) / 2;
  if (randX < kZehntel && randY < kZehntel) return druck + ", das ganze Papier";
  std::string text =
      druck + " auf " + Zentimetertext(pb) + " × " + Zentimetertext(ph) + " cm: Rand ";
  if (randX >= kZehntel && randY >= kZehntel) {
    return text + "links und rechts je " + Zentimetertext(randX) + " cm, oben und unten je " +
           Zentimetertext(randY) + " cm";
  }
  if (randX >= kZehntel) return text + "links und rechts je " + Zentimetertext(randX) + " cm";
  return text + "oben und unten je " + Zentimetertext(randY) + " cm";
}

}  // namespace tilvendo
