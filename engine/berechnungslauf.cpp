#include "engine/berechnungslauf.h"

#include <memory>
#include <optional>

#include "engine/arbeitsgruppe.h"
#include "engine/bilder_einlesen.h"
#include "engine/methodenparameter.h"
#include "engine/mosaik_berechnen.h"
#include "engine/vorbereitung.h"
#include "engine/vorlage_vorbereiten.h"
#include "engine/zusammenstellen.h"

namespace tilvendo {
namespace {

constexpr int kPhasen = 4;
constexpr int kEndeVersatz = 5;  // PhasenZeiten holds the end of phase i at i + 5
constexpr uint8_t kStandardMethode = 0;

}  // namespace

std::string SchwarzeKachelnWarnung(int32_t schwarzeKacheln, int32_t kacheln) {
  return std::to_string(schwarzeKacheln) + " von " + std::to_string(kacheln) +
         (schwarzeKacheln == 1 ? " Kacheln ist" : " Kacheln sind") +
         " schwarz geblieben, weil Bilder fehlen oder nicht gelesen werden können. "
         "Vermutlich wurden sie seit dem Einlesen verschoben oder gelöscht. Bitte "
         "aktualisieren Sie die verwendeten Alben.";
}

std::string VerwendungsWarnung(const Einstellungen& einstellungen, int32_t bilder) {
  const int64_t zellen = int64_t{einstellungen.KachelnX} * einstellungen.KachelnY;
  return "Nicht genügend Bilder: Das Mosaik hat " + std::to_string(zellen) +
         " Kacheln, und jedes Bild darf höchstens " +
         std::to_string(einstellungen.verfahren.MaxVerwendungen) +
         "-mal verwendet werden. Dafür sind mindestens " +
         std::to_string(BilderFuerVerwendungsgrenze(einstellungen)) +
         " Bilder nötig, ausgewählt sind " + std::to_string(bilder) +
         ". Fügen Sie weitere Bilder hinzu oder erlauben Sie mehr Verwendungen je Bild.";
}

std::string JedesFotoWarnung(const Einstellungen& einstellungen, const Vorlage& vorlage,
                             int32_t bilder) {
  const int64_t zellen = int64_t{einstellungen.KachelnX} * einstellungen.KachelnY;
  std::string text = "Zu viele Bilder für „Jedes Foto mindestens einmal“: Ausgewählt sind " +
                     std::to_string(bilder) + " Bilder, das Mosaik hat aber nur " +
                     std::to_string(zellen) + " Kacheln. Damit jedes Foto vorkommt, sind " +
                     "mindestens " + std::to_string(bilder) + " Kacheln nötig";
  const std::optional<Kachelung> vorschlag = KachelungMitZellen(bilder, einstellungen, vorlage);
  if (vorschlag) {
    return text + ", zum Beispiel " + std::to_string(vorschlag->x) + " x " +
           std::to_string(vorschlag->y) + " Kacheln. Wählen Sie mehr Kacheln oder weniger " +
           "Bilder.";
  }
  return text + "; so viele Kacheln sind bei dieser Ergebnisgröße nicht möglich. Wählen Sie " +
         "weniger Bilder oder ein größeres Ergebnis.";
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
    benutzer_.Warnung(kFarbtiefeWarnung);
    return false;
  }
  if (e.ZielBreite < static_cast<int32_t>(e.KachelnX) ||
      e.ZielHoehe < static_cast<int32_t>(e.KachelnY)) {
    benutzer_.Warnung(kPlatzWarnung);
    return false;
  }
  const int32_t bilder = auftrag_.BilderAnzahl.gesamt;
  if (BenoetigteBilder(e) > bilder) {
    benutzer_.Warnung(kBilderWarnung);
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
    benutzer_.Warnung(JedesFotoWarnung(e, auftrag_.vorlage, bilder));
    return false;
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
  auftrag_.PhasenZeiten.fill(0.0);
  auftrag_.FehlendeBilder = 0;
  auftrag_.UnlesbareBilder = 0;
  auftrag_.SchwarzeKacheln = 0;
  auftrag_.zuordnung = {};
  e.Raster.reset();
  e.Raster = std::make_unique<Zellenraster>(e.KachelnX, e.KachelnY);

  Fortschritt fortschritt(auftrag_, benutzer_);
  const bool mosaikErsetzt = PhasenAusfuehren(fortschritt);

  const Size bildschirm = benutzer_.Bildschirmgroesse();
  auftrag_.RahmenBreite = kRahmenBreite;
  auftrag_.RahmenHoehe = kRahmenHoehe;
  auftrag_.AnzeigeMaxBreite = bildschirm.width - kRahmenBreite - kBildschirmRandBreite;
  auftrag_.AnzeigeMaxHoehe = bildschirm.height - kRahmenHoehe - kBildschirmRandHoehe;
  fortschritt.PhaseAnzeigen(kPhaseFertigstellen);
  return Abschliessen(mosaikErsetzt);
}

bool Berechnungslauf::PhasenAusfuehren(Fortschritt& fortschritt) {
  Arbeitsgruppe gruppe(optionen_.threads);
  fortschritt.PhaseAnzeigen(kPhaseEinlesen);
  if (!auftrag_.Abbruch) {
    if (optionen_.einlesen) {
      optionen_.einlesen(auftrag_, fortschritt);
    } else {
      BilderEinlesen(auftrag_, albenliste_, fortschritt, benutzer_,
                     EinleseOptionen{optionen_.threads});
    }
  }
  fortschritt.PhaseAnzeigen(kPhaseVorbereiten);
  if (!auftrag_.Abbruch) VorlageVorbereiten(auftrag_, fortschritt);
  fortschritt.PhaseAnzeigen(kPhaseBerechnen);
  if (auftrag_.Abbruch) return false;
  MosaikBerechnen(auftrag_, fortschritt, gruppe);
  return true;
}

void Berechnungslauf::MosaikVerwerfen() {
  auftrag_.MosaikBild.reset();
  auftrag_.AnzeigeBild = Bitmap();
  auftrag_.ErgebnisFertig = false;
  auftrag_.analyse.ErgebnisGespeichert = 1;
}

Laufausgang Berechnungslauf::Abschliessen(bool mosaikErsetzt) {
  // The finishing step is not timed: the total is the sum of the four phases.
  double gesamt = 0.0;
  for (int i = 0; i < kPhasen; ++i) {
    auftrag_.Laufzeiten[static_cast<size_t>(i)] =
        auftrag_.PhasenZeiten[static_cast<size_t>(i + kEndeVersatz)] -
        auftrag_.PhasenZeiten[static_cast<size_t>(i)];
    gesamt += auftrag_.Laufzeiten[static_cast<size_t>(i)];
  }
  auftrag_.Laufzeiten[kPhasen] = gesamt;
  if (!auftrag_.Abbruch) MosaikFertigstellen(auftrag_);

  if (auftrag_.Abbruch) {
    auftrag_.Laufzeiten.fill(0.0);
    // A mosaic cut off while it was matched or composed must be neither shown nor saved;
    // the earlier one was already given up when the matching began.
    if (mosaikErsetzt) MosaikVerwerfen();
    return Laufausgang::Abgebrochen;
  }
  // Pictures that went missing since their album was read leave cells black. A mosaic
  // that is black all over must not pass for a result to be saved; one black in parts
  // is kept, with a word on why.
  if (auftrag_.FehlendeBilder + auftrag_.UnlesbareBilder > 0 && auftrag_.SchwarzeKacheln > 0) {
    const int32_t kacheln =
        int32_t{auftrag_.einstellungen.KachelnX} * auftrag_.einstellungen.KachelnY;
    if (auftrag_.SchwarzeKacheln >= kacheln) {
      MosaikVerwerfen();
      benutzer_.Warnung(kUnlesbarWarnung);
      return Laufausgang::Unlesbar;
    }
    benutzer_.Warnung(SchwarzeKachelnWarnung(auftrag_.SchwarzeKacheln, kacheln));
  }
  if (auftrag_.ErgebnisFertig) {
    auftrag_.analyse.ErgebnisGespeichert = 0;
    auftrag_.AktSeite = kSeiteErgebnis;
    return Laufausgang::Fertig;
  }
  // Nothing was made that could be saved, so there is no unsaved result to ask about;
  // an earlier one was given up when the matching began.
  if (mosaikErsetzt) auftrag_.analyse.ErgebnisGespeichert = 1;
  benutzer_.Information(kZuKleinInformation);
  auftrag_.ProgrammEnde = true;
  return Laufausgang::ZuKlein;
}

}  // namespace tilvendo
