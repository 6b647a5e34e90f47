// The target-size page without Qt: its texts, the printer resolutions and paper formats
// of its two hidden groups, and when the page may be left. The size arithmetic itself is
// the engine's (`ZielgroesseBerechnen`).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/einstellungen.h"
#include "platform/rect.h"
#include "platform/translate.h"

namespace tilvendo::wizard {

inline constexpr const char* kHinweisX =
    N_("gibt an, wie genau Vorlage und Kacheln in X-Richtung angepaßt werden");
inline constexpr const char* kHinweisY =
    N_("gibt an, wie genau Vorlage und Kacheln in Y-Richtung angepaßt werden");

// The resolutions the printer group offers, in dots per inch, and the range of its free
// entry.
inline constexpr std::array<int32_t, 6> kAufloesungen = {300, 360, 600, 720, 1200, 1440};
inline constexpr int32_t kMaxDpi = 9999;
// Largest free paper edge, in millimetres.
inline constexpr int32_t kMaxPapierkante = 999;

// A paper format of the paper group. Its number holds width × 1000 + height in
// millimetres; the postcard has no size yet (0).
struct Papierformat {
  const char* text;
  int32_t nummer;
};
inline constexpr std::array<Papierformat, 4> kPapierformate{{
    {N_("A4 210 x 297 mm"), 210297},
    {N_("A5 148 x 210 mm"), 148210},
    {N_("A6 105 x 148 mm"), 105148},
    {N_("Postkarte ? x ?"), 0},
}};
// The format chosen at start (A6).
inline constexpr size_t kStartPapierformat = 2;

struct Papiermass {
  int32_t breite = 0;  // millimetres
  int32_t hoehe = 0;
  friend bool operator==(const Papiermass&, const Papiermass&) = default;
};
Papiermass PapierAusNummer(int32_t nummer);

// The size of the preview box: the result's proportions fitted into the preview box.
Size ZielVorschauGroesse(const Einstellungen& einstellungen);

// What the size page's preview shows, in the pixels of its paint box: the picture read,
// and the part the mosaic takes. A poster that fills its paper shows the whole picture
// with the cut-away parts outside `mosaik`; one that keeps the whole template shows the
// paper, the mosaic on it and the margins around; any other the result's proportions.
struct Zielvorschau {
  Size box;
  Rect bild;            // where the preview of the picture read is drawn
  Rect mosaik;          // what becomes the mosaic; outside it lies what is cut away, or margin
  bool papier = false;  // the box is the paper, what lies beside `mosaik` is margin
  friend bool operator==(const Zielvorschau&, const Zielvorschau&) = default;
};
Zielvorschau ZielVorschau(const Einstellungen& einstellungen, const Vorlage& vorlage);

// The part of a preview of `vorschau` pixels of the picture read that is the job's
// template (the whole preview without a cut), for drawings that show the template alone.
Rect VorschauAusschnitt(const Vorlage& vorlage, Size vorschau);

// A template edge as the size page shows it: "2560 Pixel", or "2286 von 2560 Pixel" for
// the part a poster's paper cut from the picture.
std::string VorlagenkantenText(int32_t kante, int32_t bildKante);

// The notes beside the size boxes for a typed number held within its bounds: zoom and
// pixels of the result, with `kante` the job's largest edge and `grossformat` whether
// large format is on.
std::string ZoomHinweis(int64_t getippt, int32_t grenze, int32_t kante);
std::string PixelHinweis(int64_t getippt, int32_t kante, bool grossformat);

// The page may be left when both stored zooms are above 0 (and there is a next page).
bool ZielgroesseBereit(const Einstellungen& einstellungen);

}  // namespace tilvendo::wizard
