#include "albums/album_bearbeitung.h"

#include <algorithm>

#include "albums/medium_bindung.h"
#include "albums/ordner_scan.h"
#include "platform/gross_klein.h"
#include "platform/paths.h"

namespace tilvendo {
namespace {

// The list order of the editor: letter case ignored, as a German user reads it.
bool Vor(const std::string& a, const std::string& b) {
  return VorOhneGrossKlein(a, b);
}

}  // namespace

std::string AlbumOrdner(std::string_view ordner) {
  return MitSchraegstrich(ordner);
}

bool OrdnerGewaehlt(const std::vector<std::string>& verzeichnisse, std::string_view ordner) {
  return std::find(verzeichnisse.begin(), verzeichnisse.end(), AlbumOrdner(ordner)) !=
         verzeichnisse.end();
}

Aufnahme OrdnerAufnehmen(const Bearbeitungsumgebung& umgebung, TGalerieGlobal& album,
                         std::string_view ordner) {
  const std::string pfad = AlbumOrdner(ordner);
  if (!MediumBinden(album, pfad, umgebung.medien, umgebung.benutzer)) return Aufnahme::Abgelehnt;
  if (OrdnerGewaehlt(album.Verzeichnisse, pfad)) return Aufnahme::SchonVorhanden;
  album.Verzeichnisse.insert(
      std::upper_bound(album.Verzeichnisse.begin(), album.Verzeichnisse.end(), pfad, Vor), pfad);
  return Aufnahme::Aufgenommen;
}

void AlbumNeuScannen(const Bearbeitungsumgebung& umgebung, TGalerieGlobal& album,
                     Bildzahlen& anzahl) {
  anzahl =
      AlbumScannen(umgebung.kontext, umgebung.benutzer, album.Name, album.Verzeichnisse,
                   album.AlleVerzeichnisse, album.mitUnterverzeichnissen, umgebung.mitFortschritt);
  album.AlleVerzeichnisseVorhanden = true;
}

Aufnahme OrdnerHinzufuegen(const Bearbeitungsumgebung& umgebung, TGalerieGlobal& album,
                           Bildzahlen& anzahl, std::string_view ordner) {
  const Aufnahme aufnahme = OrdnerAufnehmen(umgebung, album, ordner);
  if (aufnahme == Aufnahme::Aufgenommen) AlbumNeuScannen(umgebung, album, anzahl);
  return aufnahme;
}

bool OrdnerEntfernen(const Bearbeitungsumgebung& umgebung, TGalerieGlobal& album,
                     Bildzahlen& anzahl, size_t position) {
  if (position >= album.Verzeichnisse.size()) return false;
  album.Verzeichnisse.erase(album.Verzeichnisse.begin() + static_cast<std::ptrdiff_t>(position));
  AlbumNeuScannen(umgebung, album, anzahl);
  if (album.Verzeichnisse.empty()) MediumFreigeben(album);
  return true;
}

void UnterverzeichnisseSetzen(const Bearbeitungsumgebung& umgebung, TGalerieGlobal& album,
                              Bildzahlen& anzahl, bool mitUnterverzeichnissen) {
  album.mitUnterverzeichnissen = mitUnterverzeichnissen;
  AlbumNeuScannen(umgebung, album, anzahl);
}

}  // namespace tilvendo
