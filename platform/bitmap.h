// A raster picture held in memory: the one picture type of the program.
//
// Rows lie top-down, each padded to a multiple of four bytes like a device-independent
// bitmap, so a whole row can be written to a BMP file as it stands. Pixel layouts:
//   32 bits: blue, green, red, one byte nothing reads (the working format)
//   24 bits: blue, green, red
//   16 bits: one little-endian word, red 5 bits, green 6 bits, blue 5 bits (5-6-5)
//    8 bits: one index into a palette of 256 entries (blue, green, red, unused)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>

#include "platform/translate.h"

namespace tilvendo {

enum class PixelFormat : uint8_t { k8 = 8, k16 = 16, k24 = 24, k32 = 32 };

// The working format of every picture the program computes with.
inline constexpr PixelFormat kPixelformat = PixelFormat::k32;

// Largest picture the program agrees to hold: 400 megapixels (1.6 GB at 32 bits).
// Anything larger is refused before memory is requested.
inline constexpr int64_t kMaxPixelCount = 400'000'000;

int BytesPerPixel(PixelFormat format);

// Byte positions of the colour components inside a 32-bit working pixel.
inline constexpr size_t kBlauByte = 0;
inline constexpr size_t kGruenByte = 1;
inline constexpr size_t kRotByte = 2;
inline constexpr size_t kBytesJePixel = 4;

struct PaletteEntry {
  uint8_t blue = 0;
  uint8_t green = 0;
  uint8_t red = 0;
  uint8_t unused = 0;
};
using Palette = std::array<PaletteEntry, 256>;

// Raised when a picture of an absurd size is asked for (CheckPictureSize), and in place
// of std::bad_alloc where memory ran out while a picture was made (AsPictureTooLarge).
// The message is German and may be shown to the user as it stands.
class PictureTooLarge : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The message of a PictureTooLarge that stands for memory that ran out.
inline constexpr const char* kMeldungKeinSpeicher = N_("Nicht genug Arbeitsspeicher.");

// Bytes of one row of `width` pixels in `format`, padded to four bytes.
size_t RowStride(int32_t width, PixelFormat format);

class Bitmap {
 public:
  Bitmap() = default;
  // A black picture (all bytes zero). Throws PictureTooLarge for absurd sizes.
  Bitmap(int32_t width, int32_t height, PixelFormat format = kPixelformat);

  // A picture whose pixels are left unset, for decoders that fill every byte.
  static Bitmap Uninitialized(int32_t width, int32_t height, PixelFormat format = kPixelformat);

  Bitmap(Bitmap&&) noexcept = default;
  Bitmap& operator=(Bitmap&&) noexcept = default;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  Bitmap Clone() const;

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  PixelFormat format() const { return format_; }
  size_t stride() const { return stride_; }
  bool empty() const { return width_ == 0 || height_ == 0; }

  uint8_t* row(int32_t y) { return pixels_.get() + static_cast<size_t>(y) * stride_; }
  const uint8_t* row(int32_t y) const { return pixels_.get() + static_cast<size_t>(y) * stride_; }
  uint8_t* data() { return pixels_.get(); }
  const uint8_t* data() const { return pixels_.get(); }
  size_t byteSize() const { return stride_ * static_cast<size_t>(height_); }

  // Meaningful for 8-bit pictures; a new picture starts with a grey ramp.
  Palette& palette() { return palette_; }
  const Palette& palette() const { return palette_; }

  // Drops the pixels; the format stays.
  void clear();

 private:
  Bitmap(int32_t width, int32_t height, PixelFormat format, bool zeroed);

  int32_t width_ = 0;
  int32_t height_ = 0;
  PixelFormat format_ = kPixelformat;
  size_t stride_ = 0;
  std::unique_ptr<uint8_t[]> pixels_;
  Palette palette_{};
};

// Throws PictureTooLarge when a side is negative or beyond int32_t, or width × height is
// above kMaxPixelCount. Every picture is checked here before memory is asked for.
void CheckPictureSize(int64_t width, int64_t height);

// Runs `work` and returns what it returns. Memory that runs out inside it leaves as
// PictureTooLarge, so a caller handles both ways a picture can be too large in one place.
template <typename Work>
decltype(auto) AsPictureTooLarge(Work&& work) {
  try {
    return std::forward<Work>(work)();
  } catch (const std::bad_alloc&) {
    throw PictureTooLarge(_(kMeldungKeinSpeicher));
  }
}

// Runs `read`, which reads or makes a picture and returns whether it succeeded. A picture
// too large to hold, refused by the size check or by the memory, makes the result false.
template <typename Read>
bool FalseIfTooLarge(Read&& read) {
  try {
    return AsPictureTooLarge(std::forward<Read>(read));
  } catch (const PictureTooLarge&) {
    return false;
  }
}

}  // namespace tilvendo
