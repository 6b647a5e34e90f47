#include "cli/abbruch_signal.h"

#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "platform/translate.h"

namespace tilvendo::cli {
namespace {

// Touched by the signal handler: only lock-free atomics.
std::atomic<std::atomic<bool>*> gAbbruch{nullptr};
std::atomic<int> gSignale{0};
static_assert(std::atomic<std::atomic<bool>*>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);
static_assert(std::atomic<bool>::is_always_lock_free);

constexpr const char* kHinweisErsterAbbruch = N_("\nAbbruch … (noch einmal Strg+C beendet sofort)\n");
constexpr const char* kHinweisSofort = N_("\nSofort beendet.\n");
// The notes in the user's language, looked up before a signal can come: the handler
// itself may only write.
std::atomic<const char*> gErsterAbbruch{kHinweisErsterAbbruch};
std::atomic<const char*> gSofort{kHinweisSofort};
static_assert(std::atomic<const char*>::is_always_lock_free);

void Schreiben(const char* text) {
  // write(2) and strlen are async-signal-safe; a failed note is no reason to do anything else.
  [[maybe_unused]] const ssize_t geschrieben = ::write(STDERR_FILENO, text, std::strlen(text));
}

extern "C" void BeiSignal(int) {
  if (gSignale.fetch_add(1) > 0) {
    Schreiben(gSofort.load());
    ::_exit(kExitAbbruch);
  }
  if (std::atomic<bool>* abbruch = gAbbruch.load()) abbruch->store(true);
  Schreiben(gErsterAbbruch.load());
}

struct sigaction gVorherInt;
struct sigaction gVorherTerm;

}  // namespace

AbbruchSignal::AbbruchSignal(std::atomic<bool>& abbruch) {
  gErsterAbbruch.store(_(kHinweisErsterAbbruch));
  gSofort.store(_(kHinweisSofort));
  gSignale.store(0);
  gAbbruch.store(&abbruch);
  struct sigaction aktion;
  std::memset(&aktion, 0, sizeof(aktion));
  aktion.sa_handler = BeiSignal;
  sigemptyset(&aktion.sa_mask);
  aktion.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &aktion, &gVorherInt);
  ::sigaction(SIGTERM, &aktion, &gVorherTerm);
}

AbbruchSignal::~AbbruchSignal() {
  ::sigaction(SIGINT, &gVorherInt, nullptr);
  ::sigaction(SIGTERM, &gVorherTerm, nullptr);
  gAbbruch.store(nullptr);
}

bool AbbruchSignal::Empfangen() {
  return gSignale.load() > 0;
}

}  // namespace tilvendo::cli
