#include "engine/sitzung.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "albums/alben_operationen.h"
#include "albums/katalog.h"
#include "engine/ausgabeziel.h"
#include "engine/mosaik_baender.h"
#include "engine/mosaikergebnis.h"
#include "engine/vorbereitung.h"
#include "engine/vorlagenzuschnitt.h"
#include "pictures/bilder_laden.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/stretch_copy.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

void ZielgroesseEinrichten(Auftrag& auftrag, const Auftragswunsch& wunsch, Nachgaben& nachgaben) {
  Einstellungen& e = auftrag.einstellungen;
  e.Grossformat = wunsch.grossformat;
  e.Druckaufloesung = wunsch.dpi;
  Zielgroessenwerte werte;
  werte.dpi = wunsch.dpi;
  if (wunsch.druck) {
    // The paper rule, for lengths that need not be whole millimetres; the template is
    // cut to the paper, fitted inside it or stretched as wished.
    werte.druck = true;
    werte.festesSV = wunsch.nutzung != Papiernutzung::Strecken;
    werte.nutzung = wunsch.nutzung;
    werte.PapierBreite = wunsch.druck->breite;
    werte.PapierHoehe = wunsch.druck->hoehe;
    ZielgroesseBerechnen(werte, Zielaenderung::Papier, auftrag.vorlage, e);
    VorlageZuschneiden(auftrag, werte.Ausschnitt);
    return;
  }
  VorlageZuschneiden(auftrag, Rect{});
  if (wunsch.groesse) {
    werte.festesSV = false;
    werte.SizeX = wunsch.groesse->width;
    werte.SizeY = wunsch.groesse->height;
    ZielgroesseBerechnen(werte, Zielaenderung::Pixel, auftrag.vorlage, e);
    return;
  }
  werte.ZoomX = werte.ZoomY = wunsch.zoom;
  ZielgroesseBerechnen(werte, Zielaenderung::Zoom, auftrag.vorlage, e);
  nachgaben.zoom = e.ZoomX != wunsch.zoom;
}

}  // namespace

namespace {

// Reads the picture into the job's template, leaving the settings alone.
// What the template's name leads to, links followed; a loop of links leads nowhere.
FileKind VorlagenArt(const std::string& pfad) {
  try {
    return KindOf(ResolveLinks(pfad));
  } catch (const WriteError&) {
    return FileKind::None;
  }
}

Vorlagenausgang VorlagenbildLaden(Auftrag& auftrag, const std::string& pfad) {
  if (!FileExists(pfad)) {
    // A folder, a device or a pipe is neither missing nor ever opened: a device could be
    // read for ever, and a pipe would wait for a writer.
    const FileKind art = VorlagenArt(pfad);
    return art == FileKind::None || art == FileKind::Link ? Vorlagenausgang::Fehlt
                                                          : Vorlagenausgang::KeineDatei;
  }
  Bitmap gelesen;
  const bool aufrecht = auftrag.einstellungen.verfahren.Aufrichten;
  // A file that is no picture leaves the job as it was, its name included: the name
  // of a file that was never read must not stand for the picture that is still used.
  switch (VorlagenbildLesen(gelesen, pfad, Leseart{.aufrichten = aufrecht}).lesung) {
    case Vorlagenlesung::Gelesen:
      break;
    case Vorlagenlesung::ZuGross:
      return Vorlagenausgang::ZuGross;
    case Vorlagenlesung::Unlesbar:
      return Vorlagenausgang::Unlesbar;
  }
  if (gelesen.empty()) return Vorlagenausgang::Unlesbar;
  auftrag.vorlage.VorlagePfad = FolderOf(pfad);
  auftrag.vorlage.VorlageDatei = FileNameOf(pfad);
  auftrag.vorlage.aufrecht = aufrecht;

  // Every working picture is held in the one working format. The copy covers every
  // pixel, so the new picture need not be cleared first.
  Bitmap vorlage = Bitmap::Uninitialized(gelesen.width(), gelesen.height(), kPixelformat);
  StretchCopy(gelesen, vorlage, Rect{0, 0, gelesen.width(), gelesen.height()});
  VorlageBildErsetzen(auftrag, std::move(vorlage));
  auftrag.VorlageGanz = Bitmap();
  Vorlage& v = auftrag.vorlage;
  v.VorlageBreite = v.BildBreite = auftrag.VorlageBild.width();
  v.VorlageHoehe = v.BildHoehe = auftrag.VorlageBild.height();
  v.Ausschnitt = Rect{};
  // The size the user chose (a poster's paper, else the zooms) for this picture.
  ZielgroesseErneuern(auftrag);
  return Vorlagenausgang::Geladen;
}

}  // namespace

Vorlagenausgang VorlageLaden(Auftrag& auftrag, const std::string& pfad) {
  return VorlagenbildLaden(auftrag, pfad);
}

std::string MeldungVorlageZuGross(const std::string& pfad) {
  // Its header alone tells the size, so asking again is cheap.
  return MeldungVorlageZuGross(BildgroesseLesen(pfad).value_or(Size{0, 0}));
}

