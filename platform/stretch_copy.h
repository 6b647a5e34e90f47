// The plain stretch copy: the whole source drawn into a rectangle of the destination,
// scaled independently in both directions, without blending.
//
// Each destination pixel takes the colour of exactly one source pixel. Destination
// column d of a rectangle D pixels wide shows source column floor((d + 0.5) * S / D) of
// a source S pixels wide (the source pixel under the destination pixel's centre); rows
// likewise. Surplus rows and columns are thus dropped, never averaged.
//
// Parts of the rectangle outside the destination are clipped; an empty or inverted
// rectangle draws nothing. Any source format may be drawn into any destination format.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/bitmap.h"
#include "platform/rect.h"

namespace tilvendo {

void StretchCopy(const Bitmap& source, Bitmap& destination, Rect rect);

// The source index for each of `destinationLength` positions (exposed for tests).
std::vector<int32_t> StretchIndexMap(int32_t sourceLength, int32_t destinationLength);

}  // namespace tilvendo
