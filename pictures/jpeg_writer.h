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
#include <stdexcept>
#include <string>
#include <vector>

#include "pictures/byte_sink.h"
#include "pictures/streifen_quelle.h"
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

// Quality outside 1..100 counts as the nearest end. A resolution `dpi` above 0 is
// written as the JFIF density in dots per inch (at most 65535); 0 leaves the neutral
// aspect ratio of 1 : 1.
void WriteJpeg(ByteSink& sink, const Bitmap& bitmap, int quality);
void WriteJpeg(ByteSink& sink, StreifenQuelle& quelle, int quality, int32_t dpi = 0);

// Into a file that is replaced only once it is completely written; on a failure the
// old file stays as it was and WriteError is raised: the file's own message when it
// cannot be created, filled or put in place, else kJpegSchreibFehler. A source that stops
// the writing (SchreibenAbgebrochen) leaves the old file as well.
void WriteJpegFile(const Bitmap& bitmap, const std::string& fileName, int quality);
void WriteJpegFile(StreifenQuelle& quelle, const std::string& fileName, int quality,
                   int32_t dpi = 0);

// The encoded file in memory (the save preview measures and shows it).
std::vector<uint8_t> EncodeJpeg(const Bitmap& bitmap, int quality);

}  // namespace tilvendo
