// Page 1: choosing the template. "Bild laden" opens Qt's file dialog with a preview of
// the picture under the cursor; the loaded template is shown small with its size.
#pragma once

#include <QString>

#include "ui/seite.h"

class QLabel;
class QPushButton;

namespace tilvendo::ui {

class Malfeld;

class VorlageSeite : public Seite {
  Q_OBJECT

 public:
  explicit VorlageSeite(Assistent& assistent);

  // What "Bild laden" does once the dialog named a file: loads it as the template and
  // shows it, or warns when it is no picture. A name without a file changes nothing.
  void VorlageOeffnen(const QString& pfad);

 protected:
  void FormShow() override;

 private:
  void ladenClick();
  // Preview or "keine Vorlage gewählt", and whether "weiter" may be pressed.
  void ZustandZeigen();

  QPushButton* laden_ = nullptr;
  QLabel* bildBreite_ = nullptr;
  QLabel* bildHoehe_ = nullptr;
  QLabel* noPic_ = nullptr;
  Malfeld* bild_ = nullptr;
};

}  // namespace tilvendo::ui
