// Page 5: the calculation method, the pattern handling and the minimum distance between
// identical tiles. It shows how many distinct pictures the job then needs and draws the
// distance rule over the template preview. Below, the ways of reading and matching the
// photos that go beyond the original method.
#pragma once

#include "ui/seite.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace tilvendo::ui {

class Malfeld;

class ErweitertSeite : public Seite {
  Q_OBJECT

 public:
  explicit ErweitertSeite(Assistent& assistent);

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  // Every control applies the page's three choices to the job and shows the outcome.
  void Anwenden();
  // The reading and matching choices go to the job as they are made.
  void VerfahrenUebernehmen();
  // "für möglichst ähnliche Mosaike": sets the ways that bring the mosaic closest.
  void AehnlichClick();
  QGroupBox* VerfahrenAnlegen(QWidget* g);
  void BildPaint(QPainter& maler, const QSize& groesse);

  QButtonGroup* berechnungsart_ = nullptr;
  QButtonGroup* musterbildung_ = nullptr;
  QSpinBox* minAbstand_ = nullptr;
  QLabel* benoetigteBilder_ = nullptr;
  Malfeld* bild_ = nullptr;
  QCheckBox* aufrichten_ = nullptr;
  QCheckBox* schnellLesen_ = nullptr;
  QCheckBox* wahrnehmung_ = nullptr;
  QCheckBox* zuschneiden_ = nullptr;
  QSpinBox* farbangleich_ = nullptr;
  QSpinBox* maxVerwendungen_ = nullptr;
  QPushButton* aehnlich_ = nullptr;
  QCheckBox* jedesFoto_ = nullptr;
};

}  // namespace tilvendo::ui
