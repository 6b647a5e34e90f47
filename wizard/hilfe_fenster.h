// The help popup's geometry and the rule that keeps a second click on its button from
// opening it again at once.
#pragma once

#include <cstdint>

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
  bool unterhalb = false;  // opens below the button (the button shows "up")
};

// Placed at the button's screen position: above it, or below it when it would come
// closer than 6 pixels to the top of the screen.
HilfeFensterLage HilfeFensterPlatzieren(int32_t knopfX, int32_t knopfY, int32_t knopfHoehe,
                                        int32_t fensterHoehe);

enum class HilfeKlick {
  Oeffnen,
  Schliessen,  // mark the button closed and show nothing
};

// A click on a help button: `offen` is its open mark, `msSeitSchliessen` the time since
// the popup last closed, `seite` the help number (only 1..10 have texts).
HilfeKlick HilfeKlickPruefen(bool offen, double msSeitSchliessen, int32_t seite);

}  // namespace tilvendo::wizard
