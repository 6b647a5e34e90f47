#include "wizard/druckformat.h"

#include <algorithm>

#include "engine/vorbereitung.h"
#include "platform/rounding.h"
#include "platform/sprache.h"
#include "platform/translate.h"
#include "wizard/kachelung_seite.h"
#include "wizard/spin_wert.h"

namespace tilvendo::wizard {
namespace {

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

// One direction of the tile rule: the chosen result size shared out among the tiles.
int64_t Kachelpixel(int32_t zielKante, int32_t kacheln) {
  const int64_t zahl = kacheln > 0 ? kacheln : kStartKacheln;
  return std::max<int64_t>(zielKante, 0) / zahl;
}

}  // namespace

Ausrichtung AusrichtungFuer(int32_t breite, int32_t hoehe) {
  return breite > hoehe ? Ausrichtung::Querformat : Ausrichtung::Hochformat;
}

Ausrichtung PapierAusrichtung(Papiermass papier, Ausrichtung vorlage) {
  if (papier.breite == papier.hoehe) return vorlage;
  return AusrichtungFuer(papier.breite, papier.hoehe);
}

std::string AusrichtungsText(Papiermass papier, Ausrichtung vorlage) {
  if (papier.breite == papier.hoehe) return _("quadratisch");
  const bool quer = AusrichtungFuer(papier.breite, papier.hoehe) == Ausrichtung::Querformat;
  const bool wieVorlage = (quer ? Ausrichtung::Querformat : Ausrichtung::Hochformat) == vorlage;
  if (quer) return wieVorlage ? _("quer, wie die Vorlage") : _("quer, anders als die Vorlage");
  return wieVorlage ? _("hoch, wie die Vorlage") : _("hoch, anders als die Vorlage");
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

Papiermass GanzePapiermasse(double breite, double hoehe) {
  const auto ganz = [](double mm) {
    return static_cast<int32_t>(std::clamp<int64_t>(RoundHalfEven(mm), 0, INT32_MAX));
  };
  return Papiermass{ganz(breite), ganz(hoehe)};
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

std::string PapierHinweis(int64_t getippt, int32_t kante, int32_t dpi) {
  // Up to 2 m the resolution sets the bound; beyond, the program's own largest paper.
  if (kante >= tilvendo::kMaxPapierkante || getippt <= kante) {
    return GrenzHinweis(getippt, 1, kante, _("höchstens {} mm"), _("mindestens {} mm"));
  }
  return Format(
      _("höchstens {} mm bei {} dpi, damit das Ergebnis höchstens {} Pixel breit und hoch wird"),
      kante, dpi, kMaxZielgroesseGross);
}

std::string DpiHinweis(int64_t getippt) {
  return GrenzHinweis(getippt, 1, kMaxDpi, _("höchstens {} dpi"), _("mindestens {} dpi"));
}

Kachelmass KachelImDruck(const Einstellungen& einstellungen, int32_t dpi) {
  return KachelImDruck(einstellungen, dpi, einstellungen.KachelnX, einstellungen.KachelnY);
}

Kachelmass KachelImDruck(const Einstellungen& einstellungen, int32_t dpi, int32_t kachelnX,
                         int32_t kachelnY) {
  if (dpi <= 0) return {};
  const int64_t breite = Kachelpixel(einstellungen.ZielBreite, kachelnX);
  const int64_t hoehe = Kachelpixel(einstellungen.ZielHoehe, kachelnY);
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
