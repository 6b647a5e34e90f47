// Runs the command line in-process on a temporary album folder and collects what it
// printed, for the command-line tests.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/programm.h"
#include "cli/terminal_benutzer.h"
#include "platform/medien.h"
#include "support/temp_folder.h"

namespace tilvendo::testing {

// Whether `teil` appears anywhere in `text`.
inline bool Enthaelt(const std::string& text, const std::string& teil) {
  return text.find(teil) != std::string::npos;
}

// Every folder lies on one medium, a fixed disk unless a test says otherwise.
class EineFestplatte : public Medien {
 public:
  std::string Einhaengepunkt(std::string_view) const override { return "/"; }
  std::string Datentraegerkennung(std::string_view) const override { return kennung; }
  int Laufwerksklasse(std::string_view) const override { return klasse; }

  std::string kennung = "1234-ABCD";
  int klasse = kLaufwerksklasseFestplatte;
};

struct Ergebnis {
  int code = -1;
  std::string aus;
  std::string fehler;
};

class Kommandozeile {
 public:
  // Runs `tilvendo --alben-pfad <temp>/Alben <argumente…>`. With a `benutzer` given,
  // that one talks to the user (it must write to `fehlerStrom`).
  Ergebnis operator()(const std::vector<std::string>& argumente);
  Ergebnis Mit(cli::TerminalBenutzer& benutzer, std::ostringstream& fehlerStrom,
               const std::vector<std::string>& argumente, bool signaleAbfangen);

  const TempFolder& ordner() const { return ordner_; }
  std::string operator/(const std::string& name) const { return ordner_ / name; }
  std::string alben() const { return ordner_ / "Alben"; }
  EineFestplatte& medien() { return medien_; }

 private:
  TempFolder ordner_;
  EineFestplatte medien_;
};

// `anzahl` small photos of different colours and patterns in `ordner` (made).
void FotosSchreiben(const std::string& ordner, int anzahl);

// A 120 × 90 template with a colour ramp, as BMP.
void VorlageSchreiben(const std::string& pfad);

}  // namespace tilvendo::testing
