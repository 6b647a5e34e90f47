// The help popup's geometry and the rule that keeps a second click on its button from
// opening it again at once.
#pragma once

#include <cstdint>

#include "platform/rect.h"

namespace tilvendo::wizard {

inline constexpr int32_t kHilfeZeilenHoehe = 15;  // pixels per wrapped line, at least
inline constexpr int32_t kHilfeEckenRadius = 20;  // width and height of the corner ellipses
// The text keeps clear of the black border and of the rounded corners: half a corner
// ellipse on the left and right, a little less above the first and below the last line.
inline constexpr int32_t kHilfeRandLinks = kHilfeEckenRadius / 2;  // left and right of a line
inline constexpr int32_t kHilfeRandOben = 6;                       // above the first line
inline constexpr int32_t kHilfeRandUnten = 6;                      // below the last line
inline constexpr int32_t kHilfeBildschirmRand = 6;
// A click within this time after the popup closed is the click that closed it.
inline constexpr double kHilfeSchliessZeitMs = 200.0;

// Half the client width of the button's parent.
int32_t HilfeFensterBreite(int32_t elternBreite);
// The width the text is wrapped at: half the page's client width less 5.
int32_t HilfeUmbruchBreite(int32_t seitenBreite);
// The most a line may take in a popup of that width, with the margins on both sides.
int32_t HilfeTextBreite(int32_t fensterBreite);
// The height of one line: 15 pixels, or the font's line spacing where that is more, so
// no line is cut.
int32_t HilfeZeilenHoehe(int32_t zeilenabstand);
// The lines and the margins above and below them.
int32_t HilfeFensterHoehe(int32_t zeilen, int32_t zeilenHoehe);

struct HilfeFensterLage {
  int32_t links = 0;
  int32_t oben = 0;
  int32_t hoehe = 0;       // less than asked for when the text must scroll
  bool unterhalb = false;  // opens below the button (the button shows "up")
  friend bool operator==(const HilfeFensterLage&, const HilfeFensterLage&) = default;
};

// Placed at the button `knopf` on the screen whose free area is `frei`, 6 pixels clear
// of its edges: above the button, or below it when it would come closer than that to
// the top of the screen. A popup too high for either side takes the side with more room,
// as high as that allows, and scrolls its text; one too wide moves left as far as needed.
HilfeFensterLage HilfeFensterPlatzieren(Rect frei, Rect knopf, int32_t breite, int32_t hoehe);

enum class HilfeKlick {
  Oeffnen,
  Schliessen,  // mark the button closed and show nothing
};

// A click on a help button: `offen` is its open mark, `msSeitSchliessen` the time since
// the popup last closed, `seite` the help number (only 1..10 have texts).
HilfeKlick HilfeKlickPruefen(bool offen, double msSeitSchliessen, int32_t seite);

}  // namespace tilvendo::wizard
