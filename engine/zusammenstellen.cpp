#include "engine/zusammenstellen.h"

#include <utility>

#include "engine/ausgabeziel.h"
#include "engine/mosaik_baender.h"
#include "platform/clock.h"

namespace tilvendo {
namespace {

void InDatei(Auftrag& auftrag, Fortschritt& fortschritt, std::shared_ptr<Mosaikplan> plan,
             const Zusammenstellziel& ziel, unsigned threads, Bandbilanz& bilanz) {
  auto ergebnis = std::make_unique<Mosaikergebnis>(std::move(plan), auftrag.Arbeitspfad);
  fortschritt.PhaseAnzeigen(kPhaseZusammenstellen, ergebnis->Groesse().height);
  Speicherbegleitung begleitung;
  begleitung.fortschritt = [&](int32_t fertig, int32_t) {
    fortschritt.FortschrittAnzeigen(fertig);
  };
  begleitung.abbruch = &auftrag.Abbruch;
  begleitung.platz = ziel.platz;
  // The file is looked at again now that it is written: during a long run its name may
  // have come to lead to a photo, the template or a device.
  if (ziel.webseite) {
    MosaikzielSichern(auftrag, ziel.webseite->ziel);
  } else {
    MosaikzielSichern(auftrag, *ziel.datei);
  }
  std::optional<Bandbilanz> gefunden;
  try {
    if (ziel.webseite) {
      ergebnis->WebseiteSpeichern(auftrag.VorlageBild, ziel.blendwert, *ziel.webseite,
                                  ziel.mitNamen, begleitung, threads, gefunden);
      auftrag.Ergebnis = std::move(ergebnis);
    } else if (ziel.seiten) {
      ergebnis->SeitenSpeichern(auftrag.VorlageBild, ziel.blendwert, *ziel.datei, *ziel.seiten,
                                begleitung, threads, gefunden);
      auftrag.Ergebnis = std::move(ergebnis);
    } else if (ergebnis->Speichern(auftrag.VorlageBild, ziel.blendwert, *ziel.datei, begleitung,
                                   threads, gefunden)) {
      auftrag.Ergebnis = std::move(ergebnis);
    }
  } catch (const SchreibenAbgebrochen&) {
    // The cancel flag is set; the run ends as cancelled.
  } catch (const KeinBildLesbar&) {
    // The counts tell the run that no photo could be read.
  }
  if (gefunden) bilanz = *gefunden;
}

void Halten(Auftrag& auftrag, Fortschritt& fortschritt, std::shared_ptr<Mosaikplan> plan,
            unsigned threads, Bandbilanz& bilanz) {
  Zusammenstellbegleitung begleitung;
  int32_t schritte = 0;
  begleitung.beginnen = [&](int32_t maximum) {
    fortschritt.PhaseAnzeigen(kPhaseZusammenstellen, maximum);
  };
  begleitung.weiter = [&](int32_t dazu) { fortschritt.FortschrittAnzeigen(schritte += dazu); };
  begleitung.abbruch = &auftrag.Abbruch;
  begleitung.threads = threads;
  const Size bildschirm{auftrag.AnzeigeMaxBreite, auftrag.AnzeigeMaxHoehe};
  auftrag.Ergebnis = Mosaikergebnis::Zusammenstellen(
      std::move(plan), auftrag.VorlageBild, auftrag.Arbeitspfad, bildschirm, begleitung, bilanz);
}

}  // namespace

void MosaikZusammenstellen(Auftrag& auftrag, Fortschritt& fortschritt,
                           std::shared_ptr<Mosaikplan> plan, const Zusammenstellziel& ziel,
                           unsigned threads) {
  Zeitspanne& zeit = auftrag.PhasenZeiten[Phase::Zusammenstellen];
  zeit.beginn = Jetzt();
  auftrag.Ergebnis.reset();
  Bandbilanz bilanz;
  // The plan itself, to name in it what stood in for unreadable photos once composed.
  const std::shared_ptr<Mosaikplan> eigenerPlan = plan;
  const Size groesse = plan->Mosaik();
  if (auftrag.Abbruch || groesse.width <= 0 || groesse.height <= 0) {
    fortschritt.PhaseAnzeigen(kPhaseZusammenstellen, 0);
  } else if (ziel.datei || ziel.webseite) {
    InDatei(auftrag, fortschritt, std::move(plan), ziel, threads, bilanz);
  } else {
    Halten(auftrag, fortschritt, std::move(plan), threads, bilanz);
  }
  auftrag.UnlesbareBilder = bilanz.unlesbareBilder;
  auftrag.SchwarzeKacheln = bilanz.schwarzeKacheln;
  auftrag.ErneutGeleseneBilder = bilanz.erneutGelesen;
  auftrag.ErsetzteKacheln = static_cast<int32_t>(bilanz.ersetzungen.size());
  auftrag.OhneErsatzKacheln = bilanz.ohneErsatz;
  auftrag.UnlesbareDateien = std::move(bilanz.unlesbareDateien);
  // No composer uses the plan any more: the placement list names what the mosaic shows.
  if (auftrag.Ergebnis) eigenerPlan->ErsetzungenEintragen(bilanz.ersetzungen);
  zeit.ende = Jetzt();
}

}  // namespace tilvendo
