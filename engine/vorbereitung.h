// Preparing a mosaic job: the rules by which the target size, the tiling, the extended
// settings and the overview make the job consistent before a run. Plain functions over
// the job state, so the wizard pages and the command line apply exactly the same rules.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>

#include "albums/bildzahlen.h"
#include "engine/einstellungen.h"

namespace tilvendo {

// Largest result edge the size page offers, in pixels.
inline constexpr int32_t kMaxZielgroesse = 2500;
// Largest result edge with the large-format choice: posters of 2 m at 720 dpi. The job's
// zooms (16 bits) and sizes (32 bits) hold it, and a JPEG may be 65,500 pixels wide.
inline constexpr int32_t kMaxZielgroesseGross = 60000;
// Largest zoom the job can hold, in per cent: the zooms are stored in 16 bits. The size
// page's real bound is smaller for every template wider than 3 pixels (ZoomGrenzen).
inline constexpr int32_t kMaxZoom = std::numeric_limits<uint16_t>::max();
// Tile counts across and down the tiling page offers.
inline constexpr int32_t kMaxKacheln = 999;
// A tile must stay at least this many result pixels wide.
inline constexpr int32_t kMinKachelPixel = 4;
// Largest minimum distance the extended settings page offers.
inline constexpr int32_t kMaxMindestabstand = 100;

// Printer resolution and paper size the size page starts from.
inline constexpr int32_t kDpiStandard = 720;
inline constexpr int32_t kPapierBreiteStandard = 105;  // A6, millimetres
inline constexpr int32_t kPapierHoeheStandard = 148;
// Largest paper edge the size rules take, in millimetres: posters up to 2 m a side.
inline constexpr int32_t kMaxPapierkante = 2000;
inline constexpr double kMillimeterProZoll = 25.4;

// A paper size offered for posters, with the caption the size page gives it.
struct Papierformat {
  const char* beschriftung;
  int32_t breite;  // millimetres, upright
  int32_t hoehe;
};
inline constexpr std::array<Papierformat, 4> kPosterformate{{
    {"A0 841 x 1189 mm", 841, 1189},
    {"A1 594 x 841 mm", 594, 841},
    {"A2 420 x 594 mm", 420, 594},
    {"A3 297 x 420 mm", 297, 420},
}};

// What the target-size page shows besides the job settings: its boxes and the held
// printer resolution and paper size. The computation reads and writes these values
// within the bounds of the job; showing them in the boxes is the page's business.
struct Zielgroessenwerte {
  int32_t SizeX = kMaxZielgroesse;  // result size in pixels
  int32_t SizeY = kMaxZielgroesse;
  int32_t ZoomX = 100;  // result size in per cent of the template, rounded
  int32_t ZoomY = 100;
  bool festesSV = true;  // aspect ratio held
  int32_t dpi = kDpiStandard;
  double PapierBreite = kPapierBreiteStandard;  // millimetres
  double PapierHoehe = kPapierHoeheStandard;
  // The size is a poster's: it follows the paper at `dpi`, and with the aspect ratio held
  // the template either fills the paper (cut to its shape) or fits inside it whole.
  // Without it the paper only follows the pixels (the hidden groups of the plain page).
  bool druck = false;
  Papiernutzung nutzung = Papiernutzung::GanzeVorlage;
  // Out: the part of the picture read that the template must be for this size (empty:
  // all of it). The caller cuts the job's template to it (VorlageZuschneiden).
  Rect Ausschnitt;
};

// What changed before the recomputation.
enum class Zielaenderung {
  Zoom = 1,
  Pixel = 2,
  Aufloesung = 3,
  Papier = 4,
  Seitenverhaeltnis = 5,
};

struct Zoomgrenzen {
  int32_t maxX = 0;
  int32_t maxY = 0;
};

// The largest result edge the job allows: kMaxZielgroesseGross in large format, else
// kMaxZielgroesse.
int32_t GroessteZielkante(const Einstellungen& einstellungen);

// The zoom bounds that keep the result within `groessteKante` pixels in both directions
// (at least 1, also for an empty template, and at most what 16 bits hold).
Zoomgrenzen ZoomGrenzen(const Vorlage& vorlage, int32_t groessteKante = kMaxZielgroesse);

// Pixels of a printed length: Trunc(millimetre / 25.4 × dpi), the rule the paper size
// follows, for lengths that need not be whole millimetres (centimetres, inches). A length
// taken from pixels (DruckMillimeter) gives those pixels back.
int32_t DruckPixel(double millimeter, int32_t dpi);

// The printed length of `pixel` at `dpi`, in millimetres (not rounded); 0 without a
// resolution.
double DruckMillimeter(int32_t pixel, int32_t dpi);

// The picture as read: its recorded size, or the template's where none is recorded.
Size GanzesBild(const Vorlage& vorlage);

// The largest part of a picture of size `bild` in the proportions of a paper of
// `papierBreite` × `papierHoehe`, centred (an odd pixel left over goes to the right or
// bottom). The whole picture when the shapes agree to the pixel or the paper has no area.
Rect ZuschnittFuer(Size bild, double papierBreite, double papierHoehe);

// Recomputes zoom, pixel size and paper size after one of them changed, and writes
// ZielBreite, ZielHoehe, ZoomX, ZoomY and the paper (`Papier`) of the settings. With
// the aspect ratio held, a typed zoom is made the same in both directions (following the
// larger after growth and the smaller otherwise) and a typed size is kept as typed, the
// other side following the template's shape; every value stays within the bounds of the
// job's largest edge (GroessteZielkante) and at least 1. A poster's paper (`druck`) gives
// its pixels at `dpi`: stretched without the ratio held, else filled by the template cut
// to the paper's shape or holding the whole template inside it.
void ZielgroesseBerechnen(Zielgroessenwerte& werte, Zielaenderung aenderung, const Vorlage& vorlage,
                          Einstellungen& einstellungen);

struct Kachelgrenzen {
  int32_t maxX = 1;
  int32_t maxY = 1;
};

// The most tiles across and down so that a tile stays at least kMinKachelPixel result
// pixels wide and high: the chosen result size ÷ 4, held within 1..kMaxKacheln.
Kachelgrenzen KachelGrenzen(const Einstellungen& einstellungen);

// Tiles across and down.
struct Kachelung {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Kachelung&, const Kachelung&) = default;
};

