#include "ui/speichern_ablauf.h"

#include <QApplication>
#include <chrono>
#include <exception>
#include <future>
#include <string>

#include "engine/auftrag.h"
#include "engine/sitzung.h"
#include "platform/paths.h"
#include "ui/assistent.h"
#include "ui/fortschritt_fenster.h"
#include "ui/qt_benutzer.h"
#include "ui/seitenfenster.h"
#include "ui/speichern_optionen_seite.h"

namespace tilvendo::ui {
namespace {

constexpr std::chrono::milliseconds kMalTakt{20};

// Sets a cursor for as long as it lives.
class Mauszeiger {
 public:
  explicit Mauszeiger(Qt::CursorShape form) { QApplication::setOverrideCursor(form); }
  ~Mauszeiger() { QApplication::restoreOverrideCursor(); }
  Mauszeiger(const Mauszeiger&) = delete;
  Mauszeiger& operator=(const Mauszeiger&) = delete;
};

// Writes the file on a thread of its own and keeps the windows painted meanwhile. No
// input reaches the pages until the file is written.
bool Schreiben(Auftrag& auftrag, uint8_t blendwert, const SpeicherOptionen& optionen) {
  std::future<bool> schreiben = std::async(std::launch::async, [&auftrag, blendwert, &optionen] {
    return ErgebnisSpeichern(auftrag, blendwert, optionen);
  });
  while (schreiben.wait_for(kMalTakt) != std::future_status::ready) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  return schreiben.get();
}

}  // namespace

bool SaveMosaic(Assistent& assistent) {
  auto* seite = qobject_cast<SpeichernOptionenSeite*>(
      assistent.SeiteHolen(wizard::Nummer(wizard::Seite::SpeichernOptionen)));
  if (seite == nullptr) return false;
  SpeicherOptionen& optionen = seite->Optionen();
  optionen.Qualitaet = kStandardQualitaet;
  // The cached preview may show another blend value or the mosaic of an earlier run:
  // the exit question saves without passing the result page, which empties it too.
  assistent.auftrag().SpeicherVorschau = Bitmap();
  {
    // The caller's hourglass is meant for the writing, not for the choosing.
    const Mauszeiger normal(Qt::ArrowCursor);
    if (seite->exec() != Seite::Accepted) return false;
  }

  FortschrittFenster fenster(&assistent.Fenster());
  const Mauszeiger sanduhr(Qt::WaitCursor);
  fenster.ShowSaveProgress();
  bool geschrieben = false;
  try {
    geschrieben = Schreiben(assistent.auftrag(), assistent.Blendwert(), optionen);
  } catch (const std::exception& fehler) {
    fenster.HideSaveProgress();
    assistent.benutzer().Warnung(std::string(kSpeicherFehler) + fehler.what());
    return false;
  }
  fenster.HideSaveProgress();
  // The next save offers this file again; one that failed is never offered.
  if (geschrieben) assistent.GespeichertMerken(MitSchraegstrich(optionen.Pfad) + optionen.Datei);
  return geschrieben;
}

}  // namespace tilvendo::ui
