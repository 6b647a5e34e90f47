// Writing JPEG files: three-channel YCbCr at a given quality, with the encoder's default
// chroma subsampling.
//
// Pictures handed over whole must be 8-bit or 24-bit; 8-bit pictures are written through
// their palette (a grey palette gives a grey picture). The blended mosaic is handed
// over as strips of working-format rows, which the encoder reads directly.
//
// The encoder never ends the process and never prints: a failure inside it becomes
// WriteError with the text kJpegSchreibFehler, one of the file it writes to keeps the
// file's own message (which names the file and, where known, why: a full disk, a name
// too long).
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "pictures/bildschreiber.h"
#include "pictures/byte_sink.h"
#include "platform/atomic_file.h"
#include "platform/bitmap.h"
#include "platform/translate.h"

namespace tilvendo {

inline constexpr const char* kJpegFormatFehler =
    N_("Ein Bild in diesem Pixelformat kann nicht als JPEG gespeichert werden.");
inline constexpr const char* kJpegSchreibFehler =
    N_("Die JPEG-Datei konnte nicht geschrieben werden.");

inline constexpr int kJpegQualitaetMin = 1;
inline constexpr int kJpegQualitaetMax = 100;

// Raised for a picture that is neither 8-bit nor 24-bit.
class JpegFormatError : public std::invalid_argument {
 public:
  JpegFormatError() : std::invalid_argument(_(kJpegFormatFehler)) {}
};

// Quality outside 1..100 counts as the nearest end.
void WriteJpeg(ByteSink& sink, const Bitmap& bitmap, int quality);

// A writer of working-format rows at the quality `description` says; a resolution above 0
// is stored as the JFIF density in whole dots per inch (at most 65535), 0 as the neutral
// aspect ratio of 1 : 1.
std::unique_ptr<Bildschreiber> MakeJpegWriter(ByteSink& sink, const Bildbeschreibung& description);

// Into a file that is replaced only once it is completely written; on a failure the
// old file stays as it was and WriteError is raised: the file's own message when it
// cannot be created, filled or put in place, else kJpegSchreibFehler.
void WriteJpegFile(const Bitmap& bitmap, const std::string& fileName, int quality);

// The encoded file in memory (the save preview measures and shows it).
std::vector<uint8_t> EncodeJpeg(const Bitmap& bitmap, int quality);

}  // namespace tilvendo
