#include "support/test_benutzer.h"

namespace tilvendo::testing {

bool TestBenutzer::Bestaetigung(std::string_view text) {
  fragen.emplace_back(text);
  if (antworten.empty()) return false;
  const bool antwort = antworten.front();
  antworten.pop_front();
  return antwort;
}

std::string TestBenutzer::MediumNameErfragen() {
  if (mediennamen.empty()) return {};
  std::string name = mediennamen.front();
  mediennamen.pop_front();
  return name;
}

void TestBenutzer::EreignisseVerarbeiten() {
  ++ereignisRunden;
  if (beimEreignis) beimEreignis(ereignisRunden);
}

void TestBenutzer::FortschrittsZeilen(const std::vector<std::string>& zeilen) {
  zeilenStaende.push_back(zeilen);
}

void TestBenutzer::Fortschrittsbalken(int32_t position, int32_t maximum) {
  balkenStaende.push_back(Balkenstand{position, maximum});
}

}  // namespace tilvendo::testing
