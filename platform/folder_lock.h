// An advisory lock on a folder, so that programs which read a file of that folder, change
// it and write it back take turns instead of overwriting each other's changes.
//
// The lock is flock(2) on the folder itself: one holder at a time, released when the
// FolderLock is destroyed or its process ends in any way (also by a kill), and binding
// only on programs that ask for it. Two FolderLocks of one process exclude each other
// like those of two processes, so a holder must never ask for the same folder again.
#pragma once

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>

namespace tilvendo {

// Raised when another holder kept the lock for the whole time allowed.
class FolderLockTimeout : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class FolderLock {
 public:
  // How often a waiting caller tries again.
  static constexpr std::chrono::milliseconds kPollInterval{20};

  // Called after each failed try while another holds the lock, with the time waited so
  // far (a user interface shows a note and keeps its window alive here).
  using WaitCallback = std::function<void(std::chrono::milliseconds waited)>;

  // Takes the lock on `folder`, waiting up to `timeout` while another holds it; throws
  // FolderLockTimeout when that time runs out. A folder that cannot be opened (missing,
  // no permission) or that lies on a file system without locks gives a lock that holds
  // nothing: the work that follows then meets the folder's real problem by itself.
  FolderLock(const std::string& folder, std::chrono::milliseconds timeout,
             const WaitCallback& waiting = {});
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // Whether the lock is really held (see the constructor).
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace tilvendo
