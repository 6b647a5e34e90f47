#include "pictures/byte_sink.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/paths.h"

namespace tilvendo {
namespace {

class MemoryScratch final : public ScratchSpace {
 public:
  void Append(const void* data, size_t length) override {
    const auto* bytes = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), bytes, bytes + length);
  }
  void ReadAt(uint64_t offset, void* data, size_t length) override {
    if (offset + length > bytes_.size()) throw std::out_of_range("MemoryScratch::ReadAt");
    std::memcpy(data, bytes_.data() + offset, length);
  }

 private:
  std::vector<uint8_t> bytes_;
};

class FileScratch final : public ScratchSpace {
 public:
  explicit FileScratch(const std::string& folder) : file_(folder) {}
  void Append(const void* data, size_t length) override { file_.Append(data, length); }
  void ReadAt(uint64_t offset, void* data, size_t length) override {
    file_.ReadAt(offset, data, length);
  }

 private:
  ScratchFile file_;
};

}  // namespace

void MemorySink::Write(const void* data, size_t length) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), bytes, bytes + length);
}

void MemorySink::WriteAt(uint64_t offset, const void* data, size_t length) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (bytes_.size() < offset + length) bytes_.resize(offset + length, 0);
  std::copy(bytes, bytes + length, bytes_.begin() + static_cast<ptrdiff_t>(offset));
}

std::unique_ptr<ScratchSpace> MemorySink::Scratch() {
  return std::make_unique<MemoryScratch>();
}

std::unique_ptr<ScratchSpace> AtomicFileSink::Scratch() {
  // Where the file's bytes go, so that both count against the same disk.
  return std::make_unique<FileScratch>(FolderOf(ResolveLinks(file_.target())));
}

}  // namespace tilvendo
