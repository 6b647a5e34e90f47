#include "pictures/datei_inhalt.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tilvendo {
namespace {

class Dateideskriptor {
 public:
  explicit Dateideskriptor(int fd) : fd_(fd) {}
  ~Dateideskriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Dateideskriptor(const Dateideskriptor&) = delete;
  Dateideskriptor& operator=(const Dateideskriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

bool DateiInhalt::Lesen(const std::string& path, uint64_t maxBytes) {
  bytes_.reset();
  size_ = 0;
  const Dateideskriptor datei(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (datei.get() < 0) return false;
  struct stat info {};
  if (::fstat(datei.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
      static_cast<uint64_t>(info.st_size) > maxBytes) {
    return false;
  }
  const auto size = static_cast<size_t>(info.st_size);
  auto bytes = std::make_unique_for_overwrite<uint8_t[]>(size == 0 ? 1 : size);
  size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(datei.get(), bytes.get() + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;  // an error, or the file shrank while we read it
    done += static_cast<size_t>(got);
  }
  bytes_ = std::move(bytes);
  size_ = size;
  return true;
}

}  // namespace tilvendo
