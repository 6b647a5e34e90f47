#include "albums/alben_operationen.h"

#include "albums/aufraeumen.h"
#include "albums/katalog.h"
#include "albums/medium_bindung.h"
#include "albums/ordner_scan.h"
#include "platform/paths.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

// The fields the editor works on, copied either way between an album and its working
// copy.
void EditorFelderKopieren(const TGalerieGlobal& von, TGalerieGlobal& nach) {
  nach.MediumName = von.MediumName;
  nach.Seriennummer = von.Seriennummer;
  nach.Laufwerk = von.Laufwerk;
  nach.Wechselmedium = von.Wechselmedium;
  nach.Verzeichnisse = von.Verzeichnisse;
  nach.AlleVerzeichnisse = von.AlleVerzeichnisse;
  nach.AlleVerzeichnisseVorhanden = von.AlleVerzeichnisseVorhanden;
  nach.mitUnterverzeichnissen = von.mitUnterverzeichnissen;
}

TGalerieGlobal Arbeitskopie(const TGalerieGlobal& album) {
  TGalerieGlobal kopie;
  kopie.Name = album.Name;
  EditorFelderKopieren(album, kopie);
  return kopie;
}

void Zurueckkopieren(const TGalerieGlobal& kopie, const Bildzahlen& anzahl, TGalerieGlobal& album) {
  EditorFelderKopieren(kopie, album);
  album.Anzahl = anzahl;
}

std::string NeuerAlbumname(const AlbenZustand& zustand, const AlbenKontext& kontext) {
  for (int32_t n = 1;; ++n) {
    std::string name = _(kNeuesAlbumName) + std::to_string(n);
    if (AlbumnameFrei(kontext, kAlleAlbenName, kGewaehlteAlbenName, name, "") &&
        zustand.Position(name) < 0) {
      return name;
    }
  }
}

}  // namespace

AlbumImEditor NeuesAlbumBeginnen(AlbenZustand& zustand, const AlbenKontext& kontext,
                                 Benutzer& benutzer) {
  TGalerieGlobal album;
  {
    // One turn on the album folder: the catalogue is about to be written, a safe moment to
    // drop what killed runs left, and the new album's files are reserved.
    const AlbenSperre sperre(kontext);
    AlbenordnerAufraeumen(kontext, sperre);
    album.Dateiname = FreierAlbumDateiname(kontext, sperre);
  }
  album.Name = NeuerAlbumname(zustand, kontext);
  album.mitUnterverzeichnissen = true;
  // The editor is not shown yet: no progress. The scan of no folders still marks any
  // cache left under this name for rebuilding.
  album.Anzahl = AlbumScannen(kontext, benutzer, album.Name, album.Verzeichnisse,
                              album.AlleVerzeichnisse, album.mitUnterverzeichnissen,
                              /*mitFortschritt=*/false);
  album.AlleVerzeichnisseVorhanden = true;

  AlbumImEditor editor;
  editor.neu = true;
  editor.name = album.Name;
  editor.anzahl = album.Anzahl;
  zustand.AktAlbum = Arbeitskopie(album);
  zustand.AlbenAuswahl.reserve(zustand.AlbenAuswahl.size() + 1);
  zustand.Albenliste.push_back(std::move(album));
  zustand.AlbenAuswahl.push_back(editor.name);
  editor.position = zustand.Albenliste.size() - 1;
  return editor;
}

std::optional<AlbumImEditor> AlbumBearbeitenBeginnen(AlbenZustand& zustand, size_t position) {
  if (position < kErstesGewaehltesAlbum || position >= zustand.Albenliste.size()) {
    return std::nullopt;
  }
  const TGalerieGlobal& album = zustand.Albenliste[position];
  zustand.AktAlbum = Arbeitskopie(album);
  return AlbumImEditor{position, false, album.Name, album.Anzahl};
}

void AlbumUnterNeuemNamenSpeichern(const AlbenKontext& kontext, TGalerieGlobal& album,
                                   std::string_view neu) {
  AlbumUmbenennen(kontext, album.Name, neu);
  // From here on the catalogue section carries the new name, whatever saving does.
  album.Name = std::string(neu);
  AlbumSpeichern(kontext, album);
}

void AlbumBearbeitungAbschliessen(AlbenZustand& zustand, const AlbenKontext& kontext,
                                  const AlbumImEditor& editor) {
  if (editor.position < kErstesGewaehltesAlbum || editor.position >= zustand.Albenliste.size()) {
    return;
  }
  TGalerieGlobal& album = zustand.Albenliste[editor.position];
  Zurueckkopieren(zustand.AktAlbum, editor.anzahl, album);
  CreateFolders(kontext.AlbenPfad);
  if (editor.neu) {
    album.Name = editor.name;
    zustand.AlbenAuswahl[editor.position] = editor.name;
    try {
      NeuesAlbumSpeichern(kontext, album);
    } catch (...) {
      zustand.AlbumAbwaehlen(editor.position);
      throw;
    }
    return;
  }
  try {
    AlbumUnterNeuemNamenSpeichern(kontext, album, editor.name);
  } catch (...) {
    zustand.AlbenAuswahl[editor.position] = album.Name;
    throw;
  }
  zustand.AlbenAuswahl[editor.position] = album.Name;
}

void AlbumLoeschenUndAbwaehlen(AlbenZustand& zustand, const AlbenKontext& kontext,
                               std::string_view name) {
  const int position = zustand.Position(name);
  if (position >= 0 && static_cast<size_t>(position) < kErstesGewaehltesAlbum) return;
  // One turn on the album folder. The catalogue first: when it cannot be written, the
  // album stays chosen as before.
  const AlbenSperre sperre(kontext);
  AlbumLoeschen(kontext, sperre, name);
  if (position >= 0) zustand.AlbumAbwaehlen(static_cast<size_t>(position));
  AlbenordnerAufraeumen(kontext, sperre);
}

void AlbumAuswahlSetzen(AlbenZustand& zustand, const AlbenKontext& kontext, std::string_view name) {
  const int position = zustand.Position(name);
  if (position >= 0) {
    zustand.AktMedium = AktuellesMedium::Von(zustand.Albenliste[static_cast<size_t>(position)]);
    return;
  }
  TGalerieGlobal kopf;
  kopf.Name = std::string(name);
  AlbumKopfLaden(kontext, kopf);
  zustand.AktMedium = AktuellesMedium::Von(kopf);
}

int AlbumAuswaehlen(AlbenZustand& zustand, const AlbenKontext& kontext, const Medien& medien,
                    Benutzer& benutzer, std::string_view name) {
  AlbumAuswahlSetzen(zustand, kontext, name);
  return zustand.AlbumWaehlen(name, kontext, medien, benutzer);
}

int AlbumAuswahlUmschalten(AlbenZustand& zustand, const AlbenKontext& kontext, const Medien& medien,
                           Benutzer& benutzer, std::string_view name) {
  const int position = zustand.Position(name);
  if (position >= 0 && static_cast<size_t>(position) < kErstesGewaehltesAlbum) return position;
  if (position >= 0) {
    zustand.AlbumAbwaehlen(static_cast<size_t>(position));
    return -1;
  }
  return AlbumAuswaehlen(zustand, kontext, medien, benutzer, name);
}

}  // namespace tilvendo
