// Reading the template and tile pictures (the types of pictures/bildart.h).
// Safe to call from several threads at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "pictures/leseart.h"
#include "platform/bitmap.h"
#include "platform/memory_budget.h"
#include "platform/rect.h"

namespace tilvendo {

// Name of the program's own temporary picture in the working folder; never a tile.
inline constexpr const char* kTemporaeresBild = "~tmp.bmp";

// Reads a whole picture at full size, chosen by the extension in any letter case: ".bmp"
// through the bitmap reader, ".jpg" and ".jpeg" through the JPEG reader (the bitmap then
// becomes 24-bit, or 8-bit grey), the other types of the table into 24 bits. With
// `art.aufrichten` a photo whose orientation tag says it lies otherwise is turned upright
// (then 24-bit); its other choices concern tiles only. True only when a picture was
// actually read; false, with the bitmap as it was, for other extensions and for files that
// cannot be read. The picture and what its reader holds are reserved from `budget` before
// either is set up (estimated from the header; false when that is more than the whole
// budget), or from a budget of its own of MemoryBudget::ForThisMachine().
bool LoadWholePicture(Bitmap& bitmap, const std::string& fileName, MemoryBudget& budget,
                      Leseart art = {});
bool LoadWholePicture(Bitmap& bitmap, const std::string& fileName, Leseart art = {});

// The size the header of a picture declares, told apart by the extension as above, without
// decoding its pixels; none for other extensions and for headers that cannot be read.
std::optional<Size> BildgroesseLesen(const std::string& fileName);

// The largest template read: 120 megapixels. Every camera photo up to 100-megapixel
// sensors and panoramas of about 15000 × 8000 fit. Loading one holds the picture as read
// (24 bits) and its working copy (32 bits), at this size 840 MB, plus for a progressive
// JPEG the decoder's coefficients (up to 720 MB); the mosaic itself is at most
// 2500 × 2500 pixels, so more template pixels could not show in it anyway. All of that
// must fit the machine's memory budget (MemoryBudget::ForThisMachine()).
inline constexpr int64_t kMaxVorlagenPixel = 120'000'000;

enum class Vorlagenlesung { Gelesen, Unlesbar, ZuGross };

struct Vorlagenbild {
  Vorlagenlesung lesung = Vorlagenlesung::Unlesbar;
  Size groesse{0, 0};  // as the file declares it; 0 × 0 when unreadable
};

// Reads a template like LoadWholePicture, but refuses, before decoding anything, a
// picture whose header declares more than kMaxVorlagenPixel, and one that with its
// working copy (32 bits) and what its reader holds would take more than `speicher` bytes
// (ZuGross both; the bitmap stays as it was). The size is that of the header even of a
// picture too large for its reader to hold.
Vorlagenbild VorlagenbildLesen(Bitmap& bitmap, const std::string& fileName, Leseart art = {},
                               uint64_t speicher = MemoryBudget::ForThisMachine());

// The message for a template of `groesse` that is too large: beyond kMaxVorlagenPixel, or
// beyond `speicher`.
std::string MeldungVorlageZuGross(Size groesse, uint64_t speicher = MemoryBudget::ForThisMachine());

// Reads a picture and draws it, stretched with the staged resampler, into `rect` of
// `target`. The types of the table are read by their extension, every other name as JPEG.
// The pixels drawn are exactly those BildEinpassen would draw from the whole picture as
// the Leseart shapes it (upright, cut to the rectangle's proportions), but only the rows
// and columns its first stage picks are kept while decoding; in the fast way the picture
// is decoded smaller where its type allows. With Leseart{.aufrichten = false} the pixels
// are those of earlier versions.
// What reading needs (estimated from the header) is reserved from `budget` first,
// waiting while other readers hold it; a picture needing more than the whole budget is
// not read. False, with the target untouched, for `arbeitspfad` + "~tmp.bmp", for
// pictures that cannot be read and for those refused. An empty rectangle draws nothing
// (true when the picture could be read).
bool LoadTilePicture(Bitmap& target, Rect rect, const std::string& fileName,
                     const std::string& arbeitspfad, MemoryBudget& budget, Leseart art = {});

// The same with a budget of its own of MemoryBudget::ForThisMachine(), for a single reader.
bool LoadTilePicture(Bitmap& target, Rect rect, const std::string& fileName,
                     const std::string& arbeitspfad, Leseart art = {});

}  // namespace tilvendo
