// Setting up a mosaic job from the front ends: loading the template, choosing the
// albums, applying the wished size, tiling and extended settings in the order the
// wizard's pages do, the overview's consistency step, saving the result and the figures
// of the last run. The wizard pages and the command line both go through these plain
// functions over the job, so the two cannot set a job up differently.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/auftrag.h"
#include "engine/grossformat.h"
#include "engine/mosaikergebnis.h"
#include "pictures/speichern.h"
#include "platform/benutzer.h"
#include "platform/medien.h"
#include "platform/rect.h"
#include "platform/translate.h"

namespace tilvendo {

// The zoom the target-size page starts from, in per cent.
inline constexpr int32_t kZoomStandard = 100;

enum class Vorlagenausgang {
  Geladen,     // the picture is the new template
  Fehlt,       // there is no file of that name; nothing changed
  KeineDatei,  // the name is a folder, a device or a pipe, never opened; nothing changed
  Unlesbar,    // the file is no picture we can read; nothing changed
  ZuGross,     // the picture declares more pixels than a template may have; nothing changed
};

// Loads the picture at `pfad` as the template. When it could be read, `VorlageDatei`
// and `VorlagePfad` take its name and folder, `VorlageBild` holds it in the working
// format, `VorlageBreite`/`VorlageHoehe` its size, and the result gets its size by the
// choice in force (ZielgroesseErneuern): a poster's paper, cut to it or fitted inside as
// chosen, else the job's zooms. When it could not be read, the job keeps its previous
// template, name and result size.
// The template is read upright when the job reads photos upright (`Aufrichten`).
Vorlagenausgang VorlageLaden(Auftrag& auftrag, const std::string& pfad);

// Why the picture at `pfad` cannot be a template after VorlageLaden said ZuGross: its
// size and the limit.
std::string MeldungVorlageZuGross(const std::string& pfad);
// "Die Vorlage „X“ ist ein Ordner und kein Bild." and its kin, after KeineDatei.
std::string MeldungVorlageKeineDatei(const std::string& pfad);

enum class Albenausgang {
  Gewaehlt,     // every album is chosen and BilderAnzahl counts them
  Unbekannt,    // the catalogue has no album of that name
  MediumFehlt,  // the album's removable medium is not inserted (the user was warned)
};

struct Albenwahl {
  Albenausgang ausgang = Albenausgang::Gewaehlt;
  std::string album;  // the album that could not be chosen
};

// Chooses the albums `namen` in order, as the selection page does for each (its medium
// must be present; an album never scanned is scanned), and recounts `BilderAnzahl`.
// Stops at the first album that cannot be chosen; those chosen before it stay chosen.
Albenwahl AlbenWaehlen(Auftrag& auftrag, const std::vector<std::string>& namen,
                       const Medien& medien, Benutzer& benutzer);

// `BilderAnzahl` := the picture counts of the albums chosen now (after the selection
// page changed them).
void BilderZaehlen(Auftrag& auftrag);

// A printed size in millimetres (not necessarily whole ones).
struct Druckmass {
  double breite = 0.0;
  double hoehe = 0.0;
};

// What a front end wishes for the job; `Einrichten` holds it within what the template,
// the grid and the pictures allow.
struct Auftragswunsch {
  bool grossformat = false;        // lift the usual size bound (Einstellungen::Grossformat)
  int32_t dpi = 0;                 // print resolution written into the file; 0: none
  std::optional<Druckmass> druck;  // result size printed at `dpi`; before `groesse`
  // How the template meets the paper of `druck` when their shapes differ.
  Papiernutzung nutzung = Papiernutzung::GanzeVorlage;
  std::optional<Size> groesse;   // result size in pixels; without it the zoom applies
  int32_t zoom = kZoomStandard;  // result size in per cent of the template's
  int32_t kachelnX = 0;          // tiles across and down
  int32_t kachelnY = 0;
  uint8_t formanalyse = kFormanalyseStandard;
  uint8_t berechnungsart = 0;
  uint8_t musterbildung = 0;
  int32_t minAbstand = 2;
  Verfahren verfahren;
};

// Which wishes had to give way.
struct Nachgaben {
  bool zoom = false;        // held below the largest result size (also a size or print size)
  bool kacheln = false;     // lowered so that every tile keeps its least width
  bool minAbstand = false;  // lowered to what grid and pictures allow
};

// Applies the wish as the size, tiling and extended settings pages would, in that
// order, then `UebersichtVorbereiten`. Needs the template loaded and the albums counted.
Nachgaben Einrichten(Auftrag& auftrag, const Auftragswunsch& wunsch);

// What the overview does each time it is shown: releases the tile list a previous run
// left, reads the template again when upright reading was switched since it was read,
// then makes the job consistent (`UebersichtAbgleichen`). True when the template was
// read again (a preview made from it is then out of date).
bool UebersichtVorbereiten(Auftrag& auftrag);

enum class Speicherausgang {
  Gespeichert,      // the file is complete; the result counts as saved
  FormatUnbekannt,  // nothing was written
  Abgebrochen,      // the user stopped it; the old file is as it was, nothing is left
  KeinBildLesbar,   // no placed photo could be read; nothing was written
};

// Saves the last completed run's mosaic (`Ergebnis`) with the job's template, as it is
// now, blended in at `blendwert` (0..255), as `optionen` say, with the print resolution
// the mosaic was made for unless `optionen` carry one (Mosaikergebnis::Speichern): a
// mosaic held whole from its pixels, a poster composed again from its plan, so the file
// holds the mosaic its run made whatever the settings say by now. Progress goes to
// `begleitung`, and its cancel flag stops the save within a few photos. On success the
// result counts as saved (`ErgebnisGespeichert` := 1). Raises WriteError (with the message
// for the user) when the file cannot be written, is refused by engine/ausgabeziel.h (the
// template, a photo of a chosen album, an album file or a device, under any name), is too
// large for its format or does not fit the free space, and std::logic_error when there is
// no mosaic yet.
Speicherausgang ErgebnisSpeichern(Auftrag& auftrag, uint8_t blendwert,
                                  const SpeicherOptionen& optionen,
                                  const Speicherbegleitung& begleitung = {});

// Saves the same mosaic as ErgebnisSpeichern would, as the sheets `wahl` describes in one
// PDF (Mosaikergebnis::SeitenSpeichern) into the file of `optionen`, at the print
// resolution the mosaic was made for unless `optionen` carry one. Answers and raises as
// ErgebnisSpeichern does (the sheets' refusals as WriteError).
Speicherausgang ErgebnisAlsSeiten(Auftrag& auftrag, uint8_t blendwert,
                                  const SpeicherOptionen& optionen, const Seitenwahl& wahl,
                                  const Speicherbegleitung& begleitung = {});
// Saves the same mosaic as ErgebnisSpeichern would, as a zoomable web page
// (Mosaikergebnis::WebseiteSpeichern), naming the photos unless `mitNamen` is false.
// Answers and raises as ErgebnisSpeichern does; the page never replaces the template.
Speicherausgang ErgebnisAlsWebseite(Auftrag& auftrag, uint8_t blendwert,
                                    const Webseitenoptionen& optionen, bool mitNamen,
                                    const Speicherbegleitung& begleitung = {});

// What both front ends put before the reason a save failed (the writers' own texts may
// be brief, or English where they must stay as they are).
inline constexpr std::string_view kSpeicherFehler =
    N_("Das Bild konnte nicht gespeichert werden: ");

// Whether `ziel` names the job's template file, however it is spelt.
bool IstVorlage(const Auftrag& auftrag, const std::string& ziel);

// The refusal to save over the template.
std::string MeldungZielIstVorlage(const std::string& ziel);

// The figures of the last run, as the overview and the command line report them. Grid,
// tiles, pictures placed and resolution are those of the mosaic made (its plan), or of the
// settings while there is none.
struct Laufbericht {
  std::array<double, kLaufzeitenAnzahl> Laufzeiten{};  // days; the four phases, then the sum
  Size vorlage;                                        // template pixels
  Size ziel;                                           // result size of the settings
  Size mosaik;                                         // the mosaic made (0 × 0 without one)
  int32_t kachelnX = 0;
  int32_t kachelnY = 0;
  int32_t kacheln = 0;             // across × down
  Size kachel;                     // result pixels of one tile
  int32_t bilder = 0;              // pictures in the chosen albums
  int32_t verschiedeneBilder = 0;  // distinct pictures placed in the grid
  int32_t schwarzeKacheln = 0;     // cells left black by pictures that could not be read
  int32_t erneutGelesen = 0;       // tiles read again (large format, memory share full)
  int32_t dpi = 0;                 // the print resolution; 0: none
  Zuordnungsbericht zuordnung;     // the matching under usage limits, if it ran
};

Laufbericht LaufberichtErstellen(const Auftrag& auftrag);

}  // namespace tilvendo
