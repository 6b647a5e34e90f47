// Another process that holds the lock of a folder, as a second program changing the album
// files holds it, until the object goes: the lock is taken in a child process.
#pragma once

#include <sys/types.h>

#include <string>

namespace tilvendo::testing {

class FremdeSperre {
 public:
  // Returns once the child holds the lock on `ordner`.
  explicit FremdeSperre(const std::string& ordner);
  // Ends the child, and with it its lock.
  ~FremdeSperre();
  FremdeSperre(const FremdeSperre&) = delete;
  FremdeSperre& operator=(const FremdeSperre&) = delete;

 private:
  pid_t kind_ = -1;
};

}  // namespace tilvendo::testing
