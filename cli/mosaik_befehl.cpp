#include "cli/mosaik_befehl.h"

#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <ostream>

#include "cli/abbruch_signal.h"
#include "cli/album_befehle.h"
#include "engine/auftrag.h"
#include "engine/ausgabeziel.h"
#include "engine/berechnungslauf.h"
#include "engine/druckflaeche.h"
#include "engine/fortschritt.h"
#include "engine/grossformat.h"
#include "engine/platzierungsliste.h"
#include "engine/sitzung.h"
#include "engine/vorbereitung.h"
#include "pictures/blending.h"
#include "pictures/seiten_speichern.h"
#include "pictures/speichern.h"
#include "pictures/webseite_speichern.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "platform/free_space.h"
#include "platform/paths.h"
#include "platform/sprache.h"
#include "platform/translate.h"

namespace tilvendo::cli {
namespace {

// A long run must not end in a file that cannot be written: tried before it starts,
// with a temporary file that is removed again at once. What the saves refuse (the
// template, a photo, an album file, a device) is refused here already.
void AusgabePruefen(const Auftrag& auftrag, const std::string& ausgabe) {
  if (const auto verweigert = AusgabezielPruefen(auftrag, ausgabe, Ausgabeart::Mosaik)) {
    throw Befehlsfehler(*verweigert);
  }
  try {
    AtomicFile probe(ausgabe);
  } catch (const WriteError&) {
    throw Befehlsfehler(
        Format(_("In den Ordner von „{}“ kann nicht geschrieben werden (gibt es ihn, "
                 "und darf man dort schreiben?)."),
               ausgabe));
  }
}

void AlbenDesAufrufsWaehlen(Auftrag& auftrag, const std::vector<std::string>& alben,
                            Umgebung& umgebung) {
  const Albenwahl wahl = AlbenWaehlen(auftrag, alben, umgebung.medien, umgebung.benutzer);
  switch (wahl.ausgang) {
    case Albenausgang::Gewaehlt:
      return;
    case Albenausgang::Unbekannt:
      throw Befehlsfehler(MeldungUnbekanntesAlbum(wahl.album));
    case Albenausgang::MediumFehlt:
      throw Befehlsfehler("");  // the insert-medium warning said why
  }
}

// The settings of the size, tiling and extended pages, then the overview's consistency
// steps, each with a note where the command line's wish had to give way. Values the
// user did not ask for give way silently.
void AuftragVorbereiten(Auftrag& auftrag, const MosaikOptionen& m, TerminalBenutzer& benutzer) {
  Auftragswunsch wunsch;
  wunsch.grossformat = m.grossformat;
  wunsch.dpi = m.dpi.value_or(0);
  if (m.druck) wunsch.druck = Druckmass{m.druck->breite, m.druck->hoehe};
  wunsch.nutzung = m.papier.value_or(Papiernutzung::GanzeVorlage);
  if (m.groesse) wunsch.groesse = Size{m.groesse->a, m.groesse->b};
  wunsch.zoom = m.zoom.value_or(kZoomStandard);
  const Paar kacheln = m.kacheln.value_or(Paar{kKachelnStandard, kKachelnStandard});
  wunsch.kachelnX = kacheln.a;
  wunsch.kachelnY = kacheln.b;
  wunsch.formanalyse = m.formanalyse;
  wunsch.berechnungsart = m.methode;
  wunsch.musterbildung = m.muster;
  wunsch.minAbstand = m.mindestabstand;
  wunsch.verfahren = m.verfahren;

  const Nachgaben nachgaben = Einrichten(auftrag, wunsch);
  const Einstellungen& e = auftrag.einstellungen;
  if ((m.zoom || m.groesse || m.druck) && nachgaben.zoom) {
    benutzer.Hinweis(
        Format(_("Der Zoom wurde auf {} % begrenzt, damit das Ergebnis höchstens {} Pixel "
                 "breit und hoch wird."),
               e.ZoomX, GroessteZielkante(e)));
  }
  if (m.druck) {
    // What the paper's shape did to the template, and what of the paper the mosaic takes.
    const std::string zuschnitt =
        ZuschnittText(GanzesBild(auftrag.vorlage), auftrag.vorlage.Ausschnitt);
    if (!zuschnitt.empty()) benutzer.Hinweis(zuschnitt);
    // The file's resolution makes the whole tiles print at the size chosen.
    benutzer.Hinweis(DruckflaechenText(e.ZielBreite, e.ZielHoehe, e.Druckaufloesung,
                                       m.druck->breite, m.druck->hoehe) +
                     ".");
  }
  if (m.kacheln && nachgaben.kacheln) {
    benutzer.Hinweis(
        Format(_("Die Kachelung wurde auf {} x {} verringert, damit jede Kachel mindestens "
                 "4 Pixel breit bleibt."),
               e.KachelnX, e.KachelnY));
  }
  if (nachgaben.minAbstand) {
    benutzer.Hinweis(
        Format(_("Der Mindestabstand wurde auf {} verringert; mehr erlauben Kachelung und "
                 "Bilderzahl nicht."),
               e.minAbstand));
  }
}

uint8_t FarbtiefeCode(int32_t bits) {
  switch (bits) {
    case 8:
      return kFarbtiefe8;
    case 16:
      return kFarbtiefe16;
    case 32:
      return kFarbtiefe32;
    default:
      return kFarbtiefe24;
  }
}

uint8_t FormatCode(Ausgabeformat format) {
  switch (format) {
    case Ausgabeformat::Jpeg:
    case Ausgabeformat::Seiten:  // the sheets' pictures
      return kFormatJpeg;
    case Ausgabeformat::Png:
      return kFormatPng;
    case Ausgabeformat::Tiff:
      return kFormatTiff;
    default:
      return kFormatBmp;
  }
}

SpeicherOptionen SpeicherOptionenBilden(const MosaikOptionen& m) {
  SpeicherOptionen optionen;
  // The name is taken as given: its extension already names the format.
  optionen.Pfad = FolderOf(m.ausgabe);
  optionen.Datei = FileNameOf(m.ausgabe);
  optionen.Format = FormatCode(AusgabeFormat(m.ausgabe));
  optionen.Qualitaet = static_cast<uint8_t>(m.qualitaet.value_or(kStandardQualitaet));
  // Without a depth of its own the file gets the wizard's first.
  optionen.Farbtiefe = m.farbtiefe ? FarbtiefeCode(*m.farbtiefe) : kStandardFarbtiefe;
  return optionen;
}

uint8_t Blendwert(const MosaikOptionen& m) {
  return BlendwertAusRegler((m.vorlagenAnteil - kVorlagenAnteilVoll) / kVorlagenAnteilSchritt);
}

// The web page of the mosaic, when its output names one.
std::optional<Webseitenoptionen> WebseiteBilden(const MosaikOptionen& m) {
  if (AusgabeFormat(m.ausgabe) != Ausgabeformat::Webseite) return std::nullopt;
  Webseitenoptionen seite;
  seite.ziel = m.ausgabe;
  seite.titel = FileNameOf(m.vorlage);
  seite.qualitaet = m.qualitaet.value_or(kStandardQualitaet);
  return seite;
}

// The mosaic is written while it is composed, at the end of a long run: what can be told
// before (a BMP too large, too little room, a folder of the page's name not ours, sheets
// that cannot be printed) is told before the run starts.
void AusgabeVorPruefen(const Auftrag& auftrag, const SpeicherOptionen& optionen,
                       const std::optional<Webseitenoptionen>& seite,
                       const std::optional<Seitenwahl>& seiten) {
  const Size groesse = Mosaikgroesse(auftrag.einstellungen);
  try {
    if (seite) {
      WebseitePruefen(*seite, groesse.width, groesse.height, {});
      return;
    }
    if (seiten) {
      SpeicherOptionen mitDpi = optionen;
      mitDpi.Aufloesung = auftrag.einstellungen.Druckaufloesung;
      SeitenPruefen(mitDpi, *seiten, groesse.width, groesse.height, {});
    } else {
      SpeichernPruefen(optionen, groesse.width, groesse.height, {});
    }
  } catch (const WriteError& fehler) {
    throw Befehlsfehler(_(kSpeicherFehler.data()) + std::string(fehler.what()));
  }
  // Temporary files of saves that were killed lie beside the file written, where a link
  // may lead.
  RemoveStaleTemporaries(FolderOf(ResolveLinks(MitSchraegstrich(optionen.Pfad) + optionen.Datei)));
}

// The list must not fail after a long run either, nor take the mosaic's place.
void ListePruefen(const Auftrag& auftrag, const std::string& liste, const std::string& ausgabe) {
  if (const auto verweigert = AusgabezielPruefen(auftrag, liste, Ausgabeart::Platzierungsliste)) {
    throw Befehlsfehler(*verweigert);
  }
  if (liste == ausgabe || SameFile(liste, ausgabe) ||
      ResolveLinks(liste) == ResolveLinks(ausgabe)) {
    throw Befehlsfehler(Format(
        _("Die Liste der Fotos und das Mosaik können nicht in dieselbe Datei „{}“ geschrieben "
          "werden."),
        liste));
  }
  try {
    AtomicFile probe(liste);
  } catch (const WriteError&) {
    throw Befehlsfehler(
        Format(_("Die Liste „{}“ kann nicht geschrieben werden (gibt es den Ordner, und "
                 "darf man dort schreiben?)."),
               liste));
  }
}

// One length on paper with the language's decimal separator: 12,7.
std::string Millimeter(double mm) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.1f", mm);
  std::string ergebnis(text);
  const size_t punkt = ergebnis.find('.');
  if (punkt != std::string::npos) ergebnis.replace(punkt, 1, Dezimalzeichen());
  return ergebnis;
}

// The most memory the process held, in bytes (the kernel keeps it in kilobytes).
uint64_t Spitzenspeicher() {
  constexpr uint64_t kKilobyte = 1024;
  struct rusage nutzung {};
  if (::getrusage(RUSAGE_SELF, &nutzung) != 0) return 0;
  return static_cast<uint64_t>(nutzung.ru_maxrss) * kKilobyte;
}

// As the overview shows durations, with the exact seconds behind for measurements.
std::string Dauer(double tage) {
  char genau[32];
  std::snprintf(genau, sizeof(genau), "%.3f", tage * kSecondsPerDay);
  std::string sekunden(genau);
  const size_t punkt = sekunden.find('.');
  if (punkt != std::string::npos) sekunden.replace(punkt, 1, Dezimalzeichen());
  return DauerText(tage) + " (" + sekunden + " s)";
}

void BerichtSchreiben(const Laufbericht& b, std::ostream& aus) {
  static constexpr std::array<const char*, kLaufzeitenAnzahl> kPhasen = {
      N_("Einlesen der Bilddateien: "), N_("Vorbereiten der Vorlage: "),
      N_("Berechnen des Mosaiks: "), N_("Zusammenstellen des Mosaiks: "), N_("Gesamtdauer: ")};
  aus << _("Informationen zur letzten Berechnung:") << '\n';
  for (size_t i = 0; i < kPhasen.size(); ++i) {
    aus << "  " << _(kPhasen[i]) << Dauer(b.Laufzeiten[i]) << '\n';
  }
  aus << "  " << Format(_("Vorlagengröße: {} x {} Pixel"), b.vorlage.width, b.vorlage.height)
      << '\n'
      << "  " << Format(_("absolute Größe: {} x {} Pixel"), b.ziel.width, b.ziel.height) << '\n'
      << "  "
      << Format(_("{} x {} Kacheln, {} insgesamt, je {} x {} Pixel"), b.kachelnX, b.kachelnY,
                b.kacheln, b.kachel.width, b.kachel.height)
      << '\n'
      << "  " << Format(_("Anzahl an Bildern insgesamt: {}"), b.bilder) << '\n'
      << "  " << _("verschiedene Bilder im Mosaik: ") << b.verschiedeneBilder << '\n';
  if (b.schwarzeKacheln > 0) {
    aus << "  " << _("schwarz gebliebene Kacheln (Bilder nicht lesbar): ") << b.schwarzeKacheln
        << '\n';
  }
  const Zuordnungsbericht& z = b.zuordnung;
  if (z.gerechnet) {
    aus << "  " << Format(_("Zuordnung mit Verwendungsgrenzen: {} Flussrunden"), z.runden) << '\n'
        << "  "
        << Format(z.alleFotos
                      ? _("Summe der Signaturabstände: {} (Fluss {}, Optimum mindestens {})")
                      : _("Summe der Signaturabstände: {} (Fluss {}, Optimum über die nahen "
                          "Fotos mindestens {})"),
                  z.summe, z.summeFluss, z.untereSchranke)
        << '\n'
        << "  " << _("Tausche für den Mindestabstand: ") << z.tausche << '\n';
    if (z.offen > 0) {
      aus << "  " << _("Kacheln, deren Foto zu nah wiederkehrt (kein Tausch möglich): ") << z.offen
          << '\n';
    }
  }
  if (b.dpi > 0) {
    const std::string breite = Millimeter(DruckMillimeter(b.kachel.width, b.dpi));
    const std::string hoehe = Millimeter(DruckMillimeter(b.kachel.height, b.dpi));
    aus << "  "
        << Format(_("Kachelkante {} mm bei {} dpi"),
                  breite + (hoehe == breite ? "" : " x " + hoehe), b.dpi)
        << '\n';
  }
  if (b.erneutGelesen > 0) {
    aus << "  " << _("erneut gelesene Fotos (Kachelspeicher voll): ") << b.erneutGelesen << '\n';
  }
  aus << "  " << _("Spitzenspeicher: ") << SizeText(Spitzenspeicher()) << '\n';
}

}  // namespace

