#include "pictures/byte_sink.h"

#include <algorithm>

namespace tilvendo {

void MemorySink::Write(const void* data, size_t length) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), bytes, bytes + length);
}

void MemorySink::WriteAt(uint64_t offset, const void* data, size_t length) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (bytes_.size() < offset + length) bytes_.resize(offset + length, 0);
  std::copy(bytes, bytes + length, bytes_.begin() + static_cast<ptrdiff_t>(offset));
}

}  // namespace tilvendo
