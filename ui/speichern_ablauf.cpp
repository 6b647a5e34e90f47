#include "ui/speichern_ablauf.h"
#include "platform/free_space.h"
#include "ui/seiten_dialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <future>
#include <mutex>
#include <string>

#include "engine/auftrag.h"
#include "engine/sitzung.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/translate.h"
#include "ui/assistent.h"
#include "ui/bausteine.h"
#include "ui/fortschritt_fenster.h"
#include "ui/qt_benutzer.h"
#include "ui/seitenfenster.h"
#include "ui/speichern_optionen_seite.h"
#include "wizard/seiten_druck.h"

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

// The writer's last question before its file replaces the old one, answered on the
// window's thread: a click on "Abbrechen" taken before the answer stops the save, and
// once the answer is given the button takes no more clicks. So a stop the window took
// always leaves the old file, however late in the save it came.
class Freigabe {
 public:
  // On the writing thread: waits for the answer.
  bool Erfragen() {
    std::unique_lock<std::mutex> sperre(mutex_);
    zustand_ = Zustand::Gefragt;
    antwort_.wait(sperre, [this] { return zustand_ != Zustand::Gefragt; });
    return zustand_ == Zustand::Erteilt;
  }
  // On the window's thread: answers a question that waits, else does nothing.
  void Beantworten(const std::atomic<bool>& abbruch, FortschrittFenster& fenster) {
    {
      const std::lock_guard<std::mutex> sperre(mutex_);
      if (zustand_ != Zustand::Gefragt) return;
      if (abbruch) {
        zustand_ = Zustand::Verweigert;
      } else {
        fenster.AbbruchSperren();
        zustand_ = Zustand::Erteilt;
      }
    }
    antwort_.notify_one();
  }

 private:
  enum class Zustand { Offen, Gefragt, Erteilt, Verweigert };
  std::mutex mutex_;
  std::condition_variable antwort_;
  Zustand zustand_ = Zustand::Offen;
};

// The file is written on a thread of its own, for the seconds of a mosaic held whole as
// for the minutes of a poster composed band by band: its progress shows, and its window
// takes the user's input, which reaches no other window meanwhile, so that the save can
// be stopped there. Stopped, the old file stays as it was.
// `speichern` writes on the thread with the companion it is given; the file's save and
// the web page's take the same window.
using Speichern = std::function<Speicherausgang(const Speicherbegleitung&)>;

bool Schreiben(const Speichern& speichern, const FreeSpaceQuery& platz,
               FortschrittFenster& fenster) {
  std::atomic<bool> abbruch{false};
  std::atomic<int32_t> fertig{0};
  std::atomic<int32_t> gesamt{0};
  Speicherbegleitung begleitung;
  begleitung.fortschritt = [&](int32_t f, int32_t g) {
    fertig = f;
    gesamt = g;
  };
  begleitung.abbruch = &abbruch;
  begleitung.platz = platz;
  Freigabe freigabe;
  begleitung.freigabe = [&freigabe] { return freigabe.Erfragen(); };
  fenster.AbbruchAnbieten([&abbruch] { abbruch = true; });
  fenster.setWindowModality(Qt::ApplicationModal);
  // The hourglass would hide that the window can be used.
  const Mauszeiger normal(Qt::ArrowCursor);
  fenster.ShowSaveProgress();

  std::future<Speicherausgang> schreiben =
      std::async(std::launch::async, [&] { return speichern(begleitung); });
  while (schreiben.wait_for(kMalTakt) != std::future_status::ready) {
    fenster.FortschrittZeigen(fertig, gesamt);
    // Input that came meanwhile is taken before the question is answered: a click made
    // while the last band was written, however fast that was, still stops the save.
    QCoreApplication::processEvents();
    freigabe.Beantworten(abbruch, fenster);
  }
  const Speicherausgang ausgang = schreiben.get();
  fenster.FortschrittZeigen(fertig, gesamt);
  if (ausgang == Speicherausgang::KeinBildLesbar) throw WriteError(KeinBildLesbar().what());
  return ausgang == Speicherausgang::Gespeichert;
}

