// The pages of the wizard: their numbers and titles.
#pragma once

#include <cstdint>
#include <string>

namespace tilvendo::wizard {

// Page numbers; a page's number is also its tag and the value of `AktSeite` that shows it.
enum class Seite : uint16_t {
  Keine = 0,
  Vorlage = 1,
  Zielgroesse = 2,
  Kachelung = 3,
  Alben = 4,
  Erweitert = 5,
  Ergebnis = 6,
  Uebersicht = 7,
  AlbumEditor = 8,
  Information = 9,
  SpeichernOptionen = 10,
};

inline constexpr uint16_t kSeitenAnzahl = 10;

inline uint16_t Nummer(Seite seite) {
  return static_cast<uint16_t>(seite);
}

// The title of page 1..10 ("Vorlage wählen" …); the empty text for any other number.
std::string PageTitle(int nummer);

// Whether the page loop shows a page of this number itself (the album editor and the
// save options are opened by other pages).
bool VomSeitenlaufGezeigt(int nummer);

}  // namespace tilvendo::wizard
