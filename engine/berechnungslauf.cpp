#include "engine/berechnungslauf.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <utility>

#include "engine/arbeitsgruppe.h"
#include "engine/bilder_einlesen.h"
#include "engine/methodenparameter.h"
#include "engine/mosaik_berechnen.h"
#include "engine/veraltete_caches.h"
#include "engine/vorbereitung.h"
#include "engine/vorlage_vorbereiten.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

constexpr uint8_t kStandardMethode = 0;

}  // namespace

std::string SchwarzeKachelnWarnung(int32_t schwarzeKacheln, int32_t kacheln) {
  return Format(
      NG_("{} von {} Kacheln ist schwarz geblieben, weil Bilder fehlen oder nicht gelesen "
          "werden können. Vermutlich wurden sie seit dem Einlesen verschoben oder "
          "gelöscht. Bitte aktualisieren Sie die verwendeten Alben.",
          "{} von {} Kacheln sind schwarz geblieben, weil Bilder fehlen oder nicht "
          "gelesen werden können. Vermutlich wurden sie seit dem Einlesen verschoben "
          "oder gelöscht. Bitte aktualisieren Sie die verwendeten Alben.",
          static_cast<uint64_t>(schwarzeKacheln)),
      schwarzeKacheln, kacheln);
}

std::string ErsatzfotosHinweis(int32_t ersetzteKacheln) {
  return Format(NG_("{} Kachel zeigt ein Ersatzfoto, weil ihr Foto nicht mehr gelesen werden kann. "
                    "Die betroffenen Alben werden beim nächsten Lauf neu eingelesen.",
                    "{} Kacheln zeigen Ersatzfotos, weil ihre Fotos nicht mehr gelesen werden "
                    "können. Die betroffenen Alben werden beim nächsten Lauf neu eingelesen.",
                    static_cast<uint64_t>(ersetzteKacheln)),
                ersetzteKacheln);
}

std::string AusgelasseneBilderHinweis(int32_t gelesen, int32_t gewaehlt) {
  const int32_t fehlend = gewaehlt - gelesen;
  // The verbs agree with the pictures left out, and then with those left.
  const std::string ausgelassen =
      Format(NG_("{} der {} Bilder der gewählten Alben fehlt oder kann nicht gelesen werden (zum "
                 "Beispiel ein leerer Platzhalter) und bleibt außen vor;",
                 "{} der {} Bilder der gewählten Alben fehlen oder können nicht gelesen werden "
                 "(zum Beispiel leere Platzhalter) und bleiben außen vor;",
                 static_cast<uint64_t>(fehlend)),
             fehlend, gewaehlt);
  const std::string verwendet = gelesen == 1
                                    ? std::string(_("verwendet wird das eine lesbare."))
                                    : Format(_("verwendet werden die {} lesbaren."), gelesen);
  return ausgelassen + " " + verwendet;
}

std::string VerwendungsWarnung(const Einstellungen& einstellungen, int32_t bilder) {
  const int64_t zellen = int64_t{einstellungen.KachelnX} * einstellungen.KachelnY;
  return Format(_("Nicht genügend Bilder: Das Mosaik hat {} Kacheln, und jedes Bild darf höchstens "
                  "{}-mal verwendet werden. Dafür sind mindestens {} Bilder nötig, ausgewählt "
                  "sind {}. Fügen Sie weitere Bilder hinzu oder erlauben Sie mehr Verwendungen "
                  "je Bild."),
                zellen, einstellungen.verfahren.MaxVerwendungen,
                BilderFuerVerwendungsgrenze(einstellungen), bilder);
}

std::string AbstandGesenktHinweis(int32_t abstand) {
  return Format(
      _("Der Mindestabstand wurde auf {} verringert; weiter auseinander lassen sich gleiche "
        "Fotos mit den Verwendungsgrenzen nicht legen."),
      abstand);
}

std::string JedesFotoWarnung(const Einstellungen& einstellungen, int32_t bilder) {
  const int64_t zellen = int64_t{einstellungen.KachelnX} * einstellungen.KachelnY;
  std::string text = Format(_("Zu viele Bilder für „Jedes Foto mindestens einmal“: Ausgewählt sind "
                              "{} Bilder, das Mosaik hat aber nur {} Kacheln. Damit jedes Foto "
                              "vorkommt, sind mindestens {} Kacheln nötig"),
                            bilder, zellen, bilder);
  const std::optional<Kachelung> vorschlag = KachelungMitZellen(bilder, einstellungen);
  if (vorschlag) {
    return text + Format(_(", zum Beispiel {} x {} Kacheln. Wählen Sie mehr Kacheln oder weniger "
                           "Bilder."),
                         vorschlag->x, vorschlag->y);
  }
  return text + _("; so viele Kacheln sind bei dieser Ergebnisgröße nicht möglich. Wählen Sie "
                  "weniger Bilder oder ein größeres Ergebnis.");
}

