#include "wizard/seiten.h"

#include <array>
#include <string_view>

#include "platform/translate.h"

namespace tilvendo::wizard {
namespace {

constexpr std::array<std::string_view, kSeitenAnzahl> kSeitentitel = {
    N_("Vorlage wählen"),
    N_("Größe des Fotomosaiks bestimmen"),
    N_("Kachelung bestimmen"),
    N_("Auswahl der verwendeten Alben"),
    N_("weitere Einstellungen"),
    N_("letzte Berechnung"),
    N_("alles im Überblick"),
    N_("Album bearbeiten"),
    N_("Informationen zum Programm"),
    N_("Optionen beim Speichern"),
};

}  // namespace

std::string PageTitle(int nummer) {
  if (nummer < 1 || nummer > kSeitenAnzahl) return {};
  return _(kSeitentitel[static_cast<size_t>(nummer - 1)].data());
}

bool VomSeitenlaufGezeigt(int nummer) {
  return nummer >= Nummer(Seite::Vorlage) && nummer <= Nummer(Seite::Information) &&
         nummer != Nummer(Seite::AlbumEditor);
}

}  // namespace tilvendo::wizard
