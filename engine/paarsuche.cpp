#include "engine/paarsuche.h"

#include <algorithm>

namespace tilvendo {

Farbsummen FarbsummenVon(const GepackteFelder& felder, int formanalyse) {
  Farbsummen summen;
  const int felderAnzahl = formanalyse * formanalyse;
  for (int k = 0; k < felderAnzahl; ++k) {
    summen.rot += felder.bytes[static_cast<size_t>(3 * k)];
    summen.gruen += felder.bytes[static_cast<size_t>(3 * k + 1)];
    summen.blau += felder.bytes[static_cast<size_t>(3 * k + 2)];
  }
  return summen;
}

Farbgitter::Farbgitter(const std::vector<int32_t>& fotos, const std::vector<Farbsummen>& summen,
                       int formanalyse)
    : felder_(formanalyse * formanalyse),
      anzahl_(fotos.size()),
      fotos_(fotos.size()),
      anfang_(static_cast<size_t>(kFaecher) * kFaecher * kFaecher + 1, 0),
      anzahl_im_fach_(static_cast<size_t>(kFaecher) * kFaecher * kFaecher, 0),
      belegt_(static_cast<size_t>(kFaecher) * kFaecher, 0) {
  for (const int32_t foto : fotos) ++anzahl_im_fach_[Index(summen[static_cast<size_t>(foto)])];
  for (size_t i = 0; i < anzahl_im_fach_.size(); ++i) {
    anfang_[i + 1] = anfang_[i] + anzahl_im_fach_[i];
    if (anzahl_im_fach_[i] > 0)
      belegt_[i / kFaecher] |= static_cast<uint16_t>(1u << (i % kFaecher));
  }
  // In the order given within each bin.
  std::vector<int32_t> stelle(anfang_.begin(), anfang_.end() - 1);
  for (const int32_t foto : fotos) {
    fotos_[static_cast<size_t>(stelle[Index(summen[static_cast<size_t>(foto)])]++)] = foto;
  }
}

void Farbgitter::Entfernen(int32_t foto, const Farbsummen& summen) {
  const size_t fach = Index(summen);
  const auto anfang = fotos_.begin() + anfang_[fach];
  const auto ende = anfang + anzahl_im_fach_[fach];
  const auto stelle = std::find(anfang, ende, foto);
  if (stelle == ende) return;
  // The photos after it move up, so the bin keeps its order.
  std::copy(stelle + 1, ende, stelle);
  --anzahl_im_fach_[fach];
  --anzahl_;
  if (anzahl_im_fach_[fach] == 0) {
    belegt_[fach / kFaecher] &= static_cast<uint16_t>(~(1u << (fach % kFaecher)));
  }
}

}  // namespace tilvendo
