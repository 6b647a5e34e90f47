#include "platform/scratch_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

#include "platform/atomic_file.h"

namespace tilvendo {
namespace {

constexpr mode_t kOwnerOnly = 0600;
constexpr const char* kNamedPattern = ".tilvendo-ablage-XXXXXX";

}  // namespace

ScratchFile::ScratchFile(const std::string& folder) : folder_(folder.empty() ? "." : folder) {
  fd_ = ::open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, kOwnerOnly);
  if (fd_ >= 0) return;
  // A file system without unnamed files: a named one, unlinked at once.
  std::string name = folder_ + (folder_.ends_with('/') ? "" : "/") + kNamedPattern;
  fd_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0) throw WriteError(CannotWriteMessage(folder_, errno));
  ::unlink(name.c_str());
}

ScratchFile::~ScratchFile() {
  if (fd_ >= 0) ::close(fd_);
}

void ScratchFile::Append(const void* data, size_t length) {
  const auto* bytes = static_cast<const char*>(data);
  while (length > 0) {
    const ssize_t written = ::write(fd_, bytes, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      throw WriteError(CannotWriteMessage(folder_, errno));
    }
    bytes += written;
    length -= static_cast<size_t>(written);
  }
}

void ScratchFile::ReadAt(uint64_t offset, void* data, size_t length) const {
  auto* bytes = static_cast<char*>(data);
  while (length > 0) {
    const ssize_t read = ::pread(fd_, bytes, length, static_cast<off_t>(offset));
    if (read < 0 && errno == EINTR) continue;
    if (read <= 0) throw WriteError(CannotWriteMessage(folder_, read < 0 ? errno : EIO));
    bytes += read;
    offset += static_cast<uint64_t>(read);
    length -= static_cast<size_t>(read);
  }
}

}  // namespace tilvendo
