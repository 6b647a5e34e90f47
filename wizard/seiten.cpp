#include "wizard/seiten.h"

#include <array>
#include <string_view>

namespace tilvendo::wizard {
namespace {

constexpr std::array<std::string_view, kSeitenAnzahl> kSeitentitel = {
    "Vorlage wählen",
    "Größe des Fotomosaiks bestimmen",
    "Kachelung bestimmen",
    "Auswahl der verwendeten Alben",
    "weitere Einstellungen",
    "letzte Berechnung",
    "alles im Überblick",
    "Album bearbeiten",
    "Informationen zum Programm",
    "Optionen beim Speichern",
};

}  // namespace

std::string PageTitle(int nummer) {
  if (nummer < 1 || nummer > kSeitenAnzahl) return {};
  return std::string(kSeitentitel[static_cast<size_t>(nummer - 1)]);
}

bool VomSeitenlaufGezeigt(int nummer) {
  return nummer >= Nummer(Seite::Vorlage) && nummer <= Nummer(Seite::Information) &&
         nummer != Nummer(Seite::AlbumEditor);
}

}  // namespace tilvendo::wizard
