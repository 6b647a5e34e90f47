#include "wizard/kachelung_seite.h"

#include <cstddef>

#include "engine/vorbereitung.h"
#include "platform/translate.h"

namespace tilvendo::wizard {

std::string KachelAnzahlText(int32_t kachelnX, int32_t kachelnY) {
  const int64_t insgesamt = static_cast<int64_t>(kachelnX) * kachelnY;
  return Format(_("{} x {} Kacheln, {} insgesamt"), kachelnX, kachelnY, insgesamt);
}

std::string KachelHinweis(int64_t getippt, int32_t grenze, bool quer) {
  if (getippt < 1) return _("mindestens 1 Kachel");
  if (getippt <= grenze) return {};
  if (grenze >= kMaxKacheln) return Format(_("höchstens {} Kacheln"), grenze);
  return Format(quer ? _("höchstens {} Kacheln, damit jede Kachel mindestens {} Pixel breit bleibt")
                     : _("höchstens {} Kacheln, damit jede Kachel mindestens {} Pixel hoch bleibt"),
                grenze, kMinKachelPixel);
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
