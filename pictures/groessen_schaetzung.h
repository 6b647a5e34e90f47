// How large a compressed file will be, told before it is written.
//
// A JPEG's or PNG's size depends on what is in the picture, and a mosaic's fine detail
// (the photos in its tiles) is exactly what a reduced preview loses: the preview
// compresses far worse per pixel than the full picture, so scaling its length up
// overshoots. The estimate therefore encodes a sample of the picture at full resolution
// (whole tiles, see engine/mosaikprobe.h) and carries its bytes per pixel over.
#pragma once

#include <cstdint>
#include <span>

#include "pictures/streifen_quelle.h"

namespace tilvendo {

// The estimated length of a JPEG file at `qualitaet` (1..100, as the writer takes it) of
// a picture of `pixel` pixels whose content is like that of `probe`, a sample of it at its
// full resolution: the sample is encoded whole, its header counted once and its coded
// data carried over by the pixels. A sample that is the whole picture gives the file's
// exact length. 0 for an empty sample.
int64_t JpegGroesseHochrechnen(StreifenQuelle& probe, int32_t qualitaet, int64_t pixel);

// The same for a PNG file: the sample's bytes per pixel carried over, within what a file
// of that size can take (`hoechstens`).
int64_t PngGroesseHochrechnen(StreifenQuelle& probe, int64_t pixel, uint64_t hoechstens);

// What a JPEG file of `pixel` pixels at `qualitaet` takes at the most: as much as a
// picture of pure noise, which no photo mosaic compresses worse than.
uint64_t JpegHoechstBytes(int64_t pixel, int32_t qualitaet);

// The length of what a JPEG file carries besides its entropy-coded data: the markers and
// tables up to the start of the scan, and the end marker. 0 when `anfang` (the first
// bytes of the file) does not reach the start of the scan.
int64_t JpegKopfLaenge(std::span<const uint8_t> anfang);

}  // namespace tilvendo
