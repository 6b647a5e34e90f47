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

// An album whose cache of every level is valid for its two-line picture list, made the
// way a run makes it: each level rebuilt (empty), then the lists saved.
TGalerieGlobal AlbumAnlegen(const AlbenKontext& kontext) {
  TGalerieGlobal album;
  album.Name = kAlbum;
  album.Dateiname = kDateiname;
  album.Dateien = {"a.jpg", "b.jpg"};
  for (int stufe = 1; stufe <= kMaxFormanalyse; ++stufe) {
    Signaturdatei datei;
    SignaturdateiOeffnen(datei, static_cast<uint8_t>(stufe), album, kontext);
    SignaturdateiSchliessen(datei, static_cast<uint8_t>(stufe), album, kontext);
  }
  AlbumSpeichern(kontext, album);
  return album;
}
}  // namespace

void SignaturenLesen(Eingabe daten) {
  if (daten.empty()) return;
  static const Arbeitsordner ordner;
  static const AlbenKontext kontext{ordner.pfad()};
  static TGalerieGlobal album = AlbumAnlegen(kontext);
  const auto stufe = static_cast<uint8_t>(1 + daten[0] % kMaxFormanalyse);
  ordner.Schreiben(SignaturdateiName(album, stufe), AlsText(daten.subspan(1)));

  Signaturdatei datei;
  if (SignaturdateiOeffnen(datei, stufe, album, kontext) != kCacheLesen) {
    throw std::logic_error("Cache nicht zum Lesen geöffnet");
  }
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
