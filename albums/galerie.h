// The album record: one named set of picture folders on one medium, with its picture
// counts and lists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "albums/bildzahlen.h"

namespace tilvendo {

// Version text a new album carries, and the one assumed when the catalogue has none.
inline constexpr const char* kAlbumVersionNeu = "1.9";
inline constexpr const char* kAlbumVersionAlt = "1.0";

struct TGalerieGlobal {
  // Result of the last SignaturdateiOeffnen: 0 = the cache is read, 1 = it is rebuilt.
  uint8_t NeuAufbau = 0;
  std::string Name;  // also the catalogue section name
  std::string Version = kAlbumVersionNeu;
  std::string MediumName;    // the name the user gave a removable medium
  std::string Seriennummer;  // volume identification "0012-ABCD" of the medium
  std::string Laufwerk;      // mount point of the medium
  bool Wechselmedium = false;
  Bildzahlen Anzahl;                           // total, portrait, landscape, square
  std::vector<std::string> Dateien;            // picture list, in cache order
  std::vector<std::string> Verzeichnisse;      // folders the user chose, ending in "/"
  std::vector<std::string> AlleVerzeichnisse;  // all folders the last scan found
  bool mitUnterverzeichnissen = true;
  std::string Dateiname;  // base name of the album files, "Album <n>"

  // Whether AlleVerzeichnisse came from a folder file or a scan. An album without
  // it has never been scanned and is scanned when it is chosen.
  bool AlleVerzeichnisseVorhanden = false;
};

}  // namespace tilvendo
