// Where an encoder's bytes go: a file being written atomically, or memory.
//
// The writers only ever append, or write at positions they compute, so one small
// interface lets the same encoder fill a file, a buffer for the save preview, or a test
// double that fails on purpose.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/scratch_file.h"

namespace tilvendo {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Appends the bytes; throws WriteError when they cannot be stored.
  virtual void Write(const void* data, size_t length) = 0;
};

// Bytes an encoder puts aside and reads back in another order.
class ScratchSpace {
 public:
  virtual ~ScratchSpace() = default;
  virtual void Append(const void* data, size_t length) = 0;
  virtual void ReadAt(uint64_t offset, void* data, size_t length) = 0;
};

// A sink that can also write at any position, for formats that store rows in another
// order than they come or go back to complete a header. A writer uses either Write or
// WriteAt, not both.
class SeekableSink : public ByteSink {
 public:
  // Writes at byte `offset`; a gap before it reads as zeros. Throws WriteError.
  virtual void WriteAt(uint64_t offset, const void* data, size_t length) = 0;
  // Room to put bytes aside near the sink's own: in memory beside memory, on the disk of
  // the file beside a file. Throws WriteError.
  virtual std::unique_ptr<ScratchSpace> Scratch() = 0;
};

// Collects the bytes in memory.
class MemorySink : public SeekableSink {
 public:
  void Write(const void* data, size_t length) override;
  void WriteAt(uint64_t offset, const void* data, size_t length) override;
  std::unique_ptr<ScratchSpace> Scratch() override;
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
  std::unique_ptr<ScratchSpace> Scratch() override;

 private:
  AtomicFile& file_;
};

}  // namespace tilvendo
