// Where the wizard's one window stands on the screen while it shows page after page.
#pragma once

#include <cstdint>

#include "platform/rect.h"

namespace tilvendo::wizard {

// Top-left corner of a window (its frame) on the screen.
struct Lage {
  int32_t links = 0;
  int32_t oben = 0;
  friend bool operator==(const Lage&, const Lage&) = default;
};

// The corner that centres a window of size `fenster` on a screen of size `bildschirm`
// (halves truncated).
Lage FensterZentrieren(Size bildschirm, Size fenster);

// The room a window standing at `lage` may take without moving: from there to the right
// and bottom edges of the free area `frei` (a corner outside it counts from its edge).
Size FensterRaum(Rect frei, Lage lage);

// The window's size for the next page. It keeps the size it has (`bisher`: the largest
// page's so far, or what the user resized it to, `vomBenutzer`), grown to the page's wish
// unless the user chose the size, never below the page's least size `mindest`, and
// within `raum` (FensterRaum) as far as the least size allows. An invalid `bisher` (no
// page shown yet) counts as none.
Size FensterGroesse(Size bisher, Size wunsch, Size mindest, Size raum, bool vomBenutzer);

// Where the window stands after it took the size `fenster` of the next page: where it
// stood (`bisher`), unless that size would reach beyond the free area `frei` of the
// screen; then it moves as little as needed to fit. A window larger than the free area
// keeps its left and top edges on it.
Lage FensterHalten(Rect frei, Lage bisher, Size fenster);

}  // namespace tilvendo::wizard
