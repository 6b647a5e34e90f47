#include "engine/preissuche.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace tilvendo {
namespace {

// Groups up to this size are walked through: their grid would cost more than it spares.
constexpr size_t kKleineGruppe = 64;

}  // namespace

Preissuche::Preissuche(const Zuordnungsdaten& daten, const Flussloesung& loesung)
    : daten_(daten), loesung_(loesung) {
  std::vector<int32_t> nachPreis(daten.Fotos());
  std::iota(nachPreis.begin(), nachPreis.end(), 0);
  const std::vector<int64_t>& preis = loesung.fotoPotential;
  std::stable_sort(nachPreis.begin(), nachPreis.end(), [&](int32_t a, int32_t b) {
    return preis[static_cast<size_t>(a)] > preis[static_cast<size_t>(b)];
  });
  // Groups of 1, 2, 4, … photos from the dearest down.
  for (size_t anfang = 0, groesse = 1; anfang < nachPreis.size(); anfang += groesse, groesse *= 2) {
    const size_t ende = std::min(nachPreis.size(), anfang + groesse);
    Gruppe gruppe;
    gruppe.hoechsterPreis = preis[static_cast<size_t>(nachPreis[anfang])];
    gruppe.fotos.assign(nachPreis.begin() + static_cast<std::ptrdiff_t>(anfang),
                        nachPreis.begin() + static_cast<std::ptrdiff_t>(ende));
    if (gruppe.fotos.size() > kKleineGruppe) {
      gruppe.gitter = Farbgitter(gruppe.fotos, daten.AlleFotoSummen(), daten.Formanalyse());
      gruppe.fotos.clear();
    }
    gruppen_.push_back(std::move(gruppe));
  }
}

int64_t Preissuche::Bewerten(size_t zelle, int32_t zugeordnet, size_t hoechstens,
                             Partnerliste& neu) const {
  neu = Partnerliste{};
  const int64_t zellPreis = loesung_.zellPotential[zelle];
  const Farbsummen& summen = daten_.ZellSummen(zelle);
  const int formanalyse = daten_.Formanalyse();
  thread_local std::vector<std::tuple<int64_t, int32_t, int32_t>> gewinn;
  gewinn.clear();
  int64_t kleinste = 0;
  for (const Gruppe& gruppe : gruppen_) {
    // No photo of the group is priced higher, and no distance is below 0.
    const int64_t schranke = gruppe.hoechsterPreis - zellPreis;
    if (schranke <= 0) continue;
    const auto obergrenze = static_cast<int32_t>(std::min<int64_t>(schranke, INT32_MAX));
    const auto pruefen = [&](int32_t foto) {
      const int64_t spielraum = loesung_.fotoPotential[static_cast<size_t>(foto)] - zellPreis;
      if (foto != zugeordnet &&
          Mindestdistanz(summen, daten_.FotoSummen(foto), formanalyse) < spielraum) {
        const int32_t d = daten_.Distanz(zelle, foto);
        if (d < spielraum) {
          gewinn.emplace_back(d - spielraum, foto, d);
          kleinste = std::min(kleinste, d - spielraum);
        }
      }
      return obergrenze;
    };
    for (const int32_t foto : gruppe.fotos) pruefen(foto);
    gruppe.gitter.Durchsuchen(summen, obergrenze, pruefen);
  }
  const size_t anzahl = std::min(gewinn.size(), hoechstens);
  std::partial_sort(gewinn.begin(), gewinn.begin() + static_cast<std::ptrdiff_t>(anzahl),
                    gewinn.end());
  for (size_t k = 0; k < anzahl; ++k) {
    neu.partner.push_back(std::get<1>(gewinn[k]));
    neu.distanz.push_back(std::get<2>(gewinn[k]));
  }
  return kleinste;
}

}  // namespace tilvendo
