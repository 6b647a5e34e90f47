// Little-endian reads from a range of bytes that can never leave it.
//
// File parsers read untrusted sizes and offsets; every read here is checked against the
// range. A read outside gives 0 and marks the reader as failed, so a parser can read a
// whole header and check failed() once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tilvendo {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t size() const { return bytes_.size(); }
  bool failed() const { return failed_; }

  // True when `count` bytes starting at `offset` lie inside the range (no overflow).
  bool Contains(uint64_t offset, uint64_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }

  uint8_t U8(uint64_t offset) {
    if (!Contains(offset, 1)) return Fail();
    return bytes_[offset];
  }
  uint16_t U16(uint64_t offset) {
    if (!Contains(offset, 2)) return Fail();
    return static_cast<uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
  }
  uint32_t U32(uint64_t offset) {
    if (!Contains(offset, 4)) return Fail();
    return static_cast<uint32_t>(bytes_[offset]) |
           (static_cast<uint32_t>(bytes_[offset + 1]) << 8) |
           (static_cast<uint32_t>(bytes_[offset + 2]) << 16) |
           (static_cast<uint32_t>(bytes_[offset + 3]) << 24);
  }
  int32_t I32(uint64_t offset) { return static_cast<int32_t>(U32(offset)); }

  // The bytes [offset, offset + count); empty, and failed, when they leave the range.
  std::span<const uint8_t> Bytes(uint64_t offset, uint64_t count) {
    if (!Contains(offset, count)) {
      failed_ = true;
      return {};
    }
    return bytes_.subspan(offset, count);
  }

 private:
  uint8_t Fail() {
    failed_ = true;
    return 0;
  }

  std::span<const uint8_t> bytes_;
  bool failed_ = false;
};

}  // namespace tilvendo
