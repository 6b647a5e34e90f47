#include "engine/vorbelegung.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <tuple>

#include "engine/abstandsausgleich.h"

namespace tilvendo {
namespace {

constexpr int32_t kUnbegrenzt = std::numeric_limits<int32_t>::max();
// Photos with uses to spare kept for each cell whose near photos were all used up, and
// how many of those nearest in mean colour are measured to find them: where every near
// photo is used up the free ones lie far, and many of them alike far.
constexpr size_t kFreieJeZelle = 8;
constexpr int32_t kFreieGemessen = 1024;

// Sorts a cell's photos by distance, nearest first.
void NachDistanzOrdnen(Partnerliste& liste) {
  std::vector<std::pair<int32_t, int32_t>> paare;
  for (size_t k = 0; k < liste.partner.size(); ++k) {
    paare.emplace_back(liste.distanz[k], liste.partner[k]);
  }
  std::stable_sort(paare.begin(), paare.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t k = 0; k < paare.size(); ++k) {
    liste.distanz[k] = paare[k].first;
    liste.partner[k] = paare[k].second;
  }
}

// The nearest of the free photos nearest in mean colour to cell c.
void NaechsteFreie(const Zuordnungsdaten& daten, const Farbgitter& freie, size_t c,
                   Partnerliste& gefunden) {
  const Farbsummen& summen = daten.ZellSummen(c);
  const int formanalyse = daten.Formanalyse();
  // The nearest kFreieJeZelle, the farthest of them on top.
  std::vector<std::pair<int32_t, int32_t>> beste;
  const auto schranke = [&] {
    return beste.size() < kFreieJeZelle ? kUnbegrenzt : beste.front().first;
  };
  int32_t gemessen = 0;
  freie.Durchsuchen(summen, kUnbegrenzt, [&](int32_t p) {
    if (++gemessen > kFreieGemessen) return 0;
    if (Mindestdistanz(summen, daten.FotoSummen(p), formanalyse) < schranke()) {
      const int32_t d = daten.Distanz(c, p);
      if (d < schranke()) {
        if (beste.size() == kFreieJeZelle) {
          std::pop_heap(beste.begin(), beste.end());
          beste.pop_back();
        }
        beste.emplace_back(d, p);
        std::push_heap(beste.begin(), beste.end());
      }
    }
    return schranke();
  });
  std::sort_heap(beste.begin(), beste.end());
  gefunden = Partnerliste{};
  for (const auto& [d, p] : beste) {
    gefunden.partner.push_back(p);
    gefunden.distanz.push_back(d);
  }
}

}  // namespace

std::vector<int32_t> Vorbelegen(Zuordnungsdaten& daten, const std::vector<int32_t>& unten,
                                const std::vector<int32_t>& oben) {
  const size_t zellen = daten.Zellen();
  std::vector<int32_t> foto(zellen, kKeinBild);
  std::vector<int32_t> nutzung(daten.Fotos(), 0);
  const auto setzen = [&](size_t c, int32_t p) {
    foto[c] = p;
    ++nutzung[static_cast<size_t>(p)];
  };

  // 1. The photos that must be used.
  std::vector<std::pair<int32_t, int32_t>> pflicht;  // (nearest distance, photo)
  for (size_t p = 0; p < daten.naheZellen.size(); ++p) {
    const Partnerliste& liste = daten.naheZellen[p];
    if (unten[p] > 0 && !liste.partner.empty()) {
      pflicht.emplace_back(liste.distanz.front(), static_cast<int32_t>(p));
    }
  }
  std::sort(pflicht.begin(), pflicht.end());
  for (const auto& [naechste, p] : pflicht) {
    const Partnerliste& liste = daten.naheZellen[static_cast<size_t>(p)];
    for (const int32_t c : liste.partner) {
      if (foto[static_cast<size_t>(c)] == kKeinBild) {
        setzen(static_cast<size_t>(c), p);
        break;
      }
    }
  }

  // 2. The closest pairs of the cells' nearest photos.
  std::vector<std::tuple<int32_t, int32_t, int32_t>> paare;  // (distance, cell, photo)
  for (size_t c = 0; c < zellen; ++c) {
    if (foto[c] != kKeinBild) continue;
    const Partnerliste& liste = daten.naheFotos[c];
    for (size_t k = 0; k < liste.partner.size(); ++k) {
      paare.emplace_back(liste.distanz[k], static_cast<int32_t>(c), liste.partner[k]);
    }
  }
  std::sort(paare.begin(), paare.end());
  for (const auto& [d, c, p] : paare) {
    if (foto[static_cast<size_t>(c)] == kKeinBild &&
        nutzung[static_cast<size_t>(p)] < oben[static_cast<size_t>(p)]) {
      setzen(static_cast<size_t>(c), p);
    }
  }

  // 3. Each cell left, in cell order: the nearest of the photos with uses to spare
  // nearest in mean colour. The photos found also join the cell's near photos: a cell
  // that lost all of those is where the flow needs pairs further out.
  const int formanalyse = daten.Formanalyse();
  std::vector<int32_t> frei;
  for (int32_t p = 0; p < static_cast<int32_t>(daten.Fotos()); ++p) {
    if (nutzung[static_cast<size_t>(p)] < oben[static_cast<size_t>(p)]) frei.push_back(p);
  }
  Farbgitter freie(frei, daten.AlleFotoSummen(), formanalyse);
  for (size_t c = 0; c < zellen && !freie.Leer(); ++c) {
    if (foto[c] != kKeinBild) continue;
    Partnerliste gefunden;
    NaechsteFreie(daten, freie, c, gefunden);
    if (gefunden.partner.empty()) continue;
    const int32_t p = gefunden.partner.front();
    setzen(c, p);
    if (nutzung[static_cast<size_t>(p)] >= oben[static_cast<size_t>(p)]) {
      freie.Entfernen(p, daten.FotoSummen(p));
    }
    Partnerliste& nahe = daten.naheFotos[c];
    for (size_t k = 0; k < gefunden.partner.size(); ++k) {
      if (std::find(nahe.partner.begin(), nahe.partner.end(), gefunden.partner[k]) ==
          nahe.partner.end()) {
        nahe.partner.push_back(gefunden.partner[k]);
        nahe.distanz.push_back(gefunden.distanz[k]);
      }
    }
    NachDistanzOrdnen(nahe);
  }
  // 4. Each photo that must be used and is not yet: the nearest of the cells nearest in
  // mean colour whose photo can spare it, so that the flow starts from an assignment
  // that keeps every limit.
  std::vector<int32_t> zellenListe(zellen);
  std::iota(zellenListe.begin(), zellenListe.end(), 0);
  const Farbgitter zellGitter(zellenListe, daten.AlleZellSummen(), formanalyse);
  std::vector<uint8_t> gesetzt(zellen, 0);  // cells given a photo that must be used
  for (size_t p = 0; p < daten.Fotos(); ++p) {
    if (nutzung[p] >= unten[p]) continue;
    const Farbsummen& summen = daten.FotoSummen(static_cast<int32_t>(p));
    int32_t besteZelle = -1;
    int32_t beste = kUnbegrenzt;
    int32_t gemessen = 0;
    zellGitter.Durchsuchen(summen, kUnbegrenzt, [&](int32_t c) {
      const int32_t bisher = foto[static_cast<size_t>(c)];
      if (gesetzt[static_cast<size_t>(c)] != 0 ||
          (bisher != kKeinBild &&
           nutzung[static_cast<size_t>(bisher)] <= unten[static_cast<size_t>(bisher)])) {
        return beste;
      }
      if (++gemessen > kFreieGemessen) return 0;
      if (Mindestdistanz(summen, daten.ZellSummen(static_cast<size_t>(c)), formanalyse) < beste) {
        const int32_t d = daten.Distanz(static_cast<size_t>(c), static_cast<int32_t>(p));
        if (d < beste) {
          beste = d;
          besteZelle = c;
        }
      }
      return beste;
    });
    if (besteZelle < 0) continue;
    const auto c = static_cast<size_t>(besteZelle);
    if (foto[c] != kKeinBild) --nutzung[static_cast<size_t>(foto[c])];
    setzen(c, static_cast<int32_t>(p));
    gesetzt[c] = 1;
    Partnerliste& nahe = daten.naheFotos[c];
    if (std::find(nahe.partner.begin(), nahe.partner.end(), static_cast<int32_t>(p)) ==
        nahe.partner.end()) {
      nahe.partner.push_back(static_cast<int32_t>(p));
      nahe.distanz.push_back(beste);
      NachDistanzOrdnen(nahe);
    }
  }
  return foto;
}

}  // namespace tilvendo
