// Page 2: the size of the result, as a zoom of the template or in pixels, with the aspect
// ratio held if wished. Every box goes through the engine's recomputation, which keeps
// the other boxes in step; the preview box takes the result's proportions.
//
// The boxes accept nothing above their bounds, so what the user enters never exceeds the
// largest result size; the computation's own results are kept unclamped in the job and
// shown within the boxes' ranges.
#pragma once

#include <array>

#include "engine/vorbereitung.h"
#include "ui/seite.h"
#include "wizard/druckformat.h"
#include "wizard/zielgroesse_seite.h"

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace tilvendo::ui {

class DruckgroesseGruppe;
class Malfeld;

class ZielgroesseSeite : public Seite {
  Q_OBJECT

 public:
  explicit ZielgroesseSeite(Assistent& assistent);

  QCheckBox* Grossformat() const { return grossformat_; }
  DruckgroesseGruppe* Druckgroesse() const { return druck_; }

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
  void DruckgroesseZeigen();

  QSpinBox* zoomX_ = nullptr;
  QSpinBox* zoomY_ = nullptr;
  QSpinBox* sizeX_ = nullptr;
  QSpinBox* sizeY_ = nullptr;
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
  // Set while the recomputation runs (`ZielAktualisierung`).
  bool zielAktualisierung_ = false;
};

}  // namespace tilvendo::ui
