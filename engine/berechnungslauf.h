// The driver of a computation run, what the START button does: the pre-checks, the cell
// grid, the four phases with their progress, the durations and the outcome. A second
// start while a run is in progress (from the event pump) asks the run to stop, and so
// does `Abbrechen` from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "albums/galerie.h"
#include "engine/auftrag.h"
#include "engine/fortschritt.h"
#include "engine/grossformat.h"
#include "engine/zusammenstellen.h"
#include "platform/benutzer.h"
#include "platform/translate.h"

namespace tilvendo {

inline constexpr std::string_view kFarbtiefeWarnung =
    N_("Bitte starten Sie das Programm mit einer Farbtiefe von mindestens 16 Bit (HighColor) "
       "oder besser 24 Bit (TrueColor)");
inline constexpr std::string_view kPlatzWarnung =
    N_("Bitte verringern Sie die Zahl der Kacheln oder wählen Sie eine größere "
       "Ergebnisbildgröße, da so nicht genug Platz für alle Kacheln vorhanden ist.");
inline constexpr std::string_view kBilderWarnung =
    N_("Sie haben nicht genügend Bilder für die Berechnung des Fotomosaikes ausgewählt. Fügen "
       "Sie weitere hinzu oder verringern Sie den Mindestabstand zwischen identischen Kacheln.");
inline constexpr std::string_view kZuKleinInformation =
    N_("Leider konnte Ihre Vorlage nicht als Fotomosaik dargestellt werden. Vermutlich war sie "
       "zu klein.");
inline constexpr std::string_view kUnlesbarWarnung =
    N_("Keines der Bilder, die das Mosaik zeigen sollte, konnte gelesen werden; es ist kein "
       "Mosaik entstanden. Vermutlich wurden die Bilder seit dem Einlesen verschoben oder "
       "gelöscht. Bitte aktualisieren Sie die verwendeten Alben.");

// The warning that refuses a job whose cells cannot be filled when no picture may be
// used more than `MaxVerwendungen` times: it names the cells, the cap, the pictures
// needed (BilderFuerVerwendungsgrenze) and the `bilder` chosen.
std::string VerwendungsWarnung(const Einstellungen& einstellungen, int32_t bilder);

// The note after a run whose usage limits left no room for the minimum distance: it was
// lowered to `abstand`, which the mosaic keeps everywhere.
std::string AbstandGesenktHinweis(int32_t abstand);

// The warning that refuses "every photo at least once" when more pictures are chosen
// than the mosaic has cells: it names both, and a tiling with enough cells that the
// result size allows (KachelungMitZellen), or says that there is none.
std::string JedesFotoWarnung(const Einstellungen& einstellungen, int32_t bilder);

// The warning after a run in which some pictures had gone or could not be read.
std::string SchwarzeKachelnWarnung(int32_t schwarzeKacheln, int32_t kacheln);

// The note after a run in which other photos stood in for unreadable ones in
// `ersetzteKacheln` cells.
std::string ErsatzfotosHinweis(int32_t ersetzteKacheln);

// The note when of the `gewaehlt` pictures of the chosen albums only `gelesen` could be
// read: the others are left out of the job.
std::string AusgelasseneBilderHinweis(int32_t gelesen, int32_t gewaehlt);

// Least colour depth of the display, bits per pixel.
inline constexpr int32_t kMindestFarbtiefe = 16;

// What the result window adds around the displayed picture, and the margin kept free
// on the screen beside it.
inline constexpr int32_t kRahmenBreite = 18;
inline constexpr int32_t kRahmenHoehe = 123;
inline constexpr int32_t kBildschirmRandBreite = 50;
inline constexpr int32_t kBildschirmRandHoehe = 100;

// How a run ended. Only a run that ends `Fertig` replaces the result of the last one that
// did: its mosaic (`Ergebnis`), the durations, whether it was ready and whether it was
// saved. After any other ending (or an error raised by a phase) they are exactly as they
// were before the run.
enum class Laufausgang {
  Abgelehnt,           // a pre-check failed and warned; nothing changed
  AbbruchAngefordert,  // a run was in progress; it was asked to stop
  Abgebrochen,         // the run was cancelled
  Fertig,              // a mosaic is ready; AktSeite is the result page
  ZuKlein,             // the mosaic has no area; the user was told, ProgrammEnde is set
  // Too few pictures could be read: after the reading phase fewer than the job needs
  // (the mosaic of an earlier run stays), or none of the placed ones when composing. The
  // user was warned; there is no new mosaic.
  Unlesbar,
};

struct LaufOptionen {
  // Threads for reading, matching and composing; 0: one per core. The mosaic does not
  // depend on it.
  unsigned threads = 0;
  // Replaces the reading phase (a prepared tile list for tests and measurements).
  std::function<void(Auftrag&, Fortschritt&)> einlesen;
  // Where the run composes its mosaic: the job's result for the pages, or straight into a
  // file (the command line, which needs nothing else).
  Zusammenstellziel ziel;
};

class Berechnungslauf {
 public:
  // `albenliste` is the list of chosen albums with its two summary entries in front.
  Berechnungslauf(Auftrag& auftrag, Benutzer& benutzer, std::vector<TGalerieGlobal>& albenliste,
                  LaufOptionen optionen = {});
  // Reads the chosen albums of the job itself.
  Berechnungslauf(Auftrag& auftrag, Benutzer& benutzer, LaufOptionen optionen = {});

  // Runs the whole computation on the calling thread, which then is the only one that
  // touches the job until it returns. While a run is in progress (a second press of
  // START through the event pump) it only asks that run to stop. The earlier result is
  // held aside while the run works and given up only when the new one is complete, so
  // for that while both mosaics are in memory.
  Laufausgang Starten();

  // Asks the run in progress to stop at its next poll; callable from any thread. Without
  // a run in progress it does nothing: a request made before a run has begun or after
  // it ended never stops the next one.
  void Abbrechen();

  // Whether a run is in progress (from the first pre-check to the last step); callable
  // from any thread.
  bool Laeuft() const;

 private:
  class Klammer;
  class Vorergebnis;

  bool Vorpruefungen();
  // After the reading phase: pictures that could not be read are left out of the job,
  // and the picture checks and the limit of the minimum distance are applied again to
  // the number read. False (after the warning) when that is too few.
  bool GelesenePruefen();
  // Runs the four phases as far as the cancel flag lets them; false when too few of the
  // pictures could be read (the user was warned).
  bool PhasenAusfuehren(Fortschritt& fortschritt);
  Laufausgang Abschliessen(bool zuWenigLesbar);

  Auftrag& auftrag_;
  Benutzer& benutzer_;
  std::vector<TGalerieGlobal>& albenliste_;
  LaufOptionen optionen_;
  // Guards `laeuft_` together with the clearing of `Abbruch` at the start and end of a
  // run, so that a cancel either reaches the run in progress or is dropped as a whole.
  mutable std::mutex zustand_;
  bool laeuft_ = false;
};

}  // namespace tilvendo