// Writes with `speichern` in a save window of its own: a failure is told to the user and
// counts as not written.
bool MitFortschritt(Assistent& assistent, const Speichern& speichern, const FreeSpaceQuery& platz) {
  FortschrittFenster fenster(&assistent.Fenster());
  const Mauszeiger sanduhr(Qt::WaitCursor);
  bool geschrieben = false;
  try {
    geschrieben = Schreiben(speichern, platz, fenster);
  } catch (const std::exception& fehler) {
    fenster.HideSaveProgress();
    assistent.benutzer().Warnung(_(kSpeicherFehler.data()) + std::string(fehler.what()));
    return false;
  }
  fenster.HideSaveProgress();
  return geschrieben;
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

  Auftrag& auftrag = assistent.auftrag();
  const uint8_t blendwert = assistent.Blendwert();
  const bool geschrieben = MitFortschritt(
      assistent,
      [&](const Speicherbegleitung& begleitung) {
        return ErgebnisSpeichern(auftrag, blendwert, optionen, begleitung);
      },
      seite->PlatzAbfrage());
  // The next save offers this file again; one that failed is never offered.
  if (geschrieben) assistent.GespeichertMerken(MitSchraegstrich(optionen.Pfad) + optionen.Datei);
  return geschrieben;
}

bool SaveWebPage(Assistent& assistent, QWidget* eltern) {
  QString datei;
  bool mitNamen = true;
  {
    const Mauszeiger normal(Qt::ArrowCursor);
    datei = QFileDialog::getSaveFileName(eltern, Text(_("Als Webseite speichern")),
                                         Text(_("Mosaik.html")), Text(_("Webseite (*.html)")));
    if (datei.isEmpty()) return false;
    if (!datei.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) &&
        !datei.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive)) {
      datei += QStringLiteral(".html");
    }
    // File paths tell about their owner: a page to be shared leaves them out.
    mitNamen = QMessageBox::question(
                   eltern, Text(_("Als Webseite speichern")),
                   Text(_("Soll die Seite die Namen der Fotos zeigen und sie mit "
                          "einem Klick öffnen? Ohne Namen und Pfade lässt sie sich "
                          "unbedenklich weitergeben.")),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
  }
  Webseitenoptionen optionen;
  optionen.ziel = datei.toStdString();
  optionen.titel = FileNameOf(optionen.ziel);

  Auftrag& auftrag = assistent.auftrag();
  const uint8_t blendwert = assistent.Blendwert();
  const bool geschrieben = MitFortschritt(
      assistent,
      [&](const Speicherbegleitung& begleitung) {
        return ErgebnisAlsWebseite(auftrag, blendwert, optionen, mitNamen, begleitung);
      },
      FreeSpace);
  if (!geschrieben) return false;
  const Mauszeiger normal(Qt::ArrowCursor);
  if (QMessageBox::question(eltern, Text(_("Als Webseite speichern")),
                            Text(_("Die Webseite ist gespeichert. Jetzt im Browser "
                                   "öffnen?")),
                            QMessageBox::Yes | QMessageBox::No,
                            QMessageBox::Yes) == QMessageBox::Yes) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(datei));
  }
  return true;
}

bool SaveSheets(Assistent& assistent, QWidget* eltern, const QImage& bild) {
  Auftrag& auftrag = assistent.auftrag();
  if (!auftrag.Ergebnis) return false;
  const Mosaikplan& plan = auftrag.Ergebnis->Plan();
  SpeicherOptionen optionen;
  Seitenwahl wahl;
  {
    const Mauszeiger normal(Qt::ArrowCursor);
    SeitenDialog dialog(eltern, bild, auftrag.Ergebnis->Groesse(), plan.Druckaufloesung(),
                        plan.DruckaufloesungY());
    if (dialog.exec() != QDialog::Accepted) return false;
    wahl = dialog.Wahl();
    optionen.Aufloesung = dialog.DpiX();
    optionen.AufloesungY = dialog.DpiY();
    QString datei =
        QFileDialog::getSaveFileName(eltern, Text(_(wizard::kSeitenTitel)),
                                     Text(_(wizard::kSeitenName)), Text(_(wizard::kSeitenFilter)));
    if (datei.isEmpty()) return false;
    if (!datei.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
      datei += QStringLiteral(".pdf");
    }
    optionen.Pfad = FolderOf(datei.toStdString());
    optionen.Datei = FileNameOf(datei.toStdString());
  }
  optionen.Qualitaet = kStandardQualitaet;

  const uint8_t blendwert = assistent.Blendwert();
  return MitFortschritt(
      assistent,
      [&](const Speicherbegleitung& begleitung) {
        return ErgebnisAlsSeiten(auftrag, blendwert, optionen, wahl, begleitung);
      },
      FreeSpace);
}

}  // namespace tilvendo::ui
