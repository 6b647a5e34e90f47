// Measuring a reduced tile picture into its colour signature, and the 12-byte records in
// which an album's signature cache keeps the signatures between runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

#include "albums/signaturdatei.h"  // the record size
#include "engine/einstellungen.h"
#include "engine/kachelsignatur.h"
#include "platform/bitmap.h"

namespace tilvendo {

// Edge in pixels of one sub-cell of the work picture: Abtastgroesse div Formanalyse, at
// least 1 so that an odd setting can never make an empty work picture. Throws
// std::invalid_argument for a level outside 1..10.
int Teilkante(const Analyse& analyse);

// Edge of the square work picture every tile is reduced to: Teilkante × Formanalyse.
int Arbeitskante(const Analyse& analyse);

// The signature of the work picture `w` (32-bit, at least s·L × s·L pixels): per
// sub-cell the average colour of its s × s pixels, rounded halves to even, and the
// average of those for the whole picture. `Nummer` stays 0.
Kachelsignatur SignaturBerechnen(const Bitmap& w, int formanalyse, int teilkante);

// Measures the formanalyse × formanalyse sub-cells of teilkante × teilkante pixels whose
// grid starts at (links, oben) of the 32-bit picture `bild` into the colour fields,
// average colour and brightness of `ziel` (its `Nummer` stays). Tiles and template
// cells are measured alike, so that they compare directly.
void SignaturMessen(const Bitmap& bild, int32_t links, int32_t oben, int formanalyse, int teilkante,
                    Kachelsignatur& ziel);

// One cache record: 4 bytes number, 2 bytes sum or brightness, red, green, blue, three
// bytes nobody reads; little-endian.
inline constexpr size_t kSatzGroesse = kSignaturDatensatzLaenge;

// Bytes one signature of level L takes in a cache file: a head record and L² field
// records.
size_t SignaturGroesse(int formanalyse);

// Writes the records of `signatur` (head, then the fields column band by column band)
// into `ziel`, which holds SignaturGroesse(formanalyse) bytes.
void SignaturKodieren(const Kachelsignatur& signatur, int formanalyse, std::span<uint8_t> ziel);

// Raised when cache bytes cannot be a signature written by this program: a field record
// with another number than its head, or sums that do not add up. Such a cache would
// otherwise bring in brightness values beyond 765 or wrong colours.
class SignaturBeschaedigt : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The signature in `quelle` (SignaturGroesse(formanalyse) bytes). Throws
// SignaturBeschaedigt for inconsistent records.
Kachelsignatur SignaturDekodieren(std::span<const uint8_t> quelle, int formanalyse);

}  // namespace tilvendo
