#include "engine/mosaik_berechnen.h"

#include "engine/abgleich.h"
#include "engine/zusammenstellen.h"

namespace tilvendo {

void MosaikBerechnen(Auftrag& auftrag, Fortschritt& fortschritt, Arbeitsgruppe& gruppe,
                     const Bandziel& bandziel, unsigned threads) {
  const std::optional<Verwendungsliste> verwendung = KachelnZuordnen(auftrag, fortschritt, gruppe);
  if (!verwendung) return;
  if (auftrag.MosaikInBaendern) {
    MosaikInBaendernZusammenstellen(auftrag, fortschritt, *verwendung, threads, bandziel);
  } else {
    MosaikZusammenstellen(auftrag, fortschritt, *verwendung, gruppe);
  }
}

}  // namespace tilvendo
