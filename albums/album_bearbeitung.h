// The album editor's changes of the working copy: adding and removing folders, the
// subfolder switch and the rescan. Each change of the folder list rescans the album,
// so the counts always belong to the folders shown.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "albums/alben_kontext.h"
#include "albums/bildzahlen.h"
#include "albums/galerie.h"
#include "platform/benutzer.h"
#include "platform/medien.h"

namespace tilvendo {

// What the changes need: the album folder (for the cache marks of a scan), the media
// and the user for warnings, the medium-name question and the scan's progress.
struct Bearbeitungsumgebung {
  AlbenKontext kontext;
  const Medien& medien;
  Benutzer& benutzer;
  // The editor shows the scan's progress; the command line does not.
  bool mitFortschritt = true;
};

enum class Aufnahme { Abgelehnt, SchonVorhanden, Aufgenommen };

// `ordner` with "/" appended when it lacks one.
std::string AlbumOrdner(std::string_view ordner);

// Whether `ordner` is among the album's chosen folders. Linux tells "Bilder" and
// "bilder" apart, so the comparison is exact.
bool OrdnerGewaehlt(const std::vector<std::string>& verzeichnisse, std::string_view ordner);

// Puts `ordner` into the album's chosen folders (kept sorted) after the medium rules
// accepted it; no scan.
Aufnahme OrdnerAufnehmen(const Bearbeitungsumgebung& umgebung, TGalerieGlobal& album,
                         std::string_view ordner);

// Scans the album's chosen folders anew; `anzahl` takes the counts.
void AlbumNeuScannen(const Bearbeitungsumgebung& umgebung, TGalerieGlobal& album,
                     Bildzahlen& anzahl);

// OrdnerAufnehmen, then a rescan when the folder was new.
Aufnahme OrdnerHinzufuegen(const Bearbeitungsumgebung& umgebung, TGalerieGlobal& album,
                           Bildzahlen& anzahl, std::string_view ordner);

// Removes chosen folder `position` and rescans; the album's last folder frees it from
// its medium. False when there is no such folder.
bool OrdnerEntfernen(const Bearbeitungsumgebung& umgebung, TGalerieGlobal& album,
                     Bildzahlen& anzahl, size_t position);

// Switches the inclusion of subfolders and rescans.
void UnterverzeichnisseSetzen(const Bearbeitungsumgebung& umgebung, TGalerieGlobal& album,
                              Bildzahlen& anzahl, bool mitUnterverzeichnissen);

}  // namespace tilvendo
