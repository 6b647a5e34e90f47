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
  // The most promising pairs found so far, (reduced cost, photo, distance), the least
  // promising of them on top: once there are enough, a photo must beat that one, and the
  // photos left to look at narrow down with it. One is kept even when none is asked for,
  // since the most negative reduced cost is the answer.
  const size_t behalten = std::max<size_t>(hoechstens, 1);
  thread_local std::vector<std::tuple<int64_t, int32_t, int32_t>> beste;
  beste.clear();
  // The reduced cost a pair must reach at most to be kept.
  const auto grenze = [&]() -> int64_t {
    return beste.size() < behalten ? -1 : std::get<0>(beste.front());
  };
  for (const Gruppe& gruppe : gruppen_) {
    // No photo of the group is priced higher, and no distance is below 0.
    if (gruppe.hoechsterPreis - zellPreis + grenze() < 0) continue;
    // The distance a photo of the group must reach at most, +1: the grid's bound is
    // exclusive.
    const auto obergrenze = [&] {
      return static_cast<int32_t>(
          std::clamp<int64_t>(gruppe.hoechsterPreis - zellPreis + grenze() + 1, 0, INT32_MAX));
    };
    const auto pruefen = [&](int32_t foto) {
      const int64_t spielraum = loesung_.fotoPotential[static_cast<size_t>(foto)] - zellPreis;
      if (foto != zugeordnet &&
          Mindestdistanz(summen, daten_.FotoSummen(foto), formanalyse) <= spielraum + grenze()) {
        const int32_t d = daten_.Distanz(zelle, foto);
        const std::tuple<int64_t, int32_t, int32_t> paar(d - spielraum, foto, d);
        if (d - spielraum < 0 && (beste.size() < behalten || paar < beste.front())) {
          if (beste.size() == behalten) {
            std::pop_heap(beste.begin(), beste.end());
            beste.pop_back();
          }
          beste.push_back(paar);
          std::push_heap(beste.begin(), beste.end());
        }
      }
      return obergrenze();
    };
    for (const int32_t foto : gruppe.fotos) pruefen(foto);
    gruppe.gitter.Durchsuchen(summen, obergrenze(), pruefen);
  }
  std::sort_heap(beste.begin(), beste.end());
  const int64_t kleinste = beste.empty() ? 0 : std::get<0>(beste.front());
  for (size_t k = 0; k < std::min(beste.size(), hoechstens); ++k) {
    neu.partner.push_back(std::get<1>(beste[k]));
    neu.distanz.push_back(std::get<2>(beste[k]));
  }
  return kleinste;
}

}  // namespace tilvendo
