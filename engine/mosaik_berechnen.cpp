#include "engine/mosaik_berechnen.h"

#include "engine/abgleich.h"
#include "engine/zusammenstellen.h"

namespace tilvendo {

void MosaikBerechnen(Auftrag& auftrag, Fortschritt& fortschritt, Arbeitsgruppe& gruppe) {
  const std::optional<Verwendungsliste> verwendung = KachelnZuordnen(auftrag, fortschritt, gruppe);
  if (verwendung) MosaikZusammenstellen(auftrag, fortschritt, *verwendung, gruppe);
}

}  // namespace tilvendo
