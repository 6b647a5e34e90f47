// Reducing working-format pixels (blue, green, red, x) to the smaller bitmap formats.
//
// 16 bits keep the top 5-6-5 bits of each channel (the layout of the bitmap type's
// 16-bit format). 8 bits choose a 256-colour palette from the picture by median cut and
// map the pixels onto it with Floyd–Steinberg error diffusion, so gradients do not band.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/bitmap.h"

namespace tilvendo {

// One row of `width` working-format pixels to 24-bit blue-green-red.
void ZeileZu24(const uint8_t* bgrx, uint8_t* out, int32_t width);
// The same in the order red, green, blue (PNG and TIFF).
void ZeileZuRgb(const uint8_t* bgrx, uint8_t* out, int32_t width);
// 24-bit blue-green-red back to the working format; the fourth byte becomes 0.
void ZeileAus24(const uint8_t* bgr, uint8_t* bgrx, int32_t width);
// One row to little-endian 5-6-5 words.
void ZeileZu16(const uint8_t* bgrx, uint8_t* out, int32_t width);

// Median cut: counts the colours of the rows it is shown, then splits the colour cube
// into at most 256 boxes and takes each box's mean colour. A picture of at most 256
// colours that differ in their top five bits gets exactly its own colours.
class PalettenWahl {
 public:
  PalettenWahl();
  void Zeile(const uint8_t* bgrx, int32_t width);
  // 256 entries; when the picture has fewer colours, the entries left over repeat the
  // first one (all black for a picture without pixels).
  Palette Waehlen() const;

 private:
  std::vector<uint32_t> anzahl_;  // pixels per 5-5-5 cell
  std::vector<uint64_t> summe_;   // per cell the sums of blue, green, red
};

// Floyd–Steinberg error diffusion onto a fixed palette. Rows go in the order they are
// given; each row's remaining error flows into the next one.
class FehlerStreuung {
 public:
  FehlerStreuung(const Palette& palette, int32_t width);
  void Zeile(const uint8_t* bgrx, uint8_t* indices);

 private:
  uint8_t Naechster(int32_t blue, int32_t green, int32_t red);

  Palette palette_;
  int32_t width_;
  std::vector<int32_t> fehler_;    // this row's incoming error, 1/16 units, 3 per pixel
  std::vector<int32_t> naechste_;  // error collected for the next row
  std::vector<int16_t> nachbar_;   // nearest palette index per 6-6-6 cell, −1 unknown
};

// A working-format picture converted to `ziel` (a new picture; 8 bits with its chosen
// palette). Rows are diffused bottom row first, the order in which files are written.
Bitmap InFormatWandeln(const Bitmap& arbeitsbild, PixelFormat ziel);

}  // namespace tilvendo
