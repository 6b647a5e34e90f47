#include "engine/vorbereitung.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/methodenparameter.h"
#include "platform/rounding.h"

namespace tilvendo {
namespace {

constexpr int64_t kProzent = 100;

int32_t Begrenzt(int64_t wert, int64_t kleinster, int64_t groesster) {
  return static_cast<int32_t>(std::clamp(wert, kleinster, groesster));
}

// Sizes and zooms computed in 64 bits and held within 32 bits, so absurd templates
// cannot wrap around into small or negative sizes.
int32_t Int32(int64_t wert) {
  return Begrenzt(wert, INT32_MIN, INT32_MAX);
}

// Paper of the hidden groups: whole millimetres, truncated.
double GanzeMillimeter(int32_t pixel, int32_t dpi) {
  return std::trunc(DruckMillimeter(pixel, dpi));
}

// A template always has a size once it is loaded; an empty one is treated as one pixel
// so that no step divides by zero.
int64_t Kante(int32_t vorlagenKante) {
  return std::max<int64_t>(vorlagenKante, 1);
}

uint16_t AlsZoom(int32_t zoom) {
  return static_cast<uint16_t>(std::clamp<int32_t>(zoom, 0, UINT16_MAX));
}

// a × b ÷ c rounded, halves to even, in 64 bits.
int64_t Anteil(int64_t a, int64_t b, int64_t c) {
  return DivideRoundHalfEven(a * b, c);
}

// The zoom a size shows, rounded: the boxes show it, nothing is computed from it.
int32_t GerundeterZoom(int64_t groesse, int64_t vorlage) {
  return Int32(Anteil(groesse, kProzent, vorlage));
}

// The other side of a size whose side `gegeben` was chosen, in the template's shape
// (`vorlageGegeben` : `vorlageAndere`), within 1..`kante`.
int32_t AndereSeite(int32_t gegeben, int64_t vorlageGegeben, int64_t vorlageAndere, int32_t kante) {
  return Begrenzt(Anteil(gegeben, vorlageAndere, vorlageGegeben), 1, kante);
}

// The pixels of a poster on its paper: the paper's own without the ratio held or when the
// template is cut to it; with the whole template, the largest size of its shape inside.
Size PapierPixel(Size papier, int64_t w, int64_t h, Papiernutzung nutzung) {
  papier.width = std::max(papier.width, 1);
  papier.height = std::max(papier.height, 1);
  if (nutzung != Papiernutzung::GanzeVorlage) return papier;
  if (int64_t{papier.width} * h <= int64_t{papier.height} * w) {
    return Size{papier.width, AndereSeite(papier.width, w, h, papier.height)};
  }
  return Size{AndereSeite(papier.height, h, w, papier.width), papier.height};
}

// The zoom bounds of a template w × h pixels (ZoomGrenzen).
Zoomgrenzen GrenzenFuer(int64_t w, int64_t h, int64_t groessteKante) {
  return Zoomgrenzen{Begrenzt(groessteKante * kProzent / w, 1, kMaxZoom),
                     Begrenzt(groessteKante * kProzent / h, 1, kMaxZoom)};
}

}  // namespace

int32_t GroessteZielkante(const Einstellungen& einstellungen) {
  return einstellungen.Grossformat ? kMaxZielgroesseGross : kMaxZielgroesse;
}

Zoomgrenzen ZoomGrenzen(const Vorlage& vorlage, int32_t groessteKante) {
  return GrenzenFuer(Kante(vorlage.VorlageBreite), Kante(vorlage.VorlageHoehe), groessteKante);
}

int32_t DruckPixel(double millimeter, int32_t dpi) {
  // A length computed from pixels (DruckMillimeter) may come back a hair short of them.
  constexpr double kRundung = 1e-6;
  const double pixel = std::trunc(millimeter / kMillimeterProZoll * dpi + kRundung);
  // An absurd length must not wrap into a small size.
  if (std::isnan(pixel)) return 0;
  return static_cast<int32_t>(std::clamp<double>(pixel, INT32_MIN, INT32_MAX));
}

double DruckMillimeter(int32_t pixel, int32_t dpi) {
  if (dpi <= 0) return 0.0;
  return pixel * kMillimeterProZoll / dpi;
}

Size GanzesBild(const Vorlage& vorlage) {
  if (vorlage.BildBreite > 0 && vorlage.BildHoehe > 0) {
    return Size{vorlage.BildBreite, vorlage.BildHoehe};
  }
  return Size{vorlage.VorlageBreite, vorlage.VorlageHoehe};
}

Rect ZuschnittFuer(Size bild, double papierBreite, double papierHoehe) {
  const Rect ganz{0, 0, bild.width, bild.height};
  if (!(papierBreite > 0.0) || !(papierHoehe > 0.0) || bild.width < 1 || bild.height < 1) {
    return ganz;
  }
  const double form = papierBreite / papierHoehe;
  const int32_t breite = Begrenzt(std::llround(bild.height * form), 1, bild.width);
  if (breite < bild.width) {
    const int32_t links = (bild.width - breite) / 2;
    return Rect{links, 0, links + breite, bild.height};
  }
  const int32_t hoehe = Begrenzt(std::llround(bild.width / form), 1, bild.height);
  const int32_t oben = (bild.height - hoehe) / 2;
  return Rect{0, oben, bild.width, oben + hoehe};
}

void ZielgroesseBerechnen(Zielgroessenwerte& werte, Zielaenderung aenderung, const Vorlage& vorlage,
                          Einstellungen& einstellungen) {
  const Size bild = GanzesBild(vorlage);
  const Rect ganz{0, 0, bild.width, bild.height};
  Rect ausschnitt = vorlage.Ausschnitt.empty() ? ganz : vorlage.Ausschnitt;
  const int32_t kante = GroessteZielkante(einstellungen);
  // The boxes are read as absolute values.
  int32_t sx = std::abs(werte.SizeX);
  int32_t sy = std::abs(werte.SizeY);
  int32_t zx = std::abs(werte.ZoomX);
  int32_t zy = std::abs(werte.ZoomY);
  const int32_t dpi = werte.dpi;
  double pw = werte.PapierBreite;
  double ph = werte.PapierHoehe;
  const bool papierRegel = aenderung == Zielaenderung::Aufloesung ||
                           aenderung == Zielaenderung::Papier ||
                           (werte.druck && aenderung == Zielaenderung::Seitenverhaeltnis);
  // With the ratio held the zooms show the side that leads, the other one follows.
  bool hoeheFuehrt = false;

  if (papierRegel) {
    // A poster held in its shape fills the paper with a cut of the template, or keeps the
    // whole template inside it; otherwise (and always for the plain page's hidden paper)
    // the template is stretched to the paper's pixels.
    const bool formHalten = werte.druck && werte.festesSV;
    const Papiernutzung nutzung = formHalten ? werte.nutzung : Papiernutzung::Strecken;
    ausschnitt = nutzung == Papiernutzung::Fuellen ? ZuschnittFuer(bild, pw, ph) : ganz;
    const Size groesse =
        PapierPixel(Size{DruckPixel(pw, dpi), DruckPixel(ph, dpi)}, Kante(ausschnitt.width()),
                    Kante(ausschnitt.height()), nutzung);
    sx = groesse.width;
    sy = groesse.height;
    hoeheFuehrt = nutzung == Papiernutzung::GanzeVorlage && sy == DruckPixel(ph, dpi) &&
                  sx != DruckPixel(pw, dpi);
  }
  const int64_t w = Kante(ausschnitt.width());
  const int64_t h = Kante(ausschnitt.height());
  const Zoomgrenzen grenzen = GrenzenFuer(w, h, kante);
  const bool zoomFuehrt = aenderung == Zielaenderung::Zoom ||
                          (aenderung == Zielaenderung::Seitenverhaeltnis && !werte.druck);

  if (zoomFuehrt) {
    zx = std::clamp(zx, 1, grenzen.maxX);
    zy = std::clamp(zy, 1, grenzen.maxY);
    if (werte.festesSV) {
      // Growth is told from the zooms stored by the previous computation; checking the
      // box never counts as growth.
      const bool vergroessert = aenderung == Zielaenderung::Zoom &&
                                (zx > einstellungen.ZoomX || zy > einstellungen.ZoomY);
      zx = ZoomAngleichen(vergroessert, zx, zy, grenzen.maxX, grenzen.maxY);
      zy = ZoomAngleichen(vergroessert, zx, zy, grenzen.maxX, grenzen.maxY);
    }
    // Unchecking the box changes nothing.
    if (aenderung == Zielaenderung::Zoom || werte.festesSV) {
      sx = Begrenzt(w * zx / kProzent, 1, kante);
      sy = Begrenzt(h * zy / kProzent, 1, kante);
    }
  } else if (aenderung == Zielaenderung::Pixel) {
    sx = std::clamp(sx, 1, kante);
    sy = std::clamp(sy, 1, kante);
    if (werte.festesSV) {
      // The side typed stays as typed where the bounds allow; the other follows the
      // template's shape. The side typed is the one that differs from the job's.
      if (sx != einstellungen.ZielBreite) {
        sy = AndereSeite(sx, w, h, kante);
        if (Anteil(sx, h, w) > kante) sx = AndereSeite(sy, h, w, kante);
      } else if (sy != einstellungen.ZielHoehe) {
        hoeheFuehrt = true;
        sx = AndereSeite(sy, h, w, kante);
        if (Anteil(sy, w, h) > kante) sy = AndereSeite(sx, w, h, kante);
      }
    }
  }
  if (!zoomFuehrt) {
    // The zooms the sizes show, rounded.
    zx = GerundeterZoom(sx, w);
    zy = GerundeterZoom(sy, h);
    const bool gleicherZoom =
        werte.festesSV && (aenderung == Zielaenderung::Pixel || (papierRegel && werte.druck));
    if (gleicherZoom) {
      if (hoeheFuehrt) {
        zx = zy;
      } else {
        zy = zx;
      }
    }
  }

  if (!papierRegel) {
    // The paper follows the pixels: a poster's exactly, so that it gives them back, the
    // hidden groups' in whole millimetres.
    pw = werte.druck ? DruckMillimeter(sx, dpi) : GanzeMillimeter(sx, dpi);
    ph = werte.druck ? DruckMillimeter(sy, dpi) : GanzeMillimeter(sy, dpi);
  }

  werte.SizeX = sx;
  werte.SizeY = sy;
  werte.ZoomX = zx;
  werte.ZoomY = zy;
  werte.PapierBreite = pw;
  werte.PapierHoehe = ph;
  werte.Ausschnitt = ausschnitt == ganz ? Rect{} : ausschnitt;
  einstellungen.ZielBreite = sx;
  einstellungen.ZielHoehe = sy;
  einstellungen.ZoomX = AlsZoom(zx);
  einstellungen.ZoomY = AlsZoom(zy);
  einstellungen.Papier =
      werte.druck ? Druckpapier{pw, ph, werte.festesSV ? werte.nutzung : Papiernutzung::Strecken}
                  : Druckpapier{};
}

Kachelgrenzen KachelGrenzen(const Einstellungen& einstellungen) {
  const auto grenze = [](int32_t ziel) {
    return Begrenzt(std::max(ziel, 0) / kMinKachelPixel, 1, kMaxKacheln);
  };
  return Kachelgrenzen{grenze(einstellungen.ZielBreite), grenze(einstellungen.ZielHoehe)};
}

std::optional<Kachelung> KachelungMitZellen(int64_t zellen, const Einstellungen& einstellungen) {
  const Kachelgrenzen grenzen = KachelGrenzen(einstellungen);
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

void KachelnSetzen(Einstellungen& einstellungen, int32_t kachelnX, int32_t kachelnY) {
  const Kachelgrenzen grenzen = KachelGrenzen(einstellungen);
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

bool ZielgroesseBegrenzen(Einstellungen& e, const Vorlage& vorlage) {
  const int64_t kante = GroessteZielkante(e);
  const int64_t breite = std::max(e.ZielBreite, 1);
  const int64_t hoehe = std::max(e.ZielHoehe, 1);
  if (breite <= kante && hoehe <= kante) return false;
  // Both shrink by the same factor, the one the longer side asks for.
  if (breite >= hoehe) {
    e.ZielBreite = static_cast<int32_t>(kante);
    e.ZielHoehe = Begrenzt(Anteil(hoehe, kante, breite), 1, kante);
  } else {
    e.ZielHoehe = static_cast<int32_t>(kante);
    e.ZielBreite = Begrenzt(Anteil(breite, kante, hoehe), 1, kante);
  }
  e.ZoomX = AlsZoom(GerundeterZoom(e.ZielBreite, Kante(vorlage.VorlageBreite)));
  e.ZoomY = AlsZoom(GerundeterZoom(e.ZielHoehe, Kante(vorlage.VorlageHoehe)));
  return true;
}

void UebersichtAbgleichen(Einstellungen& einstellungen, const Vorlage& vorlage,
                          const Bildzahlen& anzahl) {
  Einstellungen& e = einstellungen;
  // A template exchanged from the overview may have brought a size beyond the largest.
  ZielgroesseBegrenzen(e, vorlage);

  // A size lowered after the tiling was chosen must not leave tiles narrower than the
  // tiling page and the command line allow; a count never set is one tile.
  const Kachelgrenzen grenzen = KachelGrenzen(e);
  e.KachelnX = static_cast<uint16_t>(std::clamp<int32_t>(e.KachelnX, 1, grenzen.maxX));
  e.KachelnY = static_cast<uint16_t>(std::clamp<int32_t>(e.KachelnY, 1, grenzen.maxY));
  e.ZellBreite = std::max(vorlage.VorlageBreite, 0) / e.KachelnX;
  e.ZellHoehe = std::max(vorlage.VorlageHoehe, 0) / e.KachelnY;

  // Fewer tiles than chosen with the distance: it must stay within the grid as the extended
  // settings page holds it, before the method is derived for it.
  const int32_t abstandsGrenze = std::max(Max(e.KachelnX, e.KachelnY) - 1, 0);
  if (e.minAbstand > abstandsGrenze) e.minAbstand = static_cast<uint16_t>(abstandsGrenze);

  const bool nochNichtAbgeleitet = e.Kandidatenzahl < 0 || e.Helligkeitsfenster < 0;
  SetzeBerechnungsart(e, anzahl.gesamt, nochNichtAbgeleitet ? 0 : e.Berechnungsart);
}

}  // namespace tilvendo
