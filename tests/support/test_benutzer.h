// A user for tests: records every warning, information, progress line list and gauge
// position, answers questions from a prepared list and can run an action from the event
// pump (for example a cancel after a number of progress steps).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/benutzer.h"

namespace tilvendo::testing {

struct Balkenstand {
  int32_t position = 0;
  int32_t maximum = 0;
  friend bool operator==(const Balkenstand&, const Balkenstand&) = default;
};

class TestBenutzer : public Benutzer {
 public:
  void Warnung(std::string_view text) override { warnungen.emplace_back(text); }
  void Information(std::string_view text) override { informationen.emplace_back(text); }
  void Hinweis(std::string_view text) override { hinweise.emplace_back(text); }
  bool Bestaetigung(std::string_view text) override;
  std::string MediumNameErfragen() override;
  void EreignisseVerarbeiten() override;
  void FortschrittsZeilen(const std::vector<std::string>& zeilen) override;
  void Fortschrittsbalken(int32_t position, int32_t maximum) override;
  Size Bildschirmgroesse() const override { return bildschirm; }
  int32_t Farbtiefe() const override { return farbtiefe; }

  std::vector<std::string> warnungen;
  std::vector<std::string> informationen;
  std::vector<std::string> hinweise;
  std::vector<std::string> fragen;                      // every confirmation asked
  std::deque<bool> antworten;                           // answers to confirmations; "no" when empty
  std::deque<std::string> mediennamen;                  // answers to the medium-name question
  std::vector<std::vector<std::string>> zeilenStaende;  // each list of progress lines shown
  std::vector<Balkenstand> balkenStaende;               // each gauge position shown
  int32_t ereignisRunden = 0;                           // calls of the event pump

  // Runs on every call of the event pump, after the count went up.
  std::function<void(int32_t runde)> beimEreignis;

  Size bildschirm{1920, 1080};
  int32_t farbtiefe = 32;
};

}  // namespace tilvendo::testing
