// Reading files for the picture parsers: a regular file opened for reading at given
// offsets, and a whole file read into memory in one go.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace tilvendo {

class LeseDatei {
 public:
  // Opens `path` for reading; offen() is false when it cannot be opened or is no
  // regular file.
  explicit LeseDatei(const std::string& path);
  ~LeseDatei();
  LeseDatei(const LeseDatei&) = delete;
  LeseDatei& operator=(const LeseDatei&) = delete;

  bool offen() const { return fd_ >= 0; }
  uint64_t size() const { return size_; }

  // Reads exactly `count` bytes from `offset` on; false when the file has fewer or a
  // read fails.
  bool Lesen(uint64_t offset, uint8_t* ziel, size_t count) const;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};

class DateiInhalt {
 public:
  std::span<const uint8_t> bytes() const { return {bytes_.get(), size_}; }
  size_t size() const { return size_; }

  // Reads the whole file. False when it cannot be read or holds more than `maxBytes`
  // bytes (nothing is read then).
  bool Lesen(const LeseDatei& datei, uint64_t maxBytes);
  bool Lesen(const std::string& path, uint64_t maxBytes) {
    const LeseDatei datei(path);
    return datei.offen() && Lesen(datei, maxBytes);
  }

 private:
  std::unique_ptr<uint8_t[]> bytes_;
  size_t size_ = 0;
};

}  // namespace tilvendo
