#include "cli/terminal_benutzer.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "platform/translate.h"

namespace tilvendo::cli {
namespace {

constexpr int32_t kBalkenBreite = 30;
constexpr int64_t kProzent = 100;
constexpr std::string_view kLaufendEndung = "...";
// Carriage return and "erase to end of line": redraws the bar in place.
constexpr std::string_view kZeileLeeren = "\r\033[K";

bool Laeuft(const std::string& zeile) {
  return zeile.size() >= kLaufendEndung.size() &&
         zeile.compare(zeile.size() - kLaufendEndung.size(), kLaufendEndung.size(),
                       kLaufendEndung) == 0;
}

}  // namespace

TerminalBenutzer::TerminalBenutzer(std::ostream& fehler, bool istTerminal, std::istream* eingabe)
    : fehler_(fehler), istTerminal_(istTerminal), eingabe_(eingabe) {}

void TerminalBenutzer::ZeileAbschliessen() {
  if (balkenOffen_) {
    fehler_ << kZeileLeeren;
    balkenOffen_ = false;
  }
}

void TerminalBenutzer::Warnung(std::string_view text) {
  ZeileAbschliessen();
  ++warnungen_;
  fehler_ << _("Warnung: ") << text << '\n' << std::flush;
}

void TerminalBenutzer::Information(std::string_view text) {
  ZeileAbschliessen();
  fehler_ << text << '\n' << std::flush;
}

void TerminalBenutzer::Hinweis(std::string_view text) {
  ZeileAbschliessen();
  fehler_ << _("Hinweis: ") << text << '\n' << std::flush;
}

std::string TerminalBenutzer::MediumNameErfragen() {
  ZeileAbschliessen();
  if (eingabe_ == nullptr) return {};
  fehler_ << _(kMediumNameFrage) << ' ' << std::flush;
  std::string name;
  std::getline(*eingabe_, name);
  return name;
}

void TerminalBenutzer::FortschrittsZeilen(const std::vector<std::string>& zeilen) {
  // Lines already shown stay; changed and new ones follow. A running line is shown
  // with the bar on a terminal and as a line of its own elsewhere.
  size_t gleich = 0;
  while (gleich < zeilen.size() && gleich < gezeigt_.size() && zeilen[gleich] == gezeigt_[gleich]) {
    ++gleich;
  }
  ZeileAbschliessen();
  laufend_.clear();
  for (size_t i = gleich; i < zeilen.size(); ++i) {
    if (zeilen[i].empty()) continue;
    if (istTerminal_ && i + 1 == zeilen.size() && Laeuft(zeilen[i])) {
      laufend_ = zeilen[i];
    } else {
      fehler_ << zeilen[i] << '\n';
    }
  }
  gezeigt_ = zeilen;
  position_ = 0;
  if (!laufend_.empty()) BalkenZeichnen();
  fehler_ << std::flush;
}

void TerminalBenutzer::Fortschrittsbalken(int32_t position, int32_t maximum) {
  position_ = position;
  maximum_ = maximum;
  if (istTerminal_ && !laufend_.empty()) BalkenZeichnen();
}

void TerminalBenutzer::BalkenZeichnen() {
  const int64_t anteil =
      maximum_ > 0 ? std::clamp<int64_t>(int64_t{position_} * kProzent / maximum_, 0, kProzent) : 0;
  if (balkenOffen_ && anteil == gezeichnet_) return;
  gezeichnet_ = anteil;
  const int64_t voll = anteil * kBalkenBreite / kProzent;
  fehler_ << kZeileLeeren << laufend_ << " [" << std::string(static_cast<size_t>(voll), '#')
          << std::string(static_cast<size_t>(kBalkenBreite - voll), '.') << "] " << anteil << " %"
          << std::flush;
  balkenOffen_ = true;
}

}  // namespace tilvendo::cli
