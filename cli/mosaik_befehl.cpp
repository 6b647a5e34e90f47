#include "cli/mosaik_befehl.h"

#include <cstdio>
#include <memory>
#include <ostream>

#include "cli/abbruch_signal.h"
#include "cli/album_befehle.h"
#include "engine/auftrag.h"
#include "engine/berechnungslauf.h"
#include "engine/fortschritt.h"
#include "engine/sitzung.h"
#include "engine/vorbereitung.h"
#include "pictures/blending.h"
#include "pictures/speichern.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "platform/paths.h"

namespace tilvendo::cli {
namespace {

// A long run must not end in a file that cannot be written: tried before it starts,
// with a temporary file that is removed again at once.
void AusgabePruefen(const Auftrag& auftrag, const std::string& ausgabe) {
  if (IstVorlage(auftrag, ausgabe)) throw Befehlsfehler(MeldungZielIstVorlage(ausgabe));
  if (FolderExists(ausgabe)) {
    throw Befehlsfehler("„" + ausgabe + "“ ist ein Ordner; bitte geben Sie einen Dateinamen an.");
  }
  try {
    AtomicFile probe(ausgabe);
  } catch (const WriteError&) {
    throw Befehlsfehler("In den Ordner von „" + ausgabe +
                        "“ kann nicht geschrieben werden (gibt es ihn, und darf man dort "
                        "schreiben?).");
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
  if (m.zoom && nachgaben.zoom) {
    benutzer.Hinweis("Der Zoom wurde auf " + std::to_string(e.ZoomX) +
                     " % begrenzt, damit das Ergebnis höchstens " +
                     std::to_string(kMaxZielgroesse) + " Pixel breit und hoch wird.");
  }
  if (m.kacheln && nachgaben.kacheln) {
    benutzer.Hinweis("Die Kachelung wurde auf " + std::to_string(e.KachelnX) + " x " +
                     std::to_string(e.KachelnY) +
                     " verringert, damit jede Kachel mindestens 4 Pixel breit bleibt.");
  }
  if (nachgaben.minAbstand) {
    benutzer.Hinweis("Der Mindestabstand wurde auf " + std::to_string(e.minAbstand) +
                     " verringert; mehr erlauben Kachelung und Bilderzahl nicht.");
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

SpeicherOptionen SpeicherOptionenBilden(const MosaikOptionen& m) {
  SpeicherOptionen optionen;
  // The name is taken as given: its extension already names the format.
  optionen.Pfad = FolderOf(m.ausgabe);
  optionen.Datei = FileNameOf(m.ausgabe);
  optionen.Format = AusgabeFormat(m.ausgabe) == Ausgabeformat::Jpeg ? kFormatJpeg : kFormatBmp;
  optionen.Qualitaet = static_cast<uint8_t>(m.qualitaet.value_or(kStandardQualitaet));
  optionen.Farbtiefe = FarbtiefeCode(m.farbtiefe.value_or(kFarbtiefeStandard));
  return optionen;
}

// As the overview shows durations, with the exact seconds behind for measurements.
std::string Dauer(double tage) {
  const MinutenSekunden teile = DauerZerlegen(tage);
  char genau[32];
  std::snprintf(genau, sizeof(genau), " (%.3f s)", tage * kSecondsPerDay);
  return teile.minuten + " min. und " + teile.sekunden + " sek." + genau;
}

void BerichtSchreiben(const Laufbericht& b, std::ostream& aus) {
  static constexpr std::array<const char*, kLaufzeitenAnzahl> kPhasen = {
      "Einlesen der Bilddateien: ", "Vorbereiten der Vorlage: ", "Berechnen des Mosaiks: ",
      "Zusammenstellen des Mosaiks: ", "Gesamtdauer: "};
  aus << "Informationen zur letzten Berechnung:\n";
  for (size_t i = 0; i < kPhasen.size(); ++i) {
    aus << "  " << kPhasen[i] << Dauer(b.Laufzeiten[i]) << '\n';
  }
  aus << "  Vorlagengröße: " << b.vorlage.width << " x " << b.vorlage.height << " Pixel\n"
      << "  absolute Größe: " << b.ziel.width << " x " << b.ziel.height << " Pixel\n"
      << "  " << b.kachelnX << " x " << b.kachelnY << " Kacheln, " << b.kacheln << " insgesamt, je "
      << b.kachel.width << " x " << b.kachel.height << " Pixel\n"
      << "  Anzahl an Bildern insgesamt: " << b.bilder << '\n'
      << "  verschiedene Bilder im Mosaik: " << b.verschiedeneBilder << '\n';
  if (b.schwarzeKacheln > 0) {
    aus << "  schwarz gebliebene Kacheln (Bilder nicht lesbar): " << b.schwarzeKacheln << '\n';
  }
  const Zuordnungsbericht& z = b.zuordnung;
  if (z.gerechnet) {
    aus << "  Zuordnung mit Verwendungsgrenzen: " << z.runden << " Flussrunden\n"
        << "  Summe der Signaturabstände: " << z.summe << " (Fluss " << z.summeFluss
        << (z.alleFotos ? ", Optimum mindestens " : ", Optimum über die nahen Fotos mindestens ")
        << z.untereSchranke << ")\n"
        << "  Tausche für den Mindestabstand: " << z.tausche << '\n';
    if (z.offen > 0) {
      aus << "  Kacheln, deren Foto zu nah wiederkehrt (kein Tausch möglich): " << z.offen << '\n';
    }
  }
}

}  // namespace

std::string MeldungVorlageFehlt(const std::string& pfad) {
  return "Die Vorlage „" + pfad + "“ gibt es nicht.";
}

std::string MeldungVorlageUnlesbar(const std::string& pfad) {
  return "Die Vorlage „" + pfad + "“ kann nicht gelesen werden; sie muss ein Bild im " +
         "Format BMP, JPEG, PNG, WebP, TIFF oder HEIF sein.";
}

int MosaikErstellen(const MosaikOptionen& m, const std::optional<std::string>& albenPfad,
                    Umgebung& umgebung, bool signaleAbfangen) {
  auto auftrag = std::make_unique<Auftrag>();
  Programmstart(*auftrag, Startoptionen{{}, m.seed, albenPfad});
  StandardwerteSetzen(*auftrag);
  auftrag->Protokoll = m.protokoll;

  switch (VorlageLaden(*auftrag, m.vorlage)) {
    case Vorlagenausgang::Geladen:
      break;
    case Vorlagenausgang::Fehlt:
      throw Befehlsfehler(MeldungVorlageFehlt(m.vorlage));
    case Vorlagenausgang::Unlesbar:
      throw Befehlsfehler(MeldungVorlageUnlesbar(m.vorlage));
    case Vorlagenausgang::ZuGross:
      throw Befehlsfehler(MeldungVorlageZuGross(m.vorlage));
  }
  AusgabePruefen(*auftrag, m.ausgabe);
  AlbenDesAufrufsWaehlen(*auftrag, m.alben, umgebung);
  AuftragVorbereiten(*auftrag, m, umgebung.benutzer);

  std::optional<AbbruchSignal> signal;
  if (signaleAbfangen) signal.emplace(auftrag->Abbruch);

  Berechnungslauf lauf(*auftrag, umgebung.benutzer, auftrag->alben.Albenliste);
  const Laufausgang ausgang = lauf.Starten();
  umgebung.benutzer.ZeileAbschliessen();
  switch (ausgang) {
    case Laufausgang::Fertig:
      break;
    case Laufausgang::Abgebrochen:
    case Laufausgang::AbbruchAngefordert:
      umgebung.fehler << "Abgebrochen; es wurde nichts gespeichert.\n";
      return kExitAbbruch;
    case Laufausgang::Abgelehnt:
    case Laufausgang::ZuKlein:
    case Laufausgang::Unlesbar:
      throw Befehlsfehler("");  // the warning or information said why
  }
  // A Ctrl+C after the last phase still means: do not write the result.
  if (signaleAbfangen && AbbruchSignal::Empfangen()) {
    umgebung.fehler << "Abgebrochen; es wurde nichts gespeichert.\n";
    return kExitAbbruch;
  }

  const uint8_t blendwert =
      BlendwertAusRegler((m.vorlagenAnteil - kVorlagenAnteilVoll) / kVorlagenAnteilSchritt);
  try {
    if (!ErgebnisSpeichern(*auftrag, blendwert, SpeicherOptionenBilden(m))) {
      throw Befehlsfehler("Das Mosaik konnte nicht gespeichert werden.");
    }
  } catch (const WriteError& fehler) {
    throw Befehlsfehler(std::string(kSpeicherFehler) + fehler.what());
  }
  signal.reset();

  const Laufbericht bericht = LaufberichtErstellen(*auftrag);
  if (m.bericht) BerichtSchreiben(bericht, umgebung.aus);
  umgebung.aus << "Mosaik gespeichert: " << m.ausgabe << " (" << bericht.mosaik.width << " x "
               << bericht.mosaik.height << " Pixel)\n";
  return kExitErfolg;
}

}  // namespace tilvendo::cli
