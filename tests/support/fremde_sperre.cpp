#include "support/fremde_sperre.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace tilvendo::testing {

FremdeSperre::FremdeSperre(const std::string& ordner) {
  int rohr[2];
  if (::pipe(rohr) != 0) throw std::runtime_error("pipe");
  kind_ = ::fork();
  if (kind_ < 0) throw std::runtime_error("fork");
  if (kind_ == 0) {
    // Only calls that are safe after a fork of a process with threads.
    const int fd = ::open(ordner.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const char gehalten = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 1 : 0;
    (void)!::write(rohr[1], &gehalten, 1);
    for (;;) ::pause();
  }
  ::close(rohr[1]);
  char gehalten = 0;
  const bool gelesen = ::read(rohr[0], &gehalten, 1) == 1;
  ::close(rohr[0]);
  if (!gelesen || gehalten != 1) throw std::runtime_error("Sperre nicht genommen: " + ordner);
}

FremdeSperre::~FremdeSperre() {
  ::kill(kind_, SIGKILL);
  ::waitpid(kind_, nullptr, 0);
}

}  // namespace tilvendo::testing
