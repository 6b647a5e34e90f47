// How large the saved JPEG file will be, told before it is written.
//
// A JPEG's size depends on what is in the picture, and a mosaic's fine detail (the photos
// in its tiles) is exactly what a reduced preview loses: the preview compresses far
// worse per pixel than the full picture, so scaling its length up overshoots. The
// estimate therefore encodes a sample of the picture at full resolution: whole rows of
// blocks, one from each of evenly sized stretches of the picture, so that every part of
// the template and every height within the tiles is represented. Rows of blocks keep the
// encoder's block grid, so each sampled block costs what it costs in the real file.
#pragma once

#include <cstdint>
#include <span>

#include "pictures/streifen_quelle.h"

namespace tilvendo {

// Pixels the sample holds at most (unless a very wide picture needs more to reach the
// least number of rows below): about a millisecond's worth of encoding per 50,000.
inline constexpr int64_t kSchaetzPixel = int64_t{1} << 20;
// Rows of blocks the sample takes at least, however wide the picture.
inline constexpr int32_t kSchaetzMindestZeilen = 24;

// The estimated length in bytes of `quelle` written as a JPEG file at `qualitaet`
// (1..100, as the writer takes it). A picture of at most `stichprobenPixel` pixels is
// encoded whole, and the estimate is the file's exact length. 0 for an empty picture.
int64_t JpegGroesseSchaetzen(StreifenQuelle& quelle, int32_t qualitaet,
                             int64_t stichprobenPixel = kSchaetzPixel);

// The estimated length of a JPEG file at `qualitaet` of a picture of `pixel` pixels whose
// content is like that of `probe`, a sample of it at its full resolution (whole tiles of
// a poster too large to sample by rows, say): the sample is encoded whole, its header
// counted once and its coded data carried over by the pixels. 0 for an empty sample.
int64_t JpegGroesseHochrechnen(StreifenQuelle& probe, int32_t qualitaet, int64_t pixel);

// The length of what a JPEG file carries besides its entropy-coded data: the markers and
// tables up to the start of the scan, and the end marker. 0 when `anfang` (the first
// bytes of the file) does not reach the start of the scan.
int64_t JpegKopfLaenge(std::span<const uint8_t> anfang);

}  // namespace tilvendo
