// Albums whose files lie in the album folder although the catalogue no longer names them:
// the catalogue was deleted, cut short or replaced by an older copy. Their folder lists,
// picture lists and caches are the user's work and are never removed (albums/aufraeumen.h);
// they can be taken back into the catalogue under a name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "albums/alben_kontext.h"
#include "albums/album_bearbeitung.h"
#include "albums/galerie.h"
#include "albums/katalog.h"

namespace tilvendo {

struct VerwaistesAlbum {
  std::string dateiname;  // "Album <n>", the base of its files
  Ordnerdateizustand ordnerdatei = Ordnerdateizustand::Fehlt;
  size_t ordner = 0;  // chosen folders of a sound folder file
  size_t bilder = 0;  // lines of its picture list, without one its folders' pictures
};

// Every album of our own file naming whose Dateiname no section of the catalogue names,
// listed or not, by number. A lone empty folder file (the name a program making an album
// has reserved) is none.
std::vector<VerwaistesAlbum> VerwaisteAlben(const AlbenKontext& kontext);

enum class Wiederaufnahme {
  Aufgenommen,
  KeinVerwaistesAlbum,     // no such files, or the catalogue names them (by now)
  OrdnerlisteUnbrauchbar,  // its folder file is missing or damaged: nothing to take back
  KeinOrdnerErreichbar,    // none of its folders exists now (a medium not inserted)
  MediumAbgelehnt,         // the medium rules refused its folders (the user was warned)
};

// Takes the orphaned album `dateiname` back into the catalogue under `name`, its files as
// they are: its chosen and scanned folders from its folder file, the subfolder switch as
// those show it, bound to the medium of its folders by the album editor's rules (a
// removable medium's name is asked for), its picture count from its picture list (or its
// folders). Its caches count as never built, so the next run measures its pictures anew
// rather than trust a cache no catalogue vouches for. `album` takes the record. Throws
// AlbumnameVergeben when the name is not free and WriteError when the catalogue cannot be
// written; with any other outcome nothing was changed.
Wiederaufnahme VerwaistesAlbumAufnehmen(const Bearbeitungsumgebung& umgebung,
                                        std::string_view dateiname, std::string_view name,
                                        TGalerieGlobal& album);

}  // namespace tilvendo
