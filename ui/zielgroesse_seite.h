// Page 2: the size of the result, as a zoom of the template or in pixels, with the aspect
// ratio held if wished, and in large format as a poster's paper at a resolution. Every
// box goes through the engine's recomputation, which keeps the other boxes in step; the
// preview box takes the result's proportions, or shows the paper and what is cut away.
//
// A number typed beyond a box's bound becomes the bound, with a note beside the boxes
// that says why; what the page shows again later is what was chosen, not a recomputation.
#pragma once

#include <array>

#include "engine/vorbereitung.h"
#include "ui/seite.h"
#include "wizard/druckformat.h"
#include "wizard/zielgroesse_seite.h"

class QCheckBox;
class QPainter;
class QGridLayout;
class QGroupBox;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace tilvendo::ui {

class DruckgroesseGruppe;
class Malfeld;
class Zahlenfeld;

class ZielgroesseSeite : public Seite {
  Q_OBJECT

 public:
  explicit ZielgroesseSeite(Assistent& assistent);

  QCheckBox* Grossformat() const { return grossformat_; }
  DruckgroesseGruppe* Druckgroesse() const { return druck_; }
  QLabel* Grenzhinweis() const { return grenzHinweis_; }

 protected:
  void FormShow() override;

 private:
  void BoxenAnlegen();
  void DruckergruppeAnlegen();
  void PapiergruppeAnlegen();
  void GrossformatAnlegen();
  QGridLayout* Gruppenraster() const;
  // The bounds of the zoom and size boxes for the job's largest result edge.
  void GrenzenSetzen();

  // The recomputation after a change of kind `aenderung`; does nothing while it runs
  // already (its own writes to the boxes come back as changes).
  void ZielgroesseBerechnen(Zielaenderung aenderung);
  // Shows the values held, within the boxes' ranges, without recomputing.
  void Anzeigen();
  void VorschauAnpassen();

  void AufloesungGewaehlt(QRadioButton* knopf, int32_t dpi);
  void FreieAufloesung();
  void PapierGewaehlt(QRadioButton* knopf, int32_t nummer);
  void FreiesPapier();

  // Large format switched on or off: the bounds follow, and the poster's resolution
  // takes the place of the printer's (and back).
  void GrossformatClick(bool an);
  void DruckpapierGewaehlt(wizard::Papiermass papier);
  void DruckaufloesungGewaehlt(int32_t dpi);
  void NutzungGewaehlt(Papiernutzung nutzung);
  void DruckgroesseZeigen();
  void VorlagenkantenZeigen();
  // The note for a number typed into `feld` beyond its bounds.
  void Begrenzt(Zahlenfeld* feld, qlonglong getippt);
  void VorschauMalen(QPainter& maler, const QSize& groesse);

  Zahlenfeld* zoomX_ = nullptr;
  Zahlenfeld* zoomY_ = nullptr;
  Zahlenfeld* sizeX_ = nullptr;
  Zahlenfeld* sizeY_ = nullptr;
  QLabel* grenzHinweis_ = nullptr;
  QCheckBox* festesSV_ = nullptr;
  QLabel* vorlBreite_ = nullptr;
  QLabel* vorlHoehe_ = nullptr;
  Malfeld* bild_ = nullptr;

  // The two groups are not shown, but their values follow every change of the size.
  QGroupBox* druckeraufloesung_ = nullptr;
  QRadioButton* dpianders_ = nullptr;
  QSpinBox* dpiFrei_ = nullptr;
  QGroupBox* papierformat_ = nullptr;
  QRadioButton* paperanders_ = nullptr;
  QSpinBox* breiteFrei_ = nullptr;
  QSpinBox* hoeheFrei_ = nullptr;

  QCheckBox* grossformat_ = nullptr;
  DruckgroesseGruppe* druck_ = nullptr;
  // The resolution of the other state, kept while large format is on or off.
  int32_t dpiAnders_ = wizard::kDruckDpiStandard;

  // What the boxes stand for, with the held resolution and paper size.
  Zielgroessenwerte werte_;
  // Whether the page has computed the size once: later shows take what the job holds.
  bool berechnet_ = false;
  // Set while the recomputation runs (`ZielAktualisierung`).
  bool zielAktualisierung_ = false;
};

}  // namespace tilvendo::ui
