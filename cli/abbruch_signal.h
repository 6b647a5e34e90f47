// Ctrl+C during a run: the first press asks the run to stop (it ends cleanly at its
// next poll, caches consistent); a second press ends the program at once.
#pragma once

#include <atomic>

namespace tilvendo::cli {

// Exit code after a cancel, as shells report a death by SIGINT.
inline constexpr int kExitAbbruch = 130;

// While alive, SIGINT and SIGTERM set `abbruch`; a second signal writes a short note
// and ends the process with kExitAbbruch. The previous handlers come back afterwards.
// Only one guard may be alive at a time.
class AbbruchSignal {
 public:
  explicit AbbruchSignal(std::atomic<bool>& abbruch);
  ~AbbruchSignal();
  AbbruchSignal(const AbbruchSignal&) = delete;
  AbbruchSignal& operator=(const AbbruchSignal&) = delete;

  // Whether a signal arrived while the guard was alive.
  static bool Empfangen();
};

}  // namespace tilvendo::cli
