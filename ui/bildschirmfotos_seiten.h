// The pieces of the screenshot program: numbered PNG files of windows, and the pages
// that need a job with a finished run.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace tilvendo::ui {

class Assistent;
class Hinweisfenster;

class Fotograf {
 public:
  explicit Fotograf(QString ziel) : ziel_(std::move(ziel)) {}

  // "<ziel>/NN-<name>.png" of the window as it is painted now.
  void Aufnehmen(QWidget* fenster, const QString& name);
  // The page with the help popup laid over it where it stands on the screen.
  void MitHilfeAufnehmen(QWidget* seite, Hinweisfenster* hilfe, const QString& name);
  // Shows page `nummer`, takes it and hides it again.
  void SeiteAufnehmen(Assistent& assistent, int nummer, const QString& name);

  int Anzahl() const { return nummer_; }

 private:
  QString ziel_;
  int nummer_ = 0;
};

// Closes a page as the user would, so it hands its values to the job.
void Schliessen(Assistent& assistent, QWidget* seite);

// Runs `aktion` once a window waits for the user (a dialog or a page shown with exec()).
void BeiModal(std::function<void(QWidget* fenster)> aktion);

// The overview with each entry, a run in progress, the result page at two blend
// positions and the save options with a preview.
void SpaetereSeitenAufnehmen(Fotograf& fotograf, Assistent& assistent);

// The information page with some of its entries.
void InfoSeiteAufnehmen(Fotograf& fotograf, Assistent& assistent);

}  // namespace tilvendo::ui
