#include "wizard/druckformat.h"

#include <algorithm>

#include "engine/vorbereitung.h"
#include "platform/rounding.h"
#include "platform/sprache.h"
#include "platform/translate.h"
#include "wizard/kachelung_seite.h"

namespace tilvendo::wizard {
namespace {

constexpr int64_t kProzent = 100;
// Tenths of a millimetre per inch, and per centimetre.
constexpr int64_t kZehntelmmProZoll = 254;
constexpr int64_t kZehntelmmProCm = 100;
constexpr int64_t kZehntel = 10;

// Pixels printed at `dpi`, in tenths of a millimetre (halves to even).
int64_t Zehntelmillimeter(int64_t pixel, int32_t dpi) {
  return DivideRoundHalfEven(pixel * kZehntelmmProZoll, dpi);
}

// One decimal with the decimal separator, and none when it is 0: 127 → "12,7", 130 → "13".
std::string Millimetertext(int64_t zehntel) {
  if (zehntel % kZehntel == 0) return std::to_string(zehntel / kZehntel);
  return Festkomma(zehntel, 1);
}

// One direction of the overview's rule: pixels of a tile of the result.
int64_t Kachelpixel(int32_t vorlagenKante, int32_t kacheln, uint16_t zoom) {
  const int64_t zahl = kacheln > 0 ? kacheln : kStartKacheln;
  return std::max<int64_t>(vorlagenKante, 0) / zahl * zoom / kProzent;
}

}  // namespace

Ausrichtung AusrichtungFuer(int32_t vorlagenBreite, int32_t vorlagenHoehe) {
  return vorlagenBreite > vorlagenHoehe ? Ausrichtung::Querformat : Ausrichtung::Hochformat;
}

Papiermass PapierFuer(const Druckformat& format, Ausrichtung ausrichtung) {
  if (ausrichtung == Ausrichtung::Querformat) return Papiermass{format.lang, format.kurz};
  return Papiermass{format.kurz, format.lang};
}

std::optional<size_t> DruckformatVon(Papiermass papier, Ausrichtung ausrichtung) {
  for (size_t i = 0; i < kDruckformate.size(); ++i) {
    if (PapierFuer(kDruckformate[i], ausrichtung) == papier) return i;
  }
  return std::nullopt;
}

int32_t GroesstePapierkante(int32_t dpi) {
  if (dpi <= 0) return tilvendo::kMaxPapierkante;
  // The longest edge whose pixels (Trunc(mm / 25.4 × dpi)) stay within the bound.
  int32_t kante = std::min<int32_t>(
      tilvendo::kMaxPapierkante,
      static_cast<int32_t>(int64_t{kMaxZielgroesseGross} * kZehntelmmProZoll / kZehntel / dpi));
  while (kante > 1 && DruckPixel(kante, dpi) > kMaxZielgroesseGross) --kante;
  return kante;
}

Kachelmass KachelImDruck(const Vorlage& vorlage, const Einstellungen& einstellungen, int32_t dpi) {
  return KachelImDruck(vorlage, einstellungen, dpi, einstellungen.KachelnX, einstellungen.KachelnY);
}

Kachelmass KachelImDruck(const Vorlage& vorlage, const Einstellungen& einstellungen, int32_t dpi,
                         int32_t kachelnX, int32_t kachelnY) {
  if (dpi <= 0) return {};
  const int64_t breite = Kachelpixel(vorlage.VorlageBreite, kachelnX, einstellungen.ZoomX);
  const int64_t hoehe = Kachelpixel(vorlage.VorlageHoehe, kachelnY, einstellungen.ZoomY);
  return Kachelmass{Zehntelmillimeter(breite, dpi), Zehntelmillimeter(hoehe, dpi)};
}

std::string KachelkantenText(Kachelmass kachel) {
  std::string text = _("Kachelkante im Druck: ") + Millimetertext(kachel.breite);
  if (kachel.hoehe != kachel.breite) text += " × " + Millimetertext(kachel.hoehe);
  return text + " mm";
}

std::string DruckgroessenText(int32_t breite, int32_t hoehe, int32_t dpi) {
  if (dpi <= 0) return {};
  const auto zentimeter = [dpi](int32_t pixel) {
    return std::to_string(
        DivideRoundHalfEven(int64_t{pixel} * kZehntelmmProZoll, int64_t{dpi} * kZehntelmmProCm));
  };
  return Format(_("{} × {} cm bei {} dpi"), zentimeter(breite), zentimeter(hoehe), dpi);
}

}  // namespace tilvendo::wizard
