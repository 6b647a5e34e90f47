// Saving the finished mosaic, blended with its template, and the save preview with its
// estimate of the file size.
//
// The saved picture is always the mosaic at full size with the template laid over it at
// the strength of the result page. It is blended and encoded strip by strip, so saving
// needs little more memory than the mosaic itself, and the file is written under a
// temporary name and renamed over the target only when it is complete: a failed save
// leaves an older file of that name untouched.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "pictures/streifen_quelle.h"
#include "platform/bitmap.h"
#include "platform/rect.h"
#include "platform/translate.h"

namespace tilvendo {

// File formats (`SpeicherOptionen::Format`).
inline constexpr uint8_t kFormatBmp = 0;
inline constexpr uint8_t kFormatJpeg = 1;
inline constexpr uint8_t kFormatPng = 2;   // 24 bits, lossless
inline constexpr uint8_t kFormatTiff = 3;  // 24 bits, uncompressed strips

// BMP colour depth codes (`SpeicherOptionen::Farbtiefe`); any other code means 32 bits.
inline constexpr uint8_t kFarbtiefe8 = 3;
inline constexpr uint8_t kFarbtiefe16 = 5;
inline constexpr uint8_t kFarbtiefe24 = 6;
inline constexpr uint8_t kFarbtiefe32 = 7;

// The depth a BMP is written with until the user chooses another: the wizard's first save
// and the command line without a depth of its own.
inline constexpr uint8_t kStandardFarbtiefe = kFarbtiefe32;

// The quality every save starts from.
inline constexpr uint8_t kStandardQualitaet = 90;

struct SpeicherFormat {
  const char* beschreibung;  // the save dialog's filter text
  const char* endung;        // the extension every saved file of the format gets
  const char* zweiteEndung;  // another extension of the format a name may keep, or null
};
// Indexed by `SpeicherOptionen::Format`.
inline constexpr std::array<SpeicherFormat, 4> kSpeicherFormate{{
    {N_("Windowsbilder (*.bmp)"), ".bmp", nullptr},
    {N_("JPEG Bilder (*.jpg)"), ".jpg", nullptr},
    {N_("PNG Bilder (*.png)"), ".png", nullptr},
    {N_("TIFF Bilder (*.tif *.tiff)"), ".tif", ".tiff"},
}};

struct SpeicherOptionen {
  std::string Pfad;   // folder of the file, with trailing "/"
  std::string Datei;  // file name without folder
  uint8_t Format = 0;
  uint8_t Qualitaet = 0;                   // JPEG quality 1..100
  uint8_t Farbtiefe = kStandardFarbtiefe;  // BMP depth code
  // Dots per inch written into the file (JPEG density, PNG pHYs, TIFF and BMP
  // resolution); 0 writes the formats' neutral defaults, as files always had them.
  int32_t Aufloesung = 0;
};

// Makes `dateiname` end in the format's extension: a different extension (compared
// without regard to case) is replaced, a missing one appended, a matching one kept as
// it is ("a.JPEG" → "a.jpg", "a" → "a.jpg", "a.JPG" stays; "a.tiff" stays a TIFF's).
// Unknown formats change nothing.
void ForceSaveExtension(uint8_t format, std::string& dateiname);

// Takes the file the user chose: forces the format's extension and stores folder and
// name into `Pfad` and `Datei`.
void DateinameUebernehmen(SpeicherOptionen& optionen, const std::string& gewaehlt);

// The file's pixel format for a BMP depth code, and its bytes per pixel.
PixelFormat BmpPixelFormat(uint8_t farbtiefe);
int32_t BmpBytesProPixel(uint8_t farbtiefe);

// Blends template and mosaic with blend value `a` at the mosaic's size and writes the
// result to `Pfad` + `Datei` in the chosen format (JPEG with `Qualitaet`, BMP with
// `Farbtiefe`, all with `Aufloesung`). False when the format is unknown and nothing was
// written. Raises WriteError when the file cannot be written (the old file then stays
// untouched) and for an empty mosaic.
bool MosaikSpeichern(const Bitmap& vorlage, const Bitmap& mosaik, uint8_t a,
                     const SpeicherOptionen& optionen);

// Writes the picture of `quelle` to `Pfad` + `Datei` as `optionen` say, atomically.
// False when the format is unknown and nothing was written. Raises WriteError when the
// file cannot be written, SchreibenAbgebrochen when the source stopped; the old file
// then stays untouched either way.
bool BildSchreiben(StreifenQuelle& quelle, const SpeicherOptionen& optionen);

// What a file of a width × height picture in the chosen format takes at the most, for
// the free-space check before a large save: exact for BMP and TIFF, the worst case for
// PNG, and for JPEG what a picture of pure noise takes at that quality (no photo mosaic
// compresses worse). 0 for an unknown format.
uint64_t DateiHoechstBytes(const SpeicherOptionen& optionen, int32_t width, int32_t height);

// The save preview: `vorschau` becomes the blended picture fitted into the box, as it
// will look in the file (reduced to the BMP depth, or encoded as JPEG and decoded back
// so the artefacts show). A JPEG's size is estimated from a sample of the blended
// picture at full resolution (JpegGroesseSchaetzen). `speicherVorschau` caches the
// blended preview between calls; the caller empties it whenever the blend value may
// have changed. Returns the estimated file size in bytes, or −1 for an unknown format
// or an empty box or mosaic.
int64_t MakeSavePreview(const Bitmap& vorlage, const Bitmap& mosaik, uint8_t a, int32_t boxBreite,
                        int32_t boxHoehe, const SpeicherOptionen& optionen,
                        Bitmap& speicherVorschau, Bitmap& vorschau);

// The save preview of a mosaic of size `mosaik` that is not held whole (large format),
// made from `anzeige`, a reduced copy of it (its screen copy), as MakeSavePreview makes
// it of a whole mosaic. The size is exact for BMP and TIFF, which store every pixel as
// it is. JPEG and PNG are estimated from `probe`, a sample of the blended mosaic at its
// full resolution, whose bytes per pixel carry over (within what a file of that size can
// take): the reduced copy packs many tiles' detail into each pixel and would overrate
// them several times. `probe` is read for those two formats only. −1 as MakeSavePreview.
int64_t MakeSavePreviewAusProbe(const Bitmap& vorlage, const Bitmap& anzeige, Size mosaik,
                                StreifenQuelle& probe, uint8_t a, int32_t boxBreite,
                                int32_t boxHoehe, const SpeicherOptionen& optionen,
                                Bitmap& speicherVorschau, Bitmap& vorschau);

}  // namespace tilvendo
