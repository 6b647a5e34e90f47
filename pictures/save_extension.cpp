#include "pictures/save_extension.h"

#include "pictures/dateiformate.h"
#include "platform/paths.h"

namespace tilvendo {

void ForceSaveExtension(uint8_t format, std::string& fileName) {
  const Dateiformat* known = FormatVon(format);
  if (known == nullptr) return;
  const std::string old = UpperExtension(fileName);
  if (old == UpperExtension(known->endung)) return;
  if (known->zweiteEndung != nullptr && old == UpperExtension(known->zweiteEndung)) return;
  fileName.erase(fileName.size() - old.size());
  fileName += known->endung;
}

}  // namespace tilvendo
