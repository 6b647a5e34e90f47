// What the user asked for on the command line, read from the arguments. Wrong use
// raises Aufruffehler with a German message; the program then ends with exit code 2.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/einstellungen.h"
#include "pictures/seitenraster.h"

namespace tilvendo::cli {

class Aufruffehler : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Befehl {
  Hilfe,
  OhneBefehl,  // nothing asked for: the usage, as for wrong use
  Version,
  AlbumAnlegen,
  AlbumListe,
  AlbumZeigen,
  AlbumAktualisieren,
  AlbumUmbenennen,
  AlbumLoeschen,
  AlbumWiederherstellen,
  Mosaik,
};

struct Paar {
  int32_t a = 0;
  int32_t b = 0;
};

// A printed size as given: width and height in millimetres (from mm, cm or in).
struct Druckgroesse {
  double breite = 0.0;
  double hoehe = 0.0;
};

// Largest print resolution the command line takes, as the size page's free field.
inline constexpr int32_t kMaxDpi = 9999;

// Defaults are those the wizard starts from.
inline constexpr int32_t kVorlagenAnteilStandard = 25;  // per cent of the template blended in
inline constexpr int32_t kVorlagenAnteilSchritt = 5;
inline constexpr int32_t kVorlagenAnteilVoll = 100;
inline constexpr int32_t kQualitaetStandard = 90;
inline constexpr int32_t kKachelnStandard = 25;

struct MosaikOptionen {
  std::string vorlage;
  std::string ausgabe;
  std::vector<std::string> alben;
  std::optional<Paar> kacheln;
  std::optional<int32_t> zoom;
  std::optional<Paar> groesse;
  bool grossformat = false;             // lifts the 2500-pixel bound
  std::optional<Druckgroesse> druck;    // the result size from a print size at `dpi`
  std::optional<Papiernutzung> papier;  // how the template meets the paper of `druck`
  std::optional<int32_t> dpi;           // print resolution, written into the file
  std::optional<std::string> liste;     // where the list of placed photos goes (CSV)
  uint8_t formanalyse = 5;
  uint8_t methode = 0;
  uint8_t muster = 0;
  int32_t mindestabstand = 2;
  int32_t vorlagenAnteil = kVorlagenAnteilStandard;
  std::optional<int32_t> farbtiefe;
  std::optional<int32_t> qualitaet;
  std::optional<uint32_t> seed;
  bool protokoll = false;
  bool bericht = false;
  // The sheets of a .pdf: the paper, the overlap and margin in mm, the orientation, the
  // assembly sheet; each given or not.
  std::optional<Druckgroesse> blatt;
  std::optional<double> ueberlappung;
  std::optional<double> rand;
  std::optional<Blattlage> ausrichtung;
  bool ohneUebersicht = false;
  bool ohneNamen = false;  // a web page names no photo and links none
  Verfahren verfahren;     // the ways of reading and matching beyond the original method
};

struct Aufruf {
  Befehl befehl = Befehl::Hilfe;
  std::optional<std::string> albenPfad;
  std::vector<std::string> namen;   // album names of the album commands (for
                                    // "wiederherstellen" the files' name, then the album's)
  std::vector<std::string> ordner;  // folders of "album anlegen"
  bool ohneUnterordner = false;
  MosaikOptionen mosaik;
};

// The file format of the mosaic, by the output's extension (letter case ignored).
enum class Ausgabeformat { Bmp, Jpeg, Png, Tiff, Webseite, Seiten, Unbekannt };
Ausgabeformat AusgabeFormat(const std::string& pfad);

// The sheets a .pdf output asks for, the defaults where the options say nothing.
Seitenwahl SeitenwahlVon(const MosaikOptionen& m);

// Reads the arguments after the program name. Throws Aufruffehler.
Aufruf AufrufLesen(const std::vector<std::string>& argumente);

// The text of "--help".
std::string Hilfetext();

}  // namespace tilvendo::cli
