#include <algorithm>
#include <stdexcept>
#include <string>

#include "albums/katalog.h"
#include "albums/signaturdatei.h"
#include "arbeitsordner.h"
#include "engine/kachelsignatur.h"
#include "engine/signatur.h"
#include "engine/signatur_cache.h"
#include "ziele.h"

namespace tilvendo::fuzz {

namespace {
constexpr std::string_view kAlbum = "Urlaub";
constexpr std::string_view kDateiname = "Album 1";
}  // namespace

void SignaturenLesen(Eingabe daten) {
  if (daten.empty()) return;
  static const Arbeitsordner ordner;
  static const AlbenKontext kontext{ordner.pfad()};
  const auto stufe = static_cast<uint8_t>(1 + daten[0] % kMaxFormanalyse);
  const std::string_view bytes = AlsText(daten.subspan(1));
  const size_t saetze = bytes.size() / kSatzGroesse;
  const size_t jeBild = SignaturGroesse(stufe) / kSatzGroesse;

  // The bytes become the album's cache the way a run writes one: rebuilt record by
  // record against a list with a line for every picture begun, then the list saved. The
  // cache is then valid for that list as far as the catalogue can tell, whatever the
  // records hold.
  TGalerieGlobal album;
  album.Name = kAlbum;
  album.Dateiname = kDateiname;
  for (size_t bild = 0; bild * jeBild < saetze; ++bild) {
    album.Dateien.push_back("b" + std::to_string(bild) + ".jpg");
  }
  SignaturenVeralten(kontext, kAlbum, 1);
  Signaturdatei datei;
  SignaturdateiOeffnen(datei, stufe, album, kontext);
  for (size_t satz = 0; satz < saetze; ++satz) {
    SignaturDatensatz datensatz;
    std::copy_n(bytes.data() + satz * kSatzGroesse, kSatzGroesse, datensatz.begin());
    datei.Schreiben(datensatz);
  }
  SignaturdateiSchliessen(datei, stufe, album, kontext);
  AlbumSpeichern(kontext, album);

  // Only a cache of whole signatures, one per line, is read at all.
  const bool ganz = saetze > 0 && saetze % jeBild == 0;
  if (SignaturdateiOeffnen(datei, stufe, album, kontext) !=
      (ganz ? kCacheLesen : kCacheNeuAufbauen)) {
    throw std::logic_error("Cache falsch geöffnet");
  }
  if (!ganz) return;  // the rebuild begun is thrown away with the handle
  try {
    while (const auto signatur = SignaturLesen(datei, stufe)) {
      if (signatur->Helligkeit > kMaxHelligkeit) throw std::logic_error("Helligkeit zu groß");
    }
  } catch (const SignaturBeschaedigt&) {
    // The next run must rebuild a cache that could not be read to its end.
    if (!datei.Beschaedigt()) throw std::logic_error("Beschädigung nicht vermerkt");
  }
}

}  // namespace tilvendo::fuzz