// Marks the run in progress for its whole life: begins it with a fresh cancel flag and,
// whatever happens in the run, drops a pending cancel and leaves the driver idle.
class Berechnungslauf::Klammer {
 public:
  explicit Klammer(Berechnungslauf& lauf) : lauf_(lauf) {}
  Klammer(const Klammer&) = delete;
  Klammer& operator=(const Klammer&) = delete;

  // False (and a cancel request made) when a run is already in progress.
  bool Beginnen() {
    const std::lock_guard<std::mutex> sperre(lauf_.zustand_);
    if (lauf_.laeuft_) {
      lauf_.auftrag_.Abbruch = true;
      return false;
    }
    lauf_.auftrag_.Abbruch = false;
    lauf_.laeuft_ = true;
    begonnen_ = true;
    return true;
  }

  ~Klammer() {
    if (!begonnen_) return;
    const std::lock_guard<std::mutex> sperre(lauf_.zustand_);
    lauf_.auftrag_.Abbruch = false;
    lauf_.laeuft_ = false;
  }

 private:
  Berechnungslauf& lauf_;
  bool begonnen_ = false;
};

// The result of the last run that completed, held aside while a new run builds its own
// in the job. Unless the new run completes (Aufgeben), it is put back as it was, whatever
// ended the run; what the new run made is dropped then. Whether it was saved is left
// alone: only a run that completes marks its own mosaic as not saved. The plan goes with
// the mosaic: the grid and file list the new run rebuilds at once cannot stand for it.
class Berechnungslauf::Vorergebnis {
 public:
  explicit Vorergebnis(Auftrag& auftrag)
      : auftrag_(auftrag),
        ergebnis_(std::move(auftrag.Ergebnis)),
        laufzeiten_(auftrag.Laufzeiten),
        fertig_(auftrag.ErgebnisFertig) {}
  Vorergebnis(const Vorergebnis&) = delete;
  Vorergebnis& operator=(const Vorergebnis&) = delete;

  // The new run completed: the earlier result is dropped at once, so the two mosaics are
  // held together no longer than needed.
  void Aufgeben() {
    aufgegeben_ = true;
    ergebnis_.reset();
  }

  ~Vorergebnis() {
    if (aufgegeben_) return;
    auftrag_.Ergebnis = std::move(ergebnis_);
    auftrag_.Laufzeiten = laufzeiten_;
    auftrag_.ErgebnisFertig = fertig_;
  }

 private:
  Auftrag& auftrag_;
  std::unique_ptr<Mosaikergebnis> ergebnis_;
  std::array<double, kLaufzeitenAnzahl> laufzeiten_;
  bool fertig_;
  bool aufgegeben_ = false;
};

Berechnungslauf::Berechnungslauf(Auftrag& auftrag, Benutzer& benutzer,
                                 std::vector<TGalerieGlobal>& albenliste, LaufOptionen optionen)
    : auftrag_(auftrag),
      benutzer_(benutzer),
      albenliste_(albenliste),
      optionen_(std::move(optionen)) {}

Berechnungslauf::Berechnungslauf(Auftrag& auftrag, Benutzer& benutzer, LaufOptionen optionen)
    : Berechnungslauf(auftrag, benutzer, auftrag.alben.Albenliste, std::move(optionen)) {}

bool Berechnungslauf::Vorpruefungen() {
  const Einstellungen& e = auftrag_.einstellungen;
  if (benutzer_.Farbtiefe() < kMindestFarbtiefe) {
    benutzer_.Warnung(_(kFarbtiefeWarnung.data()));
    return false;
  }
  if (e.ZielBreite < static_cast<int32_t>(e.KachelnX) ||
      e.ZielHoehe < static_cast<int32_t>(e.KachelnY)) {
    benutzer_.Warnung(_(kPlatzWarnung.data()));
    return false;
  }
  const int32_t bilder = auftrag_.BilderAnzahl.gesamt;
  if (BenoetigteBilder(e) > bilder) {
    benutzer_.Warnung(_(kBilderWarnung.data()));
    return false;
  }
  // The same bounds the pages show as the pictures needed.
  const Bilderbedarf bedarf = BilderbedarfErmitteln(e);
  // With a usage cap the cells must fit into the uses the chosen pictures allow.
  if (bedarf.mindestens > bilder) {
    benutzer_.Warnung(VerwendungsWarnung(e, bilder));
    return false;
  }
  // Every photo at least once: no more photos than cells.
  if (bedarf.hoechstens != kKeineObergrenze && bilder > bedarf.hoechstens) {
    benutzer_.Warnung(JedesFotoWarnung(e, bilder));
    return false;
  }
  if (e.Grossformat) {
    if (const std::optional<std::string> warnung = GrossformatWarnung(e)) {
      benutzer_.Warnung(*warnung);
      return false;
    }
  }
  return true;
}

