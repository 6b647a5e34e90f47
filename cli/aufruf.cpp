#include "cli/aufruf.h"

#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "engine/vorbereitung.h"
#include "pictures/bildart.h"
#include "pictures/speichern.h"
#include "platform/paths.h"
#include "platform/translate.h"

namespace tilvendo::cli {
namespace {

constexpr std::array<int32_t, 5> kFormanalyseStufen = {1, 3, 5, 7, 10};
constexpr std::array<int32_t, 4> kFarbtiefen = {8, 16, 24, 32};
constexpr int32_t kQualitaetMin = 1;
constexpr int32_t kQualitaetMax = 100;
constexpr int32_t kProzentVoll = 100;

// The command-line spellings of the method and pattern lists, in the order of their
// values; the umlaut and the English spellings are accepted too.
constexpr std::array<std::array<std::string_view, 3>, 4> kMethodenNamen = {{
    {"standard", "standard", "standard"},
    {"schnell", "schnell", "fast"},
    {"gruendlich", "gründlich", "thorough"},
    {"optimal", "optimal", "optimal"},
}};
constexpr std::array<std::array<std::string_view, 3>, 4> kMusterNamen = {{
    {"standard", "standard", "standard"},
    {"ignorieren", "ignorieren", "ignore"},
    {"abschwaechen", "abschwächen", "weaken"},
    {"unterdruecken", "unterdrücken", "suppress"},
}};
// How the template meets the paper of --druck, in the order of Papiernutzung.
constexpr std::array<std::array<std::string_view, 3>, 3> kPapierNamen = {{
    {"fuellen", "füllen", "fill"},
    {"ganz", "ganz", "whole"},
    {"strecken", "strecken", "stretch"},
}};
// The orientation of the sheets, in the order of Blattlage.
constexpr std::array<std::array<std::string_view, 3>, 3> kAusrichtungNamen = {{
    {"auto", "automatisch", "auto"},
    {"hoch", "hochformat", "portrait"},
    {"quer", "querformat", "landscape"},
}};

// The English name of every command, subcommand and option beside its German one: both
// are always taken, so that scripts in either language keep working.
struct Uebersetzung {
  std::string_view englisch;
  std::string_view deutsch;
};
constexpr std::array<Uebersetzung, 39> kEnglischeNamen = {{
    {"help", "hilfe"},
    {"mosaic", "mosaik"},
    {"create", "anlegen"},
    {"list", "liste"},
    {"show", "zeigen"},
    {"update", "aktualisieren"},
    {"rename", "umbenennen"},
    {"delete", "loeschen"},
    {"restore", "wiederherstellen"},
    {"--albums-dir", "--alben-pfad"},
    {"--no-subfolders", "--ohne-unterordner"},
    {"--log", "--protokoll"},
    {"--report", "--bericht"},
    {"--no-rotation", "--ohne-drehung"},
    {"--fast", "--schnell"},
    {"--perceptual", "--wahrnehmung"},
    {"--crop", "--zuschneiden"},
    {"--large-format", "--grossformat"},
    {"--every-photo", "--jedes-foto"},
    {"--tiles", "--kacheln"},
    {"--size", "--groesse"},
    {"--print", "--druck"},
    {"--paper", "--papier"},
    {"--placement-list", "--liste"},
    {"--shape-analysis", "--formanalyse"},
    {"--method", "--methode"},
    {"--pattern", "--muster"},
    {"--min-distance", "--mindestabstand"},
    {"--blend", "--einblenden"},
    {"--bit-depth", "--farbtiefe"},
    {"--quality", "--qualitaet"},
    {"--color-match", "--farbangleich"},
    {"--max-uses", "--max-verwendungen"},
    {"--no-names", "--ohne-namen"},
    {"--sheets", "--seiten"},
    {"--overlap", "--ueberlappung"},
    {"--margin", "--rand"},
    {"--orientation", "--ausrichtung"},
    {"--no-overview", "--ohne-uebersicht"},
}};

// The German name the parser works with for a name given in either language.
std::string Deutsch(const std::string& name) {
  for (const Uebersetzung& paar : kEnglischeNamen) {
    if (name == paar.englisch) return std::string(paar.deutsch);
  }
  return name;
}

std::string Klein(std::string_view text) {
  std::string ergebnis(text);
  for (char& c : ergebnis) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ergebnis;
}

[[noreturn]] void Fehler(const std::string& text) {
  throw Aufruffehler(text);
}

int64_t Zahl(std::string_view option, std::string_view text) {
  int64_t wert = 0;
  const auto [ende, fehler] = std::from_chars(text.data(), text.data() + text.size(), wert);
  if (text.empty() || fehler != std::errc() || ende != text.data() + text.size()) {
    Fehler(Format(_("„{}“ ist keine ganze Zahl ({})."), text, option));
  }
  return wert;
}

int32_t ZahlIn(std::string_view option, std::string_view text, int64_t min, int64_t max) {
  const int64_t wert = Zahl(option, text);
  if (wert < min || wert > max) {
    Fehler(Format(_("{} muss zwischen {} und {} liegen."), option, min, max));
  }
  return static_cast<int32_t>(wert);
}

// "40x30" (also with "X" or "×").
Paar PaarLesen(std::string_view option, std::string_view text, int64_t max) {
  size_t trenner = text.find_first_of("xX");
  size_t laenge = 1;
  if (trenner == std::string_view::npos) {
    trenner = text.find("×");
    laenge = std::string_view("×").size();
  }
  if (trenner == std::string_view::npos) {
    Fehler(Format(_("{} erwartet zwei Zahlen der Form BREITExHÖHE, z. B. 40x30."), option));
  }
  return Paar{ZahlIn(option, text.substr(0, trenner), 1, max),
              ZahlIn(option, text.substr(trenner + laenge), 1, max)};
}

// `erlaubt` lists the names in the user's language.
template <size_t N>
uint8_t NameWaehlen(std::string_view option, std::string_view text,
                    const std::array<std::array<std::string_view, 3>, N>& namen,
                    std::string_view erlaubt) {
  const std::string klein = Klein(text);
  for (size_t i = 0; i < N; ++i) {
    for (std::string_view name : namen[i]) {
      if (klein == name) return static_cast<uint8_t>(i);
    }
  }
  Fehler(Format(_("Unbekannter Wert „{}“ für {} (erlaubt: {})."), text, option, erlaubt));
}

template <size_t N>
int32_t AusListe(std::string_view option, std::string_view text,
                 const std::array<int32_t, N>& erlaubt) {
  const int64_t wert = Zahl(option, text);
  std::string liste;
  for (size_t i = 0; i < N; ++i) {
    if (wert == erlaubt[i]) return erlaubt[i];
    liste += (i == 0 ? "" : ", ") + std::to_string(erlaubt[i]);
  }
  Fehler(Format(_("{} erlaubt nur {}."), option, liste));
}

// Options without a value, then those with one ("--name wert" or "--name=wert");
// any other option is refused.
constexpr std::array<std::string_view, 16> kSchalter = {"--help",
                                                        "-h",
                                                        "--hilfe",
                                                        "--version",
                                                        "--ohne-unterordner",
                                                        "--protokoll",
                                                        "--bericht",
                                                        "--ohne-drehung",
                                                        "--schnell",
                                                        "--wahrnehmung",
                                                        "--zuschneiden",
                                                        "--grossformat",
                                                        "--großformat",
                                                        "--jedes-foto",
                                                        "--ohne-namen",
                                                        "--ohne-uebersicht"};

constexpr std::array<std::string_view, 26> kWertOptionen = {"--alben-pfad",
                                                            "--album",
                                                            "--kacheln",
                                                            "--zoom",
                                                            "--groesse",
                                                            "--größe",
                                                            "--formanalyse",
                                                            "--methode",
                                                            "--muster",
                                                            "--mindestabstand",
                                                            "--einblenden",
                                                            "--farbtiefe",
                                                            "--qualitaet",
                                                            "--qualität",
                                                            "--seed",
                                                            "--farbangleich",
                                                            "--max-verwendungen",
                                                            "--druck",
                                                            "--dpi",
                                                            "--liste",
                                                            "--papier",
                                                            "--seiten",
                                                            "--ueberlappung",
                                                            "--überlappung",
                                                            "--rand",
                                                            "--ausrichtung"};

// Millimetres per unit of a print size.
struct Masseinheit {
  std::string_view name;
  double millimeter;
};
constexpr std::array<Masseinheit, 3> kMasseinheiten = {{
    {"mm", 1.0},
    {"cm", 10.0},
    {"in", kMillimeterProZoll},
}};

// A length such as "59,4" or "84.1": digits with at most one decimal separator.
double Laenge(std::string_view option, std::string_view text) {
  std::string zahl(text);
  for (char& c : zahl) {
    if (c == ',') c = '.';
  }
  const bool gut = !zahl.empty() && zahl.find_first_not_of("0123456789.") == std::string::npos &&
                   zahl.find('.') == zahl.rfind('.') && zahl != ".";
  if (!gut) {
    Fehler(Format(_("„{}“ ist keine Länge ({})."), text, option));
  }
  // Not through the C library, whose decimal point follows the locale.
  double wert = 0.0;
  std::from_chars(zahl.data(), zahl.data() + zahl.size(), wert);
  return wert;
}

// "841x1189mm", "59,4x84,1cm", "24x36in": the unit after the second number, mm if none.
Druckgroesse DruckgroesseLesen(std::string_view option, std::string_view text) {
  const std::string klein = Klein(text);
  std::string_view rest = klein;
  double faktor = 1.0;
  for (const Masseinheit& einheit : kMasseinheiten) {
    if (rest.ends_with(einheit.name)) {
      rest.remove_suffix(einheit.name.size());
      faktor = einheit.millimeter;
      break;
    }
  }
  const size_t trenner = rest.find('x');
  if (trenner == std::string_view::npos) {
    Fehler(
        Format(_("{} erwartet BREITExHÖHE mit mm, cm oder in, z. B. 841x1189mm oder 59,4x84,1cm."),
               option));
  }
  const double breite = Laenge(option, rest.substr(0, trenner)) * faktor;
  const double hoehe = Laenge(option, rest.substr(trenner + 1)) * faktor;
  if (breite <= 0 || hoehe <= 0 || breite > kMaxPapierkante || hoehe > kMaxPapierkante) {
    Fehler(Format(_("{} erlaubt Seiten von mehr als 0 bis {} mm."), option, kMaxPapierkante));
  }
  return Druckgroesse{breite, hoehe};
}

// "A4", "letter" or a size as --druck takes it.
Druckgroesse BlattLesen(std::string_view option, std::string_view text) {
  if (const std::optional<Blattformat> format = BlattformatVon(text)) {
    return Druckgroesse{format->breiteMm, format->hoeheMm};
  }
  if (text.find_first_of("xX") == std::string_view::npos) {
    Fehler(Format(_("Unbekanntes Papier „{}“ für {} (erlaubt: A5, A4, A3, Letter, Legal, "
                    "Tabloid oder BREITExHÖHE wie 210x297mm)."),
                  text, option));
  }
  return DruckgroesseLesen(option, text);
}

bool IstWertOption(std::string_view name) {
  for (std::string_view option : kWertOptionen) {
    if (name == option) return true;
  }
  return false;
}

bool IstSchalter(std::string_view name) {
  for (std::string_view schalter : kSchalter) {
    if (name == schalter) return true;
  }
  return false;
}

bool IstOption(const std::string& argument) {
  return argument.size() > 1 && argument[0] == '-';
}

struct Option {
  std::string name;  // the German name
  std::string wert;
  std::string genannt;  // the name as given, in either language
};

void MosaikOptionLesen(MosaikOptionen& m, const Option& option) {
  const std::string& name = option.name;
  const std::string& genannt = option.genannt;
  auto wert = [&] { return option.wert; };
  if (name == "--album") {
    m.alben.push_back(wert());
  } else if (name == "--kacheln") {
    m.kacheln = PaarLesen(genannt, wert(), kMaxKacheln);
  } else if (name == "--zoom") {
    m.zoom = ZahlIn(genannt, wert(), 1, kMaxZoom);
  } else if (name == "--groesse" || name == "--größe") {
    // Read once all options are known: its bound depends on --grossformat.
    m.groesse = Paar{};
  } else if (name == "--grossformat" || name == "--großformat") {
    m.grossformat = true;
  } else if (name == "--druck") {
    m.druck = DruckgroesseLesen(genannt, wert());
  } else if (name == "--papier") {
    m.papier = static_cast<Papiernutzung>(
        NameWaehlen(genannt, wert(), kPapierNamen, _("fuellen, ganz, strecken")));
  } else if (name == "--dpi") {
    m.dpi = ZahlIn(genannt, wert(), 1, kMaxDpi);
  } else if (name == "--seiten") {
    m.blatt = BlattLesen(genannt, wert());
  } else if (name == "--ueberlappung" || name == "--überlappung") {
    m.ueberlappung = Laenge(genannt, wert());
  } else if (name == "--rand") {
    m.rand = Laenge(genannt, wert());
  } else if (name == "--ausrichtung") {
    m.ausrichtung = static_cast<Blattlage>(
        NameWaehlen(genannt, wert(), kAusrichtungNamen, _("auto, hoch, quer")));
  } else if (name == "--ohne-uebersicht") {
    m.ohneUebersicht = true;
  } else if (name == "--liste") {
    if (wert().empty()) Fehler(Format(_("{} braucht einen Dateinamen."), genannt));
    m.liste = wert();
  } else if (name == "--formanalyse") {
    m.formanalyse = static_cast<uint8_t>(AusListe(genannt, wert(), kFormanalyseStufen));
  } else if (name == "--methode") {
    m.methode =
        NameWaehlen(genannt, wert(), kMethodenNamen, _("standard, schnell, gruendlich, optimal"));
  } else if (name == "--muster") {
    m.muster = NameWaehlen(genannt, wert(), kMusterNamen,
                           _("standard, ignorieren, abschwaechen, unterdruecken"));
  } else if (name == "--mindestabstand") {
    m.mindestabstand = ZahlIn(genannt, wert(), 0, kMaxMindestabstand);
  } else if (name == "--einblenden") {
    m.vorlagenAnteil = ZahlIn(genannt, wert(), 0, kProzentVoll);
    if (m.vorlagenAnteil % kVorlagenAnteilSchritt != 0) {
      Fehler(Format(_("{} geht in Schritten von 5 (0, 5, 10, … 100)."), genannt));
    }
  } else if (name == "--farbtiefe") {
    m.farbtiefe = AusListe(genannt, wert(), kFarbtiefen);
  } else if (name == "--qualitaet" || name == "--qualität") {
    m.qualitaet = ZahlIn(genannt, wert(), kQualitaetMin, kQualitaetMax);
  } else if (name == "--seed") {
    m.seed = static_cast<uint32_t>(ZahlIn(genannt, wert(), 0, INT32_MAX));
  } else if (name == "--protokoll") {
    m.protokoll = true;
  } else if (name == "--bericht") {
    m.bericht = true;
  } else if (name == "--ohne-namen") {
    m.ohneNamen = true;
  } else if (name == "--ohne-drehung") {
    m.verfahren.Aufrichten = false;
  } else if (name == "--schnell") {
    m.verfahren.SchnellLesen = true;
  } else if (name == "--wahrnehmung") {
    m.verfahren.Wahrnehmung = true;
  } else if (name == "--zuschneiden") {
    m.verfahren.Zuschneiden = true;
  } else if (name == "--farbangleich") {
    m.verfahren.Farbangleich = static_cast<uint8_t>(ZahlIn(genannt, wert(), 0, kMaxFarbangleich));
  } else if (name == "--max-verwendungen") {
    m.verfahren.MaxVerwendungen = ZahlIn(genannt, wert(), 0, kMaxVerwendungenGrenze);
  } else if (name == "--jedes-foto") {
    m.verfahren.JedesFoto = true;
  } else {
    Fehler(Format(_("Unbekannte Option {}."), genannt));
  }
}

// The result size in pixels, within the bound that large format lifts.
Paar GroesseLesen(const MosaikOptionen& m, const Option& option) {
  if (m.grossformat) return PaarLesen(option.genannt, option.wert, kMaxZielgroesseGross);
  try {
    return PaarLesen(option.genannt, option.wert, kMaxZielgroesse);
  } catch (const Aufruffehler& fehler) {
    Fehler(
        std::string(fehler.what()) +
        Format(_(" Mit --grossformat sind bis {} Pixel je Seite möglich."), kMaxZielgroesseGross));
  }
}

void AnzahlPruefen(const std::vector<std::string>& werte, size_t min, size_t max,
                   const std::string& aufruf) {
  if (werte.size() < min || werte.size() > max) Fehler(Format(_("Aufruf: tilvendo {}"), aufruf));
}

}  // namespace

Aufruf AufrufLesen(const std::vector<std::string>& argumente) {
  Aufruf aufruf;
  std::vector<std::string> woerter;
  std::vector<Option> optionen;
  bool nurNochWoerter = false;
  for (size_t i = 0; i < argumente.size(); ++i) {
    const std::string& argument = argumente[i];
    if (nurNochWoerter || !IstOption(argument)) {
      woerter.push_back(argument);
    } else if (argument == "--") {
      nurNochWoerter = true;
    } else {
      const size_t gleich = argument.find('=');
      Option option{Deutsch(argument.substr(0, gleich)), {}, argument.substr(0, gleich)};
      if (!IstSchalter(option.name) && !IstWertOption(option.name)) {
        Fehler(Format(_("Unbekannte Option {}. Siehe tilvendo --help."), option.genannt));
      }
      if (IstSchalter(option.name)) {
        if (gleich != std::string::npos) Fehler(Format(_("{} nimmt keinen Wert."), option.genannt));
      } else if (gleich != std::string::npos) {
        option.wert = argument.substr(gleich + 1);
      } else if (i + 1 < argumente.size()) {
        option.wert = argumente[++i];
      } else {
        Fehler(Format(_("Der Option {} fehlt ihr Wert."), option.genannt));
      }
      optionen.push_back(std::move(option));
    }
  }

  bool hilfe = false;
  bool version = false;
  std::vector<Option> spaeter;  // options of the command
  for (Option& option : optionen) {
    if (option.name == "--help" || option.name == "-h" || option.name == "--hilfe") {
      hilfe = true;
    } else if (option.name == "--version") {
      version = true;
    } else if (option.name == "--alben-pfad") {
      if (option.wert.empty()) Fehler(Format(_("{} braucht einen Ordner."), option.genannt));
      aufruf.albenPfad = option.wert;
    } else if (option.name == "--ohne-unterordner") {
      aufruf.ohneUnterordner = true;
    } else {
      spaeter.push_back(std::move(option));
    }
  }

  if (hilfe) {
    aufruf.befehl = Befehl::Hilfe;
    return aufruf;
  }
  if (woerter.empty() && !version) {
    aufruf.befehl = Befehl::OhneBefehl;
    return aufruf;
  }
  if (version) {
    aufruf.befehl = Befehl::Version;
    return aufruf;
  }

  const std::string befehl = Deutsch(woerter.front());
  std::vector<std::string> rest(woerter.begin() + 1, woerter.end());
  if (befehl == "hilfe") {
    aufruf.befehl = Befehl::Hilfe;
    return aufruf;
  }
  if (befehl == "mosaik") {
    aufruf.befehl = Befehl::Mosaik;
    AnzahlPruefen(rest, 2, 2, _("mosaik VORLAGE AUSGABE --album NAME [OPTIONEN]"));
    aufruf.mosaik.vorlage = rest[0];
    aufruf.mosaik.ausgabe = rest[1];
    const Option* groesse = nullptr;
    for (const Option& option : spaeter) {
      MosaikOptionLesen(aufruf.mosaik, option);
      if (option.name == "--groesse" || option.name == "--größe") groesse = &option;
    }
    if (groesse != nullptr) aufruf.mosaik.groesse = GroesseLesen(aufruf.mosaik, *groesse);
    if (aufruf.mosaik.alben.empty()) Fehler(_("mosaik braucht mindestens ein --album NAME."));
    const MosaikOptionen& m = aufruf.mosaik;
    if (int{m.zoom.has_value()} + int{m.groesse.has_value()} + int{m.druck.has_value()} > 1) {
      Fehler(_("--zoom, --groesse und --druck schließen einander aus."));
    }
    if (m.druck && !m.dpi) Fehler(_("--druck braucht die Druckauflösung --dpi N."));
    if (m.papier && !m.druck) Fehler(_("--papier gilt nur mit --druck."));
    if (aufruf.ohneUnterordner) Fehler(_("--ohne-unterordner gilt nur für „album anlegen“."));
    const Ausgabeformat format = AusgabeFormat(aufruf.mosaik.ausgabe);
    if (format == Ausgabeformat::Unbekannt) {
      Fehler(
          _("Die Ausgabe muss auf .bmp, .jpg oder .jpeg enden, auf .png, .tif oder .tiff oder "
            "auf .html (Webseite) oder .pdf (Seiten zum Drucken); die Endung bestimmt das "
            "Format."));
    }
    if (format != Ausgabeformat::Webseite && aufruf.mosaik.ohneNamen) {
      Fehler(_("--ohne-namen gilt nur für eine Webseite (.html)."));
    }
    if (format == Ausgabeformat::Webseite && aufruf.mosaik.farbtiefe) {
      Fehler(_("--farbtiefe gilt nur für .bmp; die Kacheln einer Webseite sind JPEG-Bilder."));
    }
    const bool mitSeiten = m.blatt || m.ueberlappung || m.rand || m.ausrichtung || m.ohneUebersicht;
    if (format != Ausgabeformat::Seiten && mitSeiten) {
      Fehler(
          _("--seiten, --ueberlappung, --rand, --ausrichtung und --ohne-uebersicht gelten "
            "nur für Seiten zum Drucken (.pdf)."));
    }
    if (format == Ausgabeformat::Seiten && !m.dpi) {
      Fehler(
          _("Seiten zum Drucken (.pdf) brauchen die Druckauflösung --dpi N, mit --druck "
            "oder der Größe in Pixeln."));
    }
    if (format == Ausgabeformat::Seiten && m.farbtiefe) {
      Fehler(_("--farbtiefe gilt nur für .bmp; die Bilder der Seiten sind JPEG-Bilder."));
    }
    if (format != Ausgabeformat::Bmp && aufruf.mosaik.farbtiefe) {
      Fehler(format == Ausgabeformat::Jpeg
                 ? _("--farbtiefe gilt nur für .bmp; JPEG-Bilder haben immer 24 Bit.")
                 : _("--farbtiefe gilt nur für .bmp; PNG- und TIFF-Bilder haben immer 24 Bit."));
    }
    if (format != Ausgabeformat::Jpeg && format != Ausgabeformat::Webseite &&
        format != Ausgabeformat::Seiten && aufruf.mosaik.qualitaet) {
      Fehler(_("--qualitaet gilt nur für .jpg, .jpeg, .html und .pdf."));
    }
    return aufruf;
  }
  if (befehl != "album") {
    Fehler(Format(_("Unbekannter Befehl „{}“. Siehe tilvendo --help."), woerter.front()));
  }
  if (!spaeter.empty()) Fehler(Format(_("Unbekannte Option {}."), spaeter.front().genannt));
  if (rest.empty())
    Fehler(
        _("album braucht einen Unterbefehl: anlegen, liste, zeigen, "
          "aktualisieren, umbenennen, loeschen oder wiederherstellen."));

  const std::string unter = Deutsch(rest.front());
  std::vector<std::string> werte(rest.begin() + 1, rest.end());
  if (unter != "anlegen" && aufruf.ohneUnterordner) {
    Fehler(_("--ohne-unterordner gilt nur für „album anlegen“."));
  }
  if (unter == "anlegen") {
    aufruf.befehl = Befehl::AlbumAnlegen;
    AnzahlPruefen(werte, 2, SIZE_MAX, _("album anlegen NAME ORDNER… [--ohne-unterordner]"));
    aufruf.namen = {werte.front()};
    aufruf.ordner.assign(werte.begin() + 1, werte.end());
  } else if (unter == "liste") {
    aufruf.befehl = Befehl::AlbumListe;
    AnzahlPruefen(werte, 0, 0, _("album liste"));
  } else if (unter == "zeigen") {
    aufruf.befehl = Befehl::AlbumZeigen;
    AnzahlPruefen(werte, 1, 1, _("album zeigen NAME"));
    aufruf.namen = werte;
  } else if (unter == "aktualisieren") {
    aufruf.befehl = Befehl::AlbumAktualisieren;
    AnzahlPruefen(werte, 1, 1, _("album aktualisieren NAME"));
    aufruf.namen = werte;
  } else if (unter == "umbenennen") {
    aufruf.befehl = Befehl::AlbumUmbenennen;
    AnzahlPruefen(werte, 2, 2, _("album umbenennen ALT NEU"));
    aufruf.namen = werte;
  } else if (unter == "loeschen" || unter == "löschen") {
    aufruf.befehl = Befehl::AlbumLoeschen;
    AnzahlPruefen(werte, 1, 1, _("album loeschen NAME"));
    aufruf.namen = werte;
  } else if (unter == "wiederherstellen") {
    aufruf.befehl = Befehl::AlbumWiederherstellen;
    AnzahlPruefen(werte, 1, 2, _("album wiederherstellen DATEINAME [NAME]"));
    aufruf.namen = werte;
    // Without a name of its own the album is called after its files.
    if (aufruf.namen.size() == 1) aufruf.namen.push_back(aufruf.namen.front());
  } else {
    Fehler(Format(_("Unbekannter Unterbefehl „album {}“. Siehe tilvendo --help."), rest.front()));
  }
  return aufruf;
}

Ausgabeformat AusgabeFormat(const std::string& pfad) {
  // Only the types the program can also write; a readable type without a writer is no
  // output format.
  const std::optional<Bildart> art = BildartVonName(FileNameOf(pfad));
  if (art == Bildart::Bmp) return Ausgabeformat::Bmp;
  if (art == Bildart::Jpeg) return Ausgabeformat::Jpeg;
  if (art == Bildart::Png) return Ausgabeformat::Png;
  if (art == Bildart::Tiff) return Ausgabeformat::Tiff;
  const std::string endung = UpperExtension(pfad);
  if (endung == ".HTML" || endung == ".HTM") return Ausgabeformat::Webseite;
  if (endung == ".PDF") return Ausgabeformat::Seiten;
  return Ausgabeformat::Unbekannt;
}

Seitenwahl SeitenwahlVon(const MosaikOptionen& m) {
  Seitenwahl wahl;
  if (m.blatt) {
    wahl.blattBreiteMm = m.blatt->breite;
    wahl.blattHoeheMm = m.blatt->hoehe;
  }
  wahl.ueberlappungMm = m.ueberlappung.value_or(kStandardUeberlappungMm);
  wahl.randMm = m.rand.value_or(kStandardRandMm);
  wahl.lage = m.ausrichtung.value_or(Blattlage::Automatisch);
  wahl.uebersicht = !m.ohneUebersicht;
  return wahl;
}

std::string Hilfetext() {
  // The names of commands and options in a translation must be ones the program takes.
  return Format(_(R"(Aufruf: tilvendo [--alben-pfad ORDNER] BEFEHL …

Fotomosaike aus den eigenen Bildern, ohne Fenster.

Alben:
  tilvendo album anlegen NAME ORDNER… [--ohne-unterordner]
                              legt ein Album an und durchsucht seine Ordner
  tilvendo album liste        alle Alben mit Bilderzahl und Medium
  tilvendo album zeigen NAME  Einstellungen und Ordner eines Albums
  tilvendo album aktualisieren NAME
                              durchsucht die Ordner des Albums erneut
  tilvendo album umbenennen ALT NEU
  tilvendo album loeschen NAME
  tilvendo album wiederherstellen DATEINAME [NAME]
                              nimmt ein verwaistes Album (Dateien „DATEINAME.*“ im
                              Ordner der Alben, die der Katalog nicht mehr nennt;
                              „album liste“ zeigt sie) wieder auf

Mosaik:
  tilvendo mosaik VORLAGE AUSGABE --album NAME [--album NAME …] [OPTIONEN]
    AUSGABE endet auf .bmp, .jpg, .jpeg, .png, .tif oder .tiff; die Endung bestimmt
    das Format (PNG und TIFF mit 24 Bit, TIFF unkomprimiert). Mit .html entsteht eine
    zoombare Webseite mit dem Ordner AUSGABE_dateien daneben, mit .pdf entstehen Seiten
    zum Drucken auf einem normalen Drucker (braucht --dpi).
    --kacheln XxY         Kacheln in der Breite und Höhe (Standard 25x25)
    --zoom P              Ergebnisgröße in Prozent der Vorlage (Standard 100)
    --groesse BxH         Ergebnisgröße in Pixel (höchstens 2500x2500, mit
                          --grossformat bis 60000x60000)
    --grossformat         Großformat für Poster: Ergebnis bis 60000 Pixel je Seite,
                          in Bändern zusammengesetzt und geschrieben
    --druck BxH[mm|cm|in] Ergebnisgröße aus der Druckgröße bei --dpi, z. B.
                          841x1189mm (A0) oder 59,4x84,1cm; bis 2000 mm je Seite
    --papier ART          wie die Vorlage ein Papier anderer Form nutzt: ganz (die ganze
                          Vorlage passt mit Rand darauf, Standard), fuellen (die Vorlage
                          wird mittig auf die Form des Papiers zugeschnitten) oder
                          strecken (die Vorlage wird auf das Papier verzerrt)
    --dpi N               Druckauflösung (1 bis 9999); steht in der Datei
    --liste DATEI.csv     schreibt je Kachel Spalte, Zeile und Foto (UTF-8, durch
                          Semikolon getrennt); ersetzt nur eine ältere Liste
    --formanalyse N       1, 3, 5, 7 oder 10 Teilfelder je Seite (Standard 5)
    --methode M           standard, schnell, gruendlich oder optimal
    --muster M            standard, ignorieren, abschwaechen oder unterdruecken
    --mindestabstand N    Kacheln zwischen zwei gleichen Bildern (Standard 2)
    --einblenden P        Anteil der Vorlage in Prozent, 0 bis 100 in Fünferschritten
                          (Standard 25)
    --farbtiefe N         8, 16, 24 oder 32 Bit bei .bmp (Standard {})
    --qualitaet Q         JPEG-Qualität 1 bis 100 (Standard 90)
    --ohne-namen          Webseite ohne Namen und Pfade der Fotos (zum Weitergeben)
    --seiten PAPIER       Papier der Seiten bei .pdf: A5, A4 (Standard), A3, Letter,
                          Legal, Tabloid oder BxH[mm|cm|in]
    --ueberlappung MM     Streifen, den benachbarte Seiten teilen (Standard 10)
    --rand MM             Rand, den der Drucker nicht bedruckt (Standard 5)
    --ausrichtung A       auto (weniger Seiten, Standard), hoch oder quer
    --ohne-uebersicht     ohne das Blatt zum Zusammensetzen vor den Seiten
    --seed N              fester Startwert des Zufalls: gleiche Eingaben, gleiches Mosaik
    --protokoll           schreibt die Liste der gelesenen Bilder
                          nach ~/tilvendo file list.txt
    --bericht             zeigt am Ende die Dauer der Phasen, die Zahlen und den
                          Spitzenspeicher, mit --dpi die Kachelkante auf dem Papier

  Lesen und Vergleichen der Fotos (jede Art hat ihren eigenen Zwischenspeicher):
    --ohne-drehung        Fotos nicht nach ihrer Kamera-Drehung aufrecht stellen
                          (wie frühere Versionen)
    --schnell             große JPEG-Fotos verkleinert lesen
    --wahrnehmung         Farben nach dem Sehempfinden vergleichen
    --zuschneiden         Fotos auf die Form der Kacheln zuschneiden statt stauchen
    --farbangleich P      Kacheln um P Prozent an die Farben der Vorlage angleichen
                          (0 bis 100, Standard 0)
    --max-verwendungen N  jedes Foto höchstens N-mal verwenden (Standard 0: unbegrenzt)
    --jedes-foto          jedes Foto mindestens einmal verwenden (höchstens so viele
                          Fotos wie Kacheln)

Allgemein:
  --alben-pfad ORDNER     Ordner der Albumdateien (sonst $TILVENDO_ALBEN oder
                          ~/.local/share/nubo-tilvendo/Alben)
  --help                  diese Hilfe
  --version               Programmversion

Rückgabewerte: 0 fertig, 1 Fehler, 2 falscher Aufruf, 130 abgebrochen (Strg+C;
ein zweites Strg+C beendet sofort).
)"),
                static_cast<int>(BmpTiefe(kStandardFarbtiefe)));
}

}  // namespace tilvendo::cli
