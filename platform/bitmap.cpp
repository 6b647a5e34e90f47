#include "platform/bitmap.h"

#include <cstring>
#include <limits>
#include <string>

#include "platform/translate.h"

namespace tilvendo {
namespace {

Palette GreyRamp() {
  Palette palette{};
  for (size_t i = 0; i < palette.size(); ++i) {
    const auto level = static_cast<uint8_t>(i);
    palette[i] = PaletteEntry{level, level, level, 0};
  }
  return palette;
}

}  // namespace

int BytesPerPixel(PixelFormat format) {
  return static_cast<int>(format) / 8;
}

size_t RowStride(int32_t width, PixelFormat format) {
  const size_t bits = static_cast<size_t>(width) * static_cast<size_t>(format);
  return ((bits + 31) / 32) * 4;
}

void CheckPictureSize(int64_t width, int64_t height) {
  constexpr int64_t kMaxSeite = std::numeric_limits<int32_t>::max();
  if (width < 0 || height < 0 || width > kMaxSeite || height > kMaxSeite ||
      (height != 0 && width > kMaxPixelCount / height)) {
    throw PictureTooLarge(
        Format(_("Das Bild wäre zu groß für den Speicher ({} × {} Pixel)."), width, height));
  }
}

Bitmap::Bitmap(int32_t width, int32_t height, PixelFormat format)
    : Bitmap(width, height, format, /*zeroed=*/true) {}

Bitmap Bitmap::Uninitialized(int32_t width, int32_t height, PixelFormat format) {
  return Bitmap(width, height, format, /*zeroed=*/false);
}

Bitmap::Bitmap(int32_t width, int32_t height, PixelFormat format, bool zeroed)
    : format_(format), palette_(GreyRamp()) {
  CheckPictureSize(width, height);
  width_ = width;
  height_ = height;
  stride_ = RowStride(width, format);
  const size_t bytes = byteSize();
  if (bytes == 0) return;
  pixels_ = zeroed ? std::make_unique<uint8_t[]>(bytes)
                   : std::make_unique_for_overwrite<uint8_t[]>(bytes);
}

Bitmap Bitmap::Clone() const {
  Bitmap copy = Uninitialized(width_, height_, format_);
  if (byteSize() != 0) std::memcpy(copy.data(), data(), byteSize());
  copy.palette_ = palette_;
  return copy;
}

void Bitmap::clear() {
  width_ = 0;
  height_ = 0;
  stride_ = 0;
  pixels_.reset();
}

}  // namespace tilvendo