void Berechnungslauf::Abbrechen() {
  const std::lock_guard<std::mutex> sperre(zustand_);
  if (laeuft_) auftrag_.Abbruch = true;
}

bool Berechnungslauf::Laeuft() const {
  const std::lock_guard<std::mutex> sperre(zustand_);
  return laeuft_;
}

Laufausgang Berechnungslauf::Starten() {
  Klammer klammer(*this);
  if (!klammer.Beginnen()) return Laufausgang::AbbruchAngefordert;
  if (!Vorpruefungen()) return Laufausgang::Abgelehnt;

  Einstellungen& e = auftrag_.einstellungen;
  // The overview derives the method parameters before every start; a job that never
  // went through it would otherwise search with negative counts and place nothing.
  if (e.Kandidatenzahl < 0 || e.Helligkeitsfenster < 0) {
    SetzeBerechnungsart(e, auftrag_.BilderAnzahl.gesamt, kStandardMethode);
  }
  // Phases that do not run (after a cancel) must not show the times of an earlier run.
  auftrag_.PhasenZeiten = {};
  auftrag_.FehlendeBilder = 0;
  auftrag_.UnlesbareBilder = 0;
  auftrag_.SchwarzeKacheln = 0;
  auftrag_.ErsetzteKacheln = 0;
  auftrag_.OhneErsatzKacheln = 0;
  auftrag_.UnlesbareDateien.clear();
  auftrag_.ErneutGeleseneBilder = 0;
  auftrag_.zuordnung = {};
  e.Raster.reset();
  e.Raster = std::make_unique<Zellenraster>(e.KachelnX, e.KachelnY);

  Vorergebnis vorher(auftrag_);
  // The display box is known before the phases: the mosaic gets its screen copy while it
  // is composed.
  const Size bildschirm = benutzer_.Bildschirmgroesse();
  auftrag_.RahmenBreite = kRahmenBreite;
  auftrag_.RahmenHoehe = kRahmenHoehe;
  auftrag_.AnzeigeMaxBreite = bildschirm.width - kRahmenBreite - kBildschirmRandBreite;
  auftrag_.AnzeigeMaxHoehe = bildschirm.height - kRahmenHoehe - kBildschirmRandHoehe;

  Fortschritt fortschritt(auftrag_, benutzer_);
  const bool zuWenigLesbar = !PhasenAusfuehren(fortschritt);
  fortschritt.PhaseAnzeigen(kPhaseFertigstellen);
  const Laufausgang ausgang = Abschliessen(zuWenigLesbar);
  if (ausgang == Laufausgang::Fertig) vorher.Aufgeben();
  return ausgang;
}

bool Berechnungslauf::GelesenePruefen() {
  const int32_t gewaehlt = auftrag_.BilderAnzahl.gesamt;
  if (static_cast<int64_t>(auftrag_.Dateiliste.size()) >= gewaehlt) return true;
  const auto gelesen = static_cast<int32_t>(auftrag_.Dateiliste.size());
  benutzer_.Hinweis(AusgelasseneBilderHinweis(gelesen, gewaehlt));
  // As if the albums held only the pictures read: the distance the chosen count allowed
  // may be too far for them, as it would have been lowered for an album of that size.
  Einstellungen& e = auftrag_.einstellungen;
  Bildzahlen lesbar;
  lesbar.gesamt = gelesen;
  const uint16_t bisher = e.minAbstand;
  e.minAbstand = static_cast<uint16_t>(std::min<int32_t>(bisher, AbstandsGrenze(lesbar, e)));
  if (BenoetigteBilder(e) > gelesen) {
    e.minAbstand = bisher;
    benutzer_.Warnung(_(kBilderWarnung.data()));
    return false;
  }
  if (BilderbedarfErmitteln(e).mindestens > gelesen) {
    e.minAbstand = bisher;
    benutzer_.Warnung(VerwendungsWarnung(e, gelesen));
    return false;
  }
  if (e.minAbstand < bisher) {
    benutzer_.Hinweis(Format(
        _("Der Mindestabstand wurde für die lesbaren Bilder auf {} verringert."), e.minAbstand));
  }
  SetzeBerechnungsart(e, gelesen, e.Berechnungsart);
  return true;
}

