// Where an encoder's bytes go: a file being written atomically, or memory.
//
// The writers only ever append, so one small interface lets the same encoder fill a
// file, a buffer for the save preview, or a test double that fails on purpose.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/atomic_file.h"

namespace tilvendo {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Appends the bytes; throws WriteError when they cannot be stored.
  virtual void Write(const void* data, size_t length) = 0;
};

// A sink that can also write at any position, for formats whose encoder goes back to
// complete a header (TIFF). A writer uses either Write or WriteAt, not both.
class SeekableSink : public ByteSink {
 public:
  // Writes at byte `offset`; a gap before it reads as zeros. Throws WriteError.
  virtual void WriteAt(uint64_t offset, const void* data, size_t length) = 0;
};

// Collects the bytes in memory.
class MemorySink : public SeekableSink {
 public:
  void Write(const void* data, size_t length) override;
  void WriteAt(uint64_t offset, const void* data, size_t length) override;
  const std::vector<uint8_t>& bytes() const { return bytes_; }
  std::vector<uint8_t> take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

// Appends to an AtomicFile; the caller commits it once the encoder has finished.
class AtomicFileSink : public SeekableSink {
 public:
  explicit AtomicFileSink(AtomicFile& file) : file_(file) {}
  void Write(const void* data, size_t length) override { file_.Write(data, length); }
  void WriteAt(uint64_t offset, const void* data, size_t length) override {
    file_.WriteAt(offset, data, length);
  }

 private:
  AtomicFile& file_;
};

}  // namespace tilvendo
