#include "pictures/webseite_speichern.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "pictures/dateiformate.h"
#include "pictures/kachelpyramide.h"
#include "pictures/webseite_texte.h"
#include "platform/atomic_file.h"
#include "platform/free_space.h"
#include "platform/json_text.h"
#include "platform/paths.h"
#include "platform/translate.h"

namespace tilvendo {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kOrdnerEndung = "_dateien";
// Where the map viewer of the system lies, with its licence.
constexpr const char* kLeafletOrdner = "/usr/share/javascript/leaflet/";
constexpr const char* kLeafletLizenz = "/usr/share/doc/libjs-leaflet/copyright";
// Names of the temporary folders beside the target: ".NAME_dateien" + this + process id.
constexpr std::string_view kNeuMarke = ".neu-";
constexpr std::string_view kAltMarke = ".alt-";
// The tiles of every level together take a third more than the picture's own; a JPEG
// tile of photos at the usual quality takes well under a byte per pixel.
constexpr uint64_t kBytesJeDreiPixel = 4;
constexpr uint64_t kPixelJeDrei = 3;
// The viewer, the page and its data, besides the tiles.
constexpr uint64_t kGrundbedarf = 1 << 20;
// What a tile takes besides its share of the picture's bytes: its own header and tables,
// and at most a block of the disk left unused at its end.
constexpr uint64_t kJeKachel = 4096;

// The tiles of every level of a breite × hoehe picture.
uint64_t Kachelzahl(int32_t breite, int32_t hoehe) {
  uint64_t zahl = 0;
  for (int32_t z = PyramidenTiefe(breite, hoehe); z >= 0; --z) {
    zahl += static_cast<uint64_t>((breite + kPyramidenKachel - 1) / kPyramidenKachel) *
            static_cast<uint64_t>((hoehe + kPyramidenKachel - 1) / kPyramidenKachel);
    breite = (breite + 1) / 2;
    hoehe = (hoehe + 1) / 2;
  }
  return zahl;
}

bool Abgebrochen(const Speicherbegleitung& begleitung) {
  return begleitung.abbruch != nullptr && begleitung.abbruch->load();
}

[[noreturn]] void Scheitern(const std::string& pfad) {
  throw WriteError(Format(_("„{}“ kann nicht geschrieben werden."), pfad));
}

void DateiSchreiben(const fs::path& pfad, std::string_view inhalt) {
  std::ofstream aus(pfad, std::ios::binary | std::ios::trunc);
  aus.write(inhalt.data(), static_cast<std::streamsize>(inhalt.size()));
  aus.close();
  if (!aus) Scheitern(pfad.string());
}

void Kopieren(const fs::path& von, const fs::path& nach) {
  std::error_code fehler;
  fs::copy_file(von, nach, fs::copy_options::overwrite_existing, fehler);
  if (fehler) {
    throw WriteError(
        Format(_("„{}“ fehlt; ist das Paket libjs-leaflet installiert?"), von.string()));
  }
}

bool VonUns(const fs::path& ordner) {
  std::error_code fehler;
  return fs::is_directory(fs::symlink_status(ordner, fehler)) &&
         fs::is_regular_file(fs::symlink_status(ordner / kWebseitenMarke, fehler));
}

// A temporary folder of ours whose process no longer runs: a kill left it.
void VerwaisteEntfernen(const fs::path& eltern, const std::string& ordnername) {
  std::error_code fehler;
  for (const auto& eintrag : fs::directory_iterator(eltern, fehler)) {
    const std::string name = eintrag.path().filename().string();
    for (const std::string_view marke : {kNeuMarke, kAltMarke}) {
      const std::string anfang = "." + ordnername + std::string(marke);
      if (name.rfind(anfang, 0) != 0 || !VonUns(eintrag.path())) continue;
      const std::string pid = name.substr(anfang.size());
      if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
      if (::kill(static_cast<pid_t>(std::stol(pid)), 0) == 0 || errno != ESRCH) continue;
      fs::remove_all(eintrag.path(), fehler);
    }
  }
}

// Removes its folder unless it was handed on.
class Zwischenordner {
 public:
  explicit Zwischenordner(fs::path pfad) : pfad_(std::move(pfad)) {}
  ~Zwischenordner() {
    std::error_code fehler;
    if (!pfad_.empty()) fs::remove_all(pfad_, fehler);
  }
  Zwischenordner(const Zwischenordner&) = delete;
  Zwischenordner& operator=(const Zwischenordner&) = delete;
  const fs::path& Pfad() const { return pfad_; }
  void Uebergeben() { pfad_.clear(); }

