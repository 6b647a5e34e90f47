#include "engine/mosaik_berechnen.h"

#include <memory>
#include <optional>
#include <utility>

#include "engine/abgleich.h"

namespace tilvendo {

void MosaikBerechnen(Auftrag& auftrag, Fortschritt& fortschritt, Arbeitsgruppe& gruppe,
                     const Zusammenstellziel& ziel, unsigned threads) {
  std::optional<Verwendungsliste> verwendung = KachelnZuordnen(auftrag, fortschritt, gruppe);
  if (!verwendung) return;
  // The plan is taken before composing, so that a mosaic composed again later (a poster
  // when it is saved) is composed exactly as now.
  auto plan =
      std::make_shared<Mosaikplan>(auftrag.einstellungen, auftrag.analyse, std::move(*verwendung));
  MosaikZusammenstellen(auftrag, fortschritt, std::move(plan), ziel, threads);
}

}  // namespace tilvendo
