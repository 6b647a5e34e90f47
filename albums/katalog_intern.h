// Catalogue steps on an already loaded profile, so that one operation reads and
// writes the catalogue once.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "albums/alben_kontext.h"
#include "albums/galerie.h"
#include "platform/profile_file.h"

namespace tilvendo {

int32_t SlotSuchen(const ProfileFile& katalog, std::string_view name);
// Whether `name` is the value of one of the slots.
bool Gelistet(const ProfileFile& katalog, std::string_view name);
void KatalogEintragLesen(const ProfileFile& katalog, TGalerieGlobal& album);
void KatalogEintragSchreiben(ProfileFile& katalog, const TGalerieGlobal& album);
// What follows "Ak" in a cache key or the blank in a cache file name is
// "<level><variant>": the level's digits, then the variant's letters. These split it.
std::string_view StufeVonVariante(std::string_view zeichen);
std::string_view VarianteVonStufe(std::string_view zeichen);
// Whether a key of an album section is a cache state that may be written back: "Ak"
// first, and nothing a catalogue cannot hold. A hand-edited catalogue may invent keys
// like "Ak]"; those are left as they are.
bool IstCacheZustandSchluessel(std::string_view schluessel);

// The listed albums with their Dateiname, in slot order.
struct AlbumMitDateiname {
  std::string name;
  std::string dateiname;
};
std::vector<AlbumMitDateiname> AlbenDateinamen(const ProfileFile& katalog);
// Whether a listed album other than `ausser` names `dateiname` (letter case ignored,
// so that files are kept also on a file system that ignores it).
bool DateinameBenannt(const ProfileFile& katalog, std::string_view dateiname,
                      std::string_view ausser = {});
// Whether any section other than `ausser`'s names `dateiname` as its "DN", listed in
// "Alben" or not (letter case ignored). A section whose line in "Alben" was lost still
// holds an album: its files are neither removed nor given to another album.
bool DateinameVergeben(const ProfileFile& katalog, std::string_view dateiname,
                       std::string_view ausser = {});

// The lines of a text file, accepting CR LF, LF and CR; an empty list when missing.
std::vector<std::string> TextzeilenLesen(const std::string& pfad);
// Writes the lines with CR LF, atomically.
void TextzeilenSchreiben(const std::string& pfad, const std::vector<std::string>& zeilen);

// Removes a file; a missing file is no error.
void DateiEntfernen(const std::string& pfad);

// "Album <n>" when `dateiname` is a file of an album of our own naming: "Album <n>.nbd",
// "Album <n>.nbf" or "Album <n> <level><variant>.nba" (n decimal, without leading zero).
std::optional<std::string_view> AlbumBasisVon(std::string_view dateiname);

// The bases "Album <n>" of which any file lies in the album folder (links and other
// entries of such a name included: a name taken is taken).
std::set<std::string> BasenMitDateien(const AlbenKontext& kontext);

}  // namespace tilvendo
