// The result page without Qt: its window size and place, its two captions, and the
// blending of the template into the screen-sized mosaic as the slider moves.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/bitmap.h"
#include "platform/rect.h"
#include "platform/translate.h"
#include "wizard/lupe.h"

namespace tilvendo::wizard {

// The window is never narrower than this, however narrow the picture.
inline constexpr int32_t kErgebnisMindestBreite = 420;

inline constexpr const char* kBlendHinweis =
    N_("stellen Sie hier ein, wie stark die Vorlage in das ERgebnisbild eingemischt wird");

// The magnifier's button and the list of placed photos.
inline constexpr const char* kLupeHinweis =
    N_("eingeschaltet vergrößert ein Klick in das Bild die Stelle darunter, ein Klick mit der "
       "rechten Maustaste verkleinert wieder; das Mausrad tut es immer");
inline constexpr const char* kListeKnopf = N_("Platzierungsliste speichern …");
inline constexpr const char* kListeTitel = N_("Platzierungsliste speichern");
inline constexpr const char* kListeFilter = N_("CSV-Tabellen (*.csv)");
inline constexpr const char* kListeName = N_("Platzierungsliste.csv");
inline constexpr const char* kListeFehler =
    N_("Die Platzierungsliste konnte nicht gespeichert werden: ");
inline constexpr const char* kListeGespeichert = N_("Platzierungsliste gespeichert: ");
// A photo double-clicked in the magnifier when the desktop has no program to show it.
inline constexpr const char* kKeinFotoprogramm =
    N_("Es wurde kein Programm zum Anzeigen von Fotos gefunden. Das Foto liegt unter: ");

// The window around a displayed picture of size `anzeige`: the frame added, and at
// least kErgebnisMindestBreite wide.
Size ErgebnisFenster(Size anzeige, int32_t rahmenBreite, int32_t rahmenHoehe);

// "Fotomosaik ist auf 36,35% der Originalgröße (2000 x 1500 Pixel) skaliert": the
// displayed width in per cent of the mosaic's, and the mosaic's size (the result size of
// the settings it was made with).
std::string Skalierungstext(int32_t anzeigeBreite, int32_t mosaikBreite, int32_t zielBreite,
                            int32_t zielHoehe);

// The same caption while the magnifier shows the mosaic: whole (not zoomed in), as
// above with the screen picture's width `anzeigeBreite`; zoomed in, at the magnifier's
// scale ("… auf 141,42% …" one step above the full resolution's 100%).
std::string Skalierungstext(const Lupe& lupe, int32_t anzeigeBreite);

// "gespeichert: /home/…/mosaik.jpg" while the mosaic shown counts as saved and a save
// succeeded (`zuletztGespeichert`, the file written); else empty. With `schwarzeKacheln`
// cells black where photos were meant the file is named as incomplete, never as saved
// plainly.
std::string Speicherhinweis(uint8_t ergebnisGespeichert, const std::string& zuletztGespeichert,
                            int32_t schwarzeKacheln = 0);

// "die Vorlage ist zu 25 % in das Fotomosaik eingeblendet" for slider position −15.
std::string Blendtext(int32_t position);

// The screen-sized result and the blending of the template into it. Only the screen
// picture is blended on a slider step: mosaic and template are reduced to its size
// once per showing, so a step is one pass over the screen's pixels.
class Ergebnisanzeige {
 public:
  // Reduces mosaic and template to the size of `anzeige` (the run's screen-sized copy,
  // which may already show an earlier blend) and blends it at `position`.
  void Vorbereiten(const Bitmap& mosaik, const Bitmap& vorlage, int32_t position, Bitmap& anzeige);

  // The slider moved to `position`: blends into `anzeige` unless that position was the
  // last one processed. Returns whether it blended.
  bool ReglerGeaendert(int32_t position, Bitmap& anzeige);

  // How often a blend was made (for the checks that a repeated position costs nothing).
  int32_t Blendungen() const { return blendungen_; }

  // The mosaic reduced to the screen picture's size, unblended.
  const Bitmap& Mosaik() const { return mosaik_; }

 private:
  void Blenden(int32_t position, Bitmap& anzeige);

  Bitmap mosaik_;
  Bitmap vorlage_;
  // No position yet, so the first change always counts.
  std::optional<int32_t> letztePosition_;
  int32_t blendungen_ = 0;
};

}  // namespace tilvendo::wizard
