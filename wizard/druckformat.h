// Printing a mosaic as a poster, without Qt: the paper sizes the size page offers in
// large format, turned as the template stands, the resolution it starts from, and what
// a tile and the whole result measure on paper.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/einstellungen.h"
#include "platform/rect.h"
#include "platform/translate.h"
#include "wizard/zielgroesse_seite.h"

namespace tilvendo::wizard {

inline constexpr const char* kGrossformatText = N_("Großformat für den Druck");
inline constexpr const char* kGrossformatHinweis =
    N_("erlaubt Ergebnisbilder bis 60000 Pixel je Seite, etwa für Poster; sie werden beim "
       "Speichern streifenweise geschrieben");

// Beside the tile edge on paper: what makes a tile's photo recognisable.
inline constexpr const char* kKachelkanteHinweis =
    N_("etwa 10 mm je Kachel lassen die Fotos auf Armlänge erkennen");

// A paper size of the drop-down, in millimetres, its shorter edge first.
struct Druckformat {
  const char* text;
  int32_t kurz;
  int32_t lang;
};
inline constexpr std::array<Druckformat, 15> kDruckformate{{
    {N_("A4 (21 × 29,7 cm)"), 210, 297},
    {N_("A3 (29,7 × 42 cm)"), 297, 420},
    {N_("A2 (42 × 59,4 cm)"), 420, 594},
    {N_("A1 (59,4 × 84,1 cm)"), 594, 841},
    {N_("A0 (84,1 × 118,9 cm)"), 841, 1189},
    {"30 × 40 cm", 300, 400},
    {"40 × 60 cm", 400, 600},
    {"50 × 70 cm", 500, 700},
    {"60 × 90 cm", 600, 900},
    {"70 × 100 cm", 700, 1000},
    // The common American sizes, to the nearest millimetre.
    {N_("Letter (8,5 × 11 in)"), 216, 279},
    {N_("Legal (8,5 × 14 in)"), 216, 356},
    {"Tabloid (11 × 17 in)", 279, 432},
    {"18 × 24 in", 457, 610},
    {"24 × 36 in", 610, 914},
}};
// The last entry of the drop-down: the paper size as the fields say.
inline constexpr const char* kEigeneGroesse = N_("eigene Größe");

// The resolution a poster starts from: print shops ask for 150 to 300 dpi, and 200 keeps
// a 70 × 100 cm poster below 8000 pixels a side.
inline constexpr int32_t kDruckDpiStandard = 200;

enum class Ausrichtung {
  Hochformat,
  Querformat,
};

// The one rule for the template and the paper alike: landscape for wider than high,
// portrait for upright or square.
Ausrichtung AusrichtungFuer(int32_t breite, int32_t hoehe);

// How the paper stands: as its edges say, and a square paper as the template does, so
// that the presets come turned that way.
Ausrichtung PapierAusrichtung(Papiermass papier, Ausrichtung vorlage);

// The label beside the drop-down, from the paper's edges and the template's orientation:
// "quer, wie die Vorlage", "hoch, anders als die Vorlage", "quadratisch".
std::string AusrichtungsText(Papiermass papier, Ausrichtung vorlage);

// The paper of format `format` turned to `ausrichtung`.
Papiermass PapierFuer(const Druckformat& format, Ausrichtung ausrichtung);

// The entry of kDruckformate whose paper in `ausrichtung` is `papier`; none for any
// other size (the drop-down then shows "eigene Größe").
std::optional<size_t> DruckformatVon(Papiermass papier, Ausrichtung ausrichtung);

// The paper's edges in whole millimetres, as the fields show them.
Papiermass GanzePapiermasse(double breite, double hoehe);

// The longest paper edge, in millimetres, that keeps the result within the large-format
// bound at `dpi`: the engine's largest paper edge (2 m), or less at high resolutions.
int32_t GroesstePapierkante(int32_t dpi);

// The note for a paper edge typed or chosen beyond what `dpi` allows (`kante`, from
// GroesstePapierkante), or below a millimetre; empty within the bounds.
std::string PapierHinweis(int64_t getippt, int32_t kante, int32_t dpi);
// The same for a resolution beyond 1..kMaxDpi.
std::string DpiHinweis(int64_t getippt);

// A tile's size on paper, in tenths of a millimetre.
struct Kachelmass {
  int64_t breite = 0;
  int64_t hoehe = 0;
  friend bool operator==(const Kachelmass&, const Kachelmass&) = default;
};

// The tile of the job's result printed at `dpi`, by the rule the mosaic is made with:
// the chosen result size shared out among the tiles, truncated. Tile counts not chosen
// yet count as the tiling page's start value. Zero without a resolution.
Kachelmass KachelImDruck(const Einstellungen& einstellungen, int32_t dpi);
// The same for `kachelnX` × `kachelnY` tiles instead of the job's (the tiling page's
// boxes before they are taken).
Kachelmass KachelImDruck(const Einstellungen& einstellungen, int32_t dpi, int32_t kachelnX,
                         int32_t kachelnY);

// "Kachelkante im Druck: 12,7 mm", or "… 12,7 × 9,5 mm" for a tile that is not square.
std::string KachelkantenText(Kachelmass kachel);

// The two ways a poster of the ratio held meets paper of another shape, with their hints.
inline constexpr const char* kPapierFuellenText = N_("Papier füllen");
inline constexpr const char* kPapierFuellenHinweis =
    N_("schneidet die Vorlage mittig auf die Form des Papiers zu; was wegfällt, zeigt die "
       "Vorschau abgedunkelt");
inline constexpr const char* kGanzeVorlageText = N_("ganze Vorlage");
inline constexpr const char* kGanzeVorlageHinweis =
    N_("das Mosaik behält die Form der Vorlage und passt auf das Papier; es bleibt ein Rand");
inline constexpr const char* kPapierDrehenText = N_("drehen");
inline constexpr const char* kPapierDrehenHinweis = N_("tauscht Breite und Höhe des Papiers");

// "70 × 52 cm bei 200 dpi": a result of `breite` × `hoehe` pixels printed at `dpi`, in
// whole centimetres (halves to even). Empty without a resolution.
std::string DruckgroessenText(int32_t breite, int32_t hoehe, int32_t dpi);

}  // namespace tilvendo::wizard