 private:
  fs::path pfad_;
};

std::string Daten(const Webseitenoptionen& optionen, const std::string& ordnerUrl, int32_t breite,
                  int32_t hoehe) {
  return "window.tilvendoMosaik = {\"breite\": " + std::to_string(breite) +
         ", \"hoehe\": " + std::to_string(hoehe) +
         ", \"tiefe\": " + std::to_string(PyramidenTiefe(breite, hoehe)) +
         ", \"kachel\": " + std::to_string(kPyramidenKachel) +
         ", \"ordner\": " + JsonString(ordnerUrl) + ", \"titel\": " + JsonString(optionen.titel) +
         "};\n";
}

}  // namespace

std::string WebseitenOrdner(const std::string& ziel) {
  std::string stamm = ziel;
  const std::string endung = UpperExtension(FileNameOf(stamm));
  if (endung == ".HTML" || endung == ".HTM") stamm.resize(stamm.size() - endung.size());
  return stamm + std::string(kOrdnerEndung);
}

void WebseitePruefen(const Webseitenoptionen& optionen, int32_t breite, int32_t hoehe,
                     const Speicherbegleitung& begleitung) {
  const fs::path ordner = WebseitenOrdner(optionen.ziel);
  std::error_code fehler;
  if (fs::exists(fs::symlink_status(ordner, fehler)) && !VonUns(ordner)) {
    throw WriteError(
        Format(_("Den Ordner „{}“ hat nicht dieses Programm angelegt; er bleibt, wie er "
                 "ist. Bitte einen anderen Namen wählen."),
               ordner.string()));
  }
  const std::string eltern = FolderOf(optionen.ziel).empty() ? "./" : FolderOf(optionen.ziel);
  const uint64_t pixel =
      static_cast<uint64_t>(std::max(breite, 0)) * static_cast<uint64_t>(std::max(hoehe, 0));
  const uint64_t hoechstens = pixel / kPixelJeDrei * kBytesJeDreiPixel + kGrundbedarf;
  const std::optional<uint64_t> frei =
      begleitung.platz ? begleitung.platz(eltern) : FreeSpace(eltern);
  uint64_t bedarf = hoechstens;
  // Only a disk short of that is worth the sample an estimate takes: a file of the
  // picture at the tiles' quality, a third more for the levels above, and what every tile
  // takes besides.
  if (frei && *frei < hoechstens && begleitung.schaetzung && breite > 0 && hoehe > 0) {
    Bildbeschreibung jpeg;
    jpeg.breite = breite;
    jpeg.hoehe = hoehe;
    jpeg.qualitaet = optionen.qualitaet;
    const uint64_t datei = Platzbedarf(*FormatVon(kFormatJpeg), jpeg, begleitung.schaetzung());
    const uint64_t ebenen = datei / kPixelJeDrei * kBytesJeDreiPixel;
    bedarf = std::min(bedarf, ebenen + Kachelzahl(breite, hoehe) * kJeKachel + kGrundbedarf);
  }
  CheckFreeSpace(eltern, bedarf, [frei](const std::string&) { return frei; });
}

