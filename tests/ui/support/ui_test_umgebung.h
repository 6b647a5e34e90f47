// What the tests of the wizard's windows share: a user that answers from a script
// instead of opening message boxes, a fresh album folder, and a shell with its job.
#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/medien.h"
#include "support/temp_folder.h"
#include "ui/assistent.h"
#include "ui/qt_benutzer.h"

namespace tilvendo::testing {

class SkriptBenutzer : public ui::QtBenutzer {
 public:
  void Warnung(std::string_view text) override { warnungen.emplace_back(text); }
  void Information(std::string_view text) override { informationen.emplace_back(text); }
  wizard::Antwort Frage(std::string_view text, bool mitAbbrechen) override;
  std::string MediumNameErfragen() override;
  int32_t Farbtiefe() const override { return farbtiefe; }

  std::vector<std::string> warnungen;
  std::vector<std::string> informationen;
  std::vector<std::string> fragen;
  std::deque<wizard::Antwort> antworten;                // "Nein" when empty
  std::function<void(std::string_view text)> beiFrage;  // runs as a question is asked
  std::deque<std::string> mediennamen;
  int32_t farbtiefe = 32;  // bits per pixel of the screen
};

// A shell over a fresh album folder, with the job defaults set (as after start-up).
class UiTestUmgebung {
 public:
  explicit UiTestUmgebung(const Medien* medien = nullptr);

  TempFolder ordner;  // alben/ for the album files; the rest is the test's
  SkriptBenutzer benutzer;
  ui::Assistent& assistent() { return *assistent_; }
  Auftrag& auftrag() { return assistent_->auftrag(); }

 private:
  SystemMedien systemMedien_;
  std::unique_ptr<ui::Assistent> assistent_;
};

// Runs `aktion` as soon as a window waits for the user (the page or box that the code
// after this call opens with exec(); a page is passed itself, not the wizard's window
// it is shown in). Fails the test after a few seconds without one.
void WennModal(std::function<void(QWidget* fenster)> aktion);

// Sets up German, the glyph theme and Qt's own dialogs, as the program does.
void UiTestsEinrichten();

}  // namespace tilvendo::testing
