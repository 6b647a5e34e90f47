// Saving a picture as a zoomable web page: the page `ZIEL.html` and, beside it, the folder
// `ZIEL_dateien/` with everything it needs (the zoom pyramid's tiles, the map viewer with
// its licence, the page's own script and its data), so that it works opened straight from
// the disk and on any static web host alike.
//
// The picture's rows go from the top into the pyramid's writer, as into a file's writer
// (pictures/speichern.h), with the same progress, cancel and release. The folder is made
// under a temporary name beside the target and takes the place of an older export only
// when it is complete, so a failed, stopped or killed save leaves the old page as it was.
// A folder of the target's name that this program did not make is never touched.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "pictures/bildschreiber.h"
#include "pictures/speichern.h"
#include "pictures/streifen_quelle.h"

namespace tilvendo {

// The name of the file inside every folder of a web page this program made: only a folder
// holding it is ever replaced.
inline constexpr const char* kWebseitenMarke = ".nubo-tilvendo-webseite";

struct Webseitenoptionen {
  std::string ziel;                    // the page, ending in ".html"
  std::string titel;                   // the page's title, shown as text
  int qualitaet = kStandardQualitaet;  // of the JPEG tiles
  // The text of a script the page loads after its own data (one object assigned to
  // `window.tilvendoPlatzierung`, see engine/webplatzierung.h), asked for once every tile
  // is written (composing may have put other photos in some cells); none: the page then
  // names nothing.
  std::function<std::string()> platzierung;
};

// The folder beside the page `ziel`: its name without ".html" (or ".htm", any case), then
// "_dateien".
std::string WebseitenOrdner(const std::string& ziel);

// Raises WriteError (a German message) when the folder of the page cannot be replaced
// (one of its name that this program did not make) or its disk has too little room for a
// breite × hoehe picture's tiles: room for a byte and a third a pixel always does, a disk
// with less is measured against `begleitung.schaetzung` (a JPEG file of the picture at
// the tiles' quality) where there is one.
void WebseitePruefen(const Webseitenoptionen& optionen, int32_t breite, int32_t hoehe,
                     const Speicherbegleitung& begleitung);

// Writes the page of the picture of `quelle` as `optionen` say. Raises WriteError when it
// cannot be written, SchreibenAbgebrochen when stopped (or its release refused); the old
// page and its folder then stay untouched and no temporary folder is left.
void WebseiteSpeichern(StreifenQuelle& quelle, const Webseitenoptionen& optionen,
                       const Speicherbegleitung& begleitung = {});

}  // namespace tilvendo
