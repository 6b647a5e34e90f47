#include "wizard/kachelung_seite.h"

#include <cstddef>

#include "engine/vorbereitung.h"
#include "wizard/spin_wert.h"

namespace tilvendo::wizard {

std::string KachelAnzahlText(int32_t kachelnX, int32_t kachelnY) {
  const int64_t insgesamt = static_cast<int64_t>(kachelnX) * kachelnY;
  return std::to_string(kachelnX) + " x " + std::to_string(kachelnY) + " Kacheln, " +
         std::to_string(insgesamt) + " insgesamt";
}

std::string KachelHinweis(int64_t getippt, int32_t grenze, bool quer) {
  if (getippt < 1) return "mindestens 1 Kachel";
  if (grenze >= kMaxKacheln) return GrenzHinweis(getippt, 1, grenze, "Kacheln");
  return GrenzHinweis(getippt, 1, grenze, "Kacheln",
                      ", damit jede Kachel mindestens " + std::to_string(kMinKachelPixel) +
                          " Pixel " + (quer ? "breit" : "hoch") + " bleibt");
}

std::optional<int> FormanalyseWahl(uint8_t stufe) {
  for (size_t i = 0; i < kFormanalyseStufen.size(); ++i) {
    if (kFormanalyseStufen[i] == stufe) return static_cast<int>(i);
  }
  return std::nullopt;
}

uint8_t FormanalyseStufe(std::optional<int> wahl, uint8_t bisher) {
  if (!wahl || *wahl < 0 || *wahl >= static_cast<int>(kFormanalyseStufen.size())) return bisher;
  return kFormanalyseStufen[static_cast<size_t>(*wahl)];
}

bool KachelungBereit(int32_t kachelnX, int32_t kachelnY) {
  return static_cast<int64_t>(kachelnX) * kachelnY > 0;
}

}  // namespace tilvendo::wizard
