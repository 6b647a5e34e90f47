// The user at a terminal: warnings and progress go to the error stream (standard error),
// so that the normal output stays clean for scripts. On a terminal the running phase
// shows a progress bar that is redrawn in place; elsewhere (a log file, a pipe) only
// whole lines are written.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/benutzer.h"
#include "platform/translate.h"

namespace tilvendo::cli {

// Question for a removable medium's name.
inline constexpr const char* kMediumNameFrage =
    N_("Bitte geben Sie einen Namen für das momentan eingelegte Medium ein:");

class TerminalBenutzer : public Benutzer {
 public:
  // Questions are read from `eingabe` when it is given (standard input is a terminal).
  TerminalBenutzer(std::ostream& fehler, bool istTerminal, std::istream* eingabe = nullptr);

  void Warnung(std::string_view text) override;
  void Information(std::string_view text) override;
  std::string MediumNameErfragen() override;
  void FortschrittsZeilen(const std::vector<std::string>& zeilen) override;
  void Fortschrittsbalken(int32_t position, int32_t maximum) override;

  // A note ("Hinweis: …").
  void Hinweis(std::string_view text) override;

  // Ends a bar line that is still open, so the next output starts on a new line.
  void ZeileAbschliessen();

  int32_t Warnungen() const { return warnungen_; }

 private:
  void BalkenZeichnen();

  std::ostream& fehler_;
  bool istTerminal_;
  std::istream* eingabe_;
  std::vector<std::string> gezeigt_;  // progress lines shown so far
  std::string laufend_;               // the running phase's line, drawn with the bar
  int32_t position_ = 0;
  int32_t maximum_ = 0;
  bool balkenOffen_ = false;
  int64_t gezeichnet_ = -1;  // per cent last drawn; -1 when the line must be drawn anew
  int32_t warnungen_ = 0;
};

}  // namespace tilvendo::cli
