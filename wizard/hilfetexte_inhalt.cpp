#include "wizard/hilfetexte_inhalt.h"

#include <array>

namespace tilvendo::wizard {
namespace {

// Help popups (kind 5) of pages 1–8 and 10, and the information page's texts (kind 6).
constexpr std::array<HilfeEintrag, 15> kInhalt = {{
    {1151, "Wählen Sie mit „Bild laden“ die Vorlage für Ihr Fotomosaik."},
    {2151, "Legen Sie die Größe des Fotomosaiks in Prozent oder in Pixeln fest."},
    {3151, "Legen Sie fest, wie viele Kacheln das Mosaik in der Breite und in der Höhe hat."},
    {4151, "Wählen Sie die Alben, deren Bilder das Mosaik bilden."},
    {5151, "Wählen Sie Genauigkeit, Mindestabstand und Umgang mit Musterbildung."},
    {6151, "Hier sehen Sie das fertige Fotomosaik, auf den Bildschirm verkleinert."},
    {7151, "Hier sehen Sie alle Einstellungen im Überblick."},
    {8151, "Geben Sie dem Album einen Namen und wählen Sie seine Ordner."},
    {10151, "Wählen Sie Dateiformat, Farbtiefe oder Qualität."},
    {1161, "Nubo Tilvendo macht Fotomosaike aus Ihren eigenen Fotos."},
    {2161, "Rückmeldungen"},
    {3161, "Funktionsweise"},
    {4161, "Wie geht es weiter?"},
    {5161, "Kontakt"},
    {6161, "Tips und Tricks"},
}};

}  // namespace

std::span<const HilfeEintrag> HilfeInhalt() {
  return kInhalt;
}

}  // namespace tilvendo::wizard
