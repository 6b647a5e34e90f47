#include "engine/mosaik_berechnen.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "engine/abgleich.h"

namespace tilvendo {

void SignaturenMitgeben(const Auftrag& auftrag, Mosaikplan& plan) {
  const Zellenraster* raster = auftrag.einstellungen.Raster.get();
  if (raster == nullptr || raster->kachelnX() != plan.KachelnX() ||
      raster->kachelnY() != plan.KachelnY()) {
    return;
  }
  const int formanalyse = auftrag.analyse.Formanalyse;
  std::unordered_map<std::string_view, int32_t> nummern;
  for (size_t i = 0; i < auftrag.kachelliste.Anzahl(); ++i) {
    const Kachelsignatur& signatur = auftrag.kachelliste.Knoten(static_cast<int32_t>(i)).signatur;
    if (signatur.Nummer < 0 || static_cast<size_t>(signatur.Nummer) >= auftrag.Dateiliste.size()) {
      continue;
    }
    nummern.emplace(auftrag.Dateiliste[static_cast<size_t>(signatur.Nummer)],
                    static_cast<int32_t>(i));
  }
  const Verwendungsliste& verwendung = plan.Verwendung();
  std::vector<GepackteFelder> fotos(verwendung.Anzahl());
  for (size_t k = 0; k < verwendung.Anzahl(); ++k) {
    const auto gefunden = nummern.find(verwendung[k].datei);
    if (gefunden == nummern.end()) return;  // a photo without signature: nothing to rank by
    fotos[k] = Packen(auftrag.kachelliste.Knoten(gefunden->second).signatur, formanalyse);
  }
  std::vector<GepackteFelder> zellen;
  zellen.reserve(static_cast<size_t>(plan.KachelnX()) * static_cast<size_t>(plan.KachelnY()));
  for (int y = 1; y <= plan.KachelnY(); ++y) {
    for (int x = 1; x <= plan.KachelnX(); ++x) {
      zellen.push_back(Packen(raster->at(x, y).signatur, formanalyse));
    }
  }
  plan.SignaturenSetzen(std::move(fotos), std::move(zellen));
}

void MosaikBerechnen(Auftrag& auftrag, Fortschritt& fortschritt, Arbeitsgruppe& gruppe,
                     const Zusammenstellziel& ziel, unsigned threads) {
  std::optional<Verwendungsliste> verwendung = KachelnZuordnen(auftrag, fortschritt, gruppe);
  if (!verwendung) return;
  // The plan is taken before composing, so that a mosaic composed again later (a poster
  // when it is saved) is composed exactly as now.
  auto plan =
      std::make_shared<Mosaikplan>(auftrag.einstellungen, auftrag.analyse, std::move(*verwendung));
  SignaturenMitgeben(auftrag, *plan);
  MosaikZusammenstellen(auftrag, fortschritt, std::move(plan), ziel, threads);
}

}  // namespace tilvendo
