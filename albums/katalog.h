// The album catalogue "Alben.nbx" and the per-album text files.
//
// The catalogue's section "Alben" lists the album names under the keys "1", "2", ...;
// an empty value is a blank slot left by a deletion or a rename. Each album has a
// section named like it with its settings, and the files "<Dateiname>.nbd" (chosen
// folders, separator, all scanned folders) and "<Dateiname>.nbf" (picture list).
// Every change of the catalogue is one atomic rewrite; a failure raises WriteError
// "nach <Katalog> kann nicht geschrieben werden" and leaves the old catalogue intact.
// Every change holds the album folder's lock from reading to writing
// (albums/alben_sperre.h), so two programs changing albums at once take turns; a lock
// that another program holds too long raises WriteError as well.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "albums/alben_kontext.h"
#include "albums/alben_sperre.h"
#include "albums/galerie.h"
#include "platform/translate.h"

namespace tilvendo {

inline constexpr std::string_view kAlbenSektion = "Alben";
// Line between the chosen folders and all scanned folders in a folder file.
inline constexpr std::string_view kOrdnerTrennzeile = "<<<<<---------->>>>>";
inline constexpr std::string_view kOrdnerdateiEndung = ".nbd";
inline constexpr std::string_view kDateilisteEndung = ".nbf";
inline constexpr std::string_view kSignaturdateiEndung = ".nba";
// Prefix of the cache-state keys "Ak<level>".
inline constexpr std::string_view kCacheZustandPraefix = "Ak";

// Slot of `name` in section "Alben": its own slot when listed (exact comparison),
// else the first blank slot, else one past the last. Always at least 1.
int32_t SlotSuchen(const AlbenKontext& kontext, std::string_view name);

// All album names of the catalogue, sorted without regard to letter case.
void AlbennamenLaden(const AlbenKontext& kontext, std::vector<std::string>& ziel);

// Reads the catalogue section named album.Name into the record's fields (with the
// defaults for missing keys); the lists stay untouched.
void AlbumKopfLaden(const AlbenKontext& kontext, TGalerieGlobal& album);
// The section, then the folder and picture files. An album whose Dateiname another
// album of the catalogue names as well (a hand-edited catalogue) is given files of its
// own first, under a free Dateiname, with its caches marked for rebuilding.
void AlbumLaden(const AlbenKontext& kontext, TGalerieGlobal& album);
void AlbumListenLaden(const AlbenKontext& kontext, TGalerieGlobal& album);

// What another program's change of album `name` alters, as stored now: whether it is
// listed under that name, its catalogue entry (the cache keys left out) and its folder
// file. A long run compares it before it saves the album it loaded at its start, so that
// it never writes back over a change made meanwhile (another program added a folder,
// renamed or deleted the album).
std::string AlbumStand(const AlbenKontext& kontext, std::string_view name);

// Writes the folder and picture files, then enters the album into the catalogue.
// Throws WriteError when a file cannot be written.
void AlbumSpeichern(const AlbenKontext& kontext, const TGalerieGlobal& album);
// The same within the turn `sperre` the caller holds.
void AlbumSpeichern(const AlbenKontext& kontext, const AlbenSperre& sperre,
                    const TGalerieGlobal& album);

// Raised when a new album is saved under a name that another album got in the meantime
// (another program saved it since the name was checked); what() is the German message.
class AlbumnameVergeben : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// "Der Albumname „X“ ist schon vergeben oder nicht erlaubt. …"
std::string MeldungAlbumnameVergeben(std::string_view name);
// For an empty name, which no album can have.
inline constexpr const char* kMeldungAlbumnameLeer = N_("Bitte geben Sie dem Album einen Namen.");

// Saves an album that is not in the catalogue yet, in one step with the album folder
// locked: throws AlbumnameVergeben when an album of that name (letter case ignored) is
// listed by now, and gives the album another free Dateiname when its own is named by
// another section by now. Throws WriteError when a file cannot be written.
void NeuesAlbumSpeichern(const AlbenKontext& kontext, TGalerieGlobal& album);
void AlbumListenSpeichern(const AlbenKontext& kontext, const TGalerieGlobal& album);
void KatalogEintragSchreiben(const AlbenKontext& kontext, const TGalerieGlobal& album);

// Removes the album from the catalogue (its slot stays blank) and deletes its files.
// An unlisted name changes nothing.
void AlbumLoeschen(const AlbenKontext& kontext, std::string_view name);
void AlbumLoeschen(const AlbenKontext& kontext, const AlbenSperre& sperre, std::string_view name);

// Moves the catalogue section with all its keys ("DN" and the "Ak" keys included) to
// the new name, which takes the old name's slot, in one write of the catalogue; the
// caller then saves the album under the new name with AlbumSpeichern. The album files
// keep their names. The same name changes nothing.
void AlbumUmbenennen(const AlbenKontext& kontext, std::string_view alt, std::string_view neu);

// Whether `kandidat` may become an album name: not empty, not one of the two fixed
// names, storable as a section name, and not used by another album. Names are told
// apart without regard to letter case, because the catalogue's sections are.
bool AlbumnameFrei(const AlbenKontext& kontext, std::string_view fest1, std::string_view fest2,
                   std::string_view kandidat, std::string_view eigenerName);

// The smallest n ≥ 1 for which no file "Album <n>.*" exists (folder or picture file, or
// any cache).
int32_t FreieAlbumNummer(const AlbenKontext& kontext);
// "Album <n>".
std::string AlbumDateiname(int32_t nummer);
// The Dateiname for a new album: "Album <n>" for the smallest n with no file at all (an
// album the catalogue lost keeps its number until it is taken back) and no section of
// the catalogue naming it (a hand-edited catalogue may
// name files that are missing), so that no two albums share files. Its folder file is
// made at once, empty and exclusively, so that another program making an album at the
// same time chooses another name.
std::string FreierAlbumDateiname(const AlbenKontext& kontext);
std::string FreierAlbumDateiname(const AlbenKontext& kontext, const AlbenSperre& sperre);

// Sets every "Ak" key of the album to `wert`; keys of levels never built are not made.
void SignaturenVeralten(const AlbenKontext& kontext, std::string_view name, int32_t wert);

// Deletes or tests "<Dateiname>.nbf".
void DateilisteLoeschen(const AlbenKontext& kontext, const TGalerieGlobal& album);
bool DateilisteVorhanden(const AlbenKontext& kontext, const TGalerieGlobal& album);

// What an album's folder file ("<Dateiname>.nbd") is like: present with the separator
// line and nothing but folder paths (absolute, ending in "/"); missing (or empty, as
// reserved for an album being made); or damaged (unreadable, cut before the separator,
// garbage). Only a present one tells which folders a rescan must look at.
enum class Ordnerdateizustand { Vorhanden, Fehlt, Beschaedigt };
Ordnerdateizustand OrdnerdateiPruefen(const AlbenKontext& kontext, const TGalerieGlobal& album);

// Whether a path fits on one line of an album file. Linux allows line breaks in file
// names; such a path would split into two lines and shift every later picture against
// its cache record, so folders and pictures with one are left out of albums.
bool AlsZeileSpeicherbar(std::string_view pfad);

// Whether a Dateiname read from the catalogue names a file inside the album folder
// (not empty, no "/", not "." or ".."). Albums with another Dateiname have no files.
bool DateinameGueltig(std::string_view dateiname);

}  // namespace tilvendo
