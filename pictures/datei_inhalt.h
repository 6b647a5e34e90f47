// A whole file read into memory in one go, for parsers that want every byte at hand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace tilvendo {

class DateiInhalt {
 public:
  std::span<const uint8_t> bytes() const { return {bytes_.get(), size_}; }
  size_t size() const { return size_; }

  // Reads the regular file `path` whole. False when it cannot be opened or read, when it
  // is no regular file, or when it holds more than `maxBytes` bytes (nothing is read then).
  bool Lesen(const std::string& path, uint64_t maxBytes);

 private:
  std::unique_ptr<uint8_t[]> bytes_;
  size_t size_ = 0;
};

}  // namespace tilvendo