std::string MeldungVorlageKeineDatei(const std::string& pfad) {
  switch (VorlagenArt(pfad)) {
    case FileKind::Folder:
      return Format(_("Die Vorlage „{}“ ist ein Ordner und kein Bild."), pfad);
    case FileKind::Device:
      return Format(_("Die Vorlage „{}“ ist ein Gerät und kein Bild."), pfad);
    case FileKind::Pipe:
      return Format(_("Die Vorlage „{}“ ist eine Pipe und kein Bild."), pfad);
    default:
      return Format(_("Die Vorlage „{}“ ist keine gewöhnliche Datei und kein Bild."), pfad);
  }
}

Albenwahl AlbenWaehlen(Auftrag& auftrag, const std::vector<std::string>& namen,
                       const Medien& medien, Benutzer& benutzer) {
  const AlbenKontext kontext{auftrag.AlbenPfad, &benutzer, auftrag.AlbenSperrFrist};
  std::vector<std::string> vorhanden;
  AlbennamenLaden(kontext, vorhanden);
  Albenwahl wahl;
  for (const std::string& name : namen) {
    if (std::find(vorhanden.begin(), vorhanden.end(), name) == vorhanden.end()) {
      wahl = Albenwahl{Albenausgang::Unbekannt, name};
      break;
    }
    if (AlbumAuswaehlen(auftrag.alben, kontext, medien, benutzer, name) < 0) {
      wahl = Albenwahl{Albenausgang::MediumFehlt, name};
      break;
    }
  }
  BilderZaehlen(auftrag);
  return wahl;
}

void BilderZaehlen(Auftrag& auftrag) {
  auftrag.BilderAnzahl = auftrag.alben.GewaehlteBilderZaehlen();
}

Nachgaben Einrichten(Auftrag& auftrag, const Auftragswunsch& wunsch) {
  Einstellungen& e = auftrag.einstellungen;
  Nachgaben nachgaben;
  ZielgroesseEinrichten(auftrag, wunsch, nachgaben);
  const Size gewaehlt{e.ZielBreite, e.ZielHoehe};

  KachelnSetzen(e, wunsch.kachelnX, wunsch.kachelnY);
  auftrag.analyse.Formanalyse = wunsch.formanalyse;

  e.verfahren = wunsch.verfahren;
  ErweiterteEinstellungenSetzen(e, auftrag.BilderAnzahl, wunsch.berechnungsart,
                                wunsch.musterbildung, wunsch.minAbstand);
  UebersichtVorbereiten(auftrag);
  // Told after the overview's step, which holds both within the same bounds once more.
  nachgaben.kacheln = e.KachelnX != wunsch.kachelnX || e.KachelnY != wunsch.kachelnY;
  nachgaben.minAbstand = e.minAbstand != wunsch.minAbstand;
  // A size beyond the largest result is brought within it by the overview.
  nachgaben.zoom = nachgaben.zoom || e.ZielBreite < gewaehlt.width || e.ZielHoehe < gewaehlt.height;
  return nachgaben;
}

bool UebersichtVorbereiten(Auftrag& auftrag) {
  auftrag.kachelliste.Leeren();
  // The template must stand as the photos will: matched on its side against upright
  // photos, the mosaic would show it lying. The command line, too, chooses the way only
  // after the template was read.
  const Vorlage& v = auftrag.vorlage;
  const bool neuGelesen =
      !v.VorlageDatei.empty() && v.aufrecht != auftrag.einstellungen.verfahren.Aufrichten &&
      VorlagenbildLaden(auftrag, MitSchraegstrich(v.VorlagePfad) + v.VorlageDatei) ==
          Vorlagenausgang::Geladen;
  UebersichtAbgleichen(auftrag.einstellungen, auftrag.vorlage, auftrag.BilderAnzahl);
  return neuGelesen;
}

bool IstVorlage(const Auftrag& auftrag, const std::string& ziel) {
  const Vorlage& v = auftrag.vorlage;
  return !v.VorlageDatei.empty() &&
         SameFile(ziel, MitSchraegstrich(v.VorlagePfad) + v.VorlageDatei);
}

std::string MeldungZielIstVorlage(const std::string& ziel) {
  return Format(
      _("„{}“ ist die Vorlage selbst; sie wird nicht überschrieben. Bitte wählen Sie einen "
        "anderen Dateinamen für das Mosaik."),
      ziel);
}

