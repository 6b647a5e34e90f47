// The shared button pictures of the wizard, taken from the desktop's icon theme by their
// freedesktop names (the set-up installs a theme that has all of them).
#pragma once

#include <QIcon>
#include <array>

namespace tilvendo::ui {

enum class Glyphe {
  Ende,
  weiter,
  oeffnen,
  schliessen,
  neu,
  hinzufuegen,
  entfernen,
  starten,
  bearbeiten,
  HilfeDown,
  HilfeUp,
  HilfeAn,
  aktualisieren,
  loeschen,
  zurueck,
  Info,
  OK,
  Haekchen,
  keinHaekchen,
  Speichern2,
  Abbrechen2,
  Vorschau,
};

inline constexpr std::array<Glyphe, 22> kAlleGlyphen = {
    Glyphe::Ende,          Glyphe::weiter,     Glyphe::oeffnen,
    Glyphe::schliessen,    Glyphe::neu,        Glyphe::hinzufuegen,
    Glyphe::entfernen,     Glyphe::starten,    Glyphe::bearbeiten,
    Glyphe::HilfeDown,     Glyphe::HilfeUp,    Glyphe::HilfeAn,
    Glyphe::aktualisieren, Glyphe::loeschen,   Glyphe::zurueck,
    Glyphe::Info,          Glyphe::OK,         Glyphe::Haekchen,
    Glyphe::keinHaekchen,  Glyphe::Speichern2, Glyphe::Abbrechen2,
    Glyphe::Vorschau};

// The freedesktop icon name of a glyph.
const char* Iconname(Glyphe glyphe);

// The glyph's picture from the icon theme.
QIcon GlyphIcon(Glyphe glyphe);

// Makes sure the icon theme that has our glyphs is used when the desktop's own theme
// lacks them (also for the offscreen platform, which has no theme at all).
void IconThemaEinrichten();

}  // namespace tilvendo::ui
