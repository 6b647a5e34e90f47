// The wizard's shell: the hidden main object that owns the job, creates the pages, runs
// the loop of modal pages and asks before the program ends. It also offers what every
// page uses: the help popup and the way to the save flow.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "albums/alben_kontext.h"
#include "engine/auftrag.h"
#include "platform/medien.h"
#include "wizard/navigation.h"

class QAbstractButton;
class QSize;
class QWidget;

namespace tilvendo::ui {

class Hinweisfenster;
class QtBenutzer;
class Seite;
class Seitenfenster;

class Assistent : public QObject {
  Q_OBJECT

 public:
  // Start-up: the job is created with its paths, switch and shared pictures.
  Assistent(QtBenutzer& benutzer, const Medien& medien, const Startoptionen& optionen);
  ~Assistent() override;

  Auftrag& auftrag() { return *auftrag_; }
  wizard::Navigation& navigation() { return navigation_; }
  QtBenutzer& benutzer() { return benutzer_; }
  const Medien& medien() const { return medien_; }
  // The album folder, with the wizard's user told when another program holds it.
  AlbenKontext albenKontext() const;
  // The one window every page is shown in.
  Seitenfenster& Fenster() { return *fenster_; }

  // The colour-depth check, the job defaults, the page loop and the exit question.
  // Returns the process's exit code.
  int Ausfuehren();

  // The job defaults and the first page, as after start-up (the loop does this itself).
  void Vorbereiten();
  // The page loop from `AktSeite` on, with the exit question, until the program ends.
  void Seitenlauf();

  // Shows page `nummer` modally once in the window; false when there is no such page. The
  // pages are made on first use and kept for the program's life, so they keep their values.
  bool SeiteZeigen(uint16_t nummer);
  Seite* SeiteHolen(uint16_t nummer);

  // The largest size the pages of the loop wish for (template to overview, the result
  // aside), so that the window need not grow on the way through them.
  QSize GroessteSeitengroesse();

  // Asks the exit question; true when the program ends.
  bool AusstiegFragen();

  // The help popup of button `knopf` on page `seite` with help number `nummer`.
  void HilfeZeigen(QAbstractButton* knopf, QWidget* seite, int32_t nummer);
  Hinweisfenster* Hilfefenster() const { return hilfe_.get(); }

  // The blend value 0..255 the result page shows; saving uses it.
  uint8_t Blendwert() const { return blendwert_; }
  void BlendwertSetzen(uint8_t a) { blendwert_ = a; }

  // Saves the result through the save options page; false when the user cancelled.
  bool ErgebnisSpeichern();

  // The file the last save that succeeded wrote (whole path), empty before any.
  const std::string& ZuletztGespeichert() const { return zuletztGespeichert_; }
  void GespeichertMerken(std::string pfad) { zuletztGespeichert_ = std::move(pfad); }

 private:
  void HilfeGeschlossen();

  QtBenutzer& benutzer_;
  const Medien& medien_;
  std::unique_ptr<Auftrag> auftrag_;
  wizard::Navigation navigation_;
  // Before the pages: they leave the window before it goes.
  std::unique_ptr<Seitenfenster> fenster_;
  std::map<uint16_t, std::unique_ptr<Seite>> seiten_;
  std::unique_ptr<Hinweisfenster> hilfe_;
  QPointer<QAbstractButton> hilfeKnopf_;
  QElapsedTimer seitHilfeSchluss_;
  std::string zuletztGespeichert_;
  uint8_t blendwert_;
};

}  // namespace tilvendo::ui
