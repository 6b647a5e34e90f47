#include "engine/grossformat.h"

#include <algorithm>

#include "engine/mosaik_baender.h"
#include "engine/vorbereitung.h"
#include "platform/free_space.h"
#include "platform/translate.h"

namespace tilvendo {

Vorlagenskalierung SkalierungFuer(int32_t breite, int32_t hoehe) {
  return breite <= kMaxZielgroesse && hoehe <= kMaxZielgroesse ? Vorlagenskalierung::WieGanz
                                                               : Vorlagenskalierung::Bilinear;
}

Size Mosaikgroesse(const Einstellungen& e) {
  const int64_t breite = int64_t{e.KachelnX} * std::max(KachelBreite(e), 0);
  const int64_t hoehe = int64_t{e.KachelnY} * std::max(KachelHoehe(e), 0);
  return Size{static_cast<int32_t>(std::min<int64_t>(breite, INT32_MAX)),
              static_cast<int32_t>(std::min<int64_t>(hoehe, INT32_MAX))};
}

std::optional<std::string> GrossformatWarnung(const Einstellungen& e) {
  const Size groesse = Mosaikgroesse(e);
  const uint64_t zeile = KachelzeilenBytes(groesse.width, KachelHoehe(e));
  if (zeile <= kMaxKachelzeilenBytes) return std::nullopt;
  return Format(_("Eine Kachelzeile dieses Mosaiks bräuchte {} Arbeitsspeicher, mehr als {}. Bitte "
                  "wählen Sie mehr Kacheln in der Höhe oder ein kleineres Ergebnis."),
                SizeText(zeile), SizeText(kMaxKachelzeilenBytes));
}

}  // namespace tilvendo
