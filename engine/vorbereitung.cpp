#include "engine/vorbereitung.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/methodenparameter.h"

namespace tilvendo {
namespace {

constexpr int64_t kProzent = 100;
// Template pixels × zoom ÷ this = tiles of kMinKachelPixel result pixels.
constexpr int64_t kKachelTeiler = kProzent * kMinKachelPixel;

int32_t Begrenzt(int64_t wert, int64_t kleinster, int64_t groesster) {
  return static_cast<int32_t>(std::clamp(wert, kleinster, groesster));
}

// Sizes and zooms computed in 64 bits and held within 32 bits, so absurd templates
// cannot wrap around into small or negative sizes.
int32_t Int32(int64_t wert) {
  return Begrenzt(wert, INT32_MIN, INT32_MAX);
}

// Zoom of a size: size × 100 ÷ template size.
int32_t ZoomAus(int64_t groesse, int64_t vorlage) {
  return Int32(groesse * kProzent / vorlage);
}

// Size of a zoom: template size × zoom ÷ 100.
int32_t GroesseAus(int64_t zoom, int64_t vorlage) {
  return Int32(vorlage * zoom / kProzent);
}

int32_t Millimeter(int32_t pixel, int32_t dpi) {
  return static_cast<int32_t>(std::trunc(DruckMillimeter(pixel, dpi)));
}

int32_t Pixel(int32_t millimeter, int32_t dpi) {
  return DruckPixel(millimeter, dpi);
}

// A template always has a size once it is loaded; an empty one is treated as one pixel
// so that no step divides by zero.
int64_t Kante(int32_t vorlagenKante) {
  return std::max<int64_t>(vorlagenKante, 1);
}

uint16_t AlsZoom(int32_t zoom) {
  return static_cast<uint16_t>(std::clamp<int32_t>(zoom, 0, UINT16_MAX));
}

// One direction of the overview's tile check: when a tile would be narrower than one
// result pixel the count is reduced to tiles of kMinKachelPixel pixels. A count that
// would end at 0 (a tiny template at a low zoom) ends at 1, and so does a count larger
// than the template has pixels.
uint16_t KachelzahlPruefen(uint16_t kacheln, int64_t vorlagenKante, int64_t zoom,
                           int64_t zoomFuerNeueZahl) {
  int64_t zahl = std::max<int64_t>(kacheln, 1);
  if (vorlagenKante / zahl * zoom / kProzent == 0) {
    zahl = std::clamp<int64_t>(vorlagenKante * zoomFuerNeueZahl / kKachelTeiler, 1, kMaxKacheln);
    if (vorlagenKante / zahl == 0) zahl = 1;
  }
  return static_cast<uint16_t>(zahl);
}

}  // namespace

int32_t GroessteZielkante(const Einstellungen& einstellungen) {
  return einstellungen.Grossformat ? kMaxZielgroesseGross : kMaxZielgroesse;
}

Zoomgrenzen ZoomGrenzen(const Vorlage& vorlage, int32_t groessteKante) {
  const int64_t grenzeX = groessteKante * kProzent / Kante(vorlage.VorlageBreite);
  const int64_t grenzeY = groessteKante * kProzent / Kante(vorlage.VorlageHoehe);
  return Zoomgrenzen{Begrenzt(grenzeX, 1, kMaxZoom), Begrenzt(grenzeY, 1, kMaxZoom)};
}

int32_t DruckPixel(double millimeter, int32_t dpi) {
  const double pixel = std::trunc(millimeter / kMillimeterProZoll * dpi);
  // An absurd length must not wrap into a small size.
  if (std::isnan(pixel)) return 0;
  return static_cast<int32_t>(std::clamp<double>(pixel, INT32_MIN, INT32_MAX));
}

double DruckMillimeter(int32_t pixel, int32_t dpi) {
  if (dpi <= 0) return 0.0;
  return pixel * kMillimeterProZoll / dpi;
}

void ZielgroesseBerechnen(Zielgroessenwerte& werte, Zielaenderung aenderung, const Vorlage& vorlage,
                          Einstellungen& einstellungen) {
  const int64_t w = Kante(vorlage.VorlageBreite);
  const int64_t h = Kante(vorlage.VorlageHoehe);
  // The boxes are read as absolute values.
  int32_t sx = std::abs(werte.SizeX);
  int32_t sy = std::abs(werte.SizeY);
  int32_t zx = std::abs(werte.ZoomX);
  int32_t zy = std::abs(werte.ZoomY);
  const int32_t dpi = werte.dpi;
  int32_t pw = werte.PapierBreite;
  int32_t ph = werte.PapierHoehe;
  const bool zoomOderPixel = aenderung == Zielaenderung::Zoom || aenderung == Zielaenderung::Pixel;

  // Growth is told from the values stored by the previous computation.
  bool vergroessert = false;
  if (aenderung == Zielaenderung::Zoom) {
    vergroessert = zx > einstellungen.ZoomX || zy > einstellungen.ZoomY;
  } else if (aenderung == Zielaenderung::Pixel) {
    vergroessert = sx > einstellungen.ZielBreite || sy > einstellungen.ZielHoehe;
  }

  const Zoomgrenzen grenzen = ZoomGrenzen(vorlage, GroessteZielkante(einstellungen));
  auto angleichen = [&] {
    zx = ZoomAngleichen(vergroessert, zx, zy, grenzen.maxX, grenzen.maxY);
    zy = ZoomAngleichen(vergroessert, zx, zy, grenzen.maxX, grenzen.maxY);
  };

  if (!werte.festesSV) {
    if (aenderung == Zielaenderung::Zoom) {
      sx = GroesseAus(zx, w);
      sy = GroesseAus(zy, h);
    } else if (aenderung == Zielaenderung::Pixel) {
      zx = ZoomAus(sx, w);
      zy = ZoomAus(sy, h);
    }
  } else if (aenderung == Zielaenderung::Zoom || aenderung == Zielaenderung::Seitenverhaeltnis) {
    angleichen();
    sx = GroesseAus(zx, w);
    sy = GroesseAus(zy, h);
    if (static_cast<int64_t>(sx) * sy == 0) {
      sx = std::max(sx, 1);
      sy = std::max(sy, 1);
      zx = ZoomAus(sx, w);
      zy = ZoomAus(sy, h);
    }
  } else if (aenderung == Zielaenderung::Pixel) {
    zx = ZoomAus(sx, w);
    zy = ZoomAus(sy, h);
    const int32_t vorherX = zx;
    const int32_t vorherY = zy;
    angleichen();
    if (zx != vorherX || zy != vorherY) {
      // One pixel more than the truncated size, so the zoom read back from it is exact.
      sx = Int32(static_cast<int64_t>(GroesseAus(zx, w)) + 1);
      sy = Int32(static_cast<int64_t>(GroesseAus(zy, h)) + 1);
    }
  }

  if (zoomOderPixel || (werte.festesSV && aenderung == Zielaenderung::Seitenverhaeltnis)) {
    pw = Millimeter(sx, dpi);
    ph = Millimeter(sy, dpi);
  }
  if (aenderung == Zielaenderung::Aufloesung || aenderung == Zielaenderung::Papier) {
    sx = Pixel(pw, dpi);
    sy = Pixel(ph, dpi);
    zx = ZoomAus(sx, w);
    zy = ZoomAus(sy, h);
  }

  werte.SizeX = sx;
  werte.SizeY = sy;
  werte.ZoomX = zx;
  werte.ZoomY = zy;
  werte.PapierBreite = pw;
  werte.PapierHoehe = ph;
  einstellungen.ZielBreite = sx;
  einstellungen.ZielHoehe = sy;
  einstellungen.ZoomX = AlsZoom(zx);
  einstellungen.ZoomY = AlsZoom(zy);
}

Kachelgrenzen KachelGrenzen(const Vorlage& vorlage, const Einstellungen& einstellungen) {
  // Both directions use the horizontal zoom, like the overview's check below.
  const int64_t zoom = einstellungen.ZoomX;
  return Kachelgrenzen{
      Begrenzt(std::max<int64_t>(vorlage.VorlageBreite, 0) * zoom / kKachelTeiler, 1, kMaxKacheln),
      Begrenzt(std::max<int64_t>(vorlage.VorlageHoehe, 0) * zoom / kKachelTeiler, 1, kMaxKacheln)};
}

std::optional<Kachelung> KachelungMitZellen(int64_t zellen, const Einstellungen& einstellungen,
                                            const Vorlage& vorlage) {
  const Kachelgrenzen grenzen = KachelGrenzen(vorlage, einstellungen);
  // The proportions to keep; a job without a tiling yet is taken as square.
  const double ziel = std::log(static_cast<double>(std::max<int32_t>(einstellungen.KachelnX, 1)) /
                               std::max<int32_t>(einstellungen.KachelnY, 1));
  std::optional<Kachelung> beste;
  double besteAbweichung = 0.0;
  for (int32_t y = 1; y <= grenzen.maxY; ++y) {
    // The fewest columns that give enough cells with y rows.
    const int64_t x = std::max<int64_t>((zellen + y - 1) / y, 1);
    if (x > grenzen.maxX) continue;
    const double abweichung = std::abs(std::log(static_cast<double>(x) / y) - ziel);
    const int64_t anzahl = x * y;
    if (!beste || abweichung < besteAbweichung ||
        (abweichung == besteAbweichung && anzahl < int64_t{beste->x} * beste->y)) {
      beste = Kachelung{static_cast<int32_t>(x), y};
      besteAbweichung = abweichung;
    }
  }
  return beste;
}

void KachelnSetzen(Einstellungen& einstellungen, const Vorlage& vorlage, int32_t kachelnX,
                   int32_t kachelnY) {
  const Kachelgrenzen grenzen = KachelGrenzen(vorlage, einstellungen);
  einstellungen.KachelnX = static_cast<uint16_t>(std::clamp(kachelnX, 1, grenzen.maxX));
  einstellungen.KachelnY = static_cast<uint16_t>(std::clamp(kachelnY, 1, grenzen.maxY));
}

int32_t AbstandsGrenze(const Bildzahlen& anzahl, const Einstellungen& einstellungen) {
  const int32_t grenze = Min(Max(einstellungen.KachelnX, einstellungen.KachelnY) - 1,
                             MaxAbstand(anzahl, einstellungen));
  return std::max(grenze, 0);
}

void ErweiterteEinstellungenSetzen(Einstellungen& einstellungen, const Bildzahlen& anzahl,
                                   uint8_t berechnungsart, uint8_t musterbildung,
                                   int32_t minAbstand) {
  SetzeMusterbildung(einstellungen, musterbildung);
  // The bound depends on the pattern's distance range, so it is taken after the table.
  const int32_t grenze = Min(AbstandsGrenze(anzahl, einstellungen), kMaxMindestabstand);
  einstellungen.minAbstand = static_cast<uint16_t>(std::clamp(minAbstand, 0, grenze));
  // Last, so that the candidates cover the needed count of the distance now in force.
  SetzeBerechnungsart(einstellungen, anzahl.gesamt, berechnungsart);
}

void ZoomsBegrenzen(Einstellungen& e, const Vorlage& vorlage) {
  const Zoomgrenzen grenzen = ZoomGrenzen(vorlage, GroessteZielkante(e));
  const int64_t zx = e.ZoomX;
  const int64_t zy = e.ZoomY;
  if (zx <= grenzen.maxX && zy <= grenzen.maxY) return;
  if (zx < 1 || zy < 1) {
    e.ZoomX = static_cast<uint16_t>(std::min<int64_t>(zx, grenzen.maxX));
    e.ZoomY = static_cast<uint16_t>(std::min<int64_t>(zy, grenzen.maxY));
    return;
  }
  // Both shrink by the same factor, the one the tighter limit asks for.
  if (grenzen.maxX * zy <= grenzen.maxY * zx) {
    e.ZoomX = static_cast<uint16_t>(grenzen.maxX);
    e.ZoomY = static_cast<uint16_t>(std::max<int64_t>(zy * grenzen.maxX / zx, 1));
  } else {
    e.ZoomY = static_cast<uint16_t>(grenzen.maxY);
    e.ZoomX = static_cast<uint16_t>(std::max<int64_t>(zx * grenzen.maxY / zy, 1));
  }
}

void UebersichtAbgleichen(Einstellungen& einstellungen, const Vorlage& vorlage,
                          const Bildzahlen& anzahl) {
  const int64_t w = std::max<int64_t>(vorlage.VorlageBreite, 0);
  const int64_t h = std::max<int64_t>(vorlage.VorlageHoehe, 0);
  Einstellungen& e = einstellungen;
  // A template exchanged from the overview keeps the zoom chosen for the old one; the
  // result must still stay within the largest size.
  ZoomsBegrenzen(e, vorlage);

  // The reduced count down uses the horizontal zoom, as the tiling page's bound does.
  e.KachelnX = KachelzahlPruefen(e.KachelnX, w, e.ZoomX, e.ZoomX);
  e.KachelnY = KachelzahlPruefen(e.KachelnY, h, e.ZoomY, e.ZoomX);
  // A zoom lowered after the tiling was chosen must not leave tiles narrower than the
  // tiling page and the command line allow.
  const Kachelgrenzen grenzen = KachelGrenzen(vorlage, e);
  e.KachelnX = static_cast<uint16_t>(std::min<int32_t>(e.KachelnX, grenzen.maxX));
  e.KachelnY = static_cast<uint16_t>(std::min<int32_t>(e.KachelnY, grenzen.maxY));

  e.ZellBreite = static_cast<int32_t>(w / e.KachelnX);
  e.ZellHoehe = static_cast<int32_t>(h / e.KachelnY);
  e.ZielBreite = Int32(static_cast<int64_t>(KachelBreite(e)) * e.KachelnX);
  e.ZielHoehe = Int32(static_cast<int64_t>(KachelHoehe(e)) * e.KachelnY);

  // Fewer tiles than chosen with the distance: it must stay within the grid as the extended
  // settings page holds it, before the method is derived for it.
  const int32_t abstandsGrenze = std::max(Max(e.KachelnX, e.KachelnY) - 1, 0);
  if (e.minAbstand > abstandsGrenze) e.minAbstand = static_cast<uint16_t>(abstandsGrenze);

  const bool nochNichtAbgeleitet = e.Kandidatenzahl < 0 || e.Helligkeitsfenster < 0;
  SetzeBerechnungsart(e, anzahl.gesamt, nochNichtAbgeleitet ? 0 : e.Berechnungsart);
}

}  // namespace tilvendo
