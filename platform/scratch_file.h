// Bytes put aside for a while and read back in any order, in an unnamed file of a given
// folder that goes with the object, and with its process however that ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tilvendo {

class ScratchFile {
 public:
  // Makes the file in `folder` (empty: the current one); throws WriteError when it cannot.
  explicit ScratchFile(const std::string& folder);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Appends the bytes; throws WriteError (a full disk, say).
  void Append(const void* data, size_t length);
  // Reads `length` bytes from `offset`, which must lie within what was appended; throws
  // WriteError when the file cannot be read.
  void ReadAt(uint64_t offset, void* data, size_t length) const;

 private:
  std::string folder_;
  int fd_ = -1;
};

}  // namespace tilvendo