// A tiling of at least `zellen` cells that the result size allows (KachelGrenzen), of the
// proportions nearest to the job's tiling and of the fewest cells among those; none when
// even the largest tiling has fewer cells.
std::optional<Kachelung> KachelungMitZellen(int64_t zellen, const Einstellungen& einstellungen);

// Stores the wanted tile counts, each within 1 and its bound.
void KachelnSetzen(Einstellungen& einstellungen, int32_t kachelnX, int32_t kachelnY);

// The largest minimum distance the grid and the available pictures allow:
// Min(Max(KachelnX, KachelnY) − 1, MaxAbstand), never below 0.
int32_t AbstandsGrenze(const Bildzahlen& anzahl, const Einstellungen& einstellungen);

// Applies method, pattern handling and minimum distance as the extended settings page
// does: the pattern table, the distance lowered to AbstandsGrenze (and to 0..100), then
// the method table, whose candidate count must cover the distance now in force.
void ErweiterteEinstellungenSetzen(Einstellungen& einstellungen, const Bildzahlen& anzahl,
                                   uint8_t berechnungsart, uint8_t musterbildung,
                                   int32_t minAbstand);

// Brings a result size beyond the job's largest edge within it, both sides by the same
// factor, and the zooms with it. True when it had to.
bool ZielgroesseBegrenzen(Einstellungen& einstellungen, const Vorlage& vorlage);

// Makes the job consistent before it is shown on the overview and started: a result size
// beyond the largest edge is held within it (ZielgroesseBegrenzen), the tile counts within
// KachelGrenzen (at least 1), the cell size is derived, the distance held within the grid
// (Max(KachelnX, KachelnY) − 1) and the method parameters derived for the available
// pictures. The chosen size stays as chosen: the mosaic is the tiles' size (KachelBreite)
// times their count.
void UebersichtAbgleichen(Einstellungen& einstellungen, const Vorlage& vorlage,
                          const Bildzahlen& anzahl);

}  // namespace tilvendo
