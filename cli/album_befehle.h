// The album commands: create, list, show, rescan, rename, delete and take back albums in
// the album folder. Each throws Befehlsfehler (or WriteError) when it cannot do its job.
#pragma once

#include <string>
#include <vector>

#include "albums/alben_kontext.h"
#include "cli/umgebung.h"

namespace tilvendo::cli {

void AlbumAnlegen(const AlbenKontext& kontext, Umgebung& umgebung, const std::string& name,
                  const std::vector<std::string>& ordner, bool mitUnterordnern);
void AlbenAuflisten(const AlbenKontext& kontext, Umgebung& umgebung);
void AlbumZeigen(const AlbenKontext& kontext, Umgebung& umgebung, const std::string& name);
void AlbumAktualisieren(const AlbenKontext& kontext, Umgebung& umgebung, const std::string& name);
void AlbumNeuBenennen(const AlbenKontext& kontext, Umgebung& umgebung, const std::string& alt,
                      const std::string& neu);
void AlbumEntfernen(const AlbenKontext& kontext, Umgebung& umgebung, const std::string& name);
// Takes the orphaned album of the files "<dateiname>.*" back under `name`.
void AlbumWiederherstellen(const AlbenKontext& kontext, Umgebung& umgebung,
                           const std::string& dateiname, const std::string& name);

// Whether the catalogue lists an album of exactly this name.
bool AlbumVorhanden(const AlbenKontext& kontext, const std::string& name);

// "Das Album „X“ gibt es nicht."
std::string MeldungUnbekanntesAlbum(const std::string& name);
// Why "aktualisieren" refused an album whose folder file `pfad` is missing or damaged.
std::string MeldungOrdnerlisteFehlt(const std::string& name, const std::string& pfad);
std::string MeldungOrdnerlisteBeschaedigt(const std::string& name, const std::string& pfad);

}  // namespace tilvendo::cli
