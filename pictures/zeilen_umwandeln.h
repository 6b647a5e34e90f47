// Turning the rows the picture libraries deliver into the blue-green-red rows the readers
// hand on. A transparent pixel is shown as if laid over black: its colour is weighed by
// its opacity.
#pragma once

#include <cstdint>

namespace tilvendo {

// `breite` pixels of red, green, blue into blue, green, red (may not overlap).
void RgbZuBgr(const uint8_t* rgb, uint8_t* bgr, int32_t breite);

// `breite` pixels of red, green, blue, alpha (not premultiplied) over black.
void RgbaZuBgr(const uint8_t* rgba, uint8_t* bgr, int32_t breite);

// `breite` premultiplied pixels of red, green, blue, alpha: the colour is already weighed.
void RgbaVormultipliziertZuBgr(const uint8_t* rgba, uint8_t* bgr, int32_t breite);

// `breite` pixels of blue, green, red, alpha (not premultiplied) over black.
void BgraZuBgr(const uint8_t* bgra, uint8_t* bgr, int32_t breite);

// `breite` premultiplied pixels of blue, green, red, alpha: the colour is already weighed.
void BgraVormultipliziertZuBgr(const uint8_t* bgra, uint8_t* bgr, int32_t breite);

// `breite` pixels of cyan, magenta, yellow and black ink into blue, green, red. Each
// colour is what its ink and the black ink leave of white, the two shares multiplied:
// red = (255 − cyan) · (255 − black) / 255. Adobe's programs store the inks inverted
// (255 for no ink); `invertiert` reads them so.
void CmykZuBgr(const uint8_t* cmyk, uint8_t* bgr, int32_t breite, bool invertiert);

}  // namespace tilvendo
