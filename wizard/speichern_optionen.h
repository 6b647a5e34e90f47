// The save options page without Qt: the quality words, the colour-depth list and its
// codes, the size estimate's text, and which controls the page shows for a format.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "pictures/speichern.h"
#include "platform/translate.h"

namespace tilvendo::wizard {

inline constexpr int32_t kQualitaetMinimum = 1;
inline constexpr int32_t kQualitaetMaximum = 100;
inline constexpr int32_t kQualitaetTickAbstand = 5;

// What the quality label and the size label say before anything changed them.
inline constexpr const char* kQualitaetAnfangstext = N_("Qualität: 90% (sehr gut)");
inline constexpr const char* kGroesseAnfangstext = N_("voraussichtliche Dateigröße: 800 Kilobyte");
// Where the size is told, while a preview is made: a poster's takes a second or more.
inline constexpr const char* kVorschauLaeuft = N_("Die Vorschau wird berechnet …");

// The colour-depth list, in the order of its codes (kFarbtiefe8 … kFarbtiefe32).
inline constexpr std::array<std::string_view, 4> kFarbtiefenTexte = {
    N_("256 Farben (8 Bit)"), N_("Highcolor (16 Bit)"), N_("Truecolor (24 Bit)"),
    N_("Truecolor (32 Bit)")};
// The entry a JPEG, a PNG and a TIFF are written with.
inline constexpr int kJpegFarbtiefeIndex = 2;

// The format buttons, in the order of the format numbers (kFormatBmp … kFormatTiff).
inline constexpr std::array<const char*, 4> kFormatTexte = {
    N_("BMP (unkomprimiert)"), N_("JPEG (komprimiert)"), N_("PNG (verlustfrei)"),
    N_("TIFF (unkomprimiert, für den Druck)")};

// The word for a quality: one per step of 20, "excellent" only at 100.
std::string_view QualitaetsWort(int32_t qualitaet);
// "Qualität: 90% (hervorragend)".
std::string QualitaetsText(int32_t qualitaet);

// Depth code of a list entry, and the entry of a code (codes not in the list show
// "Truecolor (32 Bit)").
uint8_t FarbtiefeAusIndex(int index);
int IndexAusFarbtiefe(uint8_t farbtiefe);

// "voraussichtliche Dateigröße: 1,00 Kilobyte": bytes below 1024, kilobytes below
// 1024 × 1024, megabytes from there, with two decimals and the decimal comma.
std::string GroessenText(int64_t bytes);

// "geschätzte Dateigröße: etwa 1,00 Kilobyte (aus einer Stichprobe)": the size of a
// compressed file of a mosaic not held whole, carried over from a sample of it, in the
// units of GroessenText.
std::string SchaetzText(int64_t bytes);

// What the page's controls show. Unset entries leave their control as it is.
struct Optionsanzeige {
  uint8_t format = kFormatBmp;  // the button selected
  bool qualitaetAktiv = false;  // slider and its label
  bool farbtiefeAktiv = false;  // depth list and its label
  std::optional<int> farbtiefeIndex;
  std::optional<int32_t> qualitaet;
};

// The controls when the page is shown for `optionen`.
Optionsanzeige OptionenAnzeigen(const SpeicherOptionen& optionen);

// The user chose a format with the buttons: BMP shows the depth chosen before, JPEG,
// PNG and TIFF the depth they are written with (without changing the chosen depth);
// the quality is JPEG's alone. An unknown format counts as BMP.
Optionsanzeige FormatWaehlen(SpeicherOptionen& optionen, uint8_t format);

// Where the save dialog opens and the name it offers.
struct Dateivorschlag {
  std::string ordner;
  std::string datei;  // empty: no name offered
};

// The folder and name of the last save that succeeded (`zuletztGespeichert`, a whole path),
// the name with the extension of `format`; before any save succeeded, `standardOrdner`
// and no name. A save that failed is never offered again.
Dateivorschlag DateiVorschlagen(const std::string& zuletztGespeichert, uint8_t format,
                                const std::string& standardOrdner);

// Whether the file actually written (the chosen name with the format's extension
// forced) is another existing file, which the save dialog did not ask about.
bool ErsetzenErfragen(const std::string& gewaehlt, const std::string& geschrieben);

// The question asked then.
std::string ErsetzenFrage(const std::string& geschrieben);

}  // namespace tilvendo::wizard