void WebseiteSpeichern(StreifenQuelle& quelle, const Webseitenoptionen& optionen,
                       const Speicherbegleitung& begleitung) {
  const int32_t breite = quelle.Breite();
  const int32_t hoehe = quelle.Hoehe();
  WebseitePruefen(optionen, breite, hoehe, begleitung);
  const fs::path ordner = WebseitenOrdner(optionen.ziel);
  const fs::path eltern = ordner.parent_path().empty() ? fs::path(".") : ordner.parent_path();
  const std::string ordnername = ordner.filename().string();
  VerwaisteEntfernen(eltern, ordnername);
  const std::string pid = std::to_string(::getpid());

  // The page is complete in its temporary folder before anything of an old one is touched.
  Zwischenordner neu(eltern / ("." + ordnername + std::string(kNeuMarke) + pid));
  std::error_code fehler;
  fs::remove_all(neu.Pfad(), fehler);
  if (!fs::create_directory(neu.Pfad(), fehler)) Scheitern(neu.Pfad().string());
  DateiSchreiben(neu.Pfad() / kWebseitenMarke, "");

  Bildbeschreibung beschreibung;
  beschreibung.breite = breite;
  beschreibung.hoehe = hoehe;
  beschreibung.qualitaet = optionen.qualitaet;
  {
    const std::unique_ptr<Bildschreiber> schreiber =
        KachelpyramideOeffnen((neu.Pfad() / "kacheln").string(), beschreibung);
    StreifenweiseLesen(quelle, [&](int32_t erste, const Zeilen& zeilen) {
      if (Abgebrochen(begleitung)) throw SchreibenAbgebrochen();
      schreiber->Schreiben(zeilen);
      if (begleitung.fortschritt) begleitung.fortschritt(erste + zeilen.anzahl, hoehe);
    });
    schreiber->Beenden();
  }

  const std::string ordnerUrl = PercentEncoded(ordnername);
  const std::string leaflet = kLeafletOrdner;
  Kopieren(leaflet + "leaflet.js", neu.Pfad() / "leaflet.js");
  Kopieren(leaflet + "leaflet.css", neu.Pfad() / "leaflet.css");
  Kopieren(kLeafletLizenz, neu.Pfad() / "LIZENZ-leaflet.txt");
  // The pictures its style sheet names (the layer switch's and markers'), where there are.
  fs::copy(leaflet + "images", neu.Pfad() / "images", fs::copy_options::recursive, fehler);
  DateiSchreiben(neu.Pfad() / "seite.css", kWebseiteCss);
  DateiSchreiben(neu.Pfad() / "seite.js", kWebseiteSkript);
  DateiSchreiben(neu.Pfad() / "daten.js", Daten(optionen, ordnerUrl, breite, hoehe));
  const bool mitPlatzierung = static_cast<bool>(optionen.platzierung);
  if (mitPlatzierung) DateiSchreiben(neu.Pfad() / "platzierung.js", optionen.platzierung());

  AtomicFile seite(optionen.ziel);
  seite.Write(WebseiteHtml(ordnerUrl, optionen.titel, mitPlatzierung));

  // The last moment at which a stop still leaves the old page as it was.
  if (Abgebrochen(begleitung) || (begleitung.freigabe && !begleitung.freigabe())) {
    throw SchreibenAbgebrochen();
  }
  // Checked again: another program may have put a folder there meanwhile.
  Speicherbegleitung ohnePlatz;
  ohnePlatz.platz = [](const std::string&) -> std::optional<uint64_t> { return std::nullopt; };
  WebseitePruefen(optionen, 0, 0, ohnePlatz);
  const fs::path alt = eltern / ("." + ordnername + std::string(kAltMarke) + pid);
  const bool ersetzt = fs::exists(fs::symlink_status(ordner, fehler));
  if (ersetzt) {
    fs::remove_all(alt, fehler);
    fs::rename(ordner, alt, fehler);
    if (fehler) Scheitern(ordner.string());
  }
  fs::rename(neu.Pfad(), ordner, fehler);
  if (fehler) {
    std::error_code zurueck;
    if (ersetzt) fs::rename(alt, ordner, zurueck);
    Scheitern(ordner.string());
  }
  neu.Uebergeben();
  seite.Commit();
  if (ersetzt) fs::remove_all(alt, fehler);
}

}  // namespace tilvendo
