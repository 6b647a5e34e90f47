// The whole state of one program run: the job settings, the shared pictures, flags,
// paths and lists. One object, handed to the pages and the engine; tests make fresh ones.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "albums/alben_kontext.h"
#include "albums/alben_zustand.h"
#include "albums/bildzahlen.h"
#include "engine/einstellungen.h"
#include "engine/kachelliste.h"
#include "engine/mosaikergebnis.h"
#include "engine/mosaikplan.h"
#include "platform/bitmap.h"
#include "platform/clock.h"
#include "platform/zufall.h"

namespace tilvendo {

// The application title and its version, as the window captions show them.
inline constexpr const char* kProgrammTitel = "Nubo Tilvendo";
inline constexpr const char* kProgrammVersion = "1.9";

// Environment variable that moves the album folder (tests and portable installs).
inline constexpr const char* kAlbenPfadVariable = "TILVENDO_ALBEN";

// Page numbers of the wizard that the engine needs to know.
inline constexpr uint16_t kSeiteVorlage = 1;
inline constexpr uint16_t kSeiteErgebnis = 6;
inline constexpr uint16_t kSeiteUebersicht = 7;

// What the matching under usage limits did in the last run, for its report.
struct Zuordnungsbericht {
  bool gerechnet = false;  // the matching ran under usage limits
  int64_t summeFluss = 0;  // total signature distance of the flow's assignment
  // What the optimum costs at least (the flow's own bound), over all pairs of cell and
  // photo when `alleFotos`, else over each cell's near photos; summeFluss lies within
  // 0.09 % of it.
  int64_t untereSchranke = 0;
  bool alleFotos = false;
  int64_t summe = 0;    // the same after the exchanges for the minimum distance
  int32_t tausche = 0;  // exchanges made for the minimum distance
  int32_t offen = 0;    // cells whose photo still repeats too close: no exchange helped
  // Tiles by which the distance was lowered for every cell because the limits left no
  // exchange; the distance then holds everywhere.
  int32_t abstandGesenkt = 0;
  int32_t runden = 0;  // flows solved, each with more pairs than the one before
};

struct Auftrag {
  Einstellungen einstellungen;
  Analyse analyse;
  Vorlage vorlage;
  Bildzahlen BilderAnzahl;  // pictures in the chosen albums

  Phasenzeiten PhasenZeiten;
  std::array<double, kLaufzeitenAnzahl> Laufzeiten{};

  // Shared pictures. The template is replaced through VorlageBildErsetzen.
  Bitmap VorlageBild;
  // The picture as read while the template is a part cut from it (a poster filling paper
  // of another shape), so that another choice can cut it anew; empty otherwise.
  Bitmap VorlageGanz;
  Bitmap VorschauBild;
  Bitmap SpeicherVorschau;

  // Set by a second press of START (or Ctrl+C); polled by every phase. Atomic because
  // a signal handler or another thread may set it.
  std::atomic<bool> Abbruch{false};
  bool ProgrammEnde = false;
  bool ErgebnisFertig = false;
  // Pictures of the last run that had gone since their album was read (passed over by
  // the matching) or could not be read when composing, and the cells left black.
  int32_t FehlendeBilder = 0;
  int32_t UnlesbareBilder = 0;
  int32_t SchwarzeKacheln = 0;
  // Of those: cells that show another readable photo instead of their unreadable one, and
  // cells black because none could be read where a photo was meant; the files that could
  // not be read (their albums' caches are marked for rebuilding).
  int32_t ErsetzteKacheln = 0;
  int32_t OhneErsatzKacheln = 0;
  std::vector<std::string> UnlesbareDateien;
  // The mosaic of the last completed run, with its plan (which photo in which cell, the
  // grid, the tile size and all that drawing them needs, as they were when it was
  // composed). Absent until a run completes. The grid `Raster` and `Dateiliste` belong to
  // the run in progress or the last one begun, which need not be the one that completed.
  std::unique_ptr<Mosaikergebnis> Ergebnis;
  // Tiles the last composing had to read more than once, because the kept tiles would
  // have exceeded their share of the memory.
  int32_t ErneutGeleseneBilder = 0;
  Zuordnungsbericht zuordnung;
  uint16_t AktSeite = kSeiteVorlage;
  int32_t AnzeigeMaxBreite = 0;
  int32_t AnzeigeMaxHoehe = 0;
  int32_t RahmenBreite = 0;
  int32_t RahmenHoehe = 0;
  bool Protokoll = false;  // write the log of pictures read

  std::string ProgrammPfad;
  std::string AlbenPfad;
  // How long a change of the album files waits while another program changes them.
  std::chrono::milliseconds AlbenSperrFrist = kAlbenSperrFrist;
  std::string Arbeitspfad;

  // File names of all tile pictures read in the current run; a picture's number is its
  // index here.
  std::vector<std::string> Dateiliste;

  // The tile list of the last reading phase with its brightness index.
  Kachelliste kachelliste;

  // The chosen albums (from entry 2 on) that the reading phase walks, and the album
  // editor's working copy.
  AlbenZustand alben;

  Zufall zufall;
};

struct Startoptionen {
  std::vector<std::string> argumente;    // command-line arguments after the program name
  std::optional<uint32_t> seed;          // fixed seed for reproducible runs
  std::optional<std::string> albenPfad;  // overrides the environment and the default
};

// Start-up: seeds the random generator (from the clock unless a seed is given), sets
// `Protokoll` from the first argument, the paths (creating the album folder, silently
// when that fails) and the shared pictures.
void Programmstart(Auftrag& auftrag, const Startoptionen& optionen);

// Makes `vorlage` the job's template. A result composed again when it is saved, whose
// tiles' colours were moved toward the template it was matched against, keeps that one
// (Mosaikergebnis::VorlageUebernehmen), so that saving it later draws the very mosaic its
// run made.
void VorlageBildErsetzen(Auftrag& auftrag, Bitmap vorlage);

// The job defaults every start begins from.
void StandardwerteSetzen(Auftrag& auftrag);

// Whether the first argument switches the picture log on: "L" in any letter case.
bool ProtokollSchalter(const std::vector<std::string>& argumente);

// The album folder: $TILVENDO_ALBEN, else $XDG_DATA_HOME/nubo-tilvendo/Alben/.
std::string AlbenPfadErmitteln();

}  // namespace tilvendo
