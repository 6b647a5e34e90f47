#include "cli/album_befehle.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>

#include "albums/alben_operationen.h"
#include "albums/alben_zustand.h"
#include "albums/album_bearbeitung.h"
#include "albums/katalog.h"
#include "albums/verwaiste_alben.h"
#include "platform/paths.h"
#include "platform/translate.h"

namespace tilvendo::cli {
namespace {

constexpr const char* kVerwaistVermerk = N_("verwaist: nicht im Katalog");
constexpr const char* kOhneOrdnerliste = N_(", ohne Ordnerliste");
constexpr const char* kHinweisVerwaist =
    N_("Verwaiste Alben stehen nicht mehr im Katalog; ihre Dateien sind noch da. „tilvendo album "
       "wiederherstellen DATEINAME [NAME]“ nimmt eines wieder auf.");

// A folder as the album keeps it: absolute, normalised, with trailing "/".
std::string OrdnerPfad(const std::string& eingabe) {
  std::error_code fehler;
  std::filesystem::path pfad = std::filesystem::absolute(eingabe, fehler);
  if (fehler) pfad = eingabe;
  std::string text = pfad.lexically_normal().string();
  return MitSchraegstrich(text);
}

TGalerieGlobal VorhandenesAlbumLaden(const AlbenKontext& kontext, const std::string& name) {
  if (!AlbumVorhanden(kontext, name)) throw Befehlsfehler(MeldungUnbekanntesAlbum(name));
  TGalerieGlobal album;
  album.Name = name;
  AlbumLaden(kontext, album);
  return album;
}

std::string MediumText(const TGalerieGlobal& album) {
  if (album.Wechselmedium) {
    return Format(_("Wechselmedium „{}“ ({}, {})"), album.MediumName, album.Laufwerk,
                  album.Seriennummer);
  }
  return album.Seriennummer.empty() ? std::string(_("Festplatte"))
                                    : Format(_("Festplatte ({})"), album.Seriennummer);
}

void NameFreiPruefen(const AlbenKontext& kontext, const std::string& name,
                     const std::string& eigenerName) {
  if (name.empty()) throw Befehlsfehler(_(kMeldungAlbumnameLeer));
  if (!AlbumnameFrei(kontext, kAlleAlbenName, kGewaehlteAlbenName, name, eigenerName)) {
    throw Befehlsfehler(MeldungAlbumnameVergeben(name));
  }
}

// A rescan walks the chosen folders the folder file names: without a sound one it would
// find none and save the album empty.
void OrdnerdateiVerlangen(const AlbenKontext& kontext, const std::string& name) {
  TGalerieGlobal kopf;
  kopf.Name = name;
  AlbumKopfLaden(kontext, kopf);
  const std::string pfad = kontext.Datei(kopf.Dateiname + std::string(kOrdnerdateiEndung));
  switch (OrdnerdateiPruefen(kontext, kopf)) {
    case Ordnerdateizustand::Vorhanden:
      return;
    case Ordnerdateizustand::Fehlt:
      throw Befehlsfehler(MeldungOrdnerlisteFehlt(name, pfad));
    case Ordnerdateizustand::Beschaedigt:
      throw Befehlsfehler(MeldungOrdnerlisteBeschaedigt(name, pfad));
  }
}

// The album editor's steps, without its progress display.
Bearbeitungsumgebung Bearbeitung(const AlbenKontext& kontext, Umgebung& umgebung) {
  return Bearbeitungsumgebung{kontext, umgebung.medien, umgebung.benutzer,
                              /*mitFortschritt=*/false};
}

std::string Bilder(int32_t anzahl) {
  return Format(NG_("{} Bild", "{} Bilder", static_cast<uint64_t>(anzahl)), anzahl);
}

}  // namespace

std::string MeldungOrdnerlisteFehlt(const std::string& name, const std::string& pfad) {
  return Format(_("Die Ordnerliste „{}“ des Albums „{}“ fehlt; das Album bleibt unverändert. Bitte "
                  "legen Sie es neu an."),
                pfad, name);
}

std::string MeldungOrdnerlisteBeschaedigt(const std::string& name, const std::string& pfad) {
  return Format(_("Die Ordnerliste „{}“ des Albums „{}“ ist beschädigt; das Album bleibt unverändert. "
                  "Bitte legen Sie es neu an."),
                pfad, name);
}

std::string MeldungUnbekanntesAlbum(const std::string& name) {
  return Format(_("Das Album „{}“ gibt es nicht. „tilvendo album liste“ zeigt alle Alben."), name);
}

bool AlbumVorhanden(const AlbenKontext& kontext, const std::string& name) {
  std::vector<std::string> namen;
  AlbennamenLaden(kontext, namen);
  return std::find(namen.begin(), namen.end(), name) != namen.end();
}

void AlbumAnlegen(const AlbenKontext& kontext, Umgebung& umgebung, const std::string& name,
                  const std::vector<std::string>& ordner, bool mitUnterordnern) {
  NameFreiPruefen(kontext, name, "");
  // The same steps as "neu" on the album page, with the folders given at once.
  AlbenZustand zustand;
  AlbumImEditor editor = NeuesAlbumBeginnen(zustand, kontext, umgebung.benutzer);
  const Bearbeitungsumgebung bearbeitung = Bearbeitung(kontext, umgebung);
  TGalerieGlobal& album = zustand.AktAlbum;
  album.mitUnterverzeichnissen = mitUnterordnern;
  for (const std::string& eingabe : ordner) {
    const std::string pfad = OrdnerPfad(eingabe);
    if (!FolderExists(pfad)) {
      throw Befehlsfehler(Format(_("Den Ordner „{}“ gibt es nicht."), eingabe));
    }
    // It would vanish from the album's folder file, which holds one path per line.
    if (!AlsZeileSpeicherbar(pfad)) {
      throw Befehlsfehler(
          Format(_("Der Name des Ordners „{}“ enthält einen Zeilenumbruch, den die "
                   "Albumdateien nicht speichern können. Bitte benennen Sie ihn um."),
                 eingabe));
    }
    // The same medium rules as in the album editor: one medium per album.
    if (OrdnerAufnehmen(bearbeitung, album, pfad) == Aufnahme::Abgelehnt) throw Befehlsfehler("");
  }
  AlbumNeuScannen(bearbeitung, album, editor.anzahl);
  const size_t ordnerAnzahl = album.AlleVerzeichnisse.size();
  editor.name = name;
  try {
    AlbumBearbeitungAbschliessen(zustand, kontext, editor);
  } catch (const AlbumnameVergeben& fehler) {
    throw Befehlsfehler(fehler.what());  // another program was quicker
  }
  umgebung.aus << Format(NG_("Album „{}“ angelegt: {} in {} Ordnern.",
                             "Album „{}“ angelegt: {} in {} Ordnern.", ordnerAnzahl),
                         name, Bilder(editor.anzahl.gesamt), ordnerAnzahl)
               << '\n';
}

void AlbenAuflisten(const AlbenKontext& kontext, Umgebung& umgebung) {
  std::vector<std::string> namen;
  AlbennamenLaden(kontext, namen);
  for (const std::string& name : namen) {
    TGalerieGlobal album;
    album.Name = name;
    AlbumKopfLaden(kontext, album);
    umgebung.aus << name << '\t' << Bilder(album.Anzahl.gesamt) << '\t' << MediumText(album)
                 << '\n';
  }
  // Albums the catalogue lost are named by their files, so that they can be taken back.
  const std::vector<VerwaistesAlbum> verwaist = VerwaisteAlben(kontext);
  for (const VerwaistesAlbum& album : verwaist) {
    umgebung.aus << album.dateiname << '\t' << Bilder(static_cast<int32_t>(album.bilder)) << '\t'
                 << _(kVerwaistVermerk)
                 << (album.ordnerdatei == Ordnerdateizustand::Vorhanden ? "" : _(kOhneOrdnerliste))
                 << '\n';
  }
  if (!verwaist.empty()) umgebung.fehler << _(kHinweisVerwaist) << '\n';
}

void AlbumZeigen(const AlbenKontext& kontext, Umgebung& umgebung, const std::string& name) {
  const TGalerieGlobal album = VorhandenesAlbumLaden(kontext, name);
  std::ostream& aus = umgebung.aus;
  aus << _("Name: ") << album.Name << '\n'
      << _("Bilder: ") << album.Anzahl.gesamt << '\n'
      << _("Medium: ") << MediumText(album) << '\n'
      << _("mit Unterordnern: ") << (album.mitUnterverzeichnissen ? _("ja") : _("nein")) << '\n'
      << _("Dateien: ") << kontext.Datei(album.Dateiname) << ".*\n"
      << _("gewählte Ordner:") << '\n';
  for (const std::string& ordner : album.Verzeichnisse) aus << "  " << ordner << '\n';
  aus << _("durchsuchte Ordner: ") << album.AlleVerzeichnisse.size() << '\n';
}

void AlbumAktualisieren(const AlbenKontext& kontext, Umgebung& umgebung, const std::string& name) {
  if (!AlbumVorhanden(kontext, name)) throw Befehlsfehler(MeldungUnbekanntesAlbum(name));
  // Before the album is chosen: choosing one without folder file scans it already.
  OrdnerdateiVerlangen(kontext, name);
  // As "aktualisieren" in the album editor: choose (the medium must be inserted),
  // rescan, save.
  AlbenZustand zustand;
  const int position = AlbumAuswaehlen(zustand, kontext, umgebung.medien, umgebung.benutzer, name);
  if (position < 0) throw Befehlsfehler("");
  std::optional<AlbumImEditor> editor =
      AlbumBearbeitenBeginnen(zustand, static_cast<size_t>(position));
  if (!editor) throw Befehlsfehler(MeldungUnbekanntesAlbum(name));
  AlbumNeuScannen(Bearbeitung(kontext, umgebung), zustand.AktAlbum, editor->anzahl);
  AlbumBearbeitungAbschliessen(zustand, kontext, *editor);
  const size_t ordnerAnzahl = zustand.AktAlbum.AlleVerzeichnisse.size();
  umgebung.aus << Format(NG_("Album „{}“ aktualisiert: {} in {} Ordnern.",
                             "Album „{}“ aktualisiert: {} in {} Ordnern.", ordnerAnzahl),
                         name, Bilder(editor->anzahl.gesamt), ordnerAnzahl)
               << '\n';
}

void AlbumNeuBenennen(const AlbenKontext& kontext, Umgebung& umgebung, const std::string& alt,
                      const std::string& neu) {
  if (!AlbumVorhanden(kontext, alt)) throw Befehlsfehler(MeldungUnbekanntesAlbum(alt));
  NameFreiPruefen(kontext, neu, alt);
  if (neu == alt) return;
  // Only the name changes: one write of the catalogue, which is done or not, whatever
  // else of the album is damaged.
  AlbumUmbenennen(kontext, alt, neu);
  umgebung.aus << Format(_("Album „{}“ heißt jetzt „{}“."), alt, neu) << '\n';
}

void AlbumWiederherstellen(const AlbenKontext& kontext, Umgebung& umgebung,
                           const std::string& dateiname, const std::string& name) {
  NameFreiPruefen(kontext, name, "");
  TGalerieGlobal album;
  Wiederaufnahme ergebnis = Wiederaufnahme::KeinVerwaistesAlbum;
  try {
    ergebnis = VerwaistesAlbumAufnehmen(Bearbeitung(kontext, umgebung), dateiname, name, album);
  } catch (const AlbumnameVergeben& fehler) {
    throw Befehlsfehler(fehler.what());  // another program was quicker
  }
  const std::string ordnerliste = kontext.Datei(dateiname + std::string(kOrdnerdateiEndung));
  switch (ergebnis) {
    case Wiederaufnahme::Aufgenommen:
      break;
    case Wiederaufnahme::KeinVerwaistesAlbum:
      throw Befehlsfehler(
          Format(_("Im Ordner der Alben gibt es kein verwaistes Album „{}“. „tilvendo "
                   "album liste“ nennt die verwaisten Alben."),
                 dateiname));
    case Wiederaufnahme::OrdnerlisteUnbrauchbar:
      throw Befehlsfehler(Format(_("Die Ordnerliste „{}“ fehlt oder ist beschädigt; das Album kann "
                                   "nicht wiederhergestellt werden. Bitte legen Sie es neu an."),
                                 ordnerliste));
    case Wiederaufnahme::KeinOrdnerErreichbar:
      throw Befehlsfehler(
          Format(_("Keiner der Ordner des Albums „{}“ ist erreichbar. Bitte legen Sie "
                   "das Medium ein, auf dem sie liegen."),
                 dateiname));
    case Wiederaufnahme::MediumAbgelehnt:
      throw Befehlsfehler("");  // the medium rules' warning said why
  }
  const size_t ordnerAnzahl = album.AlleVerzeichnisse.size();
  umgebung.aus << Format(NG_("Album „{}“ wiederhergestellt: {} in {} Ordnern.",
                             "Album „{}“ wiederhergestellt: {} in {} Ordnern.", ordnerAnzahl),
                         name, Bilder(album.Anzahl.gesamt), ordnerAnzahl)
               << '\n';
}

void AlbumEntfernen(const AlbenKontext& kontext, Umgebung& umgebung, const std::string& name) {
  if (!AlbumVorhanden(kontext, name)) throw Befehlsfehler(MeldungUnbekanntesAlbum(name));
  AlbenZustand zustand;
  AlbumLoeschenUndAbwaehlen(zustand, kontext, name);
  umgebung.aus << Format(_("Album „{}“ gelöscht; die Bilder bleiben, wo sie sind."), name) << '\n';
}

}  // namespace tilvendo::cli
