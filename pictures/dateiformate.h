// The file formats a mosaic is saved in, each described once: its extension and the
// save dialog's filter, its writer, the largest picture it stores, how finely it stores a
// resolution, and what its file takes, exactly or estimated from a sample. Everything
// that differs between the formats is looked up here.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "pictures/bildschreiber.h"
#include "pictures/byte_sink.h"
#include "platform/bitmap.h"

namespace tilvendo {

// Format codes (`SpeicherOptionen::Format`), the index into kDateiformate.
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

// The pixel format a BMP depth code stores.
PixelFormat BmpTiefe(uint8_t farbtiefe);

struct Dateiformat {
  const char* beschreibung;  // the save dialog's filter text, marked for translation (N_)
  const char* endung;        // the extension every saved file of the format gets
  const char* zweiteEndung;  // another extension of the format a name may keep, or null
  bool mitFarbtiefe;         // stores the BMP depths; the others always 24 bits
  bool mitQualitaet;         // stores at a quality (JPEG)
  int32_t groessteKante;     // the longest side, in pixels, a file can hold
  // The dots per inch a file of the format says when asked to store `dpi`: as finely as
  // it can (whole pixels per metre, a rational, whole dots per inch).
  double (*gespeicherteDpi)(double dpi);
  // The writer into `ziel` of the picture described.
  std::unique_ptr<Bildschreiber> (*schreiber)(SeekableSink& ziel, const Bildbeschreibung&);
  // The file's length when the picture's size tells it (BMP, TIFF); null where it
  // depends on the pixels (JPEG, PNG).
  uint64_t (*genaueBytes)(const Bildbeschreibung&);
  // The file's length estimated from `probe`, a sample of the picture at full size whose
  // pixels stand for `pixel` pixels of it (JPEG, PNG; null for the others).
  int64_t (*geschaetzteBytes)(StreifenQuelle& probe, int64_t pixel, const Bildbeschreibung&);
  // What a save takes on its disk at the most, whatever the pixels: the file, and what
  // its writer puts aside meanwhile.
  uint64_t (*hoechstBytes)(const Bildbeschreibung&);
  // The least width of the runs of tiles a sample for the estimate takes: a PNG finds a
  // photo placed again within a long stretch of a row.
  int32_t probenBreite;
  // The picture as the file will show it (reduced to a BMP's depth, a JPEG's artefacts),
  // for the save preview; `arbeitsbild` in the working format.
  Bitmap (*wieGespeichert)(Bitmap arbeitsbild, const Bildbeschreibung&);
};

// Indexed by the format codes.
extern const std::array<Dateiformat, 4> kDateiformate;

// The format of a code; null for an unknown one.
const Dateiformat* FormatVon(uint8_t format);

// Raises WriteError (a German message naming the size) when the format cannot hold the
// picture described.
void GroessePruefen(const Dateiformat& format, const Bildbeschreibung& beschreibung);

// What the file will take: exact where the size tells it, else estimated from `probe`
// (standing for the whole picture's pixels), at most what the format can take.
int64_t DateiBytes(const Dateiformat& format, const Bildbeschreibung& beschreibung,
                   StreifenQuelle* probe);

// What a save needs on its disk: the largest it can take, or, given an estimate of the
// file, that estimate with room for its error (never more than the largest).
uint64_t Platzbedarf(const Dateiformat& format, const Bildbeschreibung& beschreibung,
                     std::optional<int64_t> schaetzung = std::nullopt);

}  // namespace tilvendo