std::string MeldungVorlageFehlt(const std::string& pfad) {
  return Format(_("Die Vorlage „{}“ gibt es nicht."), pfad);
}

std::string MeldungUnvollstaendig(const std::string& ausgabe, int32_t schwarz) {
  return Format(
      NG_("Das Mosaik „{}“ wurde geschrieben, ist aber unvollständig: {} Kachel ist "
          "schwarz, weil weder ihr Foto noch ein anderes der Alben gelesen werden konnte.",
          "Das Mosaik „{}“ wurde geschrieben, ist aber unvollständig: {} Kacheln sind "
          "schwarz, weil weder ihre Fotos noch andere der Alben gelesen werden konnten.",
          static_cast<uint64_t>(schwarz)),
      ausgabe, schwarz);
}

std::string MeldungVorlageUnlesbar(const std::string& pfad) {
  return Format(
      _("Die Vorlage „{}“ kann nicht gelesen werden; sie muss ein Bild im Format BMP, JPEG, "
        "PNG, WebP, TIFF oder HEIF sein."),
      pfad);
}

int MosaikErstellen(const MosaikOptionen& m, const std::optional<std::string>& albenPfad,
                    Umgebung& umgebung, bool signaleAbfangen) {
  auto auftrag = std::make_unique<Auftrag>();
  Programmstart(*auftrag, Startoptionen{{}, m.seed, albenPfad});
  StandardwerteSetzen(*auftrag);
  auftrag->Protokoll = m.protokoll;
  auftrag->AlbenSperrFrist = umgebung.albenSperrFrist;

  switch (VorlageLaden(*auftrag, m.vorlage)) {
    case Vorlagenausgang::Geladen:
      break;
    case Vorlagenausgang::Fehlt:
      throw Befehlsfehler(MeldungVorlageFehlt(m.vorlage));
    case Vorlagenausgang::KeineDatei:
      throw Befehlsfehler(MeldungVorlageKeineDatei(m.vorlage));
    case Vorlagenausgang::Unlesbar:
      throw Befehlsfehler(MeldungVorlageUnlesbar(m.vorlage));
    case Vorlagenausgang::ZuGross:
      throw Befehlsfehler(MeldungVorlageZuGross(m.vorlage));
  }
  // The albums first: their photos are among what no output may replace.
  AlbenDesAufrufsWaehlen(*auftrag, m.alben, umgebung);
  AusgabePruefen(*auftrag, m.ausgabe);
  if (m.liste) ListePruefen(*auftrag, *m.liste, m.ausgabe);
  AuftragVorbereiten(*auftrag, m, umgebung.benutzer);

  // The mosaic goes into its file while it is composed.
  const SpeicherOptionen speicherOptionen = SpeicherOptionenBilden(m);
  const std::optional<Webseitenoptionen> seite = WebseiteBilden(m);
  std::optional<Seitenwahl> seiten;
  if (AusgabeFormat(m.ausgabe) == Ausgabeformat::Seiten) seiten = SeitenwahlVon(m);
  AusgabeVorPruefen(*auftrag, speicherOptionen, seite, seiten);
  LaufOptionen laufOptionen;
  laufOptionen.ziel.blendwert = Blendwert(m);
  if (seite) {
    laufOptionen.ziel.webseite = seite;
    laufOptionen.ziel.mitNamen = !m.ohneNamen;
  } else {
    laufOptionen.ziel.datei = speicherOptionen;
    laufOptionen.ziel.seiten = seiten;
  }

  std::optional<AbbruchSignal> signal;
  if (signaleAbfangen) signal.emplace(auftrag->Abbruch);

  Berechnungslauf lauf(*auftrag, umgebung.benutzer, auftrag->alben.Albenliste,
                       std::move(laufOptionen));
  Laufausgang ausgang = Laufausgang::Abgelehnt;
  try {
    ausgang = lauf.Starten();
  } catch (const WriteError& fehler) {
    throw Befehlsfehler(_(kSpeicherFehler.data()) + std::string(fehler.what()));
  }
  umgebung.benutzer.ZeileAbschliessen();
  switch (ausgang) {
    case Laufausgang::Fertig:
      break;
    case Laufausgang::Abgebrochen:
    case Laufausgang::AbbruchAngefordert:
      umgebung.fehler << _("Abgebrochen; es wurde nichts gespeichert.") << '\n';
      return kExitAbbruch;
    case Laufausgang::Abgelehnt:
    case Laufausgang::ZuKlein:
    case Laufausgang::Unlesbar:
      throw Befehlsfehler("");  // the warning or information said why
  }
  // A Ctrl+C after the last phase still means: write nothing more (the mosaic is written
  // already; the list is not).
  if (signaleAbfangen && AbbruchSignal::Empfangen()) {
    umgebung.fehler << _("Abgebrochen; es wurde nichts gespeichert.") << '\n';
    return kExitAbbruch;
  }

  signal.reset();
  if (m.liste) {
    try {
      PlatzierungslisteSchreiben(*auftrag, *m.liste);
    } catch (const WriteError& fehler) {
      throw Befehlsfehler(_("Die Liste der Fotos konnte nicht geschrieben werden: ") +
                          std::string(fehler.what()));
    }
  }

  const Laufbericht bericht = LaufberichtErstellen(*auftrag);
  if (m.bericht) BerichtSchreiben(bericht, umgebung.aus);
  // Black cells where photos were meant: the file is there, but it is not the mosaic
  // asked for, and a script must not take it for one.
  if (auftrag->OhneErsatzKacheln > 0) {
    if (m.liste) umgebung.aus << _("Liste der Fotos: ") << *m.liste << '\n';
    throw Befehlsfehler(MeldungUnvollstaendig(m.ausgabe, auftrag->OhneErsatzKacheln));
  }
  if (seiten) {
    const Mosaikplan& plan = auftrag->Ergebnis->Plan();
    const Seitenraster raster =
        SeitenrasterBerechnen(bericht.mosaik.width, bericht.mosaik.height, plan.Druckaufloesung(),
                              plan.DruckaufloesungY(), *seiten);
    umgebung.aus << Format(NG_("Mosaik gespeichert: {} ({} x {} Pixel auf {} Seite, {} x {})",
                               "Mosaik gespeichert: {} ({} x {} Pixel auf {} Seiten, {} x {})",
                               static_cast<uint64_t>(raster.Blaetter())),
                           m.ausgabe, bericht.mosaik.width, bericht.mosaik.height,
                           raster.Blaetter(), raster.spalten, raster.zeilen)
                 << '\n';
  } else {
    umgebung.aus << Format(_("Mosaik gespeichert: {} ({} x {} Pixel)"), m.ausgabe,
                           bericht.mosaik.width, bericht.mosaik.height)
                 << '\n';
  }
  if (m.liste) umgebung.aus << _("Liste der Fotos: ") << *m.liste << '\n';
  return kExitErfolg;
}

}  // namespace tilvendo::cli
