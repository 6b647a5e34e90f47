// Page 7, "alles im Überblick": the parts of the job with the details and a preview of
// the selected one, the ways back to each part, and the start of the computation with
// its progress. While a run is in progress only "abbrechen" can be pressed and the page
// cannot be closed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/seite.h"

class QLabel;
class QPainter;
class QSize;
class QListWidget;
class QProgressBar;
class QPushButton;
class QToolButton;
class QWidget;

namespace tilvendo {
class Berechnungslauf;
}

namespace tilvendo::ui {

class Malfeld;

class UebersichtSeite : public Seite {
  Q_OBJECT

 public:
  explicit UebersichtSeite(Assistent& assistent);

  QListWidget* Uebersicht() const { return uebersicht_; }
  QWidget* HGInfo() const { return hgInfo_; }
  QLabel* InfoT() const { return infoT_; }
  QListWidget* InfoFeld() const { return infoFeld_; }
  Malfeld* Vorschau() const { return pbPreview_; }
  QWidget* HGFortschritt() const { return hgFortschritt_; }
  QProgressBar* Fortschrittsbalken() const { return ggFortschritt_; }
  QListWidget* FortschrittsListe() const { return lbFortschritt_; }
  QPushButton* StartKnopf() const { return sbweiter_; }
  QPushButton* NeubeginnKnopf() const { return sbNeubeginn_; }
  QToolButton* WechselnZu() const { return sbwechselnzu_; }

  // Whether a computation run is in progress.
  bool Laeuft() const { return lauf_ != nullptr; }

  // The handlers of the page's controls.
  void UebersichtClick();
  void UebersichtDblClick();
  void sbweiterClick();
  void sbNeubeginnClick();

 public slots:
  void done(int ergebnis) override;

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  void ListeFuellen(int auswahl);
  // After a run that did not complete: the details again instead of the progress.
  void ErgebnisZeigen();
  void WechselnZuPlatzieren(int eintrag);
  void VorschauMalen(QPainter& maler, const QSize& groesse) const;
  // DisableAllButtons / EnableAllButtons of the run, with the hourglass.
  void KnoepfeSperren(bool sperren);
  void ZeilenZeigen(const std::vector<std::string>& zeilen);
  void BalkenZeigen(int32_t position, int32_t maximum);

  QListWidget* uebersicht_ = nullptr;
  QWidget* wechselLeiste_ = nullptr;
  QToolButton* sbwechselnzu_ = nullptr;
  QWidget* hgInfo_ = nullptr;
  QLabel* infoT_ = nullptr;
  QListWidget* infoFeld_ = nullptr;
  Malfeld* pbPreview_ = nullptr;
  QWidget* hgFortschritt_ = nullptr;
  QProgressBar* ggFortschritt_ = nullptr;
  QListWidget* lbFortschritt_ = nullptr;
  QPushButton* sbInfo_ = nullptr;
  QPushButton* sbHilfe_ = nullptr;
  QPushButton* sbNeubeginn_ = nullptr;
  QPushButton* sbweiter_ = nullptr;
  QPushButton* sbEnde_ = nullptr;
  Berechnungslauf* lauf_ = nullptr;  // the run in progress, if any
  bool gesperrt_ = false;
};

}  // namespace tilvendo::ui
