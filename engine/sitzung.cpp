#include "engine/sitzung.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "albums/alben_operationen.h"
#include "albums/katalog.h"
#include "engine/mosaik_baender.h"
#include "engine/mosaikergebnis.h"
#include "engine/vorbereitung.h"
#include "pictures/bilder_laden.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/stretch_copy.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

void ZielgroesseEinrichten(Auftrag& auftrag, const Auftragswunsch& wunsch, Nachgaben& nachgaben) {
  auftrag.einstellungen.Grossformat = wunsch.grossformat;
  auftrag.einstellungen.Druckaufloesung = wunsch.dpi;
  Zielgroessenwerte werte;
  std::optional<Size> groesse = wunsch.groesse;
  if (wunsch.druck) {
    // The paper rule, for lengths that need not be whole millimetres.
    groesse = Size{DruckPixel(wunsch.druck->breite, wunsch.dpi),
                   DruckPixel(wunsch.druck->hoehe, wunsch.dpi)};
  }
  if (groesse) {
    werte.festesSV = false;
    werte.SizeX = groesse->width;
    werte.SizeY = groesse->height;
    ZielgroesseBerechnen(werte, Zielaenderung::Pixel, auftrag.vorlage, auftrag.einstellungen);
    return;
  }
  werte.ZoomX = werte.ZoomY = wunsch.zoom;
  ZielgroesseBerechnen(werte, Zielaenderung::Zoom, auftrag.vorlage, auftrag.einstellungen);
  nachgaben.zoom = auftrag.einstellungen.ZoomX != wunsch.zoom;
}

}  // namespace

namespace {

// Reads the picture into the job's template, leaving the settings alone.
Vorlagenausgang VorlagenbildLaden(Auftrag& auftrag, const std::string& pfad) {
  if (!FileExists(pfad)) return Vorlagenausgang::Fehlt;
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
  auftrag.vorlage.VorlageBreite = auftrag.VorlageBild.width();
  auftrag.vorlage.VorlageHoehe = auftrag.VorlageBild.height();
  return Vorlagenausgang::Geladen;
}

}  // namespace

Vorlagenausgang VorlageLaden(Auftrag& auftrag, const std::string& pfad) {
  const Vorlagenausgang ausgang = VorlagenbildLaden(auftrag, pfad);
  if (ausgang == Vorlagenausgang::Geladen) {
    auftrag.einstellungen.ZielBreite = auftrag.vorlage.VorlageBreite;
    auftrag.einstellungen.ZielHoehe = auftrag.vorlage.VorlageHoehe;
  }
  return ausgang;
}

std::string MeldungVorlageZuGross(const std::string& pfad) {
  // A picture too large is refused from its header alone, so asking again is cheap.
  Bitmap leer;
  return MeldungVorlageZuGross(VorlagenbildLesen(leer, pfad).groesse);
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
  const uint16_t zoomX = e.ZoomX;
  const uint16_t zoomY = e.ZoomY;

  KachelnSetzen(e, auftrag.vorlage, wunsch.kachelnX, wunsch.kachelnY);
  auftrag.analyse.Formanalyse = wunsch.formanalyse;

  e.verfahren = wunsch.verfahren;
  ErweiterteEinstellungenSetzen(e, auftrag.BilderAnzahl, wunsch.berechnungsart,
                                wunsch.musterbildung, wunsch.minAbstand);
  UebersichtVorbereiten(auftrag);
  // Told after the overview's step, which holds both within the same bounds once more.
  nachgaben.kacheln = e.KachelnX != wunsch.kachelnX || e.KachelnY != wunsch.kachelnY;
  nachgaben.minAbstand = e.minAbstand != wunsch.minAbstand;
  // A size beyond the largest result is brought within it by the overview.
  nachgaben.zoom = nachgaben.zoom || e.ZoomX < zoomX || e.ZoomY < zoomY;
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
  const std::string ziel = MitSchraegstrich(optionen.Pfad) + optionen.Datei;
  if (IstVorlage(auftrag, ziel)) throw WriteError(MeldungZielIstVorlage(ziel));
  // Temporary files of saves that were killed before they finished would otherwise stay;
  // they lie beside the file written, where a link may lead.
  RemoveStaleTemporaries(FolderOf(ResolveLinks(ziel)));
}

}  // namespace

Speicherausgang ErgebnisSpeichern(Auftrag& auftrag, uint8_t blendwert,
                                  const SpeicherOptionen& optionen,
                                  const Speicherbegleitung& begleitung) {
  if (!auftrag.Ergebnis) throw std::logic_error("Es gibt noch kein Mosaik zum Speichern.");
  if (FormatVon(optionen.Format) == nullptr) return Speicherausgang::FormatUnbekannt;
  SpeichernVorbereiten(auftrag, optionen);
  std::optional<Bandbilanz> bilanz;
  try {
    // Memory that runs out is reported in German like every other failure.
    if (!AsPictureTooLarge([&] {
          return auftrag.Ergebnis->Speichern(auftrag.VorlageBild, blendwert, optionen, begleitung,
                                             0, bilanz);
        })) {
      return Speicherausgang::FormatUnbekannt;
    }
  } catch (const SchreibenAbgebrochen&) {
    return Speicherausgang::Abgebrochen;
  } catch (const KeinBildLesbar&) {
    return Speicherausgang::KeinBildLesbar;
  }
  if (bilanz) {
    auftrag.ErneutGeleseneBilder = bilanz->erneutGelesen;
    // A poster composed again may find photos gone since the run.
    auftrag.OhneErsatzKacheln = bilanz->ohneErsatz;
  }
  auftrag.analyse.ErgebnisGespeichert = 1;
  return Speicherausgang::Gespeichert;
}

Speicherausgang ErgebnisAlsWebseite(Auftrag& auftrag, uint8_t blendwert,
                                    const Webseitenoptionen& optionen, bool mitNamen,
                                    const Speicherbegleitung& begleitung) {
  if (!auftrag.Ergebnis) throw std::logic_error("Es gibt noch kein Mosaik zum Speichern.");
  if (IstVorlage(auftrag, optionen.ziel)) throw WriteError(MeldungZielIstVorlage(optionen.ziel));
  std::optional<Bandbilanz> bilanz;
  try {
    AsPictureTooLarge([&] {
      auftrag.Ergebnis->WebseiteSpeichern(auftrag.VorlageBild, blendwert, optionen, mitNamen,
                                          begleitung, 0, bilanz);
      return true;
    });
  } catch (const SchreibenAbgebrochen&) {
    return Speicherausgang::Abgebrochen;
  } catch (const KeinBildLesbar&) {
    return Speicherausgang::KeinBildLesbar;
  }
  if (bilanz) auftrag.ErneutGeleseneBilder = bilanz->erneutGelesen;
  return Speicherausgang::Gespeichert;
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
