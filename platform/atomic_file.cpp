#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/paths.h"

namespace tilvendo {
namespace {

// New files get the usual permissions of the user's umask.
constexpr mode_t kNewFileMode = 0666;

}  // namespace

std::string CannotWriteMessage(const std::string& path) {
  return "nach " + path + " kann nicht geschrieben werden";
}

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
  std::string pattern = FolderOf(target_) + "." + FileNameOf(target_) + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = ::mkstemp(name.data());
  if (fd_ < 0) throw WriteError(CannotWriteMessage(target_));
  temporary_ = name.data();
  // mkstemp makes the file private; give it the permissions a plain create would.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd_, kNewFileMode & ~mask);
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void AtomicFile::Fail() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(temporary_.c_str());
  temporary_.clear();
  throw WriteError(CannotWriteMessage(target_));
}

void AtomicFile::Write(const void* data, size_t length) {
  if (fd_ < 0) Fail();
  const auto* bytes = static_cast<const char*>(data);
  while (length > 0) {
    const ssize_t written = ::write(fd_, bytes, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail();
    }
    bytes += written;
    length -= static_cast<size_t>(written);
  }
}

void AtomicFile::Commit() {
  if (fd_ < 0) Fail();
  if (::fsync(fd_) != 0 || ::close(fd_) != 0) {
    fd_ = -1;
    Fail();
  }
  fd_ = -1;
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) Fail();
  temporary_.clear();
}

void WriteFileAtomically(const std::string& target, std::string_view content) {
  AtomicFile file(target);
  file.Write(content);
  file.Commit();
}

}  // namespace tilvendo
