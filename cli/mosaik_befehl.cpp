#include "cli/mosaik_befehl.h"

#include <cstdio>
#include <memory>
#include <ostream>
#include <set>

#include "albums/alben_zustand.h"
#include "cli/abbruch_signal.h"
#include "cli/album_befehle.h"
#include "engine/auftrag.h"
#include "engine/berechnungslauf.h"
#include "engine/fortschritt.h"
#include "engine/vorbereitung.h"
#include "pictures/bilder_laden.h"
#include "pictures/blending.h"
#include "pictures/speichern.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/stretch_copy.h"

namespace tilvendo::cli {
namespace {

constexpr int32_t kZoomStandard = 100;  // the size page's start value

void VorlageLaden(Auftrag& auftrag, const std::string& pfad) {
  if (!FileExists(pfad)) throw Befehlsfehler(MeldungVorlageFehlt(pfad));
  Bitmap gelesen;
  if (!LoadWholePicture(gelesen, pfad) || gelesen.empty()) {
    throw Befehlsfehler(MeldungVorlageUnlesbar(pfad));
  }
  // Every working picture is held in the one working format. The copy covers every
  // pixel, so the new picture need not be cleared first.
  Bitmap vorlage = Bitmap::Uninitialized(gelesen.width(), gelesen.height(), kPixelformat);
  StretchCopy(gelesen, vorlage, Rect{0, 0, gelesen.width(), gelesen.height()});
  auftrag.VorlageBild = std::move(vorlage);
  auftrag.vorlage.VorlagePfad = FolderOf(pfad);
  auftrag.vorlage.VorlageDatei = FileNameOf(pfad);
  auftrag.vorlage.VorlageBreite = auftrag.VorlageBild.width();
  auftrag.vorlage.VorlageHoehe = auftrag.VorlageBild.height();
}

// A long run must not end in a file that cannot be written: tried before it starts,
// with a temporary file that is removed again at once.
void AusgabeOrdnerPruefen(const std::string& ausgabe) {
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

void AlbenWaehlen(Auftrag& auftrag, const std::vector<std::string>& alben, Umgebung& umgebung) {
  AlbenZustand& zustand = auftrag.alben;
  const AlbenKontext kontext{auftrag.AlbenPfad};
  for (const std::string& name : alben) {
    if (!AlbumVorhanden(kontext, name)) throw Befehlsfehler(MeldungUnbekanntesAlbum(name));
    // Refused with the insert-medium warning when a removable medium is missing.
    if (zustand.AlbumWaehlen(name, kontext, umgebung.medien, umgebung.benutzer) < 0) {
      throw Befehlsfehler("");
    }
  }
  auftrag.BilderAnzahl = zustand.GewaehlteBilderZaehlen();
}

// The settings of the size, tiling and extended pages, then the overview's consistency
// steps, each with a note where the command line's wish had to give way.
void AuftragVorbereiten(Auftrag& auftrag, const MosaikOptionen& m, TerminalBenutzer& benutzer) {
  Einstellungen& e = auftrag.einstellungen;
  const Vorlage& vorlage = auftrag.vorlage;

  Zielgroessenwerte werte;
  if (m.groesse) {
    werte.festesSV = false;
    werte.SizeX = m.groesse->a;
    werte.SizeY = m.groesse->b;
    ZielgroesseBerechnen(werte, Zielaenderung::Pixel, vorlage, e);
  } else {
    const int32_t zoom = m.zoom.value_or(kZoomStandard);
    werte.ZoomX = werte.ZoomY = zoom;
    ZielgroesseBerechnen(werte, Zielaenderung::Zoom, vorlage, e);
    if (m.zoom && e.ZoomX != zoom) {
      benutzer.Hinweis("Der Zoom wurde auf " + std::to_string(e.ZoomX) +
                       " % begrenzt, damit das Ergebnis höchstens " +
                       std::to_string(kMaxZielgroesse) + " Pixel breit und hoch wird.");
    }
  }

  const Paar kacheln = m.kacheln.value_or(Paar{kKachelnStandard, kKachelnStandard});
  KachelnSetzen(e, vorlage, kacheln.a, kacheln.b);
  if (m.kacheln && (e.KachelnX != kacheln.a || e.KachelnY != kacheln.b)) {
    benutzer.Hinweis("Die Kachelung wurde auf " + std::to_string(e.KachelnX) + " x " +
                     std::to_string(e.KachelnY) +
                     " verringert, damit jede Kachel mindestens 4 Pixel breit bleibt.");
  }
  auftrag.analyse.Formanalyse = m.formanalyse;

  ErweiterteEinstellungenSetzen(e, auftrag.BilderAnzahl, m.methode, m.muster, m.mindestabstand);
  UebersichtAbgleichen(e, vorlage, auftrag.BilderAnzahl);
  if (e.minAbstand != m.mindestabstand) {
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

int32_t VerschiedeneBilder(const Einstellungen& e) {
  std::set<int32_t> bilder;
  if (!e.Raster) return 0;
  for (int x = 1; x <= e.Raster->kachelnX(); ++x) {
    for (int y = 1; y <= e.Raster->kachelnY(); ++y) {
      if (e.Raster->at(x, y).Bild != kKeinBild) bilder.insert(e.Raster->at(x, y).Bild);
    }
  }
  return static_cast<int32_t>(bilder.size());
}

void BerichtSchreiben(const Auftrag& auftrag, std::ostream& aus) {
  const Einstellungen& e = auftrag.einstellungen;
  static constexpr std::array<const char*, kLaufzeitenAnzahl> kPhasen = {
      "Einlesen der Bilddateien: ", "Vorbereiten der Vorlage: ", "Berechnen des Mosaiks: ",
      "Zusammenstellen des Mosaiks: ", "Gesamtdauer: "};
  aus << "Informationen zur letzten Berechnung:\n";
  for (size_t i = 0; i < kPhasen.size(); ++i) {
    aus << "  " << kPhasen[i] << Dauer(auftrag.Laufzeiten[i]) << '\n';
  }
  aus << "  Vorlagengröße: " << auftrag.vorlage.VorlageBreite << " x "
      << auftrag.vorlage.VorlageHoehe << " Pixel\n"
      << "  absolute Größe: " << e.ZielBreite << " x " << e.ZielHoehe << " Pixel\n"
      << "  " << e.KachelnX << " x " << e.KachelnY << " Kacheln, "
      << int32_t{e.KachelnX} * e.KachelnY << " insgesamt, je " << KachelBreite(e) << " x "
      << KachelHoehe(e) << " Pixel\n"
      << "  Anzahl an Bildern insgesamt: " << auftrag.BilderAnzahl.gesamt << '\n'
      << "  verschiedene Bilder im Mosaik: " << VerschiedeneBilder(e) << '\n';
}

}  // namespace

std::string MeldungVorlageFehlt(const std::string& pfad) {
  return "Die Vorlage „" + pfad + "“ gibt es nicht.";
}

std::string MeldungVorlageUnlesbar(const std::string& pfad) {
  return "Die Vorlage „" + pfad + "“ kann nicht gelesen werden; sie muss ein BMP- oder " +
         "JPEG-Bild sein.";
}

int MosaikErstellen(const MosaikOptionen& m, const std::optional<std::string>& albenPfad,
                    Umgebung& umgebung, bool signaleAbfangen) {
  auto auftrag = std::make_unique<Auftrag>();
  Programmstart(*auftrag, Startoptionen{{}, m.seed, albenPfad});
  StandardwerteSetzen(*auftrag);
  auftrag->Protokoll = m.protokoll;

  VorlageLaden(*auftrag, m.vorlage);
  AusgabeOrdnerPruefen(m.ausgabe);
  AlbenWaehlen(*auftrag, m.alben, umgebung);
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
      throw Befehlsfehler("");  // the warning or information said why
  }
  // A Ctrl+C after the last phase still means: do not write the result.
  if (signaleAbfangen && AbbruchSignal::Empfangen()) {
    umgebung.fehler << "Abgebrochen; es wurde nichts gespeichert.\n";
    return kExitAbbruch;
  }

  const uint8_t blendwert =
      BlendwertAusRegler((m.vorlagenAnteil - kVorlagenAnteilVoll) / kVorlagenAnteilSchritt);
  if (!MosaikSpeichern(auftrag->VorlageBild, *auftrag->MosaikBild, blendwert,
                       SpeicherOptionenBilden(m))) {
    throw Befehlsfehler("Das Mosaik konnte nicht gespeichert werden.");
  }
  signal.reset();

  if (m.bericht) BerichtSchreiben(*auftrag, umgebung.aus);
  umgebung.aus << "Mosaik gespeichert: " << m.ausgabe << " (" << auftrag->MosaikBild->width()
               << " x " << auftrag->MosaikBild->height() << " Pixel)\n";
  return kExitErfolg;
}

}  // namespace tilvendo::cli
