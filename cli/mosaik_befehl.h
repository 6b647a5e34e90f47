// The mosaic command: the job prepared by the same rules the wizard pages apply, the
// run with its pre-checks and four phases, and the blended result saved. The output
// file appears only when the whole mosaic was written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/aufruf.h"
#include "cli/umgebung.h"

namespace tilvendo::cli {

// Returns the exit code (kExitErfolg, or kExitAbbruch after a cancel); throws
// Befehlsfehler, WriteError and the like on failures. With `signaleAbfangen` Ctrl+C
// cancels the run.
int MosaikErstellen(const MosaikOptionen& optionen, const std::optional<std::string>& albenPfad,
                    Umgebung& umgebung, bool signaleAbfangen);

// "Die Vorlage „X“ gibt es nicht." and its kin.
std::string MeldungVorlageFehlt(const std::string& pfad);
std::string MeldungVorlageUnlesbar(const std::string& pfad);
// The error after a mosaic was written with `schwarz` cells black where photos were meant
// (neither they nor any other of the plan could be read); the program ends with kExitFehler.
std::string MeldungUnvollstaendig(const std::string& ausgabe, int32_t schwarz);

}  // namespace tilvendo::cli