namespace {

// What every save checks and clears first.
void SpeichernVorbereiten(const Auftrag& auftrag, const SpeicherOptionen& optionen) {
  // The template, a photo, an album file or a device is never written over.
  MosaikzielSichern(auftrag, optionen);
  const std::string ziel = MitSchraegstrich(optionen.Pfad) + optionen.Datei;
  // Temporary files of saves that were killed before they finished would otherwise stay;
  // they lie beside the file written, where a link may lead.
  RemoveStaleTemporaries(FolderOf(ResolveLinks(ziel)));
}

// One save of the result by `speichern`, which reports whether it knew the format: a
// stop and a mosaic without one readable photo are outcomes, not errors, and memory that
// runs out is reported in German like every other failure. What composing found again
// (photos gone since the run) is kept for the report.
template <typename Speichern>
Speicherausgang SpeichernBilanzieren(Auftrag& auftrag, Speichern speichern) {
  std::optional<Bandbilanz> bilanz;
  try {
    if (!AsPictureTooLarge([&] { return speichern(bilanz); })) {
      return Speicherausgang::FormatUnbekannt;
    }
  } catch (const SchreibenAbgebrochen&) {
    return Speicherausgang::Abgebrochen;
  } catch (const KeinBildLesbar&) {
    return Speicherausgang::KeinBildLesbar;
  }
  if (bilanz) {
    auftrag.ErneutGeleseneBilder = bilanz->erneutGelesen;
    auftrag.OhneErsatzKacheln = bilanz->ohneErsatz;
  }
  return Speicherausgang::Gespeichert;
}

}  // namespace

Speicherausgang ErgebnisSpeichern(Auftrag& auftrag, uint8_t blendwert,
                                  const SpeicherOptionen& optionen,
                                  const Speicherbegleitung& begleitung) {
  if (!auftrag.Ergebnis) throw std::logic_error("Es gibt noch kein Mosaik zum Speichern.");
  if (FormatVon(optionen.Format) == nullptr) return Speicherausgang::FormatUnbekannt;
  SpeichernVorbereiten(auftrag, optionen);
  const Speicherausgang ausgang = SpeichernBilanzieren(auftrag, [&](auto& bilanz) {
    return auftrag.Ergebnis->Speichern(auftrag.VorlageBild, blendwert, optionen, begleitung, 0,
                                       bilanz);
  });
  if (ausgang == Speicherausgang::Gespeichert) auftrag.analyse.ErgebnisGespeichert = 1;
  return ausgang;
}

Speicherausgang ErgebnisAlsWebseite(Auftrag& auftrag, uint8_t blendwert,
                                    const Webseitenoptionen& optionen, bool mitNamen,
                                    const Speicherbegleitung& begleitung) {
  if (!auftrag.Ergebnis) throw std::logic_error("Es gibt noch kein Mosaik zum Speichern.");
  MosaikzielSichern(auftrag, optionen.ziel);
  return SpeichernBilanzieren(auftrag, [&](auto& bilanz) {
    auftrag.Ergebnis->WebseiteSpeichern(auftrag.VorlageBild, blendwert, optionen, mitNamen,
                                        begleitung, 0, bilanz);
    return true;
  });
}

Speicherausgang ErgebnisAlsSeiten(Auftrag& auftrag, uint8_t blendwert,
                                  const SpeicherOptionen& optionen, const Seitenwahl& wahl,
                                  const Speicherbegleitung& begleitung) {
  if (!auftrag.Ergebnis) throw std::logic_error("Es gibt noch kein Mosaik zum Speichern.");
  SpeichernVorbereiten(auftrag, optionen);
  return SpeichernBilanzieren(auftrag, [&](auto& bilanz) {
    auftrag.Ergebnis->SeitenSpeichern(auftrag.VorlageBild, blendwert, optionen, wahl, begleitung, 0,
                                      bilanz);
    return true;
  });
}

Laufbericht LaufberichtErstellen(const Auftrag& auftrag) {
  const Einstellungen& e = auftrag.einstellungen;
  Laufbericht bericht;
  bericht.Laufzeiten = auftrag.Laufzeiten;
  bericht.vorlage = Size{auftrag.vorlage.VorlageBreite, auftrag.vorlage.VorlageHoehe};
  bericht.ziel = Size{e.ZielBreite, e.ZielHoehe};
  if (auftrag.Ergebnis && auftrag.ErgebnisFertig) bericht.mosaik = auftrag.Ergebnis->Groesse();
  bericht.bilder = auftrag.BilderAnzahl.gesamt;
  bericht.schwarzeKacheln = auftrag.SchwarzeKacheln;
  bericht.erneutGelesen = auftrag.ErneutGeleseneBilder;
  if (auftrag.Ergebnis) {
    // The grid of the mosaic made, not of what the pages are set to by now.
    const Mosaikplan& plan = auftrag.Ergebnis->Plan();
    bericht.kachelnX = plan.KachelnX();
    bericht.kachelnY = plan.KachelnY();
    bericht.kachel = plan.Kachel();
    bericht.verschiedeneBilder = static_cast<int32_t>(plan.Verwendung().Anzahl());
    bericht.dpi = static_cast<int32_t>(std::lround(plan.Druckaufloesung()));
  } else {
    bericht.kachelnX = e.KachelnX;
    bericht.kachelnY = e.KachelnY;
    bericht.kachel = Size{KachelBreite(e), KachelHoehe(e)};
    bericht.dpi = e.Druckaufloesung;
  }
  bericht.kacheln = bericht.kachelnX * bericht.kachelnY;
  bericht.zuordnung = auftrag.zuordnung;
  return bericht;
}

}  // namespace tilvendo
