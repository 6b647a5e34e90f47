// The dialog "Auf Seiten drucken": the paper, orientation, overlap and margin of the
// sheets, the sheets drawn over the mosaic and their number. It binds its controls to
// wizard/seiten_druck.h and returns the choice; the save is the caller's.
#pragma once

#include <QDialog>
#include <QImage>

#include "pictures/seitenraster.h"
#include "platform/rect.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

namespace tilvendo::ui {

class SeitenDialog : public QDialog {
  Q_OBJECT

 public:
  // For a mosaic of `mosaik` pixels shown as `bild`, printed at dpiX × dpiY (0: made
  // without a resolution; the dialog then asks for one).
  SeitenDialog(QWidget* eltern, const QImage& bild, Size mosaik, double dpiX, double dpiY);

  Seitenwahl Wahl() const;
  double DpiX() const;
  double DpiY() const;
  // What the dialog says about the sheets now, and whether they can be printed.
  QString Angabe() const;
  bool Druckbar() const;

 private:
  void Aktualisieren();

  QImage bild_;
  Size mosaik_;
  double dpiX_;
  double dpiY_;
  QComboBox* papier_ = nullptr;
  QComboBox* lage_ = nullptr;
  QDoubleSpinBox* ueberlappung_ = nullptr;
  QDoubleSpinBox* rand_ = nullptr;
  QSpinBox* dpi_ = nullptr;
  QCheckBox* uebersicht_ = nullptr;
  QLabel* vorschau_ = nullptr;
  QLabel* angabe_ = nullptr;
  QDialogButtonBox* knoepfe_ = nullptr;
  bool druckbar_ = false;
};

}  // namespace tilvendo::ui
