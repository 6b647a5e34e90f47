// Saving a picture: the one routine every file of a mosaic goes through, whatever its
// format and however its pixels are made (a mosaic held whole, or a poster composed band
// by band while it is written).
//
// The picture's rows go from the top into the format's writer (pictures/dateiformate.h);
// the file is written under a temporary name and renamed over the target only when it is
// complete and the save is still wanted, so a failed or stopped save leaves an older file
// of that name untouched.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "pictures/bildschreiber.h"
#include "pictures/dateiformate.h"
#include "pictures/streifen_quelle.h"
#include "platform/free_space.h"

namespace tilvendo {

struct SpeicherOptionen {
  std::string Pfad;   // folder of the file, with trailing "/"
  std::string Datei;  // file name without folder
  uint8_t Format = kFormatBmp;
  uint8_t Qualitaet = 0;                   // JPEG quality 1..100
  uint8_t Farbtiefe = kStandardFarbtiefe;  // BMP depth code
  // Dots per inch written into the file, as finely as its format allows (JPEG density,
  // PNG pHYs, TIFF and BMP resolution); 0 writes the formats' neutral defaults, as files
  // always had them.
  double Aufloesung = 0.0;
  // Down, where they differ from `Aufloesung` (across); 0: the same.
  double AufloesungY = 0.0;
};

// Takes the file the user chose: forces the format's extension and stores folder and
// name into `Pfad` and `Datei`.
void DateinameUebernehmen(SpeicherOptionen& optionen, const std::string& gewaehlt);

// The description a writer of `optionen` gets for a breite × hoehe picture.
Bildbeschreibung BeschreibungFuer(const SpeicherOptionen& optionen, int32_t breite, int32_t hoehe);

// What a save reports to and asks of its front end. The calls arrive on the saving thread.
struct Speicherbegleitung {
  // Rows written so far, of all.
  std::function<void(int32_t fertig, int32_t gesamt)> fortschritt;
  // Set (from any thread) to stop; the old file then stays as it was.
  const std::atomic<bool>* abbruch = nullptr;
  // Asked once the whole file is written, before it replaces the old one; false stops the
  // save as a cancel does. A window offering a cancel decides here, on its own thread,
  // whether a click that came late still counts.
  std::function<bool()> freigabe;
  FreeSpaceQuery platz;  // FreeSpace unless a test answers
  // The file's length estimated from a sample, asked for by the free-space check only
  // when the room is short of what the format can take at the most (JPEG, PNG). Without
  // it such a format is let through: a disk that fills leaves the old file as it was.
  std::function<int64_t()> schaetzung;
};

// What can be told before any pixel is made: Raises WriteError (a German message with the
// figures) when the format cannot hold a breite × hoehe picture or its disk has too little
// room for it. False for an unknown format.
bool SpeichernPruefen(const SpeicherOptionen& optionen, int32_t breite, int32_t hoehe,
                      const Speicherbegleitung& begleitung);

// Makes the writer of a file's bytes into `ziel`: a format's, or another output's (the
// sheets of a poster).
using Schreibermacher = std::function<std::unique_ptr<Bildschreiber>(SeekableSink& ziel)>;

// The loop every save goes through: the rows of `quelle` from the top into the writer
// `macher` makes for the file `pfad`, with the progress, the cancel, the release and the
// commit of `begleitung`. Raises as BildSpeichern does.
void InDateiSchreiben(StreifenQuelle& quelle, const std::string& pfad,
                      const Schreibermacher& macher, const Speicherbegleitung& begleitung);

// Writes the picture of `quelle` into `Pfad` + `Datei` as `optionen` say, after
// SpeichernPruefen. False when the format is unknown and nothing was written. Raises
// WriteError when the file cannot be written, SchreibenAbgebrochen when the save was
// stopped (or its release refused); the old file then stays untouched either way.
bool BildSpeichern(StreifenQuelle& quelle, const SpeicherOptionen& optionen,
                   const Speicherbegleitung& begleitung = {});

}  // namespace tilvendo
