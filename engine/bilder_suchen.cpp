#include "engine/bilder_suchen.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "albums/katalog.h"
#include "pictures/bildart.h"
#include "platform/paths.h"

namespace tilvendo {

namespace {

bool HatEndung(std::string_view name, std::string_view endung) {
  const Bildendung* bekannt = BildendungVonName(name);
  return bekannt != nullptr && BildendungVonName(endung) == bekannt;
}

}  // namespace

std::vector<std::string> BilddateienSuchen(const std::string& ordner, std::string_view endung) {
  namespace fs = std::filesystem;
  std::vector<std::string> namen;
  std::error_code fehler;
  fs::directory_iterator eintrag(ordner, fehler);
  const fs::directory_iterator ende;
  // A folder that cannot be listed (gone, no permission, medium removed) simply has no
  // pictures; the scan goes on with the next one.
  for (; !fehler && eintrag != ende; eintrag.increment(fehler)) {
    const std::string name = eintrag->path().filename().string();
    if (name.empty() || name.front() == '.') continue;
    if (!HatEndung(name, endung)) continue;
    // A name with a line break could not be kept in the album's picture list, and the
    // album would never get a cache it can use again.
    if (!AlsZeileSpeicherbar(name)) continue;
    std::error_code artFehler;
    if (!eintrag->is_regular_file(artFehler)) continue;
    namen.push_back(name);
  }
  std::sort(namen.begin(), namen.end());
  const std::string basis = MitSchraegstrich(ordner);
  std::vector<std::string> pfade;
  pfade.reserve(namen.size());
  for (const std::string& name : namen) pfade.push_back(basis + name);
  return pfade;
}

std::vector<std::string> AlbumBilderSuchen(const std::vector<std::string>& verzeichnisse) {
  std::vector<std::string> pfade;
  for (const std::string& ordner : verzeichnisse) {
    for (const Bildendung& endung : kBildEndungen) {
      std::vector<std::string> gefunden = BilddateienSuchen(ordner, endung.endung);
      pfade.insert(pfade.end(), std::make_move_iterator(gefunden.begin()),
                   std::make_move_iterator(gefunden.end()));
    }
  }
  return pfade;
}

}  // namespace tilvendo
