// The edits of the album state that the album pages and the command line make: create,
// edit, delete, choose and unchoose. Each keeps Albenliste and AlbenAuswahl parallel;
// nothing else changes those lists.
//
// Creating and editing go through the album editor in between: "Beginnen" sets up the
// working copy AktAlbum, the editor changes it (albums/album_bearbeitung.h), and
// "Abschliessen" takes it back into the album's record and saves it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "albums/alben_kontext.h"
#include "albums/alben_zustand.h"
#include "albums/bildzahlen.h"
#include "platform/benutzer.h"
#include "platform/medien.h"
#include "platform/translate.h"

namespace tilvendo {

// Name a new album is offered under, followed by the first free number.
inline constexpr const char* kNeuesAlbumName = N_("neues Album ");

// An album open in the editor.
struct AlbumImEditor {
  size_t position = 0;  // its entry in Albenliste and AlbenAuswahl
  bool neu = false;     // created by NeuesAlbumBeginnen
  std::string name;     // the editor's name field
  Bildzahlen anzahl;    // the counts the editor shows; each scan replaces them
};

// A new album, chosen at once: file name FreierAlbumDateiname, name "neues Album
// <first free number>", no folders. AktAlbum becomes its working copy. Tidies the album
// folder first (albums/aufraeumen.h).
AlbumImEditor NeuesAlbumBeginnen(AlbenZustand& zustand, const AlbenKontext& kontext,
                                 Benutzer& benutzer);

// Chosen album `position` (≥ 2) in the editor under its name; nothing for a summary
// entry or a position beyond the list.
std::optional<AlbumImEditor> AlbumBearbeitenBeginnen(AlbenZustand& zustand, size_t position);

// After the editor closed: an edited album moves to the name in the editor's field,
// the working copy and the counts go back into the record, and it is saved (the album
// folder made first). A new album that cannot be saved is unchosen again before the
// error goes on, so that no album outside the catalogue stays chosen.
void AlbumBearbeitungAbschliessen(AlbenZustand& zustand, const AlbenKontext& kontext,
                                  const AlbumImEditor& editor);

// Moves `album` to the catalogue name `neu` (also when it is its old name) and saves it.
void AlbumUnterNeuemNamenSpeichern(const AlbenKontext& kontext, TGalerieGlobal& album,
                                   std::string_view neu);

// Deletes album `name` from the catalogue with its files, and unchooses it when it was
// chosen; then tidies the album folder. The summary entries are left alone.
void AlbumLoeschenUndAbwaehlen(AlbenZustand& zustand, const AlbenKontext& kontext,
                               std::string_view name);

// Makes album `name` the selected one: AktMedium becomes its medium (read from the
// catalogue unless the album is chosen).
void AlbumAuswahlSetzen(AlbenZustand& zustand, const AlbenKontext& kontext, std::string_view name);

// Chooses album `name` with its medium as AktMedium: its position, or -1 when its
// removable medium is not inserted (after the warning).
int AlbumAuswaehlen(AlbenZustand& zustand, const AlbenKontext& kontext, const Medien& medien,
                    Benutzer& benutzer, std::string_view name);

// Chooses an album that is not chosen, unchooses a chosen one. Returns its position
// afterwards: ≥ 2 when chosen, -1 when not (unchosen, or refused for a missing medium),
// 0 or 1 for the summary entries, which stay.
int AlbumAuswahlUmschalten(AlbenZustand& zustand, const AlbenKontext& kontext, const Medien& medien,
                           Benutzer& benutzer, std::string_view name);

}  // namespace tilvendo