bool Berechnungslauf::PhasenAusfuehren(Fortschritt& fortschritt) {
  Arbeitsgruppe gruppe(optionen_.threads);
  bool zuWenig = false;
  fortschritt.PhaseAnzeigen(kPhaseEinlesen);
  if (!auftrag_.Abbruch) {
    if (optionen_.einlesen) {
      optionen_.einlesen(auftrag_, fortschritt);
    } else {
      BilderEinlesen(auftrag_, albenliste_, fortschritt, benutzer_,
                     EinleseOptionen{optionen_.threads});
    }
    zuWenig = !auftrag_.Abbruch && !GelesenePruefen();
  }
  // The phases left out are announced all the same, as after a cancel.
  fortschritt.PhaseAnzeigen(kPhaseVorbereiten);
  if (!auftrag_.Abbruch && !zuWenig) VorlageVorbereiten(auftrag_, fortschritt);
  fortschritt.PhaseAnzeigen(kPhaseBerechnen);
  if (auftrag_.Abbruch || zuWenig) return !zuWenig;
  MosaikBerechnen(auftrag_, fortschritt, gruppe, optionen_.ziel, optionen_.threads);
  // The usage limits made the distance give way: the settings hold what the mosaic keeps,
  // and the user learns it, as when too few pictures could be read.
  const int32_t gesenkt = auftrag_.zuordnung.abstandGesenkt;
  if (gesenkt > 0 && !auftrag_.Abbruch) {
    Einstellungen& e = auftrag_.einstellungen;
    e.minAbstand = static_cast<uint16_t>(std::max(0, int32_t{e.minAbstand} - gesenkt));
    benutzer_.Hinweis(AbstandGesenktHinweis(e.minAbstand));
  }
  return true;
}

Laufausgang Berechnungslauf::Abschliessen(bool zuWenigLesbar) {
  // The finishing step is not timed: the total is the sum of the four phases.
  double gesamt = 0.0;
  for (size_t i = 0; i < kPhasen; ++i) {
    const Zeitspanne& spanne = auftrag_.PhasenZeiten.spannen[i];
    auftrag_.Laufzeiten[i] = spanne.ende - spanne.beginn;
    gesamt += auftrag_.Laufzeiten[i];
  }
  auftrag_.Laufzeiten[kPhasen] = gesamt;
  if (zuWenigLesbar && !auftrag_.Abbruch) {
    // No mosaic was made, as after a refusal before the run; the warning said why, and
    // the earlier result comes back (Vorergebnis).
    return Laufausgang::Unlesbar;
  }
  auftrag_.ErgebnisFertig = !auftrag_.Abbruch && auftrag_.Ergebnis != nullptr;
  // Photos the caches still list but that could not be read: the next run reads their
  // albums again instead of placing them once more.
  std::vector<std::string> cachemeldungen =
      VeralteteCachesMarkieren(auftrag_, albenliste_, auftrag_.UnlesbareDateien, benutzer_);
  for (const std::string& meldung : cachemeldungen) benutzer_.Warnung(meldung);

  // A mosaic cut off while it was matched or composed is neither shown nor saved: the
  // earlier result comes back (Vorergebnis).
  if (auftrag_.Abbruch) return Laufausgang::Abgebrochen;
  // Pictures that went missing since their album was read leave cells black. A mosaic
  // that is black all over must not pass for a result to be saved; one black in parts
  // is kept, with a word on why.
  if (auftrag_.FehlendeBilder + auftrag_.UnlesbareBilder > 0 && auftrag_.SchwarzeKacheln > 0) {
    const int32_t kacheln =
        int32_t{auftrag_.einstellungen.KachelnX} * auftrag_.einstellungen.KachelnY;
    if (auftrag_.SchwarzeKacheln >= kacheln) {
      benutzer_.Warnung(_(kUnlesbarWarnung.data()));
      return Laufausgang::Unlesbar;
    }
    benutzer_.Warnung(SchwarzeKachelnWarnung(auftrag_.SchwarzeKacheln, kacheln));
  }
  if (auftrag_.ErsetzteKacheln > 0) benutzer_.Hinweis(ErsatzfotosHinweis(auftrag_.ErsetzteKacheln));
  if (auftrag_.ErgebnisFertig) {
    auftrag_.analyse.ErgebnisGespeichert = 0;
    auftrag_.AktSeite = kSeiteErgebnis;
    return Laufausgang::Fertig;
  }
  // Nothing was made that could be saved; the end-of-program question that follows asks
  // about the earlier result, if that one is unsaved.
  benutzer_.Information(_(kZuKleinInformation.data()));
  auftrag_.ProgrammEnde = true;
  return Laufausgang::ZuKlein;
}

}  // namespace tilvendo
