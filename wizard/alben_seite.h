// The album selection page without Qt: the list it shows, the labels of the selected
// album and which buttons may be pressed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "albums/alben_kontext.h"
#include "albums/alben_zustand.h"
#include "albums/bildzahlen.h"
#include "platform/translate.h"

namespace tilvendo::wizard {

inline constexpr const char* kKeinAlbumGewaehlt = N_("< kein Album gewählt >");
// The list's tag for an album that is not chosen.
inline constexpr int kNichtGewaehlt = -1;

enum class Zustandsbild { Keines, Haekchen, KeinHaekchen };

struct Listeneintrag {
  std::string name;
  Zustandsbild bild = Zustandsbild::Keines;
  friend bool operator==(const Listeneintrag&, const Listeneintrag&) = default;
};

// Sums the catalogue into the summary entries and returns the list: the two summary
// entries on top without state picture, then every album of the catalogue by name
// (letter case ignored), checked when it is chosen.
std::vector<Listeneintrag> ListeFuellen(AlbenZustand& zustand, const AlbenKontext& kontext);

// What the page shows for the selected item.
struct Albenanzeige {
  int tag = kNichtGewaehlt;  // its position in AlbenAuswahl
  std::string aktAlbum = _(kKeinAlbumGewaehlt);
  Bildzahlen anzahl;
  std::string aktMedium;
  bool aktMediumSichtbar = false;
  bool loeschen = false;
  bool bearbeiten = false;
  bool weiter = false;
};

// The page's reaction to a new selection (`auswahl`: the caption of the selected item,
// none when nothing is selected). Sets AktMedium to the selected album's medium.
Albenanzeige AlbenChange(AlbenZustand& zustand, const AlbenKontext& kontext,
                         const std::optional<std::string>& auswahl);

// Albums may be deleted when they are not a summary entry, edited when they are chosen.
bool LoeschenMoeglich(int tag);
bool BearbeitenMoeglich(int tag);

// "weiter" on showing the page: there is a next page and pictures are chosen.
bool WeiterMoeglich(int naechsteSeite, const Bildzahlen& bilderAnzahl);

}  // namespace tilvendo::wizard
