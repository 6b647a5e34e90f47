// The language the program speaks, chosen as on every Linux desktop, and how numbers are
// written in it. Both front ends call SpracheEinrichten once at start; from then on the
// texts (platform/translate.h) and the numbers below follow the chosen language. The only
// state is gettext's own: the environment variable LANGUAGE and the bound catalogue folder.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace tilvendo {

// The language of the texts in the code, which needs no catalogue.
inline constexpr std::string_view kQuellsprache = "de";
// The language of every locale that is neither German nor one with a catalogue.
inline constexpr std::string_view kStandardsprache = "en";

// Reads one environment variable; null when it is not set.
using Umgebungsleser = std::function<const char*(const char*)>;

// The languages with a catalogue in this build ("en", …), one per file in po/.
std::span<const std::string_view> Katalogsprachen();

// The code of the language for the environment: the first of LANGUAGE, LC_ALL,
// LC_MESSAGES and LANG that is set and not empty decides. A locale of German ("de",
// "de_AT.UTF-8") gives German, one of a language in `kataloge` that language, every other
// English, also C, POSIX and whatever is no locale name. LANGUAGE may list several
// ("fr:de"): the first of them that is German or has a catalogue counts.
std::string SpracheWaehlen(const Umgebungsleser& umgebung,
                           std::span<const std::string_view> kataloge);

// Whether `pfad` is a catalogue (.mo) whose every table and text lies within the file, so
// that gettext can use it without reading past its end.
bool KatalogGueltig(const std::string& pfad);

// The folder of the catalogues: share/locale beside the executable's folder (bin/ when
// installed, a folder of the build tree when built), with trailing "/".
std::string KatalogOrdner();

// The catalogue of language `sprache` in `katalogOrdner`.
std::string KatalogDatei(const std::string& katalogOrdner, std::string_view sprache);

// Makes the texts and numbers follow the language of the environment, with the
// catalogues of `katalogOrdner`. Returns the language they now come in: the chosen one,
// or German when its catalogue is missing or damaged. Call it before the first text is
// translated and, in the wizard, after Qt has set the locale.
std::string SpracheEinrichten(const Umgebungsleser& umgebung, const std::string& katalogOrdner);
// The same with the process's environment and catalogue folder.
std::string SpracheEinrichten();

// The decimal separator of the language in use: "," in German, "." in English.
std::string Dezimalzeichen();

// `wert` / 10^`stellen` with `stellen` decimals: Festkomma(3635, 2) is "36,35" in German
// and "36.35" in English.
std::string Festkomma(int64_t wert, int stellen);

}  // namespace tilvendo
