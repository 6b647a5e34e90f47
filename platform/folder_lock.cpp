#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace tilvendo {

FolderLock::FolderLock(const std::string& folder, std::chrono::milliseconds timeout,
                       const WaitCallback& waiting) {
  using Clock = std::chrono::steady_clock;
  // Close-on-exec: a program started from here must not keep the lock alive.
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  const Clock::time_point start = Clock::now();
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      fd_ = fd;
      return;
    }
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) {
      // No locks here (some network file systems): work on without one.
      ::close(fd);
      return;
    }
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    if (waited >= timeout) {
      ::close(fd);
      throw FolderLockTimeout("folder locked by another program: " + folder);
    }
    if (waiting) {
      try {
        waiting(waited);
      } catch (...) {
        ::close(fd);
        throw;
      }
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

FolderLock::~FolderLock() {
  // Closing the last descriptor of the open folder releases the lock.
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace tilvendo
