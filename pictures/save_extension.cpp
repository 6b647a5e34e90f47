#include "pictures/save_extension.h"

#include "pictures/bildart.h"
#include "pictures/dateiformate.h"
#include "platform/paths.h"

namespace tilvendo {

void ForceSaveExtension(uint8_t format, std::string& fileName) {
  const Dateiformat* known = FormatVon(format);
  if (known == nullptr) return;
  const std::string old = UpperExtension(fileName);
  if (old == UpperExtension(known->endung)) return;
  if (known->zweiteEndung != nullptr && old == UpperExtension(known->zweiteEndung)) return;
  // Only a picture's extension is replaced: in "Urlaub 2024.07" the dot belongs to the
  // name. A lone dot at the end is no part of it either.
  if (BildendungVonName(fileName) != nullptr || old == ".") {
    fileName.erase(fileName.size() - old.size());
  }
  fileName += known->endung;
}

}  // namespace tilvendo
