#include "pictures/datei_inhalt.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tilvendo {

LeseDatei::LeseDatei(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
    ::close(fd);
    return;
  }
  fd_ = fd;
  size_ = static_cast<uint64_t>(info.st_size);
}

LeseDatei::~LeseDatei() {
  if (fd_ >= 0) ::close(fd_);
}

bool LeseDatei::Lesen(uint64_t offset, uint8_t* ziel, size_t count) const {
  if (fd_ < 0) return false;
  size_t done = 0;
  while (done < count) {
    const ssize_t got = ::pread(fd_, ziel + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;  // an error, or the file is shorter (or shrank meanwhile)
    done += static_cast<size_t>(got);
  }
  return true;
}

bool DateiInhalt::Lesen(const LeseDatei& datei, uint64_t maxBytes) {
  bytes_.reset();
  size_ = 0;
  if (!datei.offen() || datei.size() > maxBytes) return false;
  const auto size = static_cast<size_t>(datei.size());
  auto bytes = std::make_unique_for_overwrite<uint8_t[]>(size == 0 ? 1 : size);
  if (!datei.Lesen(0, bytes.get(), size)) return false;
  bytes_ = std::move(bytes);
  size_ = size;
  return true;
}

}  // namespace tilvendo
