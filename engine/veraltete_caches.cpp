#include "engine/veraltete_caches.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <unordered_set>

#include "albums/alben_kontext.h"
#include "albums/alben_zustand.h"
#include "albums/signaturdatei.h"
#include "platform/paths.h"

namespace tilvendo {

std::vector<std::string> VeralteteCachesMarkieren(const Auftrag& auftrag,
                                                  std::vector<TGalerieGlobal>& albenliste,
                                                  const std::vector<std::string>& dateien,
                                                  Benutzer& benutzer) {
  std::vector<std::string> meldungen;
  if (dateien.empty()) return meldungen;
  const std::unordered_set<std::string> unlesbar(dateien.begin(), dateien.end());
  const AlbenKontext kontext{MitSchraegstrich(auftrag.AlbenPfad), &benutzer,
                             auftrag.AlbenSperrFrist};
  const auto formanalyse = static_cast<uint8_t>(auftrag.analyse.Formanalyse);
  const std::string variante = CacheVariante(auftrag.einstellungen.verfahren);
  for (size_t i = kErstesGewaehltesAlbum; i < albenliste.size(); ++i) {
    TGalerieGlobal& album = albenliste[i];
    if (std::none_of(album.Dateien.begin(), album.Dateien.end(),
                     [&](const std::string& datei) { return unlesbar.count(datei) != 0; })) {
      continue;
    }
    try {
      // Opened and closed as damaged: the key says "rebuild" whether the cache was still
      // valid or not, and a cache opened for a rebuild is never replaced by an empty one.
      Signaturdatei datei;
      SignaturdateiOeffnen(datei, formanalyse, album, kontext, variante);
      datei.AlsBeschaedigtMarkieren();
      if (std::optional<std::string> fehler =
              SignaturdateiSchliessen(datei, formanalyse, album, kontext, variante)) {
        meldungen.push_back(*fehler);
      }
    } catch (const std::exception& fehler) {
      meldungen.emplace_back(fehler.what());
    }
  }
  return meldungen;
}

}  // namespace tilvendo
