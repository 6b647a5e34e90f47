// The albums of one program run: those chosen for the mosaic, fully loaded, with the
// two summary entries in front, and the working copy the album editor changes.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "albums/alben_kontext.h"
#include "albums/bildzahlen.h"
#include "albums/galerie.h"
#include "albums/medium_bindung.h"
#include "platform/benutzer.h"
#include "platform/medien.h"
#include "platform/translate.h"

namespace tilvendo {

// Names of the two summary entries at the head of the album list.
inline constexpr const char* kAlleAlbenName = N_("alle vorhandenen Alben zusammen");
inline constexpr const char* kGewaehlteAlbenName = N_("alle gewählten Alben zusammen");
inline constexpr size_t kAlleAlbenPosition = 0;
inline constexpr size_t kGewaehlteAlbenPosition = 1;
// Position of the first chosen album.
inline constexpr size_t kErstesGewaehltesAlbum = 2;

class AlbenZustand {
 public:
  // The two summary entries with counts 0, nothing chosen.
  AlbenZustand();

  // Entry 0: counts of all albums; entry 1: counts of the chosen albums; from entry 2
  // one fully loaded record per chosen album, in the order of choosing.
  std::vector<TGalerieGlobal> Albenliste;
  // Parallel to Albenliste: entry i is the name of Albenliste[i].
  std::vector<std::string> AlbenAuswahl;
  // All album names of the catalogue (AlbennamenLaden).
  std::vector<std::string> AlbenNamen;
  // Working copy of the album being edited.
  TGalerieGlobal AktAlbum;
  // Medium of the album last selected on the selection page.
  AktuellesMedium AktMedium;

  // The chosen albums, which the engine reads.
  std::span<TGalerieGlobal> GewaehlteAlben();
  std::span<const TGalerieGlobal> GewaehlteAlben() const;

  // Position of `name` in AlbenAuswahl, letter case ignored; -1 when absent.
  int Position(std::string_view name) const;

  // Chooses album `name`: -1 (after the insert-medium warning) when AktMedium is not
  // present; its position when already chosen; otherwise loads it (scanning it when
  // it was never scanned) and appends it. Its Verzeichnisse become sorted and free
  // of repeats.
  int AlbumWaehlen(std::string_view name, const AlbenKontext& kontext, const Medien& medien,
                   Benutzer& benutzer);

  // Drops chosen album `position` (≥ 2) from memory; its files stay. Positions of the
  // summary entries or beyond the list are ignored.
  void AlbumAbwaehlen(size_t position);

  // Reloads AlbenNamen and recomputes the counts of entries 0 and 1 from the catalogue.
  void AlbenSummieren(const AlbenKontext& kontext);

  // The sums over the chosen albums as loaded (for BilderAnzahl).
  Bildzahlen GewaehlteBilderZaehlen() const;
};

}  // namespace tilvendo
