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
      fach_(static_cast<size_t>(kFaecher) * kFaecher * kFaecher) {
  for (const int32_t foto : fotos) {
    const Farbsummen& s = summen[static_cast<size_t>(foto)];
    fach_[Index(Fach(s.rot), Fach(s.gruen), Fach(s.blau))].push_back(foto);
  }
}

void Farbgitter::Entfernen(int32_t foto, const Farbsummen& summen) {
  std::vector<int32_t>& fach =
      fach_[Index(Fach(summen.rot), Fach(summen.gruen), Fach(summen.blau))];
  const auto stelle = std::find(fach.begin(), fach.end(), foto);
  if (stelle == fach.end()) return;
  fach.erase(stelle);
  --anzahl_;
}

}  // namespace tilvendo
