// The template page without Qt: the open dialog's file types, loading the chosen picture
// with its small preview, the size labels and when the page may be left.
#pragma once

#include <cstdint>
#include <string>

#include "engine/auftrag.h"
#include "engine/sitzung.h"
#include "platform/bitmap.h"
#include "platform/rect.h"
#include "platform/translate.h"

namespace tilvendo::wizard {

// The box every page fits the template preview into.
inline constexpr int32_t kVorschauBreite = 230;
inline constexpr int32_t kVorschauHoehe = 195;

inline constexpr const char* kOeffnenTitel = N_("Öffnen einer Vorlage");
inline constexpr const char* kKeineVorlage = N_("keine Vorlage gewählt");
inline constexpr const char* kUngueltigesBild = N_("Sie haben ein ungültiges Bild gewählt.");
// What the size labels show before a template is loaded.
inline constexpr const char* kKeinWert = "-";

// The open dialog's file types, in the syntax of Qt's file dialog: first every picture
// type at once ("alle unterstützten Grafikdateien (*.bmp, *.jpg, *.jpeg)"), then one entry
// per type ("Windowsbilder (*.bmp)" …), separated by ";;". Each entry ends in the patterns
// Qt filters by, in parentheses of their own, which the dialog is told to hide, so that
// it shows the names as they stand.
std::string VorlagenFilter();

// Where the open dialog starts: the folder of the last template, else the user's pictures
// folder (`bilderOrdner`, as the desktop names it), else the home folder; the first of
// them that exists, so the dialog never opens in a folder that is not there.
std::string DialogStartordner(const std::string& vorlagePfad, const std::string& bilderOrdner,
                              const std::string& heimOrdner);

// "800 Pixel".
std::string PixelText(int32_t pixel);

// The size of the preview of a breite × hoehe picture (fitted into the preview box).
Size VorschauGroesse(int32_t breite, int32_t hoehe);

// `vorschau` := `vorlage` shrunk (or enlarged) to its preview size by the staged
// resampler. An empty template gives an empty preview.
void VorschauErstellen(const Bitmap& vorlage, Bitmap& vorschau);

// The step after the dialog: loads the picture at `pfad` as the template and, when it
// could be read, makes the preview `VorschauBild` from it: of the whole picture, also
// when a poster's paper cuts the template from it (the pages show the cut themselves).
Vorlagenausgang VorlageWaehlen(Auftrag& auftrag, const std::string& pfad);

// The page may be left when the named template file exists and has a size recorded
// (together with a next page to go to).
bool VorlageBereit(const Vorlage& vorlage);

}  // namespace tilvendo::wizard
