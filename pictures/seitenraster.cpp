#include "pictures/seitenraster.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/atomic_file.h"
#include "platform/gross_klein.h"
#include "platform/sprache.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

constexpr double kMmJeZoll = 25.4;
constexpr int32_t kBuchstaben = 26;
constexpr double kZehntel = 0.1;
// Millimetres closer than this to a whole pixel count as it: 297 mm at 254 dpi are 2970
// pixels, not 2969 because a product came out a hair below.
constexpr double kPixelToleranz = 1e-6;

int32_t PixelAuf(double mm, double dpi) {
  return static_cast<int32_t>(std::floor(mm / kMmJeZoll * dpi + kPixelToleranz));
}

int32_t Anzahl(int32_t poster, int32_t feld, int32_t schritt) {
  if (poster <= feld) return 1;
  return 1 + (poster - feld + schritt - 1) / schritt;
}

Seitenraster Legen(int32_t breite, int32_t hoehe, double dpiX, double dpiY, const Seitenwahl& wahl,
                   bool quer) {
  Seitenraster r;
  r.quer = quer;
  r.blattBreiteMm = quer ? wahl.blattHoeheMm : wahl.blattBreiteMm;
  r.blattHoeheMm = quer ? wahl.blattBreiteMm : wahl.blattHoeheMm;
  r.randMm = wahl.randMm;
  r.ueberlappungMm = wahl.ueberlappungMm;
  r.posterBreite = breite;
  r.posterHoehe = hoehe;
  r.dpiX = dpiX;
  r.dpiY = dpiY;
  const double druckBreite = r.blattBreiteMm - 2 * wahl.randMm;
  const double druckHoehe = r.blattHoeheMm - 2 * wahl.randMm;
  r.feldBreite = PixelAuf(druckBreite, dpiX);
  r.feldHoehe = PixelAuf(druckHoehe, dpiY);
  r.ueberlappungX = static_cast<int32_t>(std::lround(wahl.ueberlappungMm / kMmJeZoll * dpiX));
  r.ueberlappungY = static_cast<int32_t>(std::lround(wahl.ueberlappungMm / kMmJeZoll * dpiY));
  if (r.feldBreite < 1 || r.feldHoehe < 1) {
    throw WriteError(
        Format(_("Bei {} mm Rand bleibt auf einem Blatt von {} x {} mm keine druckbare Fläche."),
               MillimeterText(wahl.randMm), MillimeterText(wahl.blattBreiteMm),
               MillimeterText(wahl.blattHoeheMm)));
  }
  // At half the printable area a sheet's left and right strips would meet: no part of it
  // would be its own.
  if (2 * wahl.ueberlappungMm >= std::min(druckBreite, druckHoehe) ||
      2 * r.ueberlappungX >= r.feldBreite || 2 * r.ueberlappungY >= r.feldHoehe) {
    throw WriteError(
        Format(_("Die Überlappung von {} mm ist halb so groß wie die druckbare Fläche eines "
                 "Blattes ({} x {} mm) oder größer; sie muss kleiner sein."),
               MillimeterText(wahl.ueberlappungMm), MillimeterText(std::max(druckBreite, 0.0)),
               MillimeterText(std::max(druckHoehe, 0.0))));
  }
  r.spalten = Anzahl(breite, r.feldBreite, r.SchrittX());
  r.zeilen = Anzahl(hoehe, r.feldHoehe, r.SchrittY());
  return r;
}

}  // namespace

std::string MillimeterText(double mm) {
  char text[32];
  const bool ganz = std::abs(mm - std::round(mm)) < kZehntel / 2;
  std::snprintf(text, sizeof(text), ganz ? "%.0f" : "%.1f", mm);
  std::string ergebnis(text);
  const size_t punkt = ergebnis.find('.');
  if (punkt != std::string::npos) ergebnis.replace(punkt, 1, Dezimalzeichen());
  return ergebnis;
}

std::optional<Blattformat> BlattformatVon(std::string_view name) {
  for (const Blattformat& format : kBlattformate) {
    if (GleichOhneGrossKlein(name, format.name)) return format;
  }
  return std::nullopt;
}

Rect Seitenraster::Ausschnitt(int32_t zeile, int32_t spalte) const {
  const int32_t links = spalte * SchrittX();
  const int32_t oben = zeile * SchrittY();
  return Rect{links, oben, std::min(links + feldBreite, posterBreite),
              std::min(oben + feldHoehe, posterHoehe)};
}

Seitenraster SeitenrasterBerechnen(int32_t breite, int32_t hoehe, double dpiX, double dpiY,
                                   const Seitenwahl& wahl) {
  if (breite <= 0 || hoehe <= 0 || !(dpiX > 0) || !(dpiY > 0)) {
    throw WriteError(_("Für Seiten braucht das Mosaik eine Größe und eine Druckauflösung."));
  }
  if (!(wahl.blattBreiteMm > 0) || !(wahl.blattHoeheMm > 0)) {
    throw WriteError(_("Breite und Höhe eines Blattes müssen größer als 0 mm sein."));
  }
  if (wahl.blattBreiteMm > kGroessteBlattkanteMm || wahl.blattHoeheMm > kGroessteBlattkanteMm) {
    throw WriteError(Format(_("Ein Blatt von {} x {} mm ist länger als 2 m; so große Blätter "
                              "druckt kein Drucker. Bitte wählen Sie ein kleineres Papier."),
                            MillimeterText(wahl.blattBreiteMm), MillimeterText(wahl.blattHoeheMm)));
  }
  if (!(wahl.randMm > 0)) throw WriteError(_("Der Rand muss größer als 0 mm sein."));
  if (!(wahl.ueberlappungMm > 0)) {
    throw WriteError(_("Die Überlappung muss größer als 0 mm sein."));
  }
  if (wahl.lage != Blattlage::Automatisch) {
    return Legen(breite, hoehe, dpiX, dpiY, wahl, wahl.lage == Blattlage::Quer);
  }
  const Seitenraster hoch = Legen(breite, hoehe, dpiX, dpiY, wahl, false);
  const Seitenraster quer = Legen(breite, hoehe, dpiX, dpiY, wahl, true);
  return quer.Blaetter() < hoch.Blaetter() ? quer : hoch;
}

std::string Blattname(int32_t zeile, int32_t spalte) {
  std::string buchstaben;
  for (int32_t rest = zeile + 1; rest > 0; rest = (rest - 1) / kBuchstaben) {
    buchstaben.insert(buchstaben.begin(), static_cast<char>('A' + (rest - 1) % kBuchstaben));
  }
  return buchstaben + std::to_string(spalte + 1);
}

}  // namespace tilvendo
