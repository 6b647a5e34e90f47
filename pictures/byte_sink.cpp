#include "pictures/byte_sink.h"

namespace tilvendo {

void MemorySink::Write(const void* data, size_t length) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), bytes, bytes + length);
}

}  // namespace tilvendo
