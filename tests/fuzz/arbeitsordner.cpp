#include "arbeitsordner.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/paths.h"

namespace tilvendo::fuzz {

namespace fs = std::filesystem;

Arbeitsordner::Arbeitsordner() {
  std::string vorlage = TempFolder() + "tilvendo-fuzz-XXXXXX";
  if (::mkdtemp(vorlage.data()) == nullptr) throw std::runtime_error("kein Ordner: " + vorlage);
  pfad_ = MitSchraegstrich(vorlage);
}

Arbeitsordner::~Arbeitsordner() {
  std::error_code fehler;
  fs::remove_all(pfad_, fehler);
}

std::string Arbeitsordner::Schreiben(std::string_view name, std::string_view inhalt) const {
  const std::string datei = pfad_ + std::string(name);
  std::ofstream(datei, std::ios::binary | std::ios::trunc)
      .write(inhalt.data(), static_cast<std::streamsize>(inhalt.size()));
  return datei;
}

void Arbeitsordner::Leeren() const {
  std::error_code fehler;
  for (const fs::directory_entry& eintrag : fs::directory_iterator(pfad_, fehler)) {
    fs::remove_all(eintrag.path(), fehler);
  }
}

}  // namespace tilvendo::fuzz
