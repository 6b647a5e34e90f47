// What a command needs from its surroundings: the streams, whether the error stream is
// a terminal, where questions are answered, and the machine's media. The tests hand in
// their own.
#pragma once

#include <chrono>
#include <iosfwd>
#include <stdexcept>
#include <string>

#include "albums/alben_kontext.h"
#include "cli/terminal_benutzer.h"
#include "platform/medien.h"

namespace tilvendo::cli {

// Exit codes.
inline constexpr int kExitErfolg = 0;
inline constexpr int kExitFehler = 1;
inline constexpr int kExitAufruf = 2;

// A failure of a command, with its German message; the program ends with kExitFehler.
// An empty message means the reason was already told (a warning).
class Befehlsfehler : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Umgebung {
  std::ostream& aus;     // results
  std::ostream& fehler;  // messages and progress
  TerminalBenutzer& benutzer;
  const Medien& medien;
  // How long a change of the album files waits while another program changes them.
  std::chrono::milliseconds albenSperrFrist = kAlbenSperrFrist;
};

}  // namespace tilvendo::cli
