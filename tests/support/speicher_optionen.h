// The options of a file saved by a test: `datei` in `ordner`, standard JPEG quality.
#pragma once

#include <cstdint>
#include <string>

#include "pictures/speichern.h"
#include "support/temp_folder.h"

namespace tilvendo::testing {

inline SpeicherOptionen SpeicherOptionenFuer(const TempFolder& ordner, const std::string& datei,
                                             uint8_t format, uint8_t farbtiefe = kFarbtiefe24) {
  SpeicherOptionen optionen;
  optionen.Pfad = ordner.path();
  optionen.Datei = datei;
  optionen.Format = format;
  optionen.Qualitaet = kStandardQualitaet;
  optionen.Farbtiefe = farbtiefe;
  return optionen;
}

}  // namespace tilvendo::testing
