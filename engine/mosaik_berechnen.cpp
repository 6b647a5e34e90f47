#include "engine/mosaik_berechnen.h"

#include <optional>
#include <utility>

#include "engine/abgleich.h"
#include "engine/zusammenstellen.h"

namespace tilvendo {

void MosaikBerechnen(Auftrag& auftrag, Fortschritt& fortschritt, Arbeitsgruppe& gruppe,
                     const Bandziel& bandziel, unsigned threads) {
  std::optional<Verwendungsliste> verwendung = KachelnZuordnen(auftrag, fortschritt, gruppe);
  if (!verwendung) return;
  // The plan is taken before composing, so that a large mosaic is composed now exactly as
  // it will be whenever it is saved later.
  const Mosaikplan& plan =
      auftrag.MosaikPlan.emplace(auftrag.einstellungen, auftrag.analyse, std::move(*verwendung));
  if (auftrag.MosaikInBaendern()) {
    MosaikInBaendernZusammenstellen(auftrag, fortschritt, plan, threads, bandziel);
  } else {
    MosaikZusammenstellen(auftrag, fortschritt, plan.Verwendung(), gruppe);
  }
}

}  // namespace tilvendo
