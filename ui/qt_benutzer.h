// The user behind the wizard's windows: message boxes, the medium-name question, the
// event pump and the screen. Every call arrives on the window thread (the engine calls
// it only from the thread that started a run or a scan, which here is the window thread).
//
// Progress and scan reports go to whichever page shows them at the moment: the page
// sets the matching handler while it is shown and clears it when it hides.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/benutzer.h"
#include "wizard/navigation.h"

class QWidget;

namespace tilvendo::ui {

class QtBenutzer : public Benutzer {
 public:
  void Warnung(std::string_view text) override;
  void Information(std::string_view text) override;
  // A note beside the mouse pointer that goes by itself.
  void Hinweis(std::string_view text) override;
  bool Bestaetigung(std::string_view text) override;
  std::string MediumNameErfragen() override;
  void EreignisseVerarbeiten() override;
  void ScanOrdnerLeeren() override;
  void ScanOrdnerSetzen(std::string_view ordner) override;
  void ScanAnzahlSetzen(int32_t anzahl) override;
  void FortschrittsZeilen(const std::vector<std::string>& zeilen) override;
  void Fortschrittsbalken(int32_t position, int32_t maximum) override;
  Size Bildschirmgroesse() const override;
  int32_t Farbtiefe() const override;

  // The question before the program ends: "&Ja", "&Nein" and, with `mitAbbrechen`,
  // "&Abbrechen" (also the answer when the box is closed otherwise).
  virtual wizard::Antwort Frage(std::string_view text, bool mitAbbrechen);

  // Where the reports go while a page shows them.
  std::function<std::string()> mediumNameFrage;
  std::function<void(std::string_view ordner)> scanOrdner;  // "-" when cleared
  std::function<void(int32_t anzahl)> scanAnzahl;
  std::function<void(const std::vector<std::string>& zeilen)> fortschrittsZeilen;
  std::function<void(int32_t position, int32_t maximum)> fortschrittsBalken;

 private:
  static QWidget* Elternfenster();
};

}  // namespace tilvendo::ui
