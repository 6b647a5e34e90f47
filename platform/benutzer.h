// What the engine and the albums need from whoever talks to the user: message boxes,
// the medium-name question, progress and the event pump. The wizard, the command line
// and the tests each provide one; the defaults here keep quiet and answer "no".
//
// Threads: every call arrives on the thread that started the run or the folder scan;
// the engine's worker threads never call it. A user interface that runs the work on a
// thread of its own therefore gets its calls there and brings them to its window thread
// itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rect.h"

namespace tilvendo {

class Benutzer {
 public:
  virtual ~Benutzer() = default;

  // Modal boxes of the warning ("Warnung"), information and confirmation kinds.
  virtual void Warnung(std::string_view text) { (void)text; }
  virtual void Information(std::string_view text) { (void)text; }
  virtual bool Bestaetigung(std::string_view text) {
    (void)text;
    return false;
  }

  // A note that needs no answer and holds nothing up, such as why the program waits.
  virtual void Hinweis(std::string_view text) { (void)text; }

  // Asks for a name for the removable medium now inserted; an empty answer is valid.
  virtual std::string MediumNameErfragen() { return {}; }

  // Lets the user interface handle pending events (repaint, a click on "abbrechen").
  virtual void EreignisseVerarbeiten() {}

  // Folder-scan progress of the album editor.
  virtual void ScanOrdnerLeeren() {}
  virtual void ScanOrdnerSetzen(std::string_view ordner) { (void)ordner; }
  virtual void ScanAnzahlSetzen(int32_t anzahl) { (void)anzahl; }

  // Progress of a computation run: the list of phase lines and the gauge.
  virtual void FortschrittsZeilen(const std::vector<std::string>& zeilen) { (void)zeilen; }
  virtual void Fortschrittsbalken(int32_t position, int32_t maximum) {
    (void)position;
    (void)maximum;
  }

  // The screen size the result is fitted to; a headless user has a 1920 × 1080 screen.
  virtual Size Bildschirmgroesse() const { return Size{1920, 1080}; }

  // Colour depth of the display in bits per pixel (below 16 the program refuses to run).
  virtual int32_t Farbtiefe() const { return 32; }
};

}  // namespace tilvendo
